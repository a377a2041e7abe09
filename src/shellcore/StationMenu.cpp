// The resident station's model: settings, hot key, tray menu entries, command lines, states.
#include "shellcore/StationMenu.h"

#include <algorithm>
#include <utility>

#include "settings/VornMemInifile.h"
#include "shellcore/CommandCaptions.h"
#include "shellcore/FileHistory.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/HistoryMenu.h"
#include "shellcore/KeyNames.h"
#include "textfile/CodeLetters.h"

namespace vorn {

namespace {

constexpr int kStoredAlt = 1, kStoredCtrl = 2, kStoredShift = 4;
constexpr int kChordShift = 1, kChordCtrl = 2, kChordAlt = 4;

TStationMenuEntry FunctionEntry(std::string_view name) {
  return {scFunction, MenuCaption(name), FunctionNumber(name)};
}

}  // namespace

std::optional<THotKeyChord> HotKeyFromStored(int hotKey, int hotKeyModifier) {
  if (hotKey < 0 || hotKey > 255) return std::nullopt;
  // The stored order differs from the key table's (Shift 1, Ctrl 2, Alt 4): Alt and Shift trade.
  const int stored = std::max(hotKeyModifier, 0);
  THotKeyChord chord{hotKey, 0};
  if (stored & kStoredAlt) chord.Modifiers |= kChordAlt;
  if (stored & kStoredCtrl) chord.Modifiers |= kChordCtrl;
  if (stored & kStoredShift) chord.Modifiers |= kChordShift;
  return chord;
}

TStationSettings ReadStationSettings(const TCustomIniFile& ini) {
  TStationSettings s;
  s.HistoryMenuCount =
      std::clamp(ini.ReadInteger("Standard", "StationFileHistMenuCount", 10), 0, TFileHistory::kMaxEntries);
  s.FolderHistoryCount = std::clamp(ini.ReadInteger("FolderHistory", "Count", 10), 0, 30);
  s.HotKey = HotKeyFromStored(ini.ReadInteger("Station", "HotKey", -1), ini.ReadInteger("Station", "HotKeyModifier", -1));
  s.CloseAtAllClose = ini.ReadBool("Station", "CloseAtAllClose", false);
  return s;
}

std::vector<TStationMenuEntry> StationMenuEntries(std::string_view notice) {
  std::vector<TStationMenuEntry> entries;
  if (!notice.empty()) {
    entries.push_back({scNotice, std::string(notice)});
    entries.push_back({scSeparator, {}});
  }
  entries.push_back({scNewEditor, "新規作成(&N)"});
  entries.push_back({scOpen, "開く(&O)..."});
  entries.push_back({scHistory, "ファイル履歴(&H)"});
  entries.push_back(FunctionEntry("Grep"));
  entries.push_back({scSeparator, {}});
  for (std::string_view name : {"VerticalLineup", "HorizotalLineup", "Pile", "LineupOrder", "AllMinimize"})
    entries.push_back(FunctionEntry(name));
  entries.push_back({scSeparator, {}});
  entries.push_back(FunctionEntry("AllClose"));
  entries.push_back({scEndStation, "常駐終了(&X)"});
  return entries;
}

std::vector<std::string> StationHistoryCaptions(const TFileHistory& history, int count, const TTextMeasure& measure) {
  const int shown = std::clamp(count, 0, history.Count());
  std::vector<std::string> captions;
  captions.reserve(static_cast<std::size_t>(shown));
  for (int i = 0; i < shown; ++i)
    captions.push_back(FileHistoryCaption(i, history.Items()[static_cast<std::size_t>(i)].fileName, measure));
  return captions;
}

std::string StationHistoryParams(const std::string& fileName) { return "\"" + fileName + "\""; }

std::string StationOpenParams(std::optional<TCharCodeKind> code, const std::string& fileName) {
  return (code ? CodeSwitchText(*code) : std::string()) + StationHistoryParams(fileName);
}

std::string HotKeyNotice(THotKeyState state, const std::optional<THotKeyChord>& chord) {
  const std::string key = chord ? ShortcutText(chord->Modifiers, chord->VirtualKey) : std::string();
  switch (state) {
    case hkTaken: return "ホットキー " + key + " は他のプログラムが使っているため登録できません";
    case hkNoKey: return "ホットキー " + key + " はこのキーボードにないため登録できません";
    case hkUnavailable: return "このデスクトップではホットキーを使えません";
    case hkNone:
    case hkRegistered: break;
  }
  return std::string();
}

bool TStationState::MenuClosed() {
  menuShown_ = false;
  return std::exchange(historyPending_, false);
}

bool TStationState::ReloadsHistoryNow() {
  if (!menuShown_) return true;
  historyPending_ = true;
  return false;
}

}  // namespace vorn
