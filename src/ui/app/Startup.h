#pragma once

#include "ui/app/AppContext.h"

class QCoreApplication;

namespace Startup {

// Exit status of a start that could not go on.
constexpr int FailureExitCode = 1;

// The start-up steps before the main window: folder checks, the cookbook
// opened (and upgraded when needed) and the settings read. Tells the user
// what went wrong and returns false on any failure; nothing is written then.
bool openCookbook(AppContext& ctx);

// Stores the window size and closes the connection.
void closeCookbook(AppContext& ctx);

// Qt's own dialogs speak Swedish.
void installTranslations(QCoreApplication& app);

} // namespace Startup
