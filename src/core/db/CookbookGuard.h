#pragma once

#include "core/db/Backup.h"
#include "core/db/Database.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QThread;

// Keeps the run's cookbook from getting worse: the day's backup is made
// before the first write of each day, a check looks for damage once the
// window is up, and a damaged cookbook takes no more writes.
class CookbookGuard : public QObject {
    Q_OBJECT
public:
    explicit CookbookGuard(Database& db, QObject* parent = nullptr);
    ~CookbookGuard() override;

    // From now on every write to `db` passes here first. Backups go to
    // `backupFolder`, keyed with `key` like the cookbook.
    void guard(const QString& backupFolder, const QString& key);
    // No more gate, no check running; before the connection closes.
    void release();

    // Looks for damage with the engine's quick check, on a copy made a few
    // pages at a time from the event loop (the connection holds the file
    // exclusively, so no second one could read it) and checked on a thread
    // of its own. A clean copy made before any write of the day is kept as
    // the day's backup.
    void startCheck();
    bool isChecking() const { return m_copy != nullptr || m_thread != nullptr; }

    bool isDamaged() const { return m_damaged; }
    const QString& backupFolder() const { return m_folder; }
    // The newest backup, empty when there is none.
    QString latestBackup() const;

    // The day a backup is for; the calendar unless a test says otherwise.
    void setToday(std::function<QDate()> today) { m_today = std::move(today); }

    static constexpr int PagesPerSlice = 64;

signals:
    // Once: from now on every write is refused. `finding` is the engine's.
    void damaged(const QString& latestBackup, const QString& finding);
    // Once a run: the program goes on without the day's backup.
    void backupFailed(const QString& reason);
    // The check has ended, whatever it found.
    void checkFinished();

private:
    DbStatus beforeWrite();
    void copySlice();
    void checked(Backup::Result result);
    void endCheck();
    void setDamaged(const QString& finding);
    void warnFailed(const QString& reason);
    QString checkCopyPath() const;

    Database& m_db;
    QString m_folder;
    QString m_key;
    std::function<QDate()> m_today;
    QDate m_backupDay; // the day whose backup is made or was tried
    bool m_damaged = false;
    bool m_warned = false;
    std::unique_ptr<Backup::Copy> m_copy;
    QThread* m_thread = nullptr;
    std::atomic<bool> m_stop { false };
};
