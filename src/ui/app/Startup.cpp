#include "ui/app/Startup.h"

#include "core/db/Cookbook.h"
#include "core/settings/Settings.h"
#include "ui/app/DialogTexts.h"
#include "ui/app/FrmUppgradering.h"

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

QString engineMessage(const QString& what, const DbError& e)
{
    return what + QStringLiteral("\n\n") + e.describe();
}

} // namespace

bool openCookbook(AppContext& ctx)
{
    Prompts& prompts = ctx.prompts();
    ctx.programTitle = Settings::ProgramTitle();
    prompts.setDefaultTitle(ctx.programTitle);
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
    Cookbook::OpenFailure failure;
    UpgradeTicker ticker(ctx);
    if (!Cookbook::open(db, path, &failure, [&ticker] { ticker(); })) {
        QString what;
        if (failure.stage == Cookbook::Stage::Upgrade)
            what = QStringLiteral("Receptdatabasen kunde inte uppgraderas.");
        else if (failure.error.isBusy())
            what = QStringLiteral("Receptdatabasen används redan av ett annat program, "
                                  "kanske av KROX Gastrid som redan är igång.");
        else
            what = QStringLiteral("Receptdatabasen dbRcp.mdb kunde inte öppnas.");
        prompts.message(
            nullptr, engineMessage(what, failure.error), Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    const auto settings = Settings::LoadSettings(db);
    if (!settings) {
        prompts.message(nullptr,
            engineMessage(QStringLiteral("Inställningarna kunde inte läsas."), settings.error()),
            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        db.close();
        return false;
    }
    ctx.applySettings(*settings);
    return true;
}

void closeCookbook(AppContext& ctx)
{
    if (!ctx.db().isOpen())
        return;
    if (DbStatus s = Settings::storeWindowSize(ctx.db(), ctx.windowWidth, ctx.windowHeight); !s)
        ctx.prompts().message(nullptr,
            engineMessage(QStringLiteral("Fönsterstorleken kunde inte sparas."), s.error()),
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
    // Searched first, so it fills what the catalogues above leave in English.
    app.installTranslator(new DialogTexts(&app));
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
}

} // namespace Startup
