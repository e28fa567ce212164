#include "ui/search/FrmSeekProgress.h"

#include "ui/app/Colours.h"
#include "ui/app/RunState.h"

#include <QCloseEvent>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int Margin = 8;
constexpr int BarHeight = 17;

} // namespace

FrmSeekProgress::FrmSeekProgress(const RunState& state, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmSeekProgress"));
    setWindowTitle(QStringLiteral("Söker"));

    lblSeekProgress = new QLabel(QStringLiteral("Söker recept"), this);
    lblSeekProgress->setObjectName(QStringLiteral("lblSeekProgress"));
    lblSeekProgress->setGeometry(Margin, Margin, BarWidth, 17);

    // A sunken frame marks the full width; the bar inside grows to fill it.
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraProgress"));
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setLineWidth(1);
    frame->setGeometry(Margin - 1, Margin + 24 - 1, BarWidth + 2, BarHeight + 2);
    fraProgress = frame;
    shpProgress = new QWidget(frame);
    shpProgress->setObjectName(QStringLiteral("shpProgress"));
    QPalette bar = shpProgress->palette();
    bar.setColor(QPalette::Window, QColor(0, 0, 128));
    shpProgress->setPalette(bar);
    shpProgress->setAutoFillBackground(true);
    shpProgress->setGeometry(1, 1, 0, BarHeight);

    cmdCancel = new QPushButton(QStringLiteral("Avbryt"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setGeometry(Margin + (BarWidth - 73) / 2, Margin + 24 + BarHeight + 12, 73, 25);
    connect(cmdCancel, &QPushButton::clicked, this, &FrmSeekProgress::requestCancel);

    setFixedSize(BarWidth + 2 * Margin, cmdCancel->geometry().bottom() + 1 + Margin);
    Colours::apply(state, this);
}

void FrmSeekProgress::setProgress(int done, int total)
{
    const int width = total <= 0 ? 0 : int(qint64(BarWidth) * std::clamp(done, 0, total) / total);
    if (width != shpProgress->width())
        shpProgress->resize(width, BarHeight);
}

int FrmSeekProgress::barWidth() const
{
    return shpProgress->width();
}

void FrmSeekProgress::requestCancel()
{
    if (m_cancel)
        return;
    m_cancel = true;
    cmdCancel->setEnabled(false);
    emit cancelled();
}

void FrmSeekProgress::closeEvent(QCloseEvent* e)
{
    // Closing the window is the same as asking to stop.
    requestCancel();
    QWidget::closeEvent(e);
}

void FrmSeekProgress::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape) {
        requestCancel();
        return;
    }
    QWidget::keyPressEvent(e);
}
