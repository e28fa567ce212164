#pragma once

#include "core/db/Database.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include <QVector>
#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The nutrition guide: five tabs, of which the food tab looks up recipes and
// ingredient names as the user types and lists a recipe's ingredient lines.
// It computes nothing and writes nothing.
class FrmGuide : public QWidget {
    Q_OBJECT
public:
    // The tabs by their index in cmdGuide and picMode (cmdGuide_<index>);
    // only the food tab does anything.
    enum class Tab : int { Mat = 0, Motion = 1, Matinfo = 2, Uppgifter = 3, Kalender = 4 };
    static constexpr int TabCount = 5;

    explicit FrmGuide(Database& db, Prompts& prompts, const RunState& state, QWidget* parent = nullptr);

    void SelectGuideMode(Tab tab);
    // Adds the recipe's ingredient lines at the top of the list.
    void ShowRecipeIngredients(qint32 rid, const QString& title);

signals:
    // The main window steps aside while the guide is in use and comes back
    // when it closes.
    void activated();
    void closed();

protected:
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void hideEvent(QHideEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildFoodTab(QWidget* panel);
    void lookUpRecipes(const QString& text);
    void lookUpIngredients(const QString& text);
    void showFound(const QStringList& entries);
    bool moveSelection(int key);
    void addChosenRecipe();
    void showDbError(const QString& what, const DbError& error);

    Database& m_db;
    Prompts& m_prompts;
    const RunState& m_state;
    QPushButton* cmdGuide[TabCount] = {};
    QWidget* picMode[TabCount] = {};
    QLabel* lblInfo = nullptr;
    QLabel* lblRecept = nullptr;
    QLineEdit* txtRecept = nullptr;
    QPushButton* cmdAddRecept = nullptr;
    QLabel* lblIngrediens = nullptr;
    QLineEdit* txtIngrediens = nullptr;
    QPushButton* cmdAddIngrediens = nullptr;
    QListWidget* lstFood = nullptr;
    QLabel* lblIngredienser = nullptr;
    QListWidget* lstIngredienser = nullptr;
    QLabel* lblTitel = nullptr;
    QLineEdit* txtNamn = nullptr;
    QLabel* lblEnhet = nullptr;
    QComboBox* cmbEnhet = nullptr;
    QLabel* lblAntal = nullptr;
    QLineEdit* txtAntal = nullptr;
    QPushButton* cmdClose = nullptr;
    // The recipe of each row of lstFood while it lists recipes; empty while
    // it lists ingredient names.
    QVector<qint32> m_foodIds;
    bool m_closing = false;
};
