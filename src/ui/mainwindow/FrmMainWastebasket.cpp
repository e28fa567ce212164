// The main window's way to the wastebasket: "Ångra radering" (Ctrl+Z) and
// "Papperskorgen…" in the recipe list's context menu, and the purge at start.
#include "core/catalogue/Wastebasket.h"
#include "ui/catalogue/FrmPapperskorg.h"
#include "ui/mainwindow/FrmMain.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>

void FrmMain::addWastebasketEntries()
{
    m_angraRadering = new QAction(QStringLiteral("Ångra radering"), this);
    m_angraRadering->setObjectName(QStringLiteral("mnuAngraRadering"));
    m_angraRadering->setShortcut(QKeySequence::Undo);
    m_angraRadering->setShortcutContext(Qt::WindowShortcut);
    auto* open = new QAction(QStringLiteral("Papperskorgen…"), this);
    open->setObjectName(QStringLiteral("mnuPapperskorgen"));
    connect(m_angraRadering, &QAction::triggered, this, &FrmMain::undoDelete);
    connect(open, &QAction::triggered, m_commands, &MainCommands::openPapperskorg);
    lstRecept->setContextMenuPolicy(Qt::ActionsContextMenu);
    lstRecept->addActions({ m_angraRadering, open });
    // Ctrl+Z anywhere in the window, unless a text field has typing to take back.
    addAction(m_angraRadering);
    for (QWidget* w : findChildren<QWidget*>())
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QComboBox*>(w))
            w->installEventFilter(this);
}

// A text field takes Ctrl+Z for its own undo even with nothing to undo; then
// the key goes to "Ångra radering" instead.
bool FrmMain::undoGoesToWindow(QObject* watched, QEvent* event) const
{
    if (event->type() != QEvent::ShortcutOverride
        || !static_cast<QKeyEvent*>(event)->matches(QKeySequence::Undo))
        return false;
    QObject* editor = watched;
    if (auto* combo = qobject_cast<QComboBox*>(watched))
        editor = combo->lineEdit();
    bool ownUndo = false;
    if (auto* line = qobject_cast<QLineEdit*>(editor))
        ownUndo = !line->isReadOnly() && line->isUndoAvailable();
    else if (auto* text = qobject_cast<QPlainTextEdit*>(editor))
        ownUndo = !text->isReadOnly() && text->document()->isUndoAvailable();
    if (ownUndo)
        return false;
    event->ignore();
    return true;
}

void FrmMain::undoDelete()
{
    m_edit.undoDelete();
    // A category made again for a restored recipe.
    FillNyKategoriList();
}

void FrmMain::recipesRestored(qint32 rid)
{
    m_edit.recipesRestored(rid);
    FillNyKategoriList();
    wastebasketChanged();
}

void FrmMain::wastebasketChanged()
{
    const auto none = Wastebasket::isEmpty(m_ctx.db());
    m_angraRadering->setEnabled(none.ok() && !*none);
    if (auto* w = qobject_cast<FrmPapperskorg*>(m_windows.find(QStringLiteral("frmPapperskorg"))))
        w->fillList();
}

void FrmMain::purgeWastebasket()
{
    if (const auto purged = Wastebasket::purge(m_ctx.db(), QDateTime::currentDateTimeUtc()); !purged)
        showDbError(QStringLiteral("Papperskorgen kunde inte rensas från gamla recept."), purged.error());
    wastebasketChanged();
}
