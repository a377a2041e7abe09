// The file-type dialog's rules: button states, checks, list operations, the keyword file.
#include "shellcore/ExtSetRules.h"

#include "base/VornError.h"
#include "encoding/jconvert.h"
#include "platform/FileBytes.h"
#include "platform/VornUtil.h"
#include "settings/SjisText.h"
#include "settings/TypeMask.h"
#include "syntax/KeyWordFile.h"

#include <charconv>
#include <cmath>

namespace vorn {
namespace {

bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFC && c != 0x7F; }

// ASCII letters upper-cased; the trail bytes of double-byte characters stay as they are.
std::string UpperSjis(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto c = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(c)) {
      ++i;
      continue;
    }
    if (c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) { return UpperSjis(a) == UpperSjis(b); }

std::string Trimmed(const std::string& text) {
  std::size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  return text.substr(b, e - b);
}

std::string RangeMessage(const char* caption, int min, int max) {
  return std::string(caption) + "は " + std::to_string(min) + " から " + std::to_string(max) +
         " までの整数で指定してください";
}

void ClearKeyWordLists(TFileSetting& type) {
  type.Keywords().Clear();
  type.Brackets().Clear();
}

}  // namespace

TTypeListButtons TypeListButtonsFor(const TTypeList& list, int selected) {
  TTypeListButtons b;
  const int count = list.Count();
  if (selected <= 0 || selected >= count) return b;
  const bool last = selected == count - 1;
  b.Up = selected >= 2;
  b.Down = !last;
  // The first type after "共通" is never deleted; past it, only "GREP" is kept.
  b.Delete = selected != 1 && !EqualsIgnoringAsciiCase(list.Items(selected).Name, GrepTypeName());
  return b;
}

std::string CheckNewTypeName(const TTypeList& list, const std::string& sjisName) {
  if (sjisName.empty()) return "名前を入力してください";
  if (sjisName == CommonTypeName()) return "「共通」という名前は使えません";
  if (EqualsIgnoringAsciiCase(sjisName, GrepTypeName())) return "「GREP」という名前は使えません";
  for (int i = 0; i < list.Count(); ++i)
    if (list.Items(i).Name == sjisName) return "名前が今ある名前と重複しています。別の名前を入力してください";
  return {};
}

TFieldValue ParseLimitedField(const std::string& text, const char* caption, int min, int max) {
  const std::string t = Trimmed(text);
  long long v = 0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || ptr != t.data() + t.size() || v < min || v > max)
    return {std::nullopt, RangeMessage(caption, min, max)};
  return {static_cast<int>(v), {}};
}

TFieldValue ParseField(const std::string& text, const TFieldLimit& limit) {
  return ParseLimitedField(text, limit.Caption, limit.Min, limit.Max);
}

TFontSizeValue ParseFontSize(const std::string& text) {
  const std::string t = Trimmed(text);
  double v = 0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
  if (t.empty() || ec != std::errc() || ptr != t.data() + t.size() || !(v >= 1 && v <= 999))
    return {std::nullopt, "フォントサイズは 1 から 999 までの数で指定してください"};
  return {v, {}};
}

std::string AddTypeExtension(TTypeList& list, int selected, const std::string& sjisText) {
  const std::string text = UpperSjis(Trimmed(sjisText));
  if (text.empty() || text == ".") return "拡張子を入力してください";
  const std::string ext(ExtractFileExt(text));
  if (!ext.empty() && ext != ".") {
    for (int i = 1; i < list.Count(); ++i) {
      TFileSetting& type = list.Items(i);
      std::vector<std::string> entries = type.Extensions();
      for (auto it = entries.begin(); it != entries.end(); ++it)
        if (EqualsIgnoringAsciiCase(*it, ext)) {
          entries.erase(it);
          type.SetExtensions(entries);
          break;
        }
    }
  }
  list.Items(selected).AddExtension(text);
  return {};
}

std::string EditTypeExtension(TFileSetting& type, int entry, const std::string& sjisText) {
  const std::string text = UpperSjis(Trimmed(sjisText));
  if (text.empty() || text == ".") return "拡張子を入力してください";
  std::vector<std::string> entries = type.Extensions();
  if (entry < 0 || entry >= static_cast<int>(entries.size())) return {};
  entries[static_cast<std::size_t>(entry)] = text;
  type.SetExtensions(entries);
  return {};
}

void RemoveTypeExtension(TFileSetting& type, int entry) {
  std::vector<std::string> entries = type.Extensions();
  if (entry < 0 || entry >= static_cast<int>(entries.size())) return;
  entries.erase(entries.begin() + entry);
  type.SetExtensions(entries);
}

TQuoteRows QuoteRowsOf(const std::string& quotation, const std::string& canceler) {
  TQuoteRows rows;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (i < quotation.size()) rows[i].Quote = quotation.substr(i, 1);
    if (i < canceler.size()) rows[i].Escape = canceler.substr(i, 1);
  }
  return rows;
}

void StoreQuoteRows(const TQuoteRows& rows, std::string& quotation, std::string& canceler) {
  std::string withEscape, escapes, alone;
  for (const TQuoteRow& r : rows) {
    if (r.Quote.empty()) continue;
    if (!r.Escape.empty()) {
      withEscape += r.Quote;
      escapes += r.Escape;
    } else {
      alone += r.Quote;
    }
  }
  quotation = withEscape + alone;
  canceler = escapes;
}

std::string KeepLastByte(const std::string& text) { return text.size() > 1 ? text.substr(text.size() - 1) : text; }

std::vector<int> MoveSelectedBlock(const std::vector<bool>& selected, TBlockMove move) {
  const int n = static_cast<int>(selected.size());
  std::vector<int> block, rest;
  int first = -1, last = -1;
  for (int i = 0; i < n; ++i) {
    if (selected[static_cast<std::size_t>(i)]) {
      block.push_back(i);
      if (first < 0) first = i;
      last = i;
    } else {
      rest.push_back(i);
    }
  }
  std::vector<int> order;
  if (block.empty()) {
    for (int i = 0; i < n; ++i) order.push_back(i);
    return order;
  }
  // Where the block goes among the unselected rows: before the row that preceded the first
  // selected one, after the row that followed the last one, or at an end.
  std::size_t at = 0;
  auto restIndexOf = [&rest](int row) {
    for (std::size_t i = 0; i < rest.size(); ++i)
      if (rest[i] == row) return i;
    return rest.size();
  };
  switch (move) {
    case bmTop: at = 0; break;
    case bmBottom: at = rest.size(); break;
    case bmUp: at = first == 0 ? 0 : restIndexOf(first - 1); break;
    case bmDown: at = last >= n - 2 ? rest.size() : restIndexOf(last + 1) + 1; break;
  }
  // A selected row right before the first (or after the last) is part of the block already.
  if (move == bmUp && first > 0 && selected[static_cast<std::size_t>(first - 1)]) at = 0;
  order.insert(order.end(), rest.begin(), rest.begin() + static_cast<std::ptrdiff_t>(at));
  order.insert(order.end(), block.begin(), block.end());
  order.insert(order.end(), rest.begin() + static_cast<std::ptrdiff_t>(at), rest.end());
  return order;
}

std::string AssociationFieldFor(const std::string& selectedEntry) {
  return selectedEntry.starts_with(".") ? selectedEntry : std::string();
}

bool CanRegisterAssociation(bool entrySelected, const std::string& fieldText) {
  return entrySelected && fieldText.starts_with(".");
}

std::string AssociationTypeName(const std::string& fieldText, const std::string& systemName,
                                const std::string& typeName) {
  if (fieldText.empty()) return {};
  return systemName.empty() ? typeName : systemName;
}

namespace {
int HeightOfPoints(double points, double density) { return -static_cast<int>(std::lround(points * density / 72)); }
}  // namespace

// From 8 points, each step goes to the next whole pixel height; a height that no whole point
// size makes stands for the half point below it.
std::vector<TFontSizeEntry> ScalableFontSizes(double density) {
  std::vector<TFontSizeEntry> sizes;
  int h = HeightOfPoints(8, density);
  for (long p = 8; p <= 16;) {
    const bool exact = h == HeightOfPoints(static_cast<double>(p), density);
    sizes.push_back({exact ? std::to_string(p) : std::to_string(p - 1) + ".5", h});
    p = std::lround((1 - h) * 72 / density);
    --h;
  }
  for (int p : {18, 20, 22, 24, 26, 28, 36, 48, 74}) sizes.push_back({std::to_string(p), HeightOfPoints(p, density)});
  return sizes;
}

std::vector<TFontSizeEntry> RasterFontSizes(const std::vector<int>& characterHeights, double density) {
  std::vector<std::pair<long, TFontSizeEntry>> sorted;
  for (const int pixels : characterHeights) {
    const long p = std::lround(pixels * 72 / density);
    auto at = sorted.begin();
    while (at != sorted.end() && at->first < p) ++at;
    if (at != sorted.end() && at->first == p) continue;
    sorted.insert(at, {p, {std::to_string(p), HeightOfPoints(static_cast<double>(p), density)}});
  }
  std::vector<TFontSizeEntry> sizes;
  for (auto& [points, entry] : sorted) sizes.push_back(std::move(entry));
  return sizes;
}

bool IsFixedPitch(const TFontAdvances& a) {
  if (a.I <= 0 || a.I != a.W || a.I != a.Zero) return false;
  return a.Kana <= 0 || a.Kana == 2 * a.I;
}

std::string OverwriteQuestion(const std::string& fileName) { return "「" + fileName + "」は存在します。上書きしますか"; }

const char* KeywordSaveQuestion() {
  return "キーワードのページと文字列とコメントのページで、エディタへセッティングが完了しているものを保存します。"
         "今、設定で変更したものは保存されない場合があります。その場合は一旦OKを押して設定を完了してから、"
         "再度ファイルタイプごとの設定を開いて保存してください。保存しますか？";
}

std::string CommentSetLimitMessage() {
  return "コメントセット文字列の最大値は " + std::to_string(kMaxCommentSets) + "個です";
}

bool IsShiftJisText(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    if (c == 0) return false;
    if (!IsLeadByte(c)) {
      if (c >= 0x80 && !(c >= 0xA1 && c <= 0xDF)) return false;
      continue;
    }
    if (i + 1 >= bytes.size() || !IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) return false;
    ++i;
  }
  return true;
}

std::string LoadKeyWordFileInto(const std::string& path, TFileSetting& type) {
  if (!IsRegularFile(path)) {
    ClearKeyWordLists(type);
    return "キーワードファイル \"" + path + "\" が見つかりません。キーワードは空になります";
  }
  std::string text;
  try {
    const TByteBuffer bytes = ReadFileBytes(path);
    text.assign(bytes.Data(), bytes.Size());
  } catch (const EVornError& e) {
    ClearKeyWordLists(type);
    return std::string(e.what()) + "。キーワードは空になります";
  }
  // Detection tells UTF-8 and the other codes apart where their bytes happen to pair up as
  // Shift_JIS; the byte check catches what detection lets pass.
  const TCharCodeKind kind = DetectCharCode(text);
  const bool sjisKind = kind == ckAscii || kind == ckSjis || kind == ckEucOrSjis;
  if (!sjisKind || !IsShiftJisText(text)) {
    ClearKeyWordLists(type);
    return "キーワードファイル \"" + path + "\" は Shift_JIS のテキストではありません。キーワードは空になります";
  }
  try {
    LoadKeyWordFile(text, {type.Keywords(), type.Quotation, type.QuotationCanceler, type.Commenter(), type.Brackets()});
  } catch (const EVornError& e) {
    return e.what();
  }
  return {};
}

}  // namespace vorn
