#pragma once

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/RecipeEdit.h"
#include "core/search/SeekEngine.h"
#include "ui/app/AppContext.h"
#include "ui/mainwindow/MainCommands.h"
#include "ui/mainwindow/SecondaryWindows.h"

#include <QVector>
#include <QWidget>

#include <functional>

class ClickAfterQuestion;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class RecipeFileTransfer;
class RecipeListModel;
class SearchPanel;

// The main window: recipe browser and editor in one. It shows and forwards;
// the editing rules live in its RecipeEdit, the cookbook's in the core libraries.
class FrmMain : public QWidget, private RecipeEdit::Window {
    Q_OBJECT
public:
    explicit FrmMain(AppContext& ctx, QWidget* parent = nullptr);
    ~FrmMain() override;

    // The load handler; false when start-up must end (the user was told why).
    bool load();
    // Ends the run: save prompt, window size, database, every window. False
    // when an edit the user chose to save could not be stored, or when
    // lastStep, run once the user may leave, fails; the run goes on.
    bool ExitProgram(const std::function<bool()>& lastStep = {});
    bool hasExited() const { return m_exited; }

    // Lists.
    bool FillKategoriList();
    bool FillNyKategoriList();
    bool FillReceptList(int position);
    // After an import: the filter on "10 senaste recepten", counts renewed.
    void showNewestRecipes() { m_edit.recipesImported(); }
    // After the category window closed having changed categories.
    void categoriesChanged();
    void pictureChanged(qint32 rid);
    // Recipe records.
    void BeginNyttRecept();
    void SaveNyttRecept() { m_edit.SaveNyttRecept(); }
    void EndNyttRecept() { m_edit.EndNyttRecept(); }
    // "Avbryt": asks before throwing typed text away.
    void cancelNyttRecept() { m_edit.cancelNyttRecept(); }
    void DeleteRecept() { m_edit.DeleteRecept(markedRids()); }
    // "Ångra radering" (also Ctrl+Z): the newest deleted recipes come back.
    void undoDelete();
    // Recipes came back from the wastebasket window; `rid` is shown.
    void recipesRestored(qint32 rid);
    // The wastebasket was changed: "Ångra radering" and its window follow.
    void wastebasketChanged();
    void RunSeek();

    // The editing state, readable by tests and by the windows this one opens.
    qint32 currentRid() const { return m_edit.currentRid(); }
    bool receptChanged() const { return m_edit.receptChanged(); }
    bool nyttReceptMode() const { return m_edit.nyttReceptMode(); }
    int kategoriPos() const { return m_edit.kategoriPos(); }
    const QString& activeWindowName() const { return m_windows.activeName(); }

    // Recipe numbers beside the list, position for position.
    const QVector<qint32>& receptIds() const;
    // The recipe at the list's current position, 0 when none.
    qint32 currentListRid() const;
    // The marked recipes, in list order.
    QVector<qint32> markedRids() const;
    int markedCount() const;

    QPushButton* button(Cmd c) const { return cmdButton[index(c)]; }
    SearchPanel& searchPanel() const { return *m_search; }
    RecipeFileTransfer& recipeFiles() const { return *m_transfer; }
    // Shows a secondary window and keeps it in front while it is open.
    void openSecondary(QWidget* w) { m_windows.open(w); }

signals:
    void exited();
    // A recipe was renamed and the saved weeks followed: open weeks follow too.
    void recipeRenamed(const QString& oldTitle, const QString& newTitle);

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What the editing session asks of the window (FrmMainRecipes.cpp).
    RecipeEdit::Reply ask(const QString& title, const QString& text, RecipeEdit::Offer offer) override;
    void tell(const QString& text, RecipeEdit::Icon icon, const QString& title) override;
    Records::Fields fields() const override;
    std::optional<qint32> chosenCategory() const override;
    void showFields(const Records::Fields& f, std::optional<qint32> kid) override;
    void shownChanged() override;
    void modeChanged() override;
    void refillLists(qint32 keep) override;
    void refreshLater() override;
    void refillFilters() override;
    void refillList(qint32 keep) override;
    void retitle(qint32 rid, const QString& oldTitle, const QString& newTitle) override;
    void titleFollowed(const QString& oldTitle, const QString& newTitle) override
    {
        emit recipeRenamed(oldTitle, newTitle);
    }
    // The queued refresh: waits for a held mouse button and a running search.
    void refreshNow();
    // Fills the filter's entries, keeping its category; the list stays.
    bool fillFilter();
    // Shows and selects recipe `keep`, under "Alla kategorier" when the filter hides it.
    void keepShown(qint32 keep);

    // Fills the recipe list with a finished search's hits.
    void showSeekResult(const DbResult<SeekEngine::Result>& result);
    void buildControls();
    void buildButtons();
    void connectControls();
    // Places every control for the window's size and mode.
    void applyLayout();
    void kategoriChosen(int position);
    void showRecept(int row);
    void setReceptRow(int row, bool scrollToTop);
    void deleteWithKeyboard();
    void focusLeft(QWidget* left, bool byMouse);
    void showDbError(const QString& what, const DbError& error);
    void updatePictureButton();
    bool isField(QObject* o) const;
    // The recipe list's wastebasket entries and Ctrl+Z (FrmMainWastebasket.cpp).
    void addWastebasketEntries();
    void purgeWastebasket();
    bool undoGoesToWindow(QObject* watched, QEvent* event) const;

    AppContext& m_ctx;
    RecipeEdit m_edit;
    bool m_exited = false;
    bool m_refreshQueued = false;

    QLabel* lblKategorier = nullptr;
    QComboBox* cmbKategorier = nullptr;
    QLabel* lblRecept = nullptr;
    QListView* lstRecept = nullptr;
    RecipeListModel* m_receptModel = nullptr;
    QLineEdit* txtTitel = nullptr;
    QLineEdit* txtPortioner = nullptr;
    QLineEdit* txtTid = nullptr;
    QPlainTextEdit* txtIngredienser = nullptr;
    QPlainTextEdit* txtAnvisningar = nullptr;
    QLabel* lblVerktyg = nullptr;
    QLabel* lblReceptKategori = nullptr;
    QComboBox* cmbNyttRecept = nullptr;
    QPushButton* cmdButton[CmdCount] = {};
    QPushButton* cmdKrox[KroxCount] = {};
    // The controls the layout places, in its order.
    QList<QWidget*> m_placed;
    ClickAfterQuestion* m_clickAfterQuestion = nullptr;
    QAction* m_angraRadering = nullptr;

    SecondaryWindows m_windows;
    SearchPanel* m_search = nullptr;
    RecipeFileTransfer* m_transfer = nullptr;
    MainCommands* m_commands = nullptr;
    // Every recipe in list order, for "Alla kategorier" and for ordering hits.
    Catalogue::TitleOrder m_titleOrder;
    QVector<qint32> m_kategoriIds;
    QVector<qint32> m_nyKategoriIds;
};
