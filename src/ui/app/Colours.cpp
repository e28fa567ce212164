#include "ui/app/Colours.h"

#include "ui/app/AppContext.h"
#include "ui/app/ButtonFaceStyle.h"

#include <QApplication>
#include <QPushButton>
#include <QWidget>

#include <cmath>

namespace Colours {

namespace {

double luminance(const QColor& c)
{
    auto lin = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * lin(c.redF()) + 0.7152 * lin(c.greenF()) + 0.0722 * lin(c.blueF());
}

} // namespace

QColor mix(const QColor& a, const QColor& b, double share)
{
    auto part = [share](int x, int y) { return int(std::lround(x + (y - x) * share)); };
    return QColor(part(a.red(), b.red()), part(a.green(), b.green()), part(a.blue(), b.blue()));
}

QColor captionFor(const QColor& face)
{
    // The contrast ratios against black and white cross at this luminance.
    return luminance(face) > 0.179 ? QColor(Qt::black) : QColor(Qt::white);
}

void installStyle()
{
    if (!qobject_cast<ButtonFaceStyle*>(QApplication::style()))
        QApplication::setStyle(new ButtonFaceStyle);
}

void markPanel(QWidget* panel)
{
    panel->setProperty("gastridPanel", true);
}

void apply(const AppContext& ctx, QWidget* window, Buttons buttons)
{
    apply(ctx.state(), window, buttons);
}

void apply(const RunState& state, QWidget* window, Buttons buttons)
{
    const QColor wc = state.windowQColor();
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, wc);
    window->setPalette(pal);
    window->setAutoFillBackground(true);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->property("gastridPanel").toBool()) {
            QPalette p = w->palette();
            p.setColor(QPalette::Window, wc);
            w->setPalette(p);
            w->setAutoFillBackground(true);
        }
    }
    if (buttons == Buttons::Plain)
        return;
    const QColor bc = state.buttonQColor();
    const QColor caption = captionFor(bc);
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
        QPalette p = b->palette();
        p.setColor(QPalette::Button, bc);
        p.setColor(QPalette::ButtonText, caption);
        // Faded toward the face, yet still legible on it.
        p.setColor(QPalette::Disabled, QPalette::ButtonText, mix(bc, caption, 0.62));
        b->setPalette(p);
        b->setProperty(ButtonFaceStyle::FaceProperty, true);
    }
}

} // namespace Colours
