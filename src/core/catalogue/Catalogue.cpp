#include "core/catalogue/Catalogue.h"

#include "core/db/TextRules.h"

#include <QScopeGuard>

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
        if (const auto rid = changedRecipe(table, rowid); rid && m_read)
            m_dirty.insert(*rid);
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
        const auto any = hasRecipes(m_db);
        if (!any.ok())
            return any.error();
        whole = !*any;
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

int keptFilterPosition(const QVector<qint32>& before, int position, const QVector<qint32>& after)
{
    constexpr int firstCategory = NewestPosition + 1;
    if (position >= firstCategory && position < before.size()) {
        const int found = int(after.indexOf(before.at(position), firstCategory));
        if (found >= firstCategory)
            return found;
    }
    return std::max(0, std::min(position, int(after.size()) - 1));
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

namespace {

// One recipe with its category's name, found by `where`; the one reader of a
// single recipe. LEFT JOIN: a recipe whose category is gone is still found.
DbResult<std::optional<Recipe>> oneRecipe(
    Database& db, const char* where, const QVariant& value, bool asStored = false)
{
    const QByteArray sql
        = QByteArrayLiteral(
              "SELECT tblRecept.RID, tblRecept.Titel, tblRecept.AntalPersoner, tblRecept.Tid, "
              "tblRecept.Ingredienser, tblRecept.Anvisningar, tblRecept.Kategori, "
              "tblKategorier.KID, tblKategorier.Kategori "
              "FROM tblRecept LEFT JOIN tblKategorier ON tblRecept.Kategori = tblKategorier.KID ")
        + where;
    DbResult<Statement> st = db.prepare(sql.constData());
    if (!st)
        return st.error();
    st->bind(1, value);
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
    r.ingredienser = asStored ? st->text(4) : fromStored(st->text(4));
    r.anvisningar = asStored ? st->text(5) : fromStored(st->text(5));
    r.kategori = st->int32(6);
    r.hasCategory = !st->isNull(7);
    r.kategoriNamn = st->text(8);
    return std::optional<Recipe>(r);
}

} // namespace

DbResult<std::optional<Recipe>> loadRecipe(Database& db, qint32 rid)
{
    return oneRecipe(db, "WHERE tblRecept.RID = ?1;", rid);
}

DbResult<std::optional<Recipe>> storedRecipe(Database& db, qint32 rid)
{
    return oneRecipe(db, "WHERE tblRecept.RID = ?1;", rid, true);
}

DbResult<QVector<qint32>> recipeNumbers(Database& db, std::optional<qint32> kid)
{
    DbResult<Statement> st
        = db.prepare("SELECT RID FROM tblRecept WHERE ?1 IS NULL OR Kategori = ?1 ORDER BY RID;");
    if (!st)
        return st.error();
    st->bind(1, kid ? QVariant(*kid) : QVariant());
    QVector<qint32> rids;
    while (st->next())
        rids.append(st->int32(0));
    if (st->failed())
        return st->error();
    return rids;
}

DbResult<std::optional<Recipe>> recipeTitled(Database& db, const QString& titel)
{
    return oneRecipe(db, "WHERE tblRecept.Titel = ?1 COLLATE SV ORDER BY tblRecept.RID LIMIT 1;", titel);
}

DbResult<RecipeRows> recipesTitledLike(Database& db, const QString& pattern)
{
    DbResult<Statement> st = db.prepare("SELECT RID, Titel FROM tblRecept WHERE Titel LIKE ?1 ORDER BY RID;");
    if (!st)
        return st.error();
    st->bind(1, pattern);
    RecipeRows found;
    while (st->next()) {
        found.ids.append(st->int32(0));
        found.titles.append(st->text(1));
    }
    if (st->failed())
        return st->error();
    return found;
}

DbResult<std::optional<qint32>> categoryNamed(Database& db, const QString& name)
{
    const auto kid = db.scalar(
        "SELECT KID FROM tblKategorier WHERE Kategori = ?1 COLLATE SV ORDER BY KID LIMIT 1;", { name });
    if (!kid)
        return kid.error();
    return kid->isNull() ? std::optional<qint32>() : std::optional<qint32>(kid->toInt());
}

DbResult<int> countTitled(Database& db, const QString& titel)
{
    const auto same = db.scalar("SELECT count(*) FROM tblRecept WHERE Titel = ?1 COLLATE SV;", { titel });
    if (!same)
        return same.error();
    return same->toInt();
}

DbResult<std::unordered_set<std::string>> foldedTitles(Database& db)
{
    DbResult<Statement> st = db.prepare("SELECT Titel FROM tblRecept WHERE Titel IS NOT NULL;");
    if (!st)
        return st.error();
    std::unordered_set<std::string> titles;
    std::string key;
    while (st->next()) {
        int n = 0;
        const char* s = st->utf8(0, &n);
        TextRules::foldUtf8(s, n, key);
        titles.insert(key);
    }
    if (st->failed())
        return st->error();
    return titles;
}

DbResult<qint32> insertRecipe(Database& db, qint32 kid, const StoredFields& f)
{
    if (DbStatus s = db.execute("INSERT INTO tblRecept (Kategori, Titel, Anvisningar, Ingredienser, "
                                "AntalPersoner, Tid) VALUES (?1, ?2, ?3, ?4, ?5, ?6);",
            { kid, f.titel, f.anvisningar, f.ingredienser, f.antalPersoner, f.tid });
        !s)
        return s.error();
    return qint32(db.lastInsertId());
}

DbResult<bool> updateRecipe(Database& db, qint32 rid, const StoredFields& f)
{
    if (DbStatus s
        = db.execute("UPDATE tblRecept SET Anvisningar = ?1, Ingredienser = ?2, AntalPersoner = ?3, "
                     "Tid = ?4, Titel = ?5 WHERE RID = ?6;",
            { f.anvisningar, f.ingredienser, f.antalPersoner, f.tid, f.titel, rid });
        !s)
        return s.error();
    return db.changes() > 0;
}

DbStatus deleteRecipes(Database& db, const QVector<qint32>& rids)
{
    if (DbStatus s = db.begin(); !s)
        return s;
    auto undo = [&](const DbError& e) -> DbStatus {
        db.rollback();
        return e;
    };
    DbResult<Statement> st = db.prepare("DELETE FROM tblRecept WHERE RID = ?1;");
    if (!st)
        return undo(st.error());
    for (qint32 rid : rids) {
        st->reset();
        st->bind(1, rid);
        if (DbStatus s = st->run(); !s)
            return undo(s.error());
    }
    if (DbStatus s = db.commit(); !s)
        return undo(s.error());
    return dbOk();
}

DbResult<bool> setCategory(Database& db, qint32 rid, qint32 kid)
{
    if (DbStatus s = db.execute("UPDATE tblRecept SET Kategori = ?1 WHERE RID = ?2;", { kid, rid }); !s)
        return s.error();
    return db.changes() > 0;
}

DbResult<qint32> addCategory(Database& db, const QString& name)
{
    if (DbStatus s = db.execute("INSERT INTO tblKategorier (Kategori) VALUES (?1);", { name }); !s)
        return s.error();
    return qint32(db.lastInsertId());
}

DbResult<bool> renameCategory(Database& db, qint32 kid, const QString& name)
{
    if (DbStatus s = db.execute("UPDATE tblKategorier SET Kategori=?1 WHERE KID=?2;", { name, kid }); !s)
        return s.error();
    return db.changes() > 0;
}

std::optional<qint32> changedRecipe(const char* table, qint64 rowid)
{
    if (qstricmp(table, "tblRecept") == 0 && rowid > 0 && rowid <= INT_MAX)
        return qint32(rowid);
    return std::nullopt;
}

DbResult<bool> hasRecipes(Database& db)
{
    const auto highest = db.scalar("SELECT max(RID) FROM tblRecept;");
    if (!highest)
        return highest.error();
    return !highest->isNull();
}

DbResult<qint64> recipeCount(Database& db)
{
    const auto count = db.scalar("SELECT count(*) FROM tblRecept;");
    if (!count)
        return count.error();
    return count->toLongLong();
}

namespace {

// Rows read per statement, so a long reading can stop and go on.
constexpr int ReadBatch = 4096;

// The texts of the statement's row, from column `first` on.
SearchTexts searchTexts(const Statement& st, qint32 rid, int first)
{
    SearchTexts t;
    t.rid = rid;
    for (int c = 0; c < 3; ++c)
        t.text[c] = st.utf8(first + c, &t.length[c]);
    return t;
}

} // namespace

DbResult<bool> readSearchTexts(Database& db, qint32 after, int limit, const SearchTextReader& reader)
{
    // Every page goes by once: kept in the engine's cache they would only
    // push out what the lists use, and double the memory held.
    const auto cacheSize = db.scalar("PRAGMA cache_size;");
    if (!cacheSize)
        return cacheSize.error();
    (void)db.exec("PRAGMA cache_size=-1024;");
    const QByteArray restore = "PRAGMA cache_size=" + QByteArray::number(cacheSize->toLongLong()) + ";";
    const auto restoreCache = qScopeGuard([&] { (void)db.exec(restore.constData()); });
    auto prepared = db.prepare("SELECT RID, Titel, Ingredienser, Anvisningar FROM tblRecept WHERE RID > ?1 "
                               "ORDER BY RID LIMIT ?2;");
    if (!prepared)
        return prepared.error();
    Statement& st = *prepared;
    int read = 0;
    while (read < limit) {
        const int batch = std::min(ReadBatch, limit - read);
        st.reset();
        st.bind(1, after).bind(2, batch);
        int got = 0;
        while (st.next()) {
            after = st.int32(0);
            ++got;
            if (!reader(searchTexts(st, after, 1)))
                return false;
        }
        if (st.failed())
            return st.error();
        read += got;
        if (got < batch)
            return true;
    }
    return false;
}

DbStatus readSearchTextsOf(Database& db, const QList<qint32>& rids, const SearchTextReader& reader)
{
    auto prepared = db.prepare("SELECT Titel, Ingredienser, Anvisningar FROM tblRecept WHERE RID = ?1;");
    if (!prepared)
        return prepared.error();
    Statement& st = *prepared;
    for (qint32 rid : rids) {
        st.reset();
        st.bind(1, rid);
        if (st.next()) {
            if (!reader(searchTexts(st, rid, 0)))
                break;
        } else if (st.failed()) {
            return st.error();
        }
    }
    return dbOk();
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
