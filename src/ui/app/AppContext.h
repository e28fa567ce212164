#pragma once

#include "core/app/ProgramPaths.h"
#include "core/db/CookbookGuard.h"
#include "core/db/Database.h"
#include "core/settings/Settings.h"
#include "ui/app/Prompts.h"

#include <QColor>
#include <QDir>
#include <QHash>
#include <QPageLayout>
#include <QString>

#include <optional>

QColor colourFromValue(quint32 value);

// What the user chose in the print and page-setup dialogs, kept for the run.
struct PrintChoices {
    // Empty: the system's default printer.
    QString printerName;
    // Set when the user printed to a PDF file.
    QString outputFileName;
    std::optional<QPageLayout> pageLayout;
};

// Everything that lives for the whole run: the folder, the connection, the
// settings and the colour state. Start-up creates it; every window gets it.
class AppContext {
public:
    AppContext(const QString& programFolder, Prompts& prompts)
        : AppContext(ProgramPaths::portable(programFolder), prompts)
    {
    }
    AppContext(const ProgramPaths& paths, Prompts& prompts)
        : m_paths(paths)
        , m_prompts(prompts)
    {
    }
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    const QString& programFolder() const { return m_paths.programFolder; }
    QString path(const QString& name) const { return QDir(m_paths.programFolder).filePath(name); }
    // Read from the installed share folder when the program is installed.
    QString manualPath() const { return m_paths.manualPath(); }
    QString databasePath() const { return path(QStringLiteral("dbRcp.mdb")); }
    QString pictureFolder() const { return path(QStringLiteral("bilder")); }
    QString backupFolder() const { return path(QStringLiteral("backup")); }
    Prompts& prompts() const { return m_prompts; }
    Database& db() { return m_db; }
    // Backups, the check for damage, and no writes once damage is found.
    CookbookGuard& guard() { return m_guard; }

    // Takes the settings as read at start-up.
    void applySettings(const Settings::Stored& s)
    {
        windowWidth = s.windowWidth;
        windowHeight = s.windowHeight;
        seekUppgradering = s.upgrade;
        windowRGB = s.windowRGB;
        buttonRGB = s.buttonRGB;
        windowColor = QString::number(windowRGB.value());
        seekIngredienser = false;
    }

    // Settings as read at start-up; the window size follows the main window.
    qint16 windowWidth = 792;
    qint16 windowHeight = 566;
    quint8 seekUppgradering = 1;
    ColourTriple windowRGB = Settings::DefaultWindowRGB;
    // Changes for the rest of the run when the user moves a button bar.
    ColourTriple buttonRGB = Settings::DefaultButtonRGB;
    QString programTitle;
    // Decimal text of the window colour value, formed once at start-up.
    QString windowColor = QString::number(Settings::DefaultWindowRGB.value());
    bool seekIngredienser = false;
    // Mail passwords by login ("user@server") for this run only, where no
    // keyring keeps them.
    QHash<QString, QString> mailPasswords;

    PrintChoices printChoices;
    // The weekly menu's current slot, kept while the program runs.
    int matsedelSlot = 0;

    quint32 ButtonColor() const { return buttonRGB.value(); }
    QColor windowQColor() const { return colourFromValue(windowColor.toUInt()); }
    QColor buttonQColor() const { return colourFromValue(ButtonColor()); }

private:
    ProgramPaths m_paths;
    Prompts& m_prompts;
    Database m_db;
    CookbookGuard m_guard { m_db };
};
