#include "core/app/CommandLine.h"
#include "core/app/HandOver.h"
#include "core/app/HeadlessRun.h"
#include "core/app/ProgramPaths.h"
#include "core/settings/Settings.h"
#include "ui/app/Colours.h"
#include "ui/app/Look.h"
#include "ui/app/Startup.h"
#include "ui/mainwindow/FrmMain.h"
#include "ui/mainwindow/GivenFiles.h"
#include "ui/mainwindow/Program.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QLocale>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace {

// A running copy busy with a long task answers late; after this the files
// are this copy's, which then meets the running one's cookbook lock.
constexpr int HandOverWaitMs = 10000;

// Import and export from a terminal: no display, so no GUI application.
int runTask(int argc, char** argv, const CommandLine::TaskRequest& task)
{
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Swedish, QLocale::Sweden));
    QTextStream out(stdout);
    QTextStream err(stderr);
    const ProgramPaths paths
        = ProgramPaths::choose(ProgramPaths::look(QCoreApplication::applicationDirPath()));
    return HeadlessRun::run(task, paths, out, err);
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    // Texts that show a command use the name it was called by.
    const QString command = argc > 0 ? QFileInfo(QString::fromLocal8Bit(argv[0])).fileName() : QString();
    if (CommandLine::TaskRequest task = CommandLine::parseTask(arguments, QDir::currentPath());
        task.task != CommandLine::Task::None) {
        if (!command.isEmpty())
            task.command = command;
        return runTask(argc, argv, task);
    }
    Q_INIT_RESOURCE(gastrid);
    QApplication app(argc, argv);
    const CommandLine::Request request = CommandLine::parse(app.arguments().mid(1), QDir::currentPath());
    if (!request.badOption.isEmpty()) {
        std::fprintf(stderr, "%s: okänt val %s\n", qPrintable(command), qPrintable(request.badOption));
        return 2;
    }
    Colours::installStyle();
    Look::install();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/gastrid.svg")));
    // Lets a desktop match the window with the menu entry.
    QGuiApplication::setDesktopFileName(QStringLiteral("krox-gastrid"));
    Startup::installTranslations(app);

    Prompts prompts;
    prompts.setDefaultTitle(Settings::ProgramTitle());
    const ProgramPaths paths
        = ProgramPaths::choose(ProgramPaths::look(QCoreApplication::applicationDirPath()));
    // Opened from the desktop while a copy runs with this cookbook: that copy
    // takes the files (this one could not open the cookbook).
    if ((!request.files.isEmpty() || !request.unknownFiles.isEmpty())
        && HandOver::give(HandOver::address(paths.programFolder), request, HandOverWaitMs))
        return 0;
    if (const QString error = paths.prepare(); !error.isEmpty()) {
        prompts.message(nullptr, error, Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return Startup::FailureExitCode;
    }
    auto program = startProgram(paths, prompts);
    if (!program->ok)
        return program->exitCode;
    // Once the window is up, so a question about a file stands in front of it.
    QTimer::singleShot(0, program->window.get(),
        [&program, request] { openGivenFiles(*program->window, *program->ctx, request); });
    return QApplication::exec();
}
