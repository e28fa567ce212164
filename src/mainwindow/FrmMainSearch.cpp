// The main window's search panel: modes, the ingredient list, fridge files.
#include "catalogue/RecipeListModel.h"
#include "mainwindow/FrmMain.h"
#include "search/FridgeFile.h"
#include "search/FrmSeekProgress.h"
#include "search/SeekEngine.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QWindow>

#include <memory>

namespace {

enum SeekMode { AnyIngredientMode = 0, CookableMode = 1, FreeTextMode = 2 };

const QString FridgeFilter = QStringLiteral("Kylskåp (*.kyl)|*.kyl");

// Long enough for the bar to move and "Avbryt" to answer at once, short of
// spending the search's time on the event loop.
constexpr qint64 PumpIntervalMs = 50;

bool isEnterRelease(QEvent* event)
{
    if (event->type() != QEvent::KeyRelease)
        return false;
    const auto* k = static_cast<QKeyEvent*>(event);
    return !k->isAutoRepeat() && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter);
}

} // namespace

void FrmMain::connectSearchPanel()
{
    connect(cmbSeek, &QComboBox::currentIndexChanged, this, &FrmMain::seekModeChanged);
    connect(lstSeek, &QListWidget::currentRowChanged, this, &FrmMain::seekEntryChosen);
    // A click on the current entry brings its text back after the box was typed over.
    connect(lstSeek, &QListWidget::itemClicked, this,
        [this](QListWidgetItem* item) { seekEntryChosen(lstSeek->row(item)); });
    for (QWidget* w : std::initializer_list<QWidget*> { txtSeek, txtAddSeek, txtEditIng, lstSeek })
        w->installEventFilter(this);
}

bool FrmMain::searchPanelEvent(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtSeek) {
            // Queued: a mouse press that brought the focus would undo it at once.
            QMetaObject::invokeMethod(txtSeek, &QLineEdit::selectAll, Qt::QueuedConnection);
            makeSeekDefault(cmdButton[5]);
        } else if (watched == txtAddSeek) {
            makeSeekDefault(cmdButton[19]);
        } else if (watched == txtEditIng) {
            makeSeekDefault(cmdButton[11]);
        }
        return false;
    }
    if (isEnterRelease(event)) {
        if (watched == txtSeek) {
            RunSeek();
            return true;
        }
        if (watched == txtAddSeek) {
            AddSeekItem();
            return true;
        }
        if (watched == txtEditIng) {
            EditSeekItem();
            return true;
        }
        return false;
    }
    if (event->type() == QEvent::KeyRelease && watched == lstSeek) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            RemoveSeekItem();
            return true;
        }
    }
    return false;
}

void FrmMain::makeSeekDefault(QPushButton* button)
{
    for (QPushButton* b : cmdButton)
        if (b != button && b->isDefault())
            b->setDefault(false);
    if (button)
        button->setDefault(true);
}

void FrmMain::FillSeekModes()
{
    const QSignalBlocker block(cmbSeek);
    cmbSeek->clear();
    cmbSeek->addItem(QStringLiteral("Innehållande någon av följande ingredienser"));
    cmbSeek->addItem(QStringLiteral("Som kan tillagas med följande ingredienser"));
    cmbSeek->addItem(QStringLiteral("Innhållande valfri text"));
    cmbSeek->setCurrentIndex(AnyIngredientMode);
    txtSeek->hide();
}

void FrmMain::seekModeChanged(int mode)
{
    if (!MainLoaded)
        return;
    cmdButton[5]->setDefault(false);
    if (mode == FreeTextMode) {
        txtSeek->show();
        txtSeek->setText(QStringLiteral("Skriv in ett sökord"));
        txtSeek->setFocus();
    } else {
        txtSeek->hide();
    }
}

void FrmMain::seekEntryChosen(int row)
{
    const QListWidgetItem* item = lstSeek->item(row);
    if (!item)
        return;
    txtEditIng->setText(item->text());
    if (cmbSeek->currentIndex() == FreeTextMode)
        txtSeek->setText(item->text());
}

QStringList FrmMain::seekEntries() const
{
    QStringList entries;
    entries.reserve(lstSeek->count());
    for (int i = 0; i < lstSeek->count(); ++i)
        entries.append(lstSeek->item(i)->text());
    return entries;
}

void FrmMain::RunSeek()
{
    if (m_seeking)
        return;
    // A search replaces what is shown; edits not yet saved go without a question.
    ClearRecept();
    cmdButton[5]->setDefault(false);
    const int mode = cmbSeek->currentIndex();
    if (mode == FreeTextMode ? txtSeek->text().isEmpty() : lstSeek->count() == 0)
        return;

    m_seeking = true;
    m_seekCancelled = false;
    // Disabling the window takes the focus away; it is given back afterwards
    // without making a button the default again.
    const QPointer<QWidget> hadFocus = QApplication::focusWidget();
    QPushButton* const hadDefault = [this]() -> QPushButton* {
        for (QPushButton* b : cmdButton)
            if (b->isDefault())
                return b;
        return nullptr;
    }();
    setEnabled(false);

    SeekEngine::Result result;
    if (mode == FreeTextMode) {
        result = SeekEngine::freeText(m_ctx.db(), txtSeek->text());
    } else {
        // Not a child: a child of the disabled main window could not be used.
        // The window system still keeps it over the main window.
        auto progressWindow = std::make_unique<FrmSeekProgress>(m_ctx);
        FrmSeekProgress* win = progressWindow.get();
        connect(win, &FrmSeekProgress::cancelled, this, [this] { m_seekCancelled = true; });
        win->winId();
        if (QWindow* handle = windowHandle())
            win->windowHandle()->setTransientParent(handle);
        win->move(frameGeometry().center() - win->rect().center());
        ActiveWindowName = win->objectName();
        win->show();

        QElapsedTimer sincePump;
        bool pumped = false;
        const auto progress = [&](int done, int total) {
            // The first row pumps at once: the window shows and a click
            // already waiting is heard.
            if (!pumped || sincePump.elapsed() >= PumpIntervalMs) {
                pumped = true;
                win->setProgress(done, total);
                QCoreApplication::processEvents();
                sincePump.start();
            }
            // Closing the program meanwhile closes the cookbook: stop before
            // another row is read from it.
            return !m_seekCancelled && !m_exited && m_ctx.db().isOpen();
        };
        const auto rule = mode == CookableMode ? SeekEngine::Rule::Cookable : SeekEngine::Rule::AnyIngredient;
        result = SeekEngine::ingredients(
            m_ctx.db(), rule, seekEntries(), progress, m_titleOrder.get(m_ctx.db()));

        progressWindow.reset();
        restoreActiveWindowName();
    }

    setEnabled(true);
    m_seeking = false;
    if (m_exited)
        return;
    if (hadFocus && hadFocus->isVisible() && hadFocus->isEnabled() && hadFocus->window() == this) {
        hadFocus->setFocus();
        makeSeekDefault(hadDefault);
    }

    if (result.error) {
        m_ctx.prompts().message(this,
            QStringLiteral("Sökningen kunde inte genomföras.\n\n") + result.error->describe(),
            Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return;
    }
    const int n = int(result.ids.size());
    {
        const QSignalBlocker block(lstRecept->selectionModel());
        m_receptModel->setRows(std::move(result.ids), std::move(result.titles));
    }
    lblRecept->setText(QStringLiteral("%1 recept").arg(n));
    CurrentRID = 0;
}

void FrmMain::AddSeekItem()
{
    if (txtAddSeek->text().isEmpty())
        return;
    lstSeek->addItem(txtAddSeek->text());
    txtAddSeek->clear();
    txtAddSeek->setFocus();
}

void FrmMain::EditSeekItem()
{
    const QList<QListWidgetItem*> chosen = lstSeek->selectedItems();
    if (txtEditIng->text().isEmpty() || chosen.isEmpty())
        return;
    chosen.first()->setText(txtEditIng->text());
}

void FrmMain::ClearSeekList()
{
    lstSeek->clear();
}

void FrmMain::RemoveSeekItem()
{
    const QList<QListWidgetItem*> chosen = lstSeek->selectedItems();
    if (chosen.isEmpty())
        return;
    delete lstSeek->takeItem(lstSeek->row(chosen.first()));
}

void FrmMain::OpenFridge()
{
    const QString file = m_ctx.prompts().openFileName(
        this, QStringLiteral("Öppna kylskåp"), FridgeFilter, m_ctx.programFolder());
    if (file.isEmpty())
        return;
    const TextFile::ReadResult read = FridgeFile::read(file);
    if (!read.ok) {
        m_ctx.prompts().message(this, read.error, Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return;
    }
    lstSeek->clear();
    lstSeek->addItems(read.lines);
}

void FrmMain::SaveFridge()
{
    const QString file = m_ctx.prompts().saveFileName(
        this, QStringLiteral("Spara kylskåp"), FridgeFilter, m_ctx.programFolder());
    if (file.isEmpty())
        return;
    const TextFile::WriteResult written = FridgeFile::write(file, seekEntries());
    if (written.ok)
        return;
    // The reason for unencodable text does not say which file was spared.
    const QString text = written.unencodable.isEmpty() ? written.error
                                                       : QStringLiteral("Kylskåpet sparades inte i %1.\n\n%2")
                                                             .arg(QFileInfo(file).fileName(), written.error);
    m_ctx.prompts().message(this, text, Prompts::Buttons::Ok, Prompts::Icon::Critical);
}
