// TMacroRecorder: turns what the user does into macro steps: each command the user runs
// (seen on the dispatcher's hook, never inside another command or a replay) and each text a
// pane reports as typed.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "macro/MacroItem.h"
#include "shellcore/CommandDispatcher.h"

namespace vorn {

class TMacroRecorder {
public:
  // replaying answers whether a macro runs now: its steps and typing are not the user's.
  TMacroRecorder(TCommandDispatcher& dispatcher, std::function<bool()> replaying);
  TMacroRecorder(const TMacroRecorder&) = delete;
  TMacroRecorder& operator=(const TMacroRecorder&) = delete;

  // Commands of a further window of the process are the user's too.
  void Watch(TCommandDispatcher& dispatcher);

  bool Recording() const { return recording_; }
  // Starting empties the recording; answers the new state.
  bool Toggle();
  // The recording, which is also where a loaded macro goes to be replayed.
  TMacroSet& Set() { return set_; }
  const TMacroSet& Set() const { return set_; }

  // A pane reported typed text: one text step. Text a command or a macro typed (a Tab
  // command, a replayed step) belongs to that command's step and is not recorded again.
  void Typed(std::string_view text);

  // A command that asked the user for values while being recorded keeps them as the
  // arguments of its step, so that the replay skips the dialog. Only the step of the run of
  // function that is under way takes them.
  void StoreDialogInput(int function, std::vector<std::string> arguments);

private:
  void BeforeRun(const TCommandRun& run);
  void AfterRun(const TCommandRun& run);
  // How many commands run now, over every watched window.
  int Depth() const;

  std::vector<TCommandDispatcher*> watched_;
  std::function<bool()> replaying_;
  TMacroSet set_;
  bool recording_ = false;
  // The step recorded for the user's command now running; -1 when none.
  int runningStep_ = -1;
};

}  // namespace vorn
