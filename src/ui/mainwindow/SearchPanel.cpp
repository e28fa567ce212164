#include "ui/mainwindow/SearchPanel.h"

#include "core/app/ProgramPaths.h"
#include "core/db/Database.h"
#include "core/text/FridgeFile.h"
#include "ui/app/Controls.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"
#include "ui/mainwindow/SecondaryWindows.h"
#include "ui/search/FrmSeekProgress.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QWindow>

#include <algorithm>
#include <climits>
#include <memory>
#include <utility>

using Controls::label;
using Controls::make;

namespace {

const QString FridgeFilter = QStringLiteral("Kylskåp (*.kyl)|*.kyl");

// Recipes read per turn of the event loop, while the program waits and while
// a search reads what it lacks.
constexpr int KeepSlice = 2000;
// Up to this many recipes a search takes milliseconds: it runs at once.
constexpr int AtOnceLimit = 5000;

bool isEnterRelease(QEvent* event)
{
    if (event->type() != QEvent::KeyRelease)
        return false;
    const auto* k = static_cast<QKeyEvent*>(event);
    return !k->isAutoRepeat() && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter);
}

} // namespace

SearchPanel::SearchPanel(Database& db, Prompts& prompts, const ProgramPaths& paths, const RunState& state,
    QWidget* host, SecondaryWindows& windows, Buttons buttons)
    : QObject(host)
    , m_db(db)
    , m_prompts(prompts)
    , m_paths(paths)
    , m_state(state)
    , m_host(host)
    , m_windows(windows)
    , m_buttons(buttons)
    , m_kept(db)
{
    m_keeping.setInterval(0);
    m_reading.setInterval(0);
    connect(&m_reading, &QTimer::timeout, this, &SearchPanel::readSlice);
    connect(&m_job, &BackgroundJob::finished, this, &SearchPanel::testsDone);
    connect(&m_keeping, &QTimer::timeout, this, [this] {
        // A slice short enough not to be felt; a failure is left for the
        // search to report.
        const auto done = m_kept.readSome(KeepSlice);
        if (!done.ok() || done.value() || !m_db.isOpen())
            m_keeping.stop();
    });
    lblSeek = label(host, QStringLiteral("lblSeek"), QStringLiteral("Sök recept..."), 557, 160, 233);
    cmbSeek = make<QComboBox>(host, QStringLiteral("cmbSeek"), 557, 176, 233, 21);
    txtAddSeek = make<QLineEdit>(host, QStringLiteral("txtAddSeek"), 557, 200, 153, 19);
    lstSeek = make<QListWidget>(host, QStringLiteral("lstSeek"), 557, 224, 233, 173);
    lblKylskap = label(host, QStringLiteral("lblKylskap"), QStringLiteral("Kylskåpet..."), 557, 408, 233);
    txtEditIng = make<QLineEdit>(host, QStringLiteral("txtEditIng"), 557, 456, 153, 19);
    txtSeek = make<QLineEdit>(host, QStringLiteral("txtSeek"), 557, 480, 153, 19);
    txtSeek->hide();
    txtAddIng = make<QLineEdit>(host, QStringLiteral("txtAddIng"), 5, 528, 153, 19);
    txtAddIng->hide();

    connect(cmbSeek, &QComboBox::currentIndexChanged, this, &SearchPanel::modeChanged);
    connect(lstSeek, &QListWidget::currentRowChanged, this, &SearchPanel::entryChosen);
    // A click on the current entry brings its text back after the box was typed over.
    connect(lstSeek, &QListWidget::itemClicked, this,
        [this](QListWidgetItem* item) { entryChosen(lstSeek->row(item)); });
    for (QWidget* w : std::initializer_list<QWidget*> { txtSeek, txtAddSeek, txtEditIng, lstSeek })
        w->installEventFilter(this);
}

SearchPanel::~SearchPanel() = default;

QList<QWidget*> SearchPanel::browsingControls() const
{
    return { cmbSeek, lblSeek, lstSeek, txtAddIng, txtEditIng, txtSeek, lblKylskap, txtAddSeek };
}

void SearchPanel::showBrowsingControls()
{
    for (QWidget* w :
        std::initializer_list<QWidget*> { cmbSeek, lblSeek, lstSeek, txtEditIng, txtAddSeek, lblKylskap })
        w->show();
    txtSeek->setVisible(cmbSeek->currentIndex() == FreeTextMode);
}

bool SearchPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        if (watched == txtSeek) {
            // Queued: a mouse press that brought the focus would undo it at once.
            QMetaObject::invokeMethod(txtSeek, &QLineEdit::selectAll, Qt::QueuedConnection);
            makeDefault(m_buttons.seek);
        } else if (watched == txtAddSeek) {
            makeDefault(m_buttons.add);
        } else if (watched == txtEditIng) {
            makeDefault(m_buttons.edit);
        }
        return false;
    }
    if (isEnterRelease(event)) {
        if (watched == txtSeek) {
            emit seekRequested();
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

QPushButton* SearchPanel::currentDefault() const
{
    for (QPushButton* b : m_host->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        if (b->isDefault())
            return b;
    return nullptr;
}

void SearchPanel::makeDefault(QPushButton* button)
{
    for (QPushButton* b : m_host->findChildren<QPushButton*>(Qt::FindDirectChildrenOnly))
        if (b != button && b->isDefault())
            b->setDefault(false);
    if (button)
        button->setDefault(true);
}

void SearchPanel::FillSeekModes()
{
    const QSignalBlocker block(cmbSeek);
    cmbSeek->clear();
    cmbSeek->addItem(QStringLiteral("Innehållande någon av följande ingredienser"));
    cmbSeek->addItem(QStringLiteral("Som kan tillagas med följande ingredienser"));
    cmbSeek->addItem(QStringLiteral("Innhållande valfri text"));
    cmbSeek->addItem(QStringLiteral("Som kan tillagas om en ingrediens köps"));
    cmbSeek->setCurrentIndex(AnyIngredientMode);
    txtSeek->hide();
}

int SearchPanel::mode() const
{
    return cmbSeek->currentIndex();
}

void SearchPanel::modeChanged(int mode)
{
    m_buttons.seek->setDefault(false);
    if (mode == FreeTextMode) {
        txtSeek->show();
        txtSeek->setText(QStringLiteral("Skriv in ett sökord"));
        txtSeek->setFocus();
    } else {
        txtSeek->hide();
    }
}

void SearchPanel::entryChosen(int row)
{
    const QListWidgetItem* item = lstSeek->item(row);
    if (!item)
        return;
    txtEditIng->setText(item->text());
    if (cmbSeek->currentIndex() == FreeTextMode)
        txtSeek->setText(item->text());
}

QStringList SearchPanel::entries() const
{
    QStringList out;
    out.reserve(lstSeek->count());
    for (int i = 0; i < lstSeek->count(); ++i)
        out.append(lstSeek->item(i)->text());
    return out;
}

void SearchPanel::keepTextMeanwhile()
{
    m_keeping.start();
}

// Not a child: a child of the disabled main window could not be used.
// The window system still keeps it over the main window.
void SearchPanel::showProgress()
{
    m_progress = std::make_unique<FrmSeekProgress>(m_state);
    FrmSeekProgress* win = m_progress.get();
    connect(win, &FrmSeekProgress::cancelled, this, [this] {
        m_stopAsked = true;
        m_job.requestStop();
    });
    connect(&m_job, &BackgroundJob::progress, win, &FrmSeekProgress::setProgress);
    win->winId();
    if (QWindow* handle = m_host->windowHandle())
        win->windowHandle()->setTransientParent(handle);
    win->move(m_host->frameGeometry().center() - win->rect().center());
    m_windows.setActiveName(win->objectName());
    win->show();
}

bool SearchPanel::search(Catalogue::TitleOrder& order)
{
    if (isSeeking())
        return false;
    m_buttons.seek->setDefault(false);
    const int chosen = mode();
    if (chosen == FreeTextMode ? txtSeek->text().isEmpty() : lstSeek->count() == 0)
        return false;
    // The search reads on where the waiting left off; both at once would not do.
    m_keeping.stop();
    if (chosen == FreeTextMode) {
        emit searchDone(SeekEngine::freeText(m_kept, order, txtSeek->text()));
        return true;
    }

    if (searchAtOnce(chosen, order))
        return true;

    m_order = &order;
    m_mode = chosen;
    m_entries = entries();
    m_stopAsked = false;
    m_total = 0;
    // Disabling the window takes the focus away; it is given back afterwards
    // without making a button the default again.
    m_hadFocus = QApplication::focusWidget();
    m_hadDefault = currentDefault();
    m_host->setEnabled(false);
    showProgress();
    m_reading.start();
    return true;
}

// A small cookbook is read and tested here and now: the list is filled when
// the click returns, with no progress window flashing by.
bool SearchPanel::searchAtOnce(int chosen, Catalogue::TitleOrder& order)
{
    if (!m_kept.isComplete()) {
        const auto count = Catalogue::recipeCount(m_db);
        if (!count || *count > AtOnceLimit)
            return false;
        const auto done = m_kept.readSome(AtOnceLimit + 1);
        if (!done.ok() || !done.value())
            return false;
    }
    const auto updated = m_kept.update();
    if (!updated.ok() || !updated.value() || m_kept.size() > AtOnceLimit)
        return false;
    const QStringList seek = entries();
    if (chosen == MissingOneMode) {
        emit searchDone(
            SeekEngine::missingOneInListOrder(m_db, order, SeekEngine::testMissingOne(m_kept, seek, false)));
        return true;
    }
    const auto rule = chosen == CookableMode ? SeekEngine::Rule::Cookable : SeekEngine::Rule::AnyIngredient;
    emit searchDone(SeekEngine::inListOrder(order, SeekEngine::testIngredients(m_kept, rule, seek, false)));
    return true;
}

// One slice of the texts not yet kept, read on this thread: the connection
// is used from no other.
void SearchPanel::readSlice()
{
    // Closing the program meanwhile closes the cookbook: nothing more is read.
    // A complete text is still brought up to date a slice at a time, as a
    // change it cannot follow has it read everything again.
    if (!m_stopAsked && m_db.isOpen()) {
        if (m_total == 0 && !m_kept.isComplete()) {
            const auto count = Catalogue::recipeCount(m_db);
            if (!count)
                return finishSearch(count.error());
            m_total = int(std::min<qint64>(*count, INT_MAX));
        }
        const auto done = m_kept.readSome(KeepSlice);
        if (!done.ok())
            return finishSearch(done.error());
        m_progress->setProgress(m_kept.size(), std::max(m_total, m_kept.size()));
        if (!done.value())
            return;
    }
    m_reading.stop();
    const bool readingStopped = !m_kept.isComplete();
    if (!readingStopped) {
        // Changes since, and recipes added since the reading ended.
        const auto updated = m_kept.update();
        if (!updated.ok())
            return finishSearch(updated.error());
    }
    startTests(readingStopped);
}

// Nothing updates the kept text while the worker tests it: the waiting's
// reading is stopped and the search's own is over.
void SearchPanel::startTests(bool readingStopped)
{
    m_job.start([this, readingStopped, mode = m_mode, entries = m_entries](const BackgroundJob::Control& c) {
        const auto progress = [&c](int done, int total) { return c.progress(done, total); };
        if (mode == MissingOneMode) {
            m_tested = SeekEngine::testMissingOne(m_kept, entries, readingStopped, progress);
            return;
        }
        const auto rule = mode == CookableMode ? SeekEngine::Rule::Cookable : SeekEngine::Rule::AnyIngredient;
        m_tested = SeekEngine::testIngredients(m_kept, rule, entries, readingStopped, progress);
    });
    if (m_stopAsked)
        m_job.requestStop();
}

void SearchPanel::testsDone()
{
    // The list's order, and the lines the near misses lack, come from the
    // cookbook, read here on this thread.
    const SeekEngine::Tested tested = std::exchange(m_tested, {});
    if (!m_db.isOpen())
        return finishSearch(SeekEngine::Result {});
    if (m_mode == MissingOneMode)
        return finishSearch(SeekEngine::missingOneInListOrder(m_db, *m_order, tested));
    finishSearch(SeekEngine::inListOrder(*m_order, tested));
}

void SearchPanel::finishSearch(const DbResult<SeekEngine::Result>& result)
{
    m_reading.stop();
    m_progress.reset();
    m_order = nullptr;
    m_windows.restoreActiveName();
    m_host->setEnabled(true);
    if (m_hadFocus && m_hadFocus->isVisible() && m_hadFocus->isEnabled() && m_hadFocus->window() == m_host) {
        m_hadFocus->setFocus();
        makeDefault(m_hadDefault);
    }
    emit searchDone(result);
}

void SearchPanel::AddSeekItem()
{
    if (txtAddSeek->text().isEmpty())
        return;
    lstSeek->addItem(txtAddSeek->text());
    txtAddSeek->clear();
    txtAddSeek->setFocus();
}

void SearchPanel::EditSeekItem()
{
    const QList<QListWidgetItem*> chosen = lstSeek->selectedItems();
    if (txtEditIng->text().isEmpty() || chosen.isEmpty())
        return;
    chosen.first()->setText(txtEditIng->text());
}

void SearchPanel::ClearSeekList()
{
    lstSeek->clear();
}

void SearchPanel::RemoveSeekItem()
{
    const QList<QListWidgetItem*> chosen = lstSeek->selectedItems();
    if (chosen.isEmpty())
        return;
    // The next entry is not chosen in its place: its text would replace what
    // the boxes hold, and a second Delete would take it too.
    const QSignalBlocker block(lstSeek);
    delete lstSeek->takeItem(lstSeek->row(chosen.first()));
    lstSeek->setCurrentRow(-1);
}

void SearchPanel::OpenFridge()
{
    const QString file = m_prompts.openFileName(
        m_host, QStringLiteral("Öppna kylskåp"), FridgeFilter, m_paths.programFolder);
    if (!file.isEmpty())
        loadFridge(file);
}

bool SearchPanel::loadFridge(const QString& file)
{
    const TextFile::ReadResult read = FridgeFile::read(file);
    if (!read.ok) {
        m_prompts.message(m_host, read.error, Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    lstSeek->clear();
    lstSeek->addItems(read.lines);
    return true;
}

void SearchPanel::SaveFridge()
{
    const QString chosen = m_prompts.saveFileName(
        m_host, QStringLiteral("Spara kylskåp"), FridgeFilter, m_paths.programFolder);
    if (chosen.isEmpty())
        return;
    const QString file = FridgeFile::withExtension(chosen);
    const TextFile::WriteResult written = FridgeFile::write(file, entries());
    if (written.ok)
        return;
    // The reason for unencodable text does not say which file was spared.
    const QString text = written.unencodable.isEmpty() ? written.error
                                                       : QStringLiteral("Kylskåpet sparades inte i %1.\n\n%2")
                                                             .arg(QFileInfo(file).fileName(), written.error);
    m_prompts.message(m_host, text, Prompts::Buttons::Ok, Prompts::Icon::Critical);
}
