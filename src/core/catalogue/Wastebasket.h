#pragma once

#include "core/db/Database.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVector>

// Deleted recipes are kept in a table of their own inside the cookbook
// (papperskorg), with their picture's bytes, until restored, emptied away or
// older than KeptDays at a start. Kept apart from tblRecept, a deleted recipe
// is in no list, search, count, menu or export, and its title blocks no other.
namespace Wastebasket {

constexpr int KeptDays = 30;

struct Entry {
    qint32 id = 0;
    // The recipe's number when it was deleted.
    qint32 rid = 0;
    QString titel;
    // The category's name when it was deleted; empty when it had none.
    QString kategori;
    QDateTime deleted;
    // Recipes deleted together share it; the newest batch is the highest.
    qint32 batch = 0;
};

// Creates the table in a cookbook that lacks it (the first delete does).
[[nodiscard]] DbStatus ensure(Database& db);

// Moves the recipes and their pictures' bytes into the wastebasket as one
// batch; all or none. Their picture files stay for the caller to remove once
// this succeeded. A picture that cannot be read stops it all.
[[nodiscard]] DbStatus deleteRecipes(
    Database& db, const QString& pictureFolder, const QVector<qint32>& rids, const QDateTime& now);

// Newest first.
DbResult<QList<Entry>> entries(Database& db);
DbResult<bool> isEmpty(Database& db);

// Puts the entries back, all or none: each recipe under its number when that
// is free, else a new one; under its category, or one of the same name when
// that is gone (made anew when none is left); with " kopia" after a title the
// cookbook has by then, letter case aside; its picture written back byte for
// byte. Returns the recipes' numbers, in the order of `ids`; an entry that is
// no longer there is left out.
DbResult<QVector<qint32>> restore(Database& db, const QString& pictureFolder, const QVector<qint32>& ids);
// The newest batch; empty when the wastebasket is.
DbResult<QVector<qint32>> restoreLastBatch(Database& db, const QString& pictureFolder);

// Throws every entry away.
[[nodiscard]] DbStatus empty(Database& db);
// Throws away what was deleted more than KeptDays before `now`; returns how many.
DbResult<int> purge(Database& db, const QDateTime& now);

} // namespace Wastebasket
