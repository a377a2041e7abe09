// The caret, row and offset questions outside programs ask a pane over the bus, and the moves
// they ask for, answered from the editor core.
#pragma once

#include "editcore/EditCore.h"
#include "shellcore/BusWindowHandler.h"

namespace vorn {

// Rows are display rows counted from 0, as the caret query answers them, so an answer can be
// passed straight back in; offsets count every line end as 2. Parameters out of range are
// clamped as the core clamps them. Moves answer 1; a message that is no query answers
// "not handled".
TBusReply AnswerEditQuery(TVornEditCore& core, TBusMessage which, std::int64_t wParam, std::int64_t lParam);

}  // namespace vorn
