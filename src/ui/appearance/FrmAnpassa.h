#pragma once

#include "ui/app/AppContext.h"

#include <QWidget>

class QFrame;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

// The colour window: window and button colours by red, green and blue, with
// previews. The bars change the run's colours at once; "OK" stores them.
class FrmAnpassa : public QWidget {
    Q_OBJECT
public:
    explicit FrmAnpassa(AppContext& ctx, QWidget* parent = nullptr);

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
    };
    void buildRows(Rows& rows, ColourTriple& rgb, const QString& which);
    void barChanged(Rows& rows, ColourTriple& rgb, int k);
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

    AppContext& m_ctx;
    // Clear while the window loads: the bars then only show the colours.
    bool m_ready = false;
    Rows m_window;
    Rows m_button;
    QPushButton* cmdButton[CmdCount] = {};
};
