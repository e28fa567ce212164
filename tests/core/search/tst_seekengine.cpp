// What the searches add to the row rules (tested on their own in
// tst_seekrules): the kept text following the cookbook, the list order,
// stopping and failures. The reference is the rule applied row by row to what
// SQL reads.
#include "core/db/Cookbook.h"
#include "core/search/SeekEngine.h"
#include "core/search/SeekRules.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <sqlite3.h>

using namespace Qt::StringLiterals;
using SeekEngine::Rule;

namespace {

// RID 12 has no title; RID 18 differs from 1 in case only; 9 and 10 have an
// empty and a NULL ingredient text.
const char* const Recipes = R"sql(
INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Allt');
INSERT INTO tblRecept (RID, Titel, Kategori, Ingredienser, Anvisningar) VALUES
 (1, 'Pannkakor', 1, '3 dl Mjöl' || char(13,10) || '6 dl mjölk' || char(13,10) || '3 ägg', NULL),
 (2, 'Bröd', 1, '1 l vetemjöl' || char(13,10) || '1 tsk salt', NULL),
 (3, 'Ärtsoppa', 1, '500 g gula ärtor' || char(13,10) || '1 lök', NULL),
 (4, 'Zucchinisoppa', 1, '2 zucchini' || char(13,10) || 'salt', NULL),
 (9, 'Tom', 1, '', NULL),
 (10, 'Inget', 1, NULL, NULL),
 (12, NULL, 1, '1 tsk salt', NULL),
 (13, 'Åkerbärskräm', 1, '3 dl åkerbär', NULL),
 (14, 'Kock''s sallad', 1, 'sallad', 'Skölj'),
 (15, 'Kocks soppa', 1, 'lök', NULL),
 (16, '[Hemlig] paj', 1, '1 dl socker', 'Kock’s hemlighet.'),
 (17, 'Köttbullar', 1, '500 g köttfärs', 'Stek i smör. Servera med potatis.'),
 (18, 'PANNKAKOR', 1, 'Ägg', NULL);
)sql";

// Every recipe with a non-empty ingredient text, in list order.
const QStringList EveryNonEmptyText { u""_s, u"[Hemlig] paj"_s, u"Bröd"_s, u"Kock's sallad"_s,
    u"Kocks soppa"_s, u"Köttbullar"_s, u"Pannkakor"_s, u"PANNKAKOR"_s, u"Zucchinisoppa"_s, u"Åkerbärskräm"_s,
    u"Ärtsoppa"_s };

// One search of each kind, as the searches are asked and as SQL answers them.
struct Search {
    int mode; // 0 any, 1 cookable, 2 free text
    QStringList entries;
};
const QList<Search> Searches { { 0, { u"salt"_s, u"ägg"_s } }, { 1, { u"lök"_s, u"ärtor"_s, u"salt"_s } },
    { 2, { u"sall"_s } }, { 2, { u"*"_s } } };

QVector<qint32> viaEngine(SeekEngine::KeptText& kept, Catalogue::TitleOrder& order, const Search& s)
{
    const auto r = s.mode == 2
        ? SeekEngine::freeText(kept, order, s.entries.first())
        : SeekEngine::ingredients(kept, order, s.mode == 1 ? Rule::Cookable : Rule::AnyIngredient, s.entries);
    return r ? r->ids : QVector<qint32> { -1 };
}

QVector<qint32> viaSql(Database& db, const Search& s)
{
    QVector<qint32> ids;
    if (s.mode == 2) {
        auto st = db.prepare("SELECT RID FROM tblRecept WHERE Titel LIKE ?1 OR Ingredienser LIKE ?1 OR "
                             "Anvisningar LIKE ?1 ORDER BY Titel COLLATE SV, RID;");
        st->bind(1, SeekEngine::freeTextPattern(s.entries.first()));
        while (st->next())
            ids << st->int32(0);
        return ids;
    }
    const SeekRules::AnyIngredient any(s.entries);
    const SeekRules::Cookable cookable(s.entries);
    auto st = db.prepare("SELECT RID, Ingredienser FROM tblRecept ORDER BY Titel COLLATE SV, RID;");
    while (st->next()) {
        int n = 0;
        const char* text = st->utf8(1, &n);
        if (s.mode == 1 ? cookable.matches(text, n) : any.matches(text, n))
            ids << st->int32(0);
    }
    return ids;
}

} // namespace

class TestSeekEngine : public QObject {
    Q_OBJECT

    TempProgram m_program;
    Database m_db;

private slots:
    void initTestCase()
    {
        QVERIFY(m_program.makeCookbook(QString::fromUtf8(Recipes)));
        QVERIFY(m_db.open(m_program.dbPath(), Cookbook::DatabaseKey));
    }

    void listOrder_data()
    {
        QTest::addColumn<Rule>("rule");
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("any: empty entry")
            << Rule::AnyIngredient << QStringList { u""_s } << EveryNonEmptyText;
        QTest::newRow("cookable: empty entry")
            << Rule::Cookable << QStringList { u""_s } << EveryNonEmptyText;
        QTest::newRow("any: some") << Rule::AnyIngredient << QStringList { u"salt"_s, u"ärtor"_s }
                                   << QStringList { u""_s, u"Bröd"_s, u"Zucchinisoppa"_s, u"Ärtsoppa"_s };
    }
    void listOrder()
    {
        QFETCH(Rule, rule);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, expected);
        SeekEngine::KeptText kept(m_db);
        Catalogue::TitleOrder order(m_db);
        const SeekEngine::Result r = SeekEngine::ingredients(kept, order, rule, entries).value();
        QCOMPARE(r.titles, expected);
        // The untitled recipe lists as an empty line, not as a missing one.
        QCOMPARE(r.ids.first(), 12);
        QVERIFY(r.titles.first().isNull());
    }

    void freeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("ingredients") << u"MJÖL"_s << QStringList { u"Bröd"_s, u"Pannkakor"_s };
        QTest::newRow("instructions") << u"potatis"_s << QStringList { u"Köttbullar"_s };
        // A quote stands for exactly one character, typographic ones too.
        const QStringList kocks { u"[Hemlig] paj"_s, u"Kock's sallad"_s };
        QTest::newRow("apostrophe") << u"kock's"_s << kocks;
        QTest::newRow("double quote") << u"kock\"s"_s << kocks;
        QTest::newRow("unclosed [") << u"["_s << QStringList { u"[Hemlig] paj"_s };
        // The columns are matched one by one, never run together.
        QTest::newRow("across columns") << u"sallad*Skölj"_s << QStringList();
        QStringList all = EveryNonEmptyText;
        all.insert(all.indexOf(u"Kock's sallad"_s), u"Inget"_s);
        all.insert(all.indexOf(u"Zucchinisoppa"_s), u"Tom"_s);
        QTest::newRow("one asterisk: every recipe") << u"*"_s << all;
    }
    void freeText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        SeekEngine::KeptText kept(m_db);
        Catalogue::TitleOrder order(m_db);
        QCOMPARE(SeekEngine::freeText(kept, order, text)->titles, expected);
    }

    // One purchase away, in list order, each with the line it lacks as written.
    void missingOne()
    {
        SeekEngine::KeptText kept(m_db);
        Catalogue::TitleOrder order(m_db);
        const auto r = SeekEngine::missingOne(kept, order, { u"mjöl"_s, u"salt"_s }).value();
        const QStringList lines = SeekEngine::missingLines(m_db, r).value();
        QStringList rows;
        for (qsizetype i = 0; i < r.found.ids.size(); ++i)
            rows << SeekEngine::missingOneRow(r.found.titles.at(i), lines.at(i));
        QCOMPARE(rows,
            (QStringList { u"[Hemlig] paj (saknar: 1 dl socker)"_s, u"Kock's sallad (saknar: sallad)"_s,
                u"Kocks soppa (saknar: lök)"_s, u"Köttbullar (saknar: 500 g köttfärs)"_s,
                u"Pannkakor (saknar: 3 ägg)"_s, u"PANNKAKOR (saknar: Ägg)"_s,
                u"Zucchinisoppa (saknar: 2 zucchini)"_s, u"Åkerbärskräm (saknar: 3 dl åkerbär)"_s }));
        QCOMPARE(r.found.total, 13);
    }

    // Searched once, changed, searched again: the kept text follows each kind
    // of change and agrees with SQL before and after.
    void followsChanges_data()
    {
        QTest::addColumn<QByteArray>("change");
        QTest::newRow("nothing") << QByteArray("SELECT 1;");
        QTest::newRow("title") << QByteArray("UPDATE tblRecept SET Titel = 'Salladspaj' WHERE RID = 2;");
        QTest::newRow("ingredients") << QByteArray(
            "UPDATE tblRecept SET Ingredienser = 'lök' || char(13,10) || "
            "'ärtor' WHERE RID = 1;");
        QTest::newRow("instructions")
            << QByteArray("UPDATE tblRecept SET Anvisningar = 'Sallad!' WHERE RID = 3;");
        QTest::newRow("to null") << QByteArray(
            "UPDATE tblRecept SET Titel = NULL, Ingredienser = NULL WHERE RID = 4;");
        // The highest number is where the reading of new recipes goes on from.
        QTest::newRow("highest number")
            << QByteArray("UPDATE tblRecept SET Titel = 'Salladslök', Ingredienser = 'lök' WHERE RID = 18;");
        QTest::newRow("new") << QByteArray("INSERT INTO tblRecept (Titel, Kategori, Ingredienser) VALUES "
                                           "('Löksoppa', 1, 'lök' || char(13,10) || 'salt');");
        QTest::newRow("new with a low number") << QByteArray(
            "INSERT INTO tblRecept (RID, Titel, Kategori, Ingredienser) VALUES (5, 'Äggsallad', 1, 'ägg');");
        QTest::newRow("delete") << QByteArray("DELETE FROM tblRecept WHERE RID IN (2, 13);");
        QTest::newRow("delete all at once") << QByteArray("DELETE FROM tblRecept;");
        QTest::newRow("category") << QByteArray("UPDATE tblRecept SET Kategori = 7 WHERE RID = 1;");
        QTest::newRow("many") << QByteArray(
            "WITH RECURSIVE n(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM n "
            "WHERE i < 2600) INSERT INTO tblRecept (RID, Titel, Ingredienser) "
            "SELECT i, 'Sallad ' || i, 'salt' FROM n; "
            "UPDATE tblRecept SET Anvisningar = 'sallad' WHERE RID > 100;");
        QTest::newRow("schema") << QByteArray("ALTER TABLE tblRecept ADD COLUMN Extra TEXT; "
                                              "UPDATE tblRecept SET Titel = 'Sallad' WHERE RID = 9;");
    }
    void followsChanges()
    {
        QFETCH(QByteArray, change);
        TempProgram t;
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        Database db;
        QVERIFY(db.open(t.dbPath(), Cookbook::DatabaseKey));
        SeekEngine::KeptText kept(db);
        Catalogue::TitleOrder order(db);
        for (const Search& s : Searches)
            QCOMPARE(viaEngine(kept, order, s), viaSql(db, s));
        QVERIFY(db.exec(change.constData()));
        for (const Search& s : Searches)
            QCOMPARE(viaEngine(kept, order, s), viaSql(db, s));
    }

    // Stopped while the text is first read, the search keeps the hits among
    // what was read; the next search goes on from there.
    void stoppedReadingGoesOn()
    {
        TempProgram t;
        QVERIFY(
            t.makeCookbook(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000) "
                           "INSERT INTO tblRecept (RID, Titel, Ingredienser) SELECT i, 'R' || i, "
                           "CASE i % 3 WHEN 0 THEN 'salt' ELSE 'peppar' END FROM n;"_s));
        Database db;
        QVERIFY(db.open(t.dbPath(), Cookbook::DatabaseKey));
        SeekEngine::KeptText kept(db);
        Catalogue::TitleOrder order(db);
        const Search salt { 0, { u"salt"_s } };
        int calls = 0;
        const auto stopAtOnce = [&](int, int total) { return ++calls == 1 && total == 3000 ? false : true; };
        const auto first
            = SeekEngine::ingredients(kept, order, Rule::AnyIngredient, salt.entries, stopAtOnce);
        QVERIFY(first->cancelled);
        QVERIFY(first->examined > 0 && first->examined < 3000);
        QCOMPARE(first->ids.size(), first->examined / 3);
        QVERIFY(!kept.isComplete());
        // An edit among what was read, and one beyond it, while reading waits.
        QVERIFY(db.exec("UPDATE tblRecept SET Ingredienser = 'salt' WHERE RID IN (1, 2999);"));
        QCOMPARE(viaEngine(kept, order, salt), viaSql(db, salt));
        QVERIFY(kept.isComplete());
        // Stopped while testing: the hits among the recipes tested.
        const auto stopLate = [](int done, int) { return done < 2048; };
        const auto r = SeekEngine::ingredients(kept, order, Rule::AnyIngredient, salt.entries, stopLate);
        QVERIFY(r->cancelled);
        QCOMPARE(r->examined, 2048);
        QCOMPARE(r->total, 3000);
        QVERIFY(std::all_of(r->ids.begin(), r->ids.end(), [](qint32 rid) { return rid <= 2048; }));
    }

    // A failure in the middle of the reading, then before it: an error, no hits.
    void failuresAreReported()
    {
        TempProgram t;
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        Database db;
        QVERIFY(db.open(t.dbPath(), Cookbook::DatabaseKey));
        SeekEngine::KeptText kept(db);
        Catalogue::TitleOrder order(db);
        sqlite3_progress_handler(
            db.handle(), 1, [](void*) { return 1; }, nullptr);
        const auto interrupted = SeekEngine::ingredients(kept, order, Rule::AnyIngredient, { u""_s });
        sqlite3_progress_handler(db.handle(), 0, nullptr, nullptr);
        QVERIFY(!interrupted);
        QVERIFY2(interrupted.error().text.contains(u"interrupt"), qPrintable(interrupted.error().describe()));
        QVERIFY(db.exec("DROP TABLE tblRecept;"));
        const auto gone = SeekEngine::freeText(kept, order, u"*"_s);
        QVERIFY(!gone);
        QVERIFY(gone.error().text.contains(u"no such table"));
    }
};

QTEST_GUILESS_MAIN(TestSeekEngine)
#include "tst_seekengine.moc"
