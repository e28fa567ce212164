#pragma once

#include <QString>
#include <QStringList>

// Text as recipes on the web give it: values may hold entities and tags.
namespace HtmlText {

// Line by line, each line with its whitespace tidied and its control and
// format characters gone; empty lines dropped.
QStringList tidyLines(const QString& text);

// A value's text with entities decoded and tags removed, as tidy lines.
QStringList cleanLines(const QString& value);
// The same on one line.
QString cleanText(const QString& value);

} // namespace HtmlText
