#pragma once

#include "core/catalogue/Wastebasket.h"
#include "ui/app/AppContext.h"

#include <QList>
#include <QWidget>

class QPushButton;
class QTreeWidget;

// The wastebasket window: lists the deleted recipes (title, category, when),
// puts the chosen ones back and empties it after asking.
class FrmPapperskorg : public QWidget {
    Q_OBJECT
public:
    explicit FrmPapperskorg(AppContext& ctx, QWidget* parent = nullptr);

    // Reads the list again; false (and the list as it was) on failure.
    bool fillList();
    // The entries beside the list, row for row.
    const QList<Wastebasket::Entry>& entries() const { return m_entries; }

signals:
    // Recipes came back; `rid` is the first of them.
    void restored(qint32 rid);
    void emptied();

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void buildControls();
    void cmdAterstall_Click();
    void cmdTom_Click();
    void updateButtons();
    void showDbError(const QString& what, const DbError& error);

    AppContext& m_ctx;
    QList<Wastebasket::Entry> m_entries;
    QTreeWidget* lstPapperskorg = nullptr;
    QPushButton* cmdAterstall = nullptr;
    QPushButton* cmdTom = nullptr;
    QPushButton* cmdStang = nullptr;
};
