#pragma once

#include "core/app/CommandLine.h"

class AppContext;
class FrmMain;

// The files the program was started with, in their order: a fridge list
// replaces the search panel's list, a recipe file is offered for import.
// Files of another kind are named in one message first.
void openGivenFiles(FrmMain& window, AppContext& ctx, const CommandLine::Request& request);
