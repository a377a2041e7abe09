// TSearchPart: the window's find and replace: the dialog and the controller between it and the
// panes, find down and up with the replace confirmation, replace all with its progress window,
// the return to the search start, clearing the search word and the bracket search.
#pragma once

#include "shell/WindowPart.h"
#include "store/VornEditView.h"

#include <functional>
#include <string>

namespace vorn {

class TEditorWindow;
class TFindForm;
class TVornEditCore;
struct TFindMacroStep;

class TSearchPart : public TWindowPart {
public:
  explicit TSearchPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher& dispatcher) override;

private:
  TVornEditCore& Core() const;
  void FindCommand(bool replace);
  bool AskCondition(TFindForm& form, bool replace, TFindMacroStep& step, bool& fromMacro);
  void FindDownCommand();
  void FindUpCommand();
  void ReplaceAllCommand(bool noMessage, bool noProgress);
  void SearchBracketCommand(bool shift);
  int Confirm(bool withAll);
  std::string TypeIniPath() const;
  void ShowStatus(const std::string& sjis);

  TEditorWindow& window_;
  bool startHead_ = false;
  TRowCol searchStart_;
};

}  // namespace vorn
