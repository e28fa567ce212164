#pragma once

#include "core/catalogue/Catalogue.h"
#include "core/search/KeptText.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <vector>

// The three recipe searches, run on the kept text of the cookbook without any
// window. The hits come in the order of the recipe list: Swedish title order,
// then number.
namespace SeekEngine {

enum class Rule { AnyIngredient, Cookable };

// Told now and then how many recipes have been read or tested and how many
// there are. Returning false stops the search; the hits among the recipes
// tested so far are kept. Recipes are tested in number order, so a stopped
// search has looked at the oldest ones.
using Progress = std::function<bool(int done, int total)>;

struct Result {
    QVector<qint32> ids;
    QStringList titles; // a null title stays null
    bool cancelled = false;
    int examined = 0; // recipes tested
    int total = 0; // recipes in the cookbook when the search began
};

// The recipes that passed a test, in number order. Testing reads only the
// kept text, never the cookbook, so it may run on a thread of its own while
// nothing updates the kept text.
struct Tested {
    std::vector<qint32> rids;
    // The near-miss search's missing line of each (see MissingOne).
    std::vector<int> lines;
    bool cancelled = false;
    int examined = 0;
    int total = 0;
};

// Tests the recipes kept so far. `readingStopped`: the reading of the texts
// was stopped, so the search counts as cancelled and the rows read are all
// tested without asking `progress`.
Tested testIngredients(const KeptText& kept, Rule rule, const QStringList& entries, bool readingStopped,
    const Progress& progress = {});
// The tested recipes in the list's order, with their titles.
DbResult<Result> inListOrder(Catalogue::TitleOrder& order, const Tested& tested);

// Tests every recipe's ingredient text with the rule built from `entries`.
// `order` gives the list order and the titles.
DbResult<Result> ingredients(KeptText& kept, Catalogue::TitleOrder& order, Rule rule,
    const QStringList& entries, const Progress& progress = {});

// Recipes whose title, ingredients or instructions match `text` read with the
// cookbook's LIKE wildcards around it. Quotes in the text match any character.
DbResult<Result> freeText(
    KeptText& kept, Catalogue::TitleOrder& order, const QString& text, const Progress& progress = {});

// The LIKE pattern the free-text search matches each column with.
QString freeTextPattern(const QString& text);

// Recipes that could be cooked if one more ingredient were bought
// (SeekRules::MissingOne), with the line each one lacks.
struct MissingResult {
    Result found;
    // For each recipe found, the number of its missing line (see MissingOne).
    QVector<int> lineNumbers;
};
DbResult<MissingResult> missingOne(
    KeptText& kept, Catalogue::TitleOrder& order, const QStringList& entries, const Progress& progress = {});
// The missing lines as the recipes write them, read from the cookbook; an
// empty text for a recipe that has gone meanwhile.
DbResult<QStringList> missingLines(Database& db, const MissingResult& result);
// The near-miss search in two parts as testIngredients and inListOrder; the
// titles of the result are its rows (missingOneRow).
Tested testMissingOne(
    const KeptText& kept, const QStringList& entries, bool readingStopped, const Progress& progress = {});
DbResult<Result> missingOneInListOrder(Database& db, Catalogue::TitleOrder& order, const Tested& tested);
// A row of the result list: "Pannkakor (saknar: 3 ägg)".
QString missingOneRow(const QString& title, const QString& line);

} // namespace SeekEngine
