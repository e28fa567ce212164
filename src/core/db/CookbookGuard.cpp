#include "core/db/CookbookGuard.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

CookbookGuard::CookbookGuard(Database& db, QObject* parent)
    : QObject(parent)
    , m_db(db)
    , m_today([] { return QDate::currentDate(); })
{
}

CookbookGuard::~CookbookGuard()
{
    release();
}

void CookbookGuard::guard(const QString& backupFolder, const QString& key)
{
    m_folder = backupFolder;
    m_key = key;
    // Copies a killed run left half made.
    for (const QString& n :
        QDir(m_folder).entryList({ QStringLiteral("*.tmp"), QStringLiteral("*.tmp-journal"),
                                     QStringLiteral("*.check"), QStringLiteral("*.check-journal") },
            QDir::Files))
        QFile::remove(QDir(m_folder).filePath(n));
    m_db.setWriteGate([this] { return beforeWrite(); });
}

void CookbookGuard::release()
{
    m_db.setWriteGate({});
    m_copy.reset();
    if (m_thread) {
        m_stop = true;
        m_thread->wait();
        delete m_thread;
        m_thread = nullptr;
        QFile::remove(checkCopyPath());
    }
}

QString CookbookGuard::latestBackup() const
{
    return Backup::existing(m_folder).value(0);
}

QString CookbookGuard::checkCopyPath() const
{
    return QDir(m_folder).filePath(QStringLiteral("dbRcp.mdb.check"));
}

DbStatus CookbookGuard::beforeWrite()
{
    if (m_damaged)
        return DbError { QStringLiteral("Receptdatabasen är skadad, så inga ändringar sparas i den."),
            DbCode::ReadOnly };
    const QDate today = m_today();
    if (m_backupDay == today)
        return dbOk();
    m_backupDay = today;
    if (QFileInfo::exists(QDir(m_folder).filePath(Backup::fileName(today))))
        return dbOk();
    const Backup::Result r = Backup::make(m_db, m_folder, today, m_key);
    if (r.outcome == Backup::Outcome::Damaged) {
        setDamaged(r.error);
        return beforeWrite();
    }
    if (r.outcome == Backup::Outcome::Failed)
        warnFailed(r.error);
    return dbOk();
}

void CookbookGuard::startCheck()
{
    if (m_damaged || isChecking() || !m_db.isOpen())
        return;
    if (!QDir().mkpath(m_folder))
        return;
    m_copy = std::make_unique<Backup::Copy>(m_db, checkCopyPath(), m_key);
    QTimer::singleShot(0, this, &CookbookGuard::copySlice);
}

void CookbookGuard::copySlice()
{
    if (!m_copy)
        return;
    switch (m_copy->step(PagesPerSlice)) {
    case Backup::Copy::Step::More:
        QTimer::singleShot(0, this, &CookbookGuard::copySlice);
        return;
    case Backup::Copy::Step::Busy:
        QTimer::singleShot(50, this, &CookbookGuard::copySlice);
        return;
    case Backup::Copy::Step::Damaged:
        setDamaged(m_copy->error());
        endCheck();
        return;
    case Backup::Copy::Step::Failed:
        // A copy that could not be made says nothing about the cookbook.
        endCheck();
        return;
    case Backup::Copy::Step::Done:
        break;
    }
    m_copy.reset();
    m_stop = false;
    m_thread = QThread::create([this, path = checkCopyPath(), key = m_key] {
        Backup::Result r = Backup::check(path, key, &m_stop);
        QMetaObject::invokeMethod(
            this, [this, r] { checked(r); }, Qt::QueuedConnection);
    });
    m_thread->start();
}

void CookbookGuard::checked(Backup::Result result)
{
    // Released meanwhile: the check was stopped and its copy is gone.
    if (!m_thread)
        return;
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    if (result.outcome == Backup::Outcome::Damaged) {
        setDamaged(result.error);
    } else if (result.outcome == Backup::Outcome::Ok && m_backupDay != m_today()) {
        // No write since the copy was made: it is the state the day began with.
        const QDate today = m_today();
        if (!QFileInfo::exists(QDir(m_folder).filePath(Backup::fileName(today)))) {
            m_backupDay = today;
            const Backup::Result r = Backup::install(checkCopyPath(), m_folder, today);
            if (r.outcome != Backup::Outcome::Ok)
                warnFailed(r.error);
        }
    }
    endCheck();
}

void CookbookGuard::endCheck()
{
    m_copy.reset();
    QFile::remove(checkCopyPath());
    emit checkFinished();
}

void CookbookGuard::setDamaged(const QString& finding)
{
    if (m_damaged)
        return;
    m_damaged = true;
    emit damaged(latestBackup(), finding);
}

void CookbookGuard::warnFailed(const QString& reason)
{
    if (m_warned)
        return;
    m_warned = true;
    emit backupFailed(reason);
}
