#pragma once

#include <QString>
#include <QStringView>

// The units a Swedish ingredient line measures in, and how a cook writes
// amounts of each.
namespace Units {

// Amounts add up only within one kind: volumes with volumes, weights with
// weights, and pieces only with pieces of the same unit.
enum class Measure : quint8 { Volume, Mass, Count };

// How an amount of the unit is rounded and written.
enum class Grid : quint8 {
    Fractions, // 1 ½, ¾, ⅓ (spoons, dl, cl)
    Decimals, // 2,5 (l, hg, kg)
    Whole, // 250, 0,5 below 10 (g, ml)
    Pieces, // halves below 3, whole numbers above
};

// How the line wrote the unit: an abbreviation stays one ("msk"), a word
// follows the number ("1 burk", "2 burkar").
enum class Style : quint8 { Abbreviation, Word };

struct Unit {
    const char16_t* abbreviation; // null when the unit has none
    const char16_t* singular;
    const char16_t* plural;
    Measure measure;
    Grid grid;
    double base; // ml for volumes, g for weights, 1 for pieces
    // Below `low` or from `high` on, an amount moves to the smaller or larger
    // unit (15 krm is 1 msk, 20 dl is 2 l).
    double low;
    double high;
    int smaller; // index, or -1
    int larger;
    // The smallest spoon is measured in halves only: ½ krm, not ⅓ krm.
    bool halves;
};

// A unit word found at the start of a text.
struct Found {
    int unit = -1;
    Style style = Style::Abbreviation;
    qsizetype length = 0;
};

int count();
const Unit& unit(int index);
// The unit written at the start of `text`, ignoring case, ended by anything
// but a letter or digit ("2 dl", "500g", "1 l" but not "1 lök").
Found find(QStringView text);
// The unit's name as a line writes it for an amount of `value`.
QString written(int index, Style style, double value);
// Index of a unit by its abbreviation or singular, or -1.
int byName(QStringView name);

} // namespace Units
