// The secondary windows the main window's commands open.
#include "ui/catalogue/FrmReceptBild.h"
#include "ui/mainwindow/FrmAbout.h"
#include "ui/mainwindow/FrmMain.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>

void FrmMain::openKategorier() { }

void FrmMain::openUppdatera() { }

void FrmMain::openPrint()
{
    if (markedCount() == 0)
        m_ctx.prompts().message(this, QStringLiteral("Markera ett recept först."));
}

void FrmMain::SendERecept() { }

// Its command is never shown.
void FrmMain::openGuide() { }

void FrmMain::openMatsedel() { }

void FrmMain::openAnpassa() { }

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
    openSecondary(new FrmAbout(m_ctx));
}

void FrmMain::openHelp()
{
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QFileInfo(m_ctx.path(QStringLiteral("Manual/Default.htm"))).absoluteFilePath()));
}
