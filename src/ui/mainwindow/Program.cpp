#include "ui/mainwindow/Program.h"

#include "ui/app/Startup.h"
#include "ui/mainwindow/FrmMain.h"
#include "ui/mainwindow/GivenFiles.h"

Program::~Program()
{
    handOver.reset();
    window.reset();
}

std::unique_ptr<Program> startProgram(const QString& programFolder, Prompts& prompts, bool show)
{
    return startProgram(ProgramPaths::portable(programFolder), prompts, show);
}

std::unique_ptr<Program> startProgram(const ProgramPaths& paths, Prompts& prompts, bool show)
{
    auto p = std::make_unique<Program>();
    p->ctx = std::make_unique<AppContext>(paths, prompts);
    if (!Startup::openCookbook(*p->ctx)) {
        p->exitCode = Startup::FailureExitCode;
        return p;
    }
    p->window = std::make_unique<FrmMain>(*p->ctx);
    if (!p->window->load()) {
        p->window.reset();
        p->ctx->db().close();
        p->exitCode = Startup::FailureExitCode;
        return p;
    }
    if (show) {
        p->window->show();
        p->ctx->guard().startCheck();
        p->handOver = std::make_unique<HandOverListener>();
        if (p->handOver->listen(HandOver::address(paths.programFolder)))
            QObject::connect(p->handOver.get(), &HandOverListener::filesGiven, p->window.get(),
                [w = p->window.get(), ctx = p->ctx.get()](
                    const CommandLine::Request& r) { openHandedFiles(*w, *ctx, r); });
    }
    p->ok = true;
    return p;
}
