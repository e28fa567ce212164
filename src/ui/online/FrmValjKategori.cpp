#include "ui/online/FrmValjKategori.h"

#include "ui/app/Colours.h"
#include "ui/app/RunState.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

FrmValjKategori::FrmValjKategori(const RunState& state, const QString& title, const QString& pageCategory,
    const QList<Catalogue::Category>& categories, QWidget* parent)
    : QDialog(parent)
    , m_categories(categories)
{
    setObjectName(QStringLiteral("frmValjKategori"));
    setWindowTitle(QStringLiteral("Välj kategori"));
    const QString question = pageCategory.isEmpty()
        ? QStringLiteral("Receptet \"%1\" har ingen kategori. Välj en kategori för receptet:").arg(title)
        : QStringLiteral("Receptet \"%1\" har kategorin \"%2\", som inte finns i kokboken. "
                         "Välj en kategori för receptet:")
              .arg(title, pageCategory);
    auto* lblInfo = new QLabel(question, this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    lblInfo->setWordWrap(true);
    lstKategorier = new QListWidget(this);
    lstKategorier->setObjectName(QStringLiteral("lstKategorier"));
    for (const Catalogue::Category& c : categories)
        lstKategorier->addItem(c.name);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setEnabled(false);
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Avbryt"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    for (QPushButton* b : { cmdOK, cmdCancel })
        b->setMinimumWidth(80);
    connect(lstKategorier, &QListWidget::currentRowChanged, this,
        [this](int row) { cmdOK->setEnabled(row >= 0); });
    connect(lstKategorier, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(12, 10, 12, 10);
    l->addWidget(lblInfo);
    l->addWidget(lstKategorier, 1);
    l->addLayout(buttons);
    resize(360, 320);
    Colours::apply(state, this);
}

std::optional<qint32> FrmValjKategori::ask(const RunState& state, const QString& title,
    const QString& pageCategory, const QList<Catalogue::Category>& categories, QWidget* parent)
{
    FrmValjKategori dlg(state, title, pageCategory, categories, parent);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    const int row = dlg.lstKategorier->currentRow();
    if (row < 0 || row >= dlg.m_categories.size())
        return std::nullopt;
    return dlg.m_categories.at(row).kid;
}
