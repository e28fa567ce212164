#include "app/Database.h"

#include "app/TextRules.h"

#include <QFile>
#include <sqlite3.h>

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

void Database::takeError()
{
    if (m_db)
        m_error = { QString::fromUtf8(sqlite3_errmsg(m_db)), sqlite3_extended_errcode(m_db) & 0xff };
}

bool Database::openPlain(const QString& path)
{
    close();
    const QByteArray p = path.toUtf8();
    const int rc = sqlite3_open_v2(p.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        takeError();
        if (!m_db)
            m_error = { QStringLiteral("out of memory"), rc };
        close();
        return false;
    }
    TextRules::registerOn(m_db);
    return true;
}

bool Database::open(const QString& path, const QString& key)
{
    if (isPlainFile(path))
        return openWith(path, QString(), 0);
    // Our own files use 4096-byte pages; the engine's default is the fallback.
    if (openWith(path, key, EncryptedPageSize))
        return true;
    const DbError first = m_error;
    if (first.code != SQLITE_NOTADB)
        return false;
    if (openWith(path, key, 0))
        return true;
    m_error = first;
    return false;
}

bool Database::openWith(const QString& path, const QString& key, int pageSize)
{
    close();
    const QByteArray p = path.toUtf8();
    // No CREATE: a missing file is an error, never a fresh empty cookbook.
    int rc = sqlite3_open_v2(p.constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        takeError();
        if (!m_db)
            m_error = { QStringLiteral("out of memory"), rc };
        close();
        return false;
    }
    auto fail = [this] {
        const DbError e = m_error;
        close();
        m_error = e;
        return false;
    };
    if (!key.isEmpty()) {
        const QByteArray k = key.toUtf8();
        if (sqlite3_key(m_db, k.constData(), k.size()) != SQLITE_OK) {
            takeError();
            return fail();
        }
        if (pageSize > 0
            && !exec(QByteArray("PRAGMA cipher_page_size=" + QByteArray::number(pageSize) + ";").constData()))
            return fail();
    }
    sqlite3_busy_timeout(m_db, 0);
    // The lock is taken before anything is read and held until close, so a
    // second running copy is refused at its first step.
    if (!exec("PRAGMA locking_mode=EXCLUSIVE;") || !exec("BEGIN EXCLUSIVE;") || !exec("COMMIT;"))
        return fail();
    // Touching the schema proves the key and the file; a damaged or foreign
    // file fails here rather than in the middle of the run.
    if (!exec("SELECT count(*) FROM sqlite_master;"))
        return fail();
    // Decrypted pages stay in memory, so repeated searches read no page twice.
    exec("PRAGMA cache_size=-65536;");
    TextRules::registerOn(m_db);
    return true;
}

void Database::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

bool Database::exec(const char* sql)
{
    if (!m_db) {
        m_error = { QStringLiteral("database is not open"), SQLITE_MISUSE };
        return false;
    }
    char* err = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        m_error = { err ? QString::fromUtf8(err) : QString::fromUtf8(sqlite3_errstr(rc)), rc & 0xff };
        sqlite3_free(err);
        return false;
    }
    return true;
}

Statement Database::prepare(const char* sql)
{
    if (!m_db) {
        m_error = { QStringLiteral("database is not open"), SQLITE_MISUSE };
        return {};
    }
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_db, sql, -1, &st, nullptr) != SQLITE_OK) {
        takeError();
        sqlite3_finalize(st);
        return {};
    }
    return Statement(this, st);
}

bool Database::execute(const char* sql, const QVariantList& values)
{
    Statement st = prepare(sql);
    if (!st.isValid())
        return false;
    st.bindAll(values);
    st.next();
    return !st.failed();
}

std::optional<QVariant> Database::scalar(const char* sql, const QVariantList& values)
{
    Statement st = prepare(sql);
    if (!st.isValid())
        return std::nullopt;
    st.bindAll(values);
    if (st.next())
        return st.value(0);
    if (st.failed())
        return std::nullopt;
    return QVariant();
}

bool Database::hasTable(const QString& name)
{
    const auto v = scalar(
        "SELECT count(*) FROM sqlite_master WHERE type='table' AND lower(name)=lower(?1);", { name });
    return v && v->toInt() > 0;
}

bool Database::begin()
{
    return exec("BEGIN;");
}

bool Database::commit()
{
    return exec("COMMIT;");
}

void Database::rollback()
{
    if (m_db && !sqlite3_get_autocommit(m_db)) {
        const DbError keep = m_error;
        exec("ROLLBACK;");
        m_error = keep;
    }
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
    , m_failed(o.m_failed)
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
        m_failed = o.m_failed;
        o.m_st = nullptr;
    }
    return *this;
}

Statement& Statement::bind(int index, const QVariant& value)
{
    if (!m_st)
        return *this;
    if (value.isNull()) {
        sqlite3_bind_null(m_st, index);
        return *this;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        sqlite3_bind_int64(m_st, index, value.toLongLong());
        break;
    default: {
        const QByteArray u = value.toString().toUtf8();
        sqlite3_bind_text(m_st, index, u.constData(), u.size(), SQLITE_TRANSIENT);
    }
    }
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
    if (!m_st || m_failed)
        return false;
    const int rc = sqlite3_step(m_st);
    if (rc == SQLITE_ROW)
        return true;
    if (rc != SQLITE_DONE) {
        m_failed = true;
        if (m_db) {
            sqlite3* h = sqlite3_db_handle(m_st);
            m_db->setError({ QString::fromUtf8(sqlite3_errmsg(h)), rc & 0xff });
        }
    }
    return false;
}

bool Statement::reset()
{
    m_failed = false;
    return m_st && sqlite3_reset(m_st) == SQLITE_OK;
}

bool Statement::isNull(int column) const
{
    return sqlite3_column_type(m_st, column) == SQLITE_NULL;
}

QString Statement::text(int column) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_st, column));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(m_st, column)) : QString();
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
