#include "ui/app/FrmUppgradering.h"

#include "core/db/Cookbook.h"
#include "core/job/BackgroundJob.h"
#include "ui/app/Colours.h"
#include "ui/app/RunState.h"

#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>
#include <optional>

namespace {

// Small cookbooks are ready before a window would be worth showing.
constexpr int ShowAfterMs = 400;

} // namespace

FrmUppgradering::FrmUppgradering(const RunState& state, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmUppgradering"));
    setWindowTitle(state.programTitle());
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
    Colours::apply(state, this);
}

namespace Upgrading {

DbStatus run(const RunState& state, const QString& path)
{
    std::optional<DbStatus> result;
    std::unique_ptr<FrmUppgradering> window;
    QEventLoop waiting;
    QTimer showLater;
    showLater.setSingleShot(true);
    QObject::connect(&showLater, &QTimer::timeout, &showLater, [&] {
        window = std::make_unique<FrmUppgradering>(state);
        window->adjustSize();
        window->show();
    });
    auto job = std::make_unique<BackgroundJob>();
    QObject::connect(job.get(), &BackgroundJob::finished, &waiting, &QEventLoop::quit);
    // The worker's connection is the only one on the file until it ends; the
    // waiting loop only paints and runs timers, so nothing here touches SQL.
    job->start([&result, path](const BackgroundJob::Control&) { result = Cookbook::upgradeFile(path); });
    showLater.start(ShowAfterMs);
    waiting.exec(QEventLoop::ExcludeUserInputEvents);
    // A loop told to quit before (the application quitting) returns at once:
    // the job's end then joins the worker, so the result is always there.
    job.reset();
    return *result;
}

} // namespace Upgrading
