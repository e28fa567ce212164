#pragma once

#include "core/text/TextFile.h"

#include <QStringList>

// The printable page of a weekly menu.
namespace MenuPage {

inline constexpr char16_t PageName[] = u"tmpMatsedel.htm";

QString pagePath(const QString& programFolder);

// The page's lines: a table of the seven days, each with Frukost, Lunch and
// Middag and their titles as they stand.
QStringList lines(const QStringList& titles);
// Writes the page (every line followed by CR LF) through the page writer.
TextFile::WriteResult write(const QString& path, const QStringList& titles);

} // namespace MenuPage
