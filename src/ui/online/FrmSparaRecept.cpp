#include "ui/online/FrmSparaRecept.h"

#include "ui/app/Colours.h"
#include "ui/app/RunState.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

FrmSparaRecept::FrmSparaRecept(const RunState& state, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmSparaRecept"));
    setWindowTitle(QStringLiteral("Laddar ner och sparar recept"));
    Label1 = new QLabel(QStringLiteral("Recept laddas ner och sparas. Vänta..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    cmdCancel = new QPushButton(QStringLiteral("Avbryt"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setMinimumWidth(80);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmSparaRecept::cancel);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(16, 14, 16, 12);
    l->setSpacing(12);
    l->addWidget(Label1);
    l->addWidget(cmdCancel, 0, Qt::AlignHCenter);
    setMinimumWidth(300);
    // A passing notice: its button keeps the desktop's own look.
    Colours::apply(state, this, Colours::Buttons::Plain);
}

void FrmSparaRecept::cancel()
{
    emit cancelRequested();
    hide();
}

void FrmSparaRecept::closeEvent(QCloseEvent* e)
{
    // Closing it is the same as "Avbryt"; the window is kept for the owner.
    e->ignore();
    cancel();
}

void FrmSparaRecept::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        cancel();
        return;
    }
    QWidget::keyPressEvent(e);
}
