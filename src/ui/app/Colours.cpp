#include "ui/app/Colours.h"

#include "ui/app/AppContext.h"

#include <QPushButton>
#include <QWidget>

QColor colourFromValue(quint32 value)
{
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

namespace Colours {

void markPanel(QWidget* panel)
{
    panel->setProperty("gastridPanel", true);
}

void apply(const AppContext& ctx, QWidget* window)
{
    const QColor wc = ctx.windowQColor();
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
    const QColor bc = ctx.buttonQColor();
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
        QPalette p = b->palette();
        p.setColor(QPalette::Button, bc);
        b->setPalette(p);
    }
}

} // namespace Colours
