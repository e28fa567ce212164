#pragma once

#include <QColor>

class AppContext;
class RunState;
class QWidget;

namespace Colours {
// What every window does when it loads: its background and its group panels
// take the window colour, its push buttons the button colour (unless plain).
enum class Buttons { Coloured, Plain };
void apply(const RunState& state, QWidget* window, Buttons buttons = Buttons::Coloured);
void apply(const AppContext& ctx, QWidget* window, Buttons buttons = Buttons::Coloured);
// A panel that serves as the background of a group of controls.
void markPanel(QWidget* panel);

// The application's style: Fusion, with button faces flat in their colour.
// Called once before the first window; later calls do nothing.
void installStyle();

// `share` of the way from `a` to `b`.
QColor mix(const QColor& a, const QColor& b, double share);
// Black or white, whichever reads better on `face`.
QColor captionFor(const QColor& face);
} // namespace Colours
