// TGrepPart: grep from the window (the dialog, the run, the result shown in the window or handed
// to a new copy of the program), the grep requests that open the dialog pre-filled, and the
// tag jump from a result line to its file.
#pragma once

#include "shell/WindowPart.h"

#include <optional>
#include <string>

namespace vorn {

class TEditorWindow;
class TGrepKeyWord;
struct TGrepOutcome;

class TGrepPart : public TWindowPart {
public:
  explicit TGrepPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher& dispatcher) override;

  void ShowGrepResult(const TGrepOutcome& outcome);
  // Runs the condition in "Grep.fhd" of the hand-off folder, as a window that handed a grep
  // over asks.
  void RunHandedGrep();
  // The -g switch: a grep request for mask (empty pattern, the current folder searched), which
  // opens the grep dialog pre-filled once the window runs.
  void RequestGrepDialog(const std::string& mask);

private:
  void GrepCommand();
  // The dialog of the services, else the grep form over this window.
  bool AskGrep(const std::string& sjisWord, TGrepKeyWord& run);
  // The condition of a replayed grep step's arguments; false when they give none.
  bool ConditionFromMacro(TGrepKeyWord& run) const;
  void HandOffGrep(const TGrepKeyWord& run);
  void ExecuteGrep(const TGrepKeyWord& run);
  void TagJumpCommand();
  std::string TagJumpPath(const std::string& shownName, const std::string& lineText) const;
  // The find step a tag jump from this grep result passes on: the grep's keyword with its
  // options; empty when the window shows no grep result.
  std::string GrepFindMacro() const;
  bool JumpInWindowShowing(const std::string& path, std::optional<int> line, const std::string& macro);

  TEditorWindow& window_;
};

}  // namespace vorn
