#include "core/db/Backup.h"

#include "core/db/ReplaceFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <sqlite3.h>
#include <unistd.h>

namespace Backup {

namespace {

const QRegularExpression& datedName()
{
    static const QRegularExpression re(QStringLiteral("^dbRcp-\\d{4}-\\d{2}-\\d{2}\\.mdb$"));
    return re;
}

// A page the engine cannot read back (SQLCipher reports a page that fails its
// authentication as a plain error) is damage in the cookbook; anything else
// is trouble with the copy.
bool isDamage(int rc)
{
    switch (rc) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_ERROR:
    case SQLITE_IOERR_READ:
    case SQLITE_IOERR_SHORT_READ:
        return true;
    default:
        return false;
    }
}

QString engineText(sqlite3* db, int rc)
{
    const char* msg = db && sqlite3_errcode(db) == rc ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    return QString::fromUtf8(msg) + QLatin1Char(' ') + QString::number(rc & 0xff);
}

int stopWhenAsked(void* flag)
{
    return static_cast<const std::atomic<bool>*>(flag)->load() ? 1 : 0;
}

void removeWithJournal(const QString& path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
}

} // namespace

QString fileName(QDate day)
{
    return QStringLiteral("dbRcp-%1.mdb").arg(day.toString(Qt::ISODate));
}

QStringList existing(const QString& folder)
{
    QStringList names;
    for (const QString& n : QDir(folder).entryList(QDir::Files, QDir::Name | QDir::Reversed))
        if (datedName().match(n).hasMatch())
            names << QDir(folder).filePath(n);
    return names;
}

Copy::Copy(Database& source, const QString& target, const QString& key)
    : m_target(target)
{
    if (!source.isOpen()) {
        m_error = QStringLiteral("database is not open");
        return;
    }
    const auto pageSize = source.scalar("PRAGMA page_size;");
    if (!pageSize) {
        m_error = pageSize.error().describe();
        return;
    }
    removeWithJournal(target);
    const char* cookbook = sqlite3_db_filename(source.handle(), "main");
    const int fd = ReplaceFile::create(target, QString::fromUtf8(cookbook ? cookbook : ""), &m_error);
    if (fd < 0)
        return;
    ::close(fd);
    const QByteArray p = QFile::encodeName(target);
    int rc = sqlite3_open_v2(p.constData(), &m_dest, SQLITE_OPEN_READWRITE, nullptr);
    if (rc == SQLITE_OK && source.isEncrypted()) {
        const QByteArray k = key.toUtf8();
        rc = sqlite3_key(m_dest, k.constData(), int(k.size()));
        // The engine copies pages as they are, so both sides need one size.
        const QByteArray pragma = "PRAGMA cipher_page_size=" + QByteArray::number(pageSize->toInt()) + ";";
        if (rc == SQLITE_OK)
            rc = sqlite3_exec(m_dest, pragma.constData(), nullptr, nullptr, nullptr);
    }
    // A copy cut short is thrown away, so it needs no journal; it is flushed
    // once, when complete.
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(
            m_dest, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        m_backup = sqlite3_backup_init(m_dest, "main", source.handle(), "main");
        if (!m_backup)
            rc = sqlite3_errcode(m_dest);
    }
    if (rc != SQLITE_OK) {
        m_error = engineText(m_dest, rc);
        closeTarget();
        removeWithJournal(target);
    }
}

Copy::~Copy()
{
    closeTarget();
    if (!m_done)
        removeWithJournal(m_target);
}

void Copy::closeTarget()
{
    if (m_backup) {
        sqlite3_backup_finish(m_backup);
        m_backup = nullptr;
    }
    if (m_dest) {
        sqlite3_close_v2(m_dest);
        m_dest = nullptr;
    }
}

Copy::Step Copy::stop(Step why, const QString& error)
{
    m_error = error;
    closeTarget();
    removeWithJournal(m_target);
    return why;
}

Copy::Step Copy::step(int pages)
{
    if (m_done)
        return Step::Done;
    if (!m_backup)
        return Step::Failed;
    const int rc = sqlite3_backup_step(m_backup, pages);
    if (rc == SQLITE_OK)
        return Step::More;
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        return pages < 0 ? stop(Step::Failed, engineText(nullptr, rc)) : Step::Busy;
    if (rc != SQLITE_DONE && isDamage(rc))
        return stop(Step::Damaged,
            QStringLiteral("En del av filen kunde inte läsas (%1).").arg(engineText(m_dest, rc)));
    if (rc != SQLITE_DONE)
        return stop(Step::Failed, engineText(m_dest, rc));
    const int finished = sqlite3_backup_finish(m_backup);
    m_backup = nullptr;
    if (finished != SQLITE_OK)
        return stop(Step::Failed, engineText(m_dest, finished));
    if (sqlite3_close(m_dest) != SQLITE_OK)
        return stop(Step::Failed, engineText(m_dest, sqlite3_errcode(m_dest)));
    m_dest = nullptr;
    m_done = true;
    return Step::Done;
}

Result check(const QString& path, const QString& key, const std::atomic<bool>* stop)
{
    Database db;
    if (DbStatus s = db.open(path, key); !s)
        return { isDamage(s.error().code) ? Outcome::Damaged : Outcome::Failed, s.error().describe() };
    if (stop)
        sqlite3_progress_handler(db.handle(), 1000, stopWhenAsked, const_cast<std::atomic<bool>*>(stop));
    DbResult<Statement> st = db.prepare("PRAGMA quick_check;");
    if (!st)
        return { Outcome::Failed, st.error().describe() };
    QStringList findings;
    while (st->next())
        findings << st->text(0);
    if (st->failed()) {
        const bool stopped = stop && stop->load();
        return { !stopped && isDamage(st->error().code) ? Outcome::Damaged : Outcome::Failed,
            st->error().describe() };
    }
    if (findings != QStringList { QStringLiteral("ok") })
        return { Outcome::Damaged, findings.mid(0, 3).join(QLatin1Char('\n')) };
    return { Outcome::Ok, {} };
}

Result install(const QString& copy, const QString& folder, QDate day)
{
    QString error;
    if (!ReplaceFile::put(copy, QDir(folder).filePath(fileName(day)), &error)) {
        removeWithJournal(copy);
        return { Outcome::Failed, error };
    }
    const QStringList all = existing(folder);
    for (qsizetype i = Kept; i < all.size(); ++i)
        QFile::remove(all.at(i));
    return { Outcome::Ok, {} };
}

Result make(Database& source, const QString& folder, QDate day, const QString& key)
{
    if (!QDir().mkpath(folder))
        return { Outcome::Failed,
            QStringLiteral("Mappen %1 kunde inte skapas.").arg(QDir::toNativeSeparators(folder)) };
    const QString tmp = QDir(folder).filePath(fileName(day) + QStringLiteral(".tmp"));
    {
        Copy copy(source, tmp, key);
        switch (copy.step(-1)) {
        case Copy::Step::Done:
            break;
        case Copy::Step::Damaged:
            return { Outcome::Damaged, copy.error() };
        default:
            return { Outcome::Failed, copy.error() };
        }
    }
    if (Result r = check(tmp, key); r.outcome != Outcome::Ok) {
        removeWithJournal(tmp);
        return r;
    }
    return install(tmp, folder, day);
}

} // namespace Backup
