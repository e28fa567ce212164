#include "search/FridgeFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QString sample(const char* name)
{
    return QStringLiteral(GASTRID_TEST_DATA "/fridge/") + QLatin1String(name);
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestFridgeFile : public QObject {
    Q_OBJECT

private slots:
    void read_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<bool>("rewritesIdentically");
        QTest::newRow("basic") << sample("basic.kyl") << QStringList { u"mjöl"_s, u"ägg"_s } << true;
        QTest::newRow("empty") << sample("empty.kyl") << QStringList() << true;
        QTest::newRow("empty middle kept")
            << sample("empty_middle.kyl") << QStringList { u"mjöl"_s, u""_s, u"ägg"_s } << true;
        QTest::newRow("one empty entry") << sample("one_empty_entry.kyl") << QStringList { u""_s } << true;
        QTest::newRow("upper half") << sample("high_bytes.kyl")
                                    << QStringList { u"€ Š ‰"_s, u"\u0081\u008d\u008f\u0090\u009d"_s }
                                    << true;
        QTest::newRow("last line open")
            << sample("no_final_terminator.kyl") << QStringList { u"mjöl"_s, u"ägg"_s } << false;
        QTest::newRow("mixed ends") << sample("mixed_ends.kyl") << QStringList { u"a"_s, u"b"_s, u"c"_s }
                                    << false;
    }
    void read()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, entries);
        QFETCH(bool, rewritesIdentically);
        const TextFile::ReadResult r = FridgeFile::read(file);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.lines, entries);

        QTemporaryDir dir;
        const QString copy = dir.filePath("kopia.kyl");
        QVERIFY(FridgeFile::write(copy, r.lines).ok);
        QCOMPARE(FridgeFile::read(copy).lines, entries);
        // Files already in the written form come back byte for byte.
        if (rewritesIdentically)
            QCOMPARE(bytesOf(copy), bytesOf(file));
        else
            QVERIFY(bytesOf(copy).endsWith("\r\n"));
    }
};

QTEST_GUILESS_MAIN(TestFridgeFile)
#include "tst_fridgefile.moc"
