#include "core/menu/MenuSlots.h"

namespace MenuSlots {

namespace {

// Split at every comma, as the stored weeks were always read.
QStringList plainSplit(const QString& stored)
{
    return stored.split(u',');
}

// Split at commas that no backslash escapes; false when a backslash stands
// before anything but a comma or a backslash.
bool escapedSplit(const QString& stored, QStringList* parts)
{
    QString part;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        const QChar c = stored.at(i);
        if (c == u'\\') {
            if (i + 1 >= stored.size() || (stored.at(i + 1) != u',' && stored.at(i + 1) != u'\\'))
                return false;
            part += stored.at(++i);
        } else if (c == u',') {
            parts->append(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts->append(part);
    return true;
}

} // namespace

QString dayName(int day)
{
    static const char16_t* const names[DayCount]
        = { u"Måndag", u"Tisdag", u"Onsdag", u"Torsdag", u"Fredag", u"Lördag", u"Söndag" };
    return day >= 0 && day < DayCount ? QString::fromUtf16(names[day]) : QString();
}

QString mealName(int meal)
{
    static const char16_t* const names[MealCount] = { u"Frukost", u"Lunch", u"Middag" };
    return meal >= 0 && meal < MealCount ? QString::fromUtf16(names[meal]) : QString();
}

QString encode(const QStringList& titles)
{
    bool escape = false;
    for (int i = 0; i < SlotCount && i < titles.size(); ++i)
        escape = escape || titles.at(i).contains(u',');
    QString out;
    for (int i = 0; i < SlotCount; ++i) {
        QString t = titles.value(i);
        if (escape) {
            t.replace(u'\\', QLatin1String("\\\\"));
            t.replace(u',', QLatin1String("\\,"));
        }
        out += t + QLatin1Char(',');
    }
    return out;
}

QStringList decode(const QString& stored)
{
    // Only an escaped week has more than 21 commas and splits into exactly
    // 21 titles and the empty rest after the last separator. An old value
    // with more commas than that has titles that held commas, and reads as before.
    QStringList parts;
    if (stored.count(u',') <= SlotCount || !escapedSplit(stored, &parts) || parts.size() != SlotCount + 1
        || !parts.constLast().isEmpty())
        parts = plainSplit(stored);
    QStringList titles;
    for (int i = 0; i < SlotCount; ++i)
        titles << parts.value(i);
    return titles;
}

} // namespace MenuSlots
