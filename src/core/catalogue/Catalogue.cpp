#include "core/catalogue/Catalogue.h"

#include "core/db/TextRules.h"

#include <algorithm>
#include <climits>
#include <numeric>

namespace Catalogue {

namespace {

// More changed recipes than this are read faster all together.
constexpr int MaxPatched = 2000;

bool listLess(const QString& ta, qint32 ra, const QString& tb, qint32 rb)
{
    const int c = TextRules::compare(ta, tb);
    return c != 0 ? c < 0 : ra < rb;
}

} // namespace

void sortByTitle(RecipeRows& rows)
{
    QVector<int> order(rows.ids.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return listLess(rows.titles.at(a), rows.ids.at(a), rows.titles.at(b), rows.ids.at(b));
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

TitleOrder::TitleOrder(Database& db)
    : m_db(db)
{
    m_db.observeRows(this, [this](const char* table, qint64 rowid) {
        if (m_read && qstricmp(table, "tblRecept") == 0 && rowid > 0 && rowid <= INT_MAX)
            m_dirty.insert(qint32(rowid));
    });
}

TitleOrder::~TitleOrder()
{
    m_db.stopObservingRows(this);
}

DbStatus TitleOrder::readAll()
{
    m_read = false;
    m_dirty.clear();
    auto rows = recipesFor(m_db, AllRecipesPosition, 0);
    if (!rows)
        return rows.error();
    m_rows = std::move(*rows);
    m_read = true;
    return dbOk();
}

DbStatus TitleOrder::patch()
{
    if (m_dirty.size() > MaxPatched)
        return readAll();
    QList<qint32> rids(m_dirty.begin(), m_dirty.end());
    m_dirty.clear();
    std::sort(rids.begin(), rids.end());
    auto prepared = m_db.prepare("SELECT Titel FROM tblRecept WHERE RID = ?1;");
    if (!prepared)
        return prepared.error();
    Statement& st = *prepared;
    for (qint32 rid : rids) {
        const qsizetype at = m_rows.ids.indexOf(rid);
        if (at >= 0) {
            m_rows.ids.remove(at);
            m_rows.titles.remove(at);
        }
        st.reset();
        st.bind(1, rid);
        if (!st.next()) {
            if (st.failed()) {
                m_read = false;
                return st.error();
            }
            continue;
        }
        const QString title = st.text(0);
        qsizetype lo = 0, hi = m_rows.ids.size();
        while (lo < hi) {
            const qsizetype mid = (lo + hi) / 2;
            if (listLess(m_rows.titles.at(mid), m_rows.ids.at(mid), title, rid))
                lo = mid + 1;
            else
                hi = mid;
        }
        m_rows.ids.insert(lo, rid);
        m_rows.titles.insert(lo, title);
    }
    return dbOk();
}

DbResult<const RecipeRows*> TitleOrder::get()
{
    const auto schema = m_db.scalar("PRAGMA schema_version;");
    if (!schema)
        return schema.error();
    bool whole = !m_read || m_generation != m_db.generation() || m_schema != schema->toLongLong();
    // Emptied at one go, which tells no one row by row.
    if (!whole && !m_rows.ids.isEmpty()) {
        const auto any = m_db.scalar("SELECT max(RID) FROM tblRecept;");
        if (!any)
            return any.error();
        whole = any->isNull();
    }
    m_generation = m_db.generation();
    m_schema = schema->toLongLong();
    if (DbStatus s = whole ? readAll() : patch(); !s) {
        m_read = false;
        return s.error();
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
