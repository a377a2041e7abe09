// TCommandDispatcher: the one door every numbered function goes through, from a key, a menu,
// the tool bar, the bus or the command line. It holds each function's handler, refuses what the
// traits do not allow in the window's state, and calls the same hooks before and after every
// run, so whatever watches commands (the fast-repeat flag, a macro being recorded) sees each run
// once and needs nothing from the handlers.
#pragma once

#include <array>
#include <functional>
#include <vector>

#include "shellcore/CommandTraits.h"
#include "shellcore/FunctionTable.h"

namespace vorn {

// One run as the hooks see it.
struct TCommandRun {
  int Function = -1;
  bool Shift = false;  // runs with Shift held: movements extend the selection
  int Depth = 0;       // 0 for a command of the user's; 1 and more inside another command
};

class TCommandDispatcher {
public:
  using THandler = std::function<void(bool shift)>;
  using THook = std::function<void(const TCommandRun&)>;
  using TStateSource = std::function<TCommandState()>;

  explicit TCommandDispatcher(TStateSource state, const TCommandTraitsTable& traits = CommandTraitsTable());
  TCommandDispatcher(const TCommandDispatcher&) = delete;
  TCommandDispatcher& operator=(const TCommandDispatcher&) = delete;

  // Replaces the function's handler; an empty handler leaves the function without one.
  void Set(int function, THandler handler);
  bool Has(int function) const { return IsFunctionNumber(function) && static_cast<bool>(handlers_[function]); }
  const TCommandTraits& Traits(int function) const { return traits_[function]; }

  // A handler and traits that allow the run in state.
  bool Enabled(int function, const TCommandState& state) const;
  TCommandState State() const { return state_(); }

  // Runs the function when it is enabled now, with the hooks around it; false when it did not
  // run. A handler may run further functions; they run at a greater depth.
  bool Run(int function, bool shift);

  void AddBeforeHook(THook hook) { before_.push_back(std::move(hook)); }
  void AddAfterHook(THook hook) { after_.push_back(std::move(hook)); }
  int Depth() const { return depth_; }

private:
  TStateSource state_;
  const TCommandTraitsTable& traits_;
  std::array<THandler, kFunctionCount> handlers_;
  std::vector<THook> before_;
  std::vector<THook> after_;
  int depth_ = 0;
};

}  // namespace vorn
