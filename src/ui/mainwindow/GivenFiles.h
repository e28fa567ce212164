#pragma once

#include "core/app/CommandLine.h"

class AppContext;
class FrmMain;

// The files the program was started with, in their order: a fridge list
// replaces the search panel's list, a recipe file is offered for import.
// Files of another kind are named in one message first. The recipe files the
// user agreed to are imported together afterwards, as the recipe list's
// import does; that import ends after this returns.
void openGivenFiles(FrmMain& window, AppContext& ctx, const CommandLine::Request& request);

// Files another copy of the program handed over: the window comes to the
// front, and the files open once a question or an import under way is done.
void openHandedFiles(FrmMain& window, AppContext& ctx, const CommandLine::Request& request);
