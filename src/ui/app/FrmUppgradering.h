#pragma once

#include "core/db/Database.h"

#include <QWidget>

class RunState;

// Shown while a large cookbook is made ready for this version at its first
// start: nothing else can happen meanwhile, so the user is told why.
class FrmUppgradering : public QWidget {
    Q_OBJECT
public:
    explicit FrmUppgradering(const RunState& state, QWidget* parent = nullptr);
};

namespace Upgrading {
// Upgrades the cookbook at `path` on a thread of its own, with a connection
// of its own, while this thread waits for it taking no user input; after a
// moment FrmUppgradering shows. No other connection may hold the file.
DbStatus run(const RunState& state, const QString& path);
} // namespace Upgrading
