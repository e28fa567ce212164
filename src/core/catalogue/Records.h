#pragma once

#include "core/db/Database.h"

#include <QVector>

#include <functional>

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
    bool operator==(const Fields&) const = default;
};

// The longest title, portions or time text stored; a longer one is refused
// before storing rather than cut.
constexpr int MaxLineLength = 32767;
// The first of "Titel", "Portioner", "Tid" whose text is longer than that;
// empty when all fit.
QString overlongField(const Fields& f);

// What else must follow when a stored title changes and no recipe bears the
// old one any longer (letter case aside), such as weeks that name it. Run
// inside the transaction that stores the recipe: a failure undoes it all.
using TitleFollower = std::function<DbStatus(Database& db, const QString& oldTitle, const QString& newTitle)>;

// Stores the fields into recipe `rid`; false when there is no such recipe.
// When the typed title is borne by more than one stored recipe, " kopia" is
// appended. The title must not be empty.
DbResult<bool> saveRecipe(Database& db, qint32 rid, const Fields& f, const TitleFollower& follower = {});
// Adds a recipe; returns its number.
DbResult<qint32> addRecipe(Database& db, qint32 kid, const Fields& f);
// Adds a recipe read from a file or a web page: its texts stored as they came
// (line ends untouched), an empty one as NULL. A title the cookbook already
// has, letter case aside, gets " kopia". Returns its number.
DbResult<qint32> addImported(Database& db, qint32 kid, const Fields& f);
// All or none.
[[nodiscard]] DbStatus deleteRecipes(Database& db, const QVector<qint32>& rids);
// False when there is no such recipe.
DbResult<bool> changeCategory(Database& db, qint32 rid, qint32 kid);

} // namespace Records
