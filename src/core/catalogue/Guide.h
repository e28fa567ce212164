#pragma once

#include "core/catalogue/Catalogue.h"
#include "core/db/Database.h"

#include <QStringList>
#include <QVector>

// The nutrition guide's look-ups: recipes by the beginning of their title,
// ingredient names by their beginning, a recipe's ingredient lines. The text
// is the beginning of a pattern in the cookbook's LIKE (* ? # [...]).
namespace Guide {

using Recipes = Catalogue::RecipeRows;

// Recipes whose title begins with `text`, in the cookbook's order. An empty
// text asks nothing and finds nothing.
DbResult<Recipes> recipesBeginning(Database& db, const QString& text);
// Ingredient names beginning with `text`, likewise.
DbResult<QStringList> ingredientsBeginning(Database& db, const QString& text);
// The recipe's ingredient text split into lines as the main window shows
// them, empty lines kept; nothing when the recipe is gone or has no
// ingredients.
DbResult<QStringList> ingredientLines(Database& db, qint32 rid);

} // namespace Guide
