#include "core/search/KeptText.h"

#include "core/catalogue/Catalogue.h"
#include "core/db/TextRules.h"

#include <algorithm>
#include <climits>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace SeekEngine {

namespace {

// Reading more rows than this one by one costs more than reading them all.
constexpr int MaxPatched = 2000;

} // namespace

KeptText::KeptText(Database& db)
    : m_db(db)
{
    m_db.observeRows(this, [this](const char* table, qint64 rowid) {
        if (const auto rid = Catalogue::changedRecipe(table, rowid))
            m_dirty.insert(*rid);
    });
}

KeptText::~KeptText()
{
    m_db.stopObservingRows(this);
}

std::size_t KeptText::bytes() const
{
    return m_text[0].capacity() + m_text[1].capacity() + m_text[2].capacity()
        + m_rows.capacity() * sizeof(Row) + m_order.capacity() * sizeof(quint32);
}

void KeptText::clear()
{
    m_rows = {};
    m_order = {};
    for (std::string& t : m_text)
        t = {};
    m_dead = 0;
    m_dirty.clear();
    m_complete = false;
    m_lastRid = 0;
}

// What was read through another connection, or before the tables changed
// shape, cannot be patched.
bool KeptText::stale()
{
    const auto schema = m_db.scalar("PRAGMA schema_version;");
    const qint64 version = schema ? schema->toLongLong() : -2;
    if (m_generation == m_db.generation() && m_schema == version)
        return false;
    m_generation = m_db.generation();
    m_schema = version;
    return true;
}

void KeptText::append(const Catalogue::SearchTexts& t)
{
    Row r;
    r.rid = t.rid;
    for (int c = 0; c < 3; ++c) {
        if (!t.text[c])
            r.nulls |= quint8(1u << c);
        r.offset[c] = quint32(m_text[c].size());
        r.length[c] = quint32(
            TextRules::appendFoldedUtf8(t.text[c], std::size_t(std::max(t.length[c], 0)), m_text[c]));
    }
    m_rows.push_back(r);
}

DbStatus KeptText::readFrom(int limit, const Progress& progress, int total, bool* stopped)
{
    *stopped = false;
    int got = 0;
    const auto atEnd
        = Catalogue::readSearchTexts(m_db, m_lastRid, limit, [&](const Catalogue::SearchTexts& t) {
              m_lastRid = t.rid;
              m_order.push_back(quint32(m_rows.size()));
              append(t);
              if (progress && (++got & 1023) == 0 && !progress(size(), std::max(total, size())))
                  *stopped = true;
              return !*stopped;
          });
    if (!atEnd.ok())
        return atEnd.error();
    if (*atEnd)
        m_complete = true;
    return dbOk();
}

DbStatus KeptText::patch()
{
    QList<qint32> rids;
    for (qint32 rid : std::as_const(m_dirty))
        if (rid <= m_lastRid)
            rids.append(rid);
    // Rows beyond the last one read come with the next reading.
    m_dirty.clear();
    if (rids.isEmpty())
        return dbOk();
    if (rids.size() > MaxPatched) {
        clear();
        return dbOk();
    }
    std::sort(rids.begin(), rids.end());
    const auto ridOf = [this](quint32 index, qint32 rid) { return m_rows[index].rid < rid; };
    for (qint32 rid : std::as_const(rids)) {
        const auto at = std::lower_bound(m_order.begin(), m_order.end(), rid, ridOf);
        if (at != m_order.end() && m_rows[*at].rid == rid) {
            const Row& old = m_rows[*at];
            m_dead += std::size_t(old.length[0]) + old.length[1] + old.length[2];
            m_order.erase(at);
        }
    }
    const DbStatus read = Catalogue::readSearchTextsOf(m_db, rids, [&](const Catalogue::SearchTexts& t) {
        m_order.insert(
            std::lower_bound(m_order.begin(), m_order.end(), t.rid, ridOf), quint32(m_rows.size()));
        append(t);
        return true;
    });
    if (!read.ok()) {
        // Half patched: read everything again next time.
        clear();
        return read;
    }
    compactIfWasteful();
    return dbOk();
}

// Text of changed recipes piles up behind them; once it is a quarter of all,
// the buffers are written afresh.
void KeptText::compactIfWasteful()
{
    const std::size_t held = m_text[0].size() + m_text[1].size() + m_text[2].size();
    if (m_dead * 4 < held)
        return;
    std::vector<Row> rows;
    rows.reserve(m_order.size());
    std::string text[3];
    for (int c = 0; c < 3; ++c)
        text[c].reserve(m_text[c].size());
    for (quint32& index : m_order) {
        Row r = m_rows[index];
        for (int c = 0; c < 3; ++c) {
            const std::string_view t = this->text(m_rows[index], Column(c));
            r.offset[c] = quint32(text[c].size());
            text[c].append(t);
        }
        index = quint32(rows.size());
        rows.push_back(r);
    }
    m_rows = std::move(rows);
    for (int c = 0; c < 3; ++c) {
        m_text[c] = std::move(text[c]);
        m_text[c].shrink_to_fit();
    }
    m_dead = 0;
}

DbResult<bool> KeptText::update(const Progress& progress)
{
    if (stale())
        clear();
    // Emptied at one go, which tells no one row by row.
    if (!m_rows.empty()) {
        const auto any = Catalogue::hasRecipes(m_db);
        if (!any.ok())
            return any.error();
        if (!*any)
            clear();
    }
    if (DbStatus s = patch(); !s)
        return s.error();
    const bool first = !m_complete;
    int total = size();
    if (first && progress) {
        const auto count = Catalogue::recipeCount(m_db);
        if (!count)
            return count.error();
        total = int(std::min<qint64>(*count, INT_MAX));
    }
    // After the first reading only recipes added since are left to read.
    bool stopped = false;
    if (DbStatus s = readFrom(INT_MAX, progress, total, &stopped); !s)
        return s.error();
    if (first && m_complete)
        finish();
    return !stopped;
}

DbResult<bool> KeptText::readSome(int rows)
{
    if (stale())
        clear();
    if (DbStatus s = patch(); !s)
        return s.error();
    if (m_complete)
        return true;
    bool stopped = false;
    if (DbStatus s = readFrom(rows, {}, 0, &stopped); !s)
        return s.error();
    if (m_complete)
        finish();
    return m_complete;
}

// Growing buffers hold up to twice what they need; a finished reading gives
// the rest back.
void KeptText::finish()
{
    for (std::string& t : m_text)
        t.shrink_to_fit();
    m_rows.shrink_to_fit();
    m_order.shrink_to_fit();
#ifdef __GLIBC__
    // The engine's pages freed while reading lie scattered in the heap; hand
    // the free space back rather than hold it for the rest of the run.
    malloc_trim(0);
#endif
}

} // namespace SeekEngine
