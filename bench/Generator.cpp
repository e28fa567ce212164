#include "Generator.h"

#include "core/db/Database.h"

#include <QRandomGenerator>
#include <QStringList>

namespace {

const char* const Schema
    = "CREATE TABLE tblKategorier (KID INTEGER PRIMARY KEY AUTOINCREMENT, Kategori TEXT);"
      "CREATE TABLE tblRecept (RID INTEGER PRIMARY KEY AUTOINCREMENT, Titel TEXT, Kategori INTEGER, "
      "AntalPersoner TEXT, Tid TEXT, Ingredienser TEXT, Anvisningar TEXT);"
      "CREATE TABLE tblIngredienser (IID INTEGER PRIMARY KEY AUTOINCREMENT, Ingrediens TEXT);";

const QStringList Categories = {
    "Soppor",
    "Kött",
    "Fisk och skaldjur",
    "Fågel",
    "Vegetariskt",
    "Pasta och ris",
    "Bröd",
    "Kakor",
    "Tårtor",
    "Desserter",
    "Såser",
    "Sallader",
    "Frukost",
    "Drycker",
    "Inläggningar",
    "Förrätter",
    "Smårätter",
    "Gratänger",
    "Grytor",
    "Pajer",
    "Grillat",
    "Julmat",
    "Påskmat",
    "Midsommar",
    "Barnkalas",
    "Matlådor",
    "Sylt och marmelad",
    "Glass",
    "Smörgåsar",
    "Tillbehör",
};
const QStringList Dishes
    = { "soppa", "gryta", "gratäng", "paj", "sallad", "biffar", "pudding", "kaka", "bullar", "bröd", "sås",
          "wok", "pytt", "lasagne", "risotto", "omelett", "stuvning", "tårta", "kräm", "mos" };
const QStringList Mains = { "Ärt", "Kyckling", "Lax", "Potatis", "Svamp", "Äppel", "Blåbärs", "Kål", "Fläsk",
    "Torsk", "Linds", "Morots", "Spenat", "Räk", "Ost", "Lingon", "Kantarell", "Rödbets", "Purjolöks", "Vilt",
    "Kalv", "Bön", "Sill", "Örtagårds" };
const QStringList Prefixes = { "Mormors", "Farmors", "Krämig", "Het", "Enkel", "Klassisk", "Somrig", "Höstig",
    "Lördags", "Vardags", "Smålands", "Skånsk", "Norrländsk", "" };
const QStringList Ingredients = { "vetemjöl", "strösocker", "smör", "ägg", "mjölk", "vispgrädde", "gul lök",
    "vitlöksklyftor", "potatis", "morötter", "salt", "svartpeppar", "olivolja", "krossade tomater",
    "buljongtärning", "kycklingfilé", "laxfilé", "torskfilé", "nötfärs", "fläskfilé", "champinjoner",
    "purjolök", "persilja", "dill", "gräddfil", "crème fraiche", "riven ost", "ris", "pasta", "citron",
    "honung", "kanel", "kardemumma", "bakpulver", "jäst", "havregryn", "vaniljsocker", "äpplen", "blåbär",
    "lingon", "spenat", "paprika", "zucchini", "kokosmjölk", "curry", "senap", "ättika", "rödlök", "kapris",
    "räkor" };
const QStringList Units = { "dl", "msk", "tsk", "g", "st", "krm", "l", "kg" };
const QStringList Sentences = { "Sätt ugnen på 200 grader.", "Skala och skär grönsakerna i jämna bitar.",
    "Fräs löken mjuk i smör utan att den tar färg.", "Rör ner resten av ingredienserna och låt puttra.",
    "Smaka av med salt och peppar.", "Låt vila några minuter innan servering.",
    "Servera med kokt potatis och en grönsallad.", "Vispa ägg och socker pösigt.",
    "Blanda de torra ingredienserna och vänd ner dem i smeten.", "Grädda mitt i ugnen tills ytan är gyllene.",
    "Koka upp under omrörning och sänk sedan värmen.", "Garnera med färska örter." };

QString pick(QRandomGenerator& r, const QStringList& l)
{
    return l.at(int(r.bounded(quint32(l.size()))));
}

} // namespace

bool generateCookbook(const QString& path, int recipes)
{
    Database db;
    if (!db.openPlain(path) || !db.exec(Schema) || !db.begin())
        return false;
    for (const QString& c : Categories)
        if (!db.execute("INSERT INTO tblKategorier (Kategori) VALUES (?1);", { c }))
            return false;
    for (const QString& i : Ingredients)
        if (!db.execute("INSERT INTO tblIngredienser (Ingrediens) VALUES (?1);", { i }))
            return false;
    QRandomGenerator r(20261206);
    auto prepared = db.prepare("INSERT INTO tblRecept (Titel, Kategori, AntalPersoner, Tid, Ingredienser, "
                               "Anvisningar) VALUES (?1, ?2, ?3, ?4, ?5, ?6);");
    if (!prepared)
        return false;
    Statement& st = *prepared;
    for (int n = 0; n < recipes; ++n) {
        const QString prefix = pick(r, Prefixes);
        QString title = pick(r, Mains) + pick(r, Dishes);
        if (!prefix.isEmpty())
            title = prefix + QLatin1Char(' ') + title.toLower();
        if (r.bounded(4) == 0)
            title += QStringLiteral(" med ") + pick(r, Ingredients);
        QStringList lines;
        const int count = 8 + int(r.bounded(8));
        for (int i = 0; i < count; ++i) {
            if (i == 0 && r.bounded(5) == 0) {
                lines << QStringLiteral("Deg:");
                continue;
            }
            lines
                << QStringLiteral("%1 %2 %3").arg(1 + r.bounded(9)).arg(pick(r, Units), pick(r, Ingredients));
        }
        QStringList text;
        for (int i = 0; i < 5 + int(r.bounded(4)); ++i)
            text << pick(r, Sentences);
        st.reset();
        st.bindAll({ title, int(1 + r.bounded(quint32(Categories.size()))), QString::number(2 + r.bounded(6)),
            QStringLiteral("%1 min").arg(15 + 5 * r.bounded(20)), lines.join(QStringLiteral("\r\n")),
            text.join(QLatin1Char(' ')) });
        if (!st.run())
            return false;
    }
    return db.commit().ok();
}
