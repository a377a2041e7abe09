// The functions a pane carries out on its own editor core: movements, selection, clipboard and
// editing. A window hands them the pane it works on at the moment of each run.
#pragma once

#include <functional>

#include "editcore/EditCore.h"
#include "shellcore/CommandDispatcher.h"

namespace vorn {

// Gives the dispatcher a handler for each pane function; current answers the core the window
// works on when the function runs.
void AddPaneCommands(TCommandDispatcher& dispatcher, std::function<TVornEditCore&()> current);

// The functions AddPaneCommands handles.
const TFunctionSet& PaneCommandFunctions();

}  // namespace vorn
