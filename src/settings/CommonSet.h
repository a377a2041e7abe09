// TCommonSet: the settings every window shares, stored in "Common.ini", "Common.skd" and "UsrDir.dat".
#pragma once

#include "settings/SettingsApplyTarget.h"
#include "settings/VornMemInifile.h"
#include "options/EditSeikeiOption.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace vorn {

// The plain values, each under one ini key (CommonSetKeys.cpp holds the table).
struct TCommonValues {
  bool ToolBar = true;
  bool StatusBar = true;
  int PositionFixX = 0;
  int PositionFixY = 0;
  std::string QuoteHeader = "> ";
  int UndoSize = 10000;
  int IntellCount = 3;
  bool ReserveCaret = true;
  int FileHistMenuCount = 10;
  int FolderHistCount = 10;
  int StationFileHistMenuCount = 10;
  bool ReserveMark = true;
  bool Maximize = false;
  bool Station = false;
  bool CloseAtAllClose = false;
  int HotKey = -1;
  int HotKeyModifier = 0;
  bool ToneFindStr = true;
  bool BrowseModeAsReadOnlyBehavior = false;
  bool SelMove = true;
  int CaretStyle = 0;
  bool FollowPunctuation = false;
  bool Leading = false;
  bool FollowRetMark = false;
  bool WordBreak = false;
  std::string LeadStr;
  std::string FollowStr;
  bool MoveNextLine = true;
  bool FixCaretOnScroll = true;
  bool UseOpenFileExtAsFilter = false;
  bool QueryCloseAllMultiWindow = true;
  bool RestrictAlreadyOpenMsg = false;
  bool CopyAndSelClear = false;
  // Full native paths of the macro files run by "マクロ実行１～20"; empty for none.
  std::array<std::string, 20> Macros;
  // Shift_JIS values of %MACROSTR0%..%MACROSTR9%.
  std::array<std::string, 10> MacroStr;
  bool HideTaskButton = false;
  std::string ContainerClass;
  bool UserFolderFix = false;
  // Shift_JIS, as the first line of "UsrDir.dat".
  std::string UserFolderName;

  TCommonValues();
  bool operator==(const TCommonValues&) const = default;
};

// The line-breaking rules of the common settings, set on a wrap option in one update.
void ApplyCommonWrap(const TCommonValues& c, TVornEditWrapOption& w);
// The share of the common settings a window takes for itself.
TWindowCommonOptions WindowCommonOptions(const TCommonValues& c);

class TCommonSet : public TCommonValues {
public:
  // programFolder (native, trailing "/") holds "UsrDir.dat" and is the base of relative macro names.
  explicit TCommonSet(std::string programFolder, TBregexp* engine = RegexpBinding());
  TCommonSet(const TCommonSet& o);
  TCommonSet& operator=(const TCommonSet&) = delete;

  const std::string& ProgramFolder() const { return programFolder_; }
  TVornEditSeikeiOption& Seikei() { return *seikei_; }
  const TVornEditSeikeiOption& Seikei() const { return *seikei_; }

  // Reads the ini file, "UsrDir.dat" and the ".skd" beside the ini. Missing files and keys give
  // the defaults; a damaged ".skd" leaves the defaults and a message in TakeMessages.
  void LoadFrom(const std::string& iniPath);
  // Writes what changed since LoadFrom (or the last SaveTo) into the file as it is on disk
  // now, under the shared lock, so another process's newer values of other keys survive.
  void SaveTo(const std::string& iniPath);
  void ApplyToWindows(TSettingsApplyTarget& target) const;

  std::vector<std::string> TakeMessages();

  // Stored form of a macro file name: relative to the program folder where it lies below it.
  std::string MacroStoredName(const std::string& fullPath) const;
  // Full path of a stored name; "\" separators of settings written elsewhere are accepted.
  std::string MacroFullPath(const std::string& storedName) const;

private:
  void ReadIni(const TCustomIniFile& ini);
  void WriteChanges(TCustomIniFile& ini) const;
  void ReadUserFolderFile();
  void WriteUserFolderFile() const;
  void ReadSkd(const std::string& path);
  void WriteSkd(const std::string& path) const;
  bool SeikeiListsDiffer(const TCommonSet& o) const;

  std::string programFolder_;
  std::unique_ptr<TVornEditSeikeiOption> seikei_;
  // The state last read or written: SaveTo writes only what differs from it.
  std::unique_ptr<TCommonSet> stored_;
  std::vector<std::string> messages_;
};

// Replaces a path's extension (".ini" → ".skd").
std::string ChangeFileExt(const std::string& path, const std::string& ext);

}  // namespace vorn
