#pragma once

class AppContext;
class QWidget;

namespace Colours {
// What every window does when it loads: its background and its group panels
// take the window colour, its push buttons the button colour.
void apply(const AppContext& ctx, QWidget* window);
// A panel that serves as the background of a group of controls.
void markPanel(QWidget* panel);
} // namespace Colours
