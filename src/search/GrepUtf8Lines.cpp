// Grep over UTF-8 text: the forms of the required characters found in the UTF-8 bytes, and
// only their lines converted.
#include "search/GrepUtf8Lines.h"

#include <cstdint>
#include <map>

#include "base/ByteBlocks.h"
#include "base/sjis.h"
#include "encoding/jconvert.h"
#include "platform/cp932.h"

namespace vorn {
namespace {

constexpr std::size_t npos = std::string_view::npos;
constexpr std::size_t kMaxFormsPerChar = 4;  // more, and the character is the default one
constexpr std::size_t kMaxForms = 16;

std::string EncodeUtf8(unsigned u) {
  std::string s;
  if (u < 0x80) {
    s += static_cast<char>(u);
  } else if (u < 0x800) {
    s += static_cast<char>(0xC0 | u >> 6);
    s += static_cast<char>(0x80 | (u & 0x3F));
  } else {
    s += static_cast<char>(0xE0 | u >> 12);
    s += static_cast<char>(0x80 | (u >> 6 & 0x3F));
    s += static_cast<char>(0x80 | (u & 0x3F));
  }
  return s;
}

bool CleanUnit(unsigned u) { return u != 0 && (u < 0xD800 || u > 0xDFFF) && u != 0xFEFF && u != 0xFFFE; }

// The Shift_JIS code (lead << 8 | trail, or the byte) the conversion writes for a unit of a
// clean text: its code page 932 code, or the default character.
std::uint16_t SjisOfUnit(const TCp932Table& table, unsigned u) {
  const std::uint16_t code = table.fromU16[u];
  return code == Cp932NoMapping ? static_cast<unsigned char>(Cp932DefaultChar) : code;
}

#if defined(__SSE2__)
// Checks blocks of sixteen bytes while at least two more follow (a three-byte form starting in
// the block is checked whole). Returns where the block checks stopped, and in pending the
// continuation bytes still owed there by a form started before it; npos when a form is wrong.
std::size_t CheckBlocks(const unsigned char* s, std::size_t n, std::size_t& pending) {
  using namespace blocks;
  unsigned owed = 0;  // bits 0 and 1: continuation bytes the last block's forms need here
  std::size_t i = 0;
  for (; i + 18 <= n; i += 16) {
    const __m128i v = Load16(s + i);
    const unsigned high = Mask(v);
    if (high == 0 && owed == 0) {
      if (EqMask(v, 0)) return npos;
      continue;
    }
    const __m128i v1 = Load16(s + i + 1), v2 = Load16(s + i + 2);
    const unsigned two = RangeMask(v, 0xC2, 0xDF), three = RangeMask(v, 0xE0, 0xEF), cont = RangeMask(v, 0x80, 0xBF);
    const unsigned owedHere = (two | three) << 1 | three << 2 | owed;
    owed = owedHere >> 16;
    const unsigned wrong = (high & ~(two | three | cont)) | EqMask(v, 0) | ((owedHere & 0xFFFF) ^ cont) |
                           (EqMask(v, 0xE0) & RangeMask(v1, 0x80, 0x9F)) |  // overlong
                           (EqMask(v, 0xED) & RangeMask(v1, 0xA0, 0xBF)) |  // surrogate
                           (EqMask(v, 0xEF) & ((EqMask(v1, 0xBB) & EqMask(v2, 0xBF)) | (EqMask(v1, 0xBF) & EqMask(v2, 0xBE))));
    if (wrong) return npos;
  }
  pending = owed == 0 ? 0 : (owed & 2) ? 2 : 1;
  return i;
}
#endif

}  // namespace

bool ConvertsCharByChar(std::string_view utf8) {
  const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
  const std::size_t n = utf8.size();
  std::size_t i = 0, pending = 0;
#if defined(__SSE2__)
  i = CheckBlocks(s, n, pending);
  if (i == npos) return false;
#endif
  auto cont = [s](std::size_t k) { return (s[k] & 0xC0) == 0x80; };
  for (; pending > 0; --pending, ++i)
    if (i >= n || !cont(i)) return false;
  while (i < n) {
    const unsigned b = s[i];
    if (b != 0 && b < 0x80) {
      ++i;
    } else if (b >= 0xC2 && b <= 0xDF) {
      if (i + 1 >= n || !cont(i + 1)) return false;
      i += 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
      if (i + 2 >= n || !cont(i + 1) || !cont(i + 2)) return false;
      const unsigned u = (b & 0x0F) << 12 | (s[i + 1] & 0x3Fu) << 6 | (s[i + 2] & 0x3Fu);
      if (u < 0x800 || (u >= 0xD800 && u <= 0xDFFF) || u == 0xFEFF || u == 0xFFFE) return false;
      i += 3;
    } else {
      return false;
    }
  }
  return true;
}

namespace {

using TCodeForms = std::map<unsigned, std::vector<std::string>>;

// The Shift_JIS codes of a text's characters, each added to forms to be filled; false for a
// line break or a lone lead byte, which no clean form stands for.
bool CodesOf(std::string_view sjisText, std::vector<unsigned>& codes, TCodeForms& forms) {
  codes.clear();
  for (std::size_t i = 0; i < sjisText.size();) {
    const std::size_t len = sjis::CharLen(sjisText, i);
    const auto byte = [&sjisText](std::size_t k) { return static_cast<unsigned char>(sjisText[k]); };
    const unsigned code = len == 2 ? byte(i) << 8 | byte(i + 1) : byte(i);
    i += len;
    if (code == '\r' || code == '\n' || (len == 1 && sjis::IsLeadByte(static_cast<char>(code)))) return false;
    codes.push_back(code);
    forms[code];
  }
  return !codes.empty();
}

// The forms of every code in forms, in one pass over the units; a code with more than
// kMaxFormsPerChar stops collecting there.
void FillForms(TCodeForms& forms) {
  const TCp932Table& table = Cp932Table();
  for (unsigned u = 1; u < 0x10000; ++u) {
    if (!CleanUnit(u)) continue;
    const auto it = forms.find(SjisOfUnit(table, u));
    if (it != forms.end() && it->second.size() <= kMaxFormsPerChar) it->second.push_back(EncodeUtf8(u));
  }
}

bool Compose(const std::vector<unsigned>& codes, const TCodeForms& formsOf, std::vector<std::string>& forms) {
  forms.assign(1, std::string());
  for (unsigned code : codes) {
    const std::vector<std::string>& own = formsOf.at(code);
    if (own.empty() || own.size() > kMaxFormsPerChar || forms.size() * own.size() > kMaxForms) return false;
    std::vector<std::string> longer;
    for (const std::string& head : forms)
      for (const std::string& tail : own) longer.push_back(head + tail);
    forms = std::move(longer);
  }
  return true;
}

}  // namespace

bool Utf8FormsOf(std::string_view sjisText, std::vector<std::string>& forms) {
  std::vector<unsigned> codes;
  TCodeForms formsOf;
  forms.clear();
  if (!CodesOf(sjisText, codes, formsOf)) return false;
  FillForms(formsOf);
  return Compose(codes, formsOf, forms);
}

TUtf8LineFinder::TUtf8LineFinder(const std::vector<std::vector<std::string>>& required, bool foldCase)
    : foldCase_(foldCase) {
  std::vector<std::vector<std::vector<unsigned>>> codes(required.size());
  TCodeForms formsOf;
  std::vector<bool> usable(required.size(), true);
  for (std::size_t c = 0; c < required.size(); ++c) {
    usable[c] = !required[c].empty();
    for (const std::string& a : required[c]) {
      codes[c].emplace_back();
      usable[c] = usable[c] && CodesOf(a, codes[c].back(), formsOf);
    }
  }
  FillForms(formsOf);
  for (std::size_t c = 0; c < required.size(); ++c) {
    std::vector<std::string> all, forms;
    for (const std::vector<unsigned>& a : codes[c]) {
      usable[c] = usable[c] && Compose(a, formsOf, forms);
      all.insert(all.end(), forms.begin(), forms.end());
    }
    if (usable[c]) classes_.push_back(std::move(all));
  }
}

// The character whose forms are rarest in the sample anchors every later search.
void TUtf8LineFinder::Choose(std::string_view sample) {
  std::size_t best = 0, fewest = npos;
  for (std::size_t c = 0; c < classes_.size() && classes_.size() > 1; ++c) {
    const std::size_t count = CountOccurrences(classes_[c], sample, foldCase_);
    if (count < fewest) fewest = count, best = c;
  }
  finder_ = TAnyOfFinder(classes_[best], foldCase_);
  chosen_ = true;
}

bool TUtf8LineFinder::SearchPiece(std::string_view text, std::int64_t firstLine, TGrepLineSearcher& searcher,
                                  const TGrepLineHit& onHit, const std::atomic<bool>& cancel,
                                  std::atomic<std::int64_t>& currentLine, std::size_t& linesDone) {
  // A signature that opens a piece is dropped by the conversion too.
  if (text.substr(0, 3) == "\xEF\xBB\xBF" || text.substr(0, 3) == "\xEF\xBF\xBE") text.remove_prefix(3);
  if (!ConvertsCharByChar(text)) return false;
  if (!chosen_) Choose(text.substr(0, 16 << 10));
  finder_.Reset(text);
  THitLineWalk walk(text);
  std::size_t convertedBytes = 0;
  for (std::size_t from = 0; from < text.size() && !cancel.load(std::memory_order_relaxed);) {
    // Where most lines may match, a line at a time costs more than the rest of the piece at once;
    // a text that converts character by character gives the same either way.
    if (convertedBytes > text.size() / 8 && from < text.size() / 2) {
      converted_ = ConvertCharCode(text.substr(from), ckUtf8N, ckSjis);
      searcher.SearchPiece(converted_, firstLine + walk.Index(), 0, onHit, cancel, currentLine);
      linesDone = static_cast<std::size_t>(walk.Index()) + searcher.LinesDone();
      return true;
    }
    const std::size_t hit = finder_.Find(from);
    if (hit == npos) break;
    const THitLineWalk::TLine line = walk.LineOf(hit);
    currentLine.store(firstLine + walk.Index(), std::memory_order_relaxed);
    converted_ = ConvertCharCode(text.substr(line.Begin, line.End - line.Begin), ckUtf8N, ckSjis);
    convertedBytes += line.End - line.Begin;
    searcher.SearchPiece(converted_, firstLine + walk.Index(), 0, onHit, cancel, currentLine);
    from = walk.Next(line);
  }
  linesDone = walk.LineCount();
  return true;
}

}  // namespace vorn
