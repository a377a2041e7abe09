// The pre-execute step of every action.
#include "shellcore/CommandPreExecute.h"

namespace vorn {

TCommandPreExecute::TStep TCommandPreExecute::Step(std::int64_t nowMs, bool stationWindow, bool recording,
                                                   bool isToggleMacroRecord, bool shiftExtends, bool shiftHeld) {
  TStep step;
  if (!stationWindow) {
    step.FastRepeat = haveLast_ && nowMs - lastMs_ >= 0 && nowMs - lastMs_ <= kFastRepeatMs;
    lastMs_ = nowMs;
    haveLast_ = true;
  }
  step.Record = recording && !isToggleMacroRecord && nesting_ == 0;
  step.RecordShift = step.Record && shiftExtends && shiftHeld;
  return step;
}

}  // namespace vorn
