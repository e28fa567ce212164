// The rules of editing recipes, without a window: what is asked, what is
// stored in the cookbook for each answer, and what the fields show next.
#include "core/catalogue/RecipeEdit.h"
#include "core/db/Cookbook.h"
#include "core/menu/MenuStore.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>

#include <functional>
#include <utility>

namespace {

const char* const Cookbook = R"SQL(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Ärtor'), (2, 'Bröd'), (3, 'Fisk');
INSERT INTO tblRecept (RID, Titel, Kategori, AntalPersoner, Tid, Ingredienser, Anvisningar) VALUES
  (1, 'Ärtsoppa', 1, '4', '2 tim', 'ärtor' || char(13,10) || 'lök', 'Koka.'),
  (2, 'Gröna ärtor', 1, NULL, NULL, 'ärtor', NULL),
  (3, 'Kock''s ärtmos', 1, '2', '10 min', 'ärtor', 'Mosa.'),
  (4, 'Stekt strömming', 3, '4', '30 min', 'strömming', 'Stek.'),
  (5, 'Hemlig', 99, NULL, NULL, NULL, NULL);
)SQL";

enum Answer { None = -1, No = 0, Yes = 1, Cancel = 2 };

// The window as the session sees it: fields, a chooser and scripted boxes.
struct FakeWindow : RecipeEdit::Window {
    Records::Fields shown;
    std::optional<qint32> chooser;
    QList<RecipeEdit::Reply> answers;
    // The buttons of each question, in order.
    QList<RecipeEdit::Offer> offers;
    // Each box by its title, or by its first line when it has none.
    QStringList boxes;
    QList<RecipeEdit::Icon> icons;
    QStringList texts;
    int modeChanges = 0;
    int refills = 0;
    std::function<void()> whileAsking;

    RecipeEdit::Reply ask(const QString& title, const QString& text, RecipeEdit::Offer offer) override
    {
        boxes << title;
        offers << offer;
        texts << text;
        icons << RecipeEdit::Icon::None;
        if (whileAsking)
            std::exchange(whileAsking, nullptr)();
        return answers.isEmpty() ? RecipeEdit::Reply::No : answers.takeFirst();
    }
    void tell(const QString& text, RecipeEdit::Icon icon, const QString& title) override
    {
        boxes << (title.isEmpty() ? text.section(u'\n', 0, 0) : title);
        texts << text;
        icons << icon;
    }
    Records::Fields fields() const override { return shown; }
    std::optional<qint32> chosenCategory() const override { return chooser; }
    void showFields(const Records::Fields& f, std::optional<qint32> kid) override
    {
        shown = f;
        chooser = kid;
    }
    void shownChanged() override { }
    void modeChanged() override { ++modeChanges; }
    void refillLists(qint32 keep) override
    {
        ++refills;
        kept = keep;
    }
    qint32 kept = -1;
    // What the session asked of the lists, in order.
    QStringList listCalls;
    void refreshLater() override { listCalls << QStringLiteral("later"); }
    void refillFilters() override { listCalls << QStringLiteral("filters"); }
    void refillList(qint32 keep) override { listCalls << QStringLiteral("list %1").arg(keep); }
    void retitle(qint32 rid, const QString& o, const QString& n) override
    {
        listCalls << QStringLiteral("retitle %1 %2>%3").arg(rid).arg(o, n);
    }
    void titleFollowed(const QString& o, const QString& n) override
    {
        listCalls << QStringLiteral("followed %1>%2").arg(o, n);
    }
};

struct Fixture {
    TempProgram t;
    Database db;
    FakeWindow w;
    std::unique_ptr<RecipeEdit> e;

    Fixture()
    {
        // Made once and copied: making an encrypted cookbook is slow.
        static TempProgram made;
        static const bool ok = made.makeCookbook(QString::fromUtf8(Cookbook));
        if (!ok || !QFile::copy(made.dbPath(), t.dbPath()) || !db.open(t.dbPath(), Cookbook::DatabaseKey))
            qFatal("cookbook not made");
        QDir().mkpath(pictures());
        e = std::make_unique<RecipeEdit>(db, pictures(), w);
    }
    QString pictures() const { return t.path(QStringLiteral("bilder")); }
    void answer(int a)
    {
        static const RecipeEdit::Reply replies[]
            = { RecipeEdit::Reply::No, RecipeEdit::Reply::Yes, RecipeEdit::Reply::Cancel };
        if (a != None)
            w.answers << replies[a];
    }
    // A field changed by the user.
    void type(const QString& field, const QString& text)
    {
        Records::Fields& f = w.shown;
        QString* fields[] = { &f.titel, &f.antalPersoner, &f.tid, &f.ingredienser, &f.anvisningar };
        const QStringList names { "titel", "portioner", "tid", "ingredienser", "anvisningar" };
        *fields[names.indexOf(field)] = text;
        e->edited();
    }
    bool run(const QString& sql) { return sql.isEmpty() || db.exec(sql.toUtf8().constData()).ok(); }
    QVariant stored(const QString& sql)
    {
        const auto v = db.scalar(sql.toUtf8().constData(), {});
        return v ? *v : QVariant(QStringLiteral("<failed>"));
    }
    int recipes() { return stored(QStringLiteral("SELECT count(*) FROM tblRecept;")).toInt(); }
};

const QString Edited = QStringLiteral("Spara ändringar?");
const QString Titel = QStringLiteral("Titel saknas");

std::optional<qint32> kid(int k)
{
    return k < 0 ? std::nullopt : std::optional<qint32>(k);
}

} // namespace

class TestRecipeEdit : public QObject {
    Q_OBJECT

private slots:
    void showing_data();
    void showing();
    void storingAnEdit_data();
    void storingAnEdit();
    void noQuestionWhileAskingOrTypingANewRecipe();
    void leavingTheRecipe_data();
    void leavingTheRecipe();
    void categoryOfTheShownRecipe_data();
    void categoryOfTheShownRecipe();
    void newRecipe_data();
    void newRecipe();
    void renamingFollowsSavedWeeks_data();
    void renamingFollowsSavedWeeks();
    void deleting_data();
    void deleting();
    void everyBoxAsTheUserReadsIt();
    void listsFollowWhatIsStored_data();
    void listsFollowWhatIsStored();
};

void TestRecipeEdit::showing_data()
{
    QTest::addColumn<qint32>("rid");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<int>("kid");
    QTest::addColumn<qint32>("current");
    auto row = [](const char* name, qint32 rid, const QStringList& fields, int kid, qint32 current) {
        QTest::newRow(name) << rid << fields << kid << current;
    };
    row("line ends as the window keeps them", 1, { "Ärtsoppa", "4", "2 tim", "ärtor\nlök", "Koka." }, 1, 1);
    // After recipe 1: its portions and time do not stay behind.
    row("empty columns show empty", 2, { "Gröna ärtor", "", "", "ärtor", "" }, 1, 2);
    row("category that names none", 5, { "Hemlig", "", "", "", "" }, -1, 5);
    row("gone meanwhile: nothing shown", 77, { "", "", "", "", "" }, -1, 0);
}

void TestRecipeEdit::showing()
{
    QFETCH(qint32, rid);
    QFETCH(QStringList, fields);
    QFETCH(int, kid);
    QFETCH(qint32, current);
    Fixture f;
    f.e->showRecipe(1);
    f.type(QStringLiteral("tid"), QStringLiteral("3 tim"));
    f.e->showRecipe(rid);
    const Records::Fields& s = f.w.shown;
    QCOMPARE(QStringList({ s.titel, s.antalPersoner, s.tid, s.ingredienser, s.anvisningar }), fields);
    QCOMPARE(f.w.chooser.value_or(-1), kid);
    QCOMPARE(f.e->currentRid(), current);
    QVERIFY(!f.e->receptChanged());
    QVERIFY(f.w.boxes.isEmpty());
}

void TestRecipeEdit::storingAnEdit_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("stored");
    auto row = [](const char* name, const char* sql, const char* field, const QString& text, int answer,
                   const QStringList& boxes, const char* stored) {
        QTest::newRow(name) << QString::fromUtf8(sql) << QString::fromLatin1(field) << text << answer << boxes
                            << QString::fromUtf8(stored);
    };
    // Recipe 1 as stored: title, portions, time and ingredients (null: "-").
    const char* before = "Ärtsoppa|4|2 tim|ärtor/lök";
    row("Nej", "", "tid", "1 tim", No, { Edited }, before);
    row("Ja", "", "tid", "1 tim", Yes, { Edited }, "Ärtsoppa|4|1 tim|ärtor/lök");
    row("line ends as CR LF", "", "ingredienser", "ärtor\nlök\nsalt", Yes, { Edited },
        "Ärtsoppa|4|2 tim|ärtor/lök/salt");
    row("emptied portions as null", "", "portioner", "", Yes, { Edited }, "Ärtsoppa|-|2 tim|ärtor/lök");
    row("unchanged title another bears", "UPDATE tblRecept SET Titel='Ärtsoppa' WHERE RID=4;", "tid", "1 tim",
        Yes, { Edited }, "Ärtsoppa kopia|4|1 tim|ärtor/lök");
    row("another bears it in capitals", "UPDATE tblRecept SET Titel='ÄRTSOPPA' WHERE RID=4;", "tid", "1 tim",
        Yes, { Edited }, "Ärtsoppa kopia|4|1 tim|ärtor/lök");
    row("changed to another's title", "", "titel", "Stekt strömming", Yes, { Edited },
        "Stekt strömming|4|2 tim|ärtor/lök");
    row("apostrophe another bears", "UPDATE tblRecept SET Titel='Kock''s ärtmos' WHERE RID=1;", "titel",
        "Kock's ärtmos", Yes, { Edited }, "Kock's ärtmos kopia|4|2 tim|ärtor/lök");
    // Refused: the text stays in the fields and is asked about again.
    row("no title", "", "titel", "", Yes, { Edited, Titel }, before);
    row("time too long", "", "tid", QString(40000, u'1'), Yes,
        { Edited,
            "Texten i fältet Tid är för lång: högst 32767 tecken får plats. Korta den och spara igen." },
        before);
    row("deleted meanwhile", "DELETE FROM tblRecept WHERE RID=1;", "tid", "1 tim", Yes,
        { Edited,
            "Receptet finns inte längre i receptdatabasen, så ändringarna kunde inte sparas. Texten finns "
            "kvar i "
            "fälten." },
        "");
    row("engine refuses", "PRAGMA query_only=1;", "tid", "1 tim", Yes,
        { Edited, "Receptet kunde inte sparas." }, before);
}

// The focus leaves a changed field of the shown recipe.
void TestRecipeEdit::storingAnEdit()
{
    QFETCH(QString, sql);
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(int, answer);
    QFETCH(QStringList, boxes);
    QFETCH(QString, stored);
    Fixture f;
    f.e->showRecipe(1);
    QVERIFY(f.run(sql));
    f.type(field, text);
    const Records::Fields typed = f.w.shown;
    f.answer(answer);
    const RecipeEdit::Left left = f.e->fieldLeft();
    QVERIFY(f.run(QStringLiteral("PRAGMA query_only=0;")));
    QCOMPARE(f.w.boxes, boxes);
    QCOMPARE(
        f.stored(QStringLiteral("SELECT Titel || '|' || ifnull(AntalPersoner, '-') || '|' || Tid || '|' || "
                                "replace(Ingredienser, char(13, 10), '/') FROM tblRecept WHERE RID=1;"))
            .toString(),
        stored);
    const bool refused = boxes.size() > 1;
    QCOMPARE(f.e->receptChanged(), refused);
    QVERIFY(left.asked);
    QCOMPARE(left.goOn, !refused);
    QVERIFY(f.w.shown == typed);
    QCOMPARE(f.e->currentRid(), 1);
    if (!refused)
        return;
    f.answer(No);
    QVERIFY(f.e->fieldLeft().goOn);
    QCOMPARE(f.w.boxes.mid(boxes.size()), QStringList { Edited });
    QVERIFY(!f.e->receptChanged());
}

// The question box takes the focus: that leaving asks nothing more. A new
// recipe is stored only by "Spara", so leaving its fields asks nothing.
void TestRecipeEdit::noQuestionWhileAskingOrTypingANewRecipe()
{
    Fixture f;
    f.e->showRecipe(1);
    f.type(QStringLiteral("tid"), QStringLiteral("1 tim"));
    RecipeEdit::Left inner;
    f.w.whileAsking = [&] { inner = f.e->fieldLeft(); };
    f.answer(Yes);
    QVERIFY(f.e->fieldLeft().asked);
    QVERIFY(!inner.asked);
    QCOMPARE(f.w.boxes, QStringList { Edited });
    f.e->BeginNyttRecept();
    f.type(QStringLiteral("tid"), QStringLiteral("1 tim"));
    QVERIFY(!f.e->fieldLeft().asked);
    QVERIFY(!f.e->receptChanged());
    QCOMPARE(f.w.boxes.size(), 1);
    QCOMPARE(f.recipes(), 5);
}

void TestRecipeEdit::leavingTheRecipe_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<QString>("stored");
    for (const char* how : { "field", "category choice", "command", "exit" }) {
        const QString h = QString::fromLatin1(how);
        QTest::addRow("%s, nothing changed", how)
            << h << QString() << int(None) << QStringList() << true << "2 tim";
        QTest::addRow("%s, Ja", how) << h << "Ärtsoppa" << int(Yes) << QStringList { Edited } << true
                                     << "1 tim";
        QTest::addRow("%s, Nej", how)
            << h << "Ärtsoppa" << int(No) << QStringList { Edited } << true << "2 tim";
        QTest::addRow("%s, Ja without title", how)
            << h << "" << int(Yes) << QStringList { Edited, Titel } << false << "2 tim";
    }
    // Closing by mistake: Avbryt keeps the program and the text.
    QTest::addRow("exit, Avbryt") << "exit"
                                  << "Ärtsoppa" << int(Cancel) << QStringList { Edited } << false << "2 tim";
}

// What was about to happen waits while an edit the user wanted stored is not.
// A category choice lists the chosen category with no recipe counted as
// shown, though the fields keep their text.
void TestRecipeEdit::leavingTheRecipe()
{
    QFETCH(QString, how);
    QFETCH(QString, titel);
    QFETCH(int, answer);
    QFETCH(QStringList, boxes);
    QFETCH(bool, goesOn);
    QFETCH(QString, stored);
    Fixture f;
    f.e->showRecipe(1);
    if (!titel.isNull()) {
        f.type(QStringLiteral("titel"), titel);
        f.type(QStringLiteral("tid"), QStringLiteral("1 tim"));
    }
    const Records::Fields typed = f.w.shown;
    f.answer(answer);
    const bool wentOn = how == QLatin1String("field") ? f.e->fieldLeft().goOn
        : how == QLatin1String("command")             ? f.e->beforeCommand(false)
        : how == QLatin1String("exit")                ? f.e->mayExit()
                                                      : f.e->chooseCategory(3);
    QCOMPARE(wentOn, goesOn);
    QCOMPARE(f.w.boxes, boxes);
    // Only the way out offers "Avbryt".
    if (!boxes.isEmpty())
        QCOMPARE(f.w.offers.first(),
            how == QLatin1String("exit") ? RecipeEdit::Offer::YesNoCancel : RecipeEdit::Offer::YesNo);
    QCOMPARE(f.stored(QStringLiteral("SELECT Tid FROM tblRecept WHERE RID=1;")).toString(), stored);
    QCOMPARE(f.e->receptChanged(), !goesOn);
    QVERIFY(f.w.shown == typed);
    const bool chose = how == QLatin1String("category choice") && goesOn;
    QCOMPARE(f.e->kategoriPos(), chose ? 3 : 0);
    QCOMPARE(f.e->currentRid(), chose ? 0 : 1);
}

void TestRecipeEdit::categoryOfTheShownRecipe_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("again");
    auto row = [](const char* name, const char* how, int chosen, const char* sql, int answer,
                   const QStringList& boxes, int stored, bool again) {
        QTest::newRow(name) << QString::fromLatin1(how) << chosen << QString::fromLatin1(sql) << answer
                            << boxes << stored << again;
    };
    const QString changed = QStringLiteral("Spara ändring?");
    row("left unchanged", "leave", 1, "", None, {}, 1, false);
    row("changed, Ja", "leave", 2, "", Yes, { changed }, 2, false);
    row("changed, Nej", "leave", 2, "", No, { changed }, 1, true);
    // A shortcut leaves the focus in the chooser: another change asks again.
    row("changed, then a command", "command", 2, "", Yes, { changed }, 2, true);
    row("no entry chosen", "leave", -1, "", None, {}, 1, false);
    row("changed without the focus", "unentered", 2, "", None, {}, 1, true);
    row("changed after a category choice", "after choice", 2, "", None, {}, 1, false);
    row("engine refuses", "leave", 2, "PRAGMA query_only=1;", Yes,
        { changed, "Kategorin kunde inte ändras." }, 1, true);
    row("deleted meanwhile", "leave", 2, "DELETE FROM tblRecept WHERE RID=1;", Yes,
        { changed, "Receptet finns inte längre i receptdatabasen, så kategorin kunde inte ändras." }, -1,
        true);
}

// The chooser gets the focus while recipe 1 is shown, shows another entry
// and loses the focus; a change not stored is asked about the next time too.
void TestRecipeEdit::categoryOfTheShownRecipe()
{
    QFETCH(QString, how);
    QFETCH(int, chosen);
    QFETCH(QString, sql);
    QFETCH(int, answer);
    QFETCH(QStringList, boxes);
    QFETCH(int, stored);
    QFETCH(bool, again);
    Fixture f;
    f.e->showRecipe(1);
    QCOMPARE(f.w.chooser.value_or(-1), 1);
    if (how == QLatin1String("after choice"))
        QVERIFY(f.e->chooseCategory(2));
    if (how != QLatin1String("unentered"))
        f.e->categoryEntered();
    f.w.chooser = kid(chosen);
    QVERIFY(f.run(sql));
    f.answer(answer);
    if (how == QLatin1String("command"))
        QVERIFY(f.e->beforeCommand(true));
    else
        QCOMPARE(f.e->categoryLeft(), !boxes.isEmpty());
    QVERIFY(f.run(QStringLiteral("PRAGMA query_only=0;")));
    QCOMPARE(f.w.boxes, boxes);
    const QVariant k = f.stored(QStringLiteral("SELECT Kategori FROM tblRecept WHERE RID=1;"));
    QCOMPARE(k.isNull() ? -1 : k.toInt(), stored);
    if (how == QLatin1String("command"))
        f.w.chooser = 3;
    else
        f.e->categoryEntered();
    f.e->categoryLeft();
    QCOMPARE(f.w.boxes.size(), boxes.size() + (again ? 1 : 0));
}

void TestRecipeEdit::newRecipe_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<bool>("added");
    QTest::addColumn<bool>("ends");
    auto row = [](const char* name, const char* how, int chosen, const QString& titel, const char* sql,
                   const QStringList& boxes, bool added, bool ends) {
        QTest::newRow(name) << QString::fromLatin1(how) << chosen << titel << QString::fromLatin1(sql)
                            << boxes << added << ends;
    };
    const QString unsaved = QStringLiteral("Spara nytt recept?");
    const QString drop = QStringLiteral("Avbryt nytt recept");
    row("added", "Spara", 2, "Sillsallad", "", {}, true, true);
    row("a title that exists stays as typed", "Spara", 2, "Ärtsoppa", "", {}, true, true);
    row("both missing: the category is told", "Spara", -1, "", "", { "Kategori saknas" }, false, false);
    row("no title", "Spara", 2, "", "", { Titel }, false, false);
    row("title too long", "Spara", 2, QString(32768, u'å'), "",
        { "Texten i fältet Titel är för lång: högst 32767 tecken får plats. Korta den och spara igen." },
        false, false);
    row("engine refuses", "Spara", 2, "Sillsallad", "PRAGMA query_only=1;", { "Receptet kunde inte sparas." },
        false, false);
    row("exit with nothing typed", "exit", 2, "", "", {}, false, false);
    row("exit, Ja", "exit Ja", 2, "Sillsallad", "", { unsaved }, true, true);
    row("exit, Ja without category: stays", "exit Ja", -1, "Sillsallad", "", { unsaved, "Kategori saknas" },
        false, false);
    row("exit, Nej", "exit Nej", 2, "Sillsallad", "", { unsaved }, false, false);
    row("exit, Avbryt: stays", "exit Avbryt", 2, "Sillsallad", "", { unsaved }, false, false);
    // "Avbryt" sits one button from "Spara": typed text goes only on Ja.
    row("Avbryt with nothing typed", "Avbryt", 2, "", "", {}, false, true);
    row("Avbryt, Ja", "Avbryt Ja", 2, "Sillsallad", "", { drop }, false, true);
    row("Avbryt, Nej keeps the fields", "Avbryt Nej", 2, "Sillsallad", "", { drop }, false, false);
}

// "Nytt recept" empties the fields; "Spara" (or Ja when the program ends)
// checks and adds, leaves the mode and has the lists read again around the
// new recipe; "Avbryt" goes back to the recipe shown before. A failed check
// or a Nej keeps everything as it is, and the program with it.
void TestRecipeEdit::newRecipe()
{
    QFETCH(QString, how);
    QFETCH(int, chosen);
    QFETCH(QString, titel);
    QFETCH(QString, sql);
    QFETCH(QStringList, boxes);
    QFETCH(bool, added);
    QFETCH(bool, ends);
    Fixture f;
    f.e->showRecipe(1);
    f.e->BeginNyttRecept();
    QCOMPARE(f.w.modeChanges, 1);
    QVERIFY(f.w.shown.isEmpty() && !f.w.chooser && !f.e->shownCategory());
    QCOMPARE(f.e->currentRid(), 0);
    f.w.chooser = kid(chosen);
    if (!titel.isEmpty()) {
        f.type(QStringLiteral("titel"), titel);
        f.type(QStringLiteral("tid"), QStringLiteral("1 tim"));
    }
    const Records::Fields typed = f.w.shown;
    QVERIFY(f.run(sql));
    const QString answer = how.section(u' ', 1);
    f.answer(answer == QLatin1String("Ja") ? Yes : answer == QLatin1String("Avbryt") ? Cancel : No);
    if (how == QLatin1String("Spara"))
        f.e->SaveNyttRecept();
    else if (how.startsWith(QLatin1String("Avbryt")))
        f.e->cancelNyttRecept();
    else
        QCOMPARE(
            f.e->mayExit(), added || !(answer == QLatin1String("Ja") || answer == QLatin1String("Avbryt")));
    QVERIFY(f.run(QStringLiteral("PRAGMA query_only=0;")));
    QCOMPARE(f.w.boxes, boxes);
    // Dropping what was typed takes a Ja, not Enter; leaving the program offers Avbryt.
    if (!f.w.offers.isEmpty())
        QCOMPARE(f.w.offers.first(),
            how.startsWith(QLatin1String("Avbryt")) ? RecipeEdit::Offer::YesNoDefaultNo
                                                    : RecipeEdit::Offer::YesNoCancel);
    QCOMPARE(f.recipes(), added ? 6 : 5);
    QCOMPARE(f.e->nyttReceptMode(), !ends);
    QCOMPARE(f.w.refills, ends ? 1 : 0);
    // Stored, the new recipe is the one shown next; dropped, the one before.
    QCOMPARE(f.w.kept, !ends ? -1 : added ? 6 : 1);
    QVERIFY(f.w.shown == (ends ? Records::Fields() : typed));
    if (added)
        QCOMPARE(f.stored(QStringLiteral("SELECT Titel || '|' || Kategori || '|' || Tid || '|' || "
                                         "ifnull(Anvisningar, '-') FROM tblRecept WHERE RID=6;")),
            QVariant(titel + QStringLiteral("|2|1 tim|-")));
}

void TestRecipeEdit::renamingFollowsSavedWeeks_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("titel");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("weeks");
    const QString before = QStringLiteral("Ärtsoppa/Gröt/ärtsoppa|Stekt strömming//");
    QTest::newRow("renamed: the weeks follow, whatever the case")
        << ""
        << "Ärtsoppa med fläsk" << QStringList { Edited } << "Ärtsoppa med fläsk"
        << "Ärtsoppa med fläsk/Gröt/Ärtsoppa med fläsk|Stekt strömming//";
    QTest::newRow("another recipe still bears the old title")
        << "UPDATE tblRecept SET Titel='ärtsoppa' WHERE RID=4;"
        << "Ärtsoppa med fläsk" << QStringList { Edited } << "Ärtsoppa med fläsk" << before;
    QTest::newRow("title kept") << ""
                                << "Ärtsoppa" << QStringList { Edited } << "Ärtsoppa" << before;
    // The weeks already find it: nothing to follow.
    QTest::newRow("only the case changed") << ""
                                           << "ÄRTSOPPA" << QStringList { Edited } << "ÄRTSOPPA" << before;
    QTest::newRow("the weeks refuse: the title stays too")
        << "CREATE TEMP TRIGGER refuse BEFORE UPDATE ON matsedel BEGIN SELECT RAISE(ABORT, 'refused'); END;"
        << "Ärtsoppa med fläsk" << QStringList { Edited, "Receptet kunde inte sparas." } << "Ärtsoppa"
        << before;
}

// Saved weeks name their meals by title; a stored rename takes them along in
// the transaction that stores the recipe.
void TestRecipeEdit::renamingFollowsSavedWeeks()
{
    QFETCH(QString, sql);
    QFETCH(QString, titel);
    QFETCH(QStringList, boxes);
    QFETCH(QString, stored);
    QFETCH(QString, weeks);
    Fixture f;
    f.e->setTitleFollower(&MenuStore::followTitle);
    QVERIFY(f.run(
        QStringLiteral("INSERT INTO matsedel (namn, middag) VALUES ('Vecka 1', 'Ärtsoppa,Gröt,ärtsoppa,'), "
                       "('Vecka 2', 'Stekt strömming,,,');")));
    QVERIFY(f.run(sql));
    f.e->showRecipe(1);
    f.type(QStringLiteral("titel"), titel);
    f.type(QStringLiteral("tid"), QStringLiteral("1 tim"));
    f.answer(Yes);
    f.e->leaveEdit();
    QCOMPARE(f.w.boxes, boxes);
    QCOMPARE(f.stored(QStringLiteral("SELECT Titel FROM tblRecept WHERE RID=1;")).toString(), stored);
    QStringList shown;
    for (qint32 uid : { 1, 2 }) {
        const auto week = MenuStore::load(f.db, uid);
        QVERIFY(week && *week);
        shown << (*week)->mid(0, 3).join(u'/');
    }
    QCOMPARE(shown.join(u'|'), weeks);
}

void TestRecipeEdit::deleting_data()
{
    QTest::addColumn<QVector<qint32>>("marked");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QStringList>("pictures");
    auto row = [](const char* name, const QVector<qint32>& marked, const char* sql, int answer,
                   const QStringList& boxes, const char* left, const QStringList& pictures) {
        QTest::newRow(name) << marked << QString::fromLatin1(sql) << answer << boxes
                            << QString::fromLatin1(left) << pictures;
    };
    const QString ask = QStringLiteral("Radera recept");
    const QStringList all { "1.jpg", "2.bmp", "2.gif", "3.gif" };
    row("nothing marked", {}, "", None, {}, "1,2,3,4,5", all);
    row("Nej", { 1, 2, 4 }, "", No, { ask }, "1,2,3,4,5", all);
    row("Ja, with their pictures", { 1, 2, 4 }, "", Yes, { ask }, "3,5", { "3.gif" });
    row("refused part-way: none goes, nor a picture", { 1, 2, 4 },
        "CREATE TEMP TRIGGER refuse BEFORE DELETE ON tblRecept WHEN old.RID = 4 "
        "BEGIN SELECT RAISE(ABORT, 'refused'); END;",
        Yes, { ask, "Recepten kunde inte raderas." }, "1,2,3,4,5", all);
    // A folder where a picture would be can be neither read nor removed. The
    // picture shown (the last of gif, jpg, bmp) is kept in the wastebasket:
    // one that cannot be read stops the delete rather than be lost.
    row("the picture cannot be kept: nothing goes", { 3 }, "mkdir 3.jpg", Yes,
        { ask, "Recepten kunde inte raderas." }, "1,2,3,4,5",
        { "1.jpg", "2.bmp", "2.gif", "3.gif", "3.jpg" });
    row("a picture that cannot go is told", { 2 }, "mkdir 2.jpg", Yes,
        { ask, "Bilderna till recept 2 kunde inte tas bort." }, "1,3,4,5", { "1.jpg", "2.jpg", "3.gif" });
}

void TestRecipeEdit::deleting()
{
    QFETCH(QVector<qint32>, marked);
    QFETCH(QString, sql);
    QFETCH(int, answer);
    QFETCH(QStringList, boxes);
    QFETCH(QString, left);
    QFETCH(QStringList, pictures);
    Fixture f;
    for (const char* name : { "1.jpg", "2.bmp", "2.gif", "3.gif" })
        put(f.pictures() + u'/' + QLatin1String(name), "x");
    if (sql.startsWith(QLatin1String("mkdir ")))
        QVERIFY(QDir(f.pictures()).mkdir(sql.mid(6)));
    else
        QVERIFY(f.run(sql));
    f.e->showRecipe(1);
    f.answer(answer);
    f.e->DeleteRecept(marked);
    QCOMPARE(f.w.boxes, boxes);
    // Enter must not delete: the question's default is Nej.
    if (!boxes.isEmpty())
        QCOMPARE(f.w.offers, QList<RecipeEdit::Offer> { RecipeEdit::Offer::YesNoDefaultNo });
    QCOMPARE(
        f.stored(QStringLiteral("SELECT group_concat(RID) FROM (SELECT RID FROM tblRecept ORDER BY RID);"))
            .toString(),
        left);
    QCOMPARE(
        QDir(f.pictures()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name), pictures);
    const bool deleted = left != QLatin1String("1,2,3,4,5");
    QCOMPARE(f.e->deletedCount(), deleted ? int(marked.size()) : 0);
    QCOMPARE(f.w.refills, deleted ? 1 : 0);
    QCOMPARE(f.w.shown.titel, deleted ? QString() : QStringLiteral("Ärtsoppa"));
    if (!deleted || sql.startsWith(QLatin1String("mkdir ")))
        return;
    // "Ångra radering" brings the batch back and shows its first recipe.
    f.e->undoDelete();
    QCOMPARE(
        f.stored(QStringLiteral("SELECT group_concat(RID) FROM (SELECT RID FROM tblRecept ORDER BY RID);"))
            .toString(),
        QStringLiteral("1,2,3,4,5"));
    QCOMPARE(f.w.kept, marked.first());
}

// The exact words and icons of every box the session shows, in order.
void TestRecipeEdit::everyBoxAsTheUserReadsIt()
{
    Fixture f;
    f.e->showRecipe(1);
    f.type(QStringLiteral("titel"), QString());
    f.answer(Yes);
    f.e->leaveEdit();
    f.answer(No);
    f.e->leaveEdit();
    f.e->categoryEntered();
    f.w.chooser = 2;
    f.e->categoryLeft();
    f.e->DeleteRecept({ 1 });
    f.e->BeginNyttRecept();
    f.type(QStringLiteral("tid"), QStringLiteral("1 tim"));
    f.answer(Yes);
    f.e->mayExit();
    using I = RecipeEdit::Icon;
    QCOMPARE(f.w.icons, QList<I>({ I::None, I::None, I::None, I::None, I::None, I::None, I::Information }));
    QCOMPARE(f.w.boxes,
        QStringList({ Edited, Titel, Edited, "Spara ändring?", "Radera recept", "Spara nytt recept?",
            "Kategori saknas" }));
    QCOMPARE(f.w.texts,
        QStringList({
            "Ändringar har gjorts i receptet. Vill Du spara ändringarna?",
            "Receptet måste ha en titel.",
            "Ändringar har gjorts i receptet. Vill Du spara ändringarna?",
            "Receptets kategori har ändrats. Vill Du spara ändringen?",
            "Vill du radera markerade recept?",
            "Det nya receptet har inte sparats. Vill Du spara det?",
            "Du måste ange en kategori för receptet.",
        }));
}

// Steps: "show N", "type field=text", "leave Ja|Nej", "move K" (category K,
// Ja), "hits" (a search's hits listed), "due" (the window's later call),
// "new"/"end" (new-recipe mode), "outdated", "follow" (saved weeks follow),
// "clear" (forget the calls so far), "twin" (recipe 3 titled as recipe 2).
void TestRecipeEdit::listsFollowWhatIsStored_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("calls");
    const QStringList renamed { "show 1", "type titel=Aladåb", "leave Ja" };
    QTest::newRow("rename: read again later, shown recipe kept")
        << renamed + QStringList { "due" } << QStringList { "later", "filters", "list 1" };
    QTest::newRow("another field: the list stays")
        << QStringList { "show 1", "type tid=3 tim", "leave Ja", "due" } << QStringList {};
    QTest::newRow("rename dropped with Nej")
        << QStringList { "show 1", "type titel=X", "leave Nej", "due" } << QStringList {};
    QTest::newRow("two bear the title: hits show what is stored")
        << QStringList { "twin", "hits", "show 1", "type titel=Gröna ärtor", "leave Ja", "due" }
        << QStringList { "later", "filters", "retitle 1 Ärtsoppa>Gröna ärtor kopia" };
    QTest::newRow("renamed twice before the refresh") << QStringList {
        "hits", "show 1", "type titel=Aladåb", "leave Ja", "type titel=Bladåb", "leave Ja", "due"
    } << QStringList { "later", "later", "filters", "retitle 1 Ärtsoppa>Aladåb", "retitle 1 Aladåb>Bladåb" };
    QTest::newRow("category moved") << QStringList { "show 1", "move 2", "due", "due" }
                                    << QStringList { "later", "filters", "list 1" };
    QTest::newRow("an open edit: counts now, list once it is left")
        << renamed + QStringList { "type tid=1 tim", "due", "leave Ja", "due" }
        << QStringList { "later", "filters", "later", "filters", "list 1" };
    QTest::newRow("new recipe: its end refills")
        << renamed + QStringList { "new", "due" } << QStringList { "later" };
    QTest::newRow("categories changed elsewhere over hits")
        << QStringList { "show 4", "hits", "outdated", "due" } << QStringList { "later", "filters" };
    QTest::newRow("weeks followed: told once stored")
        << QStringList { "follow" } + renamed << QStringList { "followed Ärtsoppa>Aladåb", "later" };
    QTest::newRow("weeks not followed while a twin bears the old title") << QStringList { "follow", "clear",
        "show 2", "type titel=Ärtsoppa", "leave Ja", "clear", "show 1", "type titel=Aladåb", "leave Ja" }
                                                                         << QStringList { "later" };
}

void TestRecipeEdit::listsFollowWhatIsStored()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, calls);
    Fixture f;
    for (const QString& step : steps) {
        const QString arg = step.section(u' ', 1);
        if (step.startsWith(u"show "))
            f.e->showRecipe(arg.toInt());
        else if (step.startsWith(u"type "))
            f.type(arg.section(u'=', 0, 0), arg.section(u'=', 1));
        else if (step.startsWith(u"leave ")) {
            f.answer(arg == u"Ja" ? Yes : No);
            f.e->leaveEdit();
        } else if (step.startsWith(u"move ")) {
            f.e->categoryEntered();
            f.w.chooser = arg.toInt();
            f.answer(Yes);
            QVERIFY(f.e->categoryLeft());
        } else if (step == u"hits")
            f.e->hitsShown();
        else if (step == u"due")
            f.e->refreshDue();
        else if (step == u"new")
            f.e->BeginNyttRecept();
        else if (step == u"outdated")
            f.e->listsOutdated();
        else if (step == u"follow")
            f.e->setTitleFollower(&MenuStore::followTitle);
        else if (step == u"clear")
            f.w.listCalls.clear();
        else if (step == u"twin")
            QVERIFY(f.run(QStringLiteral("UPDATE tblRecept SET Titel = 'Gröna ärtor' WHERE RID = 3;")));
        else
            QFAIL(qPrintable(step));
    }
    QCOMPARE(f.w.listCalls, calls);
}

QTEST_MAIN(TestRecipeEdit)
#include "tst_recipeedit.moc"
