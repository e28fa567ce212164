// Other programs' recipe files read in: MealMaster text, Paprika archives,
// schema.org JSON-LD files, pages, folders and zip files, each from files
// these tests write from the formats' public descriptions.
#include "core/formats/FileSet.h"
#include "core/formats/FileText.h"
#include "core/formats/RecipeFiles.h"
#include "support/ZipMaker.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using Files = QMap<QString, QByteArray>;

namespace {

const QByteArray Jpeg = "\xFF\xD8\xFF\xE0 a picture";
const QByteArray Png = "\x89PNG\r\n\x1A\n a picture";

// "title|categories|portions|time|ingredients|instructions|picture" per
// recipe, lines joined by "¶", or the error.
QString summary(const ReadResult& r)
{
    if (!r.ok())
        return r.error;
    QStringList out;
    for (const PortableRecipe& p : r.recipes) {
        const QString picture
            = p.picture.isEmpty() ? QString() : u"%1 %2"_s.arg(p.pictureType).arg(p.picture.size());
        out << QStringList { p.title, p.categories.join(u','), p.portions, p.time, p.ingredients,
            p.instructions, picture }
                   .join(u'|')
                   .replace(u"\r\n"_s, u"¶"_s);
    }
    return out.join(u'\n');
}

// A line with an ingredient in each column: the right one starts at 42.
QByteArray two(const QByteArray& left, const QByteArray& right)
{
    return left.leftJustified(41, ' ') + right;
}

QByteArray inCp437(const QString& text)
{
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    const QString table = FileText::fromCp437(all);
    QByteArray out;
    for (QChar c : text)
        out += char(table.indexOf(c));
    return out;
}

const QByteArray Meatballs = "From: someone\r\n"
                             "MMMMM----- Recipe via Meal-Master (tm) v8.05\r\n"
                             " \r\n"
                             "      Title: Swedish Meatballs\r\n"
                             " Categories: Main dish, Swedish\r\n"
                             "      Yield: 4 servings\r\n"
                             " \r\n"
                             "      1 lb Ground beef\r\n"
                             "    1/2 c  Bread crumbs\r\n"
                             "           Salt and pepper\r\n"
                             "           -to taste\r\n"
                             "MMMMM--------------------------SAUCE--------------------------\r\n"
                             "      2 tb Butter\r\n"
                             " \r\n"
                             "  Mix and shape into balls.\r\n"
                             "  Fry in butter.\r\n"
                             " \r\n"
                             " \r\n"
                             "  Serve hot.\r\n"
                             " \r\n"
                             "MMMMM\r\n"
                             "Chatter after the recipe\r\n";

QByteArray dashRecipe(
    const QByteArray& title, const QByteArray& ingredients, const QByteArray& end = "-----\n")
{
    return "---------- Recipe via Meal-Master (tm) v8.02\n      Title: " + title
        + "\n Categories: Desserts\n   Servings:  8\n\n" + ingredients + "\n  Bake.\n" + end;
}

QByteArray mmRecipe(const QByteArray& title, const QByteArray& directions)
{
    return "MMMMM----- Recipe via Meal-Master (tm) v8.05\n      Title: " + title + "\n\n      1    Egg\n\n  "
        + directions + "\nMMMMM\n";
}

QByteArray paprikaEntry(const QJsonObject& o)
{
    return gzip(QJsonDocument(o).toJson());
}

QByteArray schemaJson(const QJsonValue& v)
{
    return v.isArray() ? QJsonDocument(v.toArray()).toJson() : QJsonDocument(v.toObject()).toJson();
}

QJsonObject schemaRecipe(const QString& name, const QString& image = {})
{
    QJsonObject o { { u"@type"_s, u"Recipe"_s }, { u"name"_s, name }, { u"recipeYield"_s, u"4"_s },
        { u"recipeIngredient"_s, QJsonArray { u"1 dl mjölk"_s } }, { u"totalTime"_s, u"PT45M"_s },
        { u"recipeInstructions"_s, u"Koka."_s } };
    if (!image.isEmpty())
        o.insert(u"image"_s, image);
    return o;
}

bool writeFiles(const QString& dir, const Files& files)
{
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString path = dir + u'/' + it.key();
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(it.value()) != it.value().size())
            return false;
    }
    return true;
}

// Sets the sizes the zip's headers claim for every entry to `size`.
QByteArray lyingSizes(QByteArray zip, quint32 size)
{
    const char le[4] = { char(size), char(size >> 8), char(size >> 16), char(size >> 24) };
    for (const auto& [signature, offset] : { std::pair { "PK\x03\x04", 22 }, std::pair { "PK\x01\x02", 24 } })
        for (qsizetype at = zip.indexOf(signature); at >= 0; at = zip.indexOf(signature, at + 4))
            zip.replace(at + offset, 4, le, 4);
    return zip;
}

} // namespace

class TestFormatReaders : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    ReadResult readFiles(const Files& files, const QString& path, const ReadOptions& options = {})
    {
        QTemporaryDir dir(m_dir.filePath(u"caseXXXXXX"_s));
        if (!writeFiles(dir.path(), files))
            return { {}, u"test files not written"_s };
        dir.setAutoRemove(true);
        return RecipeFiles::read(dir.filePath(path), options);
    }

private slots:
    void mealMaster_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("maxRecipes");
        QTest::addColumn<int>("maxChars");
        QTest::addColumn<QString>("expected");

        QTest::newRow("MMMMM frame: text around, continuation, heading, paragraphs")
            << Meatballs << 100 << 1000
            << u"Swedish Meatballs|Main dish,Swedish|4 servings||1 lb Ground beef¶1/2 c Bread crumbs¶"
               "Salt and pepper to taste¶SAUCE¶2 tb Butter|Mix and shape into balls.¶Fry in butter.¶¶Serve hot.|"_s;
        QTest::newRow("dash frame, two recipes, two columns read down the left one first")
            << dashRecipe("Apple Pie",
                   two("      2 c  Flour", "      1 ts Salt\n")
                       + two("    2/3 c  Shortening", "      5 tb Cold water\n") + "      6    Apples\n")
                + "between\n" + dashRecipe("Tea", "      1    Tea bag\n")
            << 100 << 1000
            << u"Apple Pie|Desserts|8||2 c Flour¶2/3 c Shortening¶6 Apples¶1 ts Salt¶5 tb Cold water|Bake.|\n"
               "Tea|Desserts|8||1 Tea bag|Bake.|"_s;
        QTest::newRow("five dashes are text in an MMMMM recipe; a heading above directions") << QByteArray(
            "MMMMM----- Recipe via Meal-Master (tm) v8.05\n      Title: Notes\n\n  First "
            "part.\n  -----\n"
            "MMMMM---------------------------LATER---------------------------\n  Second "
            "part.\nMMMMM\n") << 100 << 1000 << u"Notes|||||First part.¶-----¶LATER¶Second part.|"_s;
        QTest::newRow("each recipe decoded by itself")
            << mmRecipe(inCp437(u"Ärtsoppa med fläsk"_s), "Koka.")
                + mmRecipe(QString(u"Smörgåstårta"_s).toLatin1(), "Bred.")
                + mmRecipe(u"Crème brûlée"_s.toUtf8(), "Bränn.")
                + mmRecipe("Pie",
                    "Bake at 350\xF8"
                    "F.")
            << 100 << 1000
            << u"Ärtsoppa med fläsk||||1 Egg|Koka.|\nSmörgåstårta||||1 Egg|Bred.|\nCrème brûlée||||1 "
               u"Egg|Bränn.|\n"
               "Pie||||1 Egg|Bake at 350°F.|"_s;
        QTest::newRow("a missing end line names the recipe; nothing is read")
            << Meatballs + dashRecipe("Tea", "      1    Tea bag\n", "") << 100 << 1000
            << u"Filen \"test.mmf\" kunde inte läsas in: recept 2 (\"Tea\"): slutraden saknas."_s;
        QTest::newRow("a header inside a recipe")
            << mmRecipe("One", "x").replace("MMMMM\n", "") + mmRecipe("Two", "y") << 100 << 1000
            << u"Filen \"test.mmf\" kunde inte läsas in: recept 1 (\"One\"): slutraden saknas."_s;
        QTest::newRow("no title")
            << mmRecipe("   ", "x") << 100 << 1000
            << u"Filen \"test.mmf\" kunde inte läsas in: recept 1: receptet har ingen titel."_s;
        QTest::newRow("no recipe") << QByteArray("Just a letter.\n") << 100 << 1000
                                   << u"Filen \"test.mmf\" kunde inte läsas in: inget recept hittades."_s;
        QTest::newRow("more recipes than the bound")
            << mmRecipe("One", "x") + mmRecipe("Two", "y") << 1 << 1000
            << u"Filen \"test.mmf\" kunde inte läsas in: filen har fler än 1 recept."_s;
        QTest::newRow("a text longer than the bound")
            << Meatballs << 100 << 10
            << u"Filen \"test.mmf\" kunde inte läsas in: recept 1 (\"Swedish Meatballs\"): titeln är längre än 10 tecken."_s;
    }
    void mealMaster()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, maxRecipes);
        QFETCH(int, maxChars);
        QFETCH(QString, expected);
        ReadOptions o;
        o.limits.recipes = maxRecipes;
        o.limits.textChars = maxChars;
        QCOMPARE(summary(readFiles({ { u"test.mmf"_s, file } }, u"test.mmf"_s, o)), expected);
    }

    void dosText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("Swedish in code page 437") << QByteArray("\x8Ertsoppa med fl\x84sk och sm\x94r, p\x86")
                                                  << u"Ärtsoppa med fläsk och smör, på"_s;
        QTest::newRow("Swedish in Windows-1252") << QByteArray("\xC4rtsoppa med fl\xE4sk och sm\xF6r, p\xE5")
                                                 << u"Ärtsoppa med fläsk och smör, på"_s;
        QTest::newRow("German in code page 437") << QByteArray("Gr\x81\xE1"
                                                               "e")
                                                 << u"Grüße"_s;
        QTest::newRow("a degree sign in code page 437") << QByteArray("350\xF8"
                                                                      "F")
                                                        << u"350°F"_s;
        QTest::newRow("a degree sign in Windows-1252") << QByteArray("200\xB0"
                                                                     "C")
                                                       << u"200°C"_s;
        QTest::newRow("a fraction in code page 437") << QByteArray("1\xAB dl") << u"1½ dl"_s;
        QTest::newRow("Norwegian in Windows-1252") << QByteArray("sm\xF8r") << u"smør"_s;
        QTest::newRow("valid UTF-8 is UTF-8") << QByteArray("fl\xC3\xA4sk") << u"fläsk"_s;
        QTest::newRow("a tie goes to Windows-1252") << QByteArray("x \x8E y") << u"x Ž y"_s;
    }
    void dosText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(FileText::decodeDos(bytes), text);
    }

    void cp437Table()
    {
        QStringDecoder icu("IBM437");
        if (!icu.isValid())
            QSKIP("no code page 437 converter to compare with");
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = char(i);
        QString expected = QString(icu.decode(all)).mid(128);
        // 0xE6 is the micro sign in the code page's published table, which
        // Windows-1252 holds too; ICU has the Greek letter.
        expected[0xE6 - 128] = QChar(0x00B5);
        QCOMPARE(FileText::fromCp437(all).mid(128), expected);
    }

    void paprika_data()
    {
        QTest::addColumn<QByteArray>("zip");
        QTest::addColumn<QString>("expected");
        const QJsonObject full { { u"name"_s, u"Kladdkaka"_s }, { u"servings"_s, u"8"_s },
            { u"prep_time"_s, u"10 min"_s }, { u"cook_time"_s, u"20 min"_s },
            { u"categories"_s, QJsonArray { u"Kakor"_s, u" Fika "_s } },
            { u"ingredients"_s, u"200 g smör\n2 ägg\n"_s },
            { u"directions"_s, u"Smält smöret.\nRör ner äggen."_s }, { u"notes"_s, u"Godast ljummen."_s },
            { u"photo_data"_s, QString::fromLatin1(Jpeg.toBase64()) } };
        const QJsonObject plain { { u"name"_s, u"Te"_s }, { u"total_time"_s, u"5 min"_s },
            { u"photo_data"_s, u"not base64 !"_s } };
        QTest::newRow("two recipes: picture, notes after directions, prep and cook")
            << makeZip({ { u"Kladdkaka.paprikarecipe"_s, paprikaEntry(full) },
                   { u"Te.paprikarecipe"_s, paprikaEntry(plain) } })
            << u"Kladdkaka|Kakor,Fika|8|10 min + 20 min|200 g smör¶2 ägg|Smält smöret.¶Rör ner äggen.¶¶"
               "Godast ljummen.|jpg 14\nTe|||5 min|||"_s;
        QTest::newRow("an entry of plain JSON is read too")
            << makeZip({ { u"Te.paprikarecipe"_s, QJsonDocument(plain).toJson() } }) << u"Te|||5 min|||"_s;
        QTest::newRow("a cut-off gzip entry names the entry")
            << makeZip({ { u"Te.paprikarecipe"_s, paprikaEntry(plain).left(20) } })
            << u"Filen \"test.paprikarecipes\" kunde inte läsas in: \"Te.paprikarecipe\", recept 1: "
               "gzip-data är skadade eller avklippta."_s;
        QTest::newRow("an entry that unpacks past its bound")
            << makeZip({ { u"Te.paprikarecipe"_s, gzip(QByteArray(3 << 20, ' ')) } })
            << u"Filen \"test.paprikarecipes\" kunde inte läsas in: \"Te.paprikarecipe\", recept 1: "
               "gzip-data blir större än 2 MB uppackade."_s;
        QTest::newRow("a recipe without a name")
            << makeZip({ { u"a.paprikarecipe"_s, paprikaEntry(full) },
                   { u"b.paprikarecipe"_s, paprikaEntry({}) } })
            << u"Filen \"test.paprikarecipes\" kunde inte läsas in: \"b.paprikarecipe\", recept 2: "
               "receptet har inget namn."_s;
    }
    void paprika()
    {
        QFETCH(QByteArray, zip);
        QFETCH(QString, expected);
        QVERIFY(!zip.isEmpty());
        ReadOptions o;
        o.limits.entryBytes = 2 << 20;
        QCOMPARE(
            summary(readFiles({ { u"test.paprikarecipes"_s, zip } }, u"test.paprikarecipes"_s, o)), expected);
    }

    void schema_data()
    {
        QTest::addColumn<Files>("files");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one recipe, its picture beside it by relative name")
            << Files { { u"x.json"_s, schemaJson(schemaRecipe(u"Soppa"_s, u"bild%20ett.jpg"_s)) },
                   { u"bild ett.jpg"_s, Jpeg } }
            << u"x.json"_s << u"Soppa||4|45 min|1 dl mjölk|1. Koka.|jpg 14"_s;
        QTest::newRow("a list, and an @graph")
            << Files { { u"list.json"_s,
                   schemaJson(QJsonArray { schemaRecipe(u"A"_s),
                       QJsonObject { { u"@graph"_s,
                           QJsonArray {
                               QJsonObject { { u"@type"_s, u"WebPage"_s } }, schemaRecipe(u"B"_s) } } } }) } }
            << u"list.json"_s << u"A||4|45 min|1 dl mjölk|1. Koka.|\nB||4|45 min|1 dl mjölk|1. Koka.|"_s;
        QTest::newRow("a folder: subfolders, pictures beside each, other files passed over") << Files {
            { u"a/recipe.json"_s, schemaJson(schemaRecipe(u"A"_s, u"full.png"_s)) }, { u"a/full.png"_s, Png },
            { u"b/recipe.json"_s, schemaJson(schemaRecipe(u"B"_s)) }, { u"notes.txt"_s, "x" }
        } << QString() << u"A||4|45 min|1 dl mjölk|1. Koka.|png 18\nB||4|45 min|1 dl mjölk|1. Koka.|"_s;
        QTest::newRow("a picture outside the folder is not read")
            << Files { { u"in/x.json"_s, schemaJson(schemaRecipe(u"A"_s, u"../../secret.jpg"_s)) },
                   { u"secret.jpg"_s, Jpeg } }
            << u"in/x.json"_s << u"A||4|45 min|1 dl mjölk|1. Koka.|"_s;
        QTest::newRow("a saved page in Windows-1252 that names no character set") << Files { { u"page.html"_s,
            "<html><script type=\"application/ld+json\">{\"@type\":\"Recipe\",\"name\":\"K\xE5ldolmar\"}"
            "</script></html>" } } << u"page.html"_s << u"Kåldolmar||||||"_s;
        QTest::newRow("a zip of JSON-LD with pictures") << Files { { u"e.zip"_s,
            makeZip({ { u"r/1.json"_s, schemaJson(schemaRecipe(u"A"_s, u"1.jpg"_s)) },
                { u"r/1.jpg"_s, Jpeg } }) } } << u"e.zip"_s
                                                        << u"A||4|45 min|1 dl mjölk|1. Koka.|jpg 14"_s;
        QTest::newRow("broken JSON names the file")
            << Files { { u"d/a.json"_s, schemaJson(schemaRecipe(u"A"_s)) }, { u"d/b.json"_s, "{\"name\": " } }
            << u"d"_s << u"Filen \"d\" kunde inte läsas in: \"b.json\" är ingen giltig JSON."_s;
        QTest::newRow("a recipe without a name names it") << Files {
            { u"x.json"_s, schemaJson(QJsonArray { schemaRecipe(u"A"_s), schemaRecipe(u" "_s) }) }
        } << u"x.json"_s << u"Filen \"x.json\" kunde inte läsas in: recept 2: receptet har inget namn."_s;
        QTest::newRow("no recipe") << Files { { u"x.json"_s, "{\"@type\": \"WebPage\"}" } } << u"x.json"_s
                                   << u"Filen \"x.json\" kunde inte läsas in: inget recept hittades."_s;
    }
    void schema()
    {
        QFETCH(Files, files);
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QCOMPARE(summary(readFiles(files, path)), expected);
    }

    void folderLinksAreNotFollowed()
    {
        QTemporaryDir outside;
        QVERIFY(writeFiles(outside.path(),
            { { u"secret.jpg"_s, Jpeg }, { u"other.json"_s, schemaJson(schemaRecipe(u"B"_s)) } }));
        QTemporaryDir dir;
        QVERIFY(writeFiles(dir.path(), { { u"x.json"_s, schemaJson(schemaRecipe(u"A"_s, u"bild.jpg"_s)) } }));
        QVERIFY(QFile::link(outside.filePath(u"secret.jpg"_s), dir.filePath(u"bild.jpg"_s)));
        QVERIFY(QFile::link(outside.filePath(u"other.json"_s), dir.filePath(u"other.json"_s)));
        QVERIFY(QFile::link(outside.path(), dir.filePath(u"sub"_s)));
        QCOMPARE(summary(RecipeFiles::read(dir.path())), u"A||4|45 min|1 dl mjölk|1. Koka.|"_s);
    }

    void zipRules_data()
    {
        QTest::addColumn<QByteArray>("zip");
        QTest::addColumn<QString>("error");
        const QByteArray ok = schemaJson(schemaRecipe(u"A"_s));
        const QByteArray spaces(3 << 20, ' ');
        QTest::newRow("a name climbing out")
            << makeZip({ { u"../evil.json"_s, ok } }) << u"delen \"../evil.json\" pekar utanför arkivet."_s;
        QTest::newRow("an absolute name") << makeZip({ { u"/etc/evil.json"_s, ok } })
                                          << u"delen \"/etc/evil.json\" pekar utanför arkivet."_s;
        QTest::newRow("a drive name")
            << makeZip({ { u"C:\\evil.json"_s, ok } }) << u"delen \"C:\\evil.json\" pekar utanför arkivet."_s;
        QTest::newRow("a link") << makeZip({ { u"link.json"_s, "/etc/passwd", 0120777u << 16 } })
                                << u"delen \"link.json\" är en länk."_s;
        QTest::newRow("an entry unpacking past its bound") << makeZip(
            { { u"bomb.json"_s, spaces } }) << u"delen \"bomb.json\" blir större än 1 MB uppackad."_s;
        QTest::newRow("an entry whose sizes lie") << lyingSizes(makeZip({ { u"bomb.json"_s, spaces } }), 100)
                                                  << u"delen \"bomb.json\" är skadad."_s;
        QTest::newRow("entries unpacking past the whole bound")
            << makeZip({ { u"a.json"_s, spaces.left(700000) }, { u"b.json"_s, spaces.left(700000) } })
            << u"innehållet blir större än 1 MB uppackat."_s;
        QTest::newRow("more entries than the bound")
            << makeZip({ { u"1.json"_s, ok }, { u"2.json"_s, ok }, { u"3.json"_s, ok }, { u"4.json"_s, ok } })
            << u"arkivet har fler än 3 delar."_s;
        QTest::newRow("no zip at all") << QByteArray("PK\x03\x04 but nothing more")
                                       << u"filen är ingen zip-fil, eller så är den skadad."_s;
    }
    void names_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("reference");
        QTest::addColumn<QString>("file"); // "-" for none
        QTest::newRow("beside") << u"r/1.json"_s << u"1.jpg"_s << u"r/1.jpg"_s;
        QTest::newRow("percent-encoded") << u"1.json"_s << u"bild%20ett.jpg"_s << u"bild ett.jpg"_s;
        QTest::newRow("a space as it stands") << u"1.json"_s << u"bild ett.jpg"_s << u"bild ett.jpg"_s;
        QTest::newRow("up within the top")
            << u"a/b/1.json"_s << u"../bilder/./1.jpg"_s << u"a/bilder/1.jpg"_s;
        QTest::newRow("backslashes") << u"a/1.json"_s << u"bilder\\1.jpg"_s << u"a/bilder/1.jpg"_s;
        QTest::newRow("up past the top") << u"a/1.json"_s << u"../../1.jpg"_s << u"-"_s;
        QTest::newRow("absolute") << u"1.json"_s << u"/etc/passwd"_s << u"-"_s;
        QTest::newRow("a drive") << u"1.json"_s << u"C:/bild.jpg"_s << u"-"_s;
        QTest::newRow("a web address") << u"1.json"_s << u"https://mat.example/1.jpg"_s << u"-"_s;
        QTest::newRow("a file address") << u"1.json"_s << u"file:///etc/passwd"_s << u"-"_s;
        QTest::newRow("another host") << u"1.json"_s << u"//host/1.jpg"_s << u"-"_s;
        QTest::newRow("a control character") << u"1.json"_s << u"a%0Ab.jpg"_s << u"-"_s;
        QTest::newRow("nothing") << u"1.json"_s << u" "_s << u"-"_s;
    }
    void names()
    {
        QFETCH(QString, from);
        QFETCH(QString, reference);
        QFETCH(QString, file);
        QCOMPARE(FileSets::resolve(from, reference).value_or(u"-"_s), file);
    }

    void zipRules()
    {
        QFETCH(QByteArray, zip);
        QFETCH(QString, error);
        ReadOptions o;
        o.limits.entryBytes = 1 << 20;
        o.limits.totalBytes = 1 << 20;
        o.limits.entries = 3;
        const ReadResult r = readFiles({ { u"x.zip"_s, zip } }, u"x.zip"_s, o);
        QCOMPARE(r.error, u"Filen \"x.zip\" kunde inte läsas in: "_s + error);
        QVERIFY(r.recipes.isEmpty());
    }

    void formatOf_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("format");
        using F = RecipeFiles::Format;
        QTest::newRow(".txt holding MealMaster") << u"a.txt"_s << mmRecipe("A", "x") << int(F::MealMaster);
        QTest::newRow(".txt holding the program's tags")
            << u"tmpRecept.txt"_s << QByteArray("<titel>A</titel>") << int(F::Tagged);
        QTest::newRow(".zip by its first bytes") << u"a.zip"_s << makeZip({}) << int(F::SchemaZip);
        QTest::newRow(".paprikarecipes") << u"a.paprikarecipes"_s << makeZip({}) << int(F::Paprika);
        QTest::newRow(".paprikarecipes that is no zip")
            << u"a.paprikarecipes"_s << QByteArray("{}") << int(F::Unknown);
        QTest::newRow("JSON by its first byte")
            << u"recept"_s << QByteArray(" {\"name\":1}") << int(F::SchemaFile);
        QTest::newRow("anything else") << u"a.doc"_s << QByteArray("\xD0\xCF\x11\xE0") << int(F::Unknown);
    }
    void formatOf()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, format);
        QVERIFY(writeFiles(m_dir.path(), { { name, bytes } }));
        QCOMPARE(int(RecipeFiles::formatOf(m_dir.filePath(name))), format);
    }

    void cancelStopsWithNothing()
    {
        ReadOptions o;
        int calls = 0;
        o.progress = [&](qint64, qint64) { return ++calls < 2; };
        QByteArray many;
        for (int i = 0; i < 600; ++i)
            many += mmRecipe("A", "x");
        const ReadResult r = readFiles({ { u"many.mmf"_s, many } }, u"many.mmf"_s, o);
        QCOMPARE(r.error, u"Inläsningen av filen \"many.mmf\" avbröts."_s);
        QVERIFY(r.recipes.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestFormatReaders)
#include "tst_formatreaders.moc"
