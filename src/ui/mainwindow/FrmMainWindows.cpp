// The secondary windows the main window's commands open.
#include "core/exchange/EReceptText.h"
#include "core/exchange/MailSettings.h"
#include "ui/appearance/FrmAnpassa.h"
#include "ui/catalogue/FrmKategorier.h"
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

#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>

bool FrmMain::bringToFront(const QString& name)
{
    QWidget* open = m_windows.find(name);
    // A closed one may still wait for its deletion.
    if (!open || !open->isVisible())
        return false;
    open->raise();
    open->activateWindow();
    return true;
}

void FrmMain::openKategorier()
{
    // One category window at a time.
    if (bringToFront(QStringLiteral("frmKategorier")))
        return;
    auto* w = new FrmKategorier(m_ctx);
    connect(w, &FrmKategorier::categoriesChanged, this, [this] { m_kategorierChanged = true; });
    // Once a category has changed, every later closing refills, for the rest of the run.
    connect(w, &FrmKategorier::closed, this, [this] {
        if (!m_kategorierChanged || m_exited)
            return;
        if (!m_nyttReceptMode) {
            FillKategoriList();
            FillNyKategoriList();
            return;
        }
        // A new recipe being typed keeps its text and its chosen category;
        // the filter follows when new-recipe mode ends.
        const qint32 chosen = m_nyKategoriIds.value(cmbNyttRecept->currentIndex(), -1);
        FillNyKategoriList();
        cmbNyttRecept->setCurrentIndex(chosen < 0 ? -1 : int(m_nyKategoriIds.indexOf(chosen)));
    });
    openSecondary(w);
}

void FrmMain::openUppdatera()
{
    if (bringToFront(QStringLiteral("frmUppdatera")))
        return;
    auto* w = new FrmUppdatera(m_ctx);
    connect(w, &FrmUppdatera::receptImported, this, &FrmMain::showNewestRecipes);
    connect(w, &FrmUppdatera::updateOffered, this, [this](const QUrl& base, const UpdateInfo::Offer& offer) {
        openSecondary(new FrmDownloadUpdate(m_ctx, base, offer,
            [this](const std::function<bool()>& startInstaller) { return ExitProgram(startInstaller); }));
    });
    openSecondary(w);
}

void FrmMain::openPrint()
{
    if (markedCount() == 0) {
        m_ctx.prompts().message(this, QStringLiteral("Markera ett recept först."));
        return;
    }
    openSecondary(new FrmPrint(m_ctx, [this] { return currentListRid(); }));
}

void FrmMain::SendERecept()
{
    const int marked = markedCount();
    if (marked == 0) {
        m_ctx.prompts().message(this, QStringLiteral("Markera ett recept först."));
        return;
    }
    if (marked > EReceptText::MaxRecipes) {
        m_ctx.prompts().message(
            this, QStringLiteral("Funktionen är begränsad till max 20 recept åt gången."));
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
        m_ctx.prompts().message(this, error, Prompts::Buttons::Ok, Prompts::Icon::Warning);
    if (!settings) {
        if (bringToFront(QStringLiteral("frmEReceptInfo")))
            return;
        // Once saved, the user gives the command again.
        auto* info = new FrmEReceptInfo(m_ctx, std::nullopt);
        if (mail)
            connect(info, &FrmEReceptInfo::saved, mail, &FrmERecept::applySettings);
        openSecondary(info);
        return;
    }
    DbResult<QString> text = EReceptText::BuildEReceptText(m_ctx.db(), markedRids());
    if (!text) {
        showDbError(QStringLiteral("E-receptet kunde inte skapas."), text.error());
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
    mail = new FrmERecept(m_ctx, *settings, [this](QWidget* w) { openSecondary(w); });
    mail->setMessage(*text);
    openSecondary(mail);
}

// Its command is never shown. While the guide is in use the main window
// steps aside, and it comes back when the guide closes.
void FrmMain::openGuide()
{
    auto* w = new FrmGuide(m_ctx);
    connect(w, &FrmGuide::activated, this, &QWidget::hide);
    connect(w, &FrmGuide::closed, this, [this] {
        if (!m_exited)
            show();
    });
    openSecondary(w);
}

void FrmMain::openMatsedel()
{
    // One menu window: a second would share its current meal.
    if (bringToFront(QStringLiteral("frmMatsedel")))
        return;
    openSecondary(new FrmMatsedel(
        m_ctx, [this] { return searchPanel().entries(); }, [this](QWidget* w) { openSecondary(w); }));
}

void FrmMain::openAnpassa()
{
    if (bringToFront(QStringLiteral("frmAnpassa")))
        return;
    openSecondary(new FrmAnpassa(m_ctx));
}

void FrmMain::openPictureWindow()
{
    if (markedCount() == 0) {
        m_ctx.prompts().message(this, QStringLiteral("Markera ett recept först."));
        return;
    }
    auto* w = new FrmReceptBild(m_ctx, [this] { return currentListRid(); });
    connect(w, &FrmReceptBild::pictureChanged, this, [this](qint32 rid) {
        if (rid == m_currentRid)
            updatePictureButton();
    });
    openSecondary(w);
}

void FrmMain::openAbout()
{
    if (bringToFront(QStringLiteral("frmAbout")))
        return;
    openSecondary(new FrmAbout(m_ctx));
}

void FrmMain::openHelp()
{
    const QString manual = QFileInfo(m_ctx.manualPath()).absoluteFilePath();
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(manual)))
        return;
    // Nothing could show the page; the user can still open the file by hand.
    m_ctx.prompts().message(this,
        QStringLiteral("Hjälpen kunde inte visas, eftersom ingen webbläsare kunde startas.\n\n"
                       "Handboken finns i filen %1")
            .arg(QDir::toNativeSeparators(manual)),
        Prompts::Buttons::Ok, Prompts::Icon::Information);
}
