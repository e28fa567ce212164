// The weekly menu window driven through the main window: placing, storing,
// loading, printing and the shopping list.
#include "support/MailServer.h"
#include "support/TestSupport.h"
#include "ui/menu/FrmMatsedel.h"
#include "ui/print/FrmPrint.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QTextBrowser>

using namespace Qt::StringLiterals;

namespace {

const char* const Cookbook = R"SQL(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Middag');
INSERT INTO tblKategorier (KID, Kategori) VALUES (2, 'Frukost');
INSERT INTO tblKategorier (KID, Kategori) VALUES (3, 'Tom');
INSERT INTO tblRecept (RID, Titel, Kategori, Ingredienser) VALUES
  (1, 'Fisk, stekt', 1, 'torsk' || char(13,10) || 'smör'),
  (2, 'Gröt', 2, 'havregryn' || char(13,10) || 'vatten'),
  (3, 'Köttbullar', 1, 'färs' || char(13,10) || 'ägg'),
  (4, 'Ärtsoppa', 1, 'ärtor'),
  (5, 'Pannkakor', 1, 'mjöl'),
  (6, 'Smörgås', 2, 'bröd'),
  (7, 'Omelett', 2, 'ägg'),
  (8, 'Pytt', 1, 'potatis');
)SQL";

QString pdfText(const QString& pdf)
{
    QProcess p;
    p.start(u"pdftotext"_s, { u"-layout"_s, u"-enc"_s, u"UTF-8"_s, pdf, u"-"_s });
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The list of shoppingList() as the phone receives it.
const char16_t MailedList[] = u"Inköpslista\n\n"
                              u"Rader som kylskåpslistan verkar täcka står under \"Finns kanske hemma:\".\n\n"
                              u"Mejeri och ägg\n- 9 dl mjölk\n- 3 ägg\n- Smör till stekning\n\n"
                              u"Bröd och spannmål\n- 1 ½ dl havregryn\n\n"
                              u"Skafferi\n- 3 dl vetemjöl\n\n"
                              u"Kryddor\n- 1 krm salt\n\n"
                              u"Finns kanske hemma:\nvatten (VATTEN)\n\n"
                              u"Finns inte i kokboken: Köttbullar\n";

} // namespace

class TestMatsedel : public QObject {
    Q_OBJECT

    TempProgram t;
    std::unique_ptr<Program> p;
    FrmMatsedel* w = nullptr;

    template <typename T> T* get(const QString& name) { return w->findChild<T*>(name); }
    QLabel* titel(int slot) { return get<QLabel>(u"lblTitel_%1"_s.arg(slot)); }
    QLabel* what(int slot) { return get<QLabel>(u"lblWhat_%1"_s.arg(slot)); }
    QPushButton* button(int i) { return get<QPushButton>(u"cmdButton_%1"_s.arg(i)); }
    QListWidget* recipes() { return get<QListWidget>(u"lstRecept"_s); }
    // Through the program's own connection: it holds the file.
    QVariant value(const char* sql) { return p->ctx->db().scalar(sql).value(); }
    FrmMatsedel* open()
    {
        QTest::mouseClick(p->window->button(Cmd::Matsedel), Qt::LeftButton);
        return p->window->findChild<FrmMatsedel*>(u"frmMatsedel"_s);
    }
    void reopen()
    {
        w->close();
        QTRY_VERIFY(!p->window->findChild<FrmMatsedel*>(u"frmMatsedel"_s));
        w = open();
    }
    // Places the recipe of that title with the button, or by double-click.
    void place(const QString& title, bool doubleClick = false)
    {
        const auto found = recipes()->findItems(title, Qt::MatchExactly);
        QVERIFY2(found.size() == 1, qPrintable(title));
        recipes()->setCurrentItem(found.first());
        if (!doubleClick) {
            QTest::mouseClick(button(0), Qt::LeftButton);
            return;
        }
        const QPoint at = recipes()->visualItemRect(found.first()).center();
        QTest::mouseClick(recipes()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(recipes()->viewport(), Qt::LeftButton, {}, at);
    }
    void choosePlan(const QString& name)
    {
        auto* plans = get<QComboBox>(u"cmbMatsedel"_s);
        const int row = plans->findText(name);
        QVERIFY(row >= 0);
        plans->setCurrentIndex(row);
        emit plans->activated(row);
    }
    // Gröt twice, Pannkakor, and a title renamed away; water in the fridge.
    // Nothing when the cookbook cannot be changed.
    FrmPrint* openShoppingList()
    {
        auto* fridge = p->window->findChild<QListWidget*>(u"lstSeek"_s);
        fridge->clear();
        fridge->addItem(u"VATTEN"_s);
        Database& db = p->ctx->db();
        if (!db.execute("UPDATE tblRecept SET Ingredienser = ?1 WHERE RID = 2;",
                   { u"1 ½ dl havregryn\r\n3 dl mjölk\r\nvatten"_s })
                 .ok()
            || !db.execute("UPDATE tblRecept SET Ingredienser = ?1 WHERE RID = 5;",
                      { u"Smet:\r\n3 dl vetemjöl\r\n6 dl mjölk\r\n3 ägg\r\n1 krm salt\r\nSmör till stekning"_s })
                    .ok())
            return nullptr;
        place(u"Gröt"_s);
        place(u"Köttbullar"_s);
        place(u"Gröt"_s);
        place(u"Pannkakor"_s);
        if (!db.execute("UPDATE tblRecept SET Titel = 'Borta' WHERE RID = 3;").ok())
            return nullptr;
        QTest::mouseClick(get<QPushButton>(u"cmdInkopslista"_s), Qt::LeftButton);
        return p->window->findChild<FrmPrint*>(u"frmPrint"_s);
    }
    // The address book of a mail window, holding `contacts`: the first chosen.
    void chooseInAddressBook(QWidget* mail, const QString& contacts)
    {
        QFile f(t.path(u"adresser.txt"_s));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(contacts.toUtf8()) > 0);
        f.close();
        QTest::mouseClick(mail->findChild<QPushButton*>(u"cmdButton_0"_s), Qt::LeftButton);
        QWidget* book = mail->findChild<QWidget*>(u"frmAdressBok"_s);
        QVERIFY(book && book->isVisible());
        book->findChild<QListWidget*>(u"lstKontakter"_s)->setCurrentRow(0);
        QTest::mouseClick(book->findChild<QPushButton*>(u"cmdButton_0"_s), Qt::LeftButton);
        QFile::remove(t.path(u"adresser.txt"_s));
    }
    void saveAs(const QString& name)
    {
        auto* box = get<QLineEdit>(u"txtMatsedel"_s);
        box->setFocus();
        box->setText(name);
        QTest::keyClick(box, Qt::Key_Return);
    }

private slots:
    void init()
    {
        QVERIFY(t.makeCookbook(QString::fromUtf8(Cookbook)));
        p = t.start();
        QVERIFY(p->ok);
        t.prompts.clearShown();
        w = open();
        QVERIFY(w);
        QCOMPARE(p->window->activeWindowName(), u"frmMatsedel"_s);
        // One menu window: the command again brings the open one forward.
        QCOMPARE(open(), w);
        QCOMPARE(p->window->findChildren<FrmMatsedel*>().size(), 1);
        QApplication::setActiveWindow(w);
        QVERIFY(QTest::qWaitForWindowActive(w));
    }
    void cleanup()
    {
        QVERIFY(t.prompts.shown().isEmpty());
        p->window->ExitProgram();
        p.reset();
    }

    void lists()
    {
        auto* categories = get<QComboBox>(u"cmbKategorier"_s);
        QCOMPARE(categories->count(), 3);
        QCOMPARE(categories->itemText(0), u"Alla recept"_s);
        QCOMPARE(categories->itemText(2), u"Middag"_s);
        QCOMPARE(recipes()->count(), 8);
        QCOMPARE(recipes()->item(7)->text(), u"Ärtsoppa"_s);
        categories->setCurrentIndex(1);
        emit categories->activated(1);
        QCOMPARE(recipes()->count(), 3);
        QCOMPARE(recipes()->item(0)->text(), u"Gröt"_s);
    }

    void placing()
    {
        const int titleLeft = titel(0)->x();
        for (const QString& title :
            { u"Gröt"_s, u"Pytt"_s, u"Köttbullar"_s, u"Smörgås"_s, u"Omelett"_s, u"Ärtsoppa"_s })
            place(title);
        place(u"Pannkakor"_s, true);
        QCOMPARE(titel(6)->text(), u"Pannkakor"_s);
        QCOMPARE(titel(7)->text(), QString());
        // Wednesday lunch is next, drawn in red and bold.
        QCOMPARE(w->currentSlot(), 7);
        QVERIFY(what(7)->font().bold() && titel(7)->font().bold());
        QCOMPARE(what(7)->palette().color(QPalette::WindowText), QColor(158, 11, 14));
        QVERIFY(!what(6)->font().bold() && !titel(6)->font().bold());
        QCOMPARE(what(6)->palette().color(QPalette::WindowText), QColor(0, 0, 0));
        // The titles stay put as the bold current meal moves, and a cut title shows whole as a tip.
        w->layout()->activate();
        QCOMPARE(titel(0)->x(), titleLeft);
        QCOMPARE(titel(6)->toolTip(), u"Pannkakor"_s);

        // Sunday dinner wraps to Monday breakfast.
        QTest::mouseClick(titel(20), Qt::LeftButton);
        place(u"Pytt"_s);
        QCOMPARE(titel(20)->text(), u"Pytt"_s);
        QCOMPARE(w->currentSlot(), 0);
        // Nothing chosen in the list: nothing placed.
        recipes()->clearSelection();
        QTest::mouseClick(button(0), Qt::LeftButton);
        QCOMPARE(titel(0)->text(), u"Gröt"_s);
        QCOMPARE(w->currentSlot(), 0);

        // Emptying: a double-click, the button, and the whole week.
        QTest::mouseDClick(what(1), Qt::LeftButton);
        QCOMPARE(titel(1)->text(), QString());
        QCOMPARE(w->currentSlot(), 1);
        QTest::mouseClick(titel(2), Qt::LeftButton);
        QTest::mouseClick(button(1), Qt::LeftButton);
        QCOMPARE(titel(2)->text(), QString());
        QCOMPARE(titel(3)->text(), u"Smörgås"_s);
        QTest::mouseClick(button(2), Qt::LeftButton);
        QCOMPARE(w->titles(), QStringList(21, QString()));
        QCOMPARE(w->currentSlot(), 2);

        // The current meal is kept for the run.
        QTest::mouseClick(titel(13), Qt::LeftButton);
        reopen();
        QCOMPARE(w->currentSlot(), 13);
        QVERIFY(what(13)->font().bold());
        QVERIFY(!what(0)->font().bold());
    }

    void storing()
    {
        place(u"Fisk, stekt"_s);
        place(u"Gröt"_s);
        saveAs(u"Kock's vecka"_s);
        QCOMPARE(
            value("SELECT middag FROM matsedel;"), QVariant(u"Fisk\\, stekt,Gröt,"_s + QString(19, u',')));
        // The same name in capitals overwrites the one row.
        QTest::mouseClick(titel(5), Qt::LeftButton);
        place(u"Pytt"_s);
        saveAs(u"KOCK'S VECKA"_s);
        QCOMPARE(value("SELECT count(*) FROM matsedel;").toInt(), 1);
        saveAs(u"Tom vecka"_s);
        QTest::mouseClick(button(2), Qt::LeftButton);
        saveAs(u"Tom vecka"_s);
        QCOMPARE(value("SELECT middag FROM matsedel WHERE namn = 'Tom vecka';"), QVariant(QString(21, u',')));
        // An empty name saves nothing.
        saveAs(QString());
        QCOMPARE(value("SELECT count(*) FROM matsedel;").toInt(), 2);

        get<QLineEdit>(u"txtMatsedel"_s)->clear();
        choosePlan(u"Kock's vecka"_s);
        QCOMPARE(get<QLineEdit>(u"txtMatsedel"_s)->text(), u"Kock's vecka"_s);
        QStringList expected(21, QString());
        expected[0] = u"Fisk, stekt"_s;
        expected[1] = u"Gröt"_s;
        expected[5] = u"Pytt"_s;
        QCOMPARE(w->titles(), expected);

        // A row the old way, with a comma title, loads as it always did.
        QVERIFY(p->ctx->db()
                    .execute("INSERT INTO matsedel (namn, middag) VALUES ('Gammal', ?1);",
                        { u"Fisk, stekt,Gröt"_s + QString(20, u',') })
                    .ok());
        w->ListaMatsedlar();
        choosePlan(u"Gammal"_s);
        QCOMPARE(w->titles().mid(0, 4), (QStringList { u"Fisk"_s, u" stekt"_s, u"Gröt"_s, QString() }));

        // "Ta bort" asks first, naming the week, with Enter on "Nej"; Nej keeps it.
        t.prompts.clearShown();
        t.prompts.queueAnswer(Prompts::Answer::No);
        QTest::mouseClick(button(5), Qt::LeftButton);
        QCOMPARE(value("SELECT count(*) FROM matsedel WHERE namn = 'Gammal';").toInt(), 1);
        QCOMPARE(t.prompts.shown().size(), 1);
        QCOMPARE(t.prompts.shown().at(0).text, u"Vill du ta bort matsedeln \"Gammal\"?"_s);
        QCOMPARE(t.prompts.shown().at(0).defaultButton, Prompts::Answer::No);
        // Ja removes it; the week stays in its fields.
        t.prompts.queueAnswer(Prompts::Answer::Yes);
        QTest::mouseClick(button(5), Qt::LeftButton);
        QCOMPARE(value("SELECT count(*) FROM matsedel WHERE namn = 'Gammal';").toInt(), 0);
        QCOMPARE(w->titles().at(0), u"Fisk"_s);
        QCOMPARE(get<QComboBox>(u"cmbMatsedel"_s)->currentIndex(), -1);
        // With no week chosen nothing is asked and nothing goes.
        QTest::mouseClick(button(5), Qt::LeftButton);
        QCOMPARE(value("SELECT count(*) FROM matsedel;").toInt(), 2);
        QCOMPARE(t.prompts.shown().size(), 2);
        t.prompts.clearShown();
    }

    // A recipe renamed in the main window while the week is open: the meals
    // on show follow as the saved weeks do, so saving the week again does not
    // write the old title back. A title another recipe still bears stays.
    void followsARename_data()
    {
        QTest::addColumn<bool>("savedFirst");
        QTest::addColumn<bool>("twin");
        QTest::newRow("saved week, saved again") << true << false;
        QTest::newRow("week not yet saved") << false << false;
        QTest::newRow("another recipe still bears the old title") << true << true;
    }
    void followsARename()
    {
        QFETCH(bool, savedFirst);
        QFETCH(bool, twin);
        if (twin)
            QVERIFY(p->ctx->db().exec("INSERT INTO tblRecept (RID, Titel, Kategori) VALUES (9, 'Gröt', 2);"));
        place(u"Gröt"_s);
        place(u"Pytt"_s);
        if (savedFirst)
            saveAs(u"Vecka"_s);
        // The main window shows Gröt and its title is changed; the command asks first.
        FrmMain* main = p->window.get();
        auto* list = main->findChild<QListView*>(u"lstRecept"_s);
        const QModelIndexList found = list->model()->match(
            list->model()->index(0, 0), Qt::DisplayRole, u"Gröt"_s, 1, Qt::MatchExactly);
        QVERIFY(!found.isEmpty());
        list->setCurrentIndex(found.first());
        main->findChild<QLineEdit*>(u"txtTitel"_s)->setText(u"Havregrynsgröt"_s);
        t.prompts.queueAnswer(Prompts::Answer::Yes);
        main->button(Cmd::Matsedel)->click();
        QCOMPARE(t.prompts.pendingAnswers(), 0);
        t.prompts.clearShown();
        QCOMPARE(value("SELECT count(*) FROM tblRecept WHERE Titel = 'Havregrynsgröt';").toInt(), 1);

        const QString meal = twin ? u"Gröt"_s : u"Havregrynsgröt"_s;
        QCOMPARE(w->titles().mid(0, 3), (QStringList { meal, u"Pytt"_s, QString() }));
        QCOMPARE(titel(0)->toolTip(), meal);
        if (!twin)
            QCOMPARE(recipes()->findItems(u"Havregrynsgröt"_s, Qt::MatchExactly).size(), 1);
        saveAs(u"Vecka"_s);
        QCOMPARE(value("SELECT middag FROM matsedel WHERE namn = 'Vecka';"),
            QVariant(meal + u",Pytt,"_s + QString(19, u',')));
    }

    void printing()
    {
        place(u"Gröt"_s);
        place(u"Köttbullar"_s);
        QTest::mouseClick(titel(20), Qt::LeftButton);
        place(u"Ärtsoppa"_s);
        // The page names the week by the name in the box.
        QTest::keyClicks(get<QLineEdit>(u"txtMatsedel"_s), u"Vecka 12"_s);
        const QString pdf = t.path(u"vecka.pdf"_s);
        t.prompts.queuePrintTarget(pdf);
        QTest::mouseClick(button(3), Qt::LeftButton);
        QCOMPARE(t.prompts.printDialogsShown(), 1);
        QVERIFY(fileBytes(t.path(u"tmpMatsedel.htm"_s)).contains("<td width=\"85%\">\xc4rtsoppa</td>"));
        // Each day's name, then its meals in their rows.
        const QString text = pdfText(pdf).simplified();
        const QString days
            = u"Veckomatsedel Vecka 12 Måndag Frukost Gröt Lunch Köttbullar Middag Tisdag Frukost"_s;
        QVERIFY2(text.startsWith(days), qPrintable(text));
        QVERIFY2(text.contains(u"Söndag Frukost Lunch Middag Ärtsoppa"_s), qPrintable(text));
        // A cancelled dialog prints nothing.
        QTest::mouseClick(button(3), Qt::LeftButton);
        QCOMPARE(t.prompts.printDialogsShown(), 2);
    }

    // The week's list adds up what the recipes share and follows the shop;
    // what the fridge seems to cover is set apart with its entry, not dropped.
    void shoppingList()
    {
        FrmPrint* list = openShoppingList();
        QVERIFY(list);
        QVERIFY(!list->findChild<QPushButton*>(u"cmdButton_1"_s)->isVisible());
        QVERIFY(list->findChild<QPushButton*>(u"cmdSkickaInkopslista"_s)->isVisible());
        const QString text = list->findChild<QTextBrowser*>(u"Browser"_s)->toPlainText().simplified();
        QVERIFY2(text.contains(u"Mejeri och ägg 9 dl mjölk 3 ägg Smör till stekning"_s), qPrintable(text));
        QVERIFY2(text.contains(u"Finns kanske hemma: vatten (VATTEN) Recept: "
                               "Gröt (Måndag frukost, Måndag middag) Pannkakor (Tisdag frukost) "
                               "Finns inte i kokboken: Köttbullar"_s),
            qPrintable(text));

        const QString pdf = t.path(u"inkop.pdf"_s);
        t.prompts.queuePrintTarget(pdf);
        QTest::mouseClick(list->findChild<QPushButton*>(u"cmdButton_0"_s), Qt::LeftButton);
        const QString printed = pdfText(pdf).simplified();
        QVERIFY2(printed.contains(u"Inköpslista"_s) && printed.contains(u"1 ½ dl havregryn"_s),
            qPrintable(printed));
    }

    void mailedList_data()
    {
        QTest::addColumn<bool>("settings");
        QTest::addColumn<bool>("listening");
        QTest::addColumn<bool>("fromBook");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("status");
        QTest::newRow("typed") << true << true << false << u"bo@post.example"_s
                               << u"Inköpslistan skickad till bo@post.example."_s << QString();
        QTest::newRow("from the address book")
            << true << true << true << u"ci@post.example"_s << u"Inköpslistan skickad till ci@post.example."_s
            << QString();
        QTest::newRow("no recipient")
            << true << true << false << QString() << u"Du måste ange minst en mottagare"_s
            << u"Inköpslistan ej skickad"_s;
        QTest::newRow("nobody listening") << true << false << false << u"bo@post.example"_s << QString()
                                          << u"Servern 127.0.0.1 tar inte emot anslutningar på port "_s;
        QTest::newRow("no mail settings yet")
            << false << true << false << QString() << QString() << QString();
    }
    // "Skicka" mails the list as shown, through the program's own mail
    // settings and sender, to a real server.
    void mailedList()
    {
        QFETCH(bool, settings);
        QFETCH(bool, listening);
        QFETCH(bool, fromBook);
        QFETCH(QString, to);
        QFETCH(QString, message);
        QFETCH(QString, status);
        auto server = MailServer::aiosmtpd();
        QVERIFY(server);
        QFile::remove(t.path(u"er.txt"_s));
        if (settings) {
            QFile f(t.path(u"er.txt"_s));
            QVERIFY(f.open(QIODevice::WriteOnly));
            const quint16 port = listening ? server->port() : MailServer::freePort();
            f.write("\xc5sa Kock\r\nasa@post.example\r\n127.0.0.1\r\n" + QByteArray::number(port) + "\r\n");
        }
        FrmPrint* list = openShoppingList();
        QVERIFY(list);
        // Twice: one mail window, filled anew.
        for (int i = 0; i < 2; ++i)
            QTest::mouseClick(list->findChild<QPushButton*>(u"cmdSkickaInkopslista"_s), Qt::LeftButton);
        const QString mailName = u"frmSkickaInkopslista"_s;
        QVERIFY(list->findChildren<QWidget*>(mailName).size() <= 1);
        QPointer<QWidget> mail = list->findChild<QWidget*>(mailName);
        if (!settings) {
            // As with e-recipes: the settings first, then the user sends again.
            QVERIFY(!mail);
            QTRY_COMPARE(p->window->activeWindowName(), u"frmEReceptInfo"_s);
            QFile::remove(t.path(u"er.txt"_s));
            return;
        }
        QVERIFY(mail && mail->isVisible());
        QCOMPARE(mail->windowTitle(), u"Skicka inköpslista"_s);
        QCOMPARE(mail->findChild<QLineEdit*>(u"txtSubject"_s)->text(), u"Inköpslista"_s);
        if (fromBook)
            chooseInAddressBook(mail, u"\"Cilla Ek\",\"ci@post.example\"\r\n"_s);
        else
            mail->findChild<QLineEdit*>(u"txtMottagare"_s)->setText(to);
        QCOMPARE(mail->findChild<QLineEdit*>(u"txtMottagare"_s)->text(), to);
        QTest::mouseClick(mail->findChild<QPushButton*>(u"cmdButton_1"_s), Qt::LeftButton);
        if (!status.isEmpty()) {
            auto* label = mail->findChild<QLabel*>(u"lblStatus"_s);
            QTRY_VERIFY_WITH_TIMEOUT(label->text().startsWith(status), 60000);
            QTRY_VERIFY(mail->findChild<QPushButton*>(u"cmdButton_1"_s)->isEnabled());
            QVERIFY(mail->isVisible());
        } else {
            QTRY_VERIFY_WITH_TIMEOUT(mail.isNull(), 120000);
        }
        QCOMPARE(t.prompts.shown().value(0).text, message);
        t.prompts.clearShown();
        QCOMPARE(server->messages().size(), int(status.isEmpty()));
        QFile::remove(t.path(u"er.txt"_s));
        if (!status.isEmpty())
            return;
        const QJsonObject m = server->parse(server->messages().first());
        QCOMPARE(m.value("subject").toString(), u"Inköpslista"_s);
        QCOMPARE(m.value("rcpt_tos").toVariant().toStringList(), QStringList { to });
        if (fromBook)
            QCOMPARE(m.value("to").toArray().first().toArray().first().toString(), u"Cilla Ek"_s);
        QCOMPARE(m.value("body").toString(), QString::fromUtf16(MailedList));
    }
};

QTEST_MAIN(TestMatsedel)
#include "tst_matsedel.moc"
