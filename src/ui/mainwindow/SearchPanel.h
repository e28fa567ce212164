#pragma once

#include "core/catalogue/Catalogue.h"
#include "core/search/KeptText.h"
#include "core/search/SeekEngine.h"

#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <optional>

class AppContext;
class FrmSeekProgress;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;
class SecondaryWindows;

// The main window's search panel: the search modes, the list of ingredients
// (the fridge) with its files, and running a search. Its controls are children
// of the main window at their designed places.
class SearchPanel : public QObject {
    Q_OBJECT
public:
    enum Mode { AnyIngredientMode = 0, CookableMode = 1, FreeTextMode = 2 };

    // The buttons of the main window that the panel makes the default in turn.
    struct Buttons {
        QPushButton* seek = nullptr;
        QPushButton* add = nullptr;
        QPushButton* edit = nullptr;
    };

    SearchPanel(AppContext& ctx, QWidget* host, SecondaryWindows& windows, Buttons buttons);

    void FillSeekModes();
    void AddSeekItem();
    void EditSeekItem();
    void ClearSeekList();
    void RemoveSeekItem();
    void OpenFridge();
    // Replaces the list by the file's entries; tells the user when it cannot.
    bool loadFridge(const QString& file);
    void SaveFridge();

    QStringList entries() const;
    int mode() const;
    bool isSeeking() const { return m_seeking; }
    // Runs the chosen mode's search; ingredient searches show the progress
    // window and keep the host disabled meanwhile. Nothing when there is
    // nothing to search for.
    std::optional<DbResult<SeekEngine::Result>> search(Catalogue::TitleOrder& order);
    // Reads the cookbook's texts for the searches a little at a time while
    // the program waits for the user, so the first search need not.
    void keepTextMeanwhile();
    const SeekEngine::KeptText& keptText() const { return m_kept; }

    // Controls that new-recipe mode hides and brings back.
    QList<QWidget*> browsingControls() const;
    // Shows the controls again after new-recipe mode.
    void showBrowsingControls();

signals:
    // Enter in the free-text box.
    void seekRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void modeChanged(int mode);
    void entryChosen(int row);
    void makeDefault(QPushButton* button);
    QPushButton* currentDefault() const;
    std::unique_ptr<FrmSeekProgress> showProgress();

    AppContext& m_ctx;
    QWidget* m_host;
    SecondaryWindows& m_windows;
    Buttons m_buttons;
    SeekEngine::KeptText m_kept;
    QTimer m_keeping;
    bool m_seeking = false;
    bool m_cancelled = false;

    QLabel* lblSeek = nullptr;
    QComboBox* cmbSeek = nullptr;
    QLineEdit* txtAddSeek = nullptr;
    QListWidget* lstSeek = nullptr;
    QLabel* lblKylskap = nullptr;
    QLineEdit* txtEditIng = nullptr;
    QLineEdit* txtSeek = nullptr;
    QLineEdit* txtAddIng = nullptr;
};
