#include "ui/mainwindow/FrmMain.h"

#include "core/catalogue/RecipeListModel.h"
#include "ui/app/ClickAfterQuestion.h"
#include "ui/app/Colours.h"
#include "ui/app/Startup.h"
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
    , m_windows(this)
    , m_titleOrder(ctx.db())
{
    setObjectName(QStringLiteral("frmMain"));
    setMinimumSize(MainLayout::MinimumSize);
    resize(MainLayout::DesignedSize);
    buildControls();
    m_clickAfterQuestion = new ClickAfterQuestion(this);
}

FrmMain::~FrmMain() = default;

void FrmMain::buildControls()
{
    lblKategorier = caption(this, "lblKategorier", QStringLiteral("Välj kategori"));
    cmbKategorier = control<QComboBox>(this, "cmbKategorier");
    cmbKategorier->setMaxVisibleItems(20);
    lblRecept = caption(this, "lblRecept", QStringLiteral("Recept"));
    lstRecept = control<QListView>(this, "lstRecept");
    m_receptModel = new RecipeListModel(this);
    lstRecept->setModel(m_receptModel);
    lstRecept->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstRecept->setUniformItemSizes(true);
    lstRecept->setEditTriggers(QAbstractItemView::NoEditTriggers);

    lblTitel = caption(this, "lblTitel", QStringLiteral("Titel"));
    txtTitel = control<QLineEdit>(this, "txtTitel");
    lblPortioner = caption(this, "lblPortioner", QStringLiteral("Portioner"));
    txtPortioner = control<QLineEdit>(this, "txtPortioner");
    lblTid = caption(this, "lblTid", QStringLiteral("Tid"));
    txtTid = control<QLineEdit>(this, "txtTid");
    lblIngredienser = caption(this, "lblIngredienser", QStringLiteral("Ingredienser"));
    txtIngredienser = control<QPlainTextEdit>(this, "txtIngredienser");
    lblAnvisningar = caption(this, "lblAnvisningar", QStringLiteral("Anvisningar"));
    txtAnvisningar = control<QPlainTextEdit>(this, "txtAnvisningar");
    for (QPlainTextEdit* e : { txtIngredienser, txtAnvisningar })
        e->setTabChangesFocus(true);

    lblVerktyg = caption(this, "lblVerktyg", QStringLiteral("Verktyg"));
    QFont bold = lblVerktyg->font();
    bold.setBold(true);
    lblVerktyg->setFont(bold);
    lblReceptKategori = caption(this, "lblReceptKategori", QStringLiteral("Ändra receptets kategori"));
    cmbNyttRecept = control<QComboBox>(this, "cmbNyttRecept");
    cmbNyttRecept->setMaxVisibleItems(20);

    for (int i = 0; i < CmdCount; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(ButtonCaptions[i]), this);
        b->setObjectName(QStringLiteral("cmdButton_%1").arg(i));
        b->setVisible(isBrowsingButton(Cmd(i)));
        connect(b, &QPushButton::clicked, this, [this, i] { onButton(Cmd(i)); });
        cmdButton[i] = b;
    }
    const char* krox[KroxCount] = { "&Om", "&Hjälp", "Avsluta" };
    for (int i = 0; i < KroxCount; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(krox[i]), this);
        b->setObjectName(QStringLiteral("cmdKrox_%1").arg(i));
        connect(b, &QPushButton::clicked, this, [this, i] { onKrox(Krox(i)); });
        cmdKrox[i] = b;
    }
    m_search = new SearchPanel(
        m_ctx, this, m_windows, { button(Cmd::Sok), button(Cmd::LaggTill), button(Cmd::SparaIng) });
    connect(m_search, &SearchPanel::seekRequested, this, &FrmMain::RunSeek);
    for (const MainLayout::Place& p : MainLayout::places(size(), false))
        m_placed.append(findChild<QWidget*>(p.name, Qt::FindDirectChildrenOnly));
    applyLayout();

    connect(cmbKategorier, &QComboBox::activated, this, &FrmMain::kategoriChosen);
    connect(lstRecept->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& cur) { showRecept(cur.isValid() ? cur.row() : -1); });
    // A click on the shown row shows it afresh, dropping text the user chose not to save.
    connect(lstRecept, &QListView::clicked, this, [this](const QModelIndex& i) { showRecept(i.row()); });
    for (QLineEdit* e : { txtTitel, txtPortioner, txtTid }) {
        // Qt would cut a longer text without a word; storing refuses it instead.
        e->setMaxLength(std::numeric_limits<int>::max());
        connect(e, &QLineEdit::textChanged, this, [this] { m_receptChanged = true; });
    }
    for (QPlainTextEdit* e : { txtIngredienser, txtAnvisningar })
        connect(e, &QPlainTextEdit::textChanged, this, [this] { m_receptChanged = true; });
    for (QWidget* w : std::initializer_list<QWidget*> {
             txtTitel, txtPortioner, txtTid, txtIngredienser, txtAnvisningar, cmbNyttRecept, lstRecept })
        w->installEventFilter(this);
    setCurrentRid(0);
}

bool FrmMain::load()
{
    setWindowTitle(m_ctx.programTitle);
    Colours::apply(m_ctx, this);
    // A user expects the window back at the size it was left at; one left
    // on a larger screen opens maximised, so that every control is in reach.
    const QSize stored = QSize(m_ctx.windowWidth, m_ctx.windowHeight).expandedTo(MainLayout::MinimumSize);
    const QSize room = screen()->availableGeometry().size();
    const QSize fitting = stored.boundedTo(room);
    resize(fitting.expandedTo(MainLayout::MinimumSize));
    if (!room.isEmpty() && fitting != stored)
        setWindowState(windowState() | Qt::WindowMaximized);
    applyLayout();
    m_ctx.windowWidth = qint16(width());
    m_ctx.windowHeight = qint16(height());
    if (!FillKategoriList() || !FillNyKategoriList())
        return false;
    m_search->FillSeekModes();
    m_search->keepTextMeanwhile();
    return true;
}

void FrmMain::showDbError(const QString& what, const DbError& error)
{
    m_ctx.prompts().message(this, what + QStringLiteral("\n\n") + error.describe(), Prompts::Buttons::Ok,
        Prompts::Icon::Critical);
}

void FrmMain::applyLayout()
{
    const QList<MainLayout::Place> places = MainLayout::places(size(), m_nyttReceptMode);
    for (qsizetype i = 0; i < places.size(); ++i)
        if (QWidget* w = m_placed.value(i))
            w->setGeometry(MainLayout::pixels(places.at(i).rect));
}

void FrmMain::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    applyLayout();
    m_ctx.windowWidth = qint16(std::min(width(), 32767));
    m_ctx.windowHeight = qint16(std::min(height(), 32767));
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

bool FrmMain::askBeforeCommand()
{
    if (m_nyttReceptMode)
        return true;
    // A shortcut clicks its button without taking the focus from an edited
    // field, so the question that leaving the field asks comes here, first.
    kategoriEditLeft();
    m_kategoriEditing = cmbNyttRecept->hasFocus();
    return leaveEdit();
}

void FrmMain::onButton(Cmd c)
{
    if (!askBeforeCommand())
        return;
    switch (c) {
    case Cmd::NyttRecept:
        BeginNyttRecept();
        break;
    case Cmd::Radera:
        DeleteRecept();
        break;
    case Cmd::Kategorier:
        openKategorier();
        break;
    case Cmd::Uppdatera:
        openUppdatera();
        break;
    case Cmd::SkrivUt:
        openPrint();
        break;
    case Cmd::Sok:
        RunSeek();
        break;
    case Cmd::ERecept:
        SendERecept();
        break;
    case Cmd::Spara:
        SaveNyttRecept();
        break;
    case Cmd::Avbryt:
        EndNyttRecept();
        break;
    case Cmd::SparaIng:
        m_search->EditSeekItem();
        break;
    case Cmd::LaggTillIng:
    case Cmd::LaggTill:
        m_search->AddSeekItem();
        break;
    case Cmd::OppnaKyl:
        m_search->OpenFridge();
        break;
    case Cmd::SparaKyl:
        m_search->SaveFridge();
        break;
    case Cmd::AterstallKyl:
        m_search->ClearSeekList();
        break;
    case Cmd::Halsoguide:
        openGuide();
        break;
    case Cmd::Matsedel:
        openMatsedel();
        break;
    case Cmd::Anpassa:
        openAnpassa();
        break;
    case Cmd::Bild:
        openPictureWindow();
        break;
    case Cmd::SkapaWeb:
    case Cmd::Verktyg:
    case Cmd::Installningar:
        break;
    }
}

void FrmMain::onKrox(Krox k)
{
    if (!askBeforeCommand())
        return;
    switch (k) {
    case Krox::Om:
        openAbout();
        break;
    case Krox::Hjalp:
        openHelp();
        break;
    case Krox::Avsluta:
        close();
        break;
    }
}

void FrmMain::openSecondary(QWidget* w)
{
    m_windows.open(w);
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
    if (!leaveEdit())
        return;
    ClearRecept();
    auto result = m_search->search(m_titleOrder);
    if (!result || m_exited)
        return;
    if (!*result) {
        showDbError(QStringLiteral("Sökningen kunde inte genomföras."), result->error());
        return;
    }
    SeekEngine::Result& hits = **result;
    const int n = int(hits.ids.size());
    {
        const QSignalBlocker block(lstRecept->selectionModel());
        m_receptModel->setRows(std::move(hits.ids), std::move(hits.titles));
    }
    lblRecept->setText(QStringLiteral("%1 recept").arg(n));
    setCurrentRid(0);
}

bool FrmMain::ExitProgram(const std::function<bool()>& lastStep)
{
    if (m_exited)
        return true;
    // A new recipe being typed would otherwise be dropped without a word.
    if (m_nyttReceptMode && !shownFields().isEmpty()) {
        const auto answer = m_ctx.prompts().message(this,
            QStringLiteral("Det nya receptet har inte sparats. Vill Du spara det?"), Prompts::Buttons::YesNo,
            Prompts::Icon::None, QStringLiteral("Spara nytt recept?"));
        if (answer == Prompts::Answer::Yes) {
            SaveNyttRecept();
            if (m_nyttReceptMode)
                return false;
        }
    }
    // The user said save, but it could not be stored (no title, or the engine
    // refused): the program stays so the edit is not lost.
    if (!m_nyttReceptMode && !leaveEdit())
        return false;
    if (lastStep && !lastStep())
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
