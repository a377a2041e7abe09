// The small interfaces through which file types and common settings reach the editor windows
// of the process; the shell's windows implement them, tests use doubles.
#pragma once

#include "settings/FontSpec.h"
#include "options/EditOptions.h"
#include "syntax/EditParserOptions.h"
#include "options/EditSeikeiOption.h"
#include "layout/WrapOption.h"

#include <string>
#include <vector>

namespace vorn {

enum TScrollBars { ssNone, ssHorizontal, ssVertical, ssBoth };

// What a file type sets on a pane besides its option records.
struct TPaneTypeOptions {
  TFontSpec Font;
  bool WordWrap = false;
  TScrollBars ScrollBars = ssVertical;
  bool ImeControl = false;
  bool ExpandTab = false;
  bool ExpandWSpace = false;
  bool TrimRight = false;
  bool TrimRightWSpace = false;
  bool ClearUndoAtSave = false;
  bool VerticalRuler = false;
  bool LeftMarginLine = false;
  bool PhysicalLineNum = false;
  bool HorizontalRuler = true;
  bool operator==(const TPaneTypeOptions&) const = default;
};

// What the common settings set on a pane besides its option records.
struct TPaneCommonOptions {
  int UndoListMax = 10000;
  int IntelliMouseCount = 3;
  bool ToneFindStr = true;
  bool BrowseModeCaret = false;
  bool CopyAndSelClear = false;
  std::string QuoteHeader;
  bool operator==(const TPaneCommonOptions&) const = default;
};

// One editor pane (a TVornEdit control): its live option records and its document's state.
class TSettingsPaneTarget {
public:
  virtual ~TSettingsPaneTarget() = default;
  virtual TVornEditCaret& Caret() = 0;
  virtual TVornEditMargin& Margin() = 0;
  virtual TVornEditMarks& Marks() = 0;
  virtual TVornEditViewInfo& View() = 0;
  virtual TVornEditWrapOption& WrapOption() = 0;
  virtual TVornEditSeikeiOption& SeikeiOption() = 0;
  virtual bool WordWrap() const = 0;
  virtual void SetTypeOptions(const TPaneTypeOptions& options) = 0;
  virtual void SetCommonOptions(const TPaneCommonOptions& options) = 0;
  virtual bool DocumentModified() const = 0;
  virtual void ClearUndo() = 0;
  virtual void Repaint() = 0;
};

// What a file type sets on a window.
struct TWindowTypeOptions {
  bool FixWindow = false;
  int FixWindowCol = 80;
  int FixWindowRow = 25;
  bool PositionFix = false;
  bool BackupCreate = false;
  bool NotAddFileHist = false;
  bool SaveDisableAfterSave = true;
  std::string ExtMacroPath;
  bool operator==(const TWindowTypeOptions&) const = default;
};

// What the common settings set on a window.
struct TWindowCommonOptions {
  bool ToolBar = true;
  bool StatusBar = true;
  int PositionFixX = 0;
  int PositionFixY = 0;
  int FileHistCount = 10;
  int FolderHistCount = 10;
  int StationFileHistCount = 10;
  bool ReserveCaret = true;
  bool ReserveMark = true;
  bool Maximize = false;
  bool Station = false;
  bool UseOpenFileExtAsFilter = false;
  bool QueryCloseAllMultiWindow = true;
  bool RestrictAlreadyOpenMsg = false;
  int HotKey = -1;
  int HotKeyModifier = 0;
  bool CloseAtAllClose = false;
  bool operator==(const TWindowCommonOptions&) const = default;
};

class TSettingsWindowTarget {
public:
  virtual ~TSettingsWindowTarget() = default;
  virtual void SetTypeOptions(const TWindowTypeOptions& options) = 0;
  virtual void SetCommonOptions(const TWindowCommonOptions& options) = 0;
  // The window's one or two panes.
  virtual std::vector<TSettingsPaneTarget*> Panes() = 0;
};

// The editor windows of this process; the first is the main window.
class TSettingsApplyTarget {
public:
  virtual ~TSettingsApplyTarget() = default;
  virtual std::vector<TSettingsWindowTarget*> Windows() = 0;
  // The main window keeps the applied type's ini path for the find and diff options.
  virtual void SetTypeIniFileName(const std::string& path) = 0;
  // Macro files (full paths) of "マクロ実行１～20" and the values of %MACROSTR0%..%MACROSTR9%.
  virtual void SetMacros(const std::vector<std::string>& files, const std::vector<std::string>& strings) = 0;
};

}  // namespace vorn
