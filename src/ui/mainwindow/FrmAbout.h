#pragma once

#include "ui/app/AppContext.h"

#include <QWidget>

class QPushButton;

// The about window: the program's picture, title and a greeting.
class FrmAbout : public QWidget {
    Q_OBJECT
public:
    explicit FrmAbout(AppContext& ctx, QWidget* parent = nullptr);

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    QPushButton* m_cmdOK = nullptr;
};
