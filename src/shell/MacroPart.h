// TMacroPart: the window's keyboard macros: the macro commands on the dispatcher, the window's
// side of recording (typed text, the title) and of replay (the pane played back, painting held
// until the end, the step's arguments for every handler), and the macro requests of the
// command line and of other editors.
#pragma once

#include <QPointer>
#include <QSize>

#include <memory>
#include <string>
#include <vector>

#include "macro/MacroCommands.h"
#include "shell/WindowPart.h"

namespace vorn {

class TEditorWindow;
class TVornEdit;

class TMacroPart : public TWindowPart, private TMacroWindow {
public:
  explicit TMacroPart(TEditorWindow& window) : window_(window) {}
  void AddCommands(TCommandDispatcher& dispatcher) override;

  TMacroCommands& Macros() { return *macros_; }
  bool Recording() const { return macros_ && macros_->Recorder().Recording(); }
  bool Replaying() const { return macros_ && macros_->Player().Running(); }
  bool CanReplay() const { return macros_ && macros_->CanReplay(); }
  const std::vector<std::string>* Arguments() const { return macros_ ? macros_->Player().Arguments() : nullptr; }
  // A pane typed text: one step while recording.
  void Typed(std::string_view text) {
    if (macros_) macros_->Recorder().Typed(text);
  }
  // The command about to run is a replayed step: its pane takes the step's Shift and the
  // fast-repeat flag, which the vertical moves leave off.
  void BeforeStep(const TCommandRun& run, bool fastRepeat);
  // Files and strings of the common settings.
  void ApplySlots(const std::vector<std::string>& files, const std::vector<std::string>& strings);
  // A macro line (Shift_JIS) or a macro file (native) asked by the command line or the bus.
  void RunLine(const std::string& sjisLine);
  void RunFile(const std::string& nativeName);

private:
  TVornEditCore& CurrentPane() override;
  void SetStepPlayback(bool playing, bool shift) override;
  std::string ClipboardText() override;
  std::string MacroString(int index) override { return macros_->Slots().MacroString(index); }
  TCharCodeKind CharCode() override;
  TLineBreakKind LineBreak() override;
  void SetBusy(bool busy) override;
  void RelayoutPanes() override;
  void ShowError(const std::string& text) override;
  TMacroFolders Folders() override;
  std::optional<std::string> AskSaveFileName(const std::string& folder) override;
  bool ConfirmOkCancel(const std::string& text) override;
  std::string AskDescription(const std::string& current) override;
  std::optional<std::string> ChooseMacro() override;
  void RecordingChanged() override;
  void SuspendPanePainting(bool suspend) override;

  TEditorWindow& window_;
  std::unique_ptr<TMacroCommands> macros_;
  QPointer<TVornEdit> playedPane_;  // a step may unsplit the window and free its pane
  QSize listSize_;
};

}  // namespace vorn
