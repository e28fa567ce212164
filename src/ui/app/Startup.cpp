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

// The guard's findings reach the user once the step that found them is over.
void watchCookbook(AppContext& ctx)
{
    CookbookGuard& guard = ctx.guard();
    Prompts* prompts = &ctx.prompts();
    QObject::connect(
        &guard, &CookbookGuard::damaged, &guard,
        [prompts](const QString& latest, const QString& finding) {
            const QString backup = latest.isEmpty()
                ? QStringLiteral("Det finns ingen säkerhetskopia att gå tillbaka till.")
                : QStringLiteral(
                    "Den senaste säkerhetskopian är %1. I hjälpen står hur du går tillbaka till den.")
                      .arg(QDir::toNativeSeparators(latest));
            prompts->message(nullptr,
                QStringLiteral(
                    "Receptdatabasen dbRcp.mdb är skadad. Så länge programmet är igång sparas inga "
                    "ändringar i den, så att skadan inte blir värre.\n\n%1\n\n%2")
                    .arg(backup, finding),
                Prompts::Buttons::Ok, Prompts::Icon::Critical);
        },
        Qt::QueuedConnection);
    QObject::connect(
        &guard, &CookbookGuard::backupFailed, &guard,
        [prompts](const QString& reason) {
            prompts->message(nullptr,
                QStringLiteral(
                    "Dagens säkerhetskopia av receptdatabasen kunde inte göras. Programmet fungerar "
                    "som vanligt, men det du ändrar i dag finns inte i någon säkerhetskopia.\n\n%1")
                    .arg(reason),
                Prompts::Buttons::Ok, Prompts::Icon::Warning);
        },
        Qt::QueuedConnection);
    guard.guard(ctx.backupFolder(), Cookbook::DatabaseKey);
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
    // Armed before the settings are read: a missing row written there may be
    // the day's first write.
    watchCookbook(ctx);
    const auto settings = Settings::LoadSettings(db);
    if (!settings) {
        prompts.message(nullptr,
            engineMessage(QStringLiteral("Inställningarna kunde inte läsas."), settings.error()),
            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        ctx.guard().release();
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
    // A damaged cookbook takes no writes; the user knows already.
    if (ctx.guard().isDamaged()) {
        ctx.guard().release();
        ctx.db().close();
        return;
    }
    if (DbStatus s = Settings::storeWindowSize(ctx.db(), ctx.windowWidth, ctx.windowHeight); !s)
        ctx.prompts().message(nullptr,
            engineMessage(QStringLiteral("Fönsterstorleken kunde inte sparas."), s.error()),
            Prompts::Buttons::Ok, Prompts::Icon::Warning);
    ctx.guard().release();
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
