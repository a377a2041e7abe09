// The colour page's rules and the colour set file.
#include "settings/ColorSet.h"

#include "settings/FbdColors.h"

#include <array>
#include <charconv>

namespace vorn {
namespace {

constexpr std::array<int, 45> kDialogOrder = {0,  1,  2,  40, 3,  29, 38, 4,  5,  6,  7,  8,  9,  10, 11,
                                              12, 13, 30, 15, 39, 31, 41, 16, 17, 18, 19, 20, 21, 22, 44,
                                              45, 46, 47, 23, 24, 25, 26, 27, 28, 32, 33, 34, 35, 36, 37};

constexpr bool Unnamed(int entry) { return entry == 16 || entry == 32; }

constexpr std::array<int, 43> MakeComboOrder() {
  std::array<int, 43> out{};
  std::size_t n = 0;
  for (int e : kDialogOrder)
    if (!Unnamed(e)) out[n++] = e;
  return out;
}
constexpr std::array<int, 43> kComboOrder = MakeComboOrder();

constexpr const char* kColorSetHeader = "COLORSET VER.1";

const TVornEditColors& BuiltInColors() {
  static const TVornEditColors table;
  return table;
}

std::string TrimUpper(std::string_view line) {
  std::size_t b = 0, e = line.size();
  while (b < e && (line[b] == ' ' || line[b] == '\t')) ++b;
  while (e > b && (line[e - 1] == ' ' || line[e - 1] == '\t' || line[e - 1] == '\r')) --e;
  std::string out(line.substr(b, e - b));
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// Lines of the text, CR LF or LF ended.
class TLineReader {
public:
  explicit TLineReader(std::string_view text) : text_(text) {}
  bool Next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    return true;
  }

private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

std::int32_t ParseInt32(std::string_view line) {
  std::string t = TrimUpper(line);
  std::int64_t v = 0;
  const char* first = t.data();
  const char* last = t.data() + t.size();
  if (first != last && *first == '+') ++first;
  auto [ptr, ec] = std::from_chars(first, last, v);
  if (t.empty() || ec != std::errc() || ptr != last || v < INT32_MIN || v > INT32_MAX) throw EConvertError(t);
  return static_cast<std::int32_t>(v);
}

}  // namespace

std::span<const int> ColorDialogOrder() { return kDialogOrder; }
std::span<const int> ColorComboOrder() { return kComboOrder; }

int EntryOfComboIndex(int comboIndex) {
  if (comboIndex < 0 || comboIndex >= static_cast<int>(kComboOrder.size())) return -1;
  return kComboOrder[static_cast<std::size_t>(comboIndex)];
}

int ComboIndexOfEntry(int entry) {
  for (std::size_t i = 0; i < kComboOrder.size(); ++i)
    if (kComboOrder[i] == entry) return static_cast<int>(i);
  return -1;
}

unsigned ColorLockBits(int entry) {
  switch (entry) {
    case 0: return 0x180;
    case 1: case 2: case 3: case 4: case 40: return 0x10F;
    case 9: case 23: case 24: case 25: case 26: case 27: case 28: case 38: return 0x300;
    case 15: case 33: case 34: case 35: case 36: case 37: case 41: return 0x18F;
    case 16: case 32: return 0x1FF;
    case 42: case 43: return 0x19F;
    case 5: case 6: case 7: case 8: case 10: case 11: case 12: case 13: case 14: case 29: case 30: case 31:
    case 39: return 0x100;
    default: return 0;
  }
}

TColorPageState ColorPageStateOf(const TVornEditColors& colors, int entry) {
  const TVornEditColor& c = colors[entry];
  const TVornEditColor& normal = colors[0];
  const unsigned lock = ColorLockBits(entry);
  const bool t = IsTransparentColor(c.Color());
  const bool b = IsTransparentColor(c.BkColor());
  TColorPageState s;
  s.TextColorEnabled = !t && !(lock & clkTextColor);
  s.TextClearEnabled = !(lock & clkTextClear);
  s.TextClearChecked = t;
  s.BackColorEnabled = !t && !b && !(lock & clkBackColor);
  s.BackClearEnabled = !t && !(lock & clkBackClear);
  s.BackClearChecked = b || t;
  const TFontStyles style = c.Style();
  s.BoldEnabled = !t && !(lock & clkBold);
  s.BoldChecked = (style & fsBold) && !t;
  s.ItalicEnabled = !t && !(lock & clkItalic);
  s.ItalicChecked = (style & fsItalic) && !t;
  s.UnderlineEnabled = !t && !(lock & clkUnderline);
  s.UnderlineChecked = (style & fsUnderline) && !t;
  s.StrikeOutEnabled = !t && !(lock & clkStrikeOut);
  s.StrikeOutChecked = (style & fsStrikeOut) && !t;
  s.SampleBack = (b || t) ? normal.BkColor() : c.BkColor();
  s.SampleText = t ? normal.Color() : c.Color();
  s.SampleStyle = t ? 0 : style;
  return s;
}

void SetTextTransparent(TVornEditColors& colors, int entry, bool on) {
  TVornEditColor& c = colors[entry];
  if (on) {
    c.SetColor(kTransparentColor);
    c.SetBkColor(kTransparentColor);
  } else if (IsTransparentColor(c.Color())) {
    c.SetColor(colors[0].Color());
  }
}

void SetBackTransparent(TVornEditColors& colors, int entry, bool on) {
  TVornEditColor& c = colors[entry];
  if (on) c.SetBkColor(kTransparentColor);
  else if (IsTransparentColor(c.BkColor())) c.SetBkColor(colors[0].BkColor());
}

void UnifyBackgrounds(TVornEditColors& colors) {
  const TColor back = colors[0].BkColor();
  for (std::size_t i = 1; i < kDialogOrder.size(); ++i) {
    TVornEditColor& c = colors[kDialogOrder[i]];
    if (ColorLockBits(c.Index()) & (clkBackColor | clkNoUnify)) continue;
    if (IsTransparentColor(c.BkColor())) continue;
    c.SetBkColor(back);
  }
}

void ResetColorEntry(TVornEditColors& colors, int entry) {
  const TVornEditColor& d = BuiltInColors()[entry];
  TVornEditColor& c = colors[entry];
  c.BeginUpdate();
  c.SetColor(d.Color());
  c.SetBkColor(d.BkColor());
  c.SetStyle(d.Style());
  c.EndUpdate();
}

void ResetListedColors(TVornEditColors& colors) {
  colors.BeginUpdate();
  for (int e : kDialogOrder) ResetColorEntry(colors, e);
  colors.EndUpdate();
}

std::string ColorSetFileText(const TVornEditColors& colors) {
  std::string out = std::string(kColorSetHeader) + "\r\n";
  for (int i = 0; i < colors.Count(); ++i) {
    const TVornEditColor& c = colors[i];
    out += std::to_string(static_cast<std::int32_t>(c.Color())) + "\r\n";
    out += std::to_string(static_cast<std::int32_t>(c.BkColor())) + "\r\n";
    out += std::to_string(static_cast<int>(c.Style())) + "\r\n";
  }
  return out;
}

void LoadColorSetFile(std::string_view bytes, TVornEditColors& colors) {
  TLineReader lines(bytes);
  std::string_view line;
  if (!lines.Next(line) || TrimUpper(line) != kColorSetHeader) {
    TRecordReader in(bytes);
    LoadColorList(colors, in);
    return;
  }
  colors.BeginUpdate();
  struct TEndGuard {
    TVornEditColors& c;
    ~TEndGuard() { c.EndUpdate(); }
  } guard{colors};
  for (int i = 0; i < colors.Count(); ++i) {
    std::string_view text, back, style;
    if (!lines.Next(text) || !lines.Next(back) || !lines.Next(style)) return;
    TVornEditColor& c = colors[i];
    const std::int32_t t = ParseInt32(text);
    const std::int32_t b = ParseInt32(back);
    const std::int32_t s = ParseInt32(style);
    c.SetColor(static_cast<TColor>(t));
    c.SetBkColor(static_cast<TColor>(b));
    c.SetStyle(static_cast<TFontStyles>(s & 0x0F));
  }
}

}  // namespace vorn
