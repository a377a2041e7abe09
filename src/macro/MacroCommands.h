// TMacroCommands: the macro functions of a window (record, replay, save, load, run by name,
// the twenty slots, the macro named before the caret) on the command dispatcher, with the
// window's dialogs behind an interface so that everything but their look is tested here.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "macro/MacroLibrary.h"
#include "macro/MacroPlayer.h"
#include "macro/MacroRecorder.h"

namespace vorn {

// What the macro commands need of a window beyond a replay.
class TMacroWindow : public TMacroHost {
public:
  virtual TMacroFolders Folders() = 0;
  // The save dialog starting in folder: the chosen file (native); nullopt for Cancel.
  virtual std::optional<std::string> AskSaveFileName(const std::string& folder) = 0;
  virtual bool ConfirmOkCancel(const std::string& text) = 0;
  // The description box: its text counts whether it was closed with OK or with Cancel.
  virtual std::string AskDescription(const std::string& current) = 0;
  // The macro list: the chosen file (native); nullopt for Cancel.
  virtual std::optional<std::string> ChooseMacro() = 0;
  // The titles show whether a macro is being recorded.
  virtual void RecordingChanged() {}
  // The current pane stops painting while the word before the caret is tried as a name.
  virtual void SuspendPanePainting(bool) {}
};

class TMacroCommands {
public:
  TMacroCommands(TCommandDispatcher& dispatcher, TMacroWindow& window);
  TMacroCommands(const TMacroCommands&) = delete;
  TMacroCommands& operator=(const TMacroCommands&) = delete;

  TMacroRecorder& Recorder() { return recorder_; }
  TMacroPlayer& Player() { return player_; }
  TMacroSlots& Slots() { return slots_; }

  // The recording is replayed only when it has steps and no recording runs.
  bool CanReplay() const { return !recorder_.Recording() && !recorder_.Set().Steps.empty(); }

  // One macro line (Shift_JIS), from the command line or another editor.
  bool RunLine(std::string_view line) { return player_.RunLine(line); }
  // A macro file by name (Shift_JIS, as arguments hold it); a name that finds no file does
  // nothing.
  bool RunFileByName(std::string_view sjisName);
  // The same for a native name, from the command line or another editor.
  bool RunFileByNativeName(const std::string& name);

  void SaveMacro();
  void LoadMacro();
  void ExtMacroExecute();
  void RunSlot(int index);
  void ExecInputMacro();

private:
  void AddHandlers(TCommandDispatcher& dispatcher);

  TMacroWindow& window_;
  TMacroPlayer player_;
  TMacroRecorder recorder_;
  TMacroSlots slots_;
};

}  // namespace vorn
