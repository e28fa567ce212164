#pragma once

#include "core/settings/Settings.h"

#include <QColor>
#include <QHash>
#include <QObject>
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

// What the run keeps beside the cookbook: read from the settings at start-up,
// changed by the windows, gone at exit (only the window size is stored then).
class RunState : public QObject {
    Q_OBJECT
public:
    explicit RunState(QObject* parent = nullptr);

    // Takes the settings as read at start-up.
    void applySettings(const Settings::Stored& s);

    // Follows the main window.
    qint16 windowWidth() const { return m_windowWidth; }
    qint16 windowHeight() const { return m_windowHeight; }
    void setWindowSize(qint16 width, qint16 height);

    quint8 seekUppgradering() const { return m_seekUppgradering; }
    void setSeekUppgradering(quint8 on);
    bool seekIngredienser() const { return m_seekIngredienser; }
    void setSeekIngredienser(bool on);

    // The window colour windows take: fixed at start-up, since the colour
    // window tells the user that a new window colour needs a restart.
    quint32 windowColour() const { return m_windowColour; }
    void setWindowColour(quint32 value);
    // The colours as the colour window's bars stand; "OK" stores these. The
    // button colour takes effect in the windows opened afterwards.
    ColourTriple windowRGB() const { return m_windowRGB; }
    void setWindowRGB(ColourTriple rgb);
    ColourTriple buttonRGB() const { return m_buttonRGB; }
    void setButtonRGB(ColourTriple rgb);
    quint32 buttonColour() const { return m_buttonRGB.value(); }
    QColor windowQColor() const { return colourFromValue(m_windowColour); }
    QColor buttonQColor() const { return colourFromValue(buttonColour()); }

    const QString& programTitle() const { return m_programTitle; }
    void setProgramTitle(const QString& title);

    // Mail passwords by login ("user@server") for this run only, where no
    // keyring keeps them.
    std::optional<QString> mailPassword(const QString& account) const;
    void setMailPassword(const QString& account, const QString& password);
    void forgetMailPassword(const QString& account);

    const PrintChoices& printChoices() const { return m_printChoices; }
    void setPrintChoices(const PrintChoices& choices);

    // The weekly menu's current slot, kept while the program runs.
    int matsedelSlot() const { return m_matsedelSlot; }
    void setMatsedelSlot(int slot);

signals:
    // After any value above changed.
    void changed();

private:
    template <typename T> void set(T& field, const T& value);

    qint16 m_windowWidth = 792;
    qint16 m_windowHeight = 566;
    quint8 m_seekUppgradering = 1;
    bool m_seekIngredienser = false;
    quint32 m_windowColour = Settings::DefaultWindowRGB.value();
    ColourTriple m_windowRGB = Settings::DefaultWindowRGB;
    ColourTriple m_buttonRGB = Settings::DefaultButtonRGB;
    QString m_programTitle;
    QHash<QString, QString> m_mailPasswords;
    PrintChoices m_printChoices;
    int m_matsedelSlot = 0;
};
