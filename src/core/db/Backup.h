#pragma once

#include "core/db/Database.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <atomic>

struct sqlite3_backup;

// Dated copies of the open cookbook in a folder of their own: made with the
// engine's online backup into a temporary file keyed like the cookbook,
// checked, and only then given the day's name. The newest ten are kept.
namespace Backup {

constexpr int Kept = 10;

// "dbRcp-2024-05-01.mdb".
QString fileName(QDate day);
// The dated copies in `folder`, newest first, as full paths.
QStringList existing(const QString& folder);

enum class Outcome { Ok, Damaged, Failed };
struct Result {
    Outcome outcome = Outcome::Failed;
    // What went wrong: the engine's or the system's text.
    QString error;
};

// A copy made a few pages at a time, so that it can be spread over the event
// loop. The source may be used and changed meanwhile through its own
// connection: the engine carries each change into the copy as well.
class Copy {
public:
    // Starts copying `source` into a new file `target` (a leftover there is
    // replaced), encrypted with `key` when the source is.
    Copy(Database& source, const QString& target, const QString& key);
    ~Copy();
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;

    enum class Step { More, Busy, Done, Damaged, Failed };
    // Copies up to `pages` more pages (all when negative). Busy: the source
    // is in a write; try again later. Done: the file is complete and closed.
    Step step(int pages);
    const QString& error() const { return m_error; }
    const QString& target() const { return m_target; }

private:
    Step stop(Step why, const QString& error);
    void closeTarget();

    QString m_target;
    sqlite3* m_dest = nullptr;
    sqlite3_backup* m_backup = nullptr;
    QString m_error;
    bool m_done = false;
};

// Opens a finished copy on a connection of its own and runs the engine's
// quick check on it. Setting `stop` from another thread ends it early (Failed).
Result check(const QString& path, const QString& key, const std::atomic<bool>* stop = nullptr);

// Gives a checked copy the name for `day` in `folder` and removes all but the
// newest `Kept` dated copies.
Result install(const QString& copy, const QString& folder, QDate day);

// The whole round at once: copy into `folder`, check, install.
Result make(Database& source, const QString& folder, QDate day, const QString& key);

} // namespace Backup
