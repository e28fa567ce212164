#pragma once

#include "core/db/Database.h"

#include <functional>

// The cookbook file: its password, the upgrade that adds the program's own
// tables, and the open for a run.
namespace Cookbook {

inline const QString DatabaseKey = QStringLiteral("plumb");

// Called now and then while a long step runs, so a window can stay alive.
using Tick = std::function<void()>;

// Adds the settings and weekly-menu tables to a cookbook that lacks them and
// puts the password on it. Works on a copy that replaces the file only when
// complete and checked. `db` is the open probe connection; it is closed
// afterwards, whatever the outcome. `beforeCheck` sees the finished copy
// before it is checked (tests damage it there).
[[nodiscard]] DbStatus upgradeSchema(Database& db, const QString& path,
    const std::function<void(const QString& copy)>& beforeCheck = {}, const Tick& tick = {});

// Where opening for a run failed: Check is the engine's quick check, which
// found damage or could not read a page.
enum class Stage { Open, Check, Upgrade };
struct OpenFailure {
    Stage stage = Stage::Open;
    DbError error;
};

// Opens `path` for the run: a probe, the engine's quick check, the upgrade when the settings table is
// missing, then the connection that stays open. On failure `db` is closed
// and the file is as it was.
[[nodiscard]] bool open(Database& db, const QString& path, OpenFailure* failure, const Tick& tick = {});

// Upgrades the cookbook at `path`, which no connection of the caller holds.
using Upgrade = std::function<DbStatus(const QString& path)>;
// The same, but the probe is closed before an upgrade and `upgrade` runs it
// (on a thread of its own, say, with upgradeFile); the file is opened again after.
[[nodiscard]] bool openWith(Database& db, const QString& path, OpenFailure* failure, const Upgrade& upgrade);
// upgradeSchema on a connection of its own, opened here and closed after.
[[nodiscard]] DbStatus upgradeFile(const QString& path);

} // namespace Cookbook
