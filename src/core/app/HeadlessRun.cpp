#include "core/app/HeadlessRun.h"

#include "core/db/Cookbook.h"
#include "core/db/CookbookGuard.h"
#include "core/formats/RecipeTransfer.h"

#include <QDir>
#include <QFileInfo>

namespace HeadlessRun {

namespace {

QString shown(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

int importFiles(Database& db, const QString& pictures, const CommandLine::TaskRequest& task, QTextStream& out,
    QTextStream& err)
{
    int code = Success;
    int total = 0;
    for (const QString& file : task.files) {
        const RecipeTransfer::ImportResult r
            = RecipeTransfer::importFile(db, pictures, file, { task.category, std::nullopt });
        if (!r.ok()) {
            err << r.error << Qt::endl;
            code = Failure;
            continue;
        }
        for (const QString& title : r.titles)
            out << QStringLiteral("Importerat: %1").arg(title) << Qt::endl;
        out << QStringLiteral("%1 recept från %2.").arg(r.added.size()).arg(shown(file)) << Qt::endl;
        total += int(r.added.size());
    }
    if (task.files.size() > 1)
        out << QStringLiteral("Sammanlagt %1 recept importerade.").arg(total) << Qt::endl;
    return code;
}

int exportFile(Database& db, const QString& pictures, const CommandLine::TaskRequest& task, QTextStream& out,
    QTextStream& err)
{
    const RecipeTransfer::Selection chosen = RecipeTransfer::select(db, task.category);
    if (!chosen.error.isEmpty()) {
        err << chosen.error << Qt::endl;
        return Failure;
    }
    const RecipeTransfer::ExportResult r
        = RecipeTransfer::exportRecipes(db, pictures, chosen.rids, task.files.front());
    if (!r.ok()) {
        err << r.error << Qt::endl;
        return Failure;
    }
    out << QStringLiteral("%1 recept exporterade till %2.").arg(r.count).arg(shown(task.files.front()))
        << Qt::endl;
    return Success;
}

// The cookbook opened as a start opens it; false and a message when it cannot be.
bool openCookbook(Database& db, const ProgramPaths& paths, QTextStream& err)
{
    if (const QString error = paths.prepare(); !error.isEmpty()) {
        err << error << Qt::endl;
        return false;
    }
    const QDir folder(paths.programFolder);
    const QString path = folder.filePath(QStringLiteral("dbRcp.mdb"));
    if (!QFileInfo(path).isFile()) {
        err << QStringLiteral("Receptdatabasen dbRcp.mdb finns inte i %1.").arg(shown(paths.programFolder))
            << Qt::endl;
        return false;
    }
    if (!QFileInfo(folder.filePath(QStringLiteral("bilder"))).isDir()
        && !folder.mkdir(QStringLiteral("bilder"))) {
        err << QStringLiteral("Bildmappen %1 kunde inte skapas.")
                   .arg(shown(folder.filePath(QStringLiteral("bilder"))))
            << Qt::endl;
        return false;
    }
    Cookbook::OpenFailure failure;
    if (Cookbook::open(db, path, &failure))
        return true;
    if (failure.stage == Cookbook::Stage::Upgrade)
        err << QStringLiteral("Receptdatabasen kunde inte uppgraderas.");
    else if (failure.error.isBusy())
        err << QStringLiteral("Receptdatabasen används redan av ett annat program, kanske av KROX Gastrid "
                              "som redan är igång. Avsluta det och försök igen.");
    else if (failure.stage == Cookbook::Stage::Check)
        err << QStringLiteral("Receptdatabasen dbRcp.mdb är skadad och kunde inte öppnas. Starta "
                              "programmet för att gå tillbaka till den senaste säkerhetskopian.");
    else
        err << QStringLiteral("Receptdatabasen dbRcp.mdb kunde inte öppnas.");
    err << QStringLiteral("\n") << failure.error.describe() << Qt::endl;
    return false;
}

} // namespace

int run(const CommandLine::TaskRequest& task, const ProgramPaths& paths, QTextStream& out, QTextStream& err)
{
    if (!task.error.isEmpty()) {
        err << task.error << QStringLiteral("\nSkriv %1 --help för att se vad som går.").arg(task.command)
            << Qt::endl;
        return BadArguments;
    }
    if (task.task == CommandLine::Task::Help) {
        out << CommandLine::helpText(task.command) << Qt::flush;
        return Success;
    }
    Database db;
    if (!openCookbook(db, paths, err))
        return Failure;
    const QDir folder(paths.programFolder);
    CookbookGuard guard(db);
    QObject::connect(&guard, &CookbookGuard::backupFailed, &guard, [&err](const QString& reason) {
        err << QStringLiteral("Dagens säkerhetskopia av receptdatabasen kunde inte göras.\n") << reason
            << Qt::endl;
    });
    guard.guard(folder.filePath(QStringLiteral("backup")), Cookbook::DatabaseKey);
    const QString pictures = folder.filePath(QStringLiteral("bilder"));
    const int code = task.task == CommandLine::Task::Import ? importFiles(db, pictures, task, out, err)
                                                            : exportFile(db, pictures, task, out, err);
    guard.release();
    db.close();
    return code;
}

} // namespace HeadlessRun
