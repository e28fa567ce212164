#include "core/text/TextFile.h"
#include "core/text/UserFile.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

class TestTextFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    // Files in the program's own form ("written") are written back byte for byte.
    void lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("written");
        QTest::newRow("empty file") << QByteArray() << QStringList() << true;
        QTest::newRow("two entries") << QByteArray::fromHex("6d6af66c0d0ae467670d0a")
                                     << QStringList { u"mjöl"_s, u"ägg"_s } << true;
        QTest::newRow("only an empty line") << QByteArray("\r\n") << QStringList { u""_s } << true;
        QTest::newRow("empty middle line")
            << QByteArray("a\r\n\r\nb\r\n") << QStringList { "a", "", "b" } << true;
        // Every byte but the line ends stands for a character and goes back out unchanged.
        QByteArray all;
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                all.append(char(b));
        }
        QString text = QString::fromLatin1(all);
        text.replace(
            0x80 - 2, 32, u"€\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008dŽ\u008f\u0090\u2018\u2019\u201c\u201d•–—˜™š›œ\u009džŸ"_s);
        QTest::newRow("every byte") << all + "\r\n" << QStringList { text } << true;
        QTest::newRow("last line open") << QByteArray("a\r\nb") << QStringList { "a", "b" } << false;
        QTest::newRow("lone LF and CR") << QByteArray("a\nb\rc") << QStringList { "a", "b", "c" } << false;
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList { "a", "", "b" } << false;
    }
    void lines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(bool, written);
        put(path("r.txt"), bytes);
        const TextFile::ReadResult r = TextFile::readLines(path("r.txt"));
        QVERIFY(r.ok);
        QCOMPARE(r.lines, lines);
        if (!written)
            return;
        const TextFile::WriteResult w = TextFile::writeLines(path("w.txt"), lines);
        QVERIFY2(w.ok, qPrintable(w.error));
        QCOMPARE(bytesOf(path("w.txt")), bytes);
    }

    // Files a user edits by hand: UTF-8 when the bytes are valid UTF-8 (a byte
    // order mark or not), else Windows-1252; over the cap, a Swedish refusal.
    void userFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("error");
        const QStringList food { u"mjölk"_s, u"ägg ½"_s };
        QTest::newRow("Windows-1252, as the program writes")
            << QByteArray("mj\xF6lk\r\n\xE4gg \xBD\r\n") << food << QString();
        QTest::newRow("UTF-8, as today's editors write")
            << QByteArray("mj\xC3\xB6lk\n\xC3\xA4gg \xC2\xBD\n") << food << QString();
        QTest::newRow("UTF-8 with a byte order mark")
            << QByteArray("\xEF\xBB\xBFmj\xC3\xB6lk\r\n\xC3\xA4gg \xC2\xBD") << food << QString();
        QTest::newRow("UTF-16 with a byte order mark")
            << QByteArray("\xFF\xFEm\0j\0\xF6\0l\0k\0\n\0\xE4\0g\0g\0 \0\xBD\0", 24) << food << QString();
        QTest::newRow("plain ASCII") << QByteArray("salt\r\npeppar") << QStringList { "salt", "peppar" }
                                     << QString();
        QTest::newRow("UTF-8 and Windows-1252 mixed: Windows-1252 throughout")
            << QByteArray("mj\xC3\xB6lk\r\n\xE4gg") << QStringList { u"mjÃ¶lk"_s, u"ägg"_s } << QString();
        QTest::newRow("UTF-8 cut off in a letter: Windows-1252")
            << QByteArray("mj\xC3") << QStringList { u"mjÃ"_s } << QString();
        QTest::newRow("at the cap") << QByteArray(UserFile::MaxBytes, 'a')
                                    << QStringList { QString(UserFile::MaxBytes, u'a') } << QString();
        QTest::newRow("over the cap") << QByteArray(UserFile::MaxBytes + 1, 'a') << QStringList()
                                      << u"större än 1 MB, så den läses inte"_s;
    }
    void userFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QFETCH(QString, error);
        put(path("hand.txt"), bytes);
        const TextFile::ReadResult r = UserFile::readLines(path("hand.txt"));
        QCOMPARE(r.ok, error.isEmpty());
        QCOMPARE(r.lines, lines);
        QVERIFY2(r.error.contains(error) && (error.isEmpty() || r.error.contains(u"hand.txt")),
            qPrintable(r.error));
        QString message;
        QCOMPARE(UserFile::readExact(path("hand.txt"), &message).has_value(), error.isEmpty());
        QVERIFY(message.contains(error));
    }

    // What the program writes stays Windows-1252; only text whose bytes would
    // read back as other text (valid UTF-8, as "Ã¶" is) goes out as UTF-8
    // with a byte order mark, so that it comes back as it was.
    void userFilesReadBackAsWritten_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Windows-1252")
            << QStringList { u"mjölk"_s, u"€"_s } << QByteArray("mj\xF6lk\r\n\x80\r\n");
        QTest::newRow("would read back as UTF-8")
            << QStringList { u"mjÃ¶lk"_s } << QByteArray("\xEF\xBB\xBFmj\xC3\x83\xC2\xB6lk\r\n");
    }
    void userFilesReadBackAsWritten()
    {
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, bytes);
        QVERIFY(UserFile::writeLines(path("back.txt"), lines).ok);
        QCOMPARE(bytesOf(path("back.txt")), bytes);
        QCOMPARE(UserFile::readLines(path("back.txt")).lines, lines);
    }

    // The whole-text form: every line end becomes CR LF, and comes back as "\n".
    void wholeText()
    {
        QVERIFY(TextFile::writeText(path("t.txt"), u"a\nb\r\nc\rd€"_s).ok);
        QCOMPARE(bytesOf(path("t.txt")), QByteArray("a\r\nb\r\nc\r\nd\x80"));
        QCOMPARE(TextFile::readAll(path("t.txt"), nullptr), u"a\nb\nc\nd€"_s);
    }

    void refusalKeepsOldFile_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("unencodable");
        QTest::newRow("each once, in order") << QStringList { u"słód😀"_s, u"€ł"_s, u"ő"_s } << u"ł😀ő"_s;
        QTest::newRow("byte order mark named too") << QStringList { u"\uFEFFmjöl"_s } << u"\uFEFF"_s;
        QTest::newRow("line break inside entry") << QStringList { u"a\nb"_s } << QString();
        QTest::newRow("disk full") << QStringList(2000, u"mjölk"_s) << QString();
    }
    void refusalKeepsOldFile()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, unencodable);
        const QByteArray old("gammal\r\n");
        put(path("keep.txt"), old);
        // A file size limit stands in for a full disk.
        rlimit was {};
        getrlimit(RLIMIT_FSIZE, &was);
        const auto handler = signal(SIGXFSZ, SIG_IGN);
        rlimit small = was;
        small.rlim_cur = 1000;
        setrlimit(RLIMIT_FSIZE, &small);
        const TextFile::WriteResult w = TextFile::writeLines(path("keep.txt"), lines);
        setrlimit(RLIMIT_FSIZE, &was);
        signal(SIGXFSZ, handler);
        QVERIFY(!w.ok);
        QVERIFY(!w.error.isEmpty());
        QCOMPARE(w.unencodable, unencodable);
        QCOMPARE(bytesOf(path("keep.txt")), old);
        QCOMPARE(QDir(m_dir.path()).entryList({ "keep.txt*" }, QDir::Files | QDir::Hidden),
            QStringList { "keep.txt" });
    }

    void missingFolderIsNamed()
    {
        const TextFile::WriteResult w = TextFile::writeLines(path("saknas/lista.kyl"), { "a" });
        QVERIFY(!w.ok);
        QVERIFY(w.error.contains(u"lista.kyl"));
        QVERIFY(!QFileInfo::exists(path("saknas")));
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
