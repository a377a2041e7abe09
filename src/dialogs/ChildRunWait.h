// Waiting for an outside program without stopping the window: the window keeps painting and
// answering the bus, keyboard and mouse input waits, and a run longer than half a second shows
// a progress window whose "キャンセル" ends the program and everything it started.
#pragma once

#include <QString>

class QWidget;

namespace vorn {

class TChildRun;

enum class TChildWaitEnd { weFinished, weCancelled, weTimedOut };

// limitMs < 0 waits without limit; at the limit the run is left to go on (its output so far
// is what the caller gets). progressAfterMs is when the progress window appears.
TChildWaitEnd WaitForChildRun(TChildRun& run, QWidget* owner, const QString& caption, int limitMs = -1,
                              int progressAfterMs = 500);

// The progress window of the run going on now, or nullptr (tests press its button).
QWidget* ActiveChildRunProgress();

}  // namespace vorn
