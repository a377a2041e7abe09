// The ini sections and keys of the common settings, each with how to read, write and compare it.
#include "settings/CommonSet.h"

#include "layout/WrapOption.h"

#include <functional>
#include <vector>

namespace vorn {

namespace {

struct TCommonKey {
  std::string section;
  std::string key;
  std::function<void(const TCustomIniFile&, TCommonSet&)> read;
  std::function<void(TCustomIniFile&, const TCommonSet&)> write;  // empty: never written
  std::function<bool(const TCommonSet&, const TCommonSet&)> same;
};

template <class T>
TCommonKey Field(const char* section, const char* key, T TCommonValues::*m, bool written = true) {
  TCommonKey k{section, key, {}, {}, {}};
  k.read = [section, key, m](const TCustomIniFile& ini, TCommonSet& s) {
    if constexpr (std::is_same_v<T, bool>) s.*m = ini.ReadBool(section, key, s.*m);
    else if constexpr (std::is_same_v<T, int>) s.*m = ini.ReadInteger(section, key, s.*m);
    else s.*m = ini.ReadString(section, key, s.*m);
  };
  if (written) {
    k.write = [section, key, m](TCustomIniFile& ini, const TCommonSet& s) {
      if constexpr (std::is_same_v<T, bool>) ini.WriteBool(section, key, s.*m);
      else if constexpr (std::is_same_v<T, int>) ini.WriteInteger(section, key, s.*m);
      else ini.WriteString(section, key, s.*m);
    };
  }
  k.same = [m](const TCommonSet& a, const TCommonSet& b) { return a.*m == b.*m; };
  return k;
}

using TSeikei = TVornEditSeikeiOption;

TCommonKey SeikeiBool(const char* key, bool (TSeikei::*get)() const, void (TSeikei::*set)(bool)) {
  return {"Seikei", key,
          [key, get, set](const TCustomIniFile& ini, TCommonSet& s) {
            (s.Seikei().*set)(ini.ReadBool("Seikei", key, (s.Seikei().*get)()));
          },
          [key, get](TCustomIniFile& ini, const TCommonSet& s) { ini.WriteBool("Seikei", key, (s.Seikei().*get)()); },
          [get](const TCommonSet& a, const TCommonSet& b) { return (a.Seikei().*get)() == (b.Seikei().*get)(); }};
}

TCommonKey SeikeiText(const char* key, const std::string& (TSeikei::*get)() const,
                      void (TSeikei::*set)(const std::string&)) {
  return {"Seikei", key,
          [key, get, set](const TCustomIniFile& ini, TCommonSet& s) {
            (s.Seikei().*set)(ini.ReadString("Seikei", key, (s.Seikei().*get)()));
          },
          [key, get](TCustomIniFile& ini, const TCommonSet& s) { ini.WriteString("Seikei", key, (s.Seikei().*get)()); },
          [get](const TCommonSet& a, const TCommonSet& b) { return (a.Seikei().*get)() == (b.Seikei().*get)(); }};
}

TCommonKey Macro(int i) {
  const std::string key = std::to_string(i);
  return {"Macros", key,
          [key, i](const TCustomIniFile& ini, TCommonSet& s) {
            s.Macros[i] = s.MacroFullPath(ini.ReadString("Macros", key, ""));
          },
          [key, i](TCustomIniFile& ini, const TCommonSet& s) {
            ini.WriteString("Macros", key, s.MacroStoredName(s.Macros[i]));
          },
          [i](const TCommonSet& a, const TCommonSet& b) { return a.Macros[i] == b.Macros[i]; }};
}

TCommonKey MacroStr(int i) {
  const std::string key = "MacroStr" + std::to_string(i);
  return {"Macros", key,
          [key, i](const TCustomIniFile& ini, TCommonSet& s) { s.MacroStr[i] = ini.ReadString("Macros", key, s.MacroStr[i]); },
          [key, i](TCustomIniFile& ini, const TCommonSet& s) { ini.WriteString("Macros", key, s.MacroStr[i]); },
          [i](const TCommonSet& a, const TCommonSet& b) { return a.MacroStr[i] == b.MacroStr[i]; }};
}

std::vector<TCommonKey> BuildKeys() {
  using C = TCommonValues;
  std::vector<TCommonKey> k = {
      Field("Standard", "ToolBar", &C::ToolBar, false),
      Field("Standard", "StatusBar", &C::StatusBar, false),
      Field("Standard", "PositionFixX", &C::PositionFixX, false),
      Field("Standard", "PositionFixY", &C::PositionFixY, false),
      Field("Standard", "QuoteHeader", &C::QuoteHeader),
      Field("Standard", "UndoSize", &C::UndoSize),
      Field("Standard", "IntellCount", &C::IntellCount),
      Field("Standard", "ReserveCaret", &C::ReserveCaret),
      Field("Standard", "FileHistMenuCount", &C::FileHistMenuCount),
      Field("Standard", "FolderHistCount", &C::FolderHistCount),
      Field("Standard", "StationFileHistMenuCount", &C::StationFileHistMenuCount),
      Field("Standard", "ReserveMark", &C::ReserveMark),
      Field("Standard", "Maximize", &C::Maximize),
      Field("Standard", "Station", &C::Station),
      Field("Station", "CloseAtAllClose", &C::CloseAtAllClose),
      Field("Station", "HotKey", &C::HotKey),
      Field("Station", "HotKeyModifier", &C::HotKeyModifier),
      Field("Standard", "ToneFindStr", &C::ToneFindStr),
      Field("Standard", "BrowseModeAsReadOnlyBehavior", &C::BrowseModeAsReadOnlyBehavior),
      Field("Standard", "SelMove", &C::SelMove),
      Field("Standard", "CaretStyle", &C::CaretStyle),
      Field("WordWrap", "FollowPunctuation", &C::FollowPunctuation),
      Field("WordWrap", "Leading", &C::Leading),
      Field("WordWrap", "FollowRetMark", &C::FollowRetMark),
      Field("WordWrap", "WordBreak", &C::WordBreak),
      Field("WordWrap", "LeadStr", &C::LeadStr),
      Field("WordWrap", "FollowStr", &C::FollowStr),
      Field("Standard", "MoveNextLine", &C::MoveNextLine),
      Field("Standard", "FixCaretOnScroll", &C::FixCaretOnScroll),
      Field("Standard", "UseOpenFileExtAsFilter", &C::UseOpenFileExtAsFilter),
      Field("Standard", "QueryCloseAllMultiWindow", &C::QueryCloseAllMultiWindow),
      Field("Standard", "RestrictAlreadyOpenMsg", &C::RestrictAlreadyOpenMsg),
      Field("Standard", "CopyAndSelClear", &C::CopyAndSelClear),
      SeikeiBool("CommentThrough", &TSeikei::CommentThrough, &TSeikei::SetCommentThrough),
      SeikeiBool("InsertSpace", &TSeikei::InsertSpace, &TSeikei::SetInsertSpace),
      SeikeiBool("WordWrap", &TSeikei::WordWrap, &TSeikei::SetWordWrap),
      SeikeiBool("TabToSpace", &TSeikei::TabToSpace, &TSeikei::SetTabToSpace),
      SeikeiText("RightUninsertSpaceStr", &TSeikei::RightUninsertSpaceStr, &TSeikei::SetRightUninsertSpaceStr),
      SeikeiText("LeftUninsertSpaceStr", &TSeikei::LeftUninsertSpaceStr, &TSeikei::SetLeftUninsertSpaceStr),
      Field("HiddenFunc", "HideTaskButton", &C::HideTaskButton, false),
  };
  for (int i = 0; i < 20; ++i) k.push_back(Macro(i));
  for (int i = 0; i < 10; ++i) k.push_back(MacroStr(i));
  return k;
}

const std::vector<TCommonKey>& Keys() {
  static const std::vector<TCommonKey> keys = BuildKeys();
  return keys;
}

}  // namespace

void TCommonSet::ReadIni(const TCustomIniFile& ini) {
  for (const TCommonKey& k : Keys()) k.read(ini, *this);
  if (HideTaskButton) ContainerClass = ini.ReadString("HiddenFunc", "VornEContClass", ContainerClass);
}

void TCommonSet::WriteChanges(TCustomIniFile& ini) const {
  for (const TCommonKey& k : Keys())
    if (k.write && !(stored_ && k.same(*this, *stored_))) k.write(ini, *this);
}

}  // namespace vorn
