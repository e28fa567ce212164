#include "ui/app/Startup.h"

#include "core/db/Backup.h"
#include "core/db/Cookbook.h"
#include "core/db/Restore.h"
#include "core/settings/Settings.h"
#include "ui/app/DialogTexts.h"
#include "ui/app/FrmUppgradering.h"

#include <QCoreApplication>
#include <QDateTime>
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

bool openFile(AppContext& ctx, Cookbook::OpenFailure* failure)
{
    const RunState& state = ctx.state();
    return Cookbook::openWith(ctx.db(), ctx.databasePath(), failure,
        [&state](const QString& path) { return Upgrading::run(state, path); });
}

bool isDamage(const Cookbook::OpenFailure& f)
{
    return f.stage == Cookbook::Stage::Check
        || (f.stage == Cookbook::Stage::Open && Restore::isDamage(f.error));
}

QString failureText(const Cookbook::OpenFailure& f)
{
    if (f.stage == Cookbook::Stage::Upgrade)
        return QStringLiteral("Receptdatabasen kunde inte uppgraderas.");
    if (f.error.isBusy())
        return QStringLiteral("Receptdatabasen används redan av ett annat program, "
                              "kanske av KROX Gastrid som redan är igång.");
    if (isDamage(f))
        return QStringLiteral("Receptdatabasen dbRcp.mdb är skadad och kunde inte öppnas.");
    return QStringLiteral("Receptdatabasen dbRcp.mdb kunde inte öppnas.");
}

enum class Offer { NoBackup, Restored, Told };

// Damage that stops the start: the newest backup is offered in its place.
// On "Nej" nothing is touched.
Offer offerBackup(AppContext& ctx, const DbError& error)
{
    Prompts& prompts = ctx.prompts();
    const QString backup = Backup::existing(ctx.backupFolder()).value(0);
    if (backup.isEmpty())
        return Offer::NoBackup;
    const QString path = ctx.databasePath();
    const QString aside = Restore::asideName(path, QDateTime::currentDateTime());
    const QString question = QStringLiteral(
        "Receptdatabasen dbRcp.mdb är skadad och kunde inte öppnas.\n\n"
        "Den senaste säkerhetskopian är %1. Vill du gå tillbaka till den? Den skadade filen tas inte bort "
        "utan sparas som %2. Det du har ändrat efter säkerhetskopian finns bara i den.\n\n%3")
                                 .arg(QDir::toNativeSeparators(backup), QDir::toNativeSeparators(aside),
                                     error.describe());
    if (prompts.message(nullptr, question, Prompts::Buttons::YesNo, Prompts::Icon::Critical)
        != Prompts::Answer::Yes)
        return Offer::Told;
    const Restore::Result r = Restore::fromBackup(path, backup, Cookbook::DatabaseKey, aside);
    if (!r.ok) {
        prompts.message(nullptr,
            QStringLiteral(
                "Säkerhetskopian kunde inte läggas tillbaka. Receptdatabasen är som den var.\n\n%1")
                .arg(r.error),
            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return Offer::Told;
    }
    prompts.message(nullptr,
        QStringLiteral("Receptdatabasen är nu säkerhetskopian %1. Den skadade filen finns kvar som %2.")
            .arg(QDir::toNativeSeparators(backup), QDir::toNativeSeparators(aside)),
        Prompts::Buttons::Ok, Prompts::Icon::Information);
    return Offer::Restored;
}

} // namespace

bool openCookbook(AppContext& ctx)
{
    Prompts& prompts = ctx.prompts();
    ctx.state().setProgramTitle(Settings::ProgramTitle());
    prompts.setDefaultTitle(ctx.state().programTitle());
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
    Cookbook::OpenFailure failure;
    bool opened = openFile(ctx, &failure);
    Offer offer = Offer::NoBackup;
    if (!opened && isDamage(failure)) {
        offer = offerBackup(ctx, failure.error);
        if (offer == Offer::Restored)
            opened = openFile(ctx, &failure);
    }
    if (!opened) {
        QString what = failureText(failure);
        if (offer == Offer::NoBackup && isDamage(failure))
            what += QStringLiteral(" Det finns ingen säkerhetskopia att gå tillbaka till.");
        if (offer != Offer::Told)
            prompts.message(
                nullptr, engineMessage(what, failure.error), Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    Database& db = ctx.db();
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
    ctx.state().applySettings(*settings);
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
    if (DbStatus s
        = Settings::storeWindowSize(ctx.db(), ctx.state().windowWidth(), ctx.state().windowHeight());
        !s)
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
