// What the main window's commands do, and the secondary windows they open.
#include "ui/mainwindow/MainCommands.h"

#include "core/exchange/EReceptText.h"
#include "core/exchange/MailSettings.h"
#include "ui/appearance/FrmAnpassa.h"
#include "ui/catalogue/FrmKategorier.h"
#include "ui/catalogue/FrmPapperskorg.h"
#include "ui/catalogue/FrmReceptBild.h"
#include "ui/exchange/FrmERecept.h"
#include "ui/exchange/FrmEReceptInfo.h"
#include "ui/guide/FrmGuide.h"
#include "ui/mainwindow/FrmAbout.h"
#include "ui/mainwindow/FrmMain.h"
#include "ui/mainwindow/SearchPanel.h"
#include "ui/menu/FrmMatsedel.h"
#include "ui/online/FrmDownloadUpdate.h"
#include "ui/online/FrmUppdatera.h"
#include "ui/print/FrmPrint.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {

// Captions of the command buttons, by index.
const char* const ButtonCaptions[CmdCount] = {
    "&Nytt recept",
    "&Radera",
    "&Kategorier",
    "&Uppdatera",
    "Skri&v ut",
    "Sök",
    "&E-Recept",
    "Skapa &web",
    "Verk&tyg",
    "&Spara",
    "&Avbryt",
    "Spara ing.",
    "Lägg till ing.",
    "&Öppna",
    "&Spara",
    "&Återställ",
    "&Hälsoguide",
    "&Matsedel",
    "&Inställningar",
    "Lägg till",
    "&Anpassa",
    "&Bild",
};

const char* const KroxCaptions[KroxCount] = { "&Om", "&Hjälp", "Avsluta" };

} // namespace

MainCommands::MainCommands(AppContext& ctx, FrmMain& main, SecondaryWindows& windows)
    : QObject(&main)
    , m_ctx(ctx)
    , m_main(main)
    , m_windows(windows)
{
    SearchPanel& s = main.searchPanel();
    // Skapa web, Verktyg and Inställningar do nothing.
    const std::pair<Cmd, std::function<void()>> actions[] = {
        { Cmd::NyttRecept, [&main] { main.BeginNyttRecept(); } },
        { Cmd::Radera, [&main] { main.DeleteRecept(); } },
        { Cmd::Kategorier, [this] { openKategorier(); } },
        { Cmd::Uppdatera, [this] { openUppdatera(); } },
        { Cmd::SkrivUt, [this] { openPrint(); } },
        { Cmd::Sok, [&main] { main.RunSeek(); } },
        { Cmd::ERecept, [this] { SendERecept(); } },
        { Cmd::Spara, [&main] { main.SaveNyttRecept(); } },
        { Cmd::Avbryt, [&main] { main.cancelNyttRecept(); } },
        { Cmd::SparaIng, [&s] { s.EditSeekItem(); } },
        { Cmd::LaggTillIng, [&s] { s.AddSeekItem(); } },
        { Cmd::OppnaKyl, [&s] { s.OpenFridge(); } },
        { Cmd::SparaKyl, [&s] { s.SaveFridge(); } },
        { Cmd::AterstallKyl, [&s] { s.ClearSeekList(); } },
        { Cmd::Halsoguide, [this] { openGuide(); } },
        { Cmd::Matsedel, [this] { openMatsedel(); } },
        { Cmd::LaggTill, [&s] { s.AddSeekItem(); } },
        { Cmd::Anpassa, [this] { openAnpassa(); } },
        { Cmd::Bild, [this] { openPictureWindow(); } },
    };
    for (const auto& [c, action] : actions)
        m_actions[index(c)] = action;
}

QString MainCommands::caption(Cmd c)
{
    return QString::fromUtf8(ButtonCaptions[index(c)]);
}

QString MainCommands::caption(Krox k)
{
    return QString::fromUtf8(KroxCaptions[index(k)]);
}

void MainCommands::run(Cmd c)
{
    if (const auto& action = m_actions[index(c)])
        action();
}

void MainCommands::run(Krox k)
{
    switch (k) {
    case Krox::Om:
        openAbout();
        break;
    case Krox::Hjalp:
        openHelp();
        break;
    case Krox::Avsluta:
        m_main.close();
        break;
    }
}

bool MainCommands::anyMarked()
{
    if (m_main.markedCount() > 0)
        return true;
    m_ctx.prompts().message(&m_main, QStringLiteral("Markera ett recept först."));
    return false;
}

bool MainCommands::bringToFront(const QString& name)
{
    QWidget* open = m_windows.find(name);
    // A closed one may still wait for its deletion.
    if (!open || !open->isVisible())
        return false;
    open->raise();
    open->activateWindow();
    return true;
}

void MainCommands::openKategorier()
{
    // One category window at a time.
    if (bringToFront(QStringLiteral("frmKategorier")))
        return;
    auto* w = new FrmKategorier(m_ctx.db(), m_ctx.prompts(), m_ctx.state());
    connect(w, &FrmKategorier::categoriesChanged, this, [this] { m_kategorierChanged = true; });
    // Once a category has changed, every later closing refills, for the rest of the run.
    connect(w, &FrmKategorier::closed, this, [this] {
        if (m_kategorierChanged && !m_main.hasExited())
            m_main.categoriesChanged();
    });
    m_windows.open(w);
}

void MainCommands::openPapperskorg()
{
    if (bringToFront(QStringLiteral("frmPapperskorg")))
        return;
    auto* w = new FrmPapperskorg(m_ctx);
    connect(w, &FrmPapperskorg::restored, &m_main, &FrmMain::recipesRestored);
    connect(w, &FrmPapperskorg::emptied, &m_main, &FrmMain::wastebasketChanged);
    m_windows.open(w);
}

void MainCommands::openUppdatera()
{
    if (bringToFront(QStringLiteral("frmUppdatera")))
        return;
    auto* w = new FrmUppdatera(m_ctx.db(), m_ctx.prompts(), m_ctx.paths(), m_ctx.state());
    connect(w, &FrmUppdatera::receptImported, &m_main, &FrmMain::showNewestRecipes);
    connect(w, &FrmUppdatera::updateOffered, this, [this](const QUrl& base, const UpdateInfo::Offer& offer) {
        m_windows.open(new FrmDownloadUpdate(m_ctx.prompts(), m_ctx.paths(), m_ctx.state(), base, offer,
            [this](
                const std::function<bool()>& startInstaller) { return m_main.ExitProgram(startInstaller); }));
    });
    m_windows.open(w);
}

void MainCommands::openPrint()
{
    if (anyMarked())
        m_windows.open(new FrmPrint(m_ctx.db(), m_ctx.prompts(), m_ctx.paths(), m_ctx.state(),
            [this] { return m_main.currentListRid(); }));
}

void MainCommands::SendERecept()
{
    if (!anyMarked())
        return;
    if (m_main.markedCount() > EReceptText::MaxRecipes) {
        m_ctx.prompts().message(
            &m_main, QStringLiteral("Funktionen är begränsad till max 20 recept åt gången."));
        return;
    }
    auto* mail = qobject_cast<FrmERecept*>(m_windows.find(QStringLiteral("frmERecept")));
    // A closed one may still wait for its deletion.
    if (mail && !mail->isVisible())
        mail = nullptr;
    QString error;
    const std::optional<MailSettings> settings
        = MailSettings::read(m_ctx.path(QStringLiteral("er.txt")), &error);
    if (!error.isEmpty())
        m_ctx.prompts().message(&m_main, error, Prompts::Buttons::Ok, Prompts::Icon::Warning);
    if (!settings) {
        if (bringToFront(QStringLiteral("frmEReceptInfo")))
            return;
        // Once saved, the user gives the command again.
        auto* info = new FrmEReceptInfo(m_ctx.prompts(), m_ctx.paths(), m_ctx.state(), std::nullopt);
        if (mail)
            connect(info, &FrmEReceptInfo::saved, mail, &FrmERecept::applySettings);
        m_windows.open(info);
        return;
    }
    DbResult<QString> text = EReceptText::BuildEReceptText(m_ctx.db(), m_main.markedRids());
    if (!text) {
        m_ctx.prompts().message(&m_main,
            QStringLiteral("E-receptet kunde inte skapas.\n\n") + text.error().describe(),
            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return;
    }
    // One mail window: a second command fills the open one anew.
    if (mail) {
        mail->applySettings(*settings);
        mail->setMessage(*text);
        mail->raise();
        mail->activateWindow();
        return;
    }
    mail = new FrmERecept(
        m_ctx.prompts(), m_ctx.paths(), m_ctx.state(), *settings, [this](QWidget* w) { m_windows.open(w); });
    mail->setMessage(*text);
    m_windows.open(mail);
}

// Its command is never shown. While the guide is in use the main window
// steps aside, and it comes back when the guide closes.
void MainCommands::openGuide()
{
    auto* w = new FrmGuide(m_ctx.db(), m_ctx.prompts(), m_ctx.state());
    connect(w, &FrmGuide::activated, &m_main, &QWidget::hide);
    connect(w, &FrmGuide::closed, this, [this] {
        if (!m_main.hasExited())
            m_main.show();
    });
    m_windows.open(w);
}

void MainCommands::openMatsedel()
{
    // One menu window: a second would share its current meal.
    if (bringToFront(QStringLiteral("frmMatsedel")))
        return;
    auto* w = new FrmMatsedel(m_ctx.db(), m_ctx.prompts(), m_ctx.paths(), m_ctx.state(),
        [this] { return m_main.searchPanel().entries(); }, [this](QWidget* w) { m_windows.open(w); });
    // The week on show follows a rename as the saved weeks do.
    connect(&m_main, &FrmMain::recipeRenamed, w, &FrmMatsedel::followTitle);
    m_windows.open(w);
}

void MainCommands::openAnpassa()
{
    if (bringToFront(QStringLiteral("frmAnpassa")))
        return;
    m_windows.open(new FrmAnpassa(m_ctx.db(), m_ctx.prompts(), m_ctx.state()));
}

void MainCommands::openPictureWindow()
{
    if (!anyMarked())
        return;
    auto* w = new FrmReceptBild(
        m_ctx.prompts(), m_ctx.paths(), m_ctx.state(), [this] { return m_main.currentListRid(); });
    connect(w, &FrmReceptBild::pictureChanged, &m_main, &FrmMain::pictureChanged);
    m_windows.open(w);
}

void MainCommands::openAbout()
{
    if (bringToFront(QStringLiteral("frmAbout")))
        return;
    m_windows.open(new FrmAbout(m_ctx.state()));
}

void MainCommands::openHelp()
{
    const QString manual = QFileInfo(m_ctx.manualPath()).absoluteFilePath();
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(manual)))
        return;
    // Nothing could show the page; the user can still open the file by hand.
    m_ctx.prompts().message(&m_main,
        QStringLiteral("Hjälpen kunde inte visas, eftersom ingen webbläsare kunde startas.\n\n"
                       "Handboken finns i filen %1")
            .arg(QDir::toNativeSeparators(manual)),
        Prompts::Buttons::Ok, Prompts::Icon::Information);
}
