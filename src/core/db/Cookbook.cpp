#include "core/db/Cookbook.h"

#include "core/db/ReplaceFile.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

#include <algorithm>
#include <unistd.h>

namespace Cookbook {

namespace {

void makeWritable(const QString& path)
{
    QFile f(path);
    const auto perms = f.permissions();
    if (!(perms & QFileDevice::WriteOwner))
        f.setPermissions(perms | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

// The engine calls back every so many steps of its program; a long export or
// check then ticks without knowing how far it has come.
class Ticking {
public:
    Ticking(Database& db, const Tick& tick)
        : m_db(db)
    {
        if (tick && db.handle())
            sqlite3_progress_handler(db.handle(), 50000, &Ticking::step, const_cast<Tick*>(&tick));
    }
    ~Ticking()
    {
        if (m_db.handle())
            sqlite3_progress_handler(m_db.handle(), 0, nullptr, nullptr);
    }
    Ticking(const Ticking&) = delete;
    Ticking& operator=(const Ticking&) = delete;

private:
    static int step(void* tick)
    {
        (*static_cast<Tick*>(tick))();
        return 0;
    }
    Database& m_db;
};

struct TableCount {
    QString name;
    qint64 rows;
    bool operator==(const TableCount&) const = default;
};

DbResult<QList<TableCount>> tableCounts(Database& db, const char* schema)
{
    QStringList names;
    {
        // GLOB, not LIKE: the connection's LIKE is the cookbook's own rule,
        // in which % and _ are plain characters.
        const QByteArray sql = QByteArray("SELECT name FROM ") + schema
            + ".sqlite_master WHERE type='table' AND name NOT GLOB 'sqlite_*' ORDER BY name;";
        DbResult<Statement> st = db.prepare(sql.constData());
        if (!st)
            return st.error();
        while (st->next())
            names << st->text(0);
        if (st->failed())
            return st->error();
    }
    QList<TableCount> out;
    for (const QString& n : names) {
        // Table names come from the file's own schema, quoted as identifiers.
        QString quoted = n;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        const QByteArray sql = QByteArray("SELECT count(*) FROM ") + schema + ".\"" + quoted.toUtf8() + "\";";
        const auto v = db.scalar(sql.constData());
        if (!v)
            return v.error();
        out.append({ n, v->toLongLong() });
    }
    return out;
}

// The copy must hold every row of the original, and nothing else but the two
// new empty tables, before it may replace it.
DbStatus checkCopy(const QString& copy, QList<TableCount> expected, const Tick& tick)
{
    Database check;
    if (DbStatus s = check.open(copy, DatabaseKey); !s)
        return s;
    const Ticking ticking(check, tick);
    const auto ic = check.scalar("PRAGMA integrity_check;");
    if (!ic)
        return ic.error();
    if (ic->toString() != QLatin1String("ok"))
        return DbError { ic->toString(), DbCode::Corrupt };
    const auto after = tableCounts(check, "main");
    if (!after)
        return after.error();
    expected.append({ QStringLiteral("matsedel"), 0 });
    expected.append({ QStringLiteral("options"), 0 });
    std::sort(expected.begin(), expected.end(),
        [](const TableCount& a, const TableCount& b) { return a.name < b.name; });
    if (*after != expected)
        return DbError { QStringLiteral("the encrypted copy does not match the original"), DbCode::Corrupt };
    return dbOk();
}

// The whole cookbook into the empty file `tmp`, encrypted, with the two
// settings tables and the list indexes added; the caller undoes a failure.
DbStatus exportEncrypted(Database& db, const QString& tmp)
{
    if (DbStatus s = db.execute("ATTACH DATABASE ?1 AS enc KEY ?2;", { tmp, DatabaseKey }); !s)
        return s;
    const QByteArray pageSize
        = "PRAGMA enc.cipher_page_size=" + QByteArray::number(Database::EncryptedPageSize) + ";";
    if (DbStatus s = db.exec(pageSize.constData()); !s)
        return s;
    if (DbStatus s = db.exec("SELECT sqlcipher_export('enc');"); !s)
        return s;
    if (DbStatus s
        = db.exec("BEGIN;"
                  "CREATE TABLE enc.options (uid INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, value TEXT);"
                  "CREATE TABLE enc.matsedel (uid INTEGER PRIMARY KEY AUTOINCREMENT, namn TEXT, middag TEXT);"
                  "COMMIT;");
        !s)
        return s;
    // The recipe lists of a large cookbook read these instead of the table.
    const auto hasRecipes = db.hasTable(QStringLiteral("tblRecept"));
    if (!hasRecipes.ok())
        return hasRecipes.error();
    if (*hasRecipes) {
        if (DbStatus s = db.exec("CREATE INDEX IF NOT EXISTS enc.idxReceptKategori ON tblRecept(Kategori);"
                                 "CREATE INDEX IF NOT EXISTS enc.idxReceptTitel ON tblRecept(Titel);");
            !s)
            return s;
    }
    return db.exec("DETACH DATABASE enc;");
}

} // namespace

DbStatus upgradeSchema(Database& db, const QString& path,
    const std::function<void(const QString&)>& beforeCheck, const Tick& tick)
{
    const Ticking ticking(db, tick);
    const QString tmp = path + QStringLiteral(".upgrade");
    // What an interrupted upgrade left behind.
    QFile::remove(tmp);
    QFile::remove(tmp + QStringLiteral("-journal"));
    auto fail = [&](const DbError& e) -> DbStatus {
        if (db.isOpen()) {
            db.rollback();
            (void)db.exec("DETACH DATABASE enc;");
        }
        db.close();
        QFile::remove(tmp);
        return e;
    };

    const auto before = tableCounts(db, "main");
    if (!before)
        return fail(before.error());
    // The connection may not create files, so the empty copy is made here,
    // no more open to others than the original.
    QString error;
    const int fd = ReplaceFile::create(tmp, path, &error);
    if (fd < 0)
        return fail({ error, DbCode::CantOpen });
    ::close(fd);
    if (DbStatus s = exportEncrypted(db, tmp); !s)
        return fail(s.error());
    db.close();

    if (beforeCheck)
        beforeCheck(tmp);
    if (DbStatus s = checkCopy(tmp, *before, tick); !s)
        return fail(s.error());
    if (!ReplaceFile::put(tmp, path, &error))
        return fail({ error, DbCode::IoErr });
    return dbOk();
}

DbStatus upgradeFile(const QString& path)
{
    Database own;
    if (DbStatus s = own.open(path, DatabaseKey); !s)
        return s;
    return upgradeSchema(own, path);
}

namespace {

// The upgrade runs on the probe unless `upgrade` is given.
bool openFile(
    Database& db, const QString& path, OpenFailure* failure, const Upgrade& upgrade, const Tick& tick)
{
    auto failed = [&](Stage stage, const DbError& e) {
        db.close();
        if (failure)
            *failure = { stage, e };
        return false;
    };
    // Probe: a cookbook without the settings table is upgraded first.
    makeWritable(path);
    if (DbStatus s = db.open(path, DatabaseKey); !s)
        return failed(Stage::Open, s.error());
    const auto hasOptions
        = db.scalar("SELECT count(*) FROM sqlite_master WHERE type='table' AND lower(name)='options';");
    if (!hasOptions)
        return failed(Stage::Open, hasOptions.error());
    // Damage found now can still be mended from a backup before the run
    // depends on the file.
    const auto quick = db.scalar("PRAGMA quick_check(1);");
    if (!quick)
        return failed(quick.error().isBusy() ? Stage::Open : Stage::Check, quick.error());
    if (quick->toString() != QLatin1String("ok"))
        return failed(Stage::Check, { quick->toString(), DbCode::Corrupt });
    // An upgraded cookbook keeps the probe as the run's connection: the key
    // is derived once per start.
    if (hasOptions->toInt() != 0)
        return true;
    if (upgrade)
        db.close();
    if (DbStatus s = upgrade ? upgrade(path) : upgradeSchema(db, path, {}, tick); !s)
        return failed(Stage::Upgrade, s.error());

    // The connection for the run.
    makeWritable(path);
    if (DbStatus s = db.open(path, DatabaseKey); !s)
        return failed(Stage::Open, s.error());
    return true;
}

} // namespace

bool open(Database& db, const QString& path, OpenFailure* failure, const Tick& tick)
{
    return openFile(db, path, failure, {}, tick);
}

bool openWith(Database& db, const QString& path, OpenFailure* failure, const Upgrade& upgrade)
{
    return openFile(db, path, failure, upgrade, {});
}

} // namespace Cookbook
