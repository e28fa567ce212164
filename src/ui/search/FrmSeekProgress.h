#pragma once

#include <QWidget>

class RunState;
class QLabel;
class QPushButton;

// The small window shown while an ingredient search runs: a bar that fills as
// recipes are tested and a button that stops the search.
class FrmSeekProgress : public QWidget {
    Q_OBJECT
public:
    static constexpr int BarWidth = 241;

    explicit FrmSeekProgress(const RunState& state, QWidget* parent = nullptr);

    // Widens the bar to done/total of its full width.
    void setProgress(int done, int total);
    int barWidth() const;
    // True once "Avbryt" was pressed or the window was closed.
    bool cancelRequested() const { return m_cancel; }

signals:
    void cancelled();

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void requestCancel();

    QLabel* lblSeekProgress = nullptr;
    QWidget* fraProgress = nullptr;
    QWidget* shpProgress = nullptr;
    QPushButton* cmdCancel = nullptr;
    bool m_cancel = false;
};
