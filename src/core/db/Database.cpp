#include "core/db/Database.h"

#include "core/db/TextRules.h"

#include <QFile>
#include <sqlite3.h>

namespace {

DbError notOpen()
{
    return { QStringLiteral("database is not open"), DbCode::Misuse };
}

} // namespace

Database::~Database()
{
    close();
}

bool Database::isPlainFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.read(16) == QByteArray("SQLite format 3\0", 16);
}

DbError Database::currentError(int rc) const
{
    if (!m_db)
        return { QString::fromUtf8(sqlite3_errstr(rc)), rc & 0xff };
    return { QString::fromUtf8(sqlite3_errmsg(m_db)), sqlite3_extended_errcode(m_db) & 0xff };
}

DbStatus Database::openPlain(const QString& path)
{
    close();
    const QByteArray p = path.toUtf8();
    const int rc = sqlite3_open_v2(p.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const DbError e = currentError(rc);
        close();
        return e;
    }
    opened();
    return dbOk();
}

void Database::opened()
{
    ++m_generation;
    TextRules::registerOn(m_db);
    sqlite3_update_hook(m_db, &Database::rowChanged, this);
}

void Database::rowChanged(void* self, int, const char* dbName, const char* table, qint64 rowid)
{
    if (qstrcmp(dbName, "main") != 0)
        return;
    for (const auto& [owner, observer] : static_cast<Database*>(self)->m_rowObservers)
        observer(table, rowid);
}

void Database::observeRows(const void* owner, RowObserver observer)
{
    stopObservingRows(owner);
    m_rowObservers.emplace_back(owner, std::move(observer));
}

void Database::stopObservingRows(const void* owner)
{
    std::erase_if(m_rowObservers, [owner](const auto& o) { return o.first == owner; });
}

DbStatus Database::open(const QString& path, const QString& key)
{
    if (isPlainFile(path))
        return openWith(path, QString(), 0);
    // Our own files use 4096-byte pages; the engine's default is the fallback.
    DbStatus first = openWith(path, key, EncryptedPageSize);
    if (first || first.error().code != DbCode::NotADb)
        return first;
    if (openWith(path, key, 0))
        return dbOk();
    return first;
}

DbStatus Database::openWith(const QString& path, const QString& key, int pageSize)
{
    close();
    const QByteArray p = path.toUtf8();
    // No CREATE: a missing file is an error, never a fresh empty cookbook.
    const int rc = sqlite3_open_v2(p.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        const DbError e = currentError(rc);
        close();
        return e;
    }
    auto fail = [this](const DbError& e) -> DbStatus {
        close();
        return e;
    };
    if (!key.isEmpty()) {
        const QByteArray k = key.toUtf8();
        const int krc = sqlite3_key(m_db, k.constData(), int(k.size()));
        if (krc != SQLITE_OK)
            return fail(currentError(krc));
        if (pageSize > 0) {
            const QByteArray pragma = "PRAGMA cipher_page_size=" + QByteArray::number(pageSize) + ";";
            if (DbStatus s = exec(pragma.constData()); !s)
                return fail(s.error());
        }
    }
    m_encrypted = !key.isEmpty();
    sqlite3_busy_timeout(m_db, 0);
    // The lock is taken before anything is read and held until close, so a
    // second running copy is refused at its first step.
    if (DbStatus s = exec("PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT;"); !s)
        return fail(s.error());
    // Touching the schema proves the key and the file; a damaged or foreign
    // file fails here rather than in the middle of the run.
    if (DbStatus s = exec("SELECT count(*) FROM sqlite_master;"); !s)
        return fail(s.error());
    // Decrypted pages stay in memory, so repeated searches read no page twice.
    if (DbStatus s = exec("PRAGMA cache_size=-65536;"); !s)
        return fail(s.error());
    opened();
    return dbOk();
}

void Database::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    m_encrypted = false;
}

DbStatus Database::passWriteGate(sqlite3_stmt* st)
{
    if (!m_writeGate || !st || sqlite3_stmt_readonly(st))
        return dbOk();
    return m_writeGate();
}

DbStatus Database::exec(const char* sql)
{
    if (!m_db)
        return notOpen();
    // Statement by statement, so that each write passes the gate.
    const char* rest = sql;
    while (rest && *rest) {
        sqlite3_stmt* st = nullptr;
        const char* tail = nullptr;
        if (const int rc = sqlite3_prepare_v2(m_db, rest, -1, &st, &tail); rc != SQLITE_OK) {
            sqlite3_finalize(st);
            return currentError(rc);
        }
        rest = tail;
        if (!st)
            continue;
        if (DbStatus g = passWriteGate(st); !g) {
            sqlite3_finalize(st);
            return g;
        }
        int rc = SQLITE_ROW;
        while (rc == SQLITE_ROW)
            rc = sqlite3_step(st);
        if (rc != SQLITE_DONE) {
            const DbError e = currentError(rc);
            sqlite3_finalize(st);
            return e;
        }
        sqlite3_finalize(st);
    }
    return dbOk();
}

DbResult<Statement> Database::prepare(const char* sql)
{
    if (!m_db)
        return notOpen();
    sqlite3_stmt* st = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(m_db, sql, -1, &st, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(st);
        return currentError(rc);
    }
    // Whatever follows the first statement would silently never run.
    if (tail && *tail) {
        sqlite3_stmt* next = nullptr;
        const int rc2 = sqlite3_prepare_v2(m_db, tail, -1, &next, nullptr);
        sqlite3_finalize(next);
        if (rc2 != SQLITE_OK || next) {
            sqlite3_finalize(st);
            return DbError { QStringLiteral("more than one statement in: %1").arg(QString::fromUtf8(sql)),
                DbCode::Misuse };
        }
    }
    if (!st)
        return DbError { QStringLiteral("no statement in: %1").arg(QString::fromUtf8(sql)), DbCode::Misuse };
    if (DbStatus g = passWriteGate(st); !g) {
        sqlite3_finalize(st);
        return g.error();
    }
    return Statement(m_db, st);
}

DbStatus Database::execute(const char* sql, const QVariantList& values)
{
    DbResult<Statement> st = prepare(sql);
    if (!st)
        return st.error();
    st->bindAll(values);
    return st->run();
}

DbResult<QVariant> Database::scalar(const char* sql, const QVariantList& values)
{
    DbResult<Statement> st = prepare(sql);
    if (!st)
        return st.error();
    st->bindAll(values);
    if (st->next())
        return st->value(0);
    if (st->failed())
        return st->error();
    return QVariant();
}

DbResult<bool> Database::hasTable(const QString& name)
{
    const auto v = scalar(
        "SELECT count(*) FROM sqlite_master WHERE type='table' AND lower(name)=lower(?1);", { name });
    if (!v)
        return v.error();
    return v->toInt() > 0;
}

DbStatus Database::begin()
{
    return exec("BEGIN;");
}

DbStatus Database::commit()
{
    return exec("COMMIT;");
}

bool Database::inTransaction() const
{
    return m_db && !sqlite3_get_autocommit(m_db);
}

void Database::rollback()
{
    if (inTransaction())
        (void)exec("ROLLBACK;");
}

qint64 Database::lastInsertId() const
{
    return m_db ? sqlite3_last_insert_rowid(m_db) : 0;
}

qint64 Database::changeStamp()
{
    if (!m_db)
        return -1;
    const auto schema = scalar("PRAGMA schema_version;");
    return (qint64(schema ? schema->toLongLong() : -1) << 32) + sqlite3_total_changes(m_db);
}

int Database::changes() const
{
    return m_db ? sqlite3_changes(m_db) : 0;
}

// ---------------------------------------------------------------------------

Statement::~Statement()
{
    if (m_st)
        sqlite3_finalize(m_st);
}

Statement::Statement(Statement&& o) noexcept
    : m_db(o.m_db)
    , m_st(o.m_st)
    , m_error(std::move(o.m_error))
{
    o.m_st = nullptr;
}

Statement& Statement::operator=(Statement&& o) noexcept
{
    if (this != &o) {
        if (m_st)
            sqlite3_finalize(m_st);
        m_db = o.m_db;
        m_st = o.m_st;
        m_error = std::move(o.m_error);
        o.m_st = nullptr;
    }
    return *this;
}

void Statement::fail(int rc)
{
    if (failed())
        return;
    m_error = { QString::fromUtf8(m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(rc)), rc & 0xff };
    // errmsg may still describe an earlier call; the code is this one's.
    if (m_db && (sqlite3_errcode(m_db) & 0xff) != (rc & 0xff))
        m_error.text = QString::fromUtf8(sqlite3_errstr(rc));
}

Statement& Statement::bind(int index, const QVariant& value)
{
    if (!m_st)
        return *this;
    int rc = SQLITE_OK;
    if (value.isNull()) {
        rc = sqlite3_bind_null(m_st, index);
    } else {
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::ULongLong:
        case QMetaType::Bool:
            rc = sqlite3_bind_int64(m_st, index, value.toLongLong());
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            rc = sqlite3_bind_double(m_st, index, value.toDouble());
            break;
        case QMetaType::QByteArray: {
            const QByteArray b = value.toByteArray();
            rc = sqlite3_bind_blob64(m_st, index, b.constData(), sqlite3_uint64(b.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray u = value.toString().toUtf8();
            rc = sqlite3_bind_text64(
                m_st, index, u.constData(), sqlite3_uint64(u.size()), SQLITE_TRANSIENT, SQLITE_UTF8);
        }
        }
    }
    if (rc != SQLITE_OK)
        fail(rc);
    return *this;
}

Statement& Statement::bindAll(const QVariantList& values)
{
    for (int i = 0; i < values.size(); ++i)
        bind(i + 1, values.at(i));
    return *this;
}

bool Statement::next()
{
    if (!m_st || failed())
        return false;
    const int rc = sqlite3_step(m_st);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE)
        fail(rc);
    return false;
}

DbStatus Statement::run()
{
    while (next()) { }
    if (failed())
        return m_error;
    if (!m_st)
        return DbError { QStringLiteral("no statement"), DbCode::Misuse };
    return dbOk();
}

void Statement::reset()
{
    m_error = {};
    if (m_st)
        sqlite3_reset(m_st);
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_st, column) == SQLITE_NULL;
}

QString Statement::text(int column) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_st, column));
    return p ? TextRules::fromUtf8(p, sqlite3_column_bytes(m_st, column)) : QString();
}

qint32 Statement::int32(int column) const
{
    return static_cast<qint32>(sqlite3_column_int64(m_st, column));
}

qint64 Statement::int64(int column) const
{
    return sqlite3_column_int64(m_st, column);
}

QVariant Statement::value(int column) const
{
    switch (sqlite3_column_type(m_st, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QVariant::fromValue<qint64>(sqlite3_column_int64(m_st, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(m_st, column);
    case SQLITE_BLOB:
        return QByteArray(
            static_cast<const char*>(sqlite3_column_blob(m_st, column)), sqlite3_column_bytes(m_st, column));
    default:
        return text(column);
    }
}

const char* Statement::utf8(int column, int* bytes) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_st, column));
    *bytes = p ? sqlite3_column_bytes(m_st, column) : 0;
    return p;
}

int Statement::columnCount() const
{
    return m_st ? sqlite3_column_count(m_st) : 0;
}
