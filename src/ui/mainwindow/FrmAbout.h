#pragma once

#include "ui/app/RunState.h"

#include <QWidget>

class QPushButton;

// The about window: the program's picture, title and a greeting.
class FrmAbout : public QWidget {
    Q_OBJECT
public:
    explicit FrmAbout(const RunState& state, QWidget* parent = nullptr);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QPushButton* m_cmdOK = nullptr;
};
