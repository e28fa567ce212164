#pragma once

#include "app/Database.h"

#include <QVector>

#include <optional>

// Changing recipes: storing edits, adding and deleting.
namespace Records {

// The five fields as the window holds them (\n line ends).
struct Fields {
    QString titel;
    QString antalPersoner;
    QString tid;
    QString ingredienser;
    QString anvisningar;

    bool isEmpty() const
    {
        return titel.isEmpty() && antalPersoner.isEmpty() && tid.isEmpty() && ingredienser.isEmpty()
            && anvisningar.isEmpty();
    }
};

enum class SaveResult { Saved, NotFound, Failed };

// Stores the fields into recipe `rid`. When the typed title is borne by more
// than one stored recipe, " kopia" is appended. The title must not be empty.
SaveResult saveRecipe(Database& db, qint32 rid, const Fields& f);
// Adds a recipe; returns its number.
std::optional<qint32> addRecipe(Database& db, qint32 kid, const Fields& f);
// All or none.
bool deleteRecipes(Database& db, const QVector<qint32>& rids);
bool changeCategory(Database& db, qint32 rid, qint32 kid);

} // namespace Records
