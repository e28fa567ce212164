// The main window's lists and recipe editing.
#include "catalogue/Catalogue.h"
#include "catalogue/Pictures.h"
#include "catalogue/RecipeListModel.h"
#include "catalogue/Records.h"
#include "mainwindow/FrmMain.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

bool FrmMain::FillKategoriList()
{
    const auto cats = Catalogue::categoriesWithRecipes(m_ctx.db());
    if (!cats) {
        showDbError(QStringLiteral("Kategorierna kunde inte läsas."));
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
        cmbKategorier->setCurrentIndex(std::min(KategoriPos, cmbKategorier->count() - 1));
    }
    kategoriChosen(cmbKategorier->currentIndex());
    return true;
}

bool FrmMain::FillNyKategoriList()
{
    const auto cats = Catalogue::allCategories(m_ctx.db());
    if (!cats) {
        showDbError(QStringLiteral("Kategorierna kunde inte läsas."));
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
        NyttReceptMode || CurrentRID == 0 ? -1 : int(m_nyKategoriIds.indexOf(m_shownKategoriId)));
    return true;
}

bool FrmMain::FillReceptList(int position)
{
    std::optional<Catalogue::RecipeRows> rows;
    if (position == Catalogue::AllRecipesPosition) {
        if (const Catalogue::RecipeRows* all = m_titleOrder.get(m_ctx.db()))
            rows = *all;
    } else {
        rows = Catalogue::recipesFor(m_ctx.db(), position, m_kategoriIds.value(position));
    }
    if (!rows) {
        showDbError(QStringLiteral("Recepten kunde inte läsas."));
        return false;
    }
    const int n = int(rows->ids.size());
    {
        const QSignalBlocker block(lstRecept->selectionModel());
        m_receptModel->setRows(rows->ids, rows->titles);
    }
    lblRecept->setText(QStringLiteral("%1 recept").arg(n));
    if (n == 0) {
        ClearRecept();
        return true;
    }
    setReceptRow(std::min(ReceptPos, n - 1), false);
    return true;
}

void FrmMain::setReceptRow(int row, bool scrollToTop)
{
    const QModelIndex idx = m_receptModel->index(row, 0);
    lstRecept->selectionModel()->setCurrentIndex(idx, QItemSelectionModel::ClearAndSelect);
    if (CurrentRID != m_receptModel->idAt(row))
        showRecept(row);
    lstRecept->scrollTo(
        idx, scrollToTop ? QAbstractItemView::PositionAtTop : QAbstractItemView::EnsureVisible);
}

void FrmMain::kategoriChosen(int position)
{
    if (position < 0)
        return;
    if (ReceptChanged)
        AskSaveRecept();
    KategoriPos = position;
    // The fields then show the restored row's recipe, and CurrentRID is its
    // number, or they are empty and CurrentRID is 0.
    CurrentRID = 0;
    FillReceptList(position);
}

void FrmMain::setFieldsBlocked(bool blocked)
{
    for (QObject* o :
        std::initializer_list<QObject*> { txtTitel, txtPortioner, txtTid, txtIngredienser, txtAnvisningar })
        o->blockSignals(blocked);
}

void FrmMain::showRecept(int row)
{
    if (row < 0)
        return;
    const qint32 rid = m_receptModel->idAt(row);
    const auto loaded = Catalogue::loadRecipe(m_ctx.db(), rid);
    if (!loaded) {
        showDbError(QStringLiteral("Receptet kunde inte läsas."));
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
    CurrentRID = rid;
    m_shownKategoriId = r.hasCategory ? r.kategori : 0;
    updatePictureButton();
    ReceptPos = 0;
    ReceptChanged = false;
}

void FrmMain::updatePictureButton()
{
    QFont f = cmdButton[21]->font();
    f.setBold(CurrentRID != 0 && !Pictures::ReceptBildFil(m_ctx.pictureFolder(), CurrentRID).isEmpty());
    cmdButton[21]->setFont(f);
}

Records::Fields FrmMain::shownFields() const
{
    return { txtTitel->text(), txtPortioner->text(), txtTid->text(), txtIngredienser->toPlainText(),
        txtAnvisningar->toPlainText() };
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
    ReceptChanged = false;
    CurrentRID = 0;
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
    if (NyttReceptMode) {
        ReceptChanged = false;
        return;
    }
    m_asking = true;
    const auto answer = m_ctx.prompts().message(this,
        QStringLiteral("Ändringar har gjorts i receptet. Vill Du spara ändringarna?"),
        Prompts::Buttons::YesNo, Prompts::Icon::None, QStringLiteral("Spara ändringar?"));
    m_asking = false;
    if (answer != Prompts::Answer::Yes) {
        ReceptChanged = false;
        return;
    }
    if (txtTitel->text().isEmpty()) {
        m_ctx.prompts().message(this, QStringLiteral("Receptet måste ha en titel."), Prompts::Buttons::Ok,
            Prompts::Icon::None, QStringLiteral("Titel saknas"));
        return;
    }
    if (Records::saveRecipe(m_ctx.db(), CurrentRID, shownFields()) == Records::SaveResult::Failed) {
        showDbError(QStringLiteral("Receptet kunde inte sparas."));
        return;
    }
    ReceptChanged = false;
}

void FrmMain::fieldsLeft()
{
    if (ReceptChanged)
        AskSaveRecept();
}

void FrmMain::kategoriEditLeft()
{
    if (!m_kategoriEditing)
        return;
    m_kategoriEditing = false;
    const int pos = cmbNyttRecept->currentIndex();
    const qint32 kid = m_nyKategoriIds.value(pos);
    if (pos < 0 || kid == m_shownKategoriId || CurrentRID == 0)
        return;
    const auto answer = m_ctx.prompts().message(this,
        QStringLiteral("Receptets kategori har ändrats. Vill Du spara ändringen?"), Prompts::Buttons::YesNo,
        Prompts::Icon::None, QStringLiteral("Spara ändring?"));
    if (answer != Prompts::Answer::Yes)
        return;
    if (!Records::changeCategory(m_ctx.db(), CurrentRID, kid)) {
        showDbError(QStringLiteral("Kategorin kunde inte ändras."));
        return;
    }
    m_shownKategoriId = kid;
}

void FrmMain::BeginNyttRecept()
{
    NyttReceptMode = true;
    for (int i = 0; i < ButtonCount; ++i)
        if (i != 9 && i != 10)
            cmdButton[i]->hide();
    cmdButton[9]->move(cmdButton[0]->pos());
    cmdButton[10]->move(cmdButton[17]->pos());
    cmbNyttRecept->setGeometry(
        cmbKategorier->x(), cmbKategorier->y(), cmbKategorier->width(), cmbNyttRecept->height());
    cmbKategorier->hide();
    cmdButton[9]->show();
    cmdButton[10]->show();
    lblReceptKategori->hide();
    lstRecept->setEnabled(false);
    for (QWidget* w : std::initializer_list<QWidget*> {
             cmbSeek, lblSeek, lstSeek, txtAddIng, txtEditIng, txtSeek, lblVerktyg, lblKylskap, txtAddSeek })
        w->hide();
    FillNyKategoriList();
    ClearRecept();
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
    if (!Records::addRecipe(m_ctx.db(), m_nyKategoriIds.value(pos), shownFields())) {
        showDbError(QStringLiteral("Receptet kunde inte sparas."));
        return;
    }
    ReceptChanged = false;
    EndNyttRecept();
}

void FrmMain::EndNyttRecept()
{
    for (int i = 0; i < ButtonCount; ++i)
        if (isBrowsingButton(i))
            cmdButton[i]->show();
    cmdButton[9]->hide();
    cmdButton[10]->hide();
    cmbKategorier->show();
    cmbNyttRecept->setGeometry(lblKylskap->x(), lblReceptKategori->y() + lblReceptKategori->height(),
        lblReceptKategori->width(), cmbNyttRecept->height());
    lstRecept->setEnabled(true);
    for (QWidget* w : std::initializer_list<QWidget*> {
             lblReceptKategori, cmbSeek, lblSeek, lstSeek, txtEditIng, txtAddSeek, lblVerktyg, lblKylskap })
        w->show();
    txtSeek->setVisible(cmbSeek->currentIndex() == 2);
    ClearRecept();
    NyttReceptMode = false;
    ReceptChanged = false;
    FillKategoriList();
}

void FrmMain::DeleteRecept()
{
    const QModelIndexList marked = lstRecept->selectionModel()->selectedRows();
    if (marked.isEmpty())
        return;
    const auto answer = m_ctx.prompts().message(this, QStringLiteral("Vill du radera markerade recept?"),
        Prompts::Buttons::YesNo, Prompts::Icon::None, QStringLiteral("Radera recept"));
    if (answer != Prompts::Answer::Yes)
        return;
    QVector<qint32> rids;
    for (const QModelIndex& i : marked)
        rids.append(m_receptModel->idAt(i.row()));
    if (!Records::deleteRecipes(m_ctx.db(), rids)) {
        showDbError(QStringLiteral("Recepten kunde inte raderas."));
        return;
    }
    // Pictures go only once the recipes are surely gone.
    QStringList failed;
    for (qint32 rid : rids)
        if (!Pictures::removeAllPictures(m_ctx.pictureFolder(), rid).ok)
            failed << QString::number(rid);
    DeletedCount += int(rids.size());
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
    ReceptPos = std::max(0, lstRecept->currentIndex().row());
    DeleteRecept();
    const int k = DeletedCount;
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
    DeletedCount = 0;
}

bool FrmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (searchPanelEvent(watched, event))
        return true;
    // A secondary window that becomes active is the one to keep in front.
    if (event->type() == QEvent::WindowActivate && watched != this && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->isWindow())
        ActiveWindowName = watched->objectName();
    if (event->type() == QEvent::FocusOut
        && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        if (watched == cmbNyttRecept)
            kategoriEditLeft();
        else if (watched == txtTitel || watched == txtPortioner || watched == txtTid
            || watched == txtIngredienser || watched == txtAnvisningar)
            fieldsLeft();
    } else if (event->type() == QEvent::FocusIn && watched == cmbNyttRecept) {
        if (!NyttReceptMode)
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
