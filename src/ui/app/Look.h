#pragma once

#include <QFont>

// The font every window is laid out for. The windows place their controls in
// pixels, so the font is one narrow enough for every caption to fit its
// control, shipped with the program so it is the same on every machine.
namespace Look {

// The font's height in pixels.
constexpr int FontPixels = 10;

QFont font();
// Sets the font for the whole program; once is enough.
void install();

} // namespace Look
