#pragma once

#include <QString>

#include <optional>

// A recipe for another number of people: its portions and its ingredient
// amounts scaled. Nothing here touches the stored recipe.
namespace Portions {

// The range of the print window's number box.
inline constexpr int Fewest = 1;
inline constexpr int Most = 99;

// The whole number that the portions text starts with: "4", "4 portioner",
// "ca 6", "4-6" (4). None when it starts with none from 1 to 99, or with a
// fraction ("2,5", "1/2").
std::optional<int> portionsOf(const QString& antalPersoner);

// The portions text with its leading number (and a range after it) replaced
// by `to`: "4-6 personer" for 8 is "8 personer". Unchanged when it has none.
QString portionsText(const QString& antalPersoner, int to);

// The line's leading amount for `to` portions instead of `from`, written as a
// cook writes it. A line without an amount, one whose amount would reach a
// million, or the same number of portions gives the line exactly as it was.
QString scaleLine(const QString& line, int from, int to);

// Every line of an ingredient text scaled; its line ends (CR LF, LF or CR) stay.
QString scaleText(const QString& text, int from, int to);

} // namespace Portions
