// The update window against a real HTTP server: recipe codes, the code page,
// the update check, the installer download and its start.
#include "core/exchange/ReceptImport.h"
#include "core/online/ReceptDownload.h"
#include "core/online/WebRecipe.h"
#include "core/online/WebServer.h"
#include "support/HttpServer.h"
#include "support/TestSupport.h"
#include "ui/online/FrmDownloadUpdate.h"
#include "ui/online/FrmUppdatera.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include <atomic>

using namespace Qt::StringLiterals;

namespace {

const char* const Cookbook = R"SQL(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Kakor'), (2, 'Soppor');
INSERT INTO tblRecept (RID, Titel, Kategori) VALUES (1, 'Kladdkaka', 1);
)SQL";

QByteArray rcp(const QByteArray& titel, const QByteArray& kategori = "1")
{
    return "<titel>" + titel + "</titel>\r\n<kategori>" + kategori
        + "</kategori>\r\n<portioner>4</portioner>\r\n<tid></tid>\r\n<ingredienser>1 dl socker\r\n2 \xe4"
          "gg"
          "</ingredienser>\r\n<anvisningar>Vispa.</anvisningar>\r\n";
}

QWidget* window(const char* name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

QByteArray recipePage(const QJsonObject& recipe)
{
    return "<html><head><script type=\"application/ld+json\">" + QJsonDocument(recipe).toJson()
        + "</script></head><body></body></html>";
}

QByteArray png()
{
    QImage img(30, 20, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    img.save(&b, "PNG");
    return bytes;
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls << url; }
};

} // namespace

class TestUppdatera : public QObject {
    Q_OBJECT

    HttpServer m_server;
    std::unique_ptr<TempProgram> t;
    std::unique_ptr<Program> p;
    const QByteArray m_installer = "#!/bin/sh\necho installerad > marker.txt\n";

    void start(bool withServer = true)
    {
        t = std::make_unique<TempProgram>();
        QVERIFY(t->makeCookbook(QString::fromUtf8(Cookbook)));
        if (withServer) {
            Database db;
            QVERIFY(db.open(t->dbPath(), u"plumb"_s));
            QVERIFY(db.execute("INSERT INTO options (name, value) VALUES ('webserver', ?1);",
                { m_server.base().toString() }));
        }
        m_server.clearRequests();
        p = t->start();
        QVERIFY(p->ok);
    }
    FrmUppdatera* openUppdatera()
    {
        QTest::mouseClick(p->window->button(Cmd::Uppdatera), Qt::LeftButton);
        return qobject_cast<FrmUppdatera*>(window("frmUppdatera"));
    }
    // Types the codes, sets the update box and presses "Ladda ner".
    FrmUppdatera* download(const QString& codes, bool checkForUpdate)
    {
        FrmUppdatera* w = openUppdatera();
        if (!w)
            return nullptr;
        auto* box = w->findChild<QCheckBox*>(u"chkSeekUppgradering"_s);
        if (box->isChecked() != checkForUpdate)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        w->findChild<QPlainTextEdit*>(u"txtKoder"_s)->setPlainText(codes);
        QTest::mouseClick(w->findChild<QPushButton*>(u"cmdOK"_s), Qt::LeftButton);
        return w;
    }
    QStringList requestsFor(const QString& prefix) const
    {
        QStringList r = m_server.requests();
        r.removeIf([&](const QString& s) { return !s.startsWith(prefix); });
        return r;
    }
    // Through the program's own connection while it runs.
    QVariant value(const char* sql)
    {
        if (p->window->hasExited())
            return queryValue(t->dbPath(), sql);
        const auto v = p->ctx->db().scalar(sql);
        return v ? *v : QVariant();
    }
    void serveUpdate(const QByteArray& line2)
    {
        m_server.put(u"gastrid/update.txt"_s, "[Update]\r\n" + line2 + "\r\n");
    }
    QString sha(const QByteArray& b) const
    {
        return QString::fromLatin1(QCryptographicHash::hash(b, QCryptographicHash::Sha256).toHex());
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start());
        m_server.put(u"recept/ABC.rcp"_s, rcp("Kladdkaka") + "\r\n" + rcp("Mums"));
        m_server.put(u"recept/DEF.rcp"_s, rcp("Fisksoppa", "2"));
        m_server.put(u"recept/SLOW.rcp"_s, rcp("Långsam") + QByteArray(20000, ' '));
        m_server.put(u"recept/SLOW.rcp.slow"_s, "60");
        m_server.put(u"recept/CAPS.rcp"_s, "<TITEL>Versaler</TITEL><KATEGORI>1</KATEGORI>");
        m_server.put(u"files/Update.exe"_s, m_installer);
        // Cut off: the whole length announced, part of it sent.
        const QByteArray twoRecipes = rcp("Avklippt") + "\r\n" + rcp("Andra");
        m_server.put(u"recept/CUT.rcp"_s, twoRecipes);
        m_server.put(u"recept/CUT.rcp.cut"_s, QByteArray::number(rcp("Avklippt").size() + 20));
        m_server.put(u"files/Cut.exe"_s, m_installer + QByteArray(3000, '#'));
        m_server.put(u"files/Cut.exe.cut"_s, "2000");
        m_server.put(u"files/Short.exe"_s, m_installer + QByteArray(3000, '#'));
        m_server.put(u"files/Short.exe.nolength"_s, "");
        m_server.put(u"files/Short.exe.cut"_s, "2000");
    }
    void init()
    {
        // The program ended by the test before leaves its quit standing, and
        // a modal question would end at once; a run of the loop clears it.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }
    void cleanup()
    {
        if (p && p->window && !p->window->hasExited())
            p->window->ExitProgram();
        p.reset();
        t.reset();
    }

    void codesAreFetchedInOrderAndImported()
    {
        start();
        FrmUppdatera* w = download(u"ABC\r\n\r\n D E F \r\nNOPE\r\nCAPS\r\na/../b"_s, false);
        QVERIFY(w);
        QTRY_VERIFY_WITH_TIMEOUT(!window("frmUppdatera"), 60000);
        QCOMPARE(requestsFor(u"/"_s),
            QStringList({ u"/recept/ABC.rcp"_s, u"/recept/DEF.rcp"_s, u"/recept/NOPE.rcp"_s,
                u"/recept/CAPS.rcp"_s, u"/recept/a%2F..%2Fb.rcp"_s }));
        // The missing codes are told once each; the file in capitals imports nothing, silently.
        QCOMPARE(t->prompts.shown().size(), 2);
        for (const Prompts::Shown& s : t->prompts.shown())
            QCOMPARE(s.text, ReceptDownload::badCodeMessage());
        QCOMPARE(value("SELECT group_concat(Titel, '/') FROM (SELECT Titel FROM tblRecept ORDER BY RID);")
                     .toString(),
            u"Kladdkaka/Kladdkaka kopia/Mums/Fisksoppa"_s);
        QCOMPARE(value("SELECT Ingredienser FROM tblRecept WHERE Titel = 'Mums';").toString(),
            u"1 dl socker\r\n2 ägg"_s);
        // The main window lists the newest recipes, the last one imported first.
        QCOMPARE(p->window->kategoriPos(), 1);
        QCOMPARE(p->window->receptIds(), QVector<qint32>({ 4, 3, 2, 1 }));
        QVERIFY(!QFile::exists(t->path(ReceptImport::TempFileName)));
        QVERIFY(requestsFor(u"/gastrid/"_s).isEmpty());
    }

    void fileWithoutRecipesStillShowsTheNewest()
    {
        start();
        QCOMPARE(p->window->kategoriPos(), 0);
        QVERIFY(download(u"CAPS"_s, false));
        QTRY_VERIFY_WITH_TIMEOUT(!window("frmUppdatera"), 60000);
        QCOMPARE(p->window->kategoriPos(), 1);
        QVERIFY(t->prompts.shown().isEmpty());
    }

    void cancelStopsAfterTheCurrentCode()
    {
        start();
        QVERIFY(download(u"SLOW\nDEF"_s, true));
        QTRY_VERIFY_WITH_TIMEOUT(requestsFor(u"/recept/SLOW"_s).size() == 1, 60000);
        QWidget* progress = window("frmSparaRecept");
        QVERIFY(progress);
        // The notice takes the window colour; its button keeps the plain look.
        QCOMPARE(progress->palette().color(QPalette::Window), p->ctx->state().windowQColor());
        QVERIFY(progress->findChild<QPushButton*>(u"cmdCancel"_s)->palette().color(QPalette::Button)
            != p->ctx->state().buttonQColor());
        QTest::mouseClick(progress->findChild<QPushButton*>(u"cmdCancel"_s), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window("frmUppdatera"), 60000);
        QVERIFY(!window("frmSparaRecept"));
        // Neither the next code nor the update check.
        QCOMPARE(requestsFor(u"/"_s), QStringList { u"/recept/SLOW.rcp"_s });
        QCOMPARE(value("SELECT count(*) FROM tblRecept;").toInt(), 1);
        QVERIFY(t->prompts.shown().isEmpty());
    }

    void codePageAndEmptyBox()
    {
        start(false);
        // The default server is used and no settings row is made for it.
        QCOMPARE(value("SELECT count(*) FROM options;").toInt(), 4);
        FrmUppdatera* w = download(QString(), true);
        QVERIFY(w);
        QVERIFY(window("frmUppdatera"));
        QVERIFY(!window("frmSparaRecept"));

        UrlCatcher catcher;
        QDesktopServices::setUrlHandler(u"https"_s, &catcher, "open");
        QTest::mouseClick(w->findChild<QPushButton*>(u"cmdGetCode"_s), Qt::LeftButton);
        QDesktopServices::unsetUrlHandler(u"https"_s);
        QCOMPARE(catcher.urls, QList<QUrl> { QUrl(WebServer::DefaultBase + u"/recept/pren.asp"_s) });
        QVERIFY(t->prompts.shown().isEmpty());
        // No browser to be had: the user is told where to go.
        QTest::mouseClick(w->findChild<QPushButton*>(u"cmdGetCode"_s), Qt::LeftButton);
        QCOMPARE(t->prompts.shown().size(), 1);
        QVERIFY(t->prompts.shown().at(0).text.startsWith(u"Webbläsaren kunde inte startas."_s));
        QVERIFY(window("frmUppdatera"));
        // The update box is stored in its existing row.
        auto* box = w->findChild<QCheckBox*>(u"chkSeekUppgradering"_s);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
        QCOMPARE(p->ctx->state().seekUppgradering(), 0);
        QCOMPARE(value("SELECT group_concat(value) FROM options WHERE name = 'upgrade';").toString(), u"0"_s);
        QCOMPARE(value("SELECT count(*) FROM options;").toInt(), 4);
    }

    void updateOffers_data()
    {
        QTest::addColumn<QByteArray>("description");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("requested");
        QTest::addColumn<QString>("leftFile");

        QTest::newRow("same version")
            << QByteArray("Update.exe,210,1") << QString() << QString() << QString();
        QTest::newRow("a name outside the folder")
            << QByteArray("../evil.sh,211,1") << QString() << QString() << u"../evil.sh"_s;
        QTest::newRow("the cookbook as the installer")
            << QByteArray("dbRcp.mdb,211,1") << QString() << QString() << QString();
        QTest::newRow("installer missing on the server")
            << QByteArray("Missing.exe,211,1")
            << u"Uppgraderingen kunde inte laddas ner. Försök igen senare."_s << u"/files/Missing.exe"_s
            << u"Missing.exe"_s;
        QTest::newRow("installer cut short of its length")
            << QByteArray("Cut.exe,211,3") << u"Uppgraderingen kunde inte laddas ner. Försök igen senare."_s
            << u"/files/Cut.exe"_s << u"Cut.exe"_s;
        QTest::newRow("no length, no digest, short of the size given")
            << QByteArray("Short.exe,211,3") << u"Uppgraderingen kunde inte laddas ner. Försök igen senare."_s
            << u"/files/Short.exe"_s << u"Short.exe"_s;
        QTest::newRow("digest differs")
            << QByteArray("Update.exe,211,1," + QByteArray(64, '0'))
            << u"Den nedladdade uppgraderingen var skadad och har inte sparats. Försök igen senare."_s
            << u"/files/Update.exe"_s << u"Update.exe"_s;
    }
    // None of these may ask to install or end the program.
    void updateOffers()
    {
        QFETCH(QByteArray, description);
        QFETCH(QString, message);
        QFETCH(QString, requested);
        QFETCH(QString, leftFile);
        serveUpdate(description);
        start();
        QVERIFY(download(u"DEF"_s, true));
        QTRY_VERIFY_WITH_TIMEOUT(!window("frmUppdatera"), 60000);
        if (!requested.isEmpty())
            QTRY_VERIFY_WITH_TIMEOUT(!window("frmDownloadUpdate"), 60000);
        QVERIFY(!window("frmDownloadUpdate"));
        QCOMPARE(requestsFor(u"/files/"_s), requested.isEmpty() ? QStringList() : QStringList { requested });
        QStringList texts;
        for (const Prompts::Shown& s : t->prompts.shown())
            texts << s.text;
        QCOMPARE(texts, message.isEmpty() ? QStringList() : QStringList { message });
        QCOMPARE(t->prompts.unexpected(), 0);
        QVERIFY(!p->window->hasExited());
        if (!leftFile.isEmpty())
            QVERIFY(!QFile::exists(t->path(leftFile)));
        QCOMPARE(fileBytes(t->path(u"update.txt"_s)), "[Update]\r\n" + description + "\r\n");
        QCOMPARE(value("SELECT count(*) FROM tblRecept;").toInt(), 2);
    }

    void installerIsStartedAndTheProgramEnds()
    {
        serveUpdate("Update.exe,211,1," + sha(m_installer).toLatin1());
        start();
        t->prompts.queueAnswer(Prompts::Answer::Ok);
        QVERIFY(download(u"DEF"_s, true));
        QTRY_VERIFY_WITH_TIMEOUT(p->window->hasExited(), 60000);
        QCOMPARE(t->prompts.shown().last().text,
            u"En nyare version av KROX Gastrid har laddats ner. Vill du installera den nu?"_s);
        QCOMPARE(fileBytes(t->path(u"Update.exe"_s)), m_installer);
        QTRY_COMPARE_WITH_TIMEOUT(fileBytes(t->path(u"marker.txt"_s)), "installerad\n"_ba, 60000);
        // The recipe downloaded before the check is stored.
        QCOMPARE(value("SELECT count(*) FROM tblRecept;").toInt(), 2);
    }

    // A new recipe typed meanwhile keeps its text through the import, and
    // when it cannot be stored the program stays and the installer waits.
    void installerWaitsForANewRecipeThatCannotBeStored()
    {
        serveUpdate("Update.exe,211,1," + sha(m_installer).toLatin1());
        start();
        QVERIFY(download(u"DEF"_s, true));
        p->window->button(Cmd::NyttRecept)->click();
        auto* typed = p->window->findChild<QPlainTextEdit*>(u"txtIngredienser"_s);
        typed->setPlainText(u"2 ägg"_s);
        t->prompts.queueAnswer(Prompts::Answer::Ok);
        t->prompts.queueAnswer(Prompts::Answer::Yes);
        QTRY_COMPARE_WITH_TIMEOUT(t->prompts.pendingAnswers(), 0, 60000);
        QTRY_VERIFY(!window("frmDownloadUpdate"));
        QCOMPARE(t->prompts.shown().size(), 3);
        QCOMPARE(t->prompts.shown().last().text, u"Du måste ange en kategori för receptet."_s);
        QVERIFY(!p->window->hasExited());
        QVERIFY(!QFile::exists(t->path(u"marker.txt"_s)));
        QCOMPARE(fileBytes(t->path(u"Update.exe"_s)), m_installer);
        QVERIFY(p->window->nyttReceptMode());
        QCOMPARE(typed->toPlainText(), u"2 ägg"_s);
        // The imported recipe is listed once the new one is given up.
        QCOMPARE(value("SELECT count(*) FROM tblRecept;").toInt(), 2);
        p->window->EndNyttRecept();
        QCOMPARE(p->window->kategoriPos(), 1);
    }

    void declinedInstallerStaysAndWindowCloses()
    {
        serveUpdate("Update.exe,211,0");
        start();
        t->prompts.queueAnswer(Prompts::Answer::Cancel);
        QVERIFY(download(u"DEF"_s, true));
        QTRY_COMPARE_WITH_TIMEOUT(t->prompts.pendingAnswers(), 0, 60000);
        QTRY_VERIFY(!window("frmDownloadUpdate"));
        QVERIFY(!p->window->hasExited());
        QCOMPARE(fileBytes(t->path(u"Update.exe"_s)), m_installer);
        QVERIFY(QFile::exists(t->path(u"update.txt"_s)));
        QVERIFY(!QFile::exists(t->path(u"marker.txt"_s)));
    }

    void cancelledInstallerLeavesNothing()
    {
        m_server.put(u"files/Slow.exe"_s, m_installer + QByteArray(200000, '#'));
        m_server.put(u"files/Slow.exe.slow"_s, "60");
        serveUpdate("Slow.exe,211,200");
        start();
        const QStringList before
            = QDir(t->folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QVERIFY(download(u"DEF"_s, true));
        QTRY_VERIFY_WITH_TIMEOUT(window("frmDownloadUpdate"), 60000);
        auto* w = qobject_cast<FrmDownloadUpdate*>(window("frmDownloadUpdate"));
        // Half of it comes at once, then the server pauses: a block per 10000 bytes.
        QTRY_VERIFY_WITH_TIMEOUT(w->shownBlocks() >= 5, 60000);
        QVERIFY(QFile::exists(t->path(u"update.txt"_s)));
        QTest::mouseClick(w->findChild<QPushButton*>(u"cmdCancel"_s), Qt::LeftButton);
        QTRY_VERIFY(!window("frmDownloadUpdate"));
        QCOMPARE(QDir(t->folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
        QVERIFY(t->prompts.shown().isEmpty());
        QVERIFY(!p->window->hasExited());
    }

    void webPagesImportedWithCodes()
    {
        auto recipe = [](const char* name, const char* category, const char* image) {
            QJsonObject o { { u"@type"_s, u"Recipe"_s }, { u"name"_s, QString::fromUtf8(name) },
                { u"recipeIngredient"_s, QJsonArray { u"1 l buljong"_s, u"400 g lax"_s } },
                { u"recipeInstructions"_s, u"Koka."_s }, { u"totalTime"_s, u"PT25M"_s } };
            if (*category)
                o.insert(u"recipeCategory"_s, QString::fromUtf8(category));
            if (*image)
                o.insert(u"image"_s, QString::fromUtf8(image));
            return recipePage(o);
        };
        m_server.put(u"web/a.html"_s, recipe("Laxsoppa", "soppor", "bild.png"));
        m_server.put(u"web/bild.png"_s, png());
        m_server.put(u"web/b.html"_s, recipe("Tårta", "Tårtor", "trasig.jpg"));
        m_server.put(u"web/trasig.jpg"_s, "\xFF\xD8\xFF inte en bild");
        m_server.put(u"web/c.html"_s, recipe("Utan kategori", "", ""));
        m_server.put(u"web/none.html"_s, "<html><body><p>Inget recept</p></body></html>");
        m_server.put(u"web/cut.html"_s, recipe("Avklippt", "soppor", ""));
        m_server.put(u"web/cut.html.cut"_s, "200");
        start();
        const QString web = m_server.base().toString();
        const QStringList lines { web + u"/web/a.html"_s, u"DEF"_s, web + u"/web/b.html"_s,
            web + u"/web/c.html"_s, web + u"/web/none.html"_s, u"  "_s + web + u"/status/404"_s,
            web + u"/big?n=6000000"_s,
            u"HTTP://127.0.0.1:"_s + QString::number(m_server.base().port()) + u"/web/a.html"_s,
            web + u"/web/cut.html"_s, u"CUT"_s };

        // "Kakor" for the cake, "Avbryt" for the recipe without a category.
        QList<int> answers { 0, -1 };
        QStringList questions;
        QTimer answerer;
        connect(&answerer, &QTimer::timeout, this, [&] {
            QWidget* d = window("frmValjKategori");
            if (!d)
                return;
            questions << d->findChild<QLabel*>(u"lblInfo"_s)->text();
            const int row = answers.isEmpty() ? -1 : answers.takeFirst();
            if (row >= 0)
                d->findChild<QListWidget*>(u"lstKategorier"_s)->setCurrentRow(row);
            d->findChild<QPushButton*>(row >= 0 ? u"cmdOK"_s : u"cmdCancel"_s)->click();
        });
        answerer.start(20);
        FrmUppdatera* w = download(lines.join(u"\r\n"_s), false);
        QVERIFY(w);
        auto* box = w->findChild<QPlainTextEdit*>(u"txtKoder"_s);
        // The window stays with the addresses that brought nothing, as typed.
        QTRY_VERIFY_WITH_TIMEOUT(w->findChild<QPushButton*>(u"cmdOK"_s)->isEnabled(), 60000);
        QVERIFY(window("frmUppdatera"));
        QCOMPARE(box->toPlainText(),
            QStringList({ web + u"/web/none.html"_s, web + u"/status/404"_s, web + u"/big?n=6000000"_s,
                            web + u"/web/cut.html"_s })
                .join(u'\n'));
        QVERIFY(!box->isReadOnly());

        QCOMPARE(questions,
            QStringList(
                { u"Receptet \"Tårta\" har kategorin \"Tårtor\", som inte finns i kokboken. Välj en kategori "
                  "för receptet:"_s,
                    u"Receptet \"Utan kategori\" har ingen kategori. Välj en kategori för receptet:"_s }));
        QStringList texts;
        for (const Prompts::Shown& m : t->prompts.shown())
            texts << m.text;
        QCOMPARE(texts,
            QStringList({ u"Det finns inget recept på sidan %1/web/none.html."_s.arg(web),
                u"Sidan %1/status/404 kunde inte hämtas."_s.arg(web),
                u"Sidan %1/big?n=6000000 är större än 5 MB och hämtades inte."_s.arg(web),
                u"Receptet \"Laxsoppa\" fanns redan i kokboken. Receptet från %1/web/a.html har sparats som "
                "\"Laxsoppa kopia\"."_s.arg(web),
                u"Sidan %1/web/cut.html kom inte fram hel och hämtades inte."_s.arg(web),
                u"Receptfilen för koden CUT kom inte fram hel, så inget recept från den har lagts in. "
                "Försök igen senare."_s }));
        QCOMPARE(value("SELECT group_concat(Titel || ':' || Kategori || ':' || ifnull(Tid, ''), '/') FROM "
                       "(SELECT * FROM tblRecept WHERE RID > 1 ORDER BY RID);")
                     .toString(),
            u"Laxsoppa:2:25 min/Fisksoppa:2:/Tårta:1:25 min/Laxsoppa kopia:2:25 min"_s);
        QCOMPARE(value("SELECT Ingredienser || '|' || Anvisningar FROM tblRecept WHERE RID = 2;").toString(),
            u"1 l buljong\r\n400 g lax|1. Koka."_s);
        // PNG stored as JPEG; the broken picture leaves the recipe without one.
        QVERIFY(fileBytes(t->path(u"bilder/2.jpg"_s)).startsWith("\xFF\xD8\xFF"));
        QVERIFY(!QImage(t->path(u"bilder/2.jpg"_s)).isNull());
        QVERIFY(QFile::exists(t->path(u"bilder/5.jpg"_s)));
        QCOMPARE(QDir(t->path(u"bilder"_s)).entryList(QDir::Files), QStringList({ u"2.jpg"_s, u"5.jpg"_s }));
        QCOMPARE(p->window->receptIds().first(), 5);
    }

    // A page is read while the window goes on, and "Avbryt" ends the reading:
    // nothing from it is stored and the next line is not fetched.
    void pageReadAwayFromTheWindow()
    {
        m_server.put(u"web/lax.html"_s,
            recipePage({ { u"@type"_s, u"Recipe"_s }, { u"name"_s, u"Laxsoppa"_s },
                { u"recipeIngredient"_s, QJsonArray { u"400 g lax"_s } } }));
        start();
        FrmUppdatera* w = openUppdatera();
        QVERIFY(w);
        auto* dl = w->findChild<ReceptDownload*>();
        QVERIFY(dl);
        std::atomic<bool> entered { false }, left { false }, stopSeen { false };
        // A page that takes long to read: until a stop, or a minute.
        dl->setPageReader([&](const QByteArray& page, const QByteArray& type, const QUrl& url,
                              const BackgroundJob::Control& c) {
            entered = true;
            QDeadlineTimer deadline(60000);
            while (!c.stopRequested() && !deadline.hasExpired())
                QThread::msleep(10);
            stopSeen = c.stopRequested();
            left = true;
            return WebRecipePage::extract(page, type, url);
        });
        w->findChild<QPlainTextEdit*>(u"txtKoder"_s)
            ->setPlainText(m_server.url(u"/web/lax.html"_s).toString() + u"\nDEF"_s);
        QTest::mouseClick(w->findChild<QPushButton*>(u"cmdOK"_s), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(entered, 60000);
        // The window's thread came back while the page is still being read.
        QVERIFY(!left);
        QWidget* progress = window("frmSparaRecept");
        QVERIFY(progress);
        QTest::mouseClick(progress->findChild<QPushButton*>(u"cmdCancel"_s), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!window("frmUppdatera"), 60000);
        QTRY_VERIFY_WITH_TIMEOUT(left, 60000);
        QVERIFY(stopSeen);
        QTest::qWait(200);
        QCOMPARE(value("SELECT count(*) FROM tblRecept;").toInt(), 1);
        QCOMPARE(requestsFor(u"/"_s), QStringList { u"/web/lax.html"_s });
        QVERIFY(t->prompts.shown().isEmpty());
    }
};

QTEST_MAIN(TestUppdatera)
#include "tst_uppdatera.moc"
