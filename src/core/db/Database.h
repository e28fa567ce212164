#pragma once

#include <QString>
#include <QVariant>

#include <functional>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The engine's primary result codes that the program acts on.
namespace DbCode {
constexpr int Error = 1;
constexpr int Busy = 5;
constexpr int Locked = 6;
constexpr int ReadOnly = 8;
constexpr int IoErr = 10;
constexpr int Corrupt = 11;
constexpr int Full = 13;
constexpr int CantOpen = 14;
constexpr int Constraint = 19;
constexpr int Misuse = 21;
constexpr int Range = 25;
constexpr int NotADb = 26;
} // namespace DbCode

// An engine failure as the user sees it: the engine's own (English) text and
// its primary result code.
struct DbError {
    QString text;
    int code = 0;
    // "text code", the form start-up and every window message uses.
    QString describe() const { return text + QLatin1Char(' ') + QString::number(code); }
    // Another running copy (or program) holds the file.
    bool isBusy() const { return code == DbCode::Busy || code == DbCode::Locked; }
};

// A value or the engine failure that prevented it.
template <typename T> class [[nodiscard]] DbResult {
public:
    DbResult(T value)
        : m_v(std::in_place_index<0>, std::move(value))
    {
    }
    DbResult(DbError error)
        : m_v(std::in_place_index<1>, std::move(error))
    {
    }

    bool ok() const { return m_v.index() == 0; }
    // Not for a yes/no answer, where `if (result)` would read as the answer.
    explicit operator bool() const requires(!std::is_same_v<T, bool>) { return ok(); }
    const T& value() const& { return std::get<0>(m_v); }
    T& value() & { return std::get<0>(m_v); }
    T&& value() && { return std::get<0>(std::move(m_v)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }
    const DbError& error() const { return std::get<1>(m_v); }

private:
    std::variant<T, DbError> m_v;
};

struct DbOk { };
// Success or the engine failure.
using DbStatus = DbResult<DbOk>;
inline DbStatus dbOk()
{
    return DbOk {};
}

class Statement;

// The one connection of a run. Not copyable; closes on destruction.
class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing file read-write and takes the exclusive lock at once.
    // An encrypted file is keyed with `key`; a plain file opens without a key.
    [[nodiscard]] DbStatus open(const QString& path, const QString& key);
    // Opens (creating if needed) without locking games; for tools and tests.
    [[nodiscard]] DbStatus openPlain(const QString& path);
    void close();
    bool isOpen() const { return m_db != nullptr; }

    // Runs a script of statements that take no values (schema, pragmas).
    [[nodiscard]] DbStatus exec(const char* sql);
    // Prepares exactly one statement: text after it is refused, never ignored.
    [[nodiscard]] DbResult<Statement> prepare(const char* sql);
    // One statement with bound values, run to its end.
    [[nodiscard]] DbStatus execute(const char* sql, const QVariantList& values = {});
    // The first column of the first row; a null QVariant when there is no row.
    [[nodiscard]] DbResult<QVariant> scalar(const char* sql, const QVariantList& values = {});

    [[nodiscard]] DbResult<bool> hasTable(const QString& name);
    [[nodiscard]] DbStatus begin();
    [[nodiscard]] DbStatus commit();
    // Undoes an open transaction; nothing when none is open.
    void rollback();
    bool inTransaction() const;

    // Asked before every statement that would change the file; a failure
    // refuses the statement with that error. Empty: every write goes ahead.
    using WriteGate = std::function<DbStatus()>;
    void setWriteGate(WriteGate gate) { m_writeGate = std::move(gate); }
    // Opened with a key (an encrypted file).
    bool isEncrypted() const { return m_encrypted; }

    qint64 lastInsertId() const;
    // Changes to rows or schema through this connection so far; the only
    // connection to the file, so equal stamps mean an unchanged cookbook.
    qint64 changeStamp();
    // Rows changed by the last statement.
    int changes() const;
    sqlite3* handle() const { return m_db; }
    // Counts the opens, so that what was read through an earlier connection
    // can tell it is stale.
    quint64 generation() const { return m_generation; }

    // Told of every row inserted, updated or deleted through this connection
    // from now on, with its table and row number. Not told of schema changes
    // or of a DELETE without WHERE; watch changeStamp() for those.
    using RowObserver = std::function<void(const char* table, qint64 rowid)>;
    void observeRows(const void* owner, RowObserver observer);
    void stopObservingRows(const void* owner);

    // Page size of the encrypted files the program writes.
    static constexpr int EncryptedPageSize = 4096;

    // True when the file starts with the plain (unencrypted) SQLite header.
    static bool isPlainFile(const QString& path);

private:
    DbStatus openWith(const QString& path, const QString& key, int pageSize);
    DbError currentError(int rc) const;
    void opened();
    static void rowChanged(void* self, int op, const char* dbName, const char* table, qint64 rowid);
    DbStatus passWriteGate(sqlite3_stmt* st);
    sqlite3* m_db = nullptr;
    quint64 m_generation = 0;
    std::vector<std::pair<const void*, RowObserver>> m_rowObservers;
    bool m_encrypted = false;
    WriteGate m_writeGate;
};

// One prepared statement with bound values. Values are bound from 1; a bind
// that the engine refuses makes the next step fail with its error.
class Statement {
public:
    Statement() = default;
    Statement(sqlite3* db, sqlite3_stmt* st)
        : m_db(db)
        , m_st(st)
    {
    }
    ~Statement();
    Statement(Statement&& o) noexcept;
    Statement& operator=(Statement&& o) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool isValid() const { return m_st != nullptr; }
    // Null binds NULL; integers and booleans bind as integers, doubles as
    // reals, byte arrays as blobs, everything else as text.
    Statement& bind(int index, const QVariant& value);
    Statement& bindAll(const QVariantList& values);

    // Advances to the next row; false at the end or on error (see failed()).
    bool next();
    bool failed() const { return m_error.code != 0; }
    const DbError& error() const { return m_error; }
    // Runs to the end; the error of the first failing step or bind.
    [[nodiscard]] DbStatus run();
    // Ready to bind and run again; bindings are kept until bound anew.
    void reset();

    bool isNull(int column) const;
    QString text(int column) const;
    qint32 int32(int column) const;
    qint64 int64(int column) const;
    QVariant value(int column) const;
    // Raw UTF-8 view of a text column, valid until the next step.
    const char* utf8(int column, int* bytes) const;
    int columnCount() const;

private:
    void fail(int rc);
    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_st = nullptr;
    DbError m_error;
};
