#pragma once

#include <QObject>
#include <QString>

#include <array>
#include <functional>

class AppContext;
class FrmMain;
class SecondaryWindows;

// The main window's command buttons, by their index in the button arrays
// (the index is part of each button's name, cmdButton_<index>).
enum class Cmd : int {
    NyttRecept = 0,
    Radera = 1,
    Kategorier = 2,
    Uppdatera = 3,
    SkrivUt = 4,
    Sok = 5,
    ERecept = 6,
    SkapaWeb = 7,
    Verktyg = 8,
    Spara = 9,
    Avbryt = 10,
    SparaIng = 11,
    LaggTillIng = 12,
    OppnaKyl = 13,
    SparaKyl = 14,
    AterstallKyl = 15,
    Halsoguide = 16,
    Matsedel = 17,
    Installningar = 18,
    LaggTill = 19,
    Anpassa = 20,
    Bild = 21,
};
constexpr int CmdCount = 22;

enum class Krox : int { Om = 0, Hjalp = 1, Avsluta = 2 };
constexpr int KroxCount = 3;

constexpr int index(Cmd c)
{
    return int(c);
}

constexpr int index(Krox k)
{
    return int(k);
}

// Shown while browsing; the rest never are, except Spara and Avbryt while a
// new recipe is entered.
constexpr bool isBrowsingButton(Cmd c)
{
    switch (c) {
    case Cmd::Radera:
    case Cmd::SkapaWeb:
    case Cmd::Verktyg:
    case Cmd::Spara:
    case Cmd::Avbryt:
    case Cmd::LaggTillIng:
    case Cmd::Halsoguide:
    case Cmd::Installningar:
        return false;
    default:
        return true;
    }
}

// What the main window's command buttons do: the main window's own
// operations, and the secondary windows they open (one of a kind at a time,
// brought to the front when open already).
class MainCommands : public QObject {
    Q_OBJECT
public:
    MainCommands(AppContext& ctx, FrmMain& main, SecondaryWindows& windows);

    static QString caption(Cmd c);
    static QString caption(Krox k);
    void run(Cmd c);
    void run(Krox k);
    // The wastebasket window, one at a time.
    void openPapperskorg();

private:
    // Raises the named secondary window when it is open.
    bool bringToFront(const QString& name);
    // The marked recipes' commands tell the user when none is marked.
    bool anyMarked();
    void openKategorier();
    void openUppdatera();
    void openPrint();
    void SendERecept();
    void openGuide();
    void openMatsedel();
    void openAnpassa();
    void openPictureWindow();
    void openAbout();
    void openHelp();

    AppContext& m_ctx;
    FrmMain& m_main;
    SecondaryWindows& m_windows;
    // Indexed by the button's index; empty for the buttons that do nothing.
    std::array<std::function<void()>, CmdCount> m_actions;
    // A category was added or renamed in this run.
    bool m_kategorierChanged = false;
};
