// Durations: whatever the text, an accepted one is written back to the same
// number of seconds in both its ISO and its Swedish form.
#include "core/online/IsoDuration.h"

#include <QRegularExpression>

#include <cstdint>
#include <cstdlib>

namespace {

// Reads "1 dag 2 tim 3 min 4 sek" back; -1 when it is not of that form.
qint64 fromSwedish(const QString& text)
{
    static const QRegularExpression part(QStringLiteral("^(\\d+) (dag|dagar|tim|min|sek)$"));
    if (text.isEmpty())
        return 0;
    qint64 total = 0;
    const QStringList words = text.split(QLatin1Char(' '));
    if (words.size() % 2 != 0)
        return -1;
    for (int i = 0; i < words.size(); i += 2) {
        const auto m = part.match(words.at(i) + QLatin1Char(' ') + words.at(i + 1));
        if (!m.hasMatch())
            return -1;
        const qint64 n = m.captured(1).toLongLong();
        const QString unit = m.captured(2);
        total += n
            * (unit.startsWith(QLatin1String("dag")) ? 86400
                    : unit == QLatin1String("tim")   ? 3600
                    : unit == QLatin1String("min")   ? 60
                                                     : 1);
    }
    return total;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const auto s = IsoDuration::seconds(text);
    if (!s)
        return 0;
    if (*s < 0 || *s > 10LL * 366 * 86400 + 1)
        std::abort();
    if (IsoDuration::seconds(IsoDuration::iso(*s)) != s)
        std::abort();
    const QString sv = IsoDuration::swedish(*s);
    if (sv.isEmpty() != (*s == 0) || fromSwedish(sv) != *s)
        std::abort();
    return 0;
}
