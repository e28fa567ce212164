// What a page may read: names resolved to local files only, and only regular
// files of bounded size read, never a device, FIFO or directory.
#include "core/print/PageResources.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <QtTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

class TestPageResources : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return QDir::cleanPath(m_dir.filePath(name)); }

private slots:
    void initTestCase()
    {
        QVERIFY(QDir(m_dir.path()).mkpath(u"bilder/mapp"_s));
        put(path(u"bilder/7.jpg"_s), "jpeg");
        put(path(u"tom.jpg"_s), QByteArray());
        put(path(u"stor.jpg"_s), QByteArray(1001, 'x'));
        put(path(u"exakt.jpg"_s), QByteArray(1000, 'x'));
        QVERIFY(::mkfifo(QFile::encodeName(path(u"fifo"_s)).constData(), 0600) == 0);
        QVERIFY(QFile::link(u"/dev/zero"_s, path(u"noll.jpg"_s)));
        QVERIFY(QFile::link(path(u"bilder/7.jpg"_s), path(u"länk.jpg"_s)));
    }

    void localPath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("absolute") << u"/dev/zero"_s << u"/dev/zero"_s;
        QTest::newRow("relative to the page") << u"bilder/7.jpg"_s << path(u"bilder/7.jpg"_s);
        QTest::newRow("dots resolved")
            << u"bilder/../../x.jpg"_s << QDir::cleanPath(path(u".."_s) + u"/x.jpg"_s);
        QTest::newRow("file address") << u"file:///tmp/a%20b.jpg"_s << u"/tmp/a b.jpg"_s;
        QTest::newRow("upper-case scheme") << u"FILE:///tmp/a.jpg"_s << u"/tmp/a.jpg"_s;
        QTest::newRow("http") << u"http://127.0.0.1/a.jpg"_s << QString();
        QTest::newRow("https") << u"https://example.com/a.jpg"_s << QString();
        QTest::newRow("no scheme, a host") << u"//server/share/a.jpg"_s << QString();
        QTest::newRow("file with a host") << u"file://server/a.jpg"_s << QString();
        QTest::newRow("data") << u"data:image/png;base64,iVBORw0KGgo="_s << QString();
        QTest::newRow("qrc") << u"qrc:/x.png"_s << QString();
        QTest::newRow("resource path") << u":/x.png"_s << QString();
        QTest::newRow("drive letter") << u"C:/bilder/a.jpg"_s << QString();
        QTest::newRow("empty") << QString() << QString();
    }
    void localPath()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        const QUrl page = QUrl::fromLocalFile(path(u"tmpPrint.htm"_s));
        QCOMPARE(PageResources::localPath(page, QUrl(name)), expected);
    }

    void readRegular_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("read");
        QTest::addColumn<int>("size");
        QTest::newRow("a picture") << u"bilder/7.jpg"_s << true << 4;
        QTest::newRow("an empty file") << u"tom.jpg"_s << true << 0;
        QTest::newRow("at the limit") << u"exakt.jpg"_s << true << 1000;
        QTest::newRow("over the limit") << u"stor.jpg"_s << false << 0;
        QTest::newRow("a link to a picture") << u"länk.jpg"_s << true << 4;
        QTest::newRow("a link to /dev/zero") << u"noll.jpg"_s << false << 0;
        QTest::newRow("/dev/zero") << u"/dev/zero"_s << false << 0;
        QTest::newRow("/dev/urandom") << u"/dev/urandom"_s << false << 0;
        QTest::newRow("a FIFO nobody writes") << u"fifo"_s << false << 0;
        QTest::newRow("a directory") << u"bilder/mapp"_s << false << 0;
        QTest::newRow("missing") << u"saknas.jpg"_s << false << 0;
        QTest::newRow("no name") << QString() << false << 0;
    }
    void readRegular()
    {
        QFETCH(QString, name);
        QFETCH(bool, read);
        QFETCH(int, size);
        const QString file = name.isEmpty() || name.startsWith(u'/') ? name : path(name);
        const std::optional<QByteArray> bytes = PageResources::readRegular(file, 1000);
        QCOMPARE(bytes.has_value(), read);
        if (read)
            QCOMPARE(bytes->size(), size);
    }
};

QTEST_GUILESS_MAIN(TestPageResources)
#include "tst_pageresources.moc"
