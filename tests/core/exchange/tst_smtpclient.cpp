// The mail dialogue against real servers: aiosmtpd takes and stores the
// mail, smtp-sink refuses, stalls or drops where asked.
#include "core/exchange/MailMessage.h"
#include "core/exchange/SmtpClient.h"
#include "support/MailServer.h"

#include <QJsonArray>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(QList<MailMessage::Mailbox>)

namespace {

using Result = SmtpClient::Result;

struct Outcome {
    Result result = Result::Failed;
    QStringList statuses;
};

// Runs one transfer to its end; the event loop turns meanwhile.
Outcome run(SmtpClient& client, const SmtpClient::Job& job)
{
    Outcome o;
    QObject::connect(
        &client, &SmtpClient::statusChanged, &client, [&o](const QString& s) { o.statuses << s; });
    QSignalSpy done(&client, &SmtpClient::finished);
    client.send(job);
    if (done.isEmpty() && !done.wait(180000))
        qWarning("no end of transfer");
    if (!done.isEmpty())
        o.result = done.first().first().value<Result>();
    client.disconnect(&client, &SmtpClient::statusChanged, &client, nullptr);
    return o;
}

const MailMessage::Mailbox Sender { QStringLiteral("Åsa Kock"), QStringLiteral("asa@post.example") };

SmtpClient::Job job(quint16 port, const QList<MailMessage::Mailbox>& to,
    const QString& subject = QStringLiteral("Veckans recept"), const QString& text = QStringLiteral("Hej"))
{
    SmtpClient::Job j;
    j.server = QStringLiteral("127.0.0.1");
    j.port = port;
    j.sender = Sender.address;
    for (const MailMessage::Mailbox& r : to)
        j.recipients << r.address;
    j.message = MailMessage::build({ Sender, to, subject, text, {}, {} });
    return j;
}

QList<MailMessage::Mailbox> one()
{
    return { { QStringLiteral("Bo"), QStringLiteral("bo@post.example") } };
}

QJsonArray pairs(const QList<MailMessage::Mailbox>& boxes)
{
    QJsonArray a;
    for (const MailMessage::Mailbox& m : boxes)
        a.append(QJsonArray { m.name, m.address });
    return a;
}

const QStringList SentStatuses { QStringLiteral("Ansluten"), QStringLiteral("Mottagare godkänd"),
    QStringLiteral("Skickar e-receptet"), QStringLiteral("Avslutar förbindelsen"),
    QStringLiteral("E-Recept skickat") };

} // namespace

class TestSmtpClient : public QObject {
    Q_OBJECT

private slots:
    // TLS from the first byte only where the port is meant for it; every other
    // port starts in the clear (and takes STARTTLS when offered). TLS is a
    // must on 587 and with a login; without one, other ports send in the
    // clear when the server offers nothing else.
    void jobFromSettings_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("user");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("implicitTls");
        QTest::addColumn<bool>("requireTls");
        QTest::newRow("25") << "25"
                            << "" << 25 << false << false;
        QTest::newRow("25 with a login") << "25"
                                         << "asa" << 25 << false << true;
        QTest::newRow("465") << "465"
                             << "" << 465 << true << true;
        QTest::newRow("465 with a leading zero") << "0465"
                                                 << "asa" << 465 << true << true;
        QTest::newRow("587") << "587"
                             << "" << 587 << false << true;
        QTest::newRow("587 with a leading zero") << "0587"
                                                 << "" << 587 << false << true;
        QTest::newRow("587 with a login") << "587"
                                          << "asa" << 587 << false << true;
        QTest::newRow("2525") << "2525"
                              << "" << 2525 << false << false;
        QTest::newRow("5870") << "5870"
                              << "" << 5870 << false << false;
        QTest::newRow("4650") << "4650"
                              << "asa" << 4650 << false << true;
        QTest::newRow("empty") << ""
                               << "" << 0 << false << false;
        QTest::newRow("not a number") << "465a"
                                      << "asa" << 0 << false << true;
        QTest::newRow("too large") << "65536"
                                   << "" << 0 << false << false;
    }
    void jobFromSettings()
    {
        QFETCH(QString, port);
        QFETCH(QString, user);
        QFETCH(int, number);
        QFETCH(bool, implicitTls);
        QFETCH(bool, requireTls);
        MailSettings s { QStringLiteral("Åsa"), Sender.address, QStringLiteral("smtp.post.example"), port,
            user };
        const SmtpClient::Job j = SmtpClient::jobFor(s);
        QCOMPARE(int(j.port), number);
        QCOMPARE(j.implicitTls, implicitTls);
        QCOMPARE(j.requireTls, requireTls);
        QCOMPARE(j.server, s.smtpServer);
        QCOMPARE(j.sender, s.senderMail);
        QCOMPARE(j.userName, s.userName);
    }

    void messageArrivesReadable_data()
    {
        QTest::addColumn<QList<MailMessage::Mailbox>>("to");
        QTest::addColumn<QString>("subject");
        QTest::addColumn<QString>("text");
        const QString long1200 = QString(QStringLiteral("grädde ")).repeated(171) + QStringLiteral("ägg");
        const QString recipe = QStringLiteral("Äppelkaka\r\n\r\nPortioner: 4\r\n.\r\n..två punkter\r\n"
                                              "Vispa smöret = mjukt  \r\n")
            + long1200 + QStringLiteral("\r\nSlut");
        QTest::newRow("one recipient") << one() << QStringLiteral("Veckans recept") << recipe;
        QTest::newRow("three recipients, names paired")
            << QList<MailMessage::Mailbox> { { QStringLiteral("Örjan Ölund"),
                                                 QStringLiteral("orjan@post.example") },
                   { QString(), QStringLiteral("typed@post.example") },
                   { QStringLiteral("Karlsson, \"Kalle\""), QStringLiteral("kalle@post.example") } }
            << QStringLiteral("Smörgåstårta och ärtsoppa till helgens kalas hos familjen Åkesson i Älmhult, "
                              "med fler rätter")
            << QStringLiteral("Ärtsoppa\n.\nTill sist.");
    }
    void messageArrivesReadable()
    {
        QFETCH(QList<MailMessage::Mailbox>, to);
        QFETCH(QString, subject);
        QFETCH(QString, text);
        auto server = MailServer::aiosmtpd();
        QVERIFY(server);
        SmtpClient client;
        const Outcome o = run(client, job(server->port(), to, subject, text));
        QCOMPARE(o.result, Result::Sent);
        QStringList expected = SentStatuses;
        // Each accepted RCPT TO but the last releases the next.
        for (int i = 1; i < to.size(); ++i)
            expected.insert(2, QStringLiteral("Mottagare godkänd"));
        QCOMPARE(o.statuses, expected);
        QVERIFY(!client.isBusy());

        QCOMPARE(server->messages().size(), 1);
        const QJsonObject mail = server->parse(server->messages().first());
        QCOMPARE(mail.value("from").toArray(), pairs({ Sender }));
        QCOMPARE(mail.value("to").toArray(), pairs(to));
        QCOMPARE(mail.value("subject").toString(), subject);
        QCOMPARE(mail.value("body").toString(), MailMessage::toCrLf(text).replace("\r\n", "\n") + "\n");
        QCOMPARE(mail.value("mail_from").toString(), Sender.address);
        QStringList rcpts;
        for (const auto& r : to)
            rcpts << r.address;
        QCOMPARE(mail.value("rcpt_tos").toVariant().toStringList(), rcpts);
        QVERIFY(mail.value("date_ok").toBool());
        QVERIFY(mail.value("message_id").toString().endsWith("@post.example>"));
        QCOMPARE(mail.value("mime_version").toString(), QStringLiteral("1.0"));
        QCOMPARE(mail.value("content_type").toString(), QStringLiteral("text/plain"));
        QCOMPARE(mail.value("charset").toString(), QStringLiteral("utf-8"));
        QCOMPARE(mail.value("cte").toString(), QStringLiteral("quoted-printable"));
        QVERIFY(mail.value("max_line").toInt() <= 78);
        QVERIFY(!mail.value("bare_lf").toBool());
        QCOMPARE(mail.value("defects").toArray(), QJsonArray());
    }

    void heloName_data()
    {
        QTest::addColumn<QString>("local");
        QTest::addColumn<QByteArray>("name");
        QTest::newRow("IPv4") << "192.0.2.7" << QByteArray("[192.0.2.7]");
        QTest::newRow("IPv4 in IPv6") << "::ffff:192.0.2.7" << QByteArray("[192.0.2.7]");
        QTest::newRow("IPv6") << "2001:db8::1" << QByteArray("[IPv6:2001:db8::1]");
        QTest::newRow("link-local with scope") << "fe80::1%lo" << QByteArray("[IPv6:fe80::1]");
        QTest::newRow("none") << "" << QByteArray("[127.0.0.1]");
    }
    void heloName()
    {
        QFETCH(QString, local);
        QFETCH(QByteArray, name);
        QCOMPARE(SmtpClient::heloName(QHostAddress(local)), name);
    }

    // smtp-sink logs each command it gets.
    void dialogueAsServersExpect_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("EHLO, brackets, QUIT")
            << QStringList {}
            << QStringList { "EHLO [127.0.0.1]", "MAIL FROM:<asa@post.example>", "RCPT TO:<bo@post.example>",
                   "DATA", ".", "QUIT" };
        QTest::newRow("HELO when EHLO is refused")
            << QStringList { "-f", "EHLO" }
            << QStringList { "EHLO [127.0.0.1]", "HELO [127.0.0.1]", "MAIL FROM:<asa@post.example>",
                   "RCPT TO:<bo@post.example>", "DATA", ".", "QUIT" };
    }
    void dialogueAsServersExpect()
    {
        QFETCH(QStringList, options);
        QFETCH(QStringList, commands);
        auto server = MailServer::smtpSink(options);
        QVERIFY(server);
        SmtpClient client;
        const Outcome o = run(client, job(server->port(), one()));
        QCOMPARE(o.statuses, SentStatuses);
        QCOMPARE(o.result, Result::Sent);
        QTRY_COMPARE_WITH_TIMEOUT(server->conversation(), commands, 60000);
    }

    void refusalIsShownAndEndsWithQuit_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("quit");
        const QString hard = QStringLiteral("500 5.3.0 Error: command failed");
        QTest::newRow("greeting") << QStringList { "-f", "CONNECT" } << QString() << hard << true;
        QTest::newRow("MAIL FROM") << QStringList { "-f", "MAIL" } << QString() << hard << true;
        QTest::newRow("RCPT TO") << QStringList { "-f", "RCPT" } << QString() << hard << true;
        QTest::newRow("RCPT TO, busy") << QStringList { "-r", "RCPT" } << QString()
                                       << QStringLiteral("450 4.3.0 Error: command failed") << true;
        QTest::newRow("DATA") << QStringList { "-f", "DATA" } << QString() << hard << true;
        QTest::newRow("the message after \".\"") << QStringList { "-f", "." } << QString() << hard << true;
        QTest::newRow("closing down at MAIL")
            << QStringList { "-Q", "MAIL" } << QString()
            << QStringLiteral("421 4.0.0 Server closing connection") << false;
        // smtp-sink offers AUTH without TLS: the password must stay home.
        QTest::newRow("login over a plain connection")
            << QStringList {} << QStringLiteral("asa")
            << QStringLiteral("Servern erbjuder ingen krypterad förbindelse, så du kan inte logga in. "
                              "Kontrollera server och port.")
            << true;
    }
    void refusalIsShownAndEndsWithQuit()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, user);
        QFETCH(QString, status);
        QFETCH(bool, quit);
        auto server = MailServer::smtpSink(options);
        QVERIFY(server);
        SmtpClient client;
        SmtpClient::Job j = job(server->port(), one());
        j.userName = user;
        j.password = QStringLiteral("hemligt");
        const Outcome o = run(client, j);
        QCOMPARE(o.result, Result::Refused);
        QCOMPARE(o.statuses.last(), status);
        QVERIFY(!o.statuses.contains(QStringLiteral("E-Recept skickat")));
        QVERIFY(!client.isBusy());
        if (quit)
            QTRY_COMPARE_WITH_TIMEOUT(server->conversation().value(server->conversation().size() - 1),
                QStringLiteral("QUIT"), 60000);
        for (const QString& c : server->conversation())
            QVERIFY2(!c.startsWith(QLatin1String("AUTH")), qPrintable(c));
    }

    // aiosmtpd without a certificate offers no STARTTLS. On 587 it stores
    // nothing and the user is told why; port 25 without a login sends in the
    // clear as before (a login anywhere: refusalIsShownAndEndsWithQuit).
    void noMailInTheClearWhereTlsIsAMust_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("status");
        QTest::newRow("587 without a login")
            << "587"
            << ""
            << QStringLiteral("Servern erbjuder ingen krypterad förbindelse, så e-receptet skickas inte. "
                              "Kontrollera server och port.");
        QTest::newRow("25 without a login") << "25"
                                            << "" << QStringLiteral("E-Recept skickat");
    }
    void noMailInTheClearWhereTlsIsAMust()
    {
        QFETCH(QString, port);
        QFETCH(QString, user);
        QFETCH(QString, status);
        auto server = MailServer::aiosmtpd();
        QVERIFY(server);
        SmtpClient::Job j
            = SmtpClient::jobFor({ Sender.name, Sender.address, QStringLiteral("127.0.0.1"), port, user });
        // The rule follows the settings' port; the server listens where it can.
        j.port = server->port();
        j.password = QStringLiteral("hemligt");
        const SmtpClient::Job built = job(server->port(), one());
        j.recipients = built.recipients;
        j.message = built.message;
        SmtpClient client;
        const Outcome o = run(client, j);
        QCOMPARE(o.statuses.last(), status);
        const bool sent = status == QLatin1String("E-Recept skickat");
        QCOMPARE(o.result, sent ? Result::Sent : Result::Refused);
        QCOMPARE(server->messages().size(), sent ? 1 : 0);
    }

    void silentOrDroppedServerEndsTheTransfer_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("status");
        const QString silent = QStringLiteral("Servern svarade inte inom en sekund.");
        const QString dropped = QStringLiteral("Servern stängde förbindelsen innan e-receptet var skickat.");
        QTest::newRow("silent after RCPT TO") << QStringList { "-W", "RCPT:600" } << silent;
        QTest::newRow("silent after the message") << QStringList { "-W", ".:600" } << silent;
        QTest::newRow("dropped at RCPT TO") << QStringList { "-q", "RCPT" } << dropped;
        QTest::newRow("dropped after the message") << QStringList { "-q", "." } << dropped;
        QTest::newRow("no server") << QStringList()
                                   << QStringLiteral(
                                          "Servern 127.0.0.1 tar inte emot anslutningar på port %1.");
    }
    void silentOrDroppedServerEndsTheTransfer()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, status);
        std::unique_ptr<MailServer> server;
        quint16 port = MailServer::freePort();
        if (!options.isEmpty()) {
            server = MailServer::smtpSink(options);
            QVERIFY(server);
            port = server->port();
        }
        SmtpClient client;
        client.setReplyTimeout(1000);
        const Outcome o = run(client, job(port, one()));
        QCOMPARE(o.result, Result::Failed);
        QCOMPARE(o.statuses.last(), status.contains("%1") ? status.arg(port) : status);
        QVERIFY(!client.isBusy());
    }

    void tlsAndLogin_data()
    {
        QTest::addColumn<bool>("implicitTls");
        QTest::addColumn<QStringList>("excludeAuth");
        QTest::addColumn<QString>("user");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<Result>("result");
        QTest::addColumn<QString>("status");
        const QString sent = QStringLiteral("E-Recept skickat");
        QTest::newRow("STARTTLS, no login")
            << false << QStringList() << QString() << QString() << true << Result::Sent << sent;
        QTest::newRow("STARTTLS, AUTH PLAIN") << false << QStringList() << "åsa"
                                              << "rätt lösen" << true << Result::Sent << sent;
        QTest::newRow("STARTTLS, AUTH LOGIN") << false << QStringList { "PLAIN" } << "åsa"
                                              << "rätt lösen" << true << Result::Sent << sent;
        QTest::newRow("TLS from the first byte, AUTH PLAIN") << true << QStringList() << "åsa"
                                                             << "rätt lösen" << true << Result::Sent << sent;
        QTest::newRow("wrong password") << false << QStringList() << "åsa"
                                        << "fel" << true << Result::LoginRefused
                                        << QStringLiteral("535 5.7.8 Authentication credentials invalid");
        QTest::newRow("certificate nobody vouches for")
            << false << QStringList() << "åsa"
            << "rätt lösen" << false << Result::Failed
            << QStringLiteral("Ingen säker förbindelse med servern: dess certifikat är inte utfärdat av "
                              "någon betrodd utfärdare.");
    }
    void tlsAndLogin()
    {
        QFETCH(bool, implicitTls);
        QFETCH(QStringList, excludeAuth);
        QFETCH(QString, user);
        QFETCH(QString, password);
        QFETCH(bool, trusted);
        QFETCH(Result, result);
        QFETCH(QString, status);
        MailServer::Options opts;
        opts.starttls = !implicitTls;
        opts.implicitTls = implicitTls;
        opts.user = user;
        opts.password = QStringLiteral("rätt lösen");
        opts.excludeAuth = excludeAuth;
        auto server = MailServer::aiosmtpd(opts);
        QVERIFY(server);
        SmtpClient client;
        if (trusted)
            client.setCaCertificates(server->certificate());
        SmtpClient::Job j = job(server->port(), one());
        j.implicitTls = implicitTls;
        j.userName = user;
        j.password = password;
        const Outcome o = run(client, j);
        QCOMPARE(o.statuses.last(), status);
        QCOMPARE(o.result, result);
        QCOMPARE(server->messages().size(), result == Result::Sent ? 1 : 0);
        QCOMPARE(client.wasEncrypted(), trusted);
    }
};

QTEST_MAIN(TestSmtpClient)
#include "tst_smtpclient.moc"
