#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// Adding up the ingredient lines of several recipes for one shopping list.
namespace ShoppingSum {

// The ingredient a line names, which lines must share to be added up: the
// words after the amount and unit, without what stands in parentheses and
// without what follows a comma (how to cut it, a note), blanks run together,
// in lower case with å, ä, ö kept as letters of their own. "2 dl Mjölk (3 %)",
// "1 l mjölk, kall" and "mjölk" all name "mjölk"; a line without an amount
// names itself.
QString ingredientKey(QStringView line);

struct Line {
    QString text;
    QString key; // ingredientKey of the line, for its shop section
    int lines = 1; // recipe lines it stands for
    bool operator==(const Line&) const = default;
};

// Lines of the same ingredient whose units convert are added up: volumes with
// volumes, weights with weights, pieces with pieces of the same unit ("st"
// counts as none), so "1 msk" and "2 tsk" give "1 ⅔ msk", "200 g" and
// "0,5 kg" give "700 g". The sum takes the largest unit among its lines and
// then the unit its size calls for. A line that stands alone, and every line
// without an amount, is kept as written (trimmed), once for each recipe that
// has it. Lines come in the order of their first appearance; blank lines are
// left out. The same lines in any order give the same texts.
QList<Line> sum(const QList<QStringList>& recipes);

} // namespace ShoppingSum
