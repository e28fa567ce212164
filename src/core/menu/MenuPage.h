#pragma once

#include "core/text/ProgramFiles.h"
#include "core/text/TextFile.h"

#include <QStringList>

// The printable page of a weekly menu.
namespace MenuPage {

inline constexpr auto& PageName = ProgramFiles::MenuPage;

QString pagePath(const QString& programFolder);

// The page's lines: a table of the seven days, each with Frukost, Lunch and
// Middag and their titles as they stand. The week's name, when given, is
// under the heading and in the page's title (and so the PDF's name).
QStringList lines(const QStringList& titles, const QString& weekName = {});
// Writes the page (every line followed by CR LF) through the page writer.
TextFile::WriteResult write(const QString& path, const QStringList& titles, const QString& weekName = {});

} // namespace MenuPage
