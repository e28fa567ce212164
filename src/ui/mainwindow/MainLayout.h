#pragma once

#include <QList>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>

// Where the main window's controls stand at a client size. The left column
// takes half of any added width, the middle column moves by half and takes
// the other half, the right column moves with the right edge; heights follow
// the same way. Computed afresh from the designed places at every size, so a
// run of resizes ends exactly where one resize to the same size would.
namespace MainLayout {

inline constexpr QSize DesignedSize { 792, 532 };
inline constexpr QSize MinimumSize { 640, 480 };
// Between the lowest controls and the bottom edge, as at the left.
inline constexpr int BottomMargin = 5;

struct Place {
    QString name;
    // Unrounded; halves and quarters of the added size arise.
    QRectF rect;
};

// Every placed control by its object name. Below the minimum size the
// controls stay as at the minimum.
QList<Place> places(QSizeF client, bool nyttReceptMode);

// The pixels a place is drawn on: its edges rounded, so controls that touch
// or keep a gap keep it at every size.
QRect pixels(const QRectF& rect);

} // namespace MainLayout
