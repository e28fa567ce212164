// The week's shopping list added up and sorted by the shop's sections.
#include "core/db/Database.h"
#include "core/kitchen/ShopSections.h"
#include "core/kitchen/ShoppingSum.h"
#include "core/menu/SummedList.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

using Recipes = QList<QStringList>;

class TestShopping : public QObject {
    Q_OBJECT

private slots:
    void sum_data()
    {
        QTest::addColumn<Recipes>("recipes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("same unit") << Recipes { { u"3 dl mjölk"_s }, { u"2 dl mjölk"_s } }
                                   << QStringList { u"5 dl mjölk"_s };
        QTest::newRow("spoons") << Recipes { { u"1 msk socker"_s }, { u"2 tsk socker"_s } }
                                << QStringList { u"1 ⅔ msk socker"_s };
        QTest::newRow("grams and kilos")
            << Recipes { { u"200 g smör"_s }, { u"0,5 kg smör"_s } } << QStringList { u"700 g smör"_s };
        QTest::newRow("into litres") << Recipes { { u"6 dl mjölk"_s }, { u"6 dl mjölk"_s } }
                                     << QStringList { u"1,2 l mjölk"_s };
        QTest::newRow("litre and dl")
            << Recipes { { u"½ l mjölk"_s, u"2 dl mjölk"_s } } << QStringList { u"7 dl mjölk"_s };
        QTest::newRow("exact grams stay exact")
            << Recipes { { u"75 g smör"_s }, { u"30 g smör"_s } } << QStringList { u"105 g smör"_s };
        QTest::newRow("volume and weight apart")
            << Recipes { { u"2 dl vetemjöl"_s }, { u"100 g vetemjöl"_s, u"1 dl vetemjöl"_s } }
            << QStringList { u"3 dl vetemjöl"_s, u"100 g vetemjöl"_s };
        QTest::newRow("st is pieces")
            << Recipes { { u"2 ägg"_s }, { u"1 st ägg"_s } } << QStringList { u"3 st ägg"_s };
        QTest::newRow("unit word follows the sum") << Recipes { { u"1 burk krossade tomater"_s },
            { u"1 burk krossade tomater"_s } } << QStringList { u"2 burkar krossade tomater"_s };
        QTest::newRow("cans and millilitres apart") << Recipes { { u"1 burk kokosmjölk"_s },
            { u"400 ml kokosmjölk"_s } } << QStringList { u"1 burk kokosmjölk"_s, u"400 ml kokosmjölk"_s };
        QTest::newRow("ranges") << Recipes { { u"2-3 msk olja"_s }, { u"1 msk olja"_s } }
                                << QStringList { u"3-4 msk olja"_s };
        QTest::newRow("about") << Recipes { { u"ca 1 dl grädde"_s }, { u"2 dl grädde"_s } }
                               << QStringList { u"ca 3 dl grädde"_s };
        QTest::newRow("halves of pieces")
            << Recipes { { u"½ citron"_s }, { u"½ citron"_s } } << QStringList { u"1 citron"_s };
        QTest::newRow("case and blanks")
            << Recipes { { u"1 Gul  lök"_s }, { u"1 gul lök"_s } } << QStringList { u"2 Gul lök"_s };
        QTest::newRow("notes differ") << Recipes { { u"1 gul lök, hackad"_s }, { u"1 gul lök (stor)"_s } }
                                      << QStringList { u"2 gul lök"_s };
        QTest::newRow("abbreviation dot")
            << Recipes { { u"1 msk. socker"_s }, { u"1 msk socker"_s } } << QStringList { u"2 msk socker"_s };
        QTest::newRow("unreadable once per recipe") << Recipes { { u"salt"_s, u"2 dl mjölk"_s },
            { u"Salt "_s, u"1 dl mjölk"_s } } << QStringList { u"salt"_s, u"3 dl mjölk"_s, u"Salt"_s };
        QTest::newRow("order of first appearance") << Recipes { { u"1 ägg"_s, u"peppar"_s, u"2 dl mjölk"_s },
            { u"1 dl mjölk"_s, u"1 ägg"_s } } << QStringList { u"2 ägg"_s, u"peppar"_s, u"3 dl mjölk"_s };
        QTest::newRow("alone as written") << Recipes { { u"  1,50 dl  Grädde "_s, u""_s, u"  "_s } }
                                          << QStringList { u"1,50 dl  Grädde"_s };
        QTest::newRow("amount without ingredient")
            << Recipes { { u"2 dl"_s }, { u"2 dl"_s } } << QStringList { u"2 dl"_s, u"2 dl"_s };
    }
    void sum()
    {
        QFETCH(Recipes, recipes);
        QFETCH(QStringList, lines);
        QStringList texts;
        for (const ShoppingSum::Line& l : ShoppingSum::sum(recipes))
            texts << l.text;
        QCOMPARE(texts, lines);
    }

    void key_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("key");
        QTest::newRow("after amount and unit") << u"2 dl Mjölk"_s << u"mjölk"_s;
        QTest::newRow("note and comma") << u"1 l MJÖLK (3 %), kall"_s << u"mjölk"_s;
        QTest::newRow("Swedish capitals") << u"ÅKERBÄR"_s << u"åkerbär"_s;
        QTest::newRow("parenthesis first") << u"2 dl (200 g) vetemjöl"_s << u"vetemjöl"_s;
        QTest::newRow("blanks run together") << u"1  st   gul\tlök"_s << u"gul lök"_s;
        QTest::newRow("unclosed parenthesis") << u"smör (till stekning"_s << u"smör"_s;
    }
    void key()
    {
        QFETCH(QString, line);
        QFETCH(QString, key);
        QCOMPARE(ShoppingSum::ingredientKey(line), key);
    }

    void sections_data()
    {
        QTest::addColumn<QString>("ingredient");
        QTest::addColumn<QString>("section");
        const auto row = [](const QString& ingredient, const QString& section) {
            QTest::addRow("%s", qPrintable(ingredient)) << ingredient << section;
        };
        // The last part of a compound decides.
        row(u"vetemjöl"_s, u"Skafferi"_s);
        row(u"rågmjöl"_s, u"Skafferi"_s);
        row(u"potatismjöl"_s, u"Skafferi"_s);
        row(u"potatis"_s, u"Frukt och grönt"_s);
        row(u"fläsklägg"_s, u"Kött och fisk"_s);
        row(u"ägg"_s, u"Mejeri och ägg"_s);
        row(u"lingonsylt"_s, u"Skafferi"_s);
        row(u"lingon"_s, u"Frukt och grönt"_s);
        row(u"kokosmjölk"_s, u"Skafferi"_s);
        row(u"mellanmjölk"_s, u"Mejeri och ägg"_s);
        row(u"krossade tomater"_s, u"Skafferi"_s);
        row(u"körsbärstomater"_s, u"Frukt och grönt"_s);
        row(u"paprikapulver"_s, u"Kryddor"_s);
        row(u"röd paprika"_s, u"Frukt och grönt"_s);
        row(u"kapris"_s, u"Skafferi"_s);
        row(u"basmatiris"_s, u"Bröd och spannmål"_s);
        row(u"äggnudlar"_s, u"Bröd och spannmål"_s);
        row(u"vaniljsås"_s, u"Mejeri och ägg"_s);
        row(u"kycklingbröst"_s, u"Kött och fisk"_s);
        row(u"tonfisk"_s, u"Skafferi"_s);
        row(u"kikärter"_s, u"Skafferi"_s);
        row(u"gröna ärter"_s, u"Frys"_s);
        row(u"svartpeppar"_s, u"Kryddor"_s);
        // Words that decide wherever they stand; words dropped from the end.
        row(u"frysta hallon"_s, u"Frys"_s);
        row(u"smör till stekning"_s, u"Mejeri och ägg"_s);
        row(u"salt och peppar"_s, u"Kryddor"_s);
        row(u"Crème Fraiche"_s, u"Mejeri och ägg"_s);
        row(u"tandpetare"_s, u"Övrigt"_s);
        row(u""_s, u"Övrigt"_s);
    }
    void sections()
    {
        QFETCH(QString, ingredient);
        QFETCH(QString, section);
        const ShopSections& shop = ShopSections::shipped();
        QCOMPARE(ShopSections::names().at(shop.sectionOf(ingredient)), section);
    }

    // The list the program carries reads without a fault.
    void shippedList()
    {
        const ShopSections& shop = ShopSections::shipped();
        QCOMPARE(shop.problems(), QStringList());
        QVERIFY2(shop.wordCount() >= 300, qPrintable(QString::number(shop.wordCount())));
    }

    void faultyList()
    {
        const ShopSections shop(u"mjöl\n[Skafferi]\nmjöl # till bakning\n[Godis]\nlakrits\n"
                                u"[Kryddor]\nMJÖL\n=\nsalt\n"_s);
        QCOMPARE(shop.problems(),
            (QStringList { u"rad 1: ord utan avdelning"_s, u"rad 4: okänd avdelning [Godis]"_s,
                u"rad 5: ord utan avdelning"_s, u"rad 7: mjöl står redan under Skafferi"_s }));
        QCOMPARE(shop.sectionOf(u"vetemjöl"), int(ShopSections::names().indexOf(u"Skafferi"_s)));
        QCOMPARE(shop.sectionOf(u"lakrits"), ShopSections::other());
        QCOMPARE(shop.wordCount(), 2);
    }

    // Through the menu's list: what the fridge has is set apart, headings go,
    // each recipe counts once, lines come under their sections in shop order.
    void weekList()
    {
        QTemporaryDir dir;
        Database db;
        QVERIFY(db.openPlain(dir.filePath(u"dbRcp.mdb"_s)).ok());
        QVERIFY(db.exec("CREATE TABLE tblKategorier (KID INTEGER PRIMARY KEY, Kategori TEXT);"
                        "CREATE TABLE tblRecept (RID INTEGER PRIMARY KEY, Titel TEXT, Kategori INTEGER, "
                        "AntalPersoner TEXT, Tid TEXT, Ingredienser TEXT, Anvisningar TEXT);")
                    .ok());
        QVERIFY(db.execute("INSERT INTO tblRecept (RID, Titel, Ingredienser) VALUES (1, 'Pannkakor', ?1), "
                           "(2, 'Plättar', ?2);",
                      { u"Smet:\r\n3 dl vetemjöl\r\n6 dl mjölk\r\n3 ägg\r\nsalt"_s,
                          u"2 dl vetemjöl\r\n2 dl mjölk\r\n1 ägg\r\nSylt:\r\n2 dl lingonsylt"_s })
                    .ok());
        QStringList week(21);
        week[0] = u"Pannkakor"_s;
        week[1] = u"Plättar"_s;
        week[5] = u"Pannkakor"_s;
        week[6] = u"Gröt"_s;
        const auto list = ShoppingList::build(db, week, { u"salt"_s });
        QVERIFY(list.ok());
        const auto sections = ShoppingList::bySection(*list);
        const QString text = ShoppingList::summedText(*list, sections);
        QCOMPARE(text,
            u"Inköpslista\n\nRader som kylskåpslistan verkar täcka står under \"Finns kanske hemma:\".\n\n"
            "Mejeri och ägg\n- 8 dl mjölk\n- 4 ägg\n\nSkafferi\n- 5 dl vetemjöl\n- 2 dl lingonsylt\n"
            "\nFinns kanske hemma:\nsalt (salt)\n"
            "\nFinns inte i kokboken: Gröt\n"_s);
        const QString html = ShoppingList::summedHtml(*list, sections);
        QVERIFY(html.contains(u"<h3>Mejeri och ägg</h3>\r\n<ul>\r\n<li>8 dl mjölk</li>"_s));
        QVERIFY(html.contains(u"<li>Pannkakor <i>(Måndag frukost, Tisdag middag)</i></li>"_s));
    }
};

QTEST_GUILESS_MAIN(TestShopping)
#include "tst_shopping.moc"
