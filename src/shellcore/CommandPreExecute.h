// The step every command takes before its handler: the fast-repeat flag the movements read, and
// whether the command belongs in a macro being recorded (not while one command runs others).
#pragma once

#include <cstdint>

#include "shellcore/CommandDispatcher.h"

namespace vorn {

class TCommandPreExecute {
public:
  // Commands closer together than this count as a fast repeat.
  static constexpr std::int64_t kFastRepeatMs = 99;

  struct TStep {
    bool FastRepeat = false;  // to be set on the pane (a station window never sets it)
    bool Record = false;      // append a step for the command to the recording
    bool RecordShift = false; // the step records Shift held (shift-extending functions only)
  };

  // Called for every run with the time in milliseconds from any steady clock. A run inside
  // another command (Depth above 0) is never recorded: replaying the outer one repeats it.
  TStep Step(std::int64_t nowMs, bool stationWindow, bool recording, const TCommandRun& run);

  // The recording rule alone, for the recorder that hooks the dispatcher itself.
  static bool Records(bool recording, const TCommandRun& run);
  static bool RecordsShift(const TCommandRun& run);

private:
  std::int64_t lastMs_ = 0;
  bool haveLast_ = false;
};

}  // namespace vorn
