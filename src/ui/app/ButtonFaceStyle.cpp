#include "ui/app/ButtonFaceStyle.h"

#include "ui/app/Colours.h"

#include <QPainter>
#include <QPushButton>
#include <QStyleFactory>
#include <QStyleOptionButton>

ButtonFaceStyle::ButtonFaceStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
}

QSize ButtonFaceStyle::sizeFromContents(
    ContentsType type, const QStyleOption* option, const QSize& size, const QWidget* widget) const
{
    QSize out = QProxyStyle::sizeFromContents(type, option, size, widget);
    // At the program's small font the dots of a capital Ä reach above the
    // line; list rows get room for them, or Ä reads as A.
    if (type == CT_ItemViewItem)
        out.rheight() += 2;
    return out;
}

void ButtonFaceStyle::drawPrimitive(
    PrimitiveElement element, const QStyleOption* option, QPainter* painter, const QWidget* widget) const
{
    const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
    if (element != PE_PanelButtonCommand || !button || (button->features & QStyleOptionButton::Flat)
        || !widget || !widget->property(FaceProperty).toBool()) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QPalette& pal = option->palette;
    const bool enabled = option->state & State_Enabled;
    const bool down = option->state & (State_Sunken | State_On);
    const bool keyboardFocus
        = (option->state & State_HasFocus) && (option->state & State_KeyboardFocusChange);
    const bool isDefault = enabled && (button->features & QStyleOptionButton::DefaultButton);

    const QColor face = pal.color(QPalette::Button);
    // Pressed: the face moves a little toward the caption colour, which
    // darkens a light face and lightens a dark one.
    const QColor fill = down ? Colours::mix(face, pal.color(QPalette::ButtonText), 0.18) : face;
    // Fusion's outlines: a darker window colour, the highlight for focus.
    const QColor outline = pal.color(QPalette::Window).darker(140);
    const QColor highlight = pal.color(QPalette::Highlight).darker(125);
    QColor edge = (keyboardFocus || isDefault) ? highlight : outline;
    if (!enabled)
        edge = edge.lighter(115);

    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    const QRectF r = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
    painter->setPen(edge);
    painter->setBrush(fill);
    painter->drawRoundedRect(r, 2.0, 2.0);
    if (keyboardFocus) {
        // A second ring, so focus shows on any face colour.
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(r.adjusted(1, 1, -1, -1), 1.5, 1.5);
    } else if (down) {
        painter->setPen(Colours::mix(fill, Qt::black, 0.25));
        painter->drawLine(r.topLeft() + QPointF(2, 1), r.topRight() + QPointF(-2, 1));
    }
    painter->restore();
}
