#pragma once

#include "core/db/Database.h"

#include <QList>
#include <QStringList>

#include <optional>

// Weekly menus stored by name in the table matsedel.
namespace MenuStore {

struct Plan {
    qint32 uid = 0;
    QString namn;
};

// Every stored menu, by name in Swedish order.
DbResult<QList<Plan>> ListaMatsedlar(Database& db);
// Stores the week under the name; a menu of that name (letter case aside)
// is overwritten, else one is added.
[[nodiscard]] DbStatus save(Database& db, const QString& name, const QStringList& titles);
// The week of menu `uid`; empty when there is no such menu.
DbResult<std::optional<QStringList>> load(Database& db, qint32 uid);
[[nodiscard]] DbStatus remove(Database& db, qint32 uid);
// Every stored week's meals that name `oldTitle` (letter case aside, as a
// meal finds its recipe) name `newTitle` instead; other meals and weeks stay
// as stored. For a recipe renamed while no other bears the old title.
[[nodiscard]] DbStatus followTitle(Database& db, const QString& oldTitle, const QString& newTitle);

// The same for one week's titles; true when any changed.
bool followInWeek(QStringList& titles, const QString& oldTitle, const QString& newTitle);

} // namespace MenuStore
