#include "ui/mainwindow/FrmMain.h"

#include "core/catalogue/RecipeListModel.h"
#include "core/menu/MenuStore.h"
#include "ui/app/ClickAfterQuestion.h"
#include "ui/app/Colours.h"
#include "ui/app/Startup.h"
#include "ui/exchange/RecipeFileTransfer.h"
#include "ui/mainwindow/MainLayout.h"
#include "ui/mainwindow/SearchPanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include <limits>

namespace {

// Made without a place; the layout places every control.
template <typename T> T* control(QWidget* parent, const char* name)
{
    auto* t = new T(parent);
    t->setObjectName(QString::fromLatin1(name));
    return t;
}

QLabel* caption(QWidget* parent, const char* name, const QString& text)
{
    auto* l = control<QLabel>(parent, name);
    l->setText(text);
    return l;
}

} // namespace

FrmMain::FrmMain(AppContext& ctx, QWidget* parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_edit(ctx.db(), ctx.pictureFolder(), *this)
    , m_windows(this)
    , m_titleOrder(ctx.db())
{
    setObjectName(QStringLiteral("frmMain"));
    setMinimumSize(MainLayout::MinimumSize);
    resize(MainLayout::DesignedSize);
    // Saved weeks name recipes by title: a renamed recipe stays in its weeks.
    m_edit.setTitleFollower(&MenuStore::followTitle);
    buildControls();
    m_clickAfterQuestion = new ClickAfterQuestion(this);
}

FrmMain::~FrmMain() = default;

// Made in the order of the focus chain.
void FrmMain::buildControls()
{
    lblKategorier = caption(this, "lblKategorier", QStringLiteral("Välj kategori"));
    cmbKategorier = control<QComboBox>(this, "cmbKategorier");
    lblRecept = caption(this, "lblRecept", QStringLiteral("Recept"));
    lstRecept = control<QListView>(this, "lstRecept");
    m_receptModel = new RecipeListModel(this);
    lstRecept->setModel(m_receptModel);
    lstRecept->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstRecept->setUniformItemSizes(true);
    lstRecept->setEditTriggers(QAbstractItemView::NoEditTriggers);

    caption(this, "lblTitel", QStringLiteral("Titel"));
    txtTitel = control<QLineEdit>(this, "txtTitel");
    caption(this, "lblPortioner", QStringLiteral("Portioner"));
    txtPortioner = control<QLineEdit>(this, "txtPortioner");
    caption(this, "lblTid", QStringLiteral("Tid"));
    txtTid = control<QLineEdit>(this, "txtTid");
    caption(this, "lblIngredienser", QStringLiteral("Ingredienser"));
    txtIngredienser = control<QPlainTextEdit>(this, "txtIngredienser");
    caption(this, "lblAnvisningar", QStringLiteral("Anvisningar"));
    txtAnvisningar = control<QPlainTextEdit>(this, "txtAnvisningar");

    lblVerktyg = caption(this, "lblVerktyg", QStringLiteral("Verktyg"));
    QFont bold = lblVerktyg->font();
    bold.setBold(true);
    lblVerktyg->setFont(bold);
    lblReceptKategori = caption(this, "lblReceptKategori", QStringLiteral("Ändra receptets kategori"));
    cmbNyttRecept = control<QComboBox>(this, "cmbNyttRecept");
    for (QComboBox* c : { cmbKategorier, cmbNyttRecept })
        c->setMaxVisibleItems(20);
    buildButtons();
    m_search = new SearchPanel(m_ctx.db(), m_ctx.prompts(), m_ctx.paths(), m_ctx.state(), this, m_windows,
        { button(Cmd::Sok), button(Cmd::LaggTill), button(Cmd::SparaIng) });
    connect(m_search, &SearchPanel::seekRequested, this, &FrmMain::RunSeek);
    connect(m_search, &SearchPanel::searchDone, this, &FrmMain::showSeekResult);
    m_commands = new MainCommands(m_ctx, *this, m_windows);
    // Recipes from and to files: the list's context menu and drops.
    m_transfer = new RecipeFileTransfer(m_ctx, this, lstRecept,
        { [this] { return m_edit.beforeCommand(cmbNyttRecept->hasFocus()); }, [this] { return markedRids(); },
            [this] {
                FillNyKategoriList();
                showNewestRecipes();
            } });
    addWastebasketEntries();
    for (const MainLayout::Place& p : MainLayout::places(size(), false))
        m_placed.append(findChild<QWidget*>(p.name, Qt::FindDirectChildrenOnly));
    applyLayout();
    connectControls();
    shownChanged();
}

// A command asks about an edit first; it waits when the edit could not be stored.
void FrmMain::buildButtons()
{
    for (int i = 0; i < CmdCount; ++i) {
        auto* b = new QPushButton(MainCommands::caption(Cmd(i)), this);
        b->setObjectName(QStringLiteral("cmdButton_%1").arg(i));
        b->setVisible(isBrowsingButton(Cmd(i)));
        connect(b, &QPushButton::clicked, this, [this, i] {
            if (m_edit.beforeCommand(cmbNyttRecept->hasFocus()))
                m_commands->run(Cmd(i));
        });
        cmdButton[i] = b;
    }
    for (int i = 0; i < KroxCount; ++i) {
        auto* b = new QPushButton(MainCommands::caption(Krox(i)), this);
        b->setObjectName(QStringLiteral("cmdKrox_%1").arg(i));
        connect(b, &QPushButton::clicked, this, [this, i] {
            if (m_edit.beforeCommand(cmbNyttRecept->hasFocus()))
                m_commands->run(Krox(i));
        });
        cmdKrox[i] = b;
    }
}

void FrmMain::connectControls()
{
    connect(cmbKategorier, &QComboBox::activated, this, &FrmMain::kategoriChosen);
    connect(lstRecept->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& cur) { showRecept(cur.isValid() ? cur.row() : -1); });
    // A click on the shown row shows it afresh, dropping text the user chose not to save.
    connect(lstRecept, &QListView::clicked, this, [this](const QModelIndex& i) { showRecept(i.row()); });
    for (QLineEdit* e : { txtTitel, txtPortioner, txtTid }) {
        // Qt would cut a longer text without a word; storing refuses it instead.
        e->setMaxLength(std::numeric_limits<int>::max());
        connect(e, &QLineEdit::textChanged, this, [this] { m_edit.edited(); });
    }
    for (QPlainTextEdit* e : { txtIngredienser, txtAnvisningar }) {
        e->setTabChangesFocus(true);
        connect(e, &QPlainTextEdit::textChanged, this, [this] { m_edit.edited(); });
    }
    for (QWidget* w : std::initializer_list<QWidget*> {
             txtTitel, txtPortioner, txtTid, txtIngredienser, txtAnvisningar, cmbNyttRecept, lstRecept })
        w->installEventFilter(this);
}

bool FrmMain::load()
{
    setWindowTitle(m_ctx.state().programTitle());
    Colours::apply(m_ctx, this);
    // A user expects the window back at the size it was left at; one left
    // on a larger screen opens maximised, so that every control is in reach.
    const QSize stored = QSize(m_ctx.state().windowWidth(), m_ctx.state().windowHeight())
                             .expandedTo(MainLayout::MinimumSize);
    const QSize room = screen()->availableGeometry().size();
    const QSize fitting = stored.boundedTo(room);
    resize(fitting.expandedTo(MainLayout::MinimumSize));
    if (!room.isEmpty() && fitting != stored)
        setWindowState(windowState() | Qt::WindowMaximized);
    applyLayout();
    m_ctx.state().setWindowSize(qint16(width()), qint16(height()));
    purgeWastebasket();
    if (!FillKategoriList() || !FillNyKategoriList())
        return false;
    m_search->FillSeekModes();
    m_search->keepTextMeanwhile();
    return true;
}

void FrmMain::showDbError(const QString& what, const DbError& error)
{
    tell(what + QStringLiteral("\n\n") + error.describe(), RecipeEdit::Icon::Critical, {});
}

void FrmMain::applyLayout()
{
    const QList<MainLayout::Place> places = MainLayout::places(size(), m_edit.nyttReceptMode());
    for (qsizetype i = 0; i < places.size(); ++i)
        if (QWidget* w = m_placed.value(i))
            w->setGeometry(MainLayout::pixels(places.at(i).rect));
}

void FrmMain::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    applyLayout();
    m_ctx.state().setWindowSize(qint16(std::min(width(), 32767)), qint16(std::min(height(), 32767)));
}

int FrmMain::markedCount() const
{
    return int(lstRecept->selectionModel()->selectedRows().size());
}

QVector<qint32> FrmMain::markedRids() const
{
    QModelIndexList marked = lstRecept->selectionModel()->selectedRows();
    std::sort(marked.begin(), marked.end(),
        [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QVector<qint32> rids;
    rids.reserve(marked.size());
    for (const QModelIndex& i : marked)
        rids.append(m_receptModel->idAt(i.row()));
    return rids;
}

const QVector<qint32>& FrmMain::receptIds() const
{
    return m_receptModel->ids();
}

qint32 FrmMain::currentListRid() const
{
    return m_receptModel->idAt(lstRecept->currentIndex().row());
}

void FrmMain::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        m_windows.raiseAll();
}

void FrmMain::RunSeek()
{
    if (m_search->isSeeking())
        return;
    // A search replaces what is shown: an edit is asked about first.
    if (!m_edit.leaveEdit())
        return;
    m_edit.ClearRecept();
    m_search->search(m_titleOrder);
}

void FrmMain::showSeekResult(const DbResult<SeekEngine::Result>& result)
{
    if (m_exited)
        return;
    if (!result) {
        showDbError(QStringLiteral("Sökningen kunde inte genomföras."), result.error());
        return;
    }
    SeekEngine::Result hits = *result;
    const int n = int(hits.ids.size());
    {
        const QSignalBlocker block(lstRecept->selectionModel());
        m_receptModel->setRows(std::move(hits.ids), std::move(hits.titles));
    }
    lblRecept->setText(QStringLiteral("%1 recept").arg(n));
    m_edit.hitsShown();
    // A refresh that waited for the search renews the hits' titles.
    refreshLater();
}

bool FrmMain::ExitProgram(const std::function<bool()>& lastStep)
{
    if (m_exited)
        return true;
    if (!m_edit.mayExit() || (lastStep && !lastStep()))
        return false;
    m_exited = true;
    Startup::closeCookbook(m_ctx);
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != this && w->isVisible())
            w->close();
    hide();
    emit exited();
    QCoreApplication::exit(0);
    return true;
}

void FrmMain::closeEvent(QCloseEvent* e)
{
    if (ExitProgram())
        e->accept();
    else
        e->ignore();
}
