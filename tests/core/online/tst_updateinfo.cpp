// The update description, the names it may give, the progress blocks and
// the addresses asked of the server.
#include "core/online/Update.h"
#include "core/online/UpdateInfo.h"
#include "core/online/WebServer.h"

#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

const QByteArray Sha = QByteArray(64, 'a');

} // namespace

class TestUpdateInfo : public QObject {
    Q_OBJECT

private slots:
    void description_data()
    {
        QTest::addColumn<QByteArray>("text");
        // "name,version,sizeKb,hex digest" of the offer, or empty for none.
        QTest::addColumn<QString>("offer");

        QTest::newRow("newer") << "[Update]\r\nUpdate.exe,211,400\r\nmore\r\n"_ba << u"Update.exe,211,400,"_s;
        QTest::newRow("same version") << "[Update]\r\nUpdate.exe,210,400\r\n"_ba << QString();
        QTest::newRow("integer parts count")
            << "[Update]\r\nUpdate.exe,211.9,400.7\r\n"_ba << u"Update.exe,211,400,"_s;
        QTest::newRow("210.9 is not newer") << "[Update]\r\nUpdate.exe,210.9,400\r\n"_ba << QString();
        QTest::newRow("lone LF lines, spaces around fields")
            << "[Update]\nSetup-2.2_x64.run , 220 , 0\n"_ba << u"Setup-2.2_x64.run,220,0,"_s;
        QTest::newRow("first line in lower case") << "[update]\r\nUpdate.exe,211,400\r\n"_ba << QString();
        QTest::newRow("error page") << "<html><body>404</body></html>"_ba << QString();
        QTest::newRow("no second line") << "[Update]\r\n"_ba << QString();
        QTest::newRow("two fields") << "[Update]\r\nUpdate.exe,211\r\n"_ba << QString();
        QTest::newRow("version not a number") << "[Update]\r\nUpdate.exe,2.1.1,400\r\n"_ba << QString();
        QTest::newRow("negative size") << "[Update]\r\nUpdate.exe,211,-4\r\n"_ba << QString();
        QTest::newRow("size not a number") << "[Update]\r\nUpdate.exe,211,stor\r\n"_ba << QString();
        QTest::newRow("digest") << "[Update]\r\nUpdate.exe,211,400," + Sha + "\r\n"
                                << u"Update.exe,211,400,"_s + Sha;
        QTest::newRow("empty fourth field")
            << "[Update]\r\nUpdate.exe,211,400,\r\n"_ba << u"Update.exe,211,400,"_s;
        QTest::newRow("digest too short") << "[Update]\r\nUpdate.exe,211,400," + Sha.left(63) + "\r\n"
                                          << QString();
        QTest::newRow("parent folder") << "[Update]\r\n../Update.exe,211,400\r\n"_ba << QString();
        QTest::newRow("absolute path") << "[Update]\r\n/tmp/Update.exe,211,400\r\n"_ba << QString();
        QTest::newRow("backslash") << "[Update]\r\n..\\Update.exe,211,400\r\n"_ba << QString();
        QTest::newRow("sub folder") << "[Update]\r\nbilder/1.jpg,211,400\r\n"_ba << QString();
        QTest::newRow("hidden") << "[Update]\r\n.bashrc,211,400\r\n"_ba << QString();
        QTest::newRow("the cookbook") << "[Update]\r\nDBRCP.MDB,211,400\r\n"_ba << QString();
        QTest::newRow("the cookbook's journal")
            << "[Update]\r\ndbRcp.mdb-journal,211,400\r\n"_ba << QString();
        QTest::newRow("the description itself") << "[Update]\r\nupdate.txt,211,400\r\n"_ba << QString();
        QTest::newRow("the shopping list's page")
            << "[Update]\r\ntmpInkopslista.htm,211,400\r\n"_ba << QString();
        QTest::newRow("100 characters") << "[Update]\r\n" + QByteArray(100, 'u') + ",211,1\r\n"
                                        << QString(100, u'u') + u",211,1,"_s;
        QTest::newRow("101 characters") << "[Update]\r\n" + QByteArray(101, 'u') + ",211,1\r\n" << QString();
        QTest::newRow("letters beyond ASCII") << "[Update]\r\nUppdatering\xe4.exe,211,1\r\n"_ba << QString();
    }
    void description()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, offer);
        const auto o = UpdateInfo::parse(text, 210);
        const QString got = o ? u"%1,%2,%3,%4"_s.arg(o->fileName)
                                    .arg(o->version)
                                    .arg(o->sizeKb)
                                    .arg(QString::fromLatin1(o->sha256.toHex()))
                              : QString();
        QCOMPARE(got, offer);
    }

    void versionNumber()
    {
        QCOMPARE(UpdateInfo::GetVersionNumber(), 210);
        QCOMPARE(UpdateInfo::GetVersionNumber(2, 1, 12), 2112);
    }

    // The umask decided who may read the installer; only they may run it.
    void installerExecutable()
    {
        using P = QFileDevice;
        const std::pair<P::Permissions, P::Permissions> rows[] = {
            { P::ReadOwner | P::ReadUser | P::WriteOwner | P::WriteUser,
                P::ReadOwner | P::ReadUser | P::WriteOwner | P::WriteUser | P::ExeOwner | P::ExeUser },
            { P::ReadOwner | P::ReadUser | P::WriteOwner | P::WriteUser | P::ReadGroup | P::ReadOther,
                P::ReadOwner | P::ReadUser | P::WriteOwner | P::WriteUser | P::ExeOwner | P::ExeUser
                    | P::ReadGroup | P::ExeGroup | P::ReadOther | P::ExeOther },
            { P::WriteOwner | P::WriteUser, P::WriteOwner | P::WriteUser },
        };
        for (const auto& [given, expected] : rows)
            QCOMPARE(withExecute(given), expected);
    }

    void progressBlocks_data()
    {
        QTest::addColumn<qint64>("sizeKb");
        QTest::addColumn<qint64>("threshold");
        QTest::addColumn<qint64>("maxBytes");
        QTest::addColumn<int>("reads");
        QTest::addColumn<int>("blocks");
        // Reads of 2048 bytes: a block when the count since the last one exceeds the threshold.
        QTest::newRow("400 kB: a block per 20000 bytes") << 400LL << 20000LL << 800000LL << 10 << 1;
        QTest::newRow("400 kB, more reads than blocks") << 400LL << 20000LL << 800000LL << 1000 << 20;
        QTest::newRow("size 0: a block every read, 20 at most") << 0LL << 0LL << 200000000LL << 25 << 20;
        QTest::newRow("huge size capped") << 900000LL << 45000000LL << 200000000LL << 1 << 0;
    }
    void progressBlocks()
    {
        QFETCH(qint64, sizeKb);
        QFETCH(qint64, threshold);
        QFETCH(qint64, maxBytes);
        QFETCH(int, reads);
        QFETCH(int, blocks);
        UpdateInfo::Offer o;
        o.sizeKb = sizeKb;
        QCOMPARE(o.blockThreshold(), threshold);
        QCOMPARE(o.maxBytes(), maxBytes);
        UpdateInfo::ProgressBlocks p(o.blockThreshold());
        for (int i = 0; i < reads; ++i)
            p.add(2048);
        QCOMPARE(p.shown(), blocks);
    }

    void addresses_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("url");
        QTest::newRow("host with a slash")
            << u"https://mat.example/"_s << u"ABC123"_s << u"https://mat.example/recept/ABC123.rcp"_s;
        QTest::newRow("below a folder")
            << u" http://127.0.0.1:8080/krox "_s << u"x"_s << u"http://127.0.0.1:8080/krox/recept/x.rcp"_s;
        QTest::newRow("a code stays one segment")
            << u"https://mat.example"_s << u"../../etc/passwd?#%"_s
            << u"https://mat.example/recept/..%2F..%2Fetc%2Fpasswd%3F%23%25.rcp"_s;
        QTest::newRow("letters beyond ASCII") << u"https://mat.example"_s << u"kåldolmar"_s
                                              << u"https://mat.example/recept/k%C3%A5ldolmar.rcp"_s;
        QTest::newRow("not a web address: the default")
            << u"ftp://mat.example"_s << u"A"_s << WebServer::DefaultBase + u"/recept/A.rcp"_s;
        QTest::newRow("no host: the default")
            << u"https://"_s << u"A"_s << WebServer::DefaultBase + u"/recept/A.rcp"_s;
    }
    void addresses()
    {
        QFETCH(QString, stored);
        QFETCH(QString, code);
        QFETCH(QString, url);
        const QUrl base = WebServer::baseFrom(stored);
        QCOMPARE(QString::fromLatin1(WebServer::receptUrl(base, code).toEncoded()), url);
        QVERIFY(WebServer::updateUrl(base).toString().endsWith(u"/gastrid/update.txt"_s));
        QVERIFY(WebServer::codePageUrl(base).toString().endsWith(u"/recept/pren.asp"_s));
    }
};

QTEST_GUILESS_MAIN(TestUpdateInfo)
#include "tst_updateinfo.moc"
