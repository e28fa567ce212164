#pragma once

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/Records.h"
#include "ui/app/AppContext.h"
#include "ui/mainwindow/MainCommands.h"
#include "ui/mainwindow/SecondaryWindows.h"

#include <QVector>
#include <QWidget>

#include <functional>

class ClickAfterQuestion;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class RecipeListModel;
class SearchPanel;

// The main window: recipe browser and editor in one. It shows and forwards;
// the cookbook's rules live in the core libraries.
class FrmMain : public QWidget {
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
    void showNewestRecipes();
    // Recipe records.
    void AskSaveRecept();
    void BeginNyttRecept();
    void SaveNyttRecept();
    void EndNyttRecept();
    void ClearRecept();
    void DeleteRecept();
    void RunSeek();

    // Editing state, readable by tests and by the windows this one opens.
    qint32 currentRid() const { return m_currentRid; }
    bool receptChanged() const { return m_receptChanged; }
    bool nyttReceptMode() const { return m_nyttReceptMode; }
    int kategoriPos() const { return m_kategoriPos; }
    int deletedCount() const { return m_deletedCount; }
    const QString& activeWindowName() const { return m_windows.activeName(); }

    // Numbers beside the lists, position for position.
    const QVector<qint32>& kategoriIds() const { return m_kategoriIds; }
    const QVector<qint32>& nyKategoriIds() const { return m_nyKategoriIds; }
    const QVector<qint32>& receptIds() const;
    // The recipe at the list's current position, 0 when none.
    qint32 currentListRid() const;
    // The marked recipes, in list order.
    QVector<qint32> markedRids() const;
    int markedCount() const;

    QPushButton* button(Cmd c) const { return cmdButton[index(c)]; }
    SearchPanel& searchPanel() const { return *m_search; }
    // Shows a secondary window and keeps it in front while it is open.
    void openSecondary(QWidget* w);

signals:
    void exited();

protected:
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    // Places every control for the window's size and mode.
    void applyLayout();
    void onButton(Cmd c);
    void onKrox(Krox k);
    // False when an edit the user chose to store could not be: the command waits.
    bool askBeforeCommand();
    void kategoriChosen(int position);
    void showRecept(int row);
    void setReceptRow(int row, bool scrollToTop);
    // Asks about an unsaved edit; false when the user wanted it stored and it
    // could not be, so what was about to happen must not.
    bool leaveEdit();
    // True when it asked about a changed category.
    bool kategoriEditLeft();
    void deleteWithKeyboard();
    void showDbError(const QString& what, const DbError& error);
    // The windows behind the commands (FrmMainWindows.cpp).
    // Raises the named secondary window when it is open.
    bool bringToFront(const QString& name);
    void openKategorier();
    void openUppdatera();
    void openPrint();
    void SendERecept();
    void openGuide();
    void openMatsedel();
    void openAnpassa();
    void openPictureWindow();
    void openAbout();
    void openHelp();
    void updatePictureButton();
    void setCurrentRid(qint32 rid);
    void setFieldsBlocked(bool blocked);
    Records::Fields shownFields() const;
    bool isField(QObject* o) const;

    AppContext& m_ctx;
    bool m_exited = false;
    bool m_asking = false;

    // Editing state.
    qint32 m_currentRid = 0;
    bool m_receptChanged = false;
    bool m_nyttReceptMode = false;
    int m_kategoriPos = 0;
    int m_receptPos = 0;
    int m_deletedCount = 0;
    qint32 m_shownKategoriId = 0;
    bool m_kategoriEditing = false;
    // A category was added or renamed in this run.
    bool m_kategorierChanged = false;

    QLabel* lblKategorier = nullptr;
    QComboBox* cmbKategorier = nullptr;
    QLabel* lblRecept = nullptr;
    QListView* lstRecept = nullptr;
    RecipeListModel* m_receptModel = nullptr;
    QLabel* lblTitel = nullptr;
    QLineEdit* txtTitel = nullptr;
    QLabel* lblPortioner = nullptr;
    QLineEdit* txtPortioner = nullptr;
    QLabel* lblTid = nullptr;
    QLineEdit* txtTid = nullptr;
    QLabel* lblIngredienser = nullptr;
    QPlainTextEdit* txtIngredienser = nullptr;
    QLabel* lblAnvisningar = nullptr;
    QPlainTextEdit* txtAnvisningar = nullptr;
    QLabel* lblVerktyg = nullptr;
    QLabel* lblReceptKategori = nullptr;
    QComboBox* cmbNyttRecept = nullptr;
    QPushButton* cmdButton[CmdCount] = {};
    QPushButton* cmdKrox[KroxCount] = {};
    // The controls the layout places, in its order.
    QList<QWidget*> m_placed;
    ClickAfterQuestion* m_clickAfterQuestion = nullptr;

    SecondaryWindows m_windows;
    SearchPanel* m_search = nullptr;
    // Every recipe in list order, for "Alla kategorier" and for ordering hits.
    Catalogue::TitleOrder m_titleOrder;
    QVector<qint32> m_kategoriIds;
    QVector<qint32> m_nyKategoriIds;
};
