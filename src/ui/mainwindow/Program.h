#pragma once

#include "core/app/HandOver.h"
#include "ui/app/AppContext.h"

#include <memory>

class FrmMain;

// A started program: its context and its main window. Start-up reports
// instead of exiting so tests can drive the real windows.
struct Program {
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<FrmMain> window;
    // Files opened from the desktop while this copy runs come here.
    std::unique_ptr<HandOverListener> handOver;
    bool ok = false;
    int exitCode = 0;

    ~Program();
};

// Main(): checks, opens and upgrades the cookbook, reads the settings and
// shows the main window.
std::unique_ptr<Program> startProgram(const ProgramPaths& paths, Prompts& prompts, bool show = true);
// Everything in one program folder, as a portable install has it.
std::unique_ptr<Program> startProgram(const QString& programFolder, Prompts& prompts, bool show = true);
