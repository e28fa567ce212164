#include "mainwindow/FrmMain.h"

#include "app/Colours.h"
#include "app/Startup.h"
#include "catalogue/FrmReceptBild.h"
#include "catalogue/RecipeListModel.h"
#include "mainwindow/FrmAbout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>

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
const ButtonPlace ButtonPlaces[FrmMain::ButtonCount] = {
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

// Shown in browsing mode; the rest never are, except 9 and 10 while a new
// recipe is entered.
bool FrmMain::isBrowsingButton(int i)
{
    switch (i) {
    case 1:
    case 7:
    case 8:
    case 9:
    case 10:
    case 12:
    case 16:
    case 18:
        return false;
    default:
        return true;
    }
}

namespace {

template <typename T> T* make(QWidget* parent, const char* name, int x, int y, int w, int h)
{
    auto* t = new T(parent);
    t->setObjectName(QString::fromLatin1(name));
    t->setGeometry(x, y, w, h);
    return t;
}

QLabel* label(QWidget* parent, const char* name, const QString& text, int x, int y, int w)
{
    auto* l = make<QLabel>(parent, name, x, y, w, 17);
    l->setText(text);
    return l;
}

} // namespace

FrmMain::FrmMain(AppContext& ctx, QWidget* parent)
    : QWidget(parent)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("frmMain"));
    setMinimumSize(MinWidth, MinHeight);
    resize(DesignedWidth, DesignedHeight);
    buildControls();
}

FrmMain::~FrmMain() = default;

void FrmMain::buildControls()
{
    lblKategorier = label(this, "lblKategorier", QStringLiteral("Välj kategori"), 5, 8, 249);
    cmbKategorier = make<QComboBox>(this, "cmbKategorier", 5, 24, 249, 21);
    cmbKategorier->setMaxVisibleItems(20);
    lblRecept = label(this, "lblRecept", QStringLiteral("Recept"), 5, 48, 249);
    lstRecept = make<QListView>(this, "lstRecept", 5, 64, 249, 459);
    m_receptModel = new RecipeListModel(this);
    lstRecept->setModel(m_receptModel);
    lstRecept->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstRecept->setUniformItemSizes(true);
    lstRecept->setEditTriggers(QAbstractItemView::NoEditTriggers);

    lblTitel = label(this, "lblTitel", QStringLiteral("Titel"), 261, 8, 289);
    txtTitel = make<QLineEdit>(this, "txtTitel", 261, 24, 289, 19);
    lblPortioner = label(this, "lblPortioner", QStringLiteral("Portioner"), 264, 48, 137);
    txtPortioner = make<QLineEdit>(this, "txtPortioner", 264, 64, 137, 19);
    lblTid = label(this, "lblTid", QStringLiteral("Tid"), 405, 48, 145);
    txtTid = make<QLineEdit>(this, "txtTid", 405, 64, 145, 19);
    lblIngredienser = label(this, "lblIngredienser", QStringLiteral("Ingredienser"), 261, 88, 289);
    txtIngredienser = make<QPlainTextEdit>(this, "txtIngredienser", 261, 104, 289, 209);
    lblAnvisningar = label(this, "lblAnvisningar", QStringLiteral("Anvisningar"), 261, 320, 289);
    txtAnvisningar = make<QPlainTextEdit>(this, "txtAnvisningar", 261, 336, 289, 193);
    for (QPlainTextEdit* e : { txtIngredienser, txtAnvisningar })
        e->setTabChangesFocus(true);

    lblVerktyg = label(this, "lblVerktyg", QStringLiteral("Verktyg"), 557, 8, 233);
    QFont bold = lblVerktyg->font();
    bold.setBold(true);
    lblVerktyg->setFont(bold);
    lblReceptKategori
        = label(this, "lblReceptKategori", QStringLiteral("Ändra receptets kategori"), 557, 120, 233);
    cmbNyttRecept = make<QComboBox>(this, "cmbNyttRecept", 557, 136, 233, 21);
    cmbNyttRecept->setMaxVisibleItems(20);
    lblSeek = label(this, "lblSeek", QStringLiteral("Sök recept..."), 557, 160, 233);
    cmbSeek = make<QComboBox>(this, "cmbSeek", 557, 176, 233, 21);
    txtAddSeek = make<QLineEdit>(this, "txtAddSeek", 557, 200, 153, 19);
    lstSeek = make<QListWidget>(this, "lstSeek", 557, 224, 233, 173);
    lblKylskap = label(this, "lblKylskap", QStringLiteral("Kylskåpet..."), 557, 408, 233);
    txtEditIng = make<QLineEdit>(this, "txtEditIng", 557, 456, 153, 19);
    txtSeek = make<QLineEdit>(this, "txtSeek", 557, 480, 153, 19);
    txtSeek->hide();
    txtAddIng = make<QLineEdit>(this, "txtAddIng", 5, 528, 153, 19);
    txtAddIng->hide();

    for (int i = 0; i < ButtonCount; ++i) {
        const ButtonPlace& p = ButtonPlaces[i];
        auto* b = make<QPushButton>(this, "", p.left, p.top, 73, p.height);
        b->setObjectName(QStringLiteral("cmdButton_%1").arg(i));
        b->setText(QString::fromUtf8(p.caption));
        b->setVisible(isBrowsingButton(i));
        connect(b, &QPushButton::clicked, this, [this, i] { onButton(i); });
        cmdButton[i] = b;
    }
    const char* krox[KroxCount] = { "&Om", "&Hjälp", "Avsluta" };
    for (int i = 0; i < KroxCount; ++i) {
        auto* b = make<QPushButton>(this, "", 557 + 80 * i, 504, 73, 25);
        b->setObjectName(QStringLiteral("cmdKrox_%1").arg(i));
        b->setText(QString::fromUtf8(krox[i]));
        connect(b, &QPushButton::clicked, this, [this, i] { onKrox(i); });
        cmdKrox[i] = b;
    }

    connect(cmbKategorier, &QComboBox::activated, this, &FrmMain::kategoriChosen);
    connect(lstRecept->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& cur) { showRecept(cur.isValid() ? cur.row() : -1); });
    // A click on the shown row shows it afresh, dropping text the user chose not to save.
    connect(lstRecept, &QListView::clicked, this, [this](const QModelIndex& i) { showRecept(i.row()); });
    for (QLineEdit* e : { txtTitel, txtPortioner, txtTid })
        connect(e, &QLineEdit::textChanged, this, [this] { ReceptChanged = true; });
    for (QPlainTextEdit* e : { txtIngredienser, txtAnvisningar })
        connect(e, &QPlainTextEdit::textChanged, this, [this] { ReceptChanged = true; });
    for (QWidget* w : std::initializer_list<QWidget*> {
             txtTitel, txtPortioner, txtTid, txtIngredienser, txtAnvisningar, cmbNyttRecept, lstRecept })
        w->installEventFilter(this);
    connectSearchPanel();
}

bool FrmMain::load()
{
    m_loading = true;
    setWindowTitle(m_ctx.programTitle);
    Colours::apply(m_ctx, this);
    // A user expects the window back at the size it was left at.
    resize(std::max<int>(m_ctx.windowWidth, MinWidth), std::max<int>(m_ctx.windowHeight, MinHeight));
    m_ctx.windowWidth = qint16(width());
    m_ctx.windowHeight = qint16(height());
    const bool ok = FillKategoriList() && FillNyKategoriList();
    if (ok)
        FillSeekModes();
    m_loading = false;
    if (!ok)
        return false;
    MainLoaded = true;
    return true;
}

void FrmMain::showDbError(const QString& what)
{
    m_ctx.prompts().message(this, what + QStringLiteral("\n\n") + m_ctx.db().lastError().describe(),
        Prompts::Buttons::Ok, Prompts::Icon::Critical);
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

const QVector<qint32>& FrmMain::receptIds() const
{
    return m_receptModel->ids();
}

qint32 FrmMain::currentListRid() const
{
    return m_receptModel->idAt(lstRecept->currentIndex().row());
}

void FrmMain::onButton(int index)
{
    switch (index) {
    case 0:
        BeginNyttRecept();
        break;
    case 1:
        DeleteRecept();
        break;
    case 4:
        if (markedCount() == 0)
            m_ctx.prompts().message(this, QStringLiteral("Markera ett recept först."));
        break;
    case 5:
        RunSeek();
        break;
    case 9:
        SaveNyttRecept();
        break;
    case 10:
        EndNyttRecept();
        break;
    case 11:
        EditSeekItem();
        break;
    case 12:
    case 19:
        AddSeekItem();
        break;
    case 13:
        OpenFridge();
        break;
    case 14:
        SaveFridge();
        break;
    case 15:
        ClearSeekList();
        break;
    case 21:
        openPictureWindow();
        break;
    default:
        // The windows behind the other commands come with later releases.
        break;
    }
}

void FrmMain::onKrox(int index)
{
    switch (index) {
    case 0: {
        auto* about = new FrmAbout(m_ctx);
        openSecondary(about);
        break;
    }
    case 1:
        openHelp();
        break;
    case 2:
        close();
        break;
    default:
        break;
    }
}

void FrmMain::openHelp()
{
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(QFileInfo(m_ctx.path(QStringLiteral("Manual/Default.htm"))).absoluteFilePath()));
}

void FrmMain::openSecondary(QWidget* w)
{
    // Owned by the main window and kept above it by the window system.
    w->setParent(this, w->windowFlags() | Qt::Window);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->adjustSize();
    w->move(geometry().center() - w->rect().center());
    w->installEventFilter(this);
    m_secondaries.append(w);
    connect(w, &QObject::destroyed, this, [this](QObject* gone) {
        m_secondaries.removeIf([gone](const QPointer<QWidget>& p) { return p.isNull() || p.data() == gone; });
        restoreActiveWindowName();
    });
    ActiveWindowName = w->objectName();
    w->show();
    w->raise();
    w->activateWindow();
}

void FrmMain::restoreActiveWindowName()
{
    ActiveWindowName.clear();
    for (const QPointer<QWidget>& w : std::as_const(m_secondaries))
        if (w && w->isVisible())
            ActiveWindowName = w->objectName();
}

void FrmMain::openPictureWindow()
{
    if (markedCount() == 0) {
        m_ctx.prompts().message(this, QStringLiteral("Markera ett recept först."));
        return;
    }
    auto* w = new FrmReceptBild(m_ctx, [this] { return currentListRid(); });
    connect(w, &FrmReceptBild::pictureChanged, this, [this](qint32 rid) {
        if (rid == CurrentRID)
            updatePictureButton();
    });
    openSecondary(w);
}

void FrmMain::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    // Open secondary windows stay in front of the main window, the one last
    // active on top.
    if (e->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    QWidget* active = nullptr;
    for (const QPointer<QWidget>& w : std::as_const(m_secondaries)) {
        if (!w || !w->isVisible())
            continue;
        if (w->objectName() == ActiveWindowName)
            active = w;
        else
            w->raise();
    }
    if (active)
        active->raise();
}

bool FrmMain::ExitProgram()
{
    if (m_exited)
        return true;
    // A new recipe being typed would otherwise be dropped without a word.
    if (NyttReceptMode && !shownFields().isEmpty()) {
        const auto answer = m_ctx.prompts().message(this,
            QStringLiteral("Det nya receptet har inte sparats. Vill Du spara det?"), Prompts::Buttons::YesNo,
            Prompts::Icon::None, QStringLiteral("Spara nytt recept?"));
        if (answer == Prompts::Answer::Yes) {
            SaveNyttRecept();
            if (NyttReceptMode)
                return false;
        }
    }
    if (ReceptChanged && !NyttReceptMode) {
        AskSaveRecept();
        // The user said save, but it could not be stored (no title, or the
        // engine refused): the program stays so the edit is not lost.
        if (ReceptChanged)
            return false;
    }
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
