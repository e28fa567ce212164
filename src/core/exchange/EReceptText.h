#pragma once

#include "core/db/Database.h"

#include <QString>
#include <QVector>

// The plain-text body of an e-recipe mail: marked recipes one after another,
// lines ended by CR LF.
namespace EReceptText {

// The most recipes one mail may carry.
constexpr int MaxRecipes = 20;
// Between two recipes.
inline const QString Separator = QStringLiteral("**************************************************");

// Breaks lines at the first space met once a line has passed 60 characters;
// the space is replaced by CR LF. Words are never split.
QString WrapText(const QString& text);

// The recipes in the given order, read by number. A recipe that has vanished
// meanwhile is left out, without a separator of its own.
DbResult<QString> BuildEReceptText(Database& db, const QVector<qint32>& rids);

} // namespace EReceptText
