#pragma once

#include "core/catalogue/Catalogue.h"

#include <QDialog>

#include <optional>

class RunState;
class QListWidget;
class QPushButton;

// Asks for the category of a web recipe whose own category the cookbook
// lacks; "Avbryt" skips the recipe.
class FrmValjKategori : public QDialog {
    Q_OBJECT
public:
    FrmValjKategori(const RunState& state, const QString& title, const QString& pageCategory,
        const QList<Catalogue::Category>& categories, QWidget* parent = nullptr);

    // The chosen category's number, nothing when cancelled.
    static std::optional<qint32> ask(const RunState& state, const QString& title, const QString& pageCategory,
        const QList<Catalogue::Category>& categories, QWidget* parent);

private:
    QList<Catalogue::Category> m_categories;
    QListWidget* lstKategorier = nullptr;
    QPushButton* cmdOK = nullptr;
    QPushButton* cmdCancel = nullptr;
};
