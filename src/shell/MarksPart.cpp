// TMarksPart: the mark commands, the mark list and the line jump.
#include "shell/MarksPart.h"

#include "shell/EditorWindow.h"

#include "dialogs/MarkListForm.h"
#include "editor/VornEdit.h"
#include "shellcore/FunctionTable.h"

namespace vorn {
namespace {

// The argument of a replayed mark step: "0" removes, another text sets without the toggle rule.
TVornEditCore::TMarkArg MarkArg(const std::vector<std::string>* args) {
  if (!args || args->empty() || (*args)[0].empty()) return TVornEditCore::TMarkArg::None;
  return (*args)[0] == "0" ? TVornEditCore::TMarkArg::Remove : TVornEditCore::TMarkArg::Set;
}

}  // namespace

TVornEditCore& TMarksPart::Core() const { return window_.Editor()->Core(); }

void TMarksPart::AddCommands(TCommandDispatcher& dispatcher) {
  const auto add = [&dispatcher](const std::string& name, std::function<void(bool)> run) {
    dispatcher.Set(FunctionNumber(name), std::move(run));
  };
  add("ToggleMark", [this](bool) { Core().ToggleMark(MarkArg(window_.MacroArguments())); });
  for (int n = 0; n < 10; ++n) {
    add("SetMark" + std::to_string(n), [this, n](bool) { Core().SetMark(n, MarkArg(window_.MacroArguments())); });
    add("JumpMark" + std::to_string(n), [this, n](bool shift) { Core().JumpMark(n, TMoveFlags{false, shift}); });
  }
  add("FindUnderMark", [this](bool shift) { Core().FindUnderMark(TMoveFlags{false, shift}); });
  add("FindOverMark", [this](bool shift) { Core().FindOverMark(TMoveFlags{false, shift}); });
  add("ClearAllMark", [this](bool) {
    const std::vector<std::string>* args = window_.MacroArguments();
    const std::string which = args && !args->empty() ? (*args)[0] : std::string();
    Core().ClearMarks(which != "1", which != "2");
  });
  add("ShowMarkList", [this](bool) { ShowMarkList(); });
  add("JumpRow", [this](bool) { JumpRow(); });
}

void TMarksPart::ShowMarkList() {
  TMarkListActions actions;
  actions.Entries = [this] { return MarkListEntries(Core().Store()); };
  actions.Jump = [this](int line) { window_.JumpToLine(TJumpTarget{false, line + 1}); };
  actions.ToggleMark = [this] { window_.RunFunction(FunctionNumber("ToggleMark"), false); };
  actions.Remove = [this](int entry) { Core().Store().LineMarkTable().RemoveAt(entry); };
  actions.Clear = [this](bool unnumbered, bool numbered) { Core().ClearMarks(unnumbered, numbered); };
  TMarkListForm form(std::move(actions), &window_);
  form.exec();
}

void TMarksPart::JumpRow() {
  TJumpInputForm form(
      [this](int n) {
        if (n == -1)
          Core().MoveFileEnd();
        else
          window_.JumpToLine(TJumpTarget{false, n});
      },
      &window_);
  form.exec();
}

}  // namespace vorn
