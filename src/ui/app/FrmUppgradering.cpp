#include "ui/app/FrmUppgradering.h"

#include "ui/app/AppContext.h"
#include "ui/app/Colours.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace {

// Small cookbooks are ready before a window would be worth showing.
constexpr qint64 ShowAfterMs = 400;
constexpr qint64 PumpEveryMs = 50;

} // namespace

FrmUppgradering::FrmUppgradering(const AppContext& ctx, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmUppgradering"));
    setWindowTitle(ctx.programTitle);
    auto* text
        = new QLabel(QStringLiteral("Receptdatabasen görs i ordning för den här versionen av KROX Gastrid.\n"
                                    "Det sker bara vid första starten och kan ta en stund."),
            this);
    text->setObjectName(QStringLiteral("lblUppgradering"));
    auto* bar = new QProgressBar(this);
    bar->setObjectName(QStringLiteral("prgUppgradering"));
    // How far the work has come cannot be told, only that it goes on.
    bar->setRange(0, 0);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(text);
    layout->addWidget(bar);
    Colours::apply(ctx, this);
}

UpgradeTicker::UpgradeTicker(const AppContext& ctx)
    : m_ctx(ctx)
{
    m_started.start();
    m_sincePump.start();
}

UpgradeTicker::~UpgradeTicker()
{
    delete m_window;
}

void UpgradeTicker::operator()()
{
    if (m_sincePump.elapsed() < PumpEveryMs)
        return;
    m_sincePump.start();
    if (!m_window && m_started.elapsed() >= ShowAfterMs) {
        m_window = new FrmUppgradering(m_ctx);
        m_window->adjustSize();
        m_window->show();
    }
    if (m_window)
        QCoreApplication::processEvents();
}
