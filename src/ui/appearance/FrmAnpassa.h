#pragma once

#include "core/settings/Settings.h"

#include <QWidget>

class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class Database;
class Prompts;
class RunState;

// The colour window: window and button colours by red, green and blue, with
// previews. The bars change the run's colours at once; "OK" stores them.
class FrmAnpassa : public QWidget {
    Q_OBJECT
public:
    FrmAnpassa(Database& db, Prompts& prompts, RunState& state, QWidget* parent = nullptr);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    // One colour's three bars, boxes and preview.
    struct Rows {
        QLabel* label[3] = {};
        QScrollBar* bar[3] = {};
        QLineEdit* box[3] = {};
        QFrame* preview = nullptr;
        // The window colour's rows, else the button colour's.
        bool window = false;
    };
    void buildRows(Rows& rows, const QString& which);
    void barChanged(Rows& rows, int k);
    void boxChanged(Rows& rows, int k);
    static void setBars(Rows& rows, ColourTriple rgb);
    static void fill(QFrame* preview, const ColourTriple& rgb);
    // The buttons by their index in cmdButton (cmdButton_<index>).
    enum class Cmd : int { Ok = 0, Avbryt = 1, Aterstall = 2 };
    static constexpr int CmdCount = 3;

    QGridLayout* buildGrid();
    QHBoxLayout* buildButtons();
    QPushButton* button(Cmd c) const { return cmdButton[int(c)]; }
    void cmdButton_Click(Cmd c);

    Database& m_db;
    Prompts& m_prompts;
    RunState& m_state;
    // Clear while the window loads: the bars then only show the colours.
    bool m_ready = false;
    Rows m_window;
    Rows m_button;
    QPushButton* cmdButton[CmdCount] = {};
};
