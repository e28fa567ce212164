#include "ui/guide/FrmGuide.h"
#include "core/db/Database.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include "core/catalogue/Guide.h"
#include "ui/app/Colours.h"
#include "ui/app/Controls.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using Controls::label;
using Controls::make;

namespace {

constexpr int ClientWidth = 520;
constexpr int ClientHeight = 395;
constexpr int PanelTop = 41;
constexpr int PanelWidth = 504;
constexpr int PanelHeight = 311;

} // namespace

FrmGuide::FrmGuide(Database& db, Prompts& prompts, const RunState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
    , m_db(db)
    , m_prompts(prompts)
    , m_state(state)
{
    setObjectName(QStringLiteral("frmGuide"));
    setWindowTitle(QStringLiteral("Hälsoguide"));
    setAttribute(Qt::WA_DeleteOnClose);

    const char* const tabs[TabCount] = { "&Mat", "M&otion", "Mat&info", "&Uppgifter", "&Kalender" };
    for (int i = 0; i < TabCount; ++i) {
        cmdGuide[i] = make<QPushButton>(this, QStringLiteral("cmdGuide_%1").arg(i), 8 + 101 * i, 8, 97, 25);
        cmdGuide[i]->setText(QString::fromUtf8(tabs[i]));
        connect(cmdGuide[i], &QPushButton::clicked, this, [this, i] { SelectGuideMode(Tab(i)); });
        auto* panel
            = make<QFrame>(this, QStringLiteral("picMode_%1").arg(i), 8, PanelTop, PanelWidth, PanelHeight);
        panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
        Colours::markPanel(panel);
        picMode[i] = panel;
    }
    buildFoodTab(picMode[int(Tab::Mat)]);

    cmdClose = make<QPushButton>(
        this, QStringLiteral("cmdClose"), ClientWidth - 8 - 73, ClientHeight - 8 - 25, 73, 25);
    cmdClose->setText(QStringLiteral("Stäng"));
    connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
    setFixedSize(ClientWidth, ClientHeight);

    Colours::apply(m_state, this);
    SelectGuideMode(Tab::Mat);
    txtRecept->setFocus();
}

void FrmGuide::buildFoodTab(QWidget* panel)
{
    lblInfo = label(panel, QStringLiteral("lblInfo"), QString(), 10, 8, 484);
    QFont bold = lblInfo->font();
    bold.setBold(true);
    lblInfo->setFont(bold);

    lblRecept = label(panel, QStringLiteral("lblRecept"), QStringLiteral("Välj ett recept"), 10, 34, 200);
    txtRecept = make<QLineEdit>(panel, QStringLiteral("txtRecept"), 10, 50, 200, 19);
    cmdAddRecept = make<QPushButton>(panel, QStringLiteral("cmdAddRecept"), 216, 48, 73, 23);
    cmdAddRecept->setText(QStringLiteral("Lägg till..."));
    lblIngrediens
        = label(panel, QStringLiteral("lblIngrediens"), QStringLiteral("Välj en ingrediens"), 10, 76, 200);
    txtIngrediens = make<QLineEdit>(panel, QStringLiteral("txtIngrediens"), 10, 92, 200, 19);
    cmdAddIngrediens = make<QPushButton>(panel, QStringLiteral("cmdAddIngrediens"), 216, 90, 73, 23);
    cmdAddIngrediens->setText(QStringLiteral("Lägg till..."));
    lblRecept->setBuddy(txtRecept);
    lblIngrediens->setBuddy(txtIngrediens);

    lstFood = make<QListWidget>(panel, QStringLiteral("lstFood"), 10, 120, 279, 181);
    // The recipe's lines take the place of the look-up list.
    lblIngredienser = label(panel, QStringLiteral("lblIngredienser"), QString(), 10, 120, 484);
    lstIngredienser = make<QListWidget>(panel, QStringLiteral("lstIngredienser"), 10, 136, 279, 165);

    lblTitel = label(panel, QStringLiteral("lblTitel"), QStringLiteral("Namn"), 300, 34, 194);
    txtNamn = make<QLineEdit>(panel, QStringLiteral("txtNamn"), 300, 50, 194, 19);
    lblEnhet = label(panel, QStringLiteral("lblEnhet"), QStringLiteral("Enhet"), 300, 76, 194);
    cmbEnhet = make<QComboBox>(panel, QStringLiteral("cmbEnhet"), 300, 92, 194, 21);
    lblAntal = label(panel, QStringLiteral("lblAntal"), QStringLiteral("Mängd"), 300, 120, 194);
    txtAntal = make<QLineEdit>(panel, QStringLiteral("txtAntal"), 300, 136, 194, 19);
    for (QWidget* w : std::initializer_list<QWidget*> {
             lblAntal, lblEnhet, lblIngredienser, lblTitel, lstIngredienser, txtAntal, txtNamn, cmbEnhet })
        w->hide();

    connect(txtRecept, &QLineEdit::textChanged, this, &FrmGuide::lookUpRecipes);
    connect(txtIngrediens, &QLineEdit::textChanged, this, &FrmGuide::lookUpIngredients);
    connect(cmdAddRecept, &QPushButton::clicked, this, &FrmGuide::addChosenRecipe);
    txtRecept->installEventFilter(this);
    txtIngrediens->installEventFilter(this);
}

void FrmGuide::SelectGuideMode(Tab tab)
{
    for (int i = 0; i < TabCount; ++i) {
        QFont f = cmdGuide[i]->font();
        f.setBold(i == int(tab));
        cmdGuide[i]->setFont(f);
        picMode[i]->setVisible(i == int(tab));
    }
    if (tab == Tab::Mat)
        lblInfo->setText(QStringLiteral("Vad har du ätit och druckit idag?"));
}

void FrmGuide::showDbError(const QString& what, const DbError& error)
{
    m_prompts.message(this, what + QStringLiteral("\n\n") + error.describe(), Prompts::Buttons::Ok,
        Prompts::Icon::Critical);
}

void FrmGuide::lookUpRecipes(const QString& text)
{
    const auto found = Guide::recipesBeginning(m_db, text);
    if (!found) {
        showDbError(QStringLiteral("Recepten kunde inte sökas."), found.error());
        return;
    }
    showFound(found->titles);
    m_foodIds = found->ids;
}

void FrmGuide::lookUpIngredients(const QString& text)
{
    const auto found = Guide::ingredientsBeginning(m_db, text);
    if (!found) {
        showDbError(QStringLiteral("Ingredienserna kunde inte sökas."), found.error());
        return;
    }
    showFound(*found);
    m_foodIds.clear();
}

void FrmGuide::showFound(const QStringList& entries)
{
    lstFood->clear();
    lstFood->addItems(entries);
    if (lstFood->count() > 0 && lstFood->currentRow() < 0)
        lstFood->setCurrentRow(0);
}

bool FrmGuide::moveSelection(int key)
{
    const int row = lstFood->currentRow();
    if (key == Qt::Key_Up) {
        if (row > 0)
            lstFood->setCurrentRow(row - 1);
        return true;
    }
    if (key == Qt::Key_Down) {
        if (row < lstFood->count() - 1)
            lstFood->setCurrentRow(row + 1);
        return true;
    }
    return false;
}

void FrmGuide::addChosenRecipe()
{
    const int row = lstFood->currentRow();
    if (row < 0 || row >= m_foodIds.size())
        return;
    ShowRecipeIngredients(m_foodIds.at(row), lstFood->item(row)->text());
}

void FrmGuide::ShowRecipeIngredients(qint32 rid, const QString& title)
{
    lstFood->hide();
    for (QWidget* w : std::initializer_list<QWidget*> {
             lblAntal, lblEnhet, lblIngredienser, lblTitel, lstIngredienser, txtAntal, txtNamn, cmbEnhet })
        w->show();
    lblIngredienser->setText(QStringLiteral("Ingredienser i ") + title);
    const auto lines = Guide::ingredientLines(m_db, rid);
    if (!lines) {
        showDbError(QStringLiteral("Receptets ingredienser kunde inte läsas."), lines.error());
        return;
    }
    lstIngredienser->insertItems(0, *lines);
    lstIngredienser->scrollToTop();
}

bool FrmGuide::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() != QEvent::KeyPress || lstFood->count() == 0)
        return QWidget::eventFilter(watched, e);
    const int key = static_cast<QKeyEvent*>(e)->key();
    if (moveSelection(key))
        return true;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (watched == txtRecept)
            addChosenRecipe();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void FrmGuide::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        emit activated();
}

void FrmGuide::closeEvent(QCloseEvent* e)
{
    m_closing = true;
    e->accept();
}

void FrmGuide::hideEvent(QHideEvent* e)
{
    QWidget::hideEvent(e);
    // Once out of the way, or the window manager would place the main window
    // anew beside it; and before the close is over, or the program would end
    // with its last window.
    if (m_closing && !e->spontaneous())
        emit closed();
}
