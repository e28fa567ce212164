#pragma once

#include "core/db/Database.h"

#include <QList>
#include <QStringList>

// What to buy for a planned week: the ingredient lines of every planned
// recipe, less what the fridge list already has.
namespace ShoppingList {

inline constexpr char16_t PageName[] = u"tmpInkopslista.htm";

struct Line {
    QString text;
    // "Sås:" and the like head the lines under them.
    bool heading = false;
    bool operator==(const Line&) const = default;
};

struct Recipe {
    QString title;
    // Where it is planned, in day order: "Måndag middag".
    QStringList meals;
    // Ingredient lines still to buy, in the recipe's order; a heading only
    // while some line under it is left.
    QList<Line> lines;
    // Lines left out because the fridge list has them.
    int covered = 0;
};

struct List {
    // Each recipe once, where it is first planned.
    QList<Recipe> recipes;
    // Planned titles no recipe bears, each once.
    QStringList missing;
    bool fridgeUsed = false;
};

// A planned title finds the recipe of exactly that title, letter case aside
// (the oldest, when several bear it). A line is left out when the fridge has
// an entry it contains (the any-ingredient search rule); blank lines always.
DbResult<List> build(Database& db, const QStringList& titles, const QStringList& fridge);

// The list as a page for the print window; the recipes' texts are shown as
// they read, not as HTML.
QString html(const List& list);

QString pagePath(const QString& programFolder);

} // namespace ShoppingList
