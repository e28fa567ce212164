#pragma once

#include "core/db/Database.h"
#include "core/text/ProgramFiles.h"

#include <QList>
#include <QStringList>

// What to buy for a planned week: the ingredient lines of every planned
// recipe, those the fridge list seems to cover set apart for the user to judge.
namespace ShoppingList {

inline constexpr auto& PageName = ProgramFiles::ShoppingPage;

struct Line {
    QString text;
    // "Sås:" and the like head the lines under them.
    bool heading = false;
    bool operator==(const Line&) const = default;
};

// A line some fridge entry occurs in: "ägg" occurs in "1 rimmad fläsklägg"
// too, so such a line is shown apart rather than left out.
struct AtHome {
    QString line;
    // The first entry, as the fridge list has it, that occurs in the line.
    QString entry;
    bool operator==(const AtHome&) const = default;
};

struct Recipe {
    QString title;
    // Where it is planned, in day order: "Måndag middag".
    QStringList meals;
    // Ingredient lines still to buy, in the recipe's order; a heading only
    // while some line under it is left.
    QList<Line> lines;
    // Lines the fridge list seems to cover, in the recipe's order.
    QList<AtHome> atHome;
};

struct List {
    // Each recipe once, where it is first planned.
    QList<Recipe> recipes;
    // Planned titles no recipe bears, each once.
    QStringList missing;
    bool fridgeUsed = false;
};

// A planned title finds the recipe of exactly that title, letter case aside
// (the oldest, when several bear it). A line goes to `atHome` when the fridge
// has an entry it contains (the any-ingredient search rule; a blank entry names
// nothing); blank lines are left out.
DbResult<List> build(Database& db, const QStringList& titles, const QStringList& fridge);

QString pagePath(const QString& programFolder);

// The lines the fridge list seems to cover under "Finns kanske hemma:", each
// with its entry; nothing when there are none.
QString atHomeHtml(const QList<AtHome>& lines);
// The titles not in the cookbook, and the page's closing tags.
QString pageEnd(const QStringList& missing);
QString atHomeText(const QList<AtHome>& lines);
// The fridge note under the page's heading.
inline constexpr char16_t FridgeNote[]
    = u"Rader som kylskåpslistan verkar täcka står under \"Finns kanske hemma:\".";

} // namespace ShoppingList
