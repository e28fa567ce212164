#pragma once

#include "core/app/ProgramPaths.h"
#include "ui/app/Controls.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include <QSize>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

// The picture window: shows, replaces or removes the picture of the recipe
// at the main list's current position.
class FrmReceptBild : public QWidget {
    Q_OBJECT
public:
    // The largest preview, in pixels.
    static constexpr int PreviewMaxWidth = 417;
    static constexpr int PreviewMaxHeight = 249;

    // currentRid is asked afresh at each step: the main list may move while
    // the window is open.
    FrmReceptBild(Prompts& prompts, const ProgramPaths& paths, const RunState& state,
        std::function<qint32()> currentRid, QWidget* parent = nullptr);

    QSize previewSize() const;

signals:
    void closed();
    void pictureChanged(qint32 rid);

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The buttons by their index in cmdButton (cmdButton_<index>).
    enum class Cmd : int { Oppna = 0, Avbryt = 1, Ok = 2, TaBort = 3 };
    static constexpr int CmdCount = 4;

    void buildControls();
    QPushButton* button(Cmd c) const { return cmdButton[int(c)]; }
    void cmdButton_Click(Cmd c);
    void open();
    void ok();
    void remove();
    // Empty when shown; else what to tell the user, and the preview is unchanged.
    QString showPicture(const QString& path);
    // `own`: the picture's own size, which `image` may be scaled down from.
    void setPreview(const QImage& image, QSize own);
    void setDefaultButton(QPushButton* button);

    Prompts& m_prompts;
    const ProgramPaths& m_paths;
    const RunState& m_state;
    std::function<qint32()> m_currentRid;
    QPushButton* cmdButton[CmdCount] = {};
    Controls::DefaultButton m_default;
    QLabel* m_lblFilename = nullptr;
    QLineEdit* m_txtFilename = nullptr;
    QLabel* m_picPreview = nullptr;
    // Once a picture had to be squeezed, every later one fills the preview as
    // it then is.
    bool m_stretch = false;
};
