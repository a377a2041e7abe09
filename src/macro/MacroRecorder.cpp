// Recording from the dispatcher's hooks and the panes' typed text.
#include "macro/MacroRecorder.h"

#include <utility>

#include "shellcore/CommandPreExecute.h"

namespace vorn {

TMacroRecorder::TMacroRecorder(TCommandDispatcher& dispatcher, std::function<bool()> replaying)
    : replaying_(std::move(replaying)) {
  Watch(dispatcher);
}

void TMacroRecorder::Watch(TCommandDispatcher& dispatcher) {
  watched_.push_back(&dispatcher);
  dispatcher.AddBeforeHook([this](const TCommandRun& run) { BeforeRun(run); });
  dispatcher.AddAfterHook([this](const TCommandRun& run) { AfterRun(run); });
}

int TMacroRecorder::Depth() const {
  int depth = 0;
  for (const TCommandDispatcher* d : watched_) depth += d->Depth();
  return depth;
}

bool TMacroRecorder::Toggle() {
  recording_ = !recording_;
  if (recording_) set_.Steps.clear();
  runningStep_ = -1;
  return recording_;
}

void TMacroRecorder::BeforeRun(const TCommandRun& run) {
  if (run.Depth == 0) runningStep_ = -1;
  if (replaying_() || !TCommandPreExecute::Records(recording_, run)) return;
  set_.Steps.push_back(TMacroItem::Command(run.Function, TCommandPreExecute::RecordsShift(run)));
  runningStep_ = static_cast<int>(set_.Steps.size()) - 1;
}

void TMacroRecorder::AfterRun(const TCommandRun& run) {
  if (run.Depth == 0) runningStep_ = -1;
}

void TMacroRecorder::Typed(std::string_view text) {
  if (!recording_ || Depth() > 0 || replaying_()) return;
  set_.Steps.push_back(TMacroItem::Typed(std::string(text)));
}

void TMacroRecorder::StoreDialogInput(int function, std::vector<std::string> arguments) {
  if (!recording_ || runningStep_ < 0 || Depth() != 1) return;
  TMacroItem& step = set_.Steps[static_cast<std::size_t>(runningStep_)];
  if (step.Function != function) return;
  if (arguments.size() > static_cast<std::size_t>(TMacroItem::kMaxArguments))
    arguments.resize(static_cast<std::size_t>(TMacroItem::kMaxArguments));
  step.Arguments = std::move(arguments);
}

}  // namespace vorn
