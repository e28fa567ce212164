#pragma once

#include "core/catalogue/Catalogue.h"
#include "core/db/Database.h"

// Adding and renaming categories. Names are stored as typed: two categories
// may bear the same name, and the lists tell them apart by their number.
namespace Categories {

// Every category in Swedish name order, equal names by number.
inline DbResult<QList<Catalogue::Category>> list(Database& db)
{
    return Catalogue::allCategories(db);
}

// Adds a category; returns its number. The window does not call this with
// an empty name.
inline DbResult<qint32> addCategory(Database& db, const QString& name)
{
    return Catalogue::addCategory(db, name);
}

// Gives category `kid` a new name (the empty text included); false when
// there is no such category.
inline DbResult<bool> renameCategory(Database& db, qint32 kid, const QString& name)
{
    return Catalogue::renameCategory(db, kid, name);
}

} // namespace Categories
