#pragma once

#include "core/db/Database.h"
#include "ui/app/Controls.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include <QVector>
#include <QWidget>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The category window: lists every category, adds one with a typed name and
// renames the selected one. Categories are never deleted.
class FrmKategorier : public QWidget {
    Q_OBJECT
public:
    explicit FrmKategorier(Database& db, Prompts& prompts, const RunState& state, QWidget* parent = nullptr);

    // Refills the list and its numbers; false (and the list as it was) when
    // the categories could not be read.
    bool frmListaKategorier();
    // Category numbers beside the list, row for row.
    const QVector<qint32>& ids() const { return m_ids; }

signals:
    // A category was added or renamed, or found gone: the main window's
    // category lists are out of date.
    void categoriesChanged();
    void closed();

protected:
    void closeEvent(QCloseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void buildControls();
    void cmdNy_Click();
    void cmdChange_Click();
    void rowChosen();
    void setDefaultButton(QPushButton* button);
    void showDbError(const QString& what, const DbError& error);

    Database& m_db;
    Prompts& m_prompts;
    const RunState& m_state;
    QVector<qint32> m_ids;
    QLabel* lblKategorier = nullptr;
    QListWidget* lstKategorier = nullptr;
    QLabel* lblNyKategori = nullptr;
    QLineEdit* txtNyKategori = nullptr;
    QPushButton* cmdNy = nullptr;
    QLabel* lblChangeName = nullptr;
    QLineEdit* txtChangeName = nullptr;
    QPushButton* cmdChange = nullptr;
    QPushButton* cmdClose = nullptr;
    Controls::DefaultButton m_default;
};
