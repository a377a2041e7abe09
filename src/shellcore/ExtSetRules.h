// The file-type dialog below its widgets: which type-list buttons are on, the name and value
// checks with their messages, the extension, quotation and keyword list operations, and the
// keyword file read into a type. Messages are UTF-8; names and patterns Shift_JIS as stored.
#pragma once

#include "settings/TypeList.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

struct TTypeListButtons {
  bool Up = false;
  bool Down = false;
  bool Delete = false;
  bool operator==(const TTypeListButtons&) const = default;
};
// For the type at selected in a list of count types named as given.
TTypeListButtons TypeListButtonsFor(const TTypeList& list, int selected);

// The name prompt's check: empty when the name may be used, else the message to show.
std::string CheckNewTypeName(const TTypeList& list, const std::string& sjisName);

// A number typed into a limited field: the value, or the message naming the field and its range.
struct TFieldValue {
  std::optional<int> Value;
  std::string Message;
};
TFieldValue ParseLimitedField(const std::string& text, const char* caption, int min, int max);

// The limits of the type's numeric fields, as the dialog enforces them.
struct TFieldLimit {
  const char* Caption;  // UTF-8, as the message names the field
  int Min;
  int Max;
};
inline constexpr TFieldLimit kTabWidthLimit{"タブ幅", 2, 128};
inline constexpr TFieldLimit kLineOffsetLimit{"行間", 0, 10};
inline constexpr TFieldLimit kCharOffsetLimit{"文字間", 0, 10};
inline constexpr TFieldLimit kWrapColumnsLimit{"折り返し桁数", 10, 500};
inline constexpr TFieldLimit kIndentWidthLimit{"インデント幅", 1, 20};
inline constexpr TFieldLimit kSeikeiWidthLimit{"整形文字数", 10, 200};
inline constexpr TFieldLimit kFixColLimit{"幅", 1, 1000};
inline constexpr TFieldLimit kFixRowLimit{"高さ", 1, 1000};
TFieldValue ParseField(const std::string& text, const TFieldLimit& limit);

// A font size typed as text: points from 1 to 999 (halves allowed), else a message.
struct TFontSizeValue {
  std::optional<double> Points;
  std::string Message;
};
TFontSizeValue ParseFontSize(const std::string& text);

// The association page. Adding takes the extension part (from the last ".") off every type
// but "共通", then appends the whole text upper-cased to the selected type. An empty text, or
// one that is only a period, is refused with the returned message.
std::string AddTypeExtension(TTypeList& list, int selected, const std::string& sjisText);
std::string EditTypeExtension(TFileSetting& type, int entry, const std::string& sjisText);
void RemoveTypeExtension(TFileSetting& type, int entry);

// The association page's extension field: the selected entry when it starts with ".", else empty.
std::string AssociationFieldFor(const std::string& selectedEntry);
// "関連付けとして登録(&U)" wants a selected entry and a field that names an extension.
bool CanRegisterAssociation(bool entrySelected, const std::string& fieldText);
// The file-type name field: empty with the field, else what the system calls such files or,
// when it has no name for them, the type's name.
std::string AssociationTypeName(const std::string& fieldText, const std::string& systemName,
                                const std::string& typeName);

// The font size list: texts with the platform's (negative) pixel height for each.
struct TFontSizeEntry {
  std::string Text;
  int Height = 0;
  bool operator==(const TFontSizeEntry&) const = default;
};
// A scalable font at density pixels per inch: 8 to 16 in the steps whole pixel heights make
// (halves between), then 18 to 48 and 74.
std::vector<TFontSizeEntry> ScalableFontSizes(double density);
// A raster font: one entry per offered size, from its character height (cell height less the
// internal leading, in pixels), ascending, without repeats.
std::vector<TFontSizeEntry> RasterFontSizes(const std::vector<int>& characterHeights, double density);

// Whether a font is fixed pitch by its advances: "i", "W" and "0" alike and, for a font with
// kana (kana > 0), a kana twice as wide. The platform calls dual-width Japanese fonts
// proportional, so the font list measures instead.
struct TFontAdvances {
  int I = 0, W = 0, Zero = 0;
  int Kana = 0;
};
bool IsFixedPitch(const TFontAdvances& a);

// The question before a colour set or keyword file replaces an existing one.
std::string OverwriteQuestion(const std::string& fileName);
// The question before the keyword page's "保存(&S)..." asks for a file.
const char* KeywordSaveQuestion();

// The four quotation rows: a quotation byte and its escape byte each.
struct TQuoteRow {
  std::string Quote;
  std::string Escape;
  bool operator==(const TQuoteRow&) const = default;
};
using TQuoteRows = std::array<TQuoteRow, 4>;
TQuoteRows QuoteRowsOf(const std::string& quotation, const std::string& canceler);
// Rows with both fields first, then rows with a quotation only; rows without one are dropped.
void StoreQuoteRows(const TQuoteRows& rows, std::string& quotation, std::string& canceler);
// A one-byte field after an edit: only its last byte stays.
std::string KeepLastByte(const std::string& text);

// The keyword page's moves of the selected rows, gathered into one block in list order.
enum TBlockMove { bmUp, bmTop, bmDown, bmBottom };
// The new order as old row numbers; selected has one flag per row.
std::vector<int> MoveSelectedBlock(const std::vector<bool>& selected, TBlockMove move);

// The comment page refuses a fifteenth comment set before the dialog opens.
inline constexpr int kMaxCommentSets = 14;
std::string CommentSetLimitMessage();

// Reads a ".hil" keyword file into the type. A file that is missing, unreadable or not
// Shift_JIS leaves the type's keyword lists empty and returns the message to show; a
// damaged one keeps what was read and returns the file format message.
std::string LoadKeyWordFileInto(const std::string& path, TFileSetting& type);
// Whether bytes are well-formed Shift_JIS (every lead byte followed by a trail byte).
bool IsShiftJisText(std::string_view bytes);

}  // namespace vorn
