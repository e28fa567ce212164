#pragma once

#include "app/AppContext.h"
#include "catalogue/Catalogue.h"
#include "catalogue/Records.h"

#include <QPointer>
#include <QVector>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class RecipeListModel;

// The main window: recipe browser and editor in one.
class FrmMain : public QWidget {
    Q_OBJECT
public:
    static constexpr int ButtonCount = 22;
    static constexpr int KroxCount = 3;

    explicit FrmMain(AppContext& ctx, QWidget* parent = nullptr);
    // Buttons shown while browsing (not entering a new recipe).
    static bool isBrowsingButton(int index);
    ~FrmMain() override;

    // The load handler; false when start-up must end (the user was told why).
    bool load();
    // Ends the run: save prompt, window size, database, every window. False
    // when an edit the user chose to save could not be stored; the run goes on.
    bool ExitProgram();
    bool hasExited() const { return m_exited; }

    // Lists.
    bool FillKategoriList();
    bool FillNyKategoriList();
    bool FillReceptList(int position);
    // Recipe records.
    void AskSaveRecept();
    void BeginNyttRecept();
    void SaveNyttRecept();
    void EndNyttRecept();
    void ClearRecept();
    void DeleteRecept();

    // Editing state, readable by tests and by the windows this one opens.
    qint32 CurrentRID = 0;
    bool ReceptChanged = false;
    bool NyttReceptMode = false;
    int KategoriPos = 0;
    int ReceptPos = 0;
    int DeletedCount = 0;
    bool MainLoaded = false;
    QString ActiveWindowName;

    // Numbers beside the category lists, position for position.
    const QVector<qint32>& kategoriIds() const { return m_kategoriIds; }
    const QVector<qint32>& nyKategoriIds() const { return m_nyKategoriIds; }
    const QVector<qint32>& receptIds() const;
    // The recipe at the list's current position, 0 when none.
    qint32 currentListRid() const;
    int markedCount() const;

    // Search panel (FrmMainSearch.cpp).
    void FillSeekModes();
    void RunSeek();
    void AddSeekItem();
    void EditSeekItem();
    void ClearSeekList();
    void RemoveSeekItem();
    void OpenFridge();
    void SaveFridge();

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
    void onButton(int index);
    void onKrox(int index);
    void kategoriChosen(int position);
    void showRecept(int row);
    void setReceptRow(int row, bool scrollToTop);
    void fieldsLeft();
    void kategoriEditLeft();
    void deleteWithKeyboard();
    void showDbError(const QString& what);
    void openPictureWindow();
    void openHelp();
    void restoreActiveWindowName();
    void updatePictureButton();
    void setFieldsBlocked(bool blocked);
    Records::Fields shownFields() const;
    // Search panel (FrmMainSearch.cpp).
    void connectSearchPanel();
    bool searchPanelEvent(QObject* watched, QEvent* event);
    void seekModeChanged(int mode);
    void seekEntryChosen(int row);
    void makeSeekDefault(QPushButton* button);
    QStringList seekEntries() const;

    AppContext& m_ctx;
    bool m_exited = false;
    bool m_asking = false;
    bool m_loading = false;

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
    QLabel* lblSeek = nullptr;
    QComboBox* cmbSeek = nullptr;
    QLineEdit* txtAddSeek = nullptr;
    QListWidget* lstSeek = nullptr;
    QLabel* lblKylskap = nullptr;
    QLineEdit* txtEditIng = nullptr;
    QLineEdit* txtSeek = nullptr;
    QLineEdit* txtAddIng = nullptr;
    QPushButton* cmdButton[ButtonCount] = {};
    QPushButton* cmdKrox[KroxCount] = {};

    // Every recipe in list order, for "Alla kategorier" and for ordering hits.
    Catalogue::TitleOrder m_titleOrder;
    QVector<qint32> m_kategoriIds;
    QVector<qint32> m_nyKategoriIds;
    qint32 m_shownKategoriId = 0;
    bool m_kategoriEditing = false;
    QList<QPointer<QWidget>> m_secondaries;
    // Search panel state (FrmMainSearch.cpp).
    bool m_seekCancelled = false;
    bool m_seeking = false;
};
