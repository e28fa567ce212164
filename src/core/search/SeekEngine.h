#pragma once

#include "core/catalogue/Catalogue.h"
#include "core/db/Database.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// The three recipe searches, run on the cookbook without any window. The hits
// come in the order of the recipe list: Swedish title order, then number.
namespace SeekEngine {

enum class Rule { AnyIngredient, Cookable };

// Told after each recipe tested: how many so far and how many in all.
// Returning false stops the search; the hits among the recipes tested so far
// are kept. Recipes are tested in stored order (by number), so a stopped
// search has looked at the oldest ones. While the hits are put in order it is
// told the same figures again now and then, and its answer is not heeded.
using Progress = std::function<bool(int done, int total)>;

struct Result {
    QVector<qint32> ids;
    QStringList titles; // a null title stays null
    bool cancelled = false;
    int examined = 0; // recipes tested
    int total = 0; // recipes in the cookbook when the search began
};

// Tests every recipe's ingredient text with the rule built from `entries`.
// `order`, every recipe already in list order, spares sorting the hits.
DbResult<Result> ingredients(Database& db, Rule rule, const QStringList& entries,
    const Progress& progress = {}, const Catalogue::RecipeRows* order = nullptr);

// Recipes whose title, ingredients or instructions contain `text`, read with
// the cookbook's LIKE wildcards. Quotes in the text match any character.
DbResult<Result> freeText(Database& db, const QString& text);

// The LIKE pattern freeText binds for `text`.
QString freeTextPattern(const QString& text);

} // namespace SeekEngine
