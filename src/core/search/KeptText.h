#pragma once

#include "core/db/Database.h"

#include <QSet>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace Catalogue {
struct SearchTexts;
}

namespace SeekEngine {

// The texts the searches read, kept in memory in the form they test them:
// each recipe's title, ingredients and instructions, case-folded, in three
// large buffers. A search is then a scan of memory rather than a decryption
// of every page of the cookbook.
//
// It follows the cookbook: recipes changed through the connection since the
// last update are read again, one by one; a change it cannot follow (another
// schema, another connection) makes it read everything again. The texts come
// through the catalogue's bulk reader (Catalogue::readSearchTexts).
class KeptText {
public:
    enum Column { Title, Ingredients, Instructions };

    struct Row {
        qint32 rid = 0;
        quint32 offset[3] = {};
        quint32 length[3] = {};
        // Bit c set: column c is NULL (a LIKE on it is never true).
        quint8 nulls = 0;
    };

    // Told how many recipes have been read and how many there are; false stops
    // the reading, and the next update goes on from there.
    using Progress = std::function<bool(int done, int total)>;

    explicit KeptText(Database& db);
    ~KeptText();
    KeptText(const KeptText&) = delete;
    KeptText& operator=(const KeptText&) = delete;

    // Brings the kept text up to date. True when it is complete; false when
    // the progress callback stopped the reading.
    DbResult<bool> update(const Progress& progress = {});
    // Reads at most `rows` more recipes of a first reading; for reading a
    // little at a time while the program waits for the user.
    DbResult<bool> readSome(int rows);
    // The first reading has come to the end (changes since may wait).
    bool isComplete() const { return m_complete; }

    // Recipes in number order.
    int size() const { return int(m_order.size()); }
    const Row& row(int i) const { return m_rows[m_order[std::size_t(i)]]; }
    std::string_view text(const Row& r, Column c) const
    {
        return std::string_view(m_text[c].data() + r.offset[c], r.length[c]);
    }
    bool isNull(const Row& r, Column c) const { return r.nulls & (1u << c); }
    // Bytes held, for the memory figures.
    std::size_t bytes() const;
    Database& database() const { return m_db; }

private:
    void clear();
    bool stale();
    // Reads up to `limit` recipes after the last one read.
    DbStatus readFrom(int limit, const Progress& progress, int total, bool* stopped);
    DbStatus patch();
    void append(const Catalogue::SearchTexts& t);
    void compactIfWasteful();
    void finish();

    Database& m_db;
    std::vector<Row> m_rows;
    // Indexes into m_rows of the live rows, in number order.
    std::vector<quint32> m_order;
    std::string m_text[3];
    std::size_t m_dead = 0;
    QSet<qint32> m_dirty;
    bool m_complete = false;
    qint32 m_lastRid = 0;
    quint64 m_generation = 0;
    qint64 m_schema = -1;
};

} // namespace SeekEngine
