// TFileSetting: one file type's options, keyword, colour and bracket lists, and their ini keys.
#pragma once

#include "syntax/KeyWord.h"
#include "settings/TypeMask.h"
#include "settings/FontSpec.h"
#include "settings/VornMemInifile.h"
#include "syntax/EditColors.h"

#include <memory>
#include <string>
#include <vector>

namespace vorn {

class TTypeList;
class TSettingsApplyTarget;

// The plain options of a type, each stored under one ini key (FileSettingKeys.cpp holds the
// table). A value type, so the dialog's copy and the stored state compare with ==.
struct TFileTypeValues {
  std::string Name;
  TFontSpec Font = DefaultEditorFont();
  bool FixWindow = false;
  int FixWindowCol = 80;
  int FixWindowRow = 25;
  bool PositionFix = false;
  int TabCol = 8;
  int LineOffset = 0;
  int CharOffset = 0;
  bool WordWrap = false;
  int WordBytes = 80;
  bool VerticalScroll = true;
  bool HorizontalScroll = false;
  bool VerticalRuler = false;
  bool PhysicalLineNum = false;
  bool LeftMarginLine = false;
  bool HorizontalRuler = true;
  bool EMailVisible = true;
  bool EOFVisible = true;
  bool RetVisible = true;
  bool TabVisible = false;
  bool UrlVisible = true;
  bool FileVisible = false;
  bool WSpaceVisible = false;
  bool SpaceVisible = false;
  bool Underline = false;
  TColor UnderlineColor = 0;
  bool FreeCaret = false;
  bool AutoIndent = false;
  bool WSpaceIndent = false;
  bool SpaceIndent = false;
  bool IndentWithSpace = false;
  bool IndentWidthEqTabWidth = true;
  int IndentWidth = 8;
  int SeikeiWrapCount = 74;
  bool SeikeiAutoTrigger = false;
  std::string SeikeiAutoTriggerStr;
  bool SeikeiVLine = false;
  TColor SeikeiVLineColor = clBtnFace;
  bool SeikeiCommentOnly = false;
  bool ImeEnable = false;
  bool KeyWordStrong = false;
  std::string Quotation = "\"";
  std::string QuotationCanceler = "\\";
  bool ExpandTab = false;
  bool ExpandWSpace = false;
  bool TrimRight = false;
  bool TrimRightWSpace = false;
  bool BackupCreate = false;
  bool ClearUndoAtSave = false;
  bool NotAddFileHist = false;
  bool SaveDisableAfterSave = true;
  std::string ExtMacroPath;

  TFileTypeValues();
  bool operator==(const TFileTypeValues&) const = default;
};

class TFileSetting : public TFileTypeValues {
public:
  explicit TFileSetting(TTypeList* owner = nullptr, TBregexp* engine = RegexpBinding());
  TFileSetting(const TFileSetting&) = delete;
  TFileSetting& operator=(const TFileSetting&) = delete;

  TTypeList* TypeList() const { return owner_; }
  void SetTypeList(TTypeList* owner) { owner_ = owner; }

  // The extension entries (".TXT") and masks ("Makefile*") that claim files for this type.
  const std::vector<std::string>& Extensions() const { return extensions_; }
  void SetExtensions(std::vector<std::string> entries);
  void AddExtension(const std::string& entry);
  // Removes every entry equal to entry, letter case ignored; true when one was removed.
  bool RemoveExtension(const std::string& entry);
  // Adds the upper-cased extension of a file name unless the list holds it already.
  void AddExtensionOf(const std::string& sjisFileName);
  bool Claims(const TFileNameKey& key) const;

  TVornEditColors& Colors() { return colors_; }
  const TVornEditColors& Colors() const { return colors_; }
  TKeyWordList& Keywords() { return *keywords_; }
  const TKeyWordList& Keywords() const { return *keywords_; }
  TKeyWord& Commenter() { return *commenter_; }
  const TKeyWord& Commenter() const { return *commenter_; }
  TBracketList& Brackets() { return *brackets_; }
  const TBracketList& Brackets() const { return *brackets_; }

  bool Loaded() const { return loaded_; }
  void SetLoaded(bool v) { loaded_ = v; }
  // Native path of the type's ini file; its ".fbd" lies beside it.
  const std::string& IniFileName() const { return iniFileName_; }
  void SetIniFileName(const std::string& v) { iniFileName_ = v; }
  std::string FbdFileName() const;

  // The General section (name and extension list) alone; the index in Common.ini has the same keys.
  void LoadGeneral(const TCustomIniFile& ini, const std::string& section);
  void SaveGeneral(TCustomIniFile& ini, const std::string& section) const;
  // Every key; General too when withGeneral. Values out of their range are brought into it.
  void LoadFromIni(const TCustomIniFile& ini, bool withGeneral);
  void SaveToIni(TCustomIniFile& ini) const;

  // The keyword, colour and bracket lists of the ".fbd" layout. A damaged or truncated file
  // leaves the defaults for what could not be read and returns a message (empty when all read).
  std::string LoadFbdBytes(std::string_view bytes, const std::string& fileNameForMessage);
  std::string SaveFbdBytes() const;

  // Loads the type if needed and sets it on every editor window and pane of the process.
  void ApplyToEditors(TSettingsApplyTarget& target);

  // A copy with every setting and list, named "名称未設定" and claiming no files.
  std::unique_ptr<TFileSetting> Clone() const;
  // Copies everything, name and extensions included.
  void Assign(const TFileSetting& src);

private:
  TTypeList* owner_;
  std::vector<std::string> extensions_;
  std::vector<TFileMaskEntry> masks_;
  TVornEditColors colors_;
  std::unique_ptr<TKeyWordList> keywords_;
  std::unique_ptr<TKeyWord> commenter_;
  std::unique_ptr<TBracketList> brackets_;
  bool loaded_ = false;
  std::string iniFileName_;
};

// The message of a ".fbd" file that could not be read to its end.
std::string DamagedSettingFileMessage(const std::string& fileName);

}  // namespace vorn
