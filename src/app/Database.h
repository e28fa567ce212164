#pragma once

#include <QString>
#include <QVariant>

#include <optional>

struct sqlite3;
struct sqlite3_stmt;

// An engine failure as the user sees it: the engine's own (English) text and
// its result code.
struct DbError {
    QString text;
    int code = 0;
    // "text code", the form start-up and every window message uses.
    QString describe() const { return text + QLatin1Char(' ') + QString::number(code); }
};

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
    bool open(const QString& path, const QString& key);
    // Opens (creating if needed) without locking games; for tools and tests.
    bool openPlain(const QString& path);
    void close();
    bool isOpen() const { return m_db != nullptr; }

    // Runs statements that return no rows and take no user values.
    bool exec(const char* sql);
    // Prepares one statement; on failure lastError() tells why.
    Statement prepare(const char* sql);
    // One-shot helpers with bound values.
    bool execute(const char* sql, const QVariantList& values = {});
    std::optional<QVariant> scalar(const char* sql, const QVariantList& values = {});

    bool hasTable(const QString& name);
    bool begin();
    bool commit();
    void rollback();

    qint64 lastInsertId() const;
    // Changes to rows or schema through this connection so far; the only
    // connection to the file, so equal stamps mean an unchanged cookbook.
    qint64 changeStamp();
    int changes() const;
    const DbError& lastError() const { return m_error; }
    void setError(const DbError& e) { m_error = e; }
    sqlite3* handle() const { return m_db; }

    // Page size of the encrypted files the program writes.
    static constexpr int EncryptedPageSize = 4096;

    // True when the file starts with the plain (unencrypted) SQLite header.
    static bool isPlainFile(const QString& path);

private:
    bool openWith(const QString& path, const QString& key, int pageSize);
    void takeError();
    sqlite3* m_db = nullptr;
    DbError m_error;
};

// One prepared statement with bound values. Values are bound from 1.
class Statement {
public:
    Statement() = default;
    Statement(Database* db, sqlite3_stmt* st)
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
    // A null QVariant binds NULL; ints bind as integers; everything else as text.
    Statement& bind(int index, const QVariant& value);
    Statement& bindAll(const QVariantList& values);

    // Advances to the next row; false at the end or on error (see failed()).
    bool next();
    bool failed() const { return m_failed; }
    bool reset();

    bool isNull(int column) const;
    QString text(int column) const;
    qint32 int32(int column) const;
    qint64 int64(int column) const;
    QVariant value(int column) const;
    // Raw UTF-8 view of a text column, valid until the next step.
    const char* utf8(int column, int* bytes) const;
    int columnCount() const;

private:
    Database* m_db = nullptr;
    sqlite3_stmt* m_st = nullptr;
    bool m_failed = false;
};
