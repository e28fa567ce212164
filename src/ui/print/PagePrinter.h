#pragma once

#include <QSizeF>
#include <QString>

class AppContext;
class Prompts;
class RunState;
class QPrinter;
class QTextDocument;
class QWidget;

// The one way pages reach a printer or a PDF file: the recipe page, the weekly
// menu and the shopping list all print through here.
namespace PagePrinter {

enum class Outcome { Printed, Cancelled, Failed };

// Room a picture leaves for the table cell around it, in document units.
constexpr qreal CellAllowance = 16;
// The smallest size body text is printed at.
constexpr qreal PrintedPointSize = 11;

// Shows the print dialog (a printer or a PDF file) and prints the page there.
// The dialog starts from the choices made before in the run and keeps the new
// ones. A failure is told to the user.
Outcome printPage(Prompts& prompts, RunState& state, QWidget* parent, const QTextDocument& page);
Outcome printPage(AppContext& ctx, QWidget* parent, const QTextDocument& page);
// The page-setup dialog; its choices hold for every later print of the run.
void pageSetup(Prompts& prompts, RunState& state, QWidget* parent);
void pageSetup(AppContext& ctx, QWidget* parent);

// Prints the page on a printer that is set up, with every picture fitted to
// the paper's width and a third of its height, body text at PrintedPointSize
// at least. Empty when it worked, else what went wrong.
QString printOn(QPrinter& printer, const QTextDocument& page);

// Shrinks every picture of `doc` that is wider than max.width() (or higher
// than max.height(), when that is not 0) to fit, keeping its proportions.
// Pictures are never enlarged; a picture the page sized itself keeps that size
// as its own.
void fitPictures(QTextDocument* doc, const QSizeF& max);

} // namespace PagePrinter
