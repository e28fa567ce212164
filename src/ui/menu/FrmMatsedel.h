#pragma once

#include "core/app/ProgramPaths.h"
#include "core/db/Database.h"
#include "ui/app/Controls.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include <QVector>
#include <QWidget>

#include <functional>

class PageView;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The weekly menu: recipe titles placed into 21 meals, stored by name,
// printed, and turned into a shopping list.
class FrmMatsedel : public QWidget {
    Q_OBJECT
public:
    // fridge gives the main window's list of ingredients at hand; openWindow
    // shows a window the way the main window shows its own.
    FrmMatsedel(Database& db, Prompts& prompts, const ProgramPaths& paths, RunState& state,
        std::function<QStringList()> fridge, std::function<void(QWidget*)> openWindow,
        QWidget* parent = nullptr);

    QSize sizeHint() const override { return { 860, 600 }; }
    int currentSlot() const { return m_state.matsedelSlot(); }
    QStringList titles() const;

    void ListaMatsedlar();
    void PrintMatsedel();
    void Inkopslista();
    // A recipe was renamed: the meals and the recipe list show the new title.
    void followTitle(const QString& oldTitle, const QString& newTitle);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The buttons by their index in cmdButton (cmdButton_<index>).
    enum class Cmd : int {
        LaggTill = 0,
        TaBortRatt = 1,
        Aterstall = 2,
        SkrivUt = 3,
        Spara = 4,
        TaBortMatsedel = 5,
    };
    static constexpr int CmdCount = 6;

    void buildControls();
    void buildButtons();
    QGridLayout* buildWeek();
    QHBoxLayout* buildBottom();
    QPushButton* button(Cmd c) const { return cmdButton[int(c)]; }
    void cmdButton_Click(Cmd c);
    void fillKategorier();
    void kategoriChosen(int row);
    void matsedelChosen(int row);
    void placeSelected();
    void setCurrentSlot(int slot);
    void setTitles(const QStringList& titles);
    void setTitle(int slot, const QString& title);
    void save();
    void removePlan();
    void pageLoaded(bool ok);
    void showDbError(const QString& what, const DbError& error);
    void warn(const QString& text);
    void setDefaultButton(QPushButton* button);

    Database& m_db;
    Prompts& m_prompts;
    const ProgramPaths& m_paths;
    RunState& m_state;
    std::function<QStringList()> m_fridge;
    std::function<void(QWidget*)> m_openWindow;
    bool m_printPending = false;

    QLabel* Label1[7] = {};
    QLabel* lblWhat[21] = {};
    QLabel* lblTitel[21] = {};
    QComboBox* cmbKategorier = nullptr;
    QListWidget* lstRecept = nullptr;
    QComboBox* cmbMatsedel = nullptr;
    QLineEdit* txtMatsedel = nullptr;
    QPushButton* cmdButton[CmdCount] = {};
    QPushButton* cmdInkopslista = nullptr;
    PageView* webMatsedel = nullptr;
    Controls::DefaultButton m_default;

    QVector<qint32> m_kategoriIds;
    QVector<qint32> m_receptIds;
    QVector<qint32> m_matsedelIds;
};
