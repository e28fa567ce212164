#include "core/online/IsoDuration.h"

#include <QStringList>

#include <cmath>

namespace IsoDuration {

namespace {

// Ten years: longer than any recipe, and far from overflowing.
constexpr double Longest = 10.0 * 366 * 86400;

} // namespace

std::optional<qint64> seconds(QStringView text)
{
    const QStringView t = text.trimmed();
    if (t.size() < 3 || (t.at(0) != u'P' && t.at(0) != u'p'))
        return std::nullopt;
    // Designators in the order they must come, before and after the T.
    static const char16_t DateUnits[] = { u'Y', u'M', u'W', u'D' };
    static const char16_t TimeUnits[] = { u'H', u'M', u'S' };
    static const double DateSeconds[] = { -1, -1, 7 * 86400, 86400 };
    static const double TimeSeconds[] = { 3600, 60, 1 };
    double total = 0;
    bool inTime = false;
    bool any = false;
    bool anyInTime = false;
    int next = 0; // index of the next designator allowed in the current part
    qsizetype i = 1;
    while (i < t.size()) {
        const QChar c = t.at(i).toUpper();
        if (c == u'T') {
            if (inTime)
                return std::nullopt;
            inTime = true;
            next = 0;
            ++i;
            continue;
        }
        const qsizetype start = i;
        auto digit = [&](qsizetype j) { return t.at(j) >= u'0' && t.at(j) <= u'9'; };
        while (i < t.size() && (digit(i) || t.at(i) == u'.' || t.at(i) == u','))
            ++i;
        if (i == start || i >= t.size() || !digit(start) || !digit(i - 1))
            return std::nullopt;
        QString number = t.mid(start, i - start).toString();
        number.replace(u',', u'.');
        if (number.count(u'.') > 1 || number.size() > 12)
            return std::nullopt;
        const double value = number.toDouble();
        const QChar unit = t.at(i).toUpper();
        ++i;
        const char16_t* units = inTime ? TimeUnits : DateUnits;
        const int count = inTime ? 3 : 4;
        int k = next;
        while (k < count && unit != QChar(units[k]))
            ++k;
        if (k == count)
            return std::nullopt;
        const double factor = inTime ? TimeSeconds[k] : DateSeconds[k];
        // A year or a month has no fixed length; only a zero one is understood.
        if (factor < 0 && value != 0)
            return std::nullopt;
        total += factor < 0 ? 0 : value * factor;
        if (total > Longest)
            return std::nullopt;
        next = k + 1;
        any = true;
        anyInTime = anyInTime || inTime;
    }
    if (!any || (inTime && !anyInTime))
        return std::nullopt;
    return qint64(std::llround(total));
}

QString swedish(qint64 seconds)
{
    if (seconds <= 0)
        return {};
    const qint64 days = seconds / 86400;
    const qint64 hours = seconds % 86400 / 3600;
    const qint64 minutes = seconds % 3600 / 60;
    const qint64 secs = seconds % 60;
    QStringList parts;
    if (days > 0)
        parts << QStringLiteral("%1 %2").arg(days).arg(
            days == 1 ? QStringLiteral("dag") : QStringLiteral("dagar"));
    if (hours > 0)
        parts << QStringLiteral("%1 tim").arg(hours);
    if (minutes > 0)
        parts << QStringLiteral("%1 min").arg(minutes);
    if (secs > 0)
        parts << QStringLiteral("%1 sek").arg(secs);
    return parts.join(QLatin1Char(' '));
}

QString iso(qint64 seconds)
{
    if (seconds <= 0)
        return QStringLiteral("PT0S");
    QString out = QStringLiteral("P");
    if (seconds >= 86400)
        out += QString::number(seconds / 86400) + QLatin1Char('D');
    const qint64 rest = seconds % 86400;
    if (rest > 0) {
        out += QLatin1Char('T');
        if (rest >= 3600)
            out += QString::number(rest / 3600) + QLatin1Char('H');
        if (rest % 3600 >= 60)
            out += QString::number(rest % 3600 / 60) + QLatin1Char('M');
        if (rest % 60 > 0)
            out += QString::number(rest % 60) + QLatin1Char('S');
    }
    return out;
}

} // namespace IsoDuration
