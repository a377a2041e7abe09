// The ini sections and keys of a file type's options, as one table read and written in order.
#include "settings/FileSetting.h"

#include "settings/SjisText.h"

#include <algorithm>
#include <variant>

namespace vorn {

namespace {

struct TIntRange {
  int min;
  int max;
};
constexpr TIntRange kAnyInt{-2147483647 - 1, 2147483647};

using TMember = std::variant<bool TFileTypeValues::*, int TFileTypeValues::*, TColor TFileTypeValues::*,
                             std::string TFileTypeValues::*>;

struct TKeyDef {
  const char* section;
  const char* key;
  TMember member;
  TIntRange range = kAnyInt;
};

using V = TFileTypeValues;

const TKeyDef kKeys[] = {
    {"Display", "FixWindow", &V::FixWindow},
    {"Display", "FixWindowCol", &V::FixWindowCol},
    {"Display", "FixWindowRow", &V::FixWindowRow},
    {"Display", "PositionFix", &V::PositionFix},
    {"Display", "TabCol", &V::TabCol, {2, 128}},
    {"Display", "LineOffset", &V::LineOffset, {0, 10}},
    {"Display", "CharOffset", &V::CharOffset, {0, 10}},
    {"Display", "WordWrap", &V::WordWrap},
    {"Display", "WordBytes", &V::WordBytes, {10, 500}},
    {"Display", "VerticalScroll", &V::VerticalScroll},
    {"Display", "HorizontalScroll", &V::HorizontalScroll},
    {"Display", "VerticalRuler", &V::VerticalRuler},
    {"Display", "PhysicalLineNum", &V::PhysicalLineNum},
    {"Display", "LeftMarginLine", &V::LeftMarginLine},
    {"Display", "HorizontalRuler", &V::HorizontalRuler},
    {"Display", "EMailVisible", &V::EMailVisible},
    {"Display", "EOFVisible", &V::EOFVisible},
    {"Display", "RetVisible", &V::RetVisible},
    {"Display", "TabVisible", &V::TabVisible},
    {"Display", "UrlVisible", &V::UrlVisible},
    {"Display", "FileVisible", &V::FileVisible},
    {"Display", "WSpaceVisible", &V::WSpaceVisible},
    {"Display", "SpaceVisible", &V::SpaceVisible},
    {"Caret", "Underline", &V::Underline},
    {"Caret", "UnderlineColor", &V::UnderlineColor},
    {"Caret", "FreeCaret", &V::FreeCaret},
    {"Caret", "AutoIndent", &V::AutoIndent},
    {"Caret", "WSpaceIndent", &V::WSpaceIndent},
    {"Caret", "SpaceIndent", &V::SpaceIndent},
    {"Caret", "IndentWithSpace", &V::IndentWithSpace},
    {"Caret", "IndentWidthEqTabWidth", &V::IndentWidthEqTabWidth},
    {"Caret", "IndentWidth", &V::IndentWidth, {1, 20}},
    {"Caret", "SeikeiWrapCount", &V::SeikeiWrapCount},
    {"Caret", "SeikeiAutoTrigger", &V::SeikeiAutoTrigger},
    {"Caret", "SeikeiAutoTriggerStr", &V::SeikeiAutoTriggerStr},
    {"Caret", "SeikeiVLine", &V::SeikeiVLine},
    {"Caret", "SeikeiVLineColor", &V::SeikeiVLineColor},
    {"Caret", "SeikeiCommentOnly", &V::SeikeiCommentOnly},
    {"Caret", "ImeEnable", &V::ImeEnable},
    {"KeyWord", "KeyWordStrong", &V::KeyWordStrong},
    {"KeyWord", "Quotation", &V::Quotation},
    {"KeyWord", "QuotationCanceler", &V::QuotationCanceler},
    {"Save", "ExpandTab", &V::ExpandTab},
    {"Save", "ExpandWSpace", &V::ExpandWSpace},
    {"Save", "TrimRight", &V::TrimRight},
    {"Save", "TrimRightWSpace", &V::TrimRightWSpace},
    {"Save", "BackupCreate", &V::BackupCreate},
    {"Save", "ClearUndoAtSave", &V::ClearUndoAtSave},
    {"Save", "NotAddFileHist", &V::NotAddFileHist},
    {"Save", "SaveDisableAfterSave", &V::SaveDisableAfterSave},
    {"Save", "ExtMacroPath", &V::ExtMacroPath},
};

void ReadKey(const TCustomIniFile& ini, const TKeyDef& d, TFileTypeValues& v) {
  std::visit(
      [&](auto member) {
        auto& field = v.*member;
        using T = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<T, bool>) {
          field = ini.ReadBool(d.section, d.key, field);
        } else if constexpr (std::is_same_v<T, int>) {
          field = std::clamp(ini.ReadInteger(d.section, d.key, field), d.range.min, d.range.max);
        } else if constexpr (std::is_same_v<T, TColor>) {
          field = static_cast<TColor>(ini.ReadInteger(d.section, d.key, static_cast<int>(field)));
        } else {
          field = ini.ReadString(d.section, d.key, field);
        }
      },
      d.member);
}

void WriteKey(TCustomIniFile& ini, const TKeyDef& d, const TFileTypeValues& v) {
  std::visit(
      [&](auto member) {
        const auto& field = v.*member;
        using T = std::decay_t<decltype(field)>;
        if constexpr (std::is_same_v<T, bool>) ini.WriteBool(d.section, d.key, field);
        else if constexpr (std::is_same_v<T, int>) ini.WriteInteger(d.section, d.key, field);
        else if constexpr (std::is_same_v<T, TColor>) ini.WriteInteger(d.section, d.key, static_cast<int>(field));
        else ini.WriteString(d.section, d.key, field);
      },
      d.member);
}

void ReadFont(const TCustomIniFile& ini, TFontSpec& font) {
  font.Name = ini.ReadString("Display", "FontName", font.Name);
  font.CharSet = ini.ReadInteger("Display", "FontCharSet", font.CharSet);
  if (ini.ValueExists("Display", "FontHeight")) {
    font.Height = std::clamp(ini.ReadInteger("Display", "FontHeight", font.Height), -10000, 10000);
  } else if (ini.ValueExists("Display", "FontSize")) {
    font.SetSize(ini.ReadInteger("Display", "FontSize", font.Size()));
  }
}

void ReadCommenter(const TCustomIniFile& ini, TKeyWord& c) {
  c.SetPattern(ini.ReadString("KeyWord", "CommentStr", c.Pattern()));
  c.SetWholeWord(ini.ReadBool("KeyWord", "CommentWord", c.WholeWord()));
  c.SetIgnoreCase(!ini.ReadBool("KeyWord", "CommentCase", !c.IgnoreCase()));
  c.SetPlainText(!ini.ReadBool("KeyWord", "CommentRegExp", !c.PlainText()));
  c.SetFuzzy(ini.ReadBool("KeyWord", "CommentFuzz", c.Fuzzy()));
}

void WriteCommenter(TCustomIniFile& ini, const TKeyWord& c) {
  ini.WriteString("KeyWord", "CommentStr", c.Pattern());
  ini.WriteBool("KeyWord", "CommentWord", c.WholeWord());
  ini.WriteBool("KeyWord", "CommentCase", !c.IgnoreCase());
  ini.WriteBool("KeyWord", "CommentRegExp", !c.PlainText());
  ini.WriteBool("KeyWord", "CommentFuzz", c.Fuzzy());
}

}  // namespace

TFileTypeValues::TFileTypeValues() : Name(UnnamedTypeName()), SeikeiAutoTriggerStr(Sjis("、。，．.")) {}

void TFileSetting::LoadGeneral(const TCustomIniFile& ini, const std::string& section) {
  Name = ini.ReadString(section, "Name", Name);
  // A count from a damaged file cannot make the list larger than the keys that exist.
  const int count = ini.ReadInteger(section, "ExtCount", 0);
  std::vector<std::string> entries;
  for (int i = 0; i < count; ++i) {
    const std::string key = "Ext" + std::to_string(i);
    if (!ini.ValueExists(section, key)) break;
    entries.push_back(ini.ReadString(section, key, ""));
  }
  SetExtensions(std::move(entries));
}

void TFileSetting::SaveGeneral(TCustomIniFile& ini, const std::string& section) const {
  ini.WriteString(section, "Name", Name);
  ini.WriteInteger(section, "ExtCount", static_cast<int>(extensions_.size()));
  for (std::size_t i = 0; i < extensions_.size(); ++i)
    ini.WriteString(section, "Ext" + std::to_string(i), extensions_[i]);
}

void TFileSetting::LoadFromIni(const TCustomIniFile& ini, bool withGeneral) {
  if (withGeneral) LoadGeneral(ini, "General");
  ReadFont(ini, Font);
  for (const TKeyDef& d : kKeys) ReadKey(ini, d, *this);
  ReadCommenter(ini, *commenter_);
}

void TFileSetting::SaveToIni(TCustomIniFile& ini) const {
  SaveGeneral(ini, "General");
  ini.WriteString("Display", "FontName", Font.Name);
  ini.WriteInteger("Display", "FontCharSet", Font.CharSet);
  ini.WriteInteger("Display", "FontHeight", Font.Height);
  for (const TKeyDef& d : kKeys) WriteKey(ini, d, *this);
  WriteCommenter(ini, *commenter_);
}

}  // namespace vorn
