#pragma once

#include <QString>

class AppContext;
class FrmMain;

// Times the three searches end to end through the main window's panel, and
// grep over the same texts for comparison. Prints "name: value" lines
// (seconds, or a ratio); temporary files go to workDir.
void runSeekBench(AppContext& ctx, FrmMain& window, const QString& workDir);
