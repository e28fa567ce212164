#pragma once

#include "core/catalogue/Catalogue.h"
#include "core/job/BackgroundJob.h"
#include "core/search/KeptText.h"
#include "core/search/SeekEngine.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <memory>

class Database;
class Prompts;
class RunState;
struct ProgramPaths;
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
    enum Mode { AnyIngredientMode = 0, CookableMode = 1, FreeTextMode = 2, MissingOneMode = 3 };

    // The buttons of the main window that the panel makes the default in turn.
    struct Buttons {
        QPushButton* seek = nullptr;
        QPushButton* add = nullptr;
        QPushButton* edit = nullptr;
    };

    SearchPanel(Database& db, Prompts& prompts, const ProgramPaths& paths, const RunState& state,
        QWidget* host, SecondaryWindows& windows, Buttons buttons);
    ~SearchPanel() override;

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
    // From the start of an ingredient search until its searchDone().
    bool isSeeking() const { return m_progress != nullptr; }
    // Starts the chosen mode's search; false when there is nothing to search
    // for or a search runs. A free-text search is done at once; an ingredient
    // search reads the texts it lacks a slice per turn of the event loop,
    // tests them on a worker thread, and shows the progress window and keeps
    // the host disabled meanwhile. Either ends in searchDone(). `order` is
    // used until then.
    bool search(Catalogue::TitleOrder& order);
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
    // The hits of the search started last, or why it failed.
    void searchDone(const DbResult<SeekEngine::Result>& result);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void modeChanged(int mode);
    void entryChosen(int row);
    void makeDefault(QPushButton* button);
    QPushButton* currentDefault() const;
    void showProgress();
    bool searchAtOnce(int chosen, Catalogue::TitleOrder& order);
    void readSlice();
    void startTests(bool readingStopped);
    void testsDone();
    void finishSearch(const DbResult<SeekEngine::Result>& result);

    Database& m_db;
    Prompts& m_prompts;
    const ProgramPaths& m_paths;
    const RunState& m_state;
    QWidget* m_host;
    SecondaryWindows& m_windows;
    Buttons m_buttons;
    SeekEngine::KeptText m_kept;
    QTimer m_keeping;

    // The running ingredient search.
    QTimer m_reading;
    std::unique_ptr<FrmSeekProgress> m_progress;
    Catalogue::TitleOrder* m_order = nullptr;
    int m_mode = AnyIngredientMode;
    QStringList m_entries;
    int m_total = 0;
    bool m_stopAsked = false;
    QPointer<QWidget> m_hadFocus;
    QPushButton* m_hadDefault = nullptr;
    // Written by the worker, read after the job has finished.
    SeekEngine::Tested m_tested;
    // After m_kept: destroyed before it, it waits for a worker still reading it.
    BackgroundJob m_job;

    QLabel* lblSeek = nullptr;
    QComboBox* cmbSeek = nullptr;
    QLineEdit* txtAddSeek = nullptr;
    QListWidget* lstSeek = nullptr;
    QLabel* lblKylskap = nullptr;
    QLineEdit* txtEditIng = nullptr;
    QLineEdit* txtSeek = nullptr;
    QLineEdit* txtAddIng = nullptr;
};
