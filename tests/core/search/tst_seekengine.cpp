// What the searches add to the row rules (tested on their own in
// tst_seekrules): the cookbook's rows, the list order, stopping and failures.
#include "core/db/Cookbook.h"
#include "core/search/SeekEngine.h"
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
        const SeekEngine::Result r = SeekEngine::ingredients(m_db, rule, entries).value();
        QCOMPARE(r.titles, expected);
        // The untitled recipe lists as an empty line, not as a missing one.
        QCOMPARE(r.ids.first(), 12);
        QVERIFY(r.titles.first().isNull());

        // Walking the recipe list's own order gives the same list; an order
        // that lacks a hit is not trusted.
        Catalogue::TitleOrder order;
        const Catalogue::RecipeRows* all = order.get(m_db).value();
        const SeekEngine::Result viaOrder = SeekEngine::ingredients(m_db, rule, entries, {}, all).value();
        QCOMPARE(viaOrder.ids, r.ids);
        QCOMPARE(viaOrder.titles, r.titles);
        Catalogue::RecipeRows partial = *all;
        partial.ids.removeFirst();
        partial.titles.removeFirst();
        QCOMPARE(SeekEngine::ingredients(m_db, rule, entries, {}, &partial)->ids, r.ids);
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
        QStringList all = EveryNonEmptyText;
        all.insert(all.indexOf(u"Kock's sallad"_s), u"Inget"_s);
        all.insert(all.indexOf(u"Zucchinisoppa"_s), u"Tom"_s);
        QTest::newRow("one asterisk: every recipe") << u"*"_s << all;
    }
    void freeText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QCOMPARE(SeekEngine::freeText(m_db, text)->titles, expected);
    }

    void cancelKeepsHitsSoFar()
    {
        const auto r = SeekEngine::ingredients(m_db, Rule::AnyIngredient, { u""_s },
            [&](int done, int total) { return done < 3 && total == 13; });
        QVERIFY(r->cancelled);
        QCOMPARE(r->examined, 3);
        // Recipes are tested by number; the hits come in list order all the same.
        QCOMPARE(r->ids, (QVector<qint32> { 2, 1, 3 }));
    }

    // A failure in the middle of the scan, then before it: an error, no hits.
    void failuresAreReported()
    {
        TempProgram t;
        QVERIFY(t.makeCookbook(QString::fromUtf8(Recipes)));
        Database db;
        QVERIFY(db.open(t.dbPath(), Cookbook::DatabaseKey));
        const auto interrupt = [&](int done, int) {
            if (done == 2)
                sqlite3_interrupt(db.handle());
            return true;
        };
        QList<DbResult<SeekEngine::Result>> results { SeekEngine::ingredients(
            db, Rule::AnyIngredient, { u""_s }, interrupt) };
        QVERIFY(db.exec("DROP TABLE tblRecept;"));
        results << SeekEngine::ingredients(db, Rule::Cookable, { u"mjöl"_s })
                << SeekEngine::freeText(db, u"*"_s);
        for (const auto& r : results)
            QVERIFY(!r);
        QVERIFY2(results[0].error().text.contains(u"interrupted"), qPrintable(results[0].error().describe()));
        QVERIFY(results[2].error().text.contains(u"no such table"));
    }
};

QTEST_GUILESS_MAIN(TestSeekEngine)
#include "tst_seekengine.moc"
