#include "ui/menu/FrmMatsedel.h"
#include "core/app/ProgramPaths.h"
#include "core/db/Database.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include "core/catalogue/Catalogue.h"
#include "core/menu/MenuPage.h"
#include "core/menu/MenuSlots.h"
#include "core/menu/MenuStore.h"
#include "core/menu/ShoppingList.h"
#include "core/menu/SummedList.h"
#include "core/print/PageWriter.h"
#include "ui/app/Colours.h"
#include "ui/app/Controls.h"
#include "ui/exchange/ListMail.h"
#include "ui/print/FrmPrint.h"
#include "ui/print/PagePrinter.h"
#include "ui/print/PageView.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char16_t* const Captions[6]
    = { u"-> Lägg till ->", u"<- Ta bort <-", u"Återställ", u"Skriv ut", u"Spara", u"Ta bort" };
// The current meal stands out in this red.
const QColor Current(158, 11, 14);
// Any position of the recipe filter but its fixed ones lists one category.
constexpr int OneCategory = Catalogue::NewestPosition + 1;

} // namespace

FrmMatsedel::FrmMatsedel(Database& db, Prompts& prompts, const ProgramPaths& paths, RunState& state,
    std::function<QStringList()> fridge, std::function<void(QWidget*)> openWindow, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_db(db)
    , m_prompts(prompts)
    , m_paths(paths)
    , m_state(state)
    , m_fridge(std::move(fridge))
    , m_openWindow(std::move(openWindow))
{
    buildControls();
    Colours::apply(m_state, this);
    fillKategorier();
    ListaMatsedlar();
    const int slot = m_state.matsedelSlot();
    m_state.setMatsedelSlot(-1);
    setCurrentSlot(slot >= 0 && slot < MenuSlots::SlotCount ? slot : 0);
}

void FrmMatsedel::buildControls()
{
    setObjectName(QStringLiteral("frmMatsedel"));
    setWindowTitle(QStringLiteral("Matsedel"));
    setAttribute(Qt::WA_DeleteOnClose);

    cmbKategorier = new QComboBox(this);
    cmbKategorier->setObjectName(QStringLiteral("cmbKategorier"));
    connect(cmbKategorier, &QComboBox::activated, this, &FrmMatsedel::kategoriChosen);
    lstRecept = new QListWidget(this);
    lstRecept->setObjectName(QStringLiteral("lstRecept"));
    connect(lstRecept, &QListWidget::itemDoubleClicked, this, [this] { placeSelected(); });
    buildButtons();
    QGridLayout* week = buildWeek();

    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    middle->addWidget(button(Cmd::LaggTill));
    middle->addWidget(button(Cmd::TaBortRatt));
    middle->addSpacing(12);
    middle->addWidget(button(Cmd::Aterstall));
    middle->addStretch(1);

    auto* left = new QVBoxLayout;
    left->addWidget(cmbKategorier);
    left->addWidget(lstRecept, 1);

    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(middle);
    top->addLayout(week, 2);
    QHBoxLayout* bottom = buildBottom();

    // Loads the page for printing; the page itself is not shown here.
    webMatsedel = new PageView(this);
    webMatsedel->setObjectName(QStringLiteral("webMatsedel"));
    webMatsedel->hide();
    connect(webMatsedel, &PageView::pageLoaded, this, &FrmMatsedel::pageLoaded);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(10, 10, 10, 10);
    main->addLayout(top, 1);
    main->addSpacing(6);
    main->addLayout(bottom);
}

void FrmMatsedel::buildButtons()
{
    for (int i = 0; i < CmdCount; ++i) {
        cmdButton[i] = new QPushButton(QString::fromUtf16(Captions[i]), this);
        cmdButton[i]->setObjectName(QStringLiteral("cmdButton_%1").arg(i));
        cmdButton[i]->setAutoDefault(false);
        connect(cmdButton[i], &QPushButton::clicked, this, [this, i] { cmdButton_Click(Cmd(i)); });
    }
    cmdInkopslista = new QPushButton(QStringLiteral("Inköpslista"), this);
    cmdInkopslista->setObjectName(QStringLiteral("cmdInkopslista"));
    cmdInkopslista->setAutoDefault(false);
    connect(cmdInkopslista, &QPushButton::clicked, this, &FrmMatsedel::Inkopslista);
}

QGridLayout* FrmMatsedel::buildWeek()
{
    auto* week = new QGridLayout;
    week->setHorizontalSpacing(8);
    week->setVerticalSpacing(2);
    week->setColumnStretch(1, 1);
    int row = 0;
    for (int day = 0; day < MenuSlots::DayCount; ++day) {
        Label1[day] = new QLabel(MenuSlots::dayName(day), this);
        Label1[day]->setObjectName(QStringLiteral("Label1_%1").arg(day));
        QFont bold = Label1[day]->font();
        bold.setBold(true);
        Label1[day]->setFont(bold);
        week->addWidget(Label1[day], row++, 0, 1, 2);
        for (int meal = 0; meal < MenuSlots::MealCount; ++meal) {
            const int slot = MenuSlots::MealCount * day + meal;
            lblWhat[slot] = new QLabel(MenuSlots::mealName(meal), this);
            lblWhat[slot]->setObjectName(QStringLiteral("lblWhat_%1").arg(slot));
            lblTitel[slot] = new QLabel(this);
            lblTitel[slot]->setObjectName(QStringLiteral("lblTitel_%1").arg(slot));
            lblTitel[slot]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            lblTitel[slot]->setMinimumWidth(260);
            lblTitel[slot]->setTextFormat(Qt::PlainText);
            for (QLabel* l : { lblWhat[slot], lblTitel[slot] }) {
                l->installEventFilter(this);
                l->setCursor(Qt::PointingHandCursor);
            }
            week->addWidget(lblWhat[slot], row, 0);
            week->addWidget(lblTitel[slot], row++, 1);
        }
    }
    // Room for the current meal's bold name, so the titles do not move with it.
    QFont boldMeal = lblWhat[0]->font();
    boldMeal.setBold(true);
    int widest = 0;
    for (int meal = 0; meal < MenuSlots::MealCount; ++meal)
        widest = std::max(widest, QFontMetrics(boldMeal).horizontalAdvance(MenuSlots::mealName(meal)));
    week->setColumnMinimumWidth(0, widest + 2);
    return week;
}

QHBoxLayout* FrmMatsedel::buildBottom()
{
    cmbMatsedel = new QComboBox(this);
    cmbMatsedel->setObjectName(QStringLiteral("cmbMatsedel"));
    cmbMatsedel->setMinimumWidth(180);
    connect(cmbMatsedel, &QComboBox::activated, this, &FrmMatsedel::matsedelChosen);
    txtMatsedel = new QLineEdit(this);
    txtMatsedel->setObjectName(QStringLiteral("txtMatsedel"));
    txtMatsedel->installEventFilter(this);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(
        Controls::label(this, QStringLiteral("lblSparade"), QStringLiteral("Sparade:"), 0, 0, 0));
    bottom->addWidget(cmbMatsedel, 1);
    bottom->addWidget(button(Cmd::TaBortMatsedel));
    bottom->addSpacing(16);
    auto* lblNamn = Controls::label(this, QStringLiteral("lblNamn"), QStringLiteral("&Namn:"), 0, 0, 0);
    lblNamn->setBuddy(txtMatsedel);
    bottom->addWidget(lblNamn);
    bottom->addWidget(txtMatsedel, 1);
    bottom->addWidget(button(Cmd::Spara));
    bottom->addSpacing(16);
    bottom->addWidget(cmdInkopslista);
    bottom->addWidget(button(Cmd::SkrivUt));
    return bottom;
}

QStringList FrmMatsedel::titles() const
{
    QStringList out;
    for (const QLabel* l : lblTitel)
        out << l->text();
    return out;
}

void FrmMatsedel::cmdButton_Click(Cmd c)
{
    switch (c) {
    case Cmd::LaggTill:
        placeSelected();
        break;
    case Cmd::TaBortRatt:
        setTitle(m_state.matsedelSlot(), {});
        break;
    case Cmd::Aterstall:
        setTitles({});
        break;
    case Cmd::SkrivUt:
        PrintMatsedel();
        break;
    case Cmd::Spara:
        save();
        break;
    case Cmd::TaBortMatsedel:
        removePlan();
        break;
    }
}

void FrmMatsedel::fillKategorier()
{
    cmbKategorier->clear();
    m_kategoriIds.clear();
    cmbKategorier->addItem(QStringLiteral("Alla recept"));
    m_kategoriIds.append(0);
    const auto categories = Catalogue::categoriesWithRecipes(m_db);
    if (!categories) {
        showDbError(QStringLiteral("Kategorierna kunde inte läsas."), categories.error());
    } else {
        for (const Catalogue::Category& c : *categories) {
            cmbKategorier->addItem(c.name);
            m_kategoriIds.append(c.kid);
        }
    }
    cmbKategorier->setCurrentIndex(0);
    kategoriChosen(0);
}

void FrmMatsedel::kategoriChosen(int row)
{
    lstRecept->clear();
    m_receptIds.clear();
    if (row < 0 || row >= m_kategoriIds.size())
        return;
    const auto rows = row == 0 ? Catalogue::recipesFor(m_db, Catalogue::AllRecipesPosition, 0)
                               : Catalogue::recipesFor(m_db, OneCategory, m_kategoriIds.at(row));
    if (!rows) {
        showDbError(QStringLiteral("Recepten kunde inte läsas."), rows.error());
        return;
    }
    lstRecept->addItems(rows->titles);
    m_receptIds = rows->ids;
}

void FrmMatsedel::followTitle(const QString& oldTitle, const QString& newTitle)
{
    QStringList week = titles();
    if (MenuStore::followInWeek(week, oldTitle, newTitle))
        setTitles(week);
    const int row = lstRecept->currentRow();
    kategoriChosen(cmbKategorier->currentIndex());
    lstRecept->setCurrentRow(std::min(row, lstRecept->count() - 1));
}

void FrmMatsedel::ListaMatsedlar()
{
    cmbMatsedel->clear();
    m_matsedelIds.clear();
    const auto plans = MenuStore::ListaMatsedlar(m_db);
    if (!plans) {
        showDbError(QStringLiteral("Matsedlarna kunde inte läsas."), plans.error());
        return;
    }
    for (const MenuStore::Plan& p : *plans) {
        cmbMatsedel->addItem(p.namn);
        m_matsedelIds.append(p.uid);
    }
    // Nothing is chosen until the user chooses, so "Ta bort" removes nothing by itself.
    cmbMatsedel->setCurrentIndex(-1);
}

void FrmMatsedel::matsedelChosen(int row)
{
    if (row < 0 || row >= m_matsedelIds.size())
        return;
    txtMatsedel->setText(cmbMatsedel->itemText(row));
    const auto week = MenuStore::load(m_db, m_matsedelIds.at(row));
    if (!week) {
        showDbError(QStringLiteral("Matsedeln kunde inte läsas."), week.error());
        return;
    }
    if (!*week) {
        warn(QStringLiteral("Matsedeln finns inte längre."));
        ListaMatsedlar();
        return;
    }
    setTitles(**week);
}

void FrmMatsedel::placeSelected()
{
    const int row = lstRecept->currentRow();
    if (row < 0 || row >= m_receptIds.size() || !lstRecept->currentItem()->isSelected())
        return;
    const auto recipe = Catalogue::loadRecipe(m_db, m_receptIds.at(row));
    if (!recipe) {
        showDbError(QStringLiteral("Receptet kunde inte läsas."), recipe.error());
        return;
    }
    if (!*recipe) {
        warn(QStringLiteral("Receptet finns inte längre."));
        return;
    }
    setTitle(m_state.matsedelSlot(), (*recipe)->titel);
    setCurrentSlot((m_state.matsedelSlot() + 1) % MenuSlots::SlotCount);
}

void FrmMatsedel::setCurrentSlot(int slot)
{
    const int old = m_state.matsedelSlot();
    if (old >= 0 && old < MenuSlots::SlotCount) {
        for (QLabel* l : { lblWhat[old], lblTitel[old] }) {
            QFont f = l->font();
            f.setBold(false);
            l->setFont(f);
        }
        QPalette p = lblWhat[old]->palette();
        p.setColor(QPalette::WindowText, Qt::black);
        lblWhat[old]->setPalette(p);
    }
    m_state.setMatsedelSlot(slot);
    for (QLabel* l : { lblWhat[slot], lblTitel[slot] }) {
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
    }
    QPalette p = lblWhat[slot]->palette();
    p.setColor(QPalette::WindowText, Current);
    lblWhat[slot]->setPalette(p);
}

void FrmMatsedel::setTitles(const QStringList& titles)
{
    for (int i = 0; i < MenuSlots::SlotCount; ++i)
        setTitle(i, titles.value(i));
}

void FrmMatsedel::setTitle(int slot, const QString& title)
{
    lblTitel[slot]->setText(title);
    // A long title is cut at the box's edge; the tip shows it whole.
    lblTitel[slot]->setToolTip(title);
}

void FrmMatsedel::save()
{
    const QString name = txtMatsedel->text();
    if (name.isEmpty())
        return;
    if (DbStatus s = MenuStore::save(m_db, name, titles()); !s) {
        showDbError(QStringLiteral("Matsedeln kunde inte sparas."), s.error());
        return;
    }
    ListaMatsedlar();
}

void FrmMatsedel::removePlan()
{
    const int row = cmbMatsedel->currentIndex();
    if (row < 0 || row >= m_matsedelIds.size())
        return;
    // One click from the week's other commands: it goes only when the user says so.
    if (m_prompts.message(this,
            QStringLiteral("Vill du ta bort matsedeln \"%1\"?").arg(cmbMatsedel->itemText(row)),
            Prompts::Buttons::YesNo, Prompts::Icon::None, QStringLiteral("Ta bort matsedel"),
            Prompts::Answer::No)
        != Prompts::Answer::Yes)
        return;
    if (DbStatus s = MenuStore::remove(m_db, m_matsedelIds.at(row)); !s) {
        showDbError(QStringLiteral("Matsedeln kunde inte tas bort."), s.error());
        return;
    }
    ListaMatsedlar();
}

void FrmMatsedel::PrintMatsedel()
{
    const QString path = MenuPage::pagePath(m_paths.programFolder);
    if (!MenuPage::write(path, titles(), txtMatsedel->text()).ok) {
        warn(QStringLiteral("Sidan %1 kunde inte sparas.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    m_printPending = true;
    webMatsedel->showPage(path);
}

void FrmMatsedel::pageLoaded(bool ok)
{
    if (!m_printPending)
        return;
    m_printPending = false;
    if (!ok) {
        warn(QStringLiteral("Sidan %1 kunde inte läsas.")
                 .arg(QDir::toNativeSeparators(webMatsedel->pagePath())));
        return;
    }
    PagePrinter::printPage(m_prompts, m_state, this, *webMatsedel->document());
}

void FrmMatsedel::Inkopslista()
{
    const auto list = ShoppingList::build(m_db, titles(), m_fridge ? m_fridge() : QStringList());
    if (!list) {
        showDbError(QStringLiteral("Inköpslistan kunde inte göras."), list.error());
        return;
    }
    const auto sections = ShoppingList::bySection(*list);
    const QString path = ShoppingList::pagePath(m_paths.programFolder);
    if (!PageWriter::write(path, ShoppingList::summedHtml(*list, sections)).ok) {
        warn(QStringLiteral("Sidan %1 kunde inte sparas.").arg(QDir::toNativeSeparators(path)));
        return;
    }
    auto* page = new FrmPrint(m_db, m_prompts, m_paths, m_state, path);
    // The list as shown goes out, even after this window has closed.
    page->offerMail([&prompts = m_prompts, &paths = m_paths, &state = m_state, open = m_openWindow, page,
                        text = ShoppingList::summedText(*list, sections)] {
        ListMail::open(prompts, paths, state, page, open, QStringLiteral("Inköpslista"), text);
    });
    m_openWindow(page);
}

bool FrmMatsedel::eventFilter(QObject* watched, QEvent* e)
{
    if (watched == txtMatsedel && e->type() == QEvent::FocusIn)
        setDefaultButton(button(Cmd::Spara));
    if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick) {
        for (int slot = 0; slot < MenuSlots::SlotCount; ++slot) {
            if (watched != lblWhat[slot] && watched != lblTitel[slot])
                continue;
            setCurrentSlot(slot);
            if (e->type() == QEvent::MouseButtonDblClick)
                lblTitel[slot]->clear();
            return true;
        }
    }
    return QWidget::eventFilter(watched, e);
}

void FrmMatsedel::setDefaultButton(QPushButton* button)
{
    m_default.set(button);
}

void FrmMatsedel::keyPressEvent(QKeyEvent* e)
{
    if (!m_default.enter(this, e))
        QWidget::keyPressEvent(e);
}

void FrmMatsedel::showDbError(const QString& what, const DbError& error)
{
    warn(what + QLatin1Char('\n') + error.describe());
}

void FrmMatsedel::warn(const QString& text)
{
    m_prompts.message(this, text, Prompts::Buttons::Ok, Prompts::Icon::Warning);
}
