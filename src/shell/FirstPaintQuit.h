// A start-up measuring aid: the process ends right after the pane has painted once, so a
// script can time "command line to first screen" without a person watching.
#pragma once

class QWidget;

namespace vorn {

// The environment variable that turns the aid on; any non-empty value will do.
inline constexpr const char* kQuitAfterFirstPaintVariable = "VORN_QUIT_AFTER_FIRST_PAINT";

// Ends the application once pane has finished its first paint, when the variable is set.
void QuitAfterFirstPaintWhenAsked(QWidget* pane);

}  // namespace vorn
