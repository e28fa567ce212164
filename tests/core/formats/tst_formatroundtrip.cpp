// Recipes written out and read back: the zip file of JSON-LD and the
// program's own recipe file give every field back byte for byte, pictures
// included, for edge cases, a generated thousand and the delivered cookbook.
#include "core/catalogue/Catalogue.h"
#include "core/exchange/ReceptImport.h"
#include "core/formats/FileSet.h"
#include "core/formats/RecipeFiles.h"
#include "core/formats/SchemaFiles.h"
#include "core/formats/TaggedFiles.h"
#include "core/online/WebRecipe.h"
#include "core/text/TextFile.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

PortableRecipe recipe(const QString& title, const QStringList& categories, const QString& portions,
    const QString& time, const QString& ingredients, const QString& instructions, const QByteArray& pic = {},
    const QString& type = {})
{
    PortableRecipe r;
    r.title = title;
    r.categories = categories;
    r.categoryNumber
        = categories.isEmpty() ? std::nullopt : std::optional<qint32>(qint32(categories.size() + 2));
    r.portions = portions;
    r.time = time;
    r.ingredients = ingredients;
    r.instructions = instructions;
    r.picture = pic;
    r.pictureType = type;
    return r;
}

QList<PortableRecipe> edgeRecipes()
{
    return {
        recipe(u"Kladdkaka"_s, { u"Kakor"_s }, u"8"_s, u"45 min"_s, u"200 g smör\r\n2 ägg"_s,
            u"Smält smöret.\r\nRör ner äggen."_s, picture("\xFF\xD8\xFF", 3000, 1), u"jpg"_s),
        recipe(u"  Gröt  med  mellanslag "_s, {}, u" 4 "_s, u"ca 1 timme"_s,
            u"\r\n\tsalt\r\n\r\n  1 dl havregryn  \r\n"_s, u"1. Koka.\r\n2) Rör.\r\n\r\n\r\nKlart."_s,
            picture("\x89PNG\r\n\x1A\n", 500, 2), u"png"_s),
        recipe(u"Fish & chips <b>fett</b>"_s, { u"<i>Fisk</i>"_s }, u"&#"_s, u"<tid>"_s,
            u"&amp; &#38; &#229; &lt;"_s, u"</anvisningar><titel>Ny</titel> a < b &"_s,
            picture("GIF89a", 64, 3), u"gif"_s),
        recipe(u"Sushi 寿司 🍣"_s, { u"Japanskt – 日本"_s }, u"2"_s, u"1 tim 15 min"_s,
            u"€ „citat“ … \u0080 \u0081"_s, u"emoji 😀 and a lone CR\rhere, LF\nthere"_s,
            picture("BM", 100, 4), u"bmp"_s),
        recipe(u"Bara titel"_s, {}, {}, {}, {}, {}),
        // A title that other readers take for markup alone (found by fuzzing).
        recipe(u"<lök \"Gröt\">"_s, {}, {}, {}, {}, {}),
        recipe(u"Tre kategorier"_s, { u"A"_s, u"B"_s, u"C"_s }, {}, u"2 dagar 30 sek"_s, u"x"_s, u"y"_s),
    };
}

// A generated recipe: Swedish letters, markup-like text, characters beyond
// Windows-1252, every kind of line end; a picture now and then.
PortableRecipe generated(int i, QRandomGenerator& g)
{
    static const QStringList pieces { u"smör"_s, u"ÅÄÖ"_s, u" "_s, u"  "_s, u"\r\n"_s, u"\n"_s, u"&#38;"_s,
        u"<titel>"_s, u"&"_s, u"<"_s, u"😀"_s, u"日本"_s, u"€"_s, u"\t"_s, u"1/2 dl"_s, u"1. "_s, u"é"_s };
    auto text = [&](int n) {
        QString t;
        for (int k = g.bounded(n + 1); k > 0; --k)
            t += pieces.at(g.bounded(pieces.size()));
        return t;
    };
    static const char* const heads[] = { "\xFF\xD8\xFF", "\x89PNG\r\n\x1A\n", "GIF87a", "BM" };
    static const char* const types[] = { "jpg", "png", "gif", "bmp" };
    const int kind = g.bounded(6);
    return recipe(u"R%1 "_s.arg(i) + text(4),
        g.bounded(4) ? QStringList { u"Kat "_s + text(2) } : QStringList(), text(2),
        g.bounded(2) ? u"%1 min"_s.arg(g.bounded(1, 500)) : text(3), text(30), text(60),
        kind < 4 ? picture(heads[kind], 100 + g.bounded(2000), quint32(i)) : QByteArray(),
        kind < 4 ? QString::fromLatin1(types[kind]) : QString());
}

// What comes back from a file of each kind: the own file keeps the category
// number and the first name, no picture; the zip file keeps everything but
// the number.
PortableRecipe expectedBack(PortableRecipe r, const QString& suffix)
{
    if (suffix == u".rcp"_s) {
        r.categoryNumber = r.categoryNumber.value_or(0);
        r.categories = r.categories.mid(0, 1);
        r.picture.clear();
        r.pictureType.clear();
    } else {
        r.categoryNumber.reset();
    }
    return r;
}

QString dump(const PortableRecipe& r)
{
    return QStringList { r.title, r.categories.join(u'|'), QString::number(r.categoryNumber.value_or(-1)),
        r.portions, r.time, r.ingredients, r.instructions, r.pictureType,
        QString::fromLatin1(QCryptographicHash::hash(r.picture, QCryptographicHash::Sha1).toHex()) }
        .join(u"\n--\n"_s);
}

} // namespace

class TestFormatRoundTrip : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    void roundTrip(const QList<PortableRecipe>& recipes, const QString& suffix)
    {
        const QString path = m_dir.filePath(u"export"_s + suffix);
        QCOMPARE(RecipeFiles::write(path, recipes), QString());
        const ReadResult back = RecipeFiles::read(path);
        QCOMPARE(back.error, QString());
        QCOMPARE(back.recipes.size(), recipes.size());
        for (int i = 0; i < recipes.size(); ++i)
            QCOMPARE(dump(back.recipes.at(i)), dump(expectedBack(recipes.at(i), suffix)));
    }

    static void suffixes()
    {
        QTest::addColumn<QString>("suffix");
        QTest::newRow("zip of JSON-LD") << u".zip"_s;
        QTest::newRow("own recipe file") << u".rcp"_s;
    }

private slots:
    void references_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("written");
        QTest::newRow("Windows-1252 as it is")
            << u"Smörgås € „x“ &amp; a < b"_s << u"Smörgås € „x“ &amp; a < b"_s;
        QTest::newRow("beyond Windows-1252") << u"寿司 😀 \u0080"_s << u"&#23551;&#21496; &#128512; &#128;"_s;
        QTest::newRow("a reference written by hand stays text") << u"&#229;"_s << u"&#38;#229;"_s;
        QTest::newRow("what could be read as a tag") << u"</titel><tid>"_s << u"&#60;/titel>&#60;tid>"_s;
        QTest::newRow("a lone surrogate") << QString(QChar(0xD800)) << u"&#65533;"_s;
        QTest::newRow("byte order marks") << u"\uFEFFx\uFFFE"_s << u"&#65279;x&#65534;"_s;
    }
    void references()
    {
        QFETCH(QString, text);
        QFETCH(QString, written);
        QCOMPARE(TaggedFiles::escape(text), written);
        if (!text.front().isSurrogate())
            QCOMPARE(TaggedFiles::unescape(written), text);
    }

    void olderFilesKeepTheirText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("a character Windows-1252 holds") << u"&#229; &#8364; &#0;"_s;
        QTest::newRow("not a reference") << u"&# &#; &#x41; &#12a; &#99999999999;"_s;
        QTest::newRow("past the last code point or a surrogate") << u"&#1114112; &#55296;"_s;
    }
    void olderFilesKeepTheirText()
    {
        QFETCH(QString, text);
        QCOMPARE(TaggedFiles::unescape(text), text);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QList<PortableRecipe>>("recipes");
        // Windows-1252 bytes that happen to be valid UTF-8 ("Ã¥" is C3 A5).
        const QList<PortableRecipe> utf8Like { recipe(u"Ã¥ngad"_s, {}, {}, {}, {}, {}) };
        QTest::newRow("zip of JSON-LD") << u".zip"_s << edgeRecipes();
        QTest::newRow("own recipe file") << u".rcp"_s << edgeRecipes();
        QTest::newRow("own recipe file whose bytes look like UTF-8") << u".rcp"_s << utf8Like;
    }
    void roundTrip()
    {
        QFETCH(QString, suffix);
        QFETCH(QList<PortableRecipe>, recipes);
        roundTrip(recipes, suffix);
    }

    void generatedThousand_data() { suffixes(); }
    void generatedThousand()
    {
        QFETCH(QString, suffix);
        QRandomGenerator g(25);
        QList<PortableRecipe> recipes;
        for (int i = 0; i < 1000; ++i)
            recipes.append(generated(i, g));
        roundTrip(recipes, suffix);
    }

    void deliveredCookbook_data() { suffixes(); }
    void deliveredCookbook()
    {
        QFETCH(QString, suffix);
        Database db;
        QVERIFY(db.openPlain(QStringLiteral(GASTRID_DELIVERED_DB)));
        const auto rows = Catalogue::recipesFor(db, Catalogue::AllRecipesPosition, 0);
        QVERIFY(rows && rows->ids.size() > 10);
        QList<PortableRecipe> recipes;
        for (const qint32 rid : rows->ids) {
            const auto r = Catalogue::loadRecipe(db, rid);
            QVERIFY(r && *r);
            recipes.append(recipe((*r)->titel,
                (*r)->hasCategory ? QStringList { (*r)->kategoriNamn } : QStringList(), (*r)->antalPersoner,
                (*r)->tid, Catalogue::toStored((*r)->ingredienser), Catalogue::toStored((*r)->anvisningar)));
            recipes.last().categoryNumber = (*r)->kategori;
        }
        roundTrip(recipes, suffix);
    }

    void zipEntryNames()
    {
        const QString path = m_dir.filePath(u"names.zip"_s);
        QList<PortableRecipe> recipes = edgeRecipes().mid(0, 4);
        recipes[1].title = u"Fish & chips!"_s;
        QCOMPARE(RecipeFiles::write(path, recipes), QString());
        QFile f(path);
        QString error;
        const auto set = FileSets::openZip(
            &f, {}, [](const QString&) { return true; }, &error);
        QVERIFY(set);
        QCOMPARE(set->names(),
            (QStringList { u"0001-kladdkaka.json"_s, u"0001-kladdkaka.jpg"_s, u"0002-fish-chips.json"_s,
                u"0002-fish-chips.png"_s, u"0003-fish-chips-b-fett-b.json"_s,
                u"0003-fish-chips-b-fett-b.gif"_s, u"0004-sushi.json"_s, u"0004-sushi.bmp"_s }));
    }

    void writeFailures_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("error");
        QTest::newRow("no such folder, zip") << u"saknas/export.zip"_s << u"Filen %1 kunde inte sparas."_s;
        QTest::newRow("no such folder, own file")
            << u"saknas/export.rcp"_s << u"Filen %1 kunde inte sparas."_s;
        QTest::newRow("another kind of file")
            << u"export.txt"_s << u"Recept kan bara sparas som .zip eller .rcp."_s;
    }
    void writeFailures()
    {
        QFETCH(QString, path);
        QFETCH(QString, error);
        const QString full = m_dir.filePath(path);
        QCOMPARE(
            RecipeFiles::write(full, edgeRecipes()), error.replace(u"%1"_s, QDir::toNativeSeparators(full)));
        QVERIFY(!QFile::exists(full));
    }

    // The downloaded-file reader takes the program's own files as they are.
    void ownFileForTheDownloadReader()
    {
        const QByteArray bytes = TaggedFiles::bytes(edgeRecipes());
        QVERIFY(ReceptImport::firstLineHasTitel(bytes));
        const ReceptImport::Parsed parsed = ReceptImport::parse(TextFile::fromWindows1252(bytes));
        QCOMPARE(parsed.error, QString());
        QCOMPARE(parsed.blocks.size(), edgeRecipes().size());
        QCOMPARE(parsed.blocks.at(0).kategori, u"3"_s);
        QCOMPARE(parsed.blocks.at(0).kategorinamn, u"Kakor"_s);
        QCOMPARE(parsed.blocks.at(4).kategorinamn, QString());
    }

    void webImportReadsTheExport()
    {
        const PortableRecipe r = recipe(u"Kladdkaka"_s, { u"Kakor"_s }, u"8"_s, u"1 tim 15 min"_s,
            u"200 g smör\r\n\r\n2 ägg"_s, u"Smält smöret.\r\nRör ner äggen."_s);
        const QByteArray page = "<html><head><script type=\"application/ld+json\">"
            + QJsonDocument(SchemaFiles::toJson(r, u"0001-kladdkaka.jpg"_s)).toJson()
            + "</script></head></html>";
        const auto w = WebRecipePage::extract(page, "text/html", QUrl(u"https://mat.example/export/"_s));
        QVERIFY(w);
        QCOMPARE(w->name, r.title);
        QCOMPARE(w->yield, r.portions);
        QCOMPARE(w->time, r.time);
        QCOMPARE(w->categories, r.categories);
        QCOMPARE(w->ingredients, (QStringList { u"200 g smör"_s, u"2 ägg"_s }));
        QCOMPARE(w->instructions, (QStringList { u"1. Smält smöret."_s, u"2. Rör ner äggen."_s }));
        QCOMPARE(w->image, QUrl(u"https://mat.example/export/0001-kladdkaka.jpg"_s));
    }

    void editedByAnotherProgram_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("instructions");
        QTest::newRow("untouched") << QString() << QJsonValue() << u" Gröt "_s << u"Koka.\r\n\r\nÄt."_s;
        QTest::newRow("renamed") << u"name"_s << QJsonValue(u"Havregröt"_s) << u"Havregröt"_s
                                 << u"1. Koka.\r\n2. Ät."_s;
        QTest::newRow("a step added")
            << u"recipeInstructions"_s << QJsonValue(QJsonArray { u"Koka."_s, u"Ät."_s, u"Diska."_s })
            << u"Gröt"_s << u"1. Koka.\r\n2. Ät.\r\n3. Diska."_s;
        QTest::newRow("exact texts of the wrong kind")
            << u"gastrid"_s << QJsonValue(QJsonObject { { u"titel"_s, 5 } }) << u"Gröt"_s
            << u"1. Koka.\r\n2. Ät."_s;
    }
    void editedByAnotherProgram()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(QString, title);
        QFETCH(QString, instructions);
        QJsonObject o = SchemaFiles::toJson(recipe(u" Gröt "_s, {}, {}, {}, {}, u"Koka.\r\n\r\nÄt."_s), {});
        if (!key.isEmpty())
            o.insert(key, value);
        const auto r = SchemaFiles::fromJson(o);
        QVERIFY(r);
        QCOMPARE(r->title, title);
        QCOMPARE(r->instructions, instructions);
    }
};

QTEST_GUILESS_MAIN(TestFormatRoundTrip)
#include "tst_formatroundtrip.moc"
