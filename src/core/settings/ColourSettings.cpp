#include "core/settings/ColourSettings.h"

#include <QRegularExpression>

#include <cmath>

namespace ColourSettings {

std::optional<int> barFromBox(const QString& text)
{
    // Plain decimal numbers only: no groups, no exponent, no currency.
    static const QRegularExpression number(QStringLiteral("^\\s*[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)\\s*$"));
    if (!number.match(text).hasMatch())
        return std::nullopt;
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double d = t.toDouble(&ok);
    // A run of digits too long for a double is far above 255 anyway.
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    const double whole = std::floor(d);
    if (whole <= -1 || whole >= 256)
        return std::nullopt;
    return std::min(int(std::nearbyint(d)), 255);
}

DbStatus store(Database& db, const ColourTriple& windows, const ColourTriple& buttons)
{
    if (DbStatus s = db.begin(); !s)
        return s;
    for (const auto& [key, c] : { std::pair { QStringLiteral("rgb_windows"), windows },
             std::pair { QStringLiteral("rgb_buttons"), buttons } }) {
        if (DbStatus s = Settings::storeValue(db, key, c.text()); !s) {
            db.rollback();
            return s;
        }
    }
    if (DbStatus s = db.commit(); !s) {
        db.rollback();
        return s;
    }
    return dbOk();
}

} // namespace ColourSettings
