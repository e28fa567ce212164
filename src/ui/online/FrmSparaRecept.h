#pragma once

#include <QWidget>

class RunState;
class QLabel;
class QPushButton;

// Shown while recipes are downloaded and stored; "Avbryt" stops after the
// current code.
class FrmSparaRecept : public QWidget {
    Q_OBJECT
public:
    explicit FrmSparaRecept(const RunState& state, QWidget* parent = nullptr);

signals:
    void cancelRequested();

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void cancel();

    QLabel* Label1 = nullptr;
    QPushButton* cmdCancel = nullptr;
};
