// The resident station's model without a toolkit: its settings from "Common.ini", the hot key
// they name, the entries of the tray menu and the command line each entry starts, and what the
// station does with the events that reach it while its menu is open or closed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "encoding/jconvert.h"

namespace vorn {

class TCustomIniFile;
class TFileHistory;
class TTextMeasure;

// A global hot key in the key table's terms: a Windows virtual key and Shift 1, Ctrl 2, Alt 4.
struct THotKeyChord {
  int VirtualKey = 0;
  int Modifiers = 0;
  bool operator==(const THotKeyChord&) const = default;
};

// The stored pair ("HotKey", "HotKeyModifier" with Alt 1, Ctrl 2, Shift 4) as a chord; none
// for a negative or out-of-range key. A negative modifier value means no modifier.
std::optional<THotKeyChord> HotKeyFromStored(int hotKey, int hotKeyModifier);

struct TStationSettings {
  int HistoryMenuCount = 10;    // "Standard" "StationFileHistMenuCount", 0 to 30
  int FolderHistoryCount = 10;  // "FolderHistory" "Count": the open dialog's folder list
  std::optional<THotKeyChord> HotKey;
  bool CloseAtAllClose = false;
  bool operator==(const TStationSettings&) const = default;
};

TStationSettings ReadStationSettings(const TCustomIniFile& commonIni);

// What an entry of the tray menu runs.
enum TStationCommandKind {
  scNewEditor,   // the executable without parameters
  scOpen,        // the open dialog at the mouse, then a new editor on the file
  scHistory,     // the history submenu; its items start an editor on the entry
  scFunction,    // a numbered function run in the station (grep, arrangement, exit all)
  scEndStation,  // closes the station
  scSeparator,
  scNotice,      // a line that only tells (the hot key's state); never enabled
};

struct TStationMenuEntry {
  TStationCommandKind Kind;
  std::string Caption;  // UTF-8, "&" marks the accelerator
  int Function = -1;    // scFunction only
};

// The tray menu from top to bottom; notice, when not empty, heads it as a disabled line.
std::vector<TStationMenuEntry> StationMenuEntries(std::string_view notice = {});

// The history submenu: the captions of the first min(count, entries) entries.
std::vector<std::string> StationHistoryCaptions(const TFileHistory& history, int count, const TTextMeasure& measure);

// The command line of the editor a history item starts: the name in double quotes alone.
std::string StationHistoryParams(const std::string& fileName);
// The command line of the editor the open dialog starts: the code switch of a chosen code
// (nothing for automatic detection), then the name in double quotes.
std::string StationOpenParams(std::optional<TCharCodeKind> code, const std::string& fileName);

// What became of the hot key's registration, and the line the menu shows for it.
enum THotKeyState { hkNone, hkRegistered, hkTaken, hkNoKey, hkUnavailable };
std::string HotKeyNotice(THotKeyState state, const std::optional<THotKeyChord>& chord);

// The station's answers to what reaches it. The menu being open holds back whatever would
// change it under the user's mouse; a history reload held back runs when the menu closes.
class TStationState {
public:
  bool MenuShown() const { return menuShown_; }
  void MenuOpened() { menuShown_ = true; }
  // True when a reload was held back while the menu was open and is to run now.
  bool MenuClosed();

  // The hot key pops the menu up unless it is open already.
  bool PopsUpOnHotKey() const { return !menuShown_; }
  // "VORNEDITOR LOAD COMMON SET" and "VORNEDITOR LOAD FILE HISTORY": true when the history
  // is to be reloaded now. The settings and the hot key are re-read in any case.
  bool ReloadsHistoryNow();

  // A double click starts an empty editor with the left button (0) only.
  static bool StartsEditorOnDoubleClick(int button) { return button == 0; }
  // The exit-all command run in the station ends it only when the settings say so.
  static bool EndsOnExitAll(const TStationSettings& settings) { return settings.CloseAtAllClose; }

private:
  bool menuShown_ = false;
  bool historyPending_ = false;
};

}  // namespace vorn
