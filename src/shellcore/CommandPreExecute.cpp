// The pre-execute step of every command.
#include "shellcore/CommandPreExecute.h"

namespace vorn {

TCommandPreExecute::TStep TCommandPreExecute::Step(std::int64_t nowMs, bool stationWindow, bool recording,
                                                   const TCommandRun& run) {
  static const int kToggleMacroRecord = FunctionNumber("ToggleMacroRecord");
  TStep step;
  if (!stationWindow) {
    step.FastRepeat = haveLast_ && nowMs - lastMs_ >= 0 && nowMs - lastMs_ <= kFastRepeatMs;
    lastMs_ = nowMs;
    haveLast_ = true;
  }
  const TFunctionInfo* info = FunctionByNumber(run.Function);
  step.Record = recording && info && run.Function != kToggleMacroRecord && run.Depth == 0;
  step.RecordShift = step.Record && info->ShiftExtends && run.Shift;
  return step;
}

}  // namespace vorn
