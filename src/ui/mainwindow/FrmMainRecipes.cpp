// The main window's lists, and the fields its editing session shows.
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Pictures.h"
#include "core/catalogue/RecipeListModel.h"
#include "ui/app/ClickAfterQuestion.h"
#include "ui/app/Controls.h"
#include "ui/mainwindow/FrmMain.h"
#include "ui/mainwindow/SearchPanel.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

bool FrmMain::FillKategoriList()
{
    if (!fillFilter())
        return false;
    kategoriChosen(cmbKategorier->currentIndex());
    return true;
}

bool FrmMain::fillFilter()
{
    const auto cats = Catalogue::categoriesWithRecipes(m_ctx.db());
    if (!cats) {
        showDbError(QStringLiteral("Kategorierna kunde inte läsas."), cats.error());
        return false;
    }
    const QSignalBlocker block(cmbKategorier);
    const QVector<qint32> before = m_kategoriIds;
    cmbKategorier->clear();
    m_kategoriIds = { 0, 1 };
    cmbKategorier->addItem(QStringLiteral("Alla kategorier"));
    cmbKategorier->addItem(QStringLiteral("10 senaste recepten"));
    for (const auto& c : *cats) {
        cmbKategorier->addItem(QStringLiteral("%1 [%2]").arg(c.name).arg(c.count));
        m_kategoriIds.append(c.kid);
    }
    const int position = Catalogue::keptFilterPosition(before, m_edit.kategoriPos(), m_kategoriIds);
    cmbKategorier->setCurrentIndex(position);
    m_edit.filterRefilled(position);
    return true;
}

bool FrmMain::FillNyKategoriList()
{
    const auto cats = Catalogue::allCategories(m_ctx.db());
    if (!cats) {
        showDbError(QStringLiteral("Kategorierna kunde inte läsas."), cats.error());
        return false;
    }
    const QSignalBlocker block(cmbNyttRecept);
    cmbNyttRecept->clear();
    m_nyKategoriIds.clear();
    for (const auto& c : *cats) {
        cmbNyttRecept->addItem(c.name);
        m_nyKategoriIds.append(c.kid);
    }
    // A shown recipe keeps its category visible; a new one starts without.
    const std::optional<qint32> shown = m_edit.shownCategory();
    cmbNyttRecept->setCurrentIndex(shown ? int(m_nyKategoriIds.indexOf(*shown)) : -1);
    return true;
}

bool FrmMain::FillReceptList(int position)
{
    std::optional<Catalogue::RecipeRows> rows;
    if (position == Catalogue::AllRecipesPosition) {
        const auto all = m_titleOrder.get();
        if (!all) {
            showDbError(QStringLiteral("Recepten kunde inte läsas."), all.error());
            return false;
        }
        rows = **all;
    } else {
        auto some = Catalogue::recipesFor(m_ctx.db(), position, m_kategoriIds.value(position));
        if (!some) {
            showDbError(QStringLiteral("Recepten kunde inte läsas."), some.error());
            return false;
        }
        rows = std::move(*some);
    }
    const int n = int(rows->ids.size());
    {
        const QSignalBlocker block(lstRecept->selectionModel());
        m_receptModel->setRows(std::move(rows->ids), std::move(rows->titles));
    }
    lblRecept->setText(QStringLiteral("%1 recept").arg(n));
    if (n == 0) {
        m_edit.ClearRecept();
        return true;
    }
    setReceptRow(std::min(m_edit.receptPos(), n - 1), false);
    return true;
}

void FrmMain::categoriesChanged()
{
    if (!m_edit.nyttReceptMode()) {
        // The shown recipe stays shown; a list of hits stays.
        m_edit.listsOutdated();
        refreshNow();
        return;
    }
    // A new recipe being typed keeps its text and its chosen category;
    // the filter follows when new-recipe mode ends.
    const std::optional<qint32> chosen = chosenCategory();
    FillNyKategoriList();
    cmbNyttRecept->setCurrentIndex(chosen ? int(m_nyKategoriIds.indexOf(*chosen)) : -1);
}

void FrmMain::pictureChanged(qint32 rid)
{
    if (rid == m_edit.currentRid())
        updatePictureButton();
}

void FrmMain::setReceptRow(int row, bool scrollToTop)
{
    const QModelIndex idx = m_receptModel->index(row, 0);
    lstRecept->selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect);
    if (m_edit.currentRid() != m_receptModel->idAt(row))
        showRecept(row);
    lstRecept->scrollTo(
        idx, scrollToTop ? QAbstractItemView::PositionAtTop : QAbstractItemView::EnsureVisible);
}

void FrmMain::kategoriChosen(int position)
{
    if (position < 0)
        return;
    if (!m_edit.chooseCategory(position)) {
        const QSignalBlocker block(cmbKategorier);
        cmbKategorier->setCurrentIndex(m_edit.kategoriPos());
        return;
    }
    FillReceptList(position);
}

void FrmMain::showRecept(int row)
{
    if (row >= 0)
        m_edit.showRecipe(m_receptModel->idAt(row));
}

RecipeEdit::Reply FrmMain::ask(const QString& title, const QString& text, RecipeEdit::Offer offer)
{
    using O = RecipeEdit::Offer;
    const Prompts::Buttons buttons
        = offer == O::YesNoCancel ? Prompts::Buttons::YesNoCancel : Prompts::Buttons::YesNo;
    const std::optional<Prompts::Answer> enter
        = offer == O::YesNoDefaultNo ? std::optional(Prompts::Answer::No) : std::nullopt;
    switch (m_ctx.prompts().message(this, text, buttons, Prompts::Icon::None, title, enter)) {
    case Prompts::Answer::Yes:
        return RecipeEdit::Reply::Yes;
    case Prompts::Answer::Cancel:
        return RecipeEdit::Reply::Cancel;
    default:
        return RecipeEdit::Reply::No;
    }
}

void FrmMain::refillLists(qint32 keep)
{
    wastebasketChanged();
    FillKategoriList();
    keepShown(keep);
}

void FrmMain::keepShown(qint32 keep)
{
    if (keep == 0)
        return;
    int row = m_receptModel->rowOf(keep);
    // A filter that does not list the recipe gives way to one that lists them all.
    if (row < 0) {
        {
            const QSignalBlocker block(cmbKategorier);
            cmbKategorier->setCurrentIndex(Catalogue::AllRecipesPosition);
        }
        kategoriChosen(Catalogue::AllRecipesPosition);
        row = m_receptModel->rowOf(keep);
    }
    if (row >= 0)
        setReceptRow(row, false);
}

void FrmMain::refreshLater()
{
    if (m_refreshQueued)
        return;
    m_refreshQueued = true;
    QMetaObject::invokeMethod(this, &FrmMain::refreshNow, Qt::QueuedConnection);
}

void FrmMain::refreshNow()
{
    m_refreshQueued = false;
    if (m_exited || m_search->isSeeking())
        return; // the end of the search asks again
    // Rows must not move under a held press: its release would mark whatever
    // row then lies under the pointer. (The release of a press that asked a
    // question goes to the question's box, so the list may never see it.)
    if (QGuiApplication::mouseButtons() != Qt::NoButton) {
        QTimer::singleShot(100, this, &FrmMain::refreshLater);
        return;
    }
    m_edit.refreshDue();
}

void FrmMain::refillFilters()
{
    fillFilter();
    FillNyKategoriList();
}

void FrmMain::refillList(qint32 keep)
{
    const QVector<qint32> marked = markedRids();
    kategoriChosen(cmbKategorier->currentIndex());
    keepShown(keep);
    QItemSelectionModel* selection = lstRecept->selectionModel();
    for (qint32 rid : marked)
        if (const int row = m_receptModel->rowOf(rid); row >= 0)
            selection->select(m_receptModel->index(row, 0), QItemSelectionModel::Select);
}

void FrmMain::retitle(qint32 rid, const QString& oldTitle, const QString& newTitle)
{
    m_receptModel->retitle(rid, oldTitle, newTitle);
}

void FrmMain::tell(const QString& text, RecipeEdit::Icon icon, const QString& title)
{
    static const Prompts::Icon icons[] = { Prompts::Icon::None, Prompts::Icon::Information,
        Prompts::Icon::Warning, Prompts::Icon::Critical };
    m_ctx.prompts().message(this, text, Prompts::Buttons::Ok, icons[int(icon)], title);
}

Records::Fields FrmMain::fields() const
{
    return { txtTitel->text(), txtPortioner->text(), txtTid->text(), Controls::plainText(txtIngredienser),
        Controls::plainText(txtAnvisningar) };
}

std::optional<qint32> FrmMain::chosenCategory() const
{
    const int pos = cmbNyttRecept->currentIndex();
    if (pos < 0 || pos >= m_nyKategoriIds.size())
        return std::nullopt;
    return m_nyKategoriIds.at(pos);
}

// Filling the fields is no edit: their change signals stay quiet.
void FrmMain::showFields(const Records::Fields& f, std::optional<qint32> kid)
{
    const std::initializer_list<QObject*> all { txtTitel, txtPortioner, txtTid, txtIngredienser,
        txtAnvisningar };
    for (QObject* o : all)
        o->blockSignals(true);
    // Emptied, the line fields keep what Ctrl+Z takes back; filled, they start afresh.
    const bool emptying = f.isEmpty() && !kid;
    for (const auto& [e, text] : { std::pair { txtTitel, &f.titel },
             std::pair { txtPortioner, &f.antalPersoner }, std::pair { txtTid, &f.tid } })
        emptying ? e->clear() : e->setText(*text);
    txtIngredienser->setPlainText(f.ingredienser);
    txtAnvisningar->setPlainText(f.anvisningar);
    for (QObject* o : all)
        o->blockSignals(false);
    const QSignalBlocker block(cmbNyttRecept);
    cmbNyttRecept->setCurrentIndex(kid ? int(m_nyKategoriIds.indexOf(*kid)) : -1);
}

// With no recipe shown there is nothing the fields could be stored into, so
// they take no typing (a new recipe starts with "Nytt recept").
void FrmMain::shownChanged()
{
    const bool readOnly = m_edit.currentRid() == 0 && !m_edit.nyttReceptMode();
    for (QLineEdit* e : { txtTitel, txtPortioner, txtTid })
        e->setReadOnly(readOnly);
    for (QPlainTextEdit* e : { txtIngredienser, txtAnvisningar })
        e->setReadOnly(readOnly);
    updatePictureButton();
}

// New-recipe mode shows only "Spara" and "Avbryt" of the commands, the
// category chooser in the filter's place, and no list or search.
void FrmMain::modeChanged()
{
    const bool nytt = m_edit.nyttReceptMode();
    for (int i = 0; i < CmdCount; ++i)
        cmdButton[i]->setVisible(
            nytt ? Cmd(i) == Cmd::Spara || Cmd(i) == Cmd::Avbryt : isBrowsingButton(Cmd(i)));
    applyLayout();
    for (QWidget* w : std::initializer_list<QWidget*> { cmbKategorier, lblReceptKategori, lblVerktyg })
        w->setVisible(!nytt);
    lstRecept->setEnabled(!nytt);
    if (!nytt) {
        m_search->showBrowsingControls();
        return;
    }
    for (QWidget* w : m_search->browsingControls())
        w->hide();
    FillNyKategoriList();
}

void FrmMain::updatePictureButton()
{
    QPushButton* b = button(Cmd::Bild);
    QFont f = b->font();
    f.setBold(m_edit.currentRid() != 0 && Pictures::hasPicture(m_ctx.pictureFolder(), m_edit.currentRid()));
    b->setFont(f);
}

void FrmMain::BeginNyttRecept()
{
    m_edit.BeginNyttRecept();
    // Typing goes into the new recipe's title.
    txtTitel->setFocus();
}

void FrmMain::deleteWithKeyboard()
{
    m_edit.setReceptPos(std::max(0, lstRecept->currentIndex().row()));
    m_edit.DeleteRecept(markedRids());
    const int row = m_edit.rowAfterDelete(lstRecept->currentIndex().row());
    if (row >= 0)
        setReceptRow(row, true);
}

bool FrmMain::isField(QObject* o) const
{
    return o == txtTitel || o == txtPortioner || o == txtTid || o == txtIngredienser || o == txtAnvisningar;
}

// A question asked while a mouse press takes the focus lets the click go on
// afterwards, or drops it when the edit could not be stored.
void FrmMain::focusLeft(QWidget* left, bool byMouse)
{
    if (left == cmbNyttRecept) {
        if (m_edit.categoryLeft() && byMouse)
            m_clickAfterQuestion->asked(left, true);
    } else if (isField(left)) {
        const RecipeEdit::Left r = m_edit.fieldLeft();
        if (r.asked && byMouse)
            m_clickAfterQuestion->asked(left, r.goOn);
    }
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (undoGoesToWindow(watched, event))
        return true;
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason)
            focusLeft(static_cast<QWidget*>(watched), reason == Qt::MouseFocusReason);
    } else if (event->type() == QEvent::FocusIn && watched == cmbNyttRecept) {
        m_edit.categoryEntered();
    } else if (event->type() == QEvent::KeyRelease && watched == lstRecept) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            deleteWithKeyboard();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
