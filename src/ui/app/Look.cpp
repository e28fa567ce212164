#include "ui/app/Look.h"

#include <QApplication>
#include <QFontDatabase>
#include <QScreen>

// The fonts live in a static library; without this the linker may drop them.
static void initLookResources()
{
    Q_INIT_RESOURCE(look);
}

namespace Look {

QFont font()
{
    QFont f(QStringLiteral("DejaVu Sans Condensed"));
    // Given in points, so windows that scale their font by points still can.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    f.setPointSizeF(FontPixels * 72.0 / dpi);
    // Unhinted widths: text measures the same on every screen.
    f.setHintingPreference(QFont::PreferVerticalHinting);
    return f;
}

void install()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    initLookResources();
    for (const char* file : { "DejaVuSansCondensed.ttf", "DejaVuSansCondensed-Bold.ttf" })
        if (QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/") + QLatin1String(file)) < 0)
            qWarning("Look: the font %s could not be loaded", file);
    QApplication::setFont(font());
}

} // namespace Look
