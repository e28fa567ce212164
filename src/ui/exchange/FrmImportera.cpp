#include "ui/exchange/FrmImportera.h"

#include "ui/app/AppContext.h"
#include "ui/app/Colours.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

FrmImportera::FrmImportera(AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmImportera"));
    setWindowTitle(QStringLiteral("Importerar recept"));
    lblImportera = new QLabel(this);
    lblImportera->setObjectName(QStringLiteral("lblImportera"));
    lblImportera->setWordWrap(true);
    lblImportera->setMinimumHeight(2 * fontMetrics().lineSpacing());
    prgImportera = new QProgressBar(this);
    prgImportera->setObjectName(QStringLiteral("prgImportera"));
    prgImportera->setRange(0, 1000);
    prgImportera->setTextVisible(false);
    cmdAvbryt = new QPushButton(QStringLiteral("Avbryt"), this);
    cmdAvbryt->setObjectName(QStringLiteral("cmdAvbryt"));
    cmdAvbryt->setMinimumWidth(80);
    connect(cmdAvbryt, &QPushButton::clicked, this, &FrmImportera::requestCancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdAvbryt);
    buttons->addStretch(1);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(12, 10, 12, 10);
    l->addWidget(lblImportera);
    l->addWidget(prgImportera);
    l->addLayout(buttons);
    setFixedWidth(360);
    // Only this window takes input while it is up: the cookbook is not
    // edited under an import, and no nested event loop is needed for that.
    setWindowModality(Qt::ApplicationModal);
    Colours::apply(ctx, this);
}

void FrmImportera::showFile(const QString& name, int number, int count)
{
    lblImportera->setText(count > 1
            ? QStringLiteral("Läser %1 (fil %2 av %3)…").arg(name).arg(number).arg(count)
            : QStringLiteral("Läser %1…").arg(name));
    prgImportera->setValue(0);
    cmdAvbryt->setEnabled(!m_cancel);
}

void FrmImportera::showStoring(const QString& name, int count)
{
    lblImportera->setText(QStringLiteral("Sparar %1 recept från %2…").arg(count).arg(name));
    prgImportera->setValue(prgImportera->maximum());
    cmdAvbryt->setEnabled(false);
    repaint();
}

void FrmImportera::setProgress(int done, int total)
{
    prgImportera->setValue(total <= 0 ? 0 : int(qint64(1000) * std::clamp(done, 0, total) / total));
}

void FrmImportera::requestCancel()
{
    if (m_cancel)
        return;
    m_cancel = true;
    cmdAvbryt->setEnabled(false);
    lblImportera->setText(QStringLiteral("Avbryter…"));
    emit cancelled();
}

void FrmImportera::closeEvent(QCloseEvent* e)
{
    // Closing the window is the same as asking to stop.
    requestCancel();
    QWidget::closeEvent(e);
}

void FrmImportera::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        requestCancel();
        return;
    }
    QWidget::keyPressEvent(e);
}
