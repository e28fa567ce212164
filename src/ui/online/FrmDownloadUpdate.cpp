#include "ui/online/FrmDownloadUpdate.h"

#include "core/app/ProgramPaths.h"
#include "ui/app/Colours.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int BlockWidth = 12;
constexpr int BlockHeight = 17;
constexpr int BlockGap = 2;

} // namespace

FrmDownloadUpdate::FrmDownloadUpdate(Prompts& prompts, const ProgramPaths& paths, const RunState& state,
    const QUrl& base, const UpdateInfo::Offer& offer, ExitProgram exitProgram, QWidget* parent)
    : QWidget(parent)
    , m_prompts(prompts)
    , m_paths(paths)
    , m_state(state)
    , m_base(base)
    , m_offer(offer)
    , m_exitProgram(std::move(exitProgram))
    , m_download(m_nam, paths.programFolder)
{
    setObjectName(QStringLiteral("frmDownloadUpdate"));
    setWindowTitle(QStringLiteral("Uppgradering"));
    lblInfo = new QLabel(QStringLiteral("Uppgradering laddas ner. Vänta..."), this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));

    // The blocks sit in a sunken frame that marks their full width.
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraProgress"));
    frame->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    frame->setLineWidth(1);
    const int n = UpdateInfo::ProgressBlocks::Count;
    frame->setFixedSize(2 + BlockGap + n * (BlockWidth + BlockGap), 2 + 2 * BlockGap + BlockHeight);
    for (int i = 0; i < n; ++i) {
        auto* b = new QWidget(frame);
        b->setObjectName(QStringLiteral("shpProgress_%1").arg(i));
        QPalette p = b->palette();
        p.setColor(QPalette::Window, QColor(0, 0, 128));
        b->setPalette(p);
        b->setAutoFillBackground(true);
        b->setGeometry(1 + BlockGap + i * (BlockWidth + BlockGap), 1 + BlockGap, BlockWidth, BlockHeight);
        b->hide();
        shpProgress[i] = b;
    }

    cmdCancel = new QPushButton(QStringLiteral("Avbryt"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setMinimumWidth(80);
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);

    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(16, 14, 16, 12);
    l->setSpacing(10);
    l->addWidget(lblInfo);
    l->addWidget(frame, 0, Qt::AlignHCenter);
    l->addWidget(cmdCancel, 0, Qt::AlignHCenter);
    Colours::apply(state, this);

    connect(&m_download, &InstallerDownload::blocksShown, this, [this](int count) {
        for (int i = 0; i < count && i < UpdateInfo::ProgressBlocks::Count; ++i)
            shpProgress[i]->show();
    });
    connect(&m_download, &InstallerDownload::finished, this, &FrmDownloadUpdate::downloaded);
}

int FrmDownloadUpdate::shownBlocks() const
{
    int n = 0;
    for (QWidget* b : shpProgress)
        n += b->isVisibleTo(const_cast<FrmDownloadUpdate*>(this)) ? 1 : 0;
    return n;
}

void FrmDownloadUpdate::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!m_started) {
        m_started = true;
        m_download.DownloadUpdate(m_base, m_offer);
    }
}

void FrmDownloadUpdate::downloaded(InstallerDownload::Outcome outcome)
{
    Prompts& prompts = m_prompts;
    switch (outcome) {
    case InstallerDownload::Outcome::Cancelled:
        break;
    case InstallerDownload::Outcome::Failed:
        prompts.message(this, QStringLiteral("Uppgraderingen kunde inte laddas ner. Försök igen senare."));
        break;
    case InstallerDownload::Outcome::BadDigest:
        prompts.message(this,
            QStringLiteral(
                "Den nedladdade uppgraderingen var skadad och har inte sparats. Försök igen senare."));
        break;
    case InstallerDownload::Outcome::Complete:
        if (prompts.message(this,
                QStringLiteral(
                    "En nyare version av KROX Gastrid har laddats ner. Vill du installera den nu?"),
                Prompts::Buttons::OkCancel, Prompts::Icon::Question)
            == Prompts::Answer::Ok) {
            // An unsaved recipe is dealt with before the installer runs: the
            // installer must not find the program still holding the cookbook.
            const auto start = [this, &prompts] {
                if (startInstaller(m_download.installerPath(), m_paths.programFolder))
                    return true;
                prompts.message(this, QStringLiteral("Uppgraderingen kunde inte startas."),
                    Prompts::Buttons::Ok, Prompts::Icon::Warning);
                return false;
            };
            if (m_exitProgram(start))
                return;
        }
        break;
    }
    // Closed once the download is over, whatever the user answered.
    QTimer::singleShot(0, this, &QWidget::close);
}

void FrmDownloadUpdate::closeEvent(QCloseEvent* e)
{
    m_download.cancel();
    QWidget::closeEvent(e);
}
