// The main window's lists and recipe editing.
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Pictures.h"
#include "core/catalogue/RecipeListModel.h"
#include "core/catalogue/Records.h"
#include "ui/app/ClickAfterQuestion.h"
#include "ui/app/Controls.h"
#include "ui/mainwindow/FrmMain.h"
#include "ui/mainwindow/SearchPanel.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

// A text too long to store is refused, with a word, rather than cut.
bool fieldsFit(Prompts& prompts, QWidget* parent, const Records::Fields& f)
{
    const QString field = Records::overlongField(f);
    if (field.isEmpty())
        return true;
    prompts.message(parent,
        QStringLiteral("Texten i fältet %1 är för lång: högst %2 tecken får plats. Korta den och spara igen.")
            .arg(field)
            .arg(Records::MaxLineLength),
        Prompts::Buttons::Ok, Prompts::Icon::Warning);
    return false;
}

} // namespace

bool FrmMain::FillKategoriList()
{
    const auto cats = Catalogue::categoriesWithRecipes(m_ctx.db());
    if (!cats) {
        showDbError(QStringLiteral("Kategorierna kunde inte läsas."), cats.error());
        return false;
    }
    {
        const QSignalBlocker block(cmbKategorier);
        cmbKategorier->clear();
        m_kategoriIds = { 0, 1 };
        cmbKategorier->addItem(QStringLiteral("Alla kategorier"));
        cmbKategorier->addItem(QStringLiteral("10 senaste recepten"));
        for (const auto& c : *cats) {
            cmbKategorier->addItem(QStringLiteral("%1 [%2]").arg(c.name).arg(c.count));
            m_kategoriIds.append(c.kid);
        }
        cmbKategorier->setCurrentIndex(std::min(m_kategoriPos, cmbKategorier->count() - 1));
    }
    kategoriChosen(cmbKategorier->currentIndex());
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
    cmbNyttRecept->setCurrentIndex(
        m_nyttReceptMode || m_currentRid == 0 ? -1 : int(m_nyKategoriIds.indexOf(m_shownKategoriId)));
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
        ClearRecept();
        return true;
    }
    setReceptRow(std::min(m_receptPos, n - 1), false);
    return true;
}

void FrmMain::showNewestRecipes()
{
    m_kategoriPos = Catalogue::NewestPosition;
    m_receptPos = 0;
    // A new recipe being typed keeps its text; the list follows when it ends.
    if (m_nyttReceptMode)
        return;
    FillKategoriList();
}

void FrmMain::setReceptRow(int row, bool scrollToTop)
{
    const QModelIndex idx = m_receptModel->index(row, 0);
    lstRecept->selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect);
    if (m_currentRid != m_receptModel->idAt(row))
        showRecept(row);
    lstRecept->scrollTo(
        idx, scrollToTop ? QAbstractItemView::PositionAtTop : QAbstractItemView::EnsureVisible);
}

void FrmMain::kategoriChosen(int position)
{
    if (position < 0)
        return;
    // An edit that was to be stored and could not be keeps the list it belongs to.
    if (!leaveEdit()) {
        const QSignalBlocker block(cmbKategorier);
        cmbKategorier->setCurrentIndex(m_kategoriPos);
        return;
    }
    m_kategoriPos = position;
    // The fields then show the restored row's recipe, and the current recipe
    // is its number, or they are empty and it is 0.
    setCurrentRid(0);
    FillReceptList(position);
}

void FrmMain::setFieldsBlocked(bool blocked)
{
    for (QObject* o :
        std::initializer_list<QObject*> { txtTitel, txtPortioner, txtTid, txtIngredienser, txtAnvisningar })
        o->blockSignals(blocked);
}

bool FrmMain::isField(QObject* o) const
{
    return o == txtTitel || o == txtPortioner || o == txtTid || o == txtIngredienser || o == txtAnvisningar;
}

// With no recipe shown there is nothing the fields could be stored into, so
// they take no typing (a new recipe starts with "Nytt recept").
void FrmMain::setCurrentRid(qint32 rid)
{
    m_currentRid = rid;
    const bool readOnly = rid == 0 && !m_nyttReceptMode;
    for (QLineEdit* e : { txtTitel, txtPortioner, txtTid })
        e->setReadOnly(readOnly);
    for (QPlainTextEdit* e : { txtIngredienser, txtAnvisningar })
        e->setReadOnly(readOnly);
}

void FrmMain::showRecept(int row)
{
    if (row < 0)
        return;
    const qint32 rid = m_receptModel->idAt(row);
    const auto loaded = Catalogue::loadRecipe(m_ctx.db(), rid);
    if (!loaded) {
        showDbError(QStringLiteral("Receptet kunde inte läsas."), loaded.error());
        return;
    }
    if (!*loaded) {
        // Gone since the list was filled: nothing is shown as if it were it.
        ClearRecept();
        return;
    }
    const Catalogue::Recipe& r = **loaded;
    setFieldsBlocked(true);
    txtTitel->setText(r.titel);
    txtPortioner->setText(r.antalPersoner);
    txtTid->setText(r.tid);
    txtIngredienser->setPlainText(r.ingredienser);
    txtAnvisningar->setPlainText(r.anvisningar);
    setFieldsBlocked(false);
    {
        const QSignalBlocker block(cmbNyttRecept);
        cmbNyttRecept->setCurrentIndex(r.hasCategory ? int(m_nyKategoriIds.indexOf(r.kategori)) : -1);
    }
    setCurrentRid(rid);
    m_shownKategoriId = r.hasCategory ? r.kategori : 0;
    updatePictureButton();
    m_receptPos = 0;
    m_receptChanged = false;
}

void FrmMain::updatePictureButton()
{
    QPushButton* b = button(Cmd::Bild);
    QFont f = b->font();
    f.setBold(m_currentRid != 0 && Pictures::hasPicture(m_ctx.pictureFolder(), m_currentRid));
    b->setFont(f);
}

Records::Fields FrmMain::shownFields() const
{
    return { txtTitel->text(), txtPortioner->text(), txtTid->text(), Controls::plainText(txtIngredienser),
        Controls::plainText(txtAnvisningar) };
}

void FrmMain::ClearRecept()
{
    setFieldsBlocked(true);
    txtAnvisningar->clear();
    txtIngredienser->clear();
    txtPortioner->clear();
    txtTid->clear();
    txtTitel->clear();
    setFieldsBlocked(false);
    m_receptChanged = false;
    setCurrentRid(0);
    m_shownKategoriId = 0;
    {
        const QSignalBlocker block(cmbNyttRecept);
        cmbNyttRecept->setCurrentIndex(-1);
    }
    updatePictureButton();
}

void FrmMain::AskSaveRecept()
{
    if (m_asking)
        return;
    if (m_nyttReceptMode) {
        m_receptChanged = false;
        return;
    }
    m_asking = true;
    const auto answer = m_ctx.prompts().message(this,
        QStringLiteral("Ändringar har gjorts i receptet. Vill Du spara ändringarna?"),
        Prompts::Buttons::YesNo, Prompts::Icon::None, QStringLiteral("Spara ändringar?"));
    m_asking = false;
    if (answer != Prompts::Answer::Yes) {
        m_receptChanged = false;
        return;
    }
    if (txtTitel->text().isEmpty()) {
        m_ctx.prompts().message(this, QStringLiteral("Receptet måste ha en titel."), Prompts::Buttons::Ok,
            Prompts::Icon::None, QStringLiteral("Titel saknas"));
        return;
    }
    if (!fieldsFit(m_ctx.prompts(), this, shownFields()))
        return;
    const auto saved = Records::saveRecipe(m_ctx.db(), m_currentRid, shownFields());
    if (!saved.ok()) {
        showDbError(QStringLiteral("Receptet kunde inte sparas."), saved.error());
        return;
    }
    if (!*saved) {
        // Removed meanwhile: the text stays in the fields, and the question
        // comes again until the user lets it go.
        m_ctx.prompts().message(this,
            QStringLiteral("Receptet finns inte längre i receptdatabasen, så ändringarna kunde inte sparas. "
                           "Texten finns kvar i fälten."),
            Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return;
    }
    m_receptChanged = false;
}

bool FrmMain::leaveEdit()
{
    if (m_receptChanged)
        AskSaveRecept();
    return !m_receptChanged;
}

bool FrmMain::kategoriEditLeft()
{
    if (!m_kategoriEditing)
        return false;
    m_kategoriEditing = false;
    const int pos = cmbNyttRecept->currentIndex();
    const qint32 kid = m_nyKategoriIds.value(pos);
    if (pos < 0 || kid == m_shownKategoriId || m_currentRid == 0)
        return false;
    const auto answer = m_ctx.prompts().message(this,
        QStringLiteral("Receptets kategori har ändrats. Vill Du spara ändringen?"), Prompts::Buttons::YesNo,
        Prompts::Icon::None, QStringLiteral("Spara ändring?"));
    if (answer != Prompts::Answer::Yes)
        return true;
    const auto changed = Records::changeCategory(m_ctx.db(), m_currentRid, kid);
    if (!changed.ok()) {
        showDbError(QStringLiteral("Kategorin kunde inte ändras."), changed.error());
        return true;
    }
    if (!*changed) {
        m_ctx.prompts().message(this,
            QStringLiteral("Receptet finns inte längre i receptdatabasen, så kategorin kunde inte ändras."),
            Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return true;
    }
    m_shownKategoriId = kid;
    return true;
}

void FrmMain::BeginNyttRecept()
{
    m_nyttReceptMode = true;
    for (QPushButton* b : cmdButton)
        if (b != button(Cmd::Spara) && b != button(Cmd::Avbryt))
            b->hide();
    applyLayout();
    cmbKategorier->hide();
    button(Cmd::Spara)->show();
    button(Cmd::Avbryt)->show();
    lblReceptKategori->hide();
    lstRecept->setEnabled(false);
    for (QWidget* w : m_search->browsingControls())
        w->hide();
    lblVerktyg->hide();
    FillNyKategoriList();
    ClearRecept();
    // Typing goes into the new recipe's title.
    txtTitel->setFocus();
}

void FrmMain::SaveNyttRecept()
{
    const int pos = cmbNyttRecept->currentIndex();
    if (pos < 0) {
        m_ctx.prompts().message(this, QStringLiteral("Du måste ange en kategori för receptet."),
            Prompts::Buttons::Ok, Prompts::Icon::Information, QStringLiteral("Kategori saknas"));
        return;
    }
    if (txtTitel->text().isEmpty()) {
        m_ctx.prompts().message(this, QStringLiteral("Receptet måste ha en titel."), Prompts::Buttons::Ok,
            Prompts::Icon::None, QStringLiteral("Titel saknas"));
        return;
    }
    if (!fieldsFit(m_ctx.prompts(), this, shownFields()))
        return;
    const auto added = Records::addRecipe(m_ctx.db(), m_nyKategoriIds.value(pos), shownFields());
    if (!added) {
        showDbError(QStringLiteral("Receptet kunde inte sparas."), added.error());
        return;
    }
    m_receptChanged = false;
    EndNyttRecept();
}

void FrmMain::EndNyttRecept()
{
    for (int i = 0; i < CmdCount; ++i)
        if (isBrowsingButton(Cmd(i)))
            cmdButton[i]->show();
    button(Cmd::Spara)->hide();
    button(Cmd::Avbryt)->hide();
    cmbKategorier->show();
    m_nyttReceptMode = false;
    applyLayout();
    lstRecept->setEnabled(true);
    lblReceptKategori->show();
    lblVerktyg->show();
    m_search->showBrowsingControls();
    ClearRecept();
    FillKategoriList();
}

void FrmMain::DeleteRecept()
{
    const QVector<qint32> rids = markedRids();
    if (rids.isEmpty())
        return;
    const auto answer = m_ctx.prompts().message(this, QStringLiteral("Vill du radera markerade recept?"),
        Prompts::Buttons::YesNo, Prompts::Icon::None, QStringLiteral("Radera recept"));
    if (answer != Prompts::Answer::Yes)
        return;
    if (DbStatus s = Records::deleteRecipes(m_ctx.db(), rids); !s) {
        showDbError(QStringLiteral("Recepten kunde inte raderas."), s.error());
        return;
    }
    // Pictures go only once the recipes are surely gone.
    QStringList failed;
    for (qint32 rid : rids)
        if (!Pictures::removeAllPictures(m_ctx.pictureFolder(), rid).ok)
            failed << QString::number(rid);
    m_deletedCount += int(rids.size());
    ClearRecept();
    FillKategoriList();
    if (!failed.isEmpty())
        m_ctx.prompts().message(this,
            QStringLiteral("Bilderna till recept %1 kunde inte tas bort.")
                .arg(failed.join(QStringLiteral(", "))),
            Prompts::Buttons::Ok, Prompts::Icon::Warning);
}

void FrmMain::deleteWithKeyboard()
{
    m_receptPos = std::max(0, lstRecept->currentIndex().row());
    DeleteRecept();
    const int k = m_deletedCount;
    if (k >= 1) {
        const int p = lstRecept->currentIndex().row();
        const int q = p - (k - 1);
        if (q < 1) {
            if (p >= 0)
                setReceptRow(0, true);
        } else {
            setReceptRow(q, true);
        }
    }
    m_deletedCount = 0;
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        const bool byMouse = static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason;
        auto* left = static_cast<QWidget*>(watched);
        if (watched == cmbNyttRecept) {
            if (kategoriEditLeft() && byMouse)
                m_clickAfterQuestion->asked(left, true);
        } else if (isField(watched)) {
            const bool asks = m_receptChanged && !m_nyttReceptMode && !m_asking;
            const bool goOn = leaveEdit();
            if (asks && byMouse)
                m_clickAfterQuestion->asked(left, goOn);
        }
    } else if (event->type() == QEvent::FocusIn && watched == cmbNyttRecept) {
        if (!m_nyttReceptMode)
            m_kategoriEditing = true;
    } else if (event->type() == QEvent::KeyRelease && watched == lstRecept) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            deleteWithKeyboard();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
