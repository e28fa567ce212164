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

    // Both files as a user's editor may leave them: UTF-8 with or without a
    // byte order mark reads as written; a file over the cap is refused with a
    // Swedish message naming it, not read into memory.
    void handEdited_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("error");
        const QString er = QStringLiteral("er.txt");
        const QString book = QStringLiteral("adresser.txt");
        QTest::newRow("er.txt in UTF-8") << er
                                         << QByteArray("\xC3\x85sa \xC3\x96"
                                                       "berg\nasa@post.example\n")
                                         << QStringLiteral("Åsa Öberg") << QString();
        QTest::newRow("er.txt in UTF-8 with a byte order mark")
            << er << QByteArray("\xEF\xBB\xBF\xC3\x85sa\r\n") << QStringLiteral("Åsa") << QString();
        QTest::newRow("adresser.txt in UTF-8") << book << QByteArray("\"\xC3\x85ke\",\"ake@post.example\"\n")
                                               << QStringLiteral("Åke") << QString();
        const QByteArray huge = QByteArray("\"Bo\",\"bo@post.example\"\r\n").repeated(50000);
        QTest::newRow("er.txt too large") << er << huge << QString() << QStringLiteral("större än 1 MB");
        QTest::newRow("adresser.txt too large")
            << book << huge << QString() << QStringLiteral("större än 1 MB");
    }
    void handEdited()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, first);
        QFETCH(QString, error);
        const QString path = dir.filePath(file);
        QVERIFY(put(path, bytes));
        QString message;
        QString read;
        if (file == QLatin1String("er.txt")) {
            const std::optional<MailSettings> s = MailSettings::read(path, &message);
            read = s ? s->senderName : QString();
        } else {
            const AddressBook::ReadResult r = AddressBook::read(path);
            message = r.error;
            read = r.contacts.isEmpty() ? QString() : r.contacts.first().name;
        }
        QCOMPARE(read, first);
        QVERIFY2(error.isEmpty() ? message.isEmpty() : message.contains(error) && message.contains(file),
            qPrintable(message));
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
