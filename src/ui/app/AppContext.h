#pragma once

#include "core/app/ProgramPaths.h"
#include "core/db/OpenCookbook.h"
#include "ui/app/Prompts.h"
#include "ui/app/RunState.h"

#include <QString>

// What start-up creates for the whole run and owns: the program folder's
// paths, the cookbook with its guard, the run's state and the prompts. A
// window is given the parts it uses; the main window, which opens the
// others, gets the whole.
class AppContext {
public:
    AppContext(const QString& programFolder, Prompts& prompts)
        : AppContext(ProgramPaths::portable(programFolder), prompts)
    {
    }
    AppContext(const ProgramPaths& paths, Prompts& prompts)
        : m_paths(paths)
        , m_prompts(prompts)
    {
    }
    AppContext(const AppContext&) = delete;
    AppContext& operator=(const AppContext&) = delete;

    const ProgramPaths& paths() const { return m_paths; }
    OpenCookbook& cookbook() { return m_cookbook; }
    RunState& state() { return m_state; }
    const RunState& state() const { return m_state; }
    Prompts& prompts() const { return m_prompts; }

    // Shorthands for the parts above.
    Database& db() { return m_cookbook.db(); }
    // Backups, the check for damage, and no writes once damage is found.
    CookbookGuard& guard() { return m_cookbook.guard(); }
    const QString& programFolder() const { return m_paths.programFolder; }
    QString path(const QString& name) const { return m_paths.file(name); }
    // Read from the installed share folder when the program is installed.
    QString manualPath() const { return m_paths.manualPath(); }
    QString databasePath() const { return m_paths.databasePath(); }
    QString pictureFolder() const { return m_paths.pictureFolder(); }
    QString backupFolder() const { return m_paths.backupFolder(); }

private:
    ProgramPaths m_paths;
    Prompts& m_prompts;
    OpenCookbook m_cookbook;
    RunState m_state;
};
