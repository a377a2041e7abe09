// The caret, row and offset questions outside programs ask a pane over the bus, and the moves
// they ask for, answered from the editor core.
#pragma once

#include "editcore/EditCore.h"
#include "syntax/EditColors.h"
#include "shellcore/BusWindowHandler.h"

namespace vorn {

// Rows are display rows counted from 0, as the caret query answers them, so an answer can be
// passed straight back in; offsets count every line end as 2. Parameters out of range are
// clamped as the core clamps them. Moves answer 1; a message that is no query answers
// "not handled".
TBusReply AnswerEditQuery(TVornEditCore& core, TBusMessage which, std::int64_t wParam, std::int64_t lParam);

// A verb beside the registered messages, for outside checks of what a window paints with.
inline constexpr std::string_view kDumpViewMessage = "DUMP VIEW";
// The answer to kDumpViewMessage: "TabWidth=n", then per colour entry "Color<i>=<text>,<background>,
// <style>" with the stored 32-bit values in hexadecimal, one line each; no colour lines while
// the pane has no colour list.
std::string ViewDumpText(int tabWidth, const TVornEditColors* colors);

}  // namespace vorn
