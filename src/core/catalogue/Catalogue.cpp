#include "core/catalogue/Catalogue.h"

#include "core/db/TextRules.h"

#include <numeric>

namespace Catalogue {

void sortByTitle(RecipeRows& rows)
{
    QVector<int> order(rows.ids.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        const int c = TextRules::compare(rows.titles.at(a), rows.titles.at(b));
        return c != 0 ? c < 0 : rows.ids.at(a) < rows.ids.at(b);
    });
    RecipeRows sorted;
    sorted.ids.reserve(order.size());
    sorted.titles.reserve(order.size());
    for (int i : order) {
        sorted.ids.append(rows.ids.at(i));
        sorted.titles.append(rows.titles.at(i));
    }
    rows = std::move(sorted);
}

DbResult<const RecipeRows*> TitleOrder::get(Database& db)
{
    const qint64 stamp = db.changeStamp();
    if (stamp != m_stamp || stamp < 0) {
        auto rows = recipesFor(db, AllRecipesPosition, 0);
        if (!rows)
            return rows.error();
        m_rows = std::move(*rows);
        m_stamp = stamp;
    }
    return &m_rows;
}

namespace {

DbResult<QList<Category>> readCategories(Database& db, const char* sql)
{
    DbResult<Statement> st = db.prepare(sql);
    if (!st)
        return st.error();
    QList<Category> out;
    while (st->next())
        out.append({ st->int32(0), st->text(1), st->columnCount() > 2 ? st->int32(2) : 0 });
    if (st->failed())
        return st->error();
    return out;
}

} // namespace

DbResult<QList<Category>> categoriesWithRecipes(Database& db)
{
    return readCategories(db,
        "SELECT tblKategorier.KID, tblKategorier.Kategori, Count(tblRecept.Kategori) AS CountOfKategori "
        "FROM tblKategorier INNER JOIN tblRecept ON tblKategorier.KID = tblRecept.Kategori "
        "GROUP BY tblKategorier.KID, tblKategorier.Kategori HAVING Count(tblRecept.Kategori) > 0 "
        "ORDER BY tblKategorier.Kategori COLLATE SV, tblKategorier.KID;");
}

DbResult<QList<Category>> allCategories(Database& db)
{
    return readCategories(db, "SELECT KID, Kategori FROM tblKategorier ORDER BY Kategori COLLATE SV, KID;");
}

DbResult<RecipeRows> recipesFor(Database& db, int position, qint32 kid)
{
    const char* sql = nullptr;
    if (position == AllRecipesPosition) {
        // Read through the title index (a fraction of the file's pages) and
        // put into Swedish order here.
        sql = "SELECT RID, Titel FROM tblRecept ORDER BY Titel, RID;";
    } else if (position == NewestPosition) {
        sql = "SELECT RID, Titel FROM tblRecept ORDER BY RID DESC LIMIT 10;";
    } else {
        sql = "SELECT RID, Titel FROM tblRecept WHERE Kategori = ?1 ORDER BY Titel COLLATE SV, RID;";
    }
    DbResult<Statement> st = db.prepare(sql);
    if (!st)
        return st.error();
    if (position != AllRecipesPosition && position != NewestPosition)
        st->bind(1, kid);
    RecipeRows rows;
    while (st->next()) {
        rows.ids.append(st->int32(0));
        // A null title lists as an empty line rather than ending the list.
        rows.titles.append(st->text(1));
    }
    if (st->failed())
        return st->error();
    if (position == AllRecipesPosition)
        sortByTitle(rows);
    return rows;
}

DbResult<std::optional<Recipe>> loadRecipe(Database& db, qint32 rid)
{
    // LEFT JOIN: a recipe whose category is gone is still shown.
    DbResult<Statement> st
        = db.prepare("SELECT tblRecept.RID, tblRecept.Titel, tblRecept.AntalPersoner, tblRecept.Tid, "
                     "tblRecept.Ingredienser, "
                     "tblRecept.Anvisningar, tblRecept.Kategori, tblKategorier.KID, tblKategorier.Kategori "
                     "FROM tblRecept LEFT JOIN tblKategorier ON tblRecept.Kategori = tblKategorier.KID "
                     "WHERE tblRecept.RID = ?1;");
    if (!st)
        return st.error();
    st->bind(1, rid);
    if (!st->next()) {
        if (st->failed())
            return st->error();
        return std::optional<Recipe>();
    }
    Recipe r;
    r.rid = st->int32(0);
    r.titel = st->text(1);
    r.antalPersoner = st->text(2);
    r.tid = st->text(3);
    r.ingredienser = fromStored(st->text(4));
    r.anvisningar = fromStored(st->text(5));
    r.kategori = st->int32(6);
    r.hasCategory = !st->isNull(7);
    r.kategoriNamn = st->text(8);
    return std::optional<Recipe>(r);
}

QString fromStored(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return t;
}

QString toStored(const QString& text)
{
    QString t = fromStored(text);
    t.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return t;
}

} // namespace Catalogue
