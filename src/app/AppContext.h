#pragma once

#include "app/Database.h"
#include "app/Prompts.h"

#include <QColor>
#include <QDir>
#include <QString>

#include <array>

// A colour as the settings store it: "R,G,B" with each part 0-255.
struct ColourTriple {
    qint16 r = 0;
    qint16 g = 0;
    qint16 b = 0;
    // R + 256*G + 65536*B, the form the rest of the program passes around.
    quint32 value() const { return quint32(r) + 256u * quint32(g) + 65536u * quint32(b); }
    QString text() const { return QStringLiteral("%1,%2,%3").arg(r).arg(g).arg(b); }
    bool operator==(const ColourTriple&) const = default;
};

QColor colourFromValue(quint32 value);

// Everything that lives for the whole run: the folder, the connection, the
// settings and the colour state. Start-up creates it; every window gets it.
class AppContext {
public:
    AppContext(const QString& programFolder, Prompts& prompts)
        : m_folder(programFolder)
        , m_prompts(prompts)
    {
    }
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    const QString& programFolder() const { return m_folder; }
    QString path(const QString& name) const { return QDir(m_folder).filePath(name); }
    QString databasePath() const { return path(QStringLiteral("dbRcp.mdb")); }
    QString pictureFolder() const { return path(QStringLiteral("bilder")); }
    Prompts& prompts() const { return m_prompts; }
    Database& db() { return m_db; }

    // Settings as read at start-up.
    qint16 windowWidth = 792;
    qint16 windowHeight = 566;
    quint8 seekUppgradering = 1;
    ColourTriple windowRGB { 239, 232, 225 };
    ColourTriple buttonRGB { 230, 219, 207 };
    QString programTitle;
    // Decimal text of the window colour value, formed once at start-up.
    QString windowColor;
    bool seekIngredienser = false;

    quint32 ButtonColor() const { return buttonRGB.value(); }
    QColor windowQColor() const { return colourFromValue(windowColor.toUInt()); }
    QColor buttonQColor() const { return colourFromValue(ButtonColor()); }

private:
    QString m_folder;
    Prompts& m_prompts;
    Database m_db;
};
