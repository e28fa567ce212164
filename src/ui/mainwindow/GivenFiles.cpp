#include "ui/mainwindow/GivenFiles.h"

#include "ui/exchange/RecipeFileTransfer.h"
#include "ui/mainwindow/FrmMain.h"
#include "ui/mainwindow/SearchPanel.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

void openGivenFiles(FrmMain& window, AppContext& ctx, const CommandLine::Request& request)
{
    Prompts& prompts = ctx.prompts();
    if (const QString text = CommandLine::unknownFilesMessage(request.unknownFiles); !text.isEmpty())
        prompts.message(&window, text);
    QStringList accepted;
    for (const CommandLine::GivenFile& f : request.files) {
        switch (f.kind) {
        case CommandLine::FileKind::Fridge:
            window.searchPanel().loadFridge(f.path);
            break;
        case CommandLine::FileKind::Recipe: {
            const QString question = QStringLiteral("Vill du lägga in recepten från filen %1 i kokboken?")
                                         .arg(QFileInfo(f.path).fileName());
            if (prompts.message(&window, question, Prompts::Buttons::YesNo, Prompts::Icon::Question)
                == Prompts::Answer::Yes)
                accepted.append(f.path);
            break;
        }
        }
    }
    // Read and stored as an import from the recipe list's menu, so that a
    // file this program wrote comes back whole (categories by name, every
    // character) and the user sees what went in.
    window.recipeFiles().importFiles(accepted);
}

namespace {

constexpr int BusyRetryMs = 250;

void openWhenFree(FrmMain& window, AppContext& ctx, const CommandLine::Request& request)
{
    if (QApplication::activeModalWidget() || window.recipeFiles().isImporting()) {
        QTimer::singleShot(
            BusyRetryMs, &window, [&window, &ctx, request] { openWhenFree(window, ctx, request); });
        return;
    }
    openGivenFiles(window, ctx, request);
}

} // namespace

void openHandedFiles(FrmMain& window, AppContext& ctx, const CommandLine::Request& request)
{
    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
    openWhenFree(window, ctx, request);
}
