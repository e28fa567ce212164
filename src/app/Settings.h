#pragma once

#include "app/AppContext.h"

#include <optional>
#include <utility>

namespace Settings {

// "KROX Gastrid 2.1"; a revision above zero follows the minor number directly.
QString ProgramTitle(int major, int minor, int revision);

// Stored forms; std::nullopt when the text does not have the expected form.
std::optional<std::pair<qint16, qint16>> parseWindowSize(const QString& value);
std::optional<quint8> parseUpgrade(const QString& value);
std::optional<ColourTriple> parseRgb(const QString& value);

// Reads the four settings into ctx, creating missing rows with their
// defaults and repairing malformed ones. False on an engine failure.
bool LoadSettings(AppContext& ctx);

// Stores the window size as "W,H".
bool storeWindowSize(AppContext& ctx);

} // namespace Settings
