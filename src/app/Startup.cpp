#include "app/Startup.h"

#include "app/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace Startup {

namespace {

bool syncPath(const QString& path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

void makeWritable(const QString& path)
{
    QFile f(path);
    const auto perms = f.permissions();
    if (!(perms & QFileDevice::WriteOwner))
        f.setPermissions(perms | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

QString engineMessage(const QString& what, const DbError& e)
{
    return what + QStringLiteral("\n\n") + e.describe();
}

struct TableCount {
    QString name;
    qint64 rows;
};

std::optional<QList<TableCount>> tableCounts(Database& db, const char* schema)
{
    QList<TableCount> out;
    QStringList names;
    {
        const QByteArray sql = QByteArray("SELECT name FROM ") + schema
            + ".sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite_%' ORDER BY name;";
        Statement st = db.prepare(sql.constData());
        if (!st.isValid())
            return std::nullopt;
        while (st.next())
            names << st.text(0);
        if (st.failed())
            return std::nullopt;
    }
    for (const QString& n : names) {
        // Table names come from the file's own schema, quoted as identifiers.
        QString quoted = n;
        quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        const QByteArray sql = QByteArray("SELECT count(*) FROM ") + schema + ".\"" + quoted.toUtf8() + "\";";
        const auto v = db.scalar(sql.constData());
        if (!v)
            return std::nullopt;
        out.append({ n, v->toLongLong() });
    }
    return out;
}

} // namespace

bool upgradeSchema(Database& db, const QString& path, DbError* error)
{
    const QString tmp = path + QStringLiteral(".upgrade");
    QFile::remove(tmp);
    auto fail = [&](const DbError& e) {
        const DbError keep = e;
        if (db.isOpen())
            db.exec("DETACH DATABASE enc;");
        db.close();
        QFile::remove(tmp);
        if (error)
            *error = keep;
        return false;
    };

    const auto before = tableCounts(db, "main");
    if (!before)
        return fail(db.lastError());
    // The connection may not create files, so the empty copy is made here.
    {
        QFile f(tmp);
        if (!f.open(QIODevice::WriteOnly))
            return fail({ f.errorString(), 14 });
    }
    if (!db.execute("ATTACH DATABASE ?1 AS enc KEY ?2;", { tmp, DatabaseKey })
        || !db.exec(
            QByteArray("PRAGMA enc.cipher_page_size=" + QByteArray::number(Database::EncryptedPageSize) + ";")
                .constData()))
        return fail(db.lastError());
    if (!db.exec("SELECT sqlcipher_export('enc');"))
        return fail(db.lastError());
    if (!db.exec("BEGIN;"
                 "CREATE TABLE enc.options (uid INTEGER PRIMARY KEY AUTOINCREMENT, name TEXT, value TEXT);"
                 "CREATE TABLE enc.matsedel (uid INTEGER PRIMARY KEY AUTOINCREMENT, namn TEXT, middag TEXT);"
                 "COMMIT;")) {
        db.rollback();
        return fail(db.lastError());
    }
    // The recipe lists of a large cookbook read these instead of the table.
    if (db.hasTable(QStringLiteral("tblRecept"))
        && !db.exec("CREATE INDEX IF NOT EXISTS enc.idxReceptKategori ON tblRecept(Kategori);"
                    "CREATE INDEX IF NOT EXISTS enc.idxReceptTitel ON tblRecept(Titel);")) {
        db.rollback();
        return fail(db.lastError());
    }
    if (!db.exec("DETACH DATABASE enc;"))
        return fail(db.lastError());
    db.close();

    // The copy must hold every row of the original before it may replace it.
    {
        Database check;
        if (!check.open(tmp, DatabaseKey))
            return fail(check.lastError());
        const auto ic = check.scalar("PRAGMA integrity_check;");
        if (!ic)
            return fail(check.lastError());
        if (ic->toString() != QLatin1String("ok"))
            return fail({ ic->toString(), 11 });
        auto after = tableCounts(check, "main");
        if (!after)
            return fail(check.lastError());
        QList<TableCount> expected = *before;
        expected.append({ QStringLiteral("matsedel"), 0 });
        expected.append({ QStringLiteral("options"), 0 });
        std::sort(expected.begin(), expected.end(),
            [](const TableCount& a, const TableCount& b) { return a.name < b.name; });
        bool same = after->size() == expected.size();
        for (int i = 0; same && i < expected.size(); ++i)
            same = after->at(i).name == expected.at(i).name && after->at(i).rows == expected.at(i).rows;
        if (!same)
            return fail({ QStringLiteral("the encrypted copy does not match the original"), 11 });
    }
    if (!syncPath(tmp))
        return fail({ QStringLiteral("could not flush the encrypted copy to disk"), 10 });
    if (::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(path).constData()) != 0)
        return fail({ QString::fromLocal8Bit(strerror(errno)), 10 });
    syncPath(QFileInfo(path).absolutePath());
    return true;
}

bool openCookbook(AppContext& ctx)
{
    Prompts& prompts = ctx.prompts();
    const QString path = ctx.databasePath();
    if (!QFileInfo(path).isFile()) {
        prompts.message(nullptr, QStringLiteral("Uppgraderingen installerad i fel katalog."));
        return false;
    }
    if (!QFileInfo(ctx.pictureFolder()).isDir()
        && !QDir(ctx.programFolder()).mkdir(QStringLiteral("bilder"))) {
        prompts.message(nullptr, QStringLiteral("Bildmappen %1 kunde inte skapas.").arg(ctx.pictureFolder()),
            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }

    Database& db = ctx.db();
    auto openFailed = [&](const DbError& e) {
        const bool busy = e.code == 5 || e.code == 6;
        prompts.message(nullptr,
            engineMessage(busy ? QStringLiteral("Receptdatabasen används redan av ett annat program, "
                                                "kanske av KROX Gastrid som redan är igång.")
                               : QStringLiteral("Receptdatabasen dbRcp.mdb kunde inte öppnas."),
                e),
            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        db.close();
        return false;
    };

    // Probe: a cookbook without the settings table is upgraded first.
    makeWritable(path);
    if (!db.open(path, DatabaseKey))
        return openFailed(db.lastError());
    const auto hasOptions
        = db.scalar("SELECT count(*) FROM sqlite_master WHERE type='table' AND lower(name)='options';");
    if (!hasOptions)
        return openFailed(db.lastError());
    if (hasOptions->toInt() == 0) {
        DbError e;
        if (!upgradeSchema(db, path, &e)) {
            prompts.message(nullptr,
                engineMessage(QStringLiteral("Receptdatabasen kunde inte uppgraderas."), e),
                Prompts::Buttons::Ok, Prompts::Icon::Critical);
            return false;
        }
    }
    db.close();

    // The connection for the run.
    makeWritable(path);
    if (!db.open(path, DatabaseKey))
        return openFailed(db.lastError());
    if (!Settings::LoadSettings(ctx)) {
        prompts.message(nullptr,
            engineMessage(QStringLiteral("Inställningarna kunde inte läsas."), db.lastError()),
            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        db.close();
        return false;
    }
    return true;
}

void closeCookbook(AppContext& ctx)
{
    if (!ctx.db().isOpen())
        return;
    if (!Settings::storeWindowSize(ctx))
        ctx.prompts().message(nullptr,
            engineMessage(QStringLiteral("Fönsterstorleken kunde inte sparas."), ctx.db().lastError()),
            Prompts::Buttons::Ok, Prompts::Icon::Warning);
    ctx.db().close();
}

void installTranslations(QCoreApplication& app)
{
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* name : { "qt_sv", "qtbase_sv" }) {
        auto* t = new QTranslator(&app);
        if (t->load(QString::fromLatin1(name), dir))
            app.installTranslator(t);
        else
            delete t;
    }
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
}

} // namespace Startup
