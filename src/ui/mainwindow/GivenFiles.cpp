#include "ui/mainwindow/GivenFiles.h"

#include "core/exchange/ReceptImport.h"
#include "ui/mainwindow/FrmMain.h"
#include "ui/mainwindow/SearchPanel.h"

#include <QFileInfo>

namespace {

void offerRecipeFile(FrmMain& window, AppContext& ctx, const QString& path)
{
    Prompts& prompts = ctx.prompts();
    const QString question = QStringLiteral("Vill du lägga in recepten från filen %1 i kokboken?")
                                 .arg(QFileInfo(path).fileName());
    if (prompts.message(&window, question, Prompts::Buttons::YesNo, Prompts::Icon::Question)
        != Prompts::Answer::Yes)
        return;
    const ReceptImport::Result r = ReceptImport::importFile(ctx.db(), path);
    // As after a download: the list shows the newest recipes, the new ones first.
    if (!r.added.isEmpty())
        window.showNewestRecipes();
    if (!r.ok())
        prompts.message(&window, r.error);
}

} // namespace

void openGivenFiles(FrmMain& window, AppContext& ctx, const CommandLine::Request& request)
{
    if (const QString text = CommandLine::unknownFilesMessage(request.unknownFiles); !text.isEmpty())
        ctx.prompts().message(&window, text);
    for (const CommandLine::GivenFile& f : request.files) {
        switch (f.kind) {
        case CommandLine::FileKind::Fridge:
            window.searchPanel().loadFridge(f.path);
            break;
        case CommandLine::FileKind::Recipe:
            offerRecipeFile(window, ctx, f.path);
            break;
        }
    }
}
