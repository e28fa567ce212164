#pragma once

#include "app/AppContext.h"

class QCoreApplication;

namespace Startup {

// Exit status of a start that could not go on.
constexpr int FailureExitCode = 1;

// The start-up steps before the main window: folder checks, probe, schema
// upgrade, the open for the run and the settings. Tells the user what went
// wrong and returns false on any failure; nothing is written then.
bool openCookbook(AppContext& ctx);

// Adds the settings and weekly-menu tables to a cookbook that lacks them and
// puts the password on it. Works on a copy that replaces the file only when
// complete. `db` is the open probe connection; it is closed afterwards.
bool upgradeSchema(Database& db, const QString& path, DbError* error);

// Stores the window size and closes the connection.
void closeCookbook(AppContext& ctx);

// Qt's own dialogs speak Swedish.
void installTranslations(QCoreApplication& app);

inline const QString DatabaseKey = QStringLiteral("plumb");

} // namespace Startup
