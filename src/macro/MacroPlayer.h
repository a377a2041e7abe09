// TMacroPlayer: replays macro steps through the command dispatcher, the way the user's keys
// would run them, with the running step's arguments for the handlers to read, painting
// suspensions balanced, and a nesting limit so that a macro that runs itself ends with a
// message instead of exhausting the stack.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/VornError.h"
#include "macro/MacroItem.h"
#include "macro/MacroVariables.h"
#include "shellcore/CommandDispatcher.h"

namespace vorn {

class TVornEditCore;

// A replay that cannot go on: a damaged macro file, a line the grammar cannot read, nesting
// too deep. The message is UTF-8 and shown once, by the outermost replay.
class EMacroError : public EVornError {
public:
  using EVornError::EVornError;
};

// What the player needs of the window it plays in.
class TMacroHost : public TMacroVariableSource {
public:
  // The pane the window works on now; a step may change which one that is.
  virtual TVornEditCore& CurrentPane() = 0;
  // Marks the current pane as played back, with the step's Shift standing in for the key, or
  // takes the mark off the pane that has it.
  virtual void SetStepPlayback(bool playing, bool shift);
  // The hourglass while the outermost replay runs.
  virtual void SetBusy(bool) {}
  // After each command step: the actions follow the state the step left.
  virtual void AfterCommandStep() {}
  // Once, when the outermost replay ends (also after a failure): every pane lays out again.
  virtual void RelayoutPanes() {}
  virtual void ShowError(const std::string& text) = 0;

  std::string SelectedText() override;
};

class TMacroPlayer {
public:
  static constexpr int kMaxNesting = 16;

  TMacroPlayer(TCommandDispatcher& dispatcher, TMacroHost& host) : dispatcher_(dispatcher), host_(host) {}
  TMacroPlayer(const TMacroPlayer&) = delete;
  TMacroPlayer& operator=(const TMacroPlayer&) = delete;

  // Replays the set, reading its file first when it has no steps and the file exists. A
  // failure ends the replay at every level with painting resumed; the outermost replay shows
  // it and answers false. Nested replays pass failures on as EMacroError (or whatever a
  // command raised).
  bool Replay(TMacroSet& set);
  // Replays the file at path (native).
  bool ReplayFile(const std::string& path);
  // Reads one line (Shift_JIS) and replays the step it gives; a comment or a line without a
  // step does nothing.
  bool RunLine(std::string_view line);

  // Greater than 0 while a macro runs: handlers then read Arguments().
  int Nesting() const { return nesting_; }
  bool Running() const { return nesting_ > 0; }
  // The running step's arguments, variables replaced; nullptr when no macro runs.
  const std::vector<std::string>* Arguments() const { return nesting_ > 0 ? &arguments_ : nullptr; }
  // A command step is under way: its Shift stands in for the key.
  bool PlayingStep() const { return playingStep_; }
  bool StepShift() const { return stepShift_; }

private:
  template <class TPlay>
  bool Outermost(TPlay play);
  void Play(TMacroSet& set);
  void PlaySteps(const std::vector<TMacroItem>& steps);
  void RunCommandStep(const TMacroItem& step, int& suspensions);
  void EndSuspensions(int count, bool unwinding);

  TCommandDispatcher& dispatcher_;
  TMacroHost& host_;
  int nesting_ = 0;
  std::vector<std::string> arguments_;
  bool playingStep_ = false;
  bool stepShift_ = false;
};

}  // namespace vorn
