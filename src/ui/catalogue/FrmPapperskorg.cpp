#include "ui/catalogue/FrmPapperskorg.h"

#include "ui/app/Colours.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>

FrmPapperskorg::FrmPapperskorg(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_ctx(ctx)
{
    setObjectName(QStringLiteral("frmPapperskorg"));
    setWindowTitle(QStringLiteral("Papperskorgen"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    connect(cmdAterstall, &QPushButton::clicked, this, &FrmPapperskorg::cmdAterstall_Click);
    connect(cmdTom, &QPushButton::clicked, this, &FrmPapperskorg::cmdTom_Click);
    connect(cmdStang, &QPushButton::clicked, this, &QWidget::close);
    connect(lstPapperskorg, &QTreeWidget::itemSelectionChanged, this, &FrmPapperskorg::updateButtons);
    connect(lstPapperskorg, &QTreeWidget::itemDoubleClicked, this, &FrmPapperskorg::cmdAterstall_Click);
    Colours::apply(m_ctx, this);
    fillList();
}

void FrmPapperskorg::buildControls()
{
    lstPapperskorg = new QTreeWidget(this);
    lstPapperskorg->setObjectName(QStringLiteral("lstPapperskorg"));
    lstPapperskorg->setHeaderLabels(
        { QStringLiteral("Titel"), QStringLiteral("Kategori"), QStringLiteral("Raderad") });
    lstPapperskorg->setRootIsDecorated(false);
    lstPapperskorg->setUniformRowHeights(true);
    lstPapperskorg->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstPapperskorg->header()->setStretchLastSection(false);
    lstPapperskorg->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    lstPapperskorg->setColumnWidth(1, 170);
    lstPapperskorg->setColumnWidth(2, 120);
    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setMinimumWidth(90);
        return b;
    };
    cmdAterstall = button(QStringLiteral("Återställ"), "cmdAterstall");
    cmdTom = button(QStringLiteral("Töm papperskorgen"), "cmdTom");
    cmdStang = button(QStringLiteral("Stäng"), "cmdStang");

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(10, 10, 10, 10);
    grid->setHorizontalSpacing(8);
    grid->addWidget(lstPapperskorg, 0, 0, 1, 4);
    grid->addWidget(cmdAterstall, 1, 0);
    grid->addWidget(cmdTom, 1, 1);
    grid->setColumnStretch(2, 1);
    grid->addWidget(cmdStang, 1, 3);
    // Opened at its size hint: the titles need the room.
    setMinimumSize(600, 340);
}

bool FrmPapperskorg::fillList()
{
    auto listed = Wastebasket::entries(m_ctx.db());
    if (!listed) {
        showDbError(QStringLiteral("Papperskorgen kunde inte läsas."), listed.error());
        return false;
    }
    m_entries = std::move(*listed);
    lstPapperskorg->clear();
    for (const Wastebasket::Entry& e : m_entries)
        lstPapperskorg->addTopLevelItem(new QTreeWidgetItem(
            { e.titel, e.kategori, e.deleted.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")) }));
    if (!m_entries.isEmpty())
        lstPapperskorg->setCurrentItem(lstPapperskorg->topLevelItem(0));
    updateButtons();
    return true;
}

void FrmPapperskorg::updateButtons()
{
    cmdAterstall->setEnabled(!lstPapperskorg->selectedItems().isEmpty());
    cmdTom->setEnabled(!m_entries.isEmpty());
}

void FrmPapperskorg::cmdAterstall_Click()
{
    QVector<qint32> ids;
    // In list order, so the first restored is the one shown on top.
    for (int row = 0; row < lstPapperskorg->topLevelItemCount(); ++row)
        if (lstPapperskorg->topLevelItem(row)->isSelected())
            ids.append(m_entries.at(row).id);
    if (ids.isEmpty())
        return;
    const auto rids = Wastebasket::restore(m_ctx.db(), m_ctx.pictureFolder(), ids);
    if (!rids) {
        showDbError(QStringLiteral("Recepten kunde inte återställas."), rids.error());
        return;
    }
    fillList();
    if (!rids->isEmpty())
        emit restored(rids->first());
}

void FrmPapperskorg::cmdTom_Click()
{
    if (m_ctx.prompts().message(this,
            QStringLiteral("Vill du tömma papperskorgen? Recepten i den kan inte återställas efteråt."),
            Prompts::Buttons::YesNo, Prompts::Icon::None, QStringLiteral("Töm papperskorgen"),
            Prompts::Answer::No)
        != Prompts::Answer::Yes)
        return;
    if (DbStatus s = Wastebasket::empty(m_ctx.db()); !s)
        showDbError(QStringLiteral("Papperskorgen kunde inte tömmas."), s.error());
    fillList();
    emit emptied();
}

void FrmPapperskorg::showDbError(const QString& what, const DbError& error)
{
    m_ctx.prompts().message(this, what + QStringLiteral("\n\n") + error.describe(), Prompts::Buttons::Ok,
        Prompts::Icon::Critical);
}

void FrmPapperskorg::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}
