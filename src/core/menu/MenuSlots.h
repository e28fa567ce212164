#pragma once

#include <QString>
#include <QStringList>

// A week of meals: 21 slots, slot = 3 × day + meal, Monday breakfast first.
namespace MenuSlots {

constexpr int DayCount = 7;
constexpr int MealCount = 3;
constexpr int SlotCount = DayCount * MealCount;

// "Måndag" … "Söndag".
QString dayName(int day);
// "Frukost", "Lunch", "Middag".
QString mealName(int meal);

// The stored form: every title followed by ",". A comma inside a title is
// written "\,", and then a backslash "\\"; a week without such titles is
// stored exactly as it always was. Missing titles count as empty.
QString encode(const QStringList& titles);
// Always SlotCount titles; missing ones are empty. A value in the old form
// (titles split at every comma, extra parts dropped) reads as it always did.
QStringList decode(const QString& stored);

} // namespace MenuSlots
