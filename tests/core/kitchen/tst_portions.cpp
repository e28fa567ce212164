// Scaling a recipe to another number of people: amounts read at the start of
// Swedish ingredient lines, written back as a cook writes them.
#include "core/kitchen/Amounts.h"
#include "core/kitchen/Portions.h"

#include <QtTest>

using namespace Qt::StringLiterals;

class TestPortions : public QObject {
    Q_OBJECT

private slots:
    void scaleLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("scaled");
        const auto row = [](const QString& line, int from, int to, const QString& scaled) {
            QTest::addRow("%s, %d to %d", qPrintable(line), from, to) << line << from << to << scaled;
        };
        // Volumes: quarters and thirds, the unit moving with the size.
        row(u"2 dl mjölk"_s, 4, 8, u"4 dl mjölk"_s);
        row(u"3 dl vetemjöl"_s, 4, 2, u"1 ½ dl vetemjöl"_s);
        row(u"1 ½ dl strösocker"_s, 4, 8, u"3 dl strösocker"_s);
        row(u"1½ dl havregryn"_s, 4, 2, u"¾ dl havregryn"_s);
        row(u"1 1/2 dl vispgrädde"_s, 2, 4, u"3 dl vispgrädde"_s);
        row(u"1/2 tsk salt"_s, 4, 8, u"1 tsk salt"_s);
        row(u"½ tsk salt"_s, 4, 2, u"¼ tsk salt"_s);
        row(u"¼ tsk salt"_s, 4, 2, u"½ krm salt"_s);
        row(u"1 krm saffran"_s, 4, 8, u"2 krm saffran"_s);
        row(u"3 krm malen kardemumma"_s, 4, 20, u"1 msk malen kardemumma"_s);
        row(u"2 msk smör"_s, 4, 2, u"1 msk smör"_s);
        row(u"1 msk olja"_s, 4, 2, u"½ msk olja"_s);
        row(u"1 msk olja"_s, 4, 1, u"¾ tsk olja"_s);
        row(u"2 tsk bakpulver"_s, 4, 8, u"1 ⅓ msk bakpulver"_s);
        row(u"3 tsk vaniljsocker"_s, 2, 4, u"2 msk vaniljsocker"_s);
        row(u"5 dl vatten"_s, 4, 8, u"1 l vatten"_s);
        row(u"1 l mjölk"_s, 4, 2, u"5 dl mjölk"_s);
        row(u"1,5 l vatten"_s, 4, 8, u"3 l vatten"_s);
        row(u"1 l kycklingbuljong"_s, 4, 6, u"1,5 l kycklingbuljong"_s);
        row(u"2,5 dl matlagningsgrädde"_s, 4, 8, u"5 dl matlagningsgrädde"_s);
        row(u"0,5 dl vatten"_s, 4, 8, u"1 dl vatten"_s);
        row(u"0.5 l vispgrädde"_s, 2, 4, u"1 l vispgrädde"_s);
        row(u"½ l mjölk"_s, 4, 6, u"7 ½ dl mjölk"_s);
        row(u"1 dl mjölk"_s, 4, 1, u"¼ dl mjölk"_s);
        row(u"1 dl mjölk"_s, 8, 1, u"¾ msk mjölk"_s);
        row(u"3 dl mjölk"_s, 4, 3, u"2 ¼ dl mjölk"_s);
        row(u"2 dl mjölk"_s, 3, 4, u"2 ⅔ dl mjölk"_s);
        row(u"1,5 dl strösocker"_s, 6, 4, u"1 dl strösocker"_s);
        row(u"⅓ dl rapsolja"_s, 2, 4, u"⅔ dl rapsolja"_s);
        row(u"¾ dl socker"_s, 4, 8, u"1 ½ dl socker"_s);
        row(u"1 ¼ dl socker"_s, 4, 2, u"⅔ dl socker"_s);
        row(u"1 tsk salt"_s, 4, 6, u"1 ½ tsk salt"_s);
        row(u"6 msk vatten"_s, 4, 8, u"1 ¾ dl vatten"_s);
        row(u"4 cl konjak"_s, 4, 8, u"8 cl konjak"_s);
        row(u"200 ml kokosmjölk"_s, 4, 6, u"300 ml kokosmjölk"_s);
        row(u"400 ml kokosmjölk"_s, 4, 12, u"1,2 l kokosmjölk"_s);
        // Weights: whole grams, tenths of a kilo.
        row(u"500 g nötfärs"_s, 4, 6, u"750 g nötfärs"_s);
        row(u"500 g nötfärs"_s, 4, 8, u"1 kg nötfärs"_s);
        row(u"600 g laxfilé"_s, 4, 10, u"1,5 kg laxfilé"_s);
        row(u"1 kg fast potatis"_s, 4, 2, u"500 g fast potatis"_s);
        row(u"1 kg mjölig potatis"_s, 4, 10, u"2,5 kg mjölig potatis"_s);
        row(u"1,2 kg fläskkarré"_s, 6, 4, u"800 g fläskkarré"_s);
        row(u"125 g smör"_s, 4, 6, u"190 g smör"_s);
        row(u"75 g rumsvarmt smör"_s, 4, 8, u"150 g rumsvarmt smör"_s);
        row(u"25 g jäst"_s, 4, 6, u"40 g jäst"_s);
        row(u"2 hg skivad skinka"_s, 4, 8, u"4 hg skivad skinka"_s);
        row(u"5 hg räkor i skal"_s, 2, 4, u"1 kg räkor i skal"_s);
        row(u"800 gram potatis"_s, 4, 6, u"1,2 kg potatis"_s);
        row(u"1 kilo potatis"_s, 4, 8, u"2 kilo potatis"_s);
        // Pieces: halves below three, whole numbers above; unit words follow the number.
        row(u"1 ägg"_s, 4, 8, u"2 ägg"_s);
        row(u"3 ägg"_s, 4, 2, u"1 ½ ägg"_s);
        row(u"2 ägg"_s, 4, 6, u"3 ägg"_s);
        row(u"7 äggulor"_s, 6, 4, u"5 äggulor"_s);
        row(u"1 gul lök"_s, 4, 2, u"½ gul lök"_s);
        row(u"2 vitlöksklyftor"_s, 4, 6, u"3 vitlöksklyftor"_s);
        row(u"1 klyfta vitlök"_s, 4, 8, u"2 klyftor vitlök"_s);
        row(u"2 klyftor vitlök, pressade"_s, 4, 2, u"1 klyfta vitlök, pressade"_s);
        row(u"1 burk krossade tomater"_s, 4, 8, u"2 burkar krossade tomater"_s);
        row(u"1 förp crème fraiche"_s, 4, 8, u"2 förp crème fraiche"_s);
        row(u"1 paket smördeg"_s, 4, 8, u"2 paket smördeg"_s);
        row(u"1 pkt jäst"_s, 4, 2, u"½ pkt jäst"_s);
        row(u"2 krukor basilika"_s, 4, 2, u"1 kruka basilika"_s);
        row(u"1 påse frysta ärter"_s, 2, 4, u"2 påsar frysta ärter"_s);
        row(u"1 knippe dill"_s, 4, 8, u"2 knippen dill"_s);
        row(u"1 nypa salt"_s, 4, 8, u"2 nypor salt"_s);
        row(u"2 kvistar rosmarin"_s, 4, 2, u"1 kvist rosmarin"_s);
        row(u"1 st gul lök"_s, 4, 12, u"3 st gul lök"_s);
        row(u"3 st ägg"_s, 4, 2, u"1 ½ st ägg"_s);
        row(u"2 tärningar hönsbuljong"_s, 4, 2, u"1 tärning hönsbuljong"_s);
        row(u"4 skivor bacon"_s, 4, 2, u"2 skivor bacon"_s);
        row(u"1 ask körsbärstomater"_s, 4, 8, u"2 askar körsbärstomater"_s);
        row(u"1/2 citron"_s, 4, 8, u"1 citron"_s);
        row(u"½ citron, saften"_s, 4, 2, u"¼ citron, saften"_s);
        row(u"2 x 400 g krossade tomater"_s, 4, 2, u"1 x 400 g krossade tomater"_s);
        // Ranges keep their dash and, while one end fits, their unit.
        row(u"2-3 msk olja"_s, 4, 8, u"4-6 msk olja"_s);
        row(u"2–3 dl vatten"_s, 4, 2, u"1–1 ½ dl vatten"_s);
        row(u"1 - 2 tsk salt"_s, 2, 4, u"2 - 4 tsk salt"_s);
        row(u"10-12 st kardemummakärnor"_s, 4, 2, u"5-6 st kardemummakärnor"_s);
        row(u"1 à 2 tsk salt"_s, 2, 4, u"2 à 4 tsk salt"_s);
        row(u"2 till 3 dl mjölk"_s, 4, 2, u"1 till 1 ½ dl mjölk"_s);
        row(u"2-2 -3 msk olja"_s, 2, 8, u"8-8 -3 msk olja"_s);
        // What the line wrote around the amount stays.
        row(u"ca 1 tsk salt"_s, 4, 8, u"ca 2 tsk salt"_s);
        row(u"c:a 2 dl grädde"_s, 4, 2, u"c:a 1 dl grädde"_s);
        row(u"ca. 3 dl mjölk"_s, 2, 4, u"ca. 6 dl mjölk"_s);
        row(u"Ungefär 1 kg potatis"_s, 4, 8, u"Ungefär 2 kg potatis"_s);
        row(u"ev. 1 dl grädde"_s, 4, 8, u"ev. 2 dl grädde"_s);
        row(u"1 kopp kaffe till såsen"_s, 4, 8, u"2 koppar kaffe till såsen"_s);
        row(u"  2 dl mjölk "_s, 4, 8, u"  4 dl mjölk "_s);
        row(u"500g kycklingfilé"_s, 4, 2, u"250g kycklingfilé"_s);
        row(u"2dl grädde"_s, 4, 6, u"3dl grädde"_s);
        row(u"1 L mjölk"_s, 4, 8, u"2 L mjölk"_s);
        row(u"1 msk. socker"_s, 4, 8, u"2 msk. socker"_s);
        row(u"2 matskedar smör"_s, 4, 2, u"1 matsked smör"_s);
        row(u"1 Tesked salt"_s, 4, 2, u"½ Tesked salt"_s);
        row(u"3 teskedar bakpulver"_s, 4, 8, u"2 msk bakpulver"_s);
        // No amount to scale: the line stays exactly as it is.
        for (const QString& line : { u"salt"_s, u"Deg:"_s, u"Salt och peppar"_s,
                 u"Sätt ugnen på 200 grader"_s, u"200 grader"_s, u"20 minuter i ugnen"_s, u"4"_s, u"4."_s,
                 u"1 000 g vetemjöl"_s, u"1,5,5 dl"_s, u"1/0 dl mjöl"_s, u"0 g smör"_s, u"ca"_s,
                 u"ca2 dl mjölk"_s, u""_s, u"½"_s, u"1234567 g salt"_s })
            row(line, 4, 8, line);
        // The same number of portions, or none, leaves every line as it was.
        row(u"1 ½ dl strösocker"_s, 4, 4, u"1 ½ dl strösocker"_s);
        row(u"1,50 dl strösocker"_s, 4, 4, u"1,50 dl strösocker"_s);
        row(u"2 dl mjölk"_s, 0, 4, u"2 dl mjölk"_s);
        row(u"2 dl mjölk"_s, 4, -1, u"2 dl mjölk"_s);
    }
    void scaleLine()
    {
        QFETCH(QString, line);
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, scaled);
        QCOMPARE(Portions::scaleLine(line, from, to), scaled);
    }

    // An amount settled and written, as the shopping list writes its sums.
    void settle_data()
    {
        QTest::addColumn<QString>("unit"); // "" for pieces
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<QString>("written");
        QTest::newRow("15 krm") << u"krm"_s << 15.0 << 15.0 << u"1 msk"_s;
        QTest::newRow("20 dl") << u"dl"_s << 20.0 << 20.0 << u"2 l"_s;
        QTest::newRow("0,5 kg") << u"kg"_s << 0.5 << 0.5 << u"500 g"_s;
        QTest::newRow("rounds up into kg") << u"g"_s << 996.0 + 0.4 << 996.4 << u"1 kg"_s;
        QTest::newRow("rounds up into msk") << u"tsk"_s << 2.9 << 2.9 << u"1 msk"_s;
        QTest::newRow("rounds up into l") << u"dl"_s << 9.9 << 9.9 << u"1 l"_s;
        QTest::newRow("rounds up into dl") << u"msk"_s << 6.9 << 6.9 << u"1 dl"_s;
        QTest::newRow("0,2 dl") << u"dl"_s << 0.2 << 0.2 << u"1 ⅓ msk"_s;
        QTest::newRow("a drop of krm") << u"krm"_s << 0.01 << 0.01 << u"½ krm"_s;
        QTest::newRow("krm in halves") << u"krm"_s << 1.3 << 1.3 << u"1 ½ krm"_s;
        QTest::newRow("exact kilos kept") << u"kg"_s << 1.25 << 1.25 << u"1,25 kg"_s;
        QTest::newRow("kilos in tenths") << u"kg"_s << 1.333 << 1.333 << u"1,3 kg"_s;
        QTest::newRow("whole grams") << u"g"_s << 2.0 << 2.0 << u"2 g"_s;
        QTest::newRow("half a gram") << u"g"_s << 0.5 << 0.5 << u"0,5 g"_s;
        QTest::newRow("grams by fives") << u"g"_s << 37.5 << 37.5 << u"40 g"_s;
        QTest::newRow("large dl in halves") << u"dl"_s << 7.3 << 7.3 << u"7 ½ dl"_s;
        QTest::newRow("pieces whole from 3") << u""_s << 3.4 << 3.4 << u"3"_s;
        QTest::newRow("never none") << u""_s << 0.01 << 0.01 << u"¼"_s;
        QTest::newRow("unit word") << u"burk"_s << 1.5 << 1.5 << u"1 ½ burk"_s;
        QTest::newRow("unit word, plural") << u"burk"_s << 2.0 << 2.0 << u"2 burkar"_s;
        QTest::newRow("range") << u"msk"_s << 2.0 << 3.0 << u"2-3 msk"_s;
        QTest::newRow("range moves as a whole") << u"dl"_s << 12.0 << 15.0 << u"1,2-1,5 l"_s;
    }
    void settle()
    {
        QFETCH(QString, unit);
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(QString, written);
        const int u = unit.isEmpty() ? -1 : Units::byName(unit);
        QVERIFY(unit.isEmpty() || u >= 0);
        const Units::Style style
            = u >= 0 && !Units::unit(u).abbreviation ? Units::Style::Word : Units::Style::Abbreviation;
        QCOMPARE(Amounts::writeAmount(Amounts::settle(u, low, high), style), written);
    }

    void portionsOf_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("portions"); // 0: none
        QTest::addColumn<QString>("forEight");
        QTest::newRow("number") << u"4"_s << 4 << u"8"_s;
        QTest::newRow("with word") << u"4 portioner"_s << 4 << u"8 portioner"_s;
        QTest::newRow("persons") << u"6 pers."_s << 6 << u"8 pers."_s;
        QTest::newRow("about") << u"ca 6"_s << 6 << u"ca 8"_s;
        QTest::newRow("c:a") << u"c:a 10 bitar"_s << 10 << u"c:a 8 bitar"_s;
        QTest::newRow("range takes the first") << u"4-6"_s << 4 << u"8"_s;
        QTest::newRow("range with dash and words") << u"4 – 6 personer"_s << 4 << u"8 personer"_s;
        QTest::newRow("leading blanks") << u"  2 st"_s << 2 << u"  8 st"_s;
        QTest::newRow("largest") << u"99"_s << 99 << u"8"_s;
        for (const QString& none : { u""_s, u"Fyra"_s, u"portioner: 4"_s, u"0"_s, u"100 bullar"_s, u"2,5"_s,
                 u"1/2 plåt"_s, u"2 ½"_s, u"2½"_s, u"-4"_s, u"ca"_s, u"12345678901"_s })
            QTest::addRow("none: %s", qPrintable(none)) << none << 0 << none;
    }
    void portionsOf()
    {
        QFETCH(QString, text);
        QFETCH(int, portions);
        QFETCH(QString, forEight);
        QCOMPARE(Portions::portionsOf(text).value_or(0), portions);
        QCOMPARE(Portions::portionsText(text, 8), forEight);
    }

    // Line ends stay as stored, blank and heading lines included.
    void scaleText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("scaled");
        QTest::newRow("CR LF") << u"Deg:\r\n2 dl mjölk\r\n\r\n1 ägg\r\n"_s
                               << u"Deg:\r\n4 dl mjölk\r\n\r\n2 ägg\r\n"_s;
        QTest::newRow("LF, no last end") << u"1 tsk salt\n½ dl olja"_s << u"2 tsk salt\n1 dl olja"_s;
        QTest::newRow("lone CR and mixed") << u"1 ägg\r2 ägg\n\r\n3 ägg"_s << u"2 ägg\r4 ägg\n\r\n6 ägg"_s;
        QTest::newRow("empty") << u""_s << u""_s;
        QTest::newRow("only ends") << u"\r\n\r\n"_s << u"\r\n\r\n"_s;
    }
    void scaleText()
    {
        QFETCH(QString, text);
        QFETCH(QString, scaled);
        QCOMPARE(Portions::scaleText(text, 2, 4), scaled);
        QCOMPARE(Portions::scaleText(text, 3, 3), text);
    }

    // What the reader takes from a line, for the lines the shopping list adds.
    void read_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<QString>("unit"); // abbreviation or singular; "" for none
        QTest::newRow("mixed with blank") << u"1 1/2 dl"_s << 1.5 << 1.5 << u"dl"_s;
        QTest::newRow("fraction slash") << u"3⁄4 dl mjölk"_s << 0.75 << 0.75 << u"dl"_s;
        QTest::newRow("thirds") << u"2 ⅔ msk"_s << 2.0 + 2.0 / 3 << 2.0 + 2.0 / 3 << u"msk"_s;
        QTest::newRow("range of fractions") << u"½-1 tsk x"_s << 0.5 << 1.0 << u"tsk"_s;
        QTest::newRow("decimal point") << u"0.25 l grädde"_s << 0.25 << 0.25 << u"l"_s;
        QTest::newRow("word plural") << u"3 matskedar"_s << 3.0 << 3.0 << u"msk"_s;
        QTest::newRow("gram short") << u"100 gr smör"_s << 100.0 << 100.0 << u"g"_s;
        QTest::newRow("not a unit: lök") << u"1 lök"_s << 1.0 << 1.0 << u""_s;
        QTest::newRow("not a unit: gurka") << u"1 gurka"_s << 1.0 << 1.0 << u""_s;
        QTest::newRow("no blank") << u"3ägg"_s << 3.0 << 3.0 << u""_s;
        QTest::newRow("ST in capitals") << u"2 ST ägg"_s << 2.0 << 2.0 << u"st"_s;
        QTest::newRow("non-breaking space") << u"2\u00a0dl mjölk"_s << 2.0 << 2.0 << u"dl"_s;
    }
    void read()
    {
        QFETCH(QString, line);
        QFETCH(double, low);
        QFETCH(double, high);
        QFETCH(QString, unit);
        const auto r = Amounts::read(line);
        QVERIFY(r);
        QVERIFY(qFuzzyCompare(r->low, low));
        QVERIFY(qFuzzyCompare(r->high, high));
        QCOMPARE(r->unit, unit.isEmpty() ? -1 : Units::byName(unit));
    }
};

QTEST_GUILESS_MAIN(TestPortions)
#include "tst_portions.moc"
