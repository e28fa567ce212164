#pragma once

#include "core/text/TextFile.h"

#include <QString>

// The pages the program shows and prints (the recipe page, the weekly menu,
// the shopping list) are Windows-1252 files, like the templates users bring.
namespace PageWriter {

// Every character Windows-1252 cannot hold becomes a numeric character
// reference ("⅓" → "&#8531;"), so nothing of it is lost; the rest stays.
QString withCharacterReferences(const QString& html);

// Writes the page whole, replacing the old one only once it is complete.
TextFile::WriteResult write(const QString& path, const QString& html);

} // namespace PageWriter
