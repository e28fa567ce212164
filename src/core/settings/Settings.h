#pragma once

#include "core/db/Database.h"

#include <optional>
#include <utility>

// A colour as the settings store it: "R,G,B" with each part 0-255.
struct ColourTriple {
    qint16 r = 0;
    qint16 g = 0;
    qint16 b = 0;
    // R + 256*G + 65536*B, the form the rest of the program passes around.
    quint32 value() const { return quint32(r) + 256u * quint32(g) + 65536u * quint32(b); }
    QString text() const { return QStringLiteral("%1,%2,%3").arg(r).arg(g).arg(b); }
    bool operator==(const ColourTriple&) const = default;
};

namespace Settings {

constexpr ColourTriple DefaultWindowRGB { 239, 232, 225 };
constexpr ColourTriple DefaultButtonRGB { 230, 219, 207 };

// The four settings of the options table.
struct Stored {
    qint16 windowWidth = 792;
    qint16 windowHeight = 566;
    quint8 upgrade = 1;
    ColourTriple windowRGB = DefaultWindowRGB;
    ColourTriple buttonRGB = DefaultButtonRGB;
};

// "KROX Gastrid 2.1"; a revision above zero follows the minor number directly.
QString ProgramTitle(int major, int minor, int revision);
// The title of this build.
QString ProgramTitle();

// Stored forms; std::nullopt when the text does not have the expected form.
std::optional<std::pair<qint16, qint16>> parseWindowSize(const QString& value);
std::optional<quint8> parseUpgrade(const QString& value);
std::optional<ColourTriple> parseRgb(const QString& value);

// Reads the four settings, creating missing rows with their defaults and
// repairing malformed ones.
DbResult<Stored> LoadSettings(Database& db);

// Stores the window size as "W,H".
[[nodiscard]] DbStatus storeWindowSize(Database& db, qint16 width, qint16 height);
// Stores the update window's check box into the "upgrade" row, when the row
// exists (start-up has made it).
[[nodiscard]] DbStatus storeUpgrade(Database& db, bool on);

// The options table's one owner: every SQL statement over it is in
// Settings.cpp, and the rest of the program goes through these.
// The value of the first row named `key`; empty when there is none. Never
// adds a row.
DbResult<std::optional<QString>> value(Database& db, const QString& key);
// Sets every row named `key`; adds one when there is none.
[[nodiscard]] DbStatus storeValue(Database& db, const QString& key, const QString& text);

} // namespace Settings
