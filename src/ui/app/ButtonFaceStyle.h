#pragma once

#include <QProxyStyle>

// Fusion, except that the push buttons a window coloured (Colours::apply)
// show their face flat in the palette's Button colour. Fusion lightens,
// pales and shades that colour, so a chosen colour hardly showed.
class ButtonFaceStyle : public QProxyStyle {
    Q_OBJECT
public:
    ButtonFaceStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget = nullptr) const override;

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
        const QWidget* widget = nullptr) const override;

    // The property Colours::apply sets on the buttons it colours.
    static constexpr const char* FaceProperty = "gastridFace";
};
