#pragma once

#include "core/db/Database.h"
#include "core/settings/Settings.h"

#include <optional>

// The colour window's rules: what a typed number does to a colour bar, and
// storing the two colours.
namespace ColourSettings {

// The value a colour bar (0-255) takes from the text of its number box, or
// std::nullopt when the bar stays as it is. A decimal comma and a decimal
// point both read; a number whose whole part lies in 0..255 rounds to the
// nearest whole number, halves to the even one, and 255.5 up to 256 gives 255.
std::optional<int> barFromBox(const QString& text);

// Stores both colours as "R,G,B" in rgb_windows and rgb_buttons, both or
// neither; a missing row is added.
[[nodiscard]] DbStatus store(Database& db, const ColourTriple& windows, const ColourTriple& buttons);

} // namespace ColourSettings
