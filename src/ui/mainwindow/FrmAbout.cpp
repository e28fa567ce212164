#include "ui/mainwindow/FrmAbout.h"
#include "ui/app/RunState.h"

#include "ui/app/Colours.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

// The icon lives in a static library; without this the linker may drop it.
static void initResources()
{
    Q_INIT_RESOURCE(gastrid);
}

FrmAbout::FrmAbout(const RunState& state, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint)
{
    initResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("Om KROX Gastrid"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picIcon"));
    picture->setPixmap(QIcon(QStringLiteral(":/gastrid.svg")).pixmap(128, 128));
    picture->setFixedSize(128, 128);

    auto* title = new QLabel(state.programTitle(), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    auto* text = new QLabel(QStringLiteral("Din personliga kokbok.\nSmaklig måltid!"), this);
    text->setObjectName(QStringLiteral("lblText"));

    m_cmdOK = new QPushButton(QStringLiteral("OK"), this);
    m_cmdOK->setObjectName(QStringLiteral("cmdOK"));
    m_cmdOK->setMinimumWidth(80);
    m_cmdOK->setDefault(true);
    connect(m_cmdOK, &QPushButton::clicked, this, &QWidget::close);

    auto* words = new QVBoxLayout;
    words->addStretch(1);
    words->addWidget(title);
    words->addSpacing(8);
    words->addWidget(text);
    words->addStretch(1);
    auto* top = new QHBoxLayout;
    top->setSpacing(20);
    top->addWidget(picture, 0, Qt::AlignTop);
    top->addLayout(words, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_cmdOK);
    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(16, 16, 16, 12);
    main->addLayout(top);
    main->addSpacing(8);
    main->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(380, 0)));
    m_cmdOK->setFocus();

    Colours::apply(state, this);
}

void FrmAbout::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        close();
        return;
    default:
        QWidget::keyPressEvent(e);
    }
}

void FrmAbout::closeEvent(QCloseEvent* e)
{
    e->accept();
    emit closed();
}
