#pragma once

#include "core/kitchen/Units.h"

#include <QString>
#include <QStringView>

#include <optional>

// Amounts at the start of Swedish ingredient lines: reading them, and writing
// them as a cook does after scaling or adding.
namespace Amounts {

// "2 dl", "1 ½ msk", "1 1/2 dl", "2-3 st", "ca 500 g", or a number before a
// noun ("4 ägg"). The line is its text before the number, the number (or
// range), the gap, the unit, and the rest.
struct Reading {
    double low = 0;
    double high = 0; // as low unless a range
    bool range = false;
    // "ca", "c:a", "cirka" and the like before the number.
    bool approximate = false;
    // A unit index; -1 for pieces without a unit word ("2 ägg").
    int unit = -1;
    Units::Style style = Units::Style::Abbreviation;
    qsizetype numberBegin = 0;
    qsizetype numberEnd = 0;
    qsizetype unitBegin = 0; // equals unitEnd when there is no unit
    qsizetype unitEnd = 0;
    QString dash; // the middle of a range as written: "-", " – "
};

// Amounts from a million on are no kitchen's; a line holds at most six digits
// before the decimal comma.
inline constexpr double Largest = 1e6;

// None when the line does not start with an amount: "salt", "Deg:", a bare
// number, "200 grader", or a number that reads two ways ("1 000 g").
std::optional<Reading> read(QStringView line);

// Where a number would start: after leading blanks and a word such as "ca",
// "c:a", "cirka" (then *approximate is set).
qsizetype numberStart(QStringView line, bool* approximate);

// An amount settled into the unit that suits its size, rounded as a cook
// measures.
struct Settled {
    int unit = -1;
    double low = 0;
    double high = 0;
};

// Moves an amount (`unit` -1: pieces) to a smaller or larger unit when it is
// too small or large for its own (15 krm is 1 msk, 20 dl is 2 l, 0,5 kg is
// 500 g) and rounds it to what that unit is measured in: quarters and thirds
// of spoons and dl, tenths of kg and l, whole grams, half pieces below three.
// Amounts already on that measure (250 g, 1,25 kg) stay exact.
Settled settle(int unit, double low, double high);

// A number as a cook writes it: "2", "¾", "1 ½"; with decimal comma ("2,5")
// when the unit is weighed or measured in decimals, or no fraction fits.
QString writeNumber(double value, bool fractions = true);
// A whole amount: number or range, and the unit word for it ("1 ½ msk",
// "2 burkar"); the unit keeps the style the line wrote it in.
QString writeAmount(const Settled& amount, Units::Style style, const QString& dash = QStringLiteral("-"));

// The line with its amount replaced by `amount`, the rest as it stands.
QString rewrite(QStringView line, const Reading& reading, const Settled& amount);

// What an amount measures, in ml, g or pieces.
double inBase(int unit, double value);

} // namespace Amounts
