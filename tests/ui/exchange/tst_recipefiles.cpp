// Recipes in from files and out to them through the main window's recipe
// list: its context menu, drops, the category question and the progress window.
#include "support/TestSupport.h"
#include "support/ZipMaker.h"
#include "ui/exchange/RecipeFileTransfer.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

using Files = QMap<QString, QByteArray>;

const char* const Cookbook = R"SQL(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Bröd');
INSERT INTO tblKategorier (KID, Kategori) VALUES (2, 'Fisk');
INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar)
  VALUES (1, 'Limpa', 1, '1 limpa', '3 tim', 'rågmjöl' || char(13,10) || 'sirap', 'Baka.');
INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar)
  VALUES (2, 'Stekt strömming', 2, '4', NULL, 'strömming', 'Stek.' || char(13,10) || char(13,10) || 'Ät.');
)SQL";

// The categories of an empty cookbook to import into.
const char* const EmptyCookbook = R"SQL(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Bröd');
INSERT INTO tblKategorier (KID, Kategori) VALUES (2, 'Fisk');
)SQL";

QByteArray mmRecipe(const QByteArray& title, const QByteArray& category)
{
    return "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n \r\n      Title: " + title
        + "\r\n Categories: " + category
        + "\r\n      Yield: 4 servings\r\n \r\n      2 dl Vatten\r\n \r\n  Koka upp.\r\n \r\nMMMMM\r\n";
}

QByteArray jsonRecipes(const QList<std::pair<QString, QString>>& recipes)
{
    QJsonArray all;
    for (const auto& [name, category] : recipes)
        all.append(QJsonObject { { u"@context"_s, u"https://schema.org"_s }, { u"@type"_s, u"Recipe"_s },
            { u"name"_s, name }, { u"recipeCategory"_s, category },
            { u"recipeIngredient"_s, QJsonArray { u"1 dl mjölk"_s } },
            { u"recipeInstructions"_s, u"Rör."_s } });
    return QJsonDocument(all).toJson();
}

struct Window {
    TempProgram t;
    std::unique_ptr<Program> p;
    FrmMain* w = nullptr;
    RecipeFileTransfer* files = nullptr;

    explicit Window(const char* sql = Cookbook)
    {
        if (!t.makeCookbook(QString::fromUtf8(sql)))
            qFatal("cookbook not made");
        p = t.start();
        if (!p->ok)
            qFatal("program did not start");
        w = p->window.get();
        files = w->findChild<RecipeFileTransfer*>();
    }
    QListView* list() { return w->findChild<QListView*>(u"lstRecept"_s); }
    void trigger(const char* entry)
    {
        QAction* a = list()->findChild<QAction*>(QString::fromLatin1(entry));
        QVERIFY2(a && list()->actions().contains(a), entry);
        a->trigger();
    }
    // Starts an import and waits for its summary.
    bool imported(const std::function<void()>& start)
    {
        QSignalSpy done(files, &RecipeFileTransfer::importFinished);
        start();
        return done.count() == 1 || done.wait(120000);
    }
    void drop(const QStringList& paths)
    {
        QMimeData mime;
        QList<QUrl> urls;
        for (const QString& f : paths)
            urls << QUrl::fromLocalFile(f);
        mime.setUrls(urls);
        QWidget* target = list()->viewport();
        const QPointF at(target->width() / 2, target->height() / 2);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        QVERIFY(drop.isAccepted());
    }
    // "Titel|Kategori" of every recipe, by title.
    QString stored(const char* where = "1")
    {
        const QByteArray sql = "SELECT group_concat(x, ';') FROM (SELECT r.Titel || '|' || k.Kategori AS x "
                               "FROM tblRecept r JOIN tblKategorier k ON k.KID = r.Kategori WHERE "
            + QByteArray(where) + " ORDER BY r.Titel, r.RID)";
        const auto v = p->ctx->db().scalar(sql.constData());
        return v ? v->toString() : u"<failed>"_s;
    }
    QStringList listTitles()
    {
        QStringList out;
        for (int i = 0; i < list()->model()->rowCount(); ++i)
            out << list()->model()->index(i, 0).data().toString();
        return out;
    }
    QString lastMessage()
    {
        return t.prompts.shown().isEmpty() ? QString() : t.prompts.shown().constLast().text;
    }
    int questionsLike(const QString& part)
    {
        int n = 0;
        for (const Prompts::Shown& s : t.prompts.shown())
            n += s.text.contains(part) ? 1 : 0;
        return n;
    }
};

} // namespace

class TestRecipeFiles : public QObject {
    Q_OBJECT

private slots:
    void import_data();
    void import();
    void exportThenImport_data();
    void exportThenImport();
    void progressWindow_data();
    void progressWindow();
};

// files: name=content; how: "menu" asks for them, "drop" drops them.
void TestRecipeFiles::import_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QList<int>>("choices");
    QTest::addColumn<QString>("newRecipes");
    QTest::addColumn<QString>("summary");

    const QByteArray mm = mmRecipe("Limpa", "Bröd") + mmRecipe("Fiskbullar", "fisk");
    QTest::newRow("MealMaster by menu: categories by name, a known title gets kopia")
        << Files { { u"brod.mmf"_s, mm } } << u"menu"_s << QList<int> {}
        << u"Fiskbullar|Fisk;Limpa kopia|Bröd"_s
        << u"Importen är klar: 2 recept importerades.\n\n1 av dem fick \" kopia\" i titeln"_s;
    const QByteArray zip = makeZip({ { u"a/soppa.json"_s,
                                         jsonRecipes({ { u"Ärtsoppa"_s, u"Soppor"_s },
                                             { u"Kålsoppa"_s, u"Soppor"_s }, { u"Sill"_s, u"fisk"_s } }) },
        { u"b/sallad.json"_s, jsonRecipes({ { u"Grönsallad"_s, u"Sallader"_s } }) } });
    QTest::newRow("JSON-LD zip, unknown categories asked once, an existing one chosen")
        << Files { { u"recept.zip"_s, zip } } << u"menu"_s << QList<int> { 2 }
        << u"Grönsallad|Fisk;Kålsoppa|Fisk;Sill|Fisk;Ärtsoppa|Fisk"_s
        << u"Importen är klar: 4 recept importerades."_s;
    QTest::newRow("JSON-LD zip, unknown categories created")
        << Files { { u"recept.zip"_s, zip } } << u"menu"_s << QList<int> { 0 }
        << u"Grönsallad|Sallader;Kålsoppa|Soppor;Sill|Fisk;Ärtsoppa|Soppor"_s
        << u"Importen är klar: 4 recept importerades."_s;
    QTest::newRow("no category chosen: nothing of that file")
        << Files { { u"recept.zip"_s, zip } } << u"menu"_s << QList<int> { -1 } << QString()
        << u"Importen är klar: 0 recept importerades.\n\nInget recept från filen recept.zip har sparats: ingen kategori valdes."_s;
    QTest::newRow("two files dropped: one question for the file that needs it")
        << Files { { u"brod.mmf"_s, mmRecipe("Kavring", "Bröd") },
               { u"soppa.json"_s, jsonRecipes({ { u"Ärtsoppa"_s, u"Soppor"_s }, { u"Sill"_s, {} } }) } }
        << u"drop"_s << QList<int> { 1 } << u"Kavring|Bröd;Sill|Bröd;Ärtsoppa|Bröd"_s
        << u"Importen är klar: 3 recept importerades."_s;
    QTest::newRow("a damaged file is named and stores nothing; the next goes in")
        << Files { { u"a.json"_s, jsonRecipes({ { u"Gröt"_s, u"Bröd"_s } }).chopped(3) },
               { u"b.mmf"_s, mmRecipe("Kavring", "Bröd") } }
        << u"drop"_s << QList<int> {} << u"Kavring|Bröd"_s
        << u"Importen är klar: 1 recept importerades.\n\nFilen"_s;
}

void TestRecipeFiles::import()
{
    QFETCH(Files, files);
    QFETCH(QString, how);
    QFETCH(QList<int>, choices);
    QFETCH(QString, newRecipes);
    QFETCH(QString, summary);

    Window win;
    QStringList paths;
    for (auto it = files.begin(); it != files.end(); ++it) {
        paths << win.t.path(it.key());
        put(paths.constLast(), it.value());
    }
    for (int c : choices)
        win.t.prompts.queueChoice(c < 0 ? std::nullopt : std::optional(c));
    QVERIFY(win.imported([&] {
        if (how == u"drop"_s) {
            win.drop(paths);
        } else {
            win.t.prompts.queueFileName(paths.join(u'\n'));
            win.trigger("mnuImporteraRecept");
        }
    }));
    QCOMPARE(win.t.prompts.pendingChoices(), 0);
    QCOMPARE(win.t.prompts.unexpected(), 0);
    QCOMPARE(win.questionsLike(u"som inte finns i kokboken"_s), int(choices.size()));
    QVERIFY2(win.lastMessage().startsWith(summary), qPrintable(win.lastMessage()));
    QCOMPARE(win.stored("r.RID > 2"), newRecipes);
    QCOMPARE(win.stored("r.RID <= 2"), u"Limpa|Bröd;Stekt strömming|Fisk"_s);
    // The list shows the newest recipes, the imported ones among them.
    for (const QString& r : newRecipes.split(u';', Qt::SkipEmptyParts))
        QVERIFY2(win.listTitles().contains(r.section(u'|', 0, 0)), qPrintable(r));
}

void TestRecipeFiles::exportThenImport_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("all");
    QTest::newRow("whole cookbook as zip") << u"ut.zip"_s << true;
    QTest::newRow("marked recipes as the program's own file") << u"ut.rcp"_s << false;
    QTest::newRow("a name without suffix becomes a zip") << u"ut"_s << true;
}

void TestRecipeFiles::exportThenImport()
{
    QFETCH(QString, file);
    QFETCH(bool, all);

    Window from;
    const QByteArray jpg = picture("\xFF\xD8\xFF\xE0", 3000, 7);
    put(from.t.path(u"bilder/2.jpg"_s), jpg);
    if (!all)
        from.list()->selectAll();
    from.t.prompts.queueFileName(from.t.path(file));
    from.trigger(all ? "mnuExporteraKokboken" : "mnuExporteraMarkerade");
    const QString written = file.contains(u'.') ? from.t.path(file) : from.t.path(file + u".zip"_s);
    QCOMPARE(from.lastMessage(), u"2 recept exporterades till %1."_s.arg(QDir::toNativeSeparators(written)));

    Window to(EmptyCookbook);
    to.t.prompts.queueFileName(written);
    QVERIFY(to.imported([&] { to.trigger("mnuImporteraRecept"); }));
    QCOMPARE(to.lastMessage(), u"Importen är klar: 2 recept importerades."_s);
    const char* fields = "SELECT group_concat(x, '#') FROM (SELECT Titel || '|' || Kategori || '|' || "
                         "ifnull(AntalPersoner, '-') || '|' || ifnull(Tid, '-') || '|' || Ingredienser || "
                         "'|' || Anvisningar AS x FROM tblRecept ORDER BY Titel)";
    QCOMPARE(to.p->ctx->db().scalar(fields)->toString(), from.p->ctx->db().scalar(fields)->toString());
    // Only the zip carries pictures.
    const QString rid
        = to.p->ctx->db().scalar("SELECT RID FROM tblRecept WHERE Titel = 'Stekt strömming'")->toString();
    QCOMPARE(
        bytesOf(to.t.path(u"bilder/%1.jpg"_s.arg(rid))), written.endsWith(u".zip"_s) ? jpg : "<missing>");
}

// A file large enough for the progress window: read on a worker thread,
// "Avbryt" stores nothing of it.
void TestRecipeFiles::progressWindow_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::newRow("read to the end") << false;
    QTest::newRow("Avbryt") << true;
}

void TestRecipeFiles::progressWindow()
{
    QFETCH(bool, cancel);
    Window win;
    QByteArray big;
    for (int i = 0; big.size() < RecipeFileTransfer::ProgressBytes; ++i)
        big += mmRecipe("Gryta " + QByteArray::number(i), "Bröd");
    const int count = int(big.count("Title:"));
    put(win.t.path(u"stor.mmf"_s), big);
    win.t.prompts.queueFileName(win.t.path(u"stor.mmf"_s));
    QVERIFY(win.imported([&] {
        win.trigger("mnuImporteraRecept");
        QWidget* progress = win.w->findChild<QWidget*>(u"frmImportera"_s);
        QVERIFY(progress && progress->isVisible() && progress->isModal());
        if (cancel)
            QTest::mouseClick(progress->findChild<QPushButton*>(u"cmdAvbryt"_s), Qt::LeftButton);
    }));
    QTRY_VERIFY(!win.w->findChild<QWidget*>(u"frmImportera"_s));
    if (cancel) {
        QCOMPARE(win.lastMessage(),
            u"Importen avbröts: 0 recept importerades. Inget recept från filen som lästes då har sparats."_s);
        QCOMPARE(win.p->ctx->db().scalar("SELECT count(*) FROM tblRecept")->toInt(), 2);
    } else {
        QCOMPARE(win.lastMessage(), u"Importen är klar: %1 recept importerades."_s.arg(count));
        QCOMPARE(win.p->ctx->db().scalar("SELECT count(*) FROM tblRecept")->toInt(), 2 + count);
    }
}

QTEST_MAIN(TestRecipeFiles)
#include "tst_recipefiles.moc"
