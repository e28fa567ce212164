// er.txt and adresser.txt: what the program reads from the files users have,
// and that what it reads goes back byte for byte.
#include "core/exchange/AddressBook.h"
#include "core/exchange/MailSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

bool put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray get(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestMailStores : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void mailSettings_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("four lines, as older copies write")
            << QByteArray("\xc5sa \xd6"
                          "berg\r\nasa@post.example\r\nsmtp.post.example\r\n25\r\n")
            << QStringList { "Åsa Öberg", "asa@post.example", "smtp.post.example", "25", "" };
        QTest::newRow("login name as a fifth line")
            << QByteArray("Bo\r\nbo@post.example\r\nsmtp.post.example\r\n587\r\nbo.kock\r\n")
            << QStringList { "Bo", "bo@post.example", "smtp.post.example", "587", "bo.kock" };
    }
    void mailSettings()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, fields);
        const QString in = dir.filePath("er.txt");
        const QString out = dir.filePath("er2.txt");
        QVERIFY(put(in, bytes));
        const std::optional<MailSettings> s = MailSettings::read(in);
        QVERIFY(s);
        QCOMPARE(
            (QStringList { s->senderName, s->senderMail, s->smtpServer, s->smtpPort, s->userName }), fields);
        QVERIFY(s->write(out).ok);
        QCOMPARE(get(out), bytes);
    }

    void shortOrMissingSettings()
    {
        const QString path = dir.filePath("short.txt");
        QVERIFY(!MailSettings::read(path));
        QVERIFY(put(path, "Bo\r\nbo@post.example\r\n"));
        const std::optional<MailSettings> s = MailSettings::read(path);
        QVERIFY(s);
        QCOMPARE(s->senderMail, QStringLiteral("bo@post.example"));
        QVERIFY(s->smtpServer.isEmpty() && s->smtpPort.isEmpty());
        QCOMPARE(s->port(), quint16(0));
    }

    void addressBook_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("mails");
        QTest::newRow("two contacts")
            << QByteArray("\"Mormor\",\"mormor@post.example\"\r\n\"\xc5ke\",\"ake@post.example\"\r\n")
            << QStringList { "Mormor", "Åke" } << QStringList { "mormor@post.example", "ake@post.example" };
        QTest::newRow("stored apostrophe shows as a double quote")
            << QByteArray("\"Kalle 'Ankan'\",\"k@post.example\"\r\n") << QStringList { "Kalle \"Ankan\"" }
            << QStringList { "k@post.example" };
        QTest::newRow("address typed with a quote and a comma")
            << QByteArray("\"Bo\",\"b\"o,x@post.example\"\r\n") << QStringList { "Bo" }
            << QStringList { "b\"o,x@post.example" };
        QTest::newRow("empty book") << QByteArray() << QStringList() << QStringList();
    }
    void addressBook()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, shown);
        QFETCH(QStringList, mails);
        const QString in = dir.filePath("adresser.txt");
        const QString out = dir.filePath("adresser2.txt");
        QVERIFY(put(in, bytes));
        const AddressBook::ReadResult r = AddressBook::read(in);
        QVERIFY(r.ok);
        QStringList names, addresses;
        for (const AddressBook::Contact& c : r.contacts) {
            names << AddressBook::shownName(c.name);
            addresses << c.mail;
        }
        QCOMPARE(names, shown);
        QCOMPARE(addresses, mails);
        QVERIFY(AddressBook::write(out, r.contacts).ok);
        QCOMPARE(get(out), bytes);
    }
};

QTEST_MAIN(TestMailStores)
#include "tst_mailstores.moc"
