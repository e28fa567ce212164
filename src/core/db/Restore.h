#pragma once

#include "core/db/Database.h"

#include <QDateTime>
#include <QString>

// Going back to a backup when the cookbook itself cannot be used: the damaged
// file is kept beside it under a name of its own, never deleted.
namespace Restore {

// The engine's failure on opening says the file is damaged or no cookbook
// at all (not busy, not missing, not a matter of rights).
bool isDamage(const DbError& error);

// "dbRcp-skadad-2024-05-01-143000.mdb" beside `cookbook`; a free name.
QString asideName(const QString& cookbook, const QDateTime& now);

struct Result {
    bool ok = false;
    // Where the damaged file went; empty when nothing was moved.
    QString aside;
    // What went wrong: the engine's or the system's text.
    QString error;
};

// Checks a copy of `backup`, then moves `cookbook` (and its journal) to
// `aside` and puts the copy in its place. On failure the cookbook is where
// it was.
Result fromBackup(const QString& cookbook, const QString& backup, const QString& key, const QString& aside);

} // namespace Restore
