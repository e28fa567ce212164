// E-recipes as a user sends them: the command's rules, the settings window,
// the address book and the mail window talking to a real server.
#include "support/MailServer.h"
#include "support/TestSupport.h"
#include "ui/exchange/FrmERecept.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

QString cookbook()
{
    QString sql = QStringLiteral("INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Kakor');\n");
    for (int i = 1; i <= 21; ++i)
        sql += QStringLiteral("INSERT INTO tblRecept (RID, Titel, Kategori, Anvisningar) "
                              "VALUES (%1, 'Kaka %2', 1, 'Grädda i %1 minuter.');\n")
                   .arg(i)
                   .arg(i, 2, 10, QLatin1Char('0'));
    return sql;
}

QWidget* topLevel(const char* name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

template <typename T> T* in(QWidget* w, const QString& name)
{
    return w ? w->findChild<T*>(name) : nullptr;
}

void click(QWidget* w, const QString& button)
{
    QPushButton* b = in<QPushButton>(w, button);
    QVERIFY2(b, qPrintable(button));
    QTest::mouseClick(b, Qt::LeftButton);
}

void type(QWidget* w, const QString& box, const QString& text)
{
    QLineEdit* e = in<QLineEdit>(w, box);
    QVERIFY2(e, qPrintable(box));
    QApplication::setActiveWindow(e->window());
    e->setFocus();
    e->clear();
    QTest::keyClicks(e, text);
}

} // namespace

class TestERecept : public QObject {
    Q_OBJECT

    TempProgram t;
    std::unique_ptr<Program> p;

    QListView* list() { return p->window->findChild<QListView*>(QStringLiteral("lstRecept")); }
    void mark(int count)
    {
        list()->clearSelection();
        auto* model = list()->model();
        for (int row = 0; row < count; ++row)
            list()->selectionModel()->select(model->index(row, 0), QItemSelectionModel::Select);
    }
    void writeSettings(quint16 port, const QByteArray& user = {})
    {
        QFile f(t.path("er.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write("\xc5sa Kock\r\nasa@post.example\r\n127.0.0.1\r\n" + QByteArray::number(port) + "\r\n");
        if (!user.isEmpty())
            f.write(user + "\r\n");
    }
    // The mail window for the first `count` recipes.
    FrmERecept* openMail(int count = 1)
    {
        mark(count);
        QTest::mouseClick(p->window->button(Cmd::ERecept), Qt::LeftButton);
        return qobject_cast<FrmERecept*>(topLevel("frmERecept"));
    }
    void send(FrmERecept* mail, const QString& to)
    {
        type(mail, "txtMottagare", to);
        type(mail, "txtSubject", QStringLiteral("Fika"));
        click(mail, "cmdButton_1");
    }

private slots:
    void init()
    {
        QVERIFY(t.makeCookbook(cookbook()));
        QFile::remove(t.path("er.txt"));
        QFile::remove(t.path("adresser.txt"));
        t.prompts.clearShown();
        p = t.start();
        QVERIFY(p->ok);
    }
    void cleanup()
    {
        p->window->ExitProgram();
        p.reset();
        QCOMPARE(t.prompts.unexpected(), 0);
    }

    void markedRecipes_data()
    {
        QTest::addColumn<int>("marked");
        QTest::addColumn<bool>("settings");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("window");
        QTest::newRow("none") << 0 << true << "Markera ett recept först."
                              << "";
        QTest::newRow("21") << 21 << true << "Funktionen är begränsad till max 20 recept åt gången."
                            << "";
        QTest::newRow("20") << 20 << true << ""
                            << "frmERecept";
        QTest::newRow("no er.txt yet") << 1 << false << ""
                                       << "frmEReceptInfo";
    }
    void markedRecipes()
    {
        QFETCH(int, marked);
        QFETCH(bool, settings);
        QFETCH(QString, message);
        QFETCH(QString, window);
        if (settings)
            writeSettings(25);
        openMail(marked);
        QCOMPARE(t.prompts.shown().value(0).text, message);
        QCOMPARE(p->window->activeWindowName(), window);
        QCOMPARE(bool(topLevel("frmERecept")), window == "frmERecept");
        if (marked == 20) {
            const QString text = in<QPlainTextEdit>(topLevel("frmERecept"), "txtMessage")->toPlainText();
            QCOMPARE(text.count(QString(50, '*')), 19);
            QVERIFY(text.startsWith("Kaka 01\n\nSå här gör du:\nGrädda i 1 minuter.\n" + QString(50, '*')));
        }
    }

    void settingsWindow_data()
    {
        QTest::addColumn<QStringList>("typed"); // name, address, server, port, user
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("no port: nothing happens")
            << QStringList { "Åsa", "asa@post.example", "smtp.post.example", "", "" } << "" << QByteArray();
        QTest::newRow("no dot after @")
            << QStringList { "Åsa", "asa.kock@example", "smtp.post.example", "25", "" }
            << "Felaktig e-mailadress" << QByteArray();
        QTest::newRow("port too large")
            << QStringList { "Åsa", "asa@post.example", "smtp.post.example", "65536", "" }
            << "Porten måste vara ett tal från 1 till 65535." << QByteArray();
        QTest::newRow("port not a number")
            << QStringList { "Åsa", "asa@post.example", "smtp.post.example", "smtp", "" }
            << "Porten måste vara ett tal från 1 till 65535." << QByteArray();
        QTest::newRow("four lines without login")
            << QStringList { "Åsa", "asa@post.example", "smtp.post.example", "25", "" } << ""
            << QByteArray("\xc5sa\r\nasa@post.example\r\nsmtp.post.example\r\n25\r\n");
        QTest::newRow("login name as fifth line")
            << QStringList { "Åsa", "asa@post.example", "smtp.post.example", "587", "asa" } << ""
            << QByteArray("\xc5sa\r\nasa@post.example\r\nsmtp.post.example\r\n587\r\nasa\r\n");
    }
    void settingsWindow()
    {
        QFETCH(QStringList, typed);
        QFETCH(QString, message);
        QFETCH(QByteArray, file);
        openMail();
        QWidget* w = topLevel("frmEReceptInfo");
        QVERIFY(w);
        // First use: the port nearly every provider asks for.
        QCOMPARE(in<QLineEdit>(w, "txtPort")->text(), QStringLiteral("587"));
        const char* boxes[] = { "txtNamn", "txtMail", "txtSmtp", "txtPort", "txtAnvandarnamn" };
        for (int i = 0; i < 5; ++i)
            type(w, boxes[i], typed.at(i));
        click(w, "OKButton");
        QCOMPARE(t.prompts.shown().value(0).text, message);
        QCOMPARE(fileBytes(t.path("er.txt")), file);
        if (file.isEmpty())
            QVERIFY(topLevel("frmEReceptInfo"));
        else
            QTRY_VERIFY(!topLevel("frmEReceptInfo"));
    }

    // The settings saved in an open mail window's settings are the ones it sends with.
    void sendsThroughTheServerAndCloses()
    {
        auto server = MailServer::aiosmtpd();
        QVERIFY(server);
        writeSettings(MailServer::freePort());
        QPointer<FrmERecept> mail = openMail(2);
        QVERIFY(mail);
        click(mail, "cmdButton_2");
        QWidget* settings = topLevel("frmEReceptInfo");
        QVERIFY(settings);
        type(settings, "txtPort", QString::number(server->port()));
        click(settings, "OKButton");
        QTRY_VERIFY(!topLevel("frmEReceptInfo"));

        QStringList seen;
        connect(&mail->client(), &SmtpClient::statusChanged, this, [&seen](const QString& s) { seen << s; });
        const QString text = in<QPlainTextEdit>(mail, "txtMessage")->toPlainText();
        send(mail, "bo@post.example, cilla@post.example");
        QVERIFY(!in<QPushButton>(mail, "cmdButton_1")->isEnabled());
        // The window closes only once the user has read where the recipe went.
        QTRY_VERIFY_WITH_TIMEOUT(mail.isNull(), 120000);
        QCOMPARE(seen.last(), QStringLiteral("E-Recept skickat"));
        QCOMPARE(t.prompts.shown().size(), 1);
        QCOMPARE(t.prompts.shown().first().text,
            QStringLiteral("E-Recept skickat till bo@post.example, cilla@post.example."));
        QCOMPARE(server->messages().size(), 1);
        const QJsonObject m = server->parse(server->messages().first());
        QCOMPARE(m.value("subject").toString(), QStringLiteral("Fika"));
        QCOMPARE(m.value("rcpt_tos").toVariant().toStringList(),
            (QStringList { "bo@post.example", "cilla@post.example" }));
        QCOMPARE(m.value("body").toString(), text);
    }

    void silentServerGivesTheButtonBack()
    {
        auto server = MailServer::smtpSink({ "-W", "MAIL:600" });
        QVERIFY(server);
        writeSettings(server->port());
        FrmERecept* mail = openMail();
        mail->client().setReplyTimeout(1000);
        send(mail, "bo@post.example");
        QLabel* status = in<QLabel>(mail, "lblStatus");
        QTRY_COMPARE_WITH_TIMEOUT(
            status->text(), QStringLiteral("Servern svarade inte inom en sekund."), 60000);
        QVERIFY(in<QPushButton>(mail, "cmdButton_1")->isEnabled());
        QVERIFY(topLevel("frmERecept"));
    }

    // Without a keyring the password is asked once per run; a refused one
    // is asked again.
    void passwordAskedOncePerRun()
    {
        MailServer::Options o;
        o.starttls = true;
        o.user = QStringLiteral("asa");
        o.password = QStringLiteral("rätt");
        auto server = MailServer::aiosmtpd(o);
        QVERIFY(server);
        writeSettings(server->port(), "asa");
        const std::optional<QString> answers[]
            = { QStringLiteral("fel"), QStringLiteral("rätt"), std::nullopt };
        for (const std::optional<QString>& answer : answers) {
            QPointer<FrmERecept> mail = openMail();
            mail->client().setCaCertificates(server->certificate());
            // No keyring here; one that stalls must not hold the test up.
            mail->setKeyringTimeout(1000);
            if (answer)
                t.prompts.queuePassword(*answer);
            send(mail, "bo@post.example");
            QTRY_COMPARE_WITH_TIMEOUT(t.prompts.pendingPasswords(), 0, 60000);
            QLabel* status = in<QLabel>(mail, "lblStatus");
            if (answer == QStringLiteral("fel")) {
                QTRY_COMPARE_WITH_TIMEOUT(
                    status->text(), QStringLiteral("535 5.7.8 Authentication credentials invalid"), 60000);
                // Closed at once, perhaps before QUIT is answered: the refused
                // password is forgotten all the same.
                mail->close();
            }
            QTRY_VERIFY_WITH_TIMEOUT(mail.isNull(), 60000);
        }
        QCOMPARE(server->messages().size(), 2);
        int asked = 0;
        for (const Prompts::Shown& s : t.prompts.shown())
            asked += s.text == QStringLiteral("Lösenord för asa på 127.0.0.1:");
        QCOMPARE(asked, 2);
    }

    void addressBook()
    {
        writeSettings(25);
        FrmERecept* mail = openMail();
        click(mail, "cmdButton_0");
        QWidget* book = topLevel("frmAdressBok");
        QVERIFY(book);
        QListWidget* contacts = in<QListWidget>(book, "lstKontakter");
        const QStringList names { "Kalle \"Ankan\"", "Bo", "Cilla" };
        for (const QString& name : names) {
            click(book, "cmdButton_2");
            type(book, "txtNamn", name);
            type(book, "txtMail", name.left(2).toLower() + "@post.example");
            // Enter in the address box confirms the panel.
            QTest::keyClick(in<QLineEdit>(book, "txtMail"), Qt::Key_Return);
        }
        QCOMPARE(fileBytes(t.path("adresser.txt")),
            QByteArray("\"Kalle 'Ankan'\",\"ka@post.example\"\r\n\"Bo\",\"bo@post.example\"\r\n"
                       "\"Cilla\",\"ci@post.example\"\r\n"));
        // Deleting the second keeps the third's own address.
        contacts->setCurrentRow(1);
        click(book, "cmdButton_1");
        QCOMPARE(contacts->count(), 2);
        contacts->setCurrentRow(1, QItemSelectionModel::ClearAndSelect);
        contacts->setCurrentRow(0, QItemSelectionModel::Select);
        click(book, "cmdButton_0");
        QTRY_VERIFY(!topLevel("frmAdressBok"));
        QCOMPARE(
            in<QLineEdit>(mail, "txtMottagare")->text(), QStringLiteral("ka@post.example;ci@post.example"));
        QStringList picked;
        for (const MailMessage::Mailbox& m : mail->pickedRecipients())
            picked << m.name + "|" + m.address;
        QCOMPARE(picked, (QStringList { "Kalle 'Ankan'|ka@post.example", "Cilla|ci@post.example" }));

        // Reopened, the stored apostrophes show as double quotes.
        click(mail, "cmdButton_0");
        QCOMPARE(in<QLineEdit>(mail, "txtMottagare")->text(), QString());
        book = topLevel("frmAdressBok");
        QVERIFY(book);
        QCOMPARE(in<QListWidget>(book, "lstKontakter")->item(0)->text(), names.at(0));
    }

    void invalidContactKeepsThePanelOpen_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("message");
        for (const bool edit : { false, true }) {
            const QByteArray mode = edit ? "edit: " : "add: ";
            QTest::newRow(mode + "no name") << edit << ""
                                            << "x@post.example"
                                            << "Du måste ange ett namn.";
            QTest::newRow(mode + "bad address") << edit << "Bo"
                                                << "bo.post@example"
                                                << "Ogiltigt e-mailadress.";
        }
    }
    void invalidContactKeepsThePanelOpen()
    {
        QFETCH(bool, edit);
        QFETCH(QString, name);
        QFETCH(QString, address);
        QFETCH(QString, message);
        const QByteArray stored = "\"Bo\",\"bo@post.example\"\r\n";
        QFile f(t.path("adresser.txt"));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(stored) == stored.size());
        f.close();
        writeSettings(25);
        click(openMail(), "cmdButton_0");
        QWidget* book = topLevel("frmAdressBok");
        QVERIFY(book);
        in<QListWidget>(book, "lstKontakter")->setCurrentRow(0);
        click(book, edit ? "cmdButton_5" : "cmdButton_2");
        QCOMPARE(in<QLabel>(book, "lblKontak")->text(), edit ? "Redigera kontakt" : "Ny kontakt");
        type(book, "txtNamn", name);
        type(book, "txtMail", address);
        click(book, "cmdButton_3");
        QCOMPARE(t.prompts.shown().value(0).text, message);
        QVERIFY(in<QWidget>(book, "picNyKontakt")->isVisible());
        QCOMPARE(fileBytes(t.path("adresser.txt")), stored);
        // Cancelled, the panel comes back in add mode.
        click(book, "cmdButton_4");
        QVERIFY(in<QListWidget>(book, "lstKontakter")->isEnabled());
        click(book, "cmdButton_2");
        QCOMPARE(in<QPushButton>(book, "cmdButton_3")->text(), QStringLiteral("Lägg till"));
        QCOMPARE(in<QLineEdit>(book, "txtNamn")->text(), QString());
    }
};

QTEST_MAIN(TestERecept)
#include "tst_erecept.moc"
