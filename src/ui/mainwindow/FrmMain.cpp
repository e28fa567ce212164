#include "ui/mainwindow/FrmMain.h"

#include "core/catalogue/RecipeListModel.h"
#include "ui/app/Colours.h"
#include "ui/app/Controls.h"
#include "ui/app/Startup.h"
#include "ui/mainwindow/SearchPanel.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>

using Controls::label;
using Controls::make;

namespace {

constexpr int DesignedWidth = 792;
constexpr int DesignedHeight = 532;
constexpr int MinWidth = 640;
constexpr int MinHeight = 480;

struct ButtonPlace {
    const char* caption;
    int left;
    int top;
    int height;
};

// Captions and designed places of the command buttons, by index.
const ButtonPlace ButtonPlaces[CmdCount] = {
    { "&Nytt recept", 557, 24, 25 },
    { "&Radera", 552, 528, 25 },
    { "&Kategorier", 717, 24, 25 },
    { "&Uppdatera", 557, 56, 25 },
    { "Skri&v ut", 637, 56, 25 },
    { "Sök", 717, 480, 19 },
    { "&E-Recept", 717, 56, 25 },
    { "Skapa &web", 285, 560, 25 },
    { "Verk&tyg", 365, 560, 25 },
    { "&Spara", 560, 496, 25 },
    { "&Avbryt", 640, 496, 25 },
    { "Spara ing.", 717, 456, 19 },
    { "Lägg till ing.", 165, 528, 19 },
    { "&Öppna", 557, 424, 25 },
    { "&Spara", 637, 424, 25 },
    { "&Återställ", 717, 424, 25 },
    { "&Hälsoguide", 445, 560, 25 },
    { "&Matsedel", 637, 24, 25 },
    { "&Inställningar", 720, 528, 25 },
    { "Lägg till", 717, 200, 19 },
    { "&Anpassa", 597, 88, 25 },
    { "&Bild", 677, 88, 25 },
};

} // namespace

FrmMain::FrmMain(AppContext& ctx, QWidget* parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_windows(this)
    , m_titleOrder(ctx.db())
{
    setObjectName(QStringLiteral("frmMain"));
    setMinimumSize(MinWidth, MinHeight);
    resize(DesignedWidth, DesignedHeight);
    buildControls();
}

FrmMain::~FrmMain() = default;

void FrmMain::buildControls()
{
    lblKategorier = label(this, QStringLiteral("lblKategorier"), QStringLiteral("Välj kategori"), 5, 8, 249);
    cmbKategorier = make<QComboBox>(this, QStringLiteral("cmbKategorier"), 5, 24, 249, 21);
    cmbKategorier->setMaxVisibleItems(20);
    lblRecept = label(this, QStringLiteral("lblRecept"), QStringLiteral("Recept"), 5, 48, 249);
    lstRecept = make<QListView>(this, QStringLiteral("lstRecept"), 5, 64, 249, 459);
    m_receptModel = new RecipeListModel(this);
    lstRecept->setModel(m_receptModel);
    lstRecept->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstRecept->setUniformItemSizes(true);
    lstRecept->setEditTriggers(QAbstractItemView::NoEditTriggers);

    lblTitel = label(this, QStringLiteral("lblTitel"), QStringLiteral("Titel"), 261, 8, 289);
    txtTitel = make<QLineEdit>(this, QStringLiteral("txtTitel"), 261, 24, 289, 19);
    lblPortioner = label(this, QStringLiteral("lblPortioner"), QStringLiteral("Portioner"), 264, 48, 137);
    txtPortioner = make<QLineEdit>(this, QStringLiteral("txtPortioner"), 264, 64, 137, 19);
    lblTid = label(this, QStringLiteral("lblTid"), QStringLiteral("Tid"), 405, 48, 145);
    txtTid = make<QLineEdit>(this, QStringLiteral("txtTid"), 405, 64, 145, 19);
    lblIngredienser
        = label(this, QStringLiteral("lblIngredienser"), QStringLiteral("Ingredienser"), 261, 88, 289);
    txtIngredienser = make<QPlainTextEdit>(this, QStringLiteral("txtIngredienser"), 261, 104, 289, 209);
    lblAnvisningar
        = label(this, QStringLiteral("lblAnvisningar"), QStringLiteral("Anvisningar"), 261, 320, 289);
    txtAnvisningar = make<QPlainTextEdit>(this, QStringLiteral("txtAnvisningar"), 261, 336, 289, 193);
    for (QPlainTextEdit* e : { txtIngredienser, txtAnvisningar })
        e->setTabChangesFocus(true);

    lblVerktyg = label(this, QStringLiteral("lblVerktyg"), QStringLiteral("Verktyg"), 557, 8, 233);
    QFont bold = lblVerktyg->font();
    bold.setBold(true);
    lblVerktyg->setFont(bold);
    lblReceptKategori = label(
        this, QStringLiteral("lblReceptKategori"), QStringLiteral("Ändra receptets kategori"), 557, 120, 233);
    cmbNyttRecept = make<QComboBox>(this, QStringLiteral("cmbNyttRecept"), 557, 136, 233, 21);
    cmbNyttRecept->setMaxVisibleItems(20);

    for (int i = 0; i < CmdCount; ++i) {
        const ButtonPlace& p = ButtonPlaces[i];
        auto* b = make<QPushButton>(this, QStringLiteral("cmdButton_%1").arg(i), p.left, p.top, 73, p.height);
        b->setText(QString::fromUtf8(p.caption));
        b->setVisible(isBrowsingButton(Cmd(i)));
        connect(b, &QPushButton::clicked, this, [this, i] { onButton(Cmd(i)); });
        cmdButton[i] = b;
    }
    const char* krox[KroxCount] = { "&Om", "&Hjälp", "Avsluta" };
    for (int i = 0; i < KroxCount; ++i) {
        auto* b = make<QPushButton>(this, QStringLiteral("cmdKrox_%1").arg(i), 557 + 80 * i, 504, 73, 25);
        b->setText(QString::fromUtf8(krox[i]));
        connect(b, &QPushButton::clicked, this, [this, i] { onKrox(Krox(i)); });
        cmdKrox[i] = b;
    }
    m_search = new SearchPanel(
        m_ctx, this, m_windows, { button(Cmd::Sok), button(Cmd::LaggTill), button(Cmd::SparaIng) });
    connect(m_search, &SearchPanel::seekRequested, this, &FrmMain::RunSeek);

    connect(cmbKategorier, &QComboBox::activated, this, &FrmMain::kategoriChosen);
    connect(lstRecept->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& cur) { showRecept(cur.isValid() ? cur.row() : -1); });
    // A click on the shown row shows it afresh, dropping text the user chose not to save.
    connect(lstRecept, &QListView::clicked, this, [this](const QModelIndex& i) { showRecept(i.row()); });
    for (QLineEdit* e : { txtTitel, txtPortioner, txtTid })
        connect(e, &QLineEdit::textChanged, this, [this] { m_receptChanged = true; });
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
    // A user expects the window back at the size it was left at.
    resize(std::max<int>(m_ctx.windowWidth, MinWidth), std::max<int>(m_ctx.windowHeight, MinHeight));
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

void FrmMain::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
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

void FrmMain::onButton(Cmd c)
{
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

bool FrmMain::ExitProgram()
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
