// A cookbook written out and read into an empty one gives the same recipes,
// and a file is stored whole or not at all, its recipes in the categories
// the user chose.
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/ImportBatch.h"
#include "core/catalogue/Pictures.h"
#include "core/db/Cookbook.h"
#include "core/formats/RecipeFiles.h"
#include "core/formats/RecipeTransfer.h"
#include "support/TestSupport.h"

#include <QCryptographicHash>
#include <QDir>
#include <QRandomGenerator>
#include <QtTest>

using namespace Qt::StringLiterals;

namespace {

// Recipes stored straight into the cookbook: every kind of line end, text
// beyond Windows-1252, empty and NULL fields, pictures of the three types.
void generate(Database& db, const QString& pictures, int count)
{
    static const QStringList pieces { u"smör"_s, u"ÅÄÖ"_s, u" "_s, u"\r\n"_s, u"\n"_s, u"\r"_s, u"&#38;"_s,
        u"<titel>"_s, u"&"_s, u"😀"_s, u"日本"_s, u"€"_s, u"\t"_s, u"1/2 dl"_s, u"é"_s };
    QRandomGenerator g(7);
    auto text = [&](int n) {
        QString t;
        for (int k = g.bounded(n + 1); k > 0; --k)
            t += pieces.at(g.bounded(pieces.size()));
        return t;
    };
    QVector<qint32> kids;
    for (const QString& name : { u"Kakor"_s, u"Soppor & grytor"_s, u"Åländskt"_s })
        kids.append(*Catalogue::addCategory(db, name));
    ImportBatch batch(db);
    QVERIFY(batch.begin());
    static const char* const heads[] = { "\xFF\xD8\xFF", "GIF87a", "BM" };
    static const char* const types[] = { "jpg", "gif", "bmp" };
    for (int i = 0; i < count; ++i) {
        const auto rid = batch.add(kids.at(g.bounded(kids.size())),
            { u"R%1 "_s.arg(i) + text(3), text(2), text(2), text(30), text(60) });
        QVERIFY(rid);
        if (const int kind = g.bounded(5); kind < 3)
            put(QDir(pictures).filePath(u"%1.%2"_s.arg(*rid).arg(QLatin1String(types[kind]))),
                picture(heads[kind], 50 + g.bounded(3000), quint32(i)));
    }
    QVERIFY(batch.commit());
}

// Each recipe in number order: its texts as stored, its category's name and
// its picture's type and hash.
QStringList dump(Database& db, const QString& pictures, bool withPictures)
{
    QStringList out;
    const auto rids = Catalogue::recipeNumbers(db, std::nullopt);
    for (qint32 rid : *rids) {
        const Catalogue::Recipe r = **Catalogue::storedRecipe(db, rid);
        QString pic;
        if (const QString file = Pictures::ReceptBildFil(pictures, rid); withPictures && !file.isEmpty())
            pic = QFileInfo(file).suffix() + u' '
                + QString::fromLatin1(
                    QCryptographicHash::hash(fileBytes(file), QCryptographicHash::Sha1).toHex());
        out << QStringList { r.titel, r.antalPersoner, r.tid, r.ingredienser, r.anvisningar, r.kategoriNamn,
            pic }
                   .join(u"\n--\n"_s);
    }
    return out;
}

} // namespace

class TestRecipeTransfer : public QObject {
    Q_OBJECT

    std::unique_ptr<TempProgram> m_program;
    Database m_db;

    QString bilder() const { return m_program->path(u"bilder"_s); }

    void openEmpty(const char* sql = "")
    {
        m_db.close();
        m_program = std::make_unique<TempProgram>();
        QVERIFY(m_program->makeCookbook(QString::fromUtf8(sql)));
        QVERIFY(QDir(m_program->folder()).mkpath(u"bilder"_s));
        QVERIFY(m_db.open(m_program->dbPath(), Cookbook::DatabaseKey));
    }

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<bool>("delivered");
        QTest::addColumn<QString>("suffix");
        for (const QString& suffix : { u"zip"_s, u"rcp"_s }) {
            QTest::newRow(qPrintable(u"delivered cookbook, "_s + suffix)) << true << suffix;
            QTest::newRow(qPrintable(u"generated thousand, "_s + suffix)) << false << suffix;
        }
    }
    void roundTrip()
    {
        QFETCH(bool, delivered);
        QFETCH(QString, suffix);
        TempProgram source;
        Database db;
        QVERIFY(QDir(source.folder()).mkpath(u"bilder"_s));
        const QString sourcePictures = source.path(u"bilder"_s);
        if (delivered) {
            QVERIFY(source.installDelivered());
            QVERIFY(db.openPlain(source.dbPath()));
        } else {
            QVERIFY(source.makeCookbook({}, false));
            QVERIFY(db.openPlain(source.dbPath()));
            generate(db, sourcePictures, 1000);
        }
        const RecipeTransfer::Selection all = RecipeTransfer::select(db, {});
        QCOMPARE(all.error, QString());
        const QString file = source.path(u"ut."_s + suffix);
        const RecipeTransfer::ExportResult out
            = RecipeTransfer::exportRecipes(db, sourcePictures, all.rids, file);
        QCOMPARE(out.error, QString());
        QCOMPARE(out.count, all.rids.size());

        openEmpty();
        const RecipeTransfer::ImportResult in = RecipeTransfer::importFile(m_db, bilder(), file, {});
        QCOMPARE(in.error, QString());
        QCOMPARE(in.added.size(), all.rids.size());
        // The own recipe file carries no pictures.
        const bool pictures = suffix == u"zip"_s;
        QCOMPARE(dump(m_db, bilder(), pictures), dump(db, sourcePictures, pictures));
    }

    void categories_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("created");
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("unmatched"); // recipes whose category the cookbook lacks
        // The cookbook has "Kakor" and "Soppor".
        QTest::newRow("own categories by name, letter case aside; a missing one created once")
            << QString()
            << QStringList { u"A|Kakor"_s, u"B|Kakor"_s, u"C|Importerade recept"_s, u"b kopia|bröd"_s,
                   u"D|bröd"_s }
            << 2 << u"in.json"_s << 3;
        QTest::newRow("one named category for all, found letter case aside")
            << u"soppor"_s
            << QStringList { u"A|Soppor"_s, u"B|Soppor"_s, u"C|Soppor"_s, u"b kopia|Soppor"_s, u"D|Soppor"_s }
            << 0 << u"in.json"_s << 3;
        QTest::newRow("one named category for all, created")
            << u"Nytt"_s
            << QStringList { u"A|Nytt"_s, u"B|Nytt"_s, u"C|Nytt"_s, u"b kopia|Nytt"_s, u"D|Nytt"_s } << 1
            << u"in.json"_s << 3;
        QTest::newRow("a recipe file by number: a known number counts, a name wins over it")
            << QString()
            << QStringList { u"E|Soppor"_s, u"F|Importerade recept"_s, u"G|Kakor"_s,
                   u"H|Importerade recept"_s }
            << 1 << u"in.rcp"_s << 2;
    }
    void categories()
    {
        QFETCH(QString, category);
        QFETCH(QStringList, expected);
        QFETCH(int, created);
        openEmpty("INSERT INTO tblKategorier (KID, Kategori) VALUES (1, 'Kakor'), (2, 'Soppor');");
        QFETCH(QString, file);
        put(m_program->path(u"in.json"_s),
            R"([{"@type":"Recipe","name":"A","recipeCategory":"KAKOR"},
                {"@type":"Recipe","name":"B","recipeCategory":["Bröd","Kakor"]},
                {"@type":"Recipe","name":"C"},
                {"@type":"Recipe","name":"b","recipeCategory":"bröd"},
                {"@type":"Recipe","name":"D","recipeCategory":"BRÖD"}])");
        QByteArray rcp;
        for (const char* b : { "E</titel><kategori>2</kategori>", "F</titel><kategori>9</kategori>",
                 "G</titel><kategori>2</kategori><kategorinamn>kakor</kategorinamn>",
                 "H</titel><kategori>0</kategori>" })
            rcp += "<titel>"_ba + b + "<portioner></portioner><tid></tid><ingredienser></ingredienser>"
                + "<anvisningar></anvisningar>\r\n";
        put(m_program->path(u"in.rcp"_s), rcp);
        file = m_program->path(file);
        QTEST(RecipeTransfer::unmatched(m_db, RecipeFiles::read(file))->recipes, "unmatched");
        const auto in = RecipeTransfer::importFile(m_db, bilder(), file, { category, std::nullopt });
        QCOMPARE(in.error, QString());
        QStringList got;
        for (qint32 rid : in.added) {
            const auto r = **Catalogue::loadRecipe(m_db, rid);
            got << r.titel + u'|' + r.kategoriNamn;
        }
        QCOMPARE(got, expected);
        QCOMPARE(
            in.titles, QStringList(expected).replaceInStrings(QRegularExpression(u"\\|.*"_s), QString()));
        QCOMPARE(m_db.scalar("SELECT count(*) FROM tblKategorier;")->toInt(), 2 + created);
    }

    // A file that cannot be stored whole leaves nothing: no recipe, no
    // category, no picture file.
    void faultStoresNothing()
    {
        openEmpty();
        const QString folder = m_program->path(u"recept"_s);
        QVERIFY(QDir().mkpath(folder));
        put(folder + u"/a.json"_s,
            R"({"@type":"Recipe","name":"Med bild","recipeCategory":"Ny","image":"a.gif"})");
        put(folder + u"/a.gif"_s, "GIF89a-bild");
        put(folder + u"/b.json"_s, R"({"@type":"Recipe","name":"Andra","image":"b.jpg"})");
        put(folder + u"/b.jpg"_s, "\xFF\xD8\xFF-bild");
        // The second picture cannot be written: a folder stands in its way.
        QVERIFY(QDir().mkpath(bilder() + u"/2.jpg"_s));
        const auto in = RecipeTransfer::importFile(m_db, bilder(), folder, {});
        QVERIFY2(in.error.contains(u"\"Andra\""_s), qPrintable(in.error));
        QVERIFY(in.added.isEmpty());
        QCOMPARE(m_db.scalar("SELECT count(*) FROM tblRecept;")->toInt(), 0);
        QCOMPARE(m_db.scalar("SELECT count(*) FROM tblKategorier;")->toInt(), 0);
        QVERIFY(!QFile::exists(bilder() + u"/1.gif"_s));
    }
};

QTEST_GUILESS_MAIN(TestRecipeTransfer)
#include "tst_recipetransfer.moc"
