#pragma once

#include <QWidget>

class AppContext;
class QLabel;
class QProgressBar;
class QPushButton;

// The window shown while files of many recipes are read: which file, a bar,
// and "Avbryt", which stops the reading so that nothing of that file is stored.
class FrmImportera : public QWidget {
    Q_OBJECT
public:
    explicit FrmImportera(AppContext& ctx, QWidget* parent = nullptr);

    // The file now read, as number `number` of `count`.
    void showFile(const QString& name, int number, int count);
    // Storing runs on the program's own thread, which paints nothing until
    // it is done: the window says so at once.
    void showStoring(const QString& name, int count);
    // How far the reading of the file has come, in thousandths.
    void setProgress(int done, int total);
    // True once "Avbryt" was pressed or the window was closed.
    bool cancelRequested() const { return m_cancel; }

signals:
    void cancelled();

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void requestCancel();

    QLabel* lblImportera = nullptr;
    QProgressBar* prgImportera = nullptr;
    QPushButton* cmdAvbryt = nullptr;
    bool m_cancel = false;
};
