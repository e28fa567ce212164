#pragma once

#include "core/db/Database.h"
#include "core/print/PrintTemplate.h"
#include "core/text/ProgramFiles.h"
#include "core/text/TextFile.h"

#include <QString>

#include <optional>

// The print template file and the page built from it, both in the program
// folder. Every access uses the one name "print.htm".
namespace PrintPage {

inline constexpr auto& TemplateName = ProgramFiles::PrintTemplate;
inline constexpr auto& PageName = ProgramFiles::PrintPage;

struct Result {
    bool ok = false;
    // A Swedish sentence for the user when !ok.
    QString error;
    QString pagePath;
    // The number the recipe's stored portions text starts with, if any.
    std::optional<int> portions;
};

QString templatePath(const QString& programFolder);
QString pagePath(const QString& programFolder);

// A recipe's fields with CR LF line ends; empty when there is no such recipe.
DbResult<std::optional<PrintTemplate::Recipe>> readRecipe(Database& db, qint32 rid);

// The whole template as stored, line ends included; none (with a Swedish
// sentence) for anything but a regular file within the hand-edited files' cap.
std::optional<QString> readTemplate(const QString& programFolder, QString* error);
// Writes the default template (and one more CR LF) over the template file.
TextFile::WriteResult RestoreDefaultTemplate(const QString& programFolder);
// Stores the editor's text followed by CR LF, every line end as CR LF.
TextFile::WriteResult saveTemplate(const QString& programFolder, const QString& editorText);

// Expands the template for recipe `rid` into the page file, writing the
// default template first when there is none.
Result BuildPrintPage(Database& db, const QString& programFolder, qint32 rid);
// The same for `portions` portions (see forPortions).
Result BuildPrintPage(Database& db, const QString& programFolder, qint32 rid, int portions);

// The PDF file proposed for a page titled `title`: named by the title (without
// characters a file name cannot hold) in the folder of the previous PDF. The
// previous name when the title leaves nothing.
QString pdfFileName(const QString& previousPdf, const QString& title);

// The recipe for `portions` portions: its ingredient amounts scaled and its
// portions text showing the new number. As stored when the portions text
// starts with no number.
PrintTemplate::Recipe forPortions(const PrintTemplate::Recipe& recipe, int portions);

} // namespace PrintPage
