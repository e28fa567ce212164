#include "core/search/KeptText.h"

#include "core/db/TextRules.h"

#include <QScopeGuard>

#include <algorithm>
#include <climits>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace SeekEngine {

namespace {

// Reading more rows than this one by one costs more than reading them all.
constexpr int MaxPatched = 2000;
// Rows read per statement, so a long reading can stop and go on.
constexpr int ReadBatch = 4096;

} // namespace

KeptText::KeptText(Database& db)
    : m_db(db)
{
    m_db.observeRows(this, [this](const char* table, qint64 rowid) {
        if (qstricmp(table, "tblRecept") == 0 && rowid > 0 && rowid <= INT_MAX)
            m_dirty.insert(qint32(rowid));
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

void KeptText::append(qint32 rid, const char* const texts[3], const int lengths[3], quint8 nulls)
{
    Row r;
    r.rid = rid;
    r.nulls = nulls;
    for (int c = 0; c < 3; ++c) {
        r.offset[c] = quint32(m_text[c].size());
        r.length[c]
            = quint32(TextRules::appendFoldedUtf8(texts[c], std::size_t(std::max(lengths[c], 0)), m_text[c]));
    }
    m_rows.push_back(r);
}

DbStatus KeptText::readFrom(int limit, const Progress& progress, int total, bool* stopped)
{
    // Every page goes by once: kept in the engine's cache they would only
    // push out what the lists use, and double the memory held.
    const auto cacheSize = m_db.scalar("PRAGMA cache_size;");
    if (!cacheSize)
        return cacheSize.error();
    (void)m_db.exec("PRAGMA cache_size=-1024;");
    const QByteArray restore = "PRAGMA cache_size=" + QByteArray::number(cacheSize->toLongLong()) + ";";
    const auto restoreCache = qScopeGuard([&] { (void)m_db.exec(restore.constData()); });
    auto prepared = m_db.prepare("SELECT RID, Titel, Ingredienser, Anvisningar FROM tblRecept WHERE RID > ?1 "
                                 "ORDER BY RID LIMIT ?2;");
    if (!prepared)
        return prepared.error();
    Statement& st = *prepared;
    int read = 0;
    *stopped = false;
    while (read < limit) {
        const int batch = std::min(ReadBatch, limit - read);
        st.reset();
        st.bind(1, m_lastRid).bind(2, batch);
        int got = 0;
        while (st.next()) {
            const char* texts[3];
            int lengths[3];
            quint8 nulls = 0;
            for (int c = 0; c < 3; ++c) {
                texts[c] = st.utf8(c + 1, &lengths[c]);
                if (!texts[c])
                    nulls |= quint8(1u << c);
            }
            m_lastRid = st.int32(0);
            m_order.push_back(quint32(m_rows.size()));
            append(m_lastRid, texts, lengths, nulls);
            ++got;
            if (progress && (got & 1023) == 0 && !progress(size(), std::max(total, size()))) {
                *stopped = true;
                return dbOk();
            }
        }
        if (st.failed())
            return st.error();
        read += got;
        if (got < batch) {
            m_complete = true;
            break;
        }
    }
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
    auto prepared = m_db.prepare("SELECT Titel, Ingredienser, Anvisningar FROM tblRecept WHERE RID = ?1;");
    if (!prepared)
        return prepared.error();
    Statement& st = *prepared;
    const auto ridOf = [this](quint32 index, qint32 rid) { return m_rows[index].rid < rid; };
    for (qint32 rid : rids) {
        auto at = std::lower_bound(m_order.begin(), m_order.end(), rid, ridOf);
        if (at != m_order.end() && m_rows[*at].rid == rid) {
            const Row& old = m_rows[*at];
            m_dead += std::size_t(old.length[0]) + old.length[1] + old.length[2];
            at = m_order.erase(at);
        }
        st.reset();
        st.bind(1, rid);
        if (!st.next()) {
            if (st.failed())
                return st.error();
            continue;
        }
        const char* texts[3];
        int lengths[3];
        quint8 nulls = 0;
        for (int c = 0; c < 3; ++c) {
            texts[c] = st.utf8(c, &lengths[c]);
            if (!texts[c])
                nulls |= quint8(1u << c);
        }
        m_order.insert(at, quint32(m_rows.size()));
        append(rid, texts, lengths, nulls);
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
        const auto any = m_db.scalar("SELECT max(RID) FROM tblRecept;");
        if (!any)
            return any.error();
        if (any->isNull())
            clear();
    }
    if (DbStatus s = patch(); !s)
        return s.error();
    const bool first = !m_complete;
    int total = size();
    if (first && progress) {
        const auto count = m_db.scalar("SELECT count(*) FROM tblRecept;");
        if (!count)
            return count.error();
        total = int(std::min<qint64>(count->toLongLong(), INT_MAX));
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
