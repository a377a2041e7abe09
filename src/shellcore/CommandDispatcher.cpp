// The dispatcher's table and its run with hooks.
#include "shellcore/CommandDispatcher.h"

namespace vorn {

TCommandDispatcher::TCommandDispatcher(TStateSource state, const TCommandTraitsTable& traits)
    : state_(std::move(state)), traits_(traits) {}

void TCommandDispatcher::Set(int function, THandler handler) {
  if (IsFunctionNumber(function)) handlers_[function] = std::move(handler);
}

bool TCommandDispatcher::Enabled(int function, const TCommandState& state) const {
  return Has(function) && CommandAllowed(traits_[function], state);
}

bool TCommandDispatcher::Run(int function, bool shift) {
  if (!Enabled(function, state_())) return false;
  const TCommandRun run{function, shift, depth_};
  for (const THook& hook : before_) hook(run);
  {
    // The after hooks run at the outer depth again, also when the handler throws.
    struct TDepth {
      int& depth;
      explicit TDepth(int& d) : depth(d) { ++depth; }
      ~TDepth() { --depth; }
    } nested(depth_);
    handlers_[function](shift);
  }
  for (const THook& hook : after_) hook(run);
  return true;
}

}  // namespace vorn
