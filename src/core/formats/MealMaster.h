#pragma once

#include "core/formats/PortableRecipe.h"

#include <QByteArray>

// MealMaster text (.mmf, .mm, .txt): recipes between a header line
// ("MMMMM----- Recipe via Meal-Master" or "---------- Recipe via ...") and an
// end line ("MMMMM" or "-----", matching the header), with Title,
// Categories and Yield or Servings, ingredients in fixed columns (one or two
// side by side) and directions. Text around the recipes is ignored.
namespace MealMaster {

// Whether some line of the bytes is a recipe's header line.
bool looksLike(const QByteArray& bytes);

// Every recipe, or an error naming the first damaged one and none. Each
// recipe's text is decoded by itself (archives join recipes of many
// sources): UTF-8 when valid, else code page 437 or Windows-1252, whichever
// reads its letters better.
ReadResult read(const QByteArray& bytes, const ReadOptions& options, const QString& shown);

} // namespace MealMaster
