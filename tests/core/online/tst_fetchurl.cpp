// Fetching against a real HTTP server: only a 2xx answer is content, bodies
// are bounded and whole, a silent or trickling server is given up on, and a
// file appears only whole.
#include "core/online/FetchUrl.h"
#include "support/HttpServer.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using Status = FetchUrl::Status;

class TestFetchUrl : public QObject {
    Q_OBJECT

    HttpServer m_server;
    QNetworkAccessManager m_nam;
    QByteArray m_body;

    // Runs one fetch to its end.
    void run(FetchUrl& f, const QUrl& url, const FetchUrl::Options& o)
    {
        QSignalSpy done(&f, &FetchUrl::finished);
        f.start(url, o);
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 120000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        for (int i = 0; i < 5000; ++i)
            m_body += QByteArray::number(i) + ' ';
        m_server.put(u"files/body.bin"_s, m_body);
        m_server.put(u"files/slow.bin"_s, m_body);
        m_server.put(u"files/slow.bin.slow"_s, "60");
        m_server.put(u"files/gone.bin"_s, "<titel>Borta</titel>");
        m_server.put(u"files/gone.bin.status"_s, "410");
        // The same body cut short, sent compressed, or without a length.
        for (const char* name : { "cut", "gz", "nolength", "cutnolength" })
            m_server.put(u"files/%1.bin"_s.arg(QLatin1String(name)), m_body);
        m_server.put(u"files/cut.bin.cut"_s, "1000");
        m_server.put(u"files/gz.bin.gzip"_s, "");
        m_server.put(u"files/nolength.bin.nolength"_s, "");
        m_server.put(u"files/cutnolength.bin.nolength"_s, "");
        m_server.put(u"files/cutnolength.bin.cut"_s, "1000");
    }

    void intoMemory_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<qint64>("maxBytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("hasBody");

        const int ok = int(Status::Ok);
        QTest::newRow("whole body") << u"/files/body.bin"_s << 1000000LL << ok << true;
        QTest::newRow("redirect followed") << u"/redirect?to=/files/body.bin"_s << 1000000LL << ok << true;
        QTest::newRow("404 page is no data")
            << u"/status/404"_s << 1000000LL << int(Status::HttpError) << false;
        QTest::newRow("error status on a real file")
            << u"/files/gone.bin"_s << 1000000LL << int(Status::HttpError) << false;
        QTest::newRow("redirect to a missing file")
            << u"/redirect?to=/nowhere"_s << 1000000LL << int(Status::HttpError) << false;
        QTest::newRow("204 without a body") << u"/status/204"_s << 1000000LL << ok << false;
        QTest::newRow("body just at the bound") << u"/big?n=4096"_s << 4096LL << ok << true;
        QTest::newRow("announced length over the bound")
            << u"/big?n=6000000"_s << 5000000LL << int(Status::TooLarge) << false;
        QTest::newRow("unannounced length over the bound")
            << u"/big?n=6000000&nolength"_s << 5000000LL << int(Status::TooLarge) << false;
        QTest::newRow("not a web address")
            << u"file:///etc/passwd"_s << 1000000LL << int(Status::NetworkError) << false;
        QTest::newRow("redirect away from the web")
            << u"/redirect?to=file:///etc/passwd"_s << 1000000LL << int(Status::NetworkError) << false;
        QTest::newRow("body cut short of its length")
            << u"/files/cut.bin"_s << 1000000LL << int(Status::Incomplete) << false;
        QTest::newRow("compressed body, unpacked") << u"/files/gz.bin"_s << 1000000LL << ok << true;
        QTest::newRow("no length, ended by closing") << u"/files/nolength.bin"_s << 1000000LL << ok << true;
    }
    void intoMemory()
    {
        QFETCH(QString, path);
        QFETCH(qint64, maxBytes);
        QFETCH(int, status);
        QFETCH(bool, hasBody);
        FetchUrl f(m_nam);
        FetchUrl::Options o;
        o.maxBytes = maxBytes;
        run(f, path.contains(u"://"_s) ? QUrl(path) : m_server.url(path), o);
        QCOMPARE(int(f.status()), status);
        QCOMPARE(!f.data().isEmpty(), hasBody);
        if (path.endsWith(u".bin"_s) && hasBody)
            QCOMPARE(f.data(), m_body);
    }

    // A server that keeps sending a byte now and then is given up on once the
    // average falls below the least rate; a slow but steady one is not.
    void tricklingServer_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<qint64>("minRate");
        QTest::addColumn<bool>("intoFile");
        QTest::addColumn<int>("status");

        const QString trickle = u"/trickle?n=100000&every=0.2"_s;
        QTest::newRow("trickle into memory") << trickle << 1024LL << false << int(Status::TooSlow);
        QTest::newRow("trickle into a file") << trickle << 1024LL << true << int(Status::TooSlow);
        QTest::newRow("slow but above the rate")
            << u"/trickle?n=30&every=0.1"_s << 1LL << true << int(Status::Ok);
    }
    void tricklingServer()
    {
        QFETCH(QString, path);
        QFETCH(qint64, minRate);
        QFETCH(bool, intoFile);
        QFETCH(int, status);
        QTemporaryDir dir;
        FetchUrl f(m_nam);
        FetchUrl::Options o;
        // Each byte restarts the idle timer: only the rate can end the trickle.
        o.idleTimeoutMs = 20000;
        o.rateGraceMs = 1500;
        o.rateCheckMs = 50;
        o.minBytesPerSecond = minRate;
        if (intoFile)
            o.targetFile = dir.filePath(u"Update.exe"_s);
        run(f, m_server.url(path), o);
        QCOMPARE(int(f.status()), status);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(),
            intoFile && status == int(Status::Ok) ? 1 : 0);
    }

    void silentServerAndRefusedConnection()
    {
        FetchUrl f(m_nam);
        FetchUrl::Options o;
        o.idleTimeoutMs = 500;
        run(f, m_server.url(u"/stall?s=60"_s), o);
        QCOMPARE(f.status(), Status::TimedOut);
        QVERIFY(f.data().isEmpty());

        // A port nobody listens on (taken and let go again).
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close();
        run(f, QUrl(u"http://127.0.0.1:%1/x"_s.arg(port)), {});
        QCOMPARE(f.status(), Status::NetworkError);
    }

    void intoFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("sha256");
        QTest::addColumn<bool>("cancelHalfway");
        QTest::addColumn<int>("status");
        QTest::addColumn<qint64>("minBytes");

        const qint64 whole = m_body.size();
        const QByteArray right = QCryptographicHash::hash(QByteArray(), QCryptographicHash::Sha256);
        const int ok = int(Status::Ok);
        const int incomplete = int(Status::Incomplete);
        QTest::newRow("complete") << u"/files/body.bin"_s << QByteArray() << false << ok << 0LL;
        QTest::newRow("digest matches") << u"/files/body.bin"_s << QByteArray("match") << false << ok << 0LL;
        QTest::newRow("digest differs")
            << u"/files/body.bin"_s << right << false << int(Status::BadDigest) << 0LL;
        QTest::newRow("404") << u"/status/404"_s << QByteArray() << false << int(Status::HttpError) << 0LL;
        QTest::newRow("cancelled halfway")
            << u"/files/slow.bin"_s << QByteArray() << true << int(Status::Cancelled) << 0LL;
        QTest::newRow("cut short of its length")
            << u"/files/cut.bin"_s << QByteArray() << false << incomplete << 0LL;
        QTest::newRow("no length, as long as the least")
            << u"/files/nolength.bin"_s << QByteArray() << false << ok << whole;
        QTest::newRow("no length, cut short of the least")
            << u"/files/cutnolength.bin"_s << QByteArray() << false << incomplete << whole;
        QTest::newRow("the least applies only without a length")
            << u"/files/body.bin"_s << QByteArray() << false << ok << whole + 1;
    }
    void intoFile()
    {
        QFETCH(QString, path);
        QFETCH(QByteArray, sha256);
        QFETCH(bool, cancelHalfway);
        QFETCH(int, status);
        QFETCH(qint64, minBytes);
        QTemporaryDir dir;
        const QString target = dir.filePath(u"Update.exe"_s);
        FetchUrl f(m_nam);
        FetchUrl::Options o;
        o.targetFile = target;
        o.minBytes = minBytes;
        o.expectedSha256
            = sha256 == "match" ? QCryptographicHash::hash(m_body, QCryptographicHash::Sha256) : sha256;
        QSignalSpy done(&f, &FetchUrl::finished);
        f.start(m_server.url(path), o);
        if (cancelHalfway) {
            QTRY_VERIFY_WITH_TIMEOUT(f.bytesReceived() > 0, 60000);
            // The partial body sits beside the target, never in its place.
            QVERIFY(!QFile::exists(target));
            f.cancel();
        }
        QTRY_COMPARE_WITH_TIMEOUT(done.size(), 1, 60000);
        QCOMPARE(int(f.status()), status);
        QCOMPARE(fileBytes(target), status == int(Status::Ok) ? m_body : QByteArray());
        QCOMPARE(
            QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), status == int(Status::Ok) ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(TestFetchUrl)
#include "tst_fetchurl.moc"
