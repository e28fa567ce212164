#pragma once

#include <QString>

#include <functional>

class AppContext;
class FrmMain;

// Rounds of each timed search; the best one counts.
extern int benchRounds;

// Times the three searches end to end through the main window's panel, the
// near-miss search on the engine, and grep over the same texts for
// comparison. Prints "name: value" lines (seconds, or a ratio); temporary
// files go to workDir.
void runSeekBench(
    AppContext& ctx, FrmMain& window, const QString& workDir, const std::function<void()>& afterSearches);
