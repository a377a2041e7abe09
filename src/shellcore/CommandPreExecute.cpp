// The pre-execute step of every command.
#include "shellcore/CommandPreExecute.h"

namespace vorn {

bool TCommandPreExecute::Records(bool recording, const TCommandRun& run) {
  static const int kToggleMacroRecord = FunctionNumber("ToggleMacroRecord");
  return recording && FunctionByNumber(run.Function) && run.Function != kToggleMacroRecord && run.Depth == 0;
}

bool TCommandPreExecute::RecordsShift(const TCommandRun& run) {
  // Line scrolling moves the caret as a movement does, and the file-name copy takes only the
  // name with Shift held: without their Shift a replay would do something else.
  static const TFunctionSet kReadsShift = [] {
    TFunctionSet set;
    for (const TFunctionInfo& f : AllFunctions())
      if (f.ShiftExtends) set.set(static_cast<std::size_t>(f.Number));
    for (std::string_view name : {"LineDown", "LineUp", "OpenFilenameCopy"})
      set.set(static_cast<std::size_t>(FunctionNumber(name)));
    return set;
  }();
  return IsFunctionNumber(run.Function) && kReadsShift.test(static_cast<std::size_t>(run.Function)) && run.Shift;
}

TCommandPreExecute::TStep TCommandPreExecute::Step(std::int64_t nowMs, bool stationWindow, bool recording,
                                                   const TCommandRun& run) {
  TStep step;
  if (!stationWindow) {
    step.FastRepeat = haveLast_ && nowMs - lastMs_ >= 0 && nowMs - lastMs_ <= kFastRepeatMs;
    lastMs_ = nowMs;
    haveLast_ = true;
  }
  step.Record = Records(recording, run);
  step.RecordShift = step.Record && RecordsShift(run);
  return step;
}

}  // namespace vorn
