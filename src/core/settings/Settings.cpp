#include "core/settings/Settings.h"

#include <QStringList>

#include <cmath>
#include <limits>

namespace Settings {

QString ProgramTitle(int major, int minor, int revision)
{
    QString t = QStringLiteral("KROX Gastrid %1.%2").arg(major).arg(minor);
    if (revision > 0)
        t += QString::number(revision);
    return t;
}

QString ProgramTitle()
{
    return ProgramTitle(GASTRID_VERSION_MAJOR, GASTRID_VERSION_MINOR, GASTRID_VERSION_PATCH);
}

namespace {

std::optional<double> number(const QString& piece)
{
    bool ok = false;
    const double d = piece.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

bool fits16(double d)
{
    return d >= std::numeric_limits<qint16>::min() && d <= std::numeric_limits<qint16>::max();
}

} // namespace

std::optional<std::pair<qint16, qint16>> parseWindowSize(const QString& value)
{
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() < 2)
        return std::nullopt;
    const auto w = number(parts.at(0));
    const auto h = number(parts.at(1));
    if (!w || !h)
        return std::nullopt;
    const double fw = std::floor(*w);
    const double fh = std::floor(*h);
    if (!fits16(fw) || !fits16(fh))
        return std::nullopt;
    return std::make_pair(qint16(fw), qint16(fh));
}

std::optional<quint8> parseUpgrade(const QString& value)
{
    const auto v = number(value);
    if (!v)
        return std::nullopt;
    const double f = std::floor(*v);
    if (f < 0 || f > 255)
        return std::nullopt;
    return quint8(f);
}

std::optional<ColourTriple> parseRgb(const QString& value)
{
    const QStringList parts = value.split(QLatin1Char(','));
    if (parts.size() < 3)
        return std::nullopt;
    qint16 c[3];
    for (int i = 0; i < 3; ++i) {
        const auto v = number(parts.at(i));
        if (!v)
            return std::nullopt;
        // Halves go to the even neighbour, as the stored values always did.
        const double r = std::nearbyint(*v);
        if (r < 0 || r > 255)
            return std::nullopt;
        c[i] = qint16(r);
    }
    return ColourTriple { c[0], c[1], c[2] };
}

namespace {

// A cookbook that takes no writes (damaged, or on a read-only disk) still
// starts, with the defaults in memory only.
DbStatus unlessReadOnly(DbStatus written)
{
    if (!written && written.error().code == DbCode::ReadOnly)
        return dbOk();
    return written;
}

// Reads one key; a missing row is added with the default, a malformed one
// is set back to the default. `apply` returns false when the text is malformed.
template <typename Apply>
DbStatus readSetting(Database& db, const QString& key, const QString& def, Apply apply)
{
    const auto v = value(db, key);
    if (!v)
        return v.error();
    if (*v && apply(**v))
        return dbOk();
    apply(def);
    return unlessReadOnly(storeValue(db, key, def));
}

template <typename Parse, typename Set> auto setter(Parse parse, Set set)
{
    return [parse, set](const QString& s) {
        const auto v = parse(s);
        if (v)
            set(*v);
        return v.has_value();
    };
}

} // namespace

DbResult<Stored> LoadSettings(Database& db)
{
    Stored s;
    const DbStatus steps[] = {
        readSetting(db, QStringLiteral("windowsize"), QStringLiteral("792,566"),
            setter(parseWindowSize,
                [&](const std::pair<qint16, qint16>& v) {
                    s.windowWidth = v.first;
                    s.windowHeight = v.second;
                })),
        readSetting(db, QStringLiteral("upgrade"), QStringLiteral("1"),
            setter(parseUpgrade, [&](quint8 v) { s.upgrade = v; })),
        readSetting(db, QStringLiteral("rgb_windows"), DefaultWindowRGB.text(),
            setter(parseRgb, [&](const ColourTriple& v) { s.windowRGB = v; })),
        readSetting(db, QStringLiteral("rgb_buttons"), DefaultButtonRGB.text(),
            setter(parseRgb, [&](const ColourTriple& v) { s.buttonRGB = v; })),
    };
    for (const DbStatus& step : steps)
        if (!step)
            return step.error();
    return s;
}

DbStatus storeWindowSize(Database& db, qint16 width, qint16 height)
{
    return storeValue(db, QStringLiteral("windowsize"), QStringLiteral("%1,%2").arg(width).arg(height));
}

DbStatus storeUpgrade(Database& db, bool on)
{
    return db.execute("UPDATE options SET value = ?1 WHERE name = 'upgrade';",
        { on ? QStringLiteral("1") : QStringLiteral("0") });
}

DbResult<std::optional<QString>> value(Database& db, const QString& key)
{
    DbResult<Statement> st = db.prepare("SELECT value FROM options WHERE name=?1 ORDER BY uid LIMIT 1;");
    if (!st)
        return st.error();
    st->bind(1, key);
    if (st->next())
        return std::optional<QString>(st->text(0));
    if (st->failed())
        return st->error();
    return std::optional<QString>();
}

DbStatus storeValue(Database& db, const QString& key, const QString& text)
{
    if (DbStatus s = db.execute("UPDATE options SET value=?1 WHERE name=?2;", { text, key }); !s)
        return s;
    if (db.changes() == 0)
        return db.execute("INSERT INTO options (name, value) VALUES (?1, ?2);", { key, text });
    return dbOk();
}

} // namespace Settings
