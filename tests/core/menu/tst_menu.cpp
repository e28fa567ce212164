// The weekly menu's stored form, its store, its page and the shopping list.
#include "core/db/Database.h"
#include "core/menu/MenuPage.h"
#include "core/menu/MenuSlots.h"
#include "core/menu/MenuStore.h"
#include "core/menu/ShoppingList.h"
#include "core/menu/SummedList.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// A week with the given titles from Monday breakfast on.
QStringList week(const QStringList& first)
{
    QStringList w = first;
    while (w.size() < MenuSlots::SlotCount)
        w << QString();
    return w;
}

QString commas(int n)
{
    return QString(n, u',');
}

} // namespace

class TestMenu : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    Database m_db;

private slots:
    void initTestCase()
    {
        QVERIFY(m_db.openPlain(m_dir.filePath(u"dbRcp.mdb"_s)).ok());
        QVERIFY(
            m_db.exec("CREATE TABLE matsedel (uid INTEGER PRIMARY KEY AUTOINCREMENT, namn TEXT, middag TEXT);"
                      "CREATE TABLE tblKategorier (KID INTEGER PRIMARY KEY, Kategori TEXT);"
                      "CREATE TABLE tblRecept (RID INTEGER PRIMARY KEY, Titel TEXT, Kategori INTEGER, "
                      "AntalPersoner TEXT, Tid TEXT, Ingredienser TEXT, Anvisningar TEXT);")
                .ok());
    }

    // What is stored, and that it reads back as it was.
    void stored_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("stored");
        QTest::newRow("empty week") << week({}) << commas(21);
        QTest::newRow("Monday breakfast") << week({ u"Gröt"_s }) << u"Gröt"_s + commas(21);
        QTest::newRow("backslash, no comma") << week({ u"C:\\"_s, u"a\\b"_s }) << u"C:\\,a\\b"_s + commas(20);
        // Read as escapes, the pair would turn into one backslash.
        QTest::newRow("two backslashes, no comma") << week({ u"A\\\\B"_s }) << u"A\\\\B"_s + commas(21);
        QStringList full;
        for (int i = 0; i < 21; ++i)
            full << u"Rätt %1"_s.arg(i);
        QTest::newRow("full week") << full << full.join(u',') + u","_s;
        QTest::newRow("comma titles") << week({ u"Fisk, stekt"_s, {}, u"Pasta\\"_s, u",,"_s })
                                      << u"Fisk\\, stekt,,Pasta\\\\,\\,\\,"_s + commas(18);
        QStringList last = week({});
        last[20] = u"Söndag, sent"_s;
        QTest::newRow("comma in the last meal") << last << commas(20) + u"Söndag\\, sent,"_s;
    }
    void stored()
    {
        QFETCH(QStringList, titles);
        QFETCH(QString, stored);
        QCOMPARE(MenuSlots::encode(titles), stored);
        QCOMPARE(MenuSlots::decode(stored), titles);
    }

    // Rows stored by the old rule, or by other means, read as they always did.
    void oldRows_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("titles");
        QStringList shifted = week({ u"Fisk"_s, u" stekt"_s, u"Gröt"_s });
        QString old = u"Fisk, stekt,Gröt"_s + commas(20);
        QTest::newRow("comma title shifts the week") << old << shifted;
        QStringList full;
        for (int i = 0; i < 21; ++i)
            full << u"R%1"_s.arg(i);
        QTest::newRow("last meal falls away") << u"A, B,"_s + full.mid(1).join(u',') + u","_s
                                              << (QStringList { u"A"_s, u" B"_s } + full.mid(1, 19));
        QTest::newRow("fewer commas") << u"A,B"_s << week({ u"A"_s, u"B"_s });
        QTest::newRow("nothing") << QString() << week({});
        QTest::newRow("backslash comma in an old row")
            << u"a\\,b\\x,c"_s + commas(20) << week({ u"a\\"_s, u"b\\x"_s, u"c"_s });
    }
    void oldRows()
    {
        QFETCH(QString, stored);
        QFETCH(QStringList, titles);
        QCOMPARE(MenuSlots::decode(stored), titles);
    }

    void store()
    {
        const QString name = u"Kock's vecka"_s;
        QVERIFY(MenuStore::save(m_db, name, week({ u"Gröt"_s })).ok());
        QVERIFY(MenuStore::save(m_db, u"Ärtvecka"_s, week({ u"Ärtsoppa"_s })).ok());
        QVERIFY(MenuStore::save(m_db, u"Bullvecka"_s, week({})).ok());
        // The same name in other letters overwrites and keeps the name as first typed.
        QVERIFY(MenuStore::save(m_db, u"KOCK'S VECKA"_s, week({ u"Fisk, stekt"_s, u"Pytt"_s })).ok());
        auto plans = MenuStore::ListaMatsedlar(m_db);
        QVERIFY(plans.ok());
        QStringList names;
        for (const MenuStore::Plan& p : *plans)
            names << p.namn;
        QCOMPARE(names, (QStringList { u"Bullvecka"_s, name, u"Ärtvecka"_s }));
        const qint32 uid = plans->at(1).uid;
        QCOMPARE(MenuStore::load(m_db, uid)->value_or(QStringList()), week({ u"Fisk, stekt"_s, u"Pytt"_s }));
        QVERIFY(MenuStore::remove(m_db, uid).ok());
        QVERIFY(!MenuStore::load(m_db, uid)->has_value());
        QCOMPARE(MenuStore::ListaMatsedlar(m_db)->size(), 2);

        // Older cookbooks can hold two menus of one name: saving updates the oldest.
        QVERIFY(m_db.exec("INSERT INTO matsedel (namn, middag) VALUES ('Tvilling', 'Gammal,'),"
                          " ('tvilling', 'Ny,');")
                    .ok());
        QVERIFY(MenuStore::save(m_db, u"TVILLING"_s, week({ u"Sparad"_s })).ok());
        const auto after = MenuStore::ListaMatsedlar(m_db);
        QVERIFY(after.ok());
        QStringList twins;
        for (const MenuStore::Plan& p : *after)
            if (p.namn.compare(u"tvilling"_s, Qt::CaseInsensitive) == 0)
                twins << MenuStore::load(m_db, p.uid)->value_or(QStringList()).value(0);
        QCOMPARE(twins, (QStringList { u"Sparad"_s, u"Ny"_s }));
    }

    void page()
    {
        QStringList titles = week({ u"Gröt"_s });
        titles[5] = u"Äggröra & ⅓ <b>bröd</b>"_s;
        titles[20] = u"Pizza"_s;
        const QStringList lines = MenuPage::lines(titles);
        QCOMPARE(lines.size(), 9 + 7 * 19 + 3);
        QCOMPARE(lines.mid(0, 9).join(u'|'),
            u"<HTML>|<HEAD>|<TITLE>KROX Gastrid - Matsedel</TITLE>|</HEAD>|<BODY>|<table align=\"center\" "
            "width=\"500\" border=\"0\" cellpadding=\"2\" cellspacing=\"2\">|<tr>|<td align=\"center\">"
            "<h1>Veckomatsedel</h1></td>|</tr>"_s);
        // The second day: its name, then Frukost, Lunch and Middag in their rows.
        QCOMPARE(lines.mid(9 + 19, 19).join(u'|'),
            u"<tr>|<td>|<b>Tisdag</b>|<table width=\"100%\" border=\"0\" cellpadding=\"0\" cellspacing=\"2\">"
            "|<tr>|<td width=\"15%\">Frukost</td>|<td width=\"85%\"></td>|</tr>"
            "|<tr>|<td width=\"15%\">Lunch</td>|<td width=\"85%\"></td>|</tr>"
            "|<tr>|<td width=\"15%\">Middag</td>|<td width=\"85%\">Äggröra & ⅓ <b>bröd</b></td>|</tr>"
            "|</table>|</td>|</tr>"_s);
        QCOMPARE(lines.at(9 + 6 * 19 + 14), u"<td width=\"85%\">Pizza</td>"_s);
        QCOMPARE(lines.mid(lines.size() - 3).join(u'|'), u"</table>|</BODY>|</HTML>"_s);

        // A named week: under the heading and in the title, as typed.
        const QStringList named = MenuPage::lines(titles, u" Vecka  12 <ny> "_s);
        QCOMPARE(named.size(), lines.size() + 3);
        QCOMPARE(named.at(2), u"<TITLE>KROX Gastrid - Matsedel - Vecka 12 &lt;ny&gt;</TITLE>"_s);
        QCOMPARE(named.mid(9, 3).join(u'|'),
            u"<tr>|<td align=\"center\"><h2>Vecka 12 &lt;ny&gt;</h2></td>|</tr>"_s);
        QCOMPARE(named.mid(12), lines.mid(9));

        const QString path = MenuPage::pagePath(m_dir.path());
        QVERIFY(MenuPage::write(path, titles).ok);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("<HTML>\r\n<HEAD>\r\n"));
        QVERIFY(bytes.endsWith("</HTML>\r\n"));
        QVERIFY(bytes.contains("<td width=\"85%\">\xc4ggr\xf6ra & &#8531; <b>br\xf6"
                               "d</b></td>\r\n"));
    }

    void fridgeLinesAreSetApart_data();
    void fridgeLinesAreSetApart();

    void shoppingList()
    {
        QVERIFY(
            m_db.exec("INSERT INTO tblRecept (RID, Titel, Ingredienser) VALUES "
                      "(1, 'Köttbullar', '500 g färs' || char(13,10) || '1 ägg' || char(13,10) || char(13,10)"
                      "  || 'Sås:' || char(13,10) || '2 dl grädde' || char(13,10) || 'Till servering:'"
                      "  || char(13,10) || 'lingon < 1 dl'),"
                      "(2, 'Gröt', '3 dl havregryn' || char(10) || '6 dl vatten'),"
                      "(3, 'köttbullar', 'en tvilling'),"
                      "(4, 'Smörgås', '1 skiva bröd');")
                .ok());
        QStringList titles = week({ u"Gröt"_s, u"KÖTTBULLAR"_s, u"Smörgås"_s });
        titles[7] = u"Köttbullar"_s;
        titles[8] = u"Borta"_s;
        titles[20] = u"Borta"_s;
        const auto list = ShoppingList::build(m_db, titles, { u"GRÄDDE"_s, u"vatten"_s, u"bröd"_s });
        QVERIFY(list.ok());
        QCOMPARE(list->missing, QStringList { u"Borta"_s });
        QCOMPARE(list->recipes.size(), 3);
        const ShoppingList::Recipe& gröt = list->recipes.at(0);
        QCOMPARE(gröt.lines, (QList<ShoppingList::Line> { { u"3 dl havregryn"_s, false } }));
        QCOMPARE(gröt.atHome, (QList<ShoppingList::AtHome> { { u"6 dl vatten"_s, u"vatten"_s } }));
        // Found by its exact title, letter case aside: the oldest of the twins.
        const ShoppingList::Recipe& bullar = list->recipes.at(1);
        QCOMPARE(bullar.title, u"Köttbullar"_s);
        QCOMPARE(bullar.meals, (QStringList { u"Måndag lunch"_s, u"Onsdag lunch"_s }));
        // "Sås:" had only the cream under it, which is likely at home.
        QCOMPARE(bullar.lines,
            (QList<ShoppingList::Line> { { u"500 g färs"_s, false }, { u"1 ägg"_s, false },
                { u"Till servering:"_s, true }, { u"lingon < 1 dl"_s, false } }));
        QCOMPARE(bullar.atHome, (QList<ShoppingList::AtHome> { { u"2 dl grädde"_s, u"GRÄDDE"_s } }));
        QCOMPARE(list->recipes.at(2).lines.size(), 0);

        // The page adds up; what the fridge seems to cover is listed once, with its entry.
        const QString html = ShoppingList::summedHtml(*list, ShoppingList::bySection(*list));
        QVERIFY(html.contains(u"<li>lingon &lt; 1 dl</li>"_s));
        QVERIFY2(html.contains(
                     u"<p><b>Finns kanske hemma:</b></p>\r\n<ul>\r\n<li>6 dl vatten <i>(vatten)</i></li>"
                     "\r\n<li>2 dl grädde <i>(GRÄDDE)</i></li>\r\n<li>1 skiva bröd <i>(bröd)</i></li>"_s),
            qPrintable(html));
        QVERIFY(html.contains(u"<b>Finns inte i kokboken:</b> Borta</p>"_s));
        QVERIFY(html.indexOf(u"Gröt"_s) < html.indexOf(u"Köttbullar"_s));
    }
};

void TestMenu::fridgeLinesAreSetApart_data()
{
    QTest::addColumn<QString>("ingredients");
    QTest::addColumn<QStringList>("fridge");
    QTest::addColumn<QStringList>("toBuy");
    QTest::addColumn<QStringList>("atHome");
    // An entry found inside another word is no proof the line is at home.
    QTest::newRow("ägg in fläsklägg")
        << u"1 rimmad fläsklägg\n2 ägg"_s << QStringList { u"ägg"_s } << QStringList()
        << QStringList { u"1 rimmad fläsklägg|ägg"_s, u"2 ägg|ägg"_s };
    QTest::newRow("potatis in potatismjöl")
        << u"1 msk potatismjöl\n1 kg fisk"_s << QStringList { u"potatis"_s } << QStringList { u"1 kg fisk"_s }
        << QStringList { u"1 msk potatismjöl|potatis"_s };
    QTest::newRow("the first entry that fits is named")
        << u"lingonsylt"_s << QStringList { u"LINGON"_s, u"sylt"_s } << QStringList()
        << QStringList { u"lingonsylt|LINGON"_s };
    QTest::newRow("a blank entry names nothing") << u"1 kg fisk"_s << QStringList { u"  "_s, QString() }
                                                 << QStringList { u"1 kg fisk"_s } << QStringList();
}

// Nothing the recipe needs leaves the list without a word.
void TestMenu::fridgeLinesAreSetApart()
{
    QFETCH(QString, ingredients);
    QFETCH(QStringList, fridge);
    QFETCH(QStringList, toBuy);
    QFETCH(QStringList, atHome);
    QVERIFY(m_db.execute(
                    "INSERT OR REPLACE INTO tblRecept (RID, Titel, Ingredienser) VALUES (90, 'Kylprov', ?1);",
                    { ingredients })
                .ok());
    const auto list = ShoppingList::build(m_db, week({ u"Kylprov"_s }), fridge);
    QVERIFY(list.ok());
    QCOMPARE(list->recipes.size(), 1);
    QStringList lines, maybe;
    for (const ShoppingList::Line& l : list->recipes.at(0).lines)
        lines << l.text;
    for (const ShoppingList::AtHome& a : list->recipes.at(0).atHome)
        maybe << a.line + u'|' + a.entry;
    QCOMPARE(lines, toBuy);
    QCOMPARE(maybe, atHome);
    QCOMPARE(
        ShoppingList::summedHtml(*list, ShoppingList::bySection(*list)).contains(u"Finns kanske hemma:"_s),
        !atHome.isEmpty());
}

QTEST_GUILESS_MAIN(TestMenu)
#include "tst_menu.moc"
