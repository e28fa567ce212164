#pragma once

#include "core/app/CommandLine.h"
#include "core/app/ProgramPaths.h"

#include <QTextStream>

// The command line's import and export, without a window: the program
// folder's cookbook opened as a start opens it (a first start's upgrade, the
// day's backup before the first write), refused while another run holds it.
namespace HeadlessRun {

constexpr int Success = 0;
constexpr int Failure = 1;
constexpr int BadArguments = 2;

// Runs `task` (not Task::None); what it did goes to `out`, one line per
// recipe and a count, and what went wrong to `err`, in Swedish.
int run(const CommandLine::TaskRequest& task, const ProgramPaths& paths, QTextStream& out, QTextStream& err);

} // namespace HeadlessRun
