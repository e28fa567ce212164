#include "app/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}

} // namespace

class TestTextFile : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }

private slots:
    void readLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("last line open") << QByteArray("a\r\nb") << QStringList { "a", "b" };
        QTest::newRow("final CR LF adds nothing") << QByteArray("a\r\nb\r\n") << QStringList { "a", "b" };
        QTest::newRow("empty middle line") << QByteArray("a\r\n\r\nb\r\n") << QStringList { "a", "", "b" };
        QTest::newRow("lone LF and CR") << QByteArray("a\nb\rc") << QStringList { "a", "b", "c" };
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList { "a", "", "b" };
        QTest::newRow("Windows-1252")
            << QByteArray("mj\xf6l\r\n\x80\x8a\x9f\xff") << QStringList { u"mjöl"_s, u"€ŠŸÿ"_s };
    }
    void readLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        put(path("r.txt"), bytes);
        const TextFile::ReadResult r = TextFile::readLines(path("r.txt"));
        QVERIFY(r.ok);
        QCOMPARE(r.lines, lines);
    }

    void readMissingFileNamesIt()
    {
        const TextFile::ReadResult r = TextFile::readLines(path("nowhere.txt"));
        QVERIFY(!r.ok);
        QVERIFY(r.error.contains(u"nowhere.txt"));
        QString error;
        QVERIFY(!TextFile::readAll(path("nowhere.txt"), &error));
        QVERIFY(error.contains(u"nowhere.txt"));
    }

    void writeLines_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("two entries") << QStringList { u"mjöl"_s, u"ägg"_s }
                                     << QByteArray::fromHex("6d6af66c0d0ae467670d0a");
        QTest::newRow("empty list") << QStringList() << QByteArray();
        QTest::newRow("euro and dash") << QStringList { u"5 €–"_s } << QByteArray("5 \x80\x96\r\n");
    }
    void writeLines()
    {
        QFETCH(QStringList, lines);
        QFETCH(QByteArray, bytes);
        const TextFile::WriteResult w = TextFile::writeLines(path("w.txt"), lines);
        QVERIFY2(w.ok, qPrintable(w.error));
        QCOMPARE(bytesOf(path("w.txt")), bytes);
        QCOMPARE(TextFile::readLines(path("w.txt")).lines, lines);
    }

    void everyByteRoundTrips()
    {
        QByteArray all;
        for (int b = 0; b < 256; ++b) {
            if (b != '\r' && b != '\n')
                all.append(char(b));
        }
        put(path("all.txt"), all);
        const std::optional<QString> text = TextFile::readAll(path("all.txt"), nullptr);
        QVERIFY(text);
        QCOMPARE(TextFile::unencodable(*text), QString());
        QVERIFY(TextFile::writeText(path("all2.txt"), *text).ok);
        QCOMPARE(bytesOf(path("all2.txt")), all);
    }

    void writeTextEndsLinesWithCrLf()
    {
        QVERIFY(TextFile::writeText(path("t.txt"), u"a\nb\r\nc\rd\n"_s).ok);
        QCOMPARE(bytesOf(path("t.txt")), QByteArray("a\r\nb\r\nc\r\nd\r\n"));
        QCOMPARE(TextFile::readAll(path("t.txt"), nullptr), u"a\nb\nc\nd\n"_s);
    }

    void refusalKeepsOldFile_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("unencodable");
        QTest::newRow("Polish l") << QStringList { u"słód"_s } << u"ł"_s;
        QTest::newRow("each once, in order") << QStringList { u"ł😀"_s, u"€ł"_s, u"ő"_s } << u"ł😀ő"_s;
        QTest::newRow("line break inside entry") << QStringList { u"a\nb"_s } << QString();
    }
    void refusalKeepsOldFile()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, unencodable);
        const QByteArray old("gammal\r\n");
        put(path("keep.txt"), old);
        const TextFile::WriteResult w = TextFile::writeLines(path("keep.txt"), lines);
        QVERIFY(!w.ok);
        QVERIFY(!w.error.isEmpty());
        QCOMPARE(w.unencodable, unencodable);
        QCOMPARE(TextFile::unencodable(lines.join(u'\n')), unencodable);
        QCOMPARE(bytesOf(path("keep.txt")), old);
        QCOMPARE(QDir(m_dir.path()).entryList({ "keep.txt*" }, QDir::Files | QDir::Hidden),
            QStringList { "keep.txt" });
    }

    void missingFolderFailsAndLeavesNothing()
    {
        const QString target = path("saknas/lista.kyl");
        const TextFile::WriteResult w = TextFile::writeLines(target, { "a" });
        QVERIFY(!w.ok);
        QVERIFY(w.error.contains(u"lista.kyl"));
        QVERIFY(!QFileInfo::exists(path("saknas")));
    }

    void readOnlyFolderKeepsOldFile()
    {
        QTemporaryDir dir;
        const QString target = dir.filePath("lista.kyl");
        put(target, "gammal\r\n");
        QVERIFY(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
        const bool writable = QFileInfo(dir.path()).isWritable();
        const TextFile::WriteResult w = TextFile::writeLines(target, { "ny" });
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        if (writable)
            QSKIP("the folder stays writable for this user");
        QVERIFY(!w.ok);
        QCOMPARE(bytesOf(target), QByteArray("gammal\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"
