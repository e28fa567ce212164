// Recipes read from web pages written for these tests, and durations.
#include "core/online/HtmlNesting.h"
#include "core/online/IsoDuration.h"
#include "core/online/WebRecipe.h"

#include <QFile>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray webPage(const QString& name)
{
    QFile f(QStringLiteral(GASTRID_TEST_DATA "/web/") + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// name | yield | time | categories | ingredients | instructions | image, lists joined by "/".
QString summary(const WebRecipe& r)
{
    return QStringList { r.name, r.yield, r.time, r.categories.join(u'/'), r.ingredients.join(u'/'),
        r.instructions.join(u'/'), r.image.toString() }
        .join(u" | "_s);
}

} // namespace

class TestWebRecipe : public QObject {
    Q_OBJECT

private slots:
    void extract_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("contentType");
        QTest::addColumn<QString>("expected");

        QTest::newRow("JSON-LD object: entities, tags, prep plus cook, the largest image")
            << u"ld-object.html"_s << "text/html"_ba
            << u"Pasta & sås | 4 | 1 tim 15 min | Middag | 400 g pasta/1 dl grädde | "
               "1. Koka pastan./2. Rör ihop/3. såsen. | https://mat.example/recept/stor.jpg"_s;
        QTest::newRow("inside @graph, sections, steps already numbered")
            << u"ld-graph.html"_s << "text/html"_ba
            << u"Bullar | 20 | 1 tim 15 min | Bakning/Fika, Kakor/Fika/Kakor | 5 dl mjöl/50 g jäst | "
               "Deg/1. Värm mjölken./2. Knåda./Fyllning/3. Rör smöret. | https://bild.example/bulle.png"_s;
        QTest::newRow("@graph references: picture, sections; inside CDATA")
            << u"ld-graph-ids.html"_s << "text/html"_ba
            << u"Kanelbullar |  |  |  | 5 dl vetemjöl/50 g jäst | Deg/1. Värm mjölken./2. Knåda. | "
               "https://mat.example/bilder/bulle.jpg"_s;
        QTest::newRow("array at the top: the first of several recipes")
            << u"ld-array.html"_s << "text/html"_ba << u"Först |  |  |  |  | 1. Gör så. | "_s;
        QTest::newRow("broken JSON-LD skipped; line breaks inside strings")
            << u"ld-broken.html"_s << "text/html"_ba
            << u"Gröt |  | 1 dag 2 tim |  |  | 1. Blanda./2. Koka. | "_s;
        QTest::newRow("microdata when JSON-LD has no recipe")
            << u"microdata.html"_s << "text/html"_ba
            << u"Ärtsoppa & pannkakor | 4 portioner | 2 tim | Soppor | 500 g gula ärtor/1 <stor> lök | "
               "1. Blötlägg./2. Koka länge. | https://mat.example/recept/bilder/soppa.bmp"_s;
        QTest::newRow("microdata steps as items")
            << u"microdata-steps.html"_s << "text/html"_ba
            << u"Sill |  | 45 min |  |  | Lag/1. Blanda ättika och socker. | "_s;
        QTest::newRow("page's own character set")
            << u"latin1.html"_s << "text/html"_ba << u"Kåldolmar |  |  |  |  |  | "_s;
        QTest::newRow("the server's character set first")
            << u"latin1.html"_s << "text/html; charset=UTF-8"_ba << u"K\uFFFDldolmar |  |  |  |  |  | "_s;
        QTest::newRow("no recipe on the page") << u"no-recipe.html"_s << "text/html"_ba << QString();
        QTest::newRow("a recipe without a name is none") << u"no-name.html"_s << "text/html"_ba << QString();
    }
    void extract()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, contentType);
        QFETCH(QString, expected);
        const QByteArray html = webPage(file);
        QVERIFY(!html.isEmpty());
        const auto r
            = WebRecipePage::extract(html, contentType, QUrl(u"https://mat.example/recept/sida.html"_s));
        QCOMPARE(r ? summary(*r) : QString(), expected);
    }

    // Hostile nesting around a recipe: the bounded page gives the recipe the
    // whole page gives, and a page within the bounds is read unchanged.
    void hostileNesting_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<QByteArray>("tail");

        const QByteArray tables = "<table><tr><td>"_ba.repeated(5000);
        const QByteArray divs = "<div>"_ba.repeated(50000);
        const QByteArray none;
        QTest::newRow("JSON-LD after 50,000 divs") << u"ld-graph.html"_s << divs << none << none;
        QTest::newRow("microdata before 5,000 unclosed tables")
            << u"microdata.html"_s << none << tables << none;
        QTest::newRow("microdata before cells that outlive their divs")
            << u"microdata-steps.html"_s << none << "<div><table><tr><td></div>"_ba.repeated(3000) << none;
        QTest::newRow("JSON-LD after reopened formatting")
            << u"ld-object.html"_s << "<p><b id=1><i class=x>t</p>"_ba.repeated(3000) << none << none;
        QTest::newRow("JSON-LD after a tag of 100,000 attributes")
            << u"ld-array.html"_s << "<div " + "a b=\"c>\" "_ba.repeated(100000) + ">" << none << none;
        QTest::newRow("JSON-LD after 10,000 tags of 30 attributes each")
            << u"ld-object.html"_s
            << "<b "_ba.append("a=1 b=2 c=3 "_ba.repeated(10)).append("></b>").repeated(10000) << none
            << none;
        QTest::newRow("microdata, then a tag of 100,000 attributes the page ends in")
            << u"microdata.html"_s << none << none << "<div "_ba + "a "_ba.repeated(100000);
    }
    void hostileNesting()
    {
        QFETCH(QString, file);
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        QFETCH(QByteArray, tail);
        const QByteArray html = webPage(file);
        QVERIFY(!html.isEmpty());
        QCOMPARE(HtmlNesting::bounded(html), html);
        const QUrl url(u"https://mat.example/recept/sida.html"_s);
        const auto plain = WebRecipePage::extract(html, "text/html", url);
        QVERIFY(plain);
        const qsizetype body = html.indexOf("<body");
        const qsizetype open = html.indexOf('>', body) + 1;
        const qsizetype close = html.lastIndexOf("</body>");
        QByteArray hostile = html;
        hostile.insert(close, after);
        hostile.insert(open, before);
        hostile.append(tail);
        QVERIFY(HtmlNesting::bounded(hostile) != hostile);
        const auto r = WebRecipePage::extract(hostile, "text/html", url);
        QVERIFY(r);
        QCOMPARE(summary(*r), summary(*plain));
    }

    void durations_data()
    {
        QTest::addColumn<QString>("iso");
        QTest::addColumn<QString>("swedish");
        QTest::addColumn<bool>("understood");
        QTest::newRow("hours and minutes") << u"PT1H15M"_s << u"1 tim 15 min"_s << true;
        QTest::newRow("minutes") << u"PT45M"_s << u"45 min"_s << true;
        QTest::newRow("a day and hours") << u"P1DT2H"_s << u"1 dag 2 tim"_s << true;
        QTest::newRow("days and weeks") << u"P1W2D"_s << u"9 dagar"_s << true;
        QTest::newRow("overflowing minutes") << u"PT90M"_s << u"1 tim 30 min"_s << true;
        QTest::newRow("zero years and months, fractions") << u"P0Y0M0DT0H30M0.000S"_s << u"30 min"_s << true;
        QTest::newRow("decimal comma, lower case, spaces") << u" pt1,5h "_s << u"1 tim 30 min"_s << true;
        QTest::newRow("seconds") << u"PT30S"_s << u"30 sek"_s << true;
        QTest::newRow("zero") << u"PT0M"_s << QString() << true;
        QTest::newRow("words") << u"45 minuter"_s << QString() << false;
        QTest::newRow("empty") << QString() << QString() << false;
        QTest::newRow("no part after T") << u"PT"_s << QString() << false;
        QTest::newRow("a month has no fixed length") << u"P1M"_s << QString() << false;
        QTest::newRow("hours before the T") << u"P1H"_s << QString() << false;
        QTest::newRow("out of order") << u"PT5M1H"_s << QString() << false;
        QTest::newRow("a part twice") << u"PT1H2H"_s << QString() << false;
        QTest::newRow("number without a unit") << u"PT15"_s << QString() << false;
        QTest::newRow("negative") << u"-PT5M"_s << QString() << false;
        QTest::newRow("two decimal points") << u"PT1.2.5H"_s << QString() << false;
        QTest::newRow("longer than ten years") << u"P9999DT1H"_s << QString() << false;
    }
    void durations()
    {
        QFETCH(QString, iso);
        QFETCH(QString, swedish);
        QFETCH(bool, understood);
        const auto s = IsoDuration::seconds(iso);
        QCOMPARE(s.has_value(), understood);
        QCOMPARE(IsoDuration::swedish(s.value_or(0)), swedish);
        if (s)
            QCOMPARE(IsoDuration::seconds(IsoDuration::iso(*s)), s);
    }
};

QTEST_GUILESS_MAIN(TestWebRecipe)
#include "tst_webrecipe.moc"
