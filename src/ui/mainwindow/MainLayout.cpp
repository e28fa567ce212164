#include "ui/mainwindow/MainLayout.h"

#include <QtMath>

#include <algorithm>

namespace MainLayout {

namespace {

// A control's place at the designed size and the share of the added width
// (dx) or height (dy) that its left, top, width and height take.
struct Rule {
    const char* name;
    double x, y, w, h;
    double kx, ky, kw, kh;
};

// At the designed size, as the resize rule leaves them: the time field and
// its label stand 7 pixels right of the portions field, the search list
// reaches the fridge label. The lowest controls keep the left column's
// margin of 5 pixels from the bottom edge, so their lower borders show
// apart from the window's frame.
constexpr Rule Rules[] = {
    { "lblKategorier", 5, 8, 249, 17, 0, 0, 0, 0 },
    { "cmbKategorier", 5, 24, 249, 21, 0, 0, 0.5, 0 },
    { "lblRecept", 5, 48, 249, 17, 0, 0, 0, 0 },
    { "lstRecept", 5, 64, 249, 463, 0, 0, 0.5, 1 },

    { "lblTitel", 261, 8, 289, 17, 0.5, 0, 0, 0 },
    { "txtTitel", 261, 24, 289, 19, 0.5, 0, 0.5, 0 },
    { "lblPortioner", 264, 48, 137, 17, 0.5, 0, 0, 0 },
    { "txtPortioner", 264, 64, 137, 19, 0.5, 0, 0.25, 0 },
    { "lblTid", 408, 48, 145, 17, 0.75, 0, 0, 0 },
    { "txtTid", 408, 64, 145, 19, 0.75, 0, 0.25, 0 },
    { "lblIngredienser", 261, 88, 289, 17, 0.5, 0, 0, 0 },
    { "txtIngredienser", 261, 104, 289, 209, 0.5, 0, 0.5, 0.5 },
    { "lblAnvisningar", 261, 320, 289, 17, 0.5, 0.5, 0, 0 },
    { "txtAnvisningar", 261, 336, 289, 191, 0.5, 0.5, 0.5, 0.5 },

    { "lblVerktyg", 557, 8, 233, 17, 1, 0, 0, 0 },
    { "lblReceptKategori", 557, 120, 233, 17, 1, 0, 0, 0 },
    { "cmbNyttRecept", 557, 136, 233, 21, 1, 0, 0, 0 },
    { "lblSeek", 557, 160, 233, 17, 1, 0, 0, 0 },
    { "cmbSeek", 557, 176, 233, 21, 1, 0, 0, 0 },
    { "txtAddSeek", 557, 200, 153, 19, 1, 0, 0, 0 },
    { "lstSeek", 557, 224, 233, 184, 1, 0, 0, 1 },
    { "lblKylskap", 557, 408, 233, 17, 1, 1, 0, 0 },
    { "txtEditIng", 557, 456, 153, 19, 1, 1, 0, 0 },
    { "txtSeek", 557, 480, 153, 19, 1, 1, 0, 0 },
    { "txtAddIng", 5, 528, 153, 19, 1, 1, 0, 0 },

    { "cmdButton_0", 557, 24, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_1", 552, 528, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_2", 717, 24, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_3", 557, 56, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_4", 637, 56, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_5", 717, 480, 73, 19, 1, 1, 0, 0 },
    { "cmdButton_6", 717, 56, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_7", 285, 560, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_8", 365, 560, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_9", 560, 496, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_10", 640, 496, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_11", 717, 456, 73, 19, 1, 1, 0, 0 },
    { "cmdButton_12", 165, 528, 73, 19, 1, 1, 0, 0 },
    { "cmdButton_13", 557, 424, 73, 25, 1, 1, 0, 0 },
    { "cmdButton_14", 637, 424, 73, 25, 1, 1, 0, 0 },
    { "cmdButton_15", 717, 424, 73, 25, 1, 1, 0, 0 },
    { "cmdButton_16", 445, 560, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_17", 637, 24, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_18", 720, 528, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_19", 717, 200, 73, 19, 1, 0, 0, 0 },
    { "cmdButton_20", 597, 88, 73, 25, 1, 0, 0, 0 },
    { "cmdButton_21", 677, 88, 73, 25, 1, 0, 0, 0 },

    { "cmdKrox_0", 557, 502, 73, 25, 1, 1, 0, 0 },
    { "cmdKrox_1", 637, 502, 73, 25, 1, 1, 0, 0 },
    { "cmdKrox_2", 717, 502, 73, 25, 1, 1, 0, 0 },
};

QRectF at(const Rule& r, double dx, double dy)
{
    return { r.x + r.kx * dx, r.y + r.ky * dy, r.w + r.kw * dx, r.h + r.kh * dy };
}

const Rule& rule(const char* name)
{
    return *std::find_if(
        std::begin(Rules), std::end(Rules), [name](const Rule& r) { return qstrcmp(r.name, name) == 0; });
}

} // namespace

QList<Place> places(QSizeF client, bool nyttReceptMode)
{
    const double dx = std::max(client.width(), double(MinimumSize.width())) - DesignedSize.width();
    const double dy = std::max(client.height(), double(MinimumSize.height())) - DesignedSize.height();
    QList<Place> out;
    out.reserve(std::size(Rules));
    for (const Rule& r : Rules)
        out.append({ QString::fromLatin1(r.name), at(r, dx, dy) });
    if (nyttReceptMode) {
        // The chooser stands in the filter's place, "Spara" and "Avbryt" in
        // those of the first two tool buttons.
        const QRectF filter = at(rule("cmbKategorier"), dx, dy);
        const QRectF save = at(rule("cmdButton_0"), dx, dy);
        const QRectF cancel = at(rule("cmdButton_17"), dx, dy);
        for (Place& p : out) {
            if (p.name == QLatin1String("cmbNyttRecept"))
                p.rect = QRectF(filter.topLeft(), QSizeF(filter.width(), p.rect.height()));
            else if (p.name == QLatin1String("cmdButton_9"))
                p.rect.moveTopLeft(save.topLeft());
            else if (p.name == QLatin1String("cmdButton_10"))
                p.rect.moveTopLeft(cancel.topLeft());
        }
    }
    return out;
}

QRect pixels(const QRectF& rect)
{
    const int left = qRound(rect.left());
    const int top = qRound(rect.top());
    return QRect(left, top, qRound(rect.right()) - left, qRound(rect.bottom()) - top);
}

} // namespace MainLayout
