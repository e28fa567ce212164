#include "ui/app/Colours.h"
#include "ui/app/Look.h"
#include "ui/app/Startup.h"
#include "ui/mainwindow/Program.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    Q_INIT_RESOURCE(gastrid);
    QApplication app(argc, argv);
    Colours::installStyle();
    Look::install();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/gastrid.svg")));
    Startup::installTranslations(app);

    Prompts prompts;
    auto program = startProgram(QCoreApplication::applicationDirPath(), prompts);
    if (!program->ok)
        return program->exitCode;
    return QApplication::exec();
}
