// The syntax tokenizer: cuts one row (or logical line) of Shift_JIS text into coloured token kinds.
#pragma once

#include "base/sjis.h"
#include "syntax/EditParserOptions.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace vorn {

// Token kinds; the values are stored nowhere but the renderer's colour mapping depends on them.
enum TTokenKind : std::uint8_t {
  tkEndOfLine = 0,
  tkSymbol = 1,
  tkQuotation = 2,
  tkInteger = 3,
  tkReal = 4,
  tkBracket = 6,
  tkComment = 7,
  tkIdentifier = 8,
  tkTab = 9,
  tkSpaces = 10,
  tkWideSymbol = 11,
  tkWideDigits = 12,
  tkWideLatin = 14,
  tkHiragana = 15,
  tkKatakana = 16,
  tkKanji = 17,
  tkHalfPunct = 18,
  tkHalfKana = 19,
  tkUrl = 20,
  tkMailAddress = 21,
  tkFileName = 22,
  tkMailId = 23,
  tkVendor = 24,
  tkUnassigned = 25,
  tkControl = 26,
};

// Bracket states carried in the row words.
constexpr int BracketStateUnknown = -2;
constexpr int BracketStateOutside = -1;

// Mail and URL character sets, exposed for the renderer's and the formatter's own scans.
bool IsMailChar(unsigned char c);
bool IsUrlChar(unsigned char c);

// Copies the left match's groups into a back-referencing right pattern and recompiles it.
void PrepareRightBracket(TVornEditBracketItem& item);

class TVornEditParser {
public:
  // The text is not copied: it must outlive the parser. owner may be null (character classes only).
  TVornEditParser(const TVornEditViewInfo* owner, std::string_view text, bool plain, int state);
  // Starts at offset instead of the text's start (see ResumeAt).
  TVornEditParser(const TVornEditViewInfo* owner, std::string_view text, bool plain, int state, int offset);
  virtual ~TVornEditParser() = default;

  virtual TTokenKind NextToken();
  // Continues at offset (a token boundary found by an earlier walk) in state, so that a painter
  // can start inside a long line without tokenising everything before it.
  TTokenKind ResumeAt(int offset, int state);

  TTokenKind Kind() const { return kind_; }
  int State() const { return state_; }
  int BracketIndex() const { return bracketIndex_; }
  bool Fresh() const { return fresh_; }
  bool Plain() const { return plain_; }
  int Length() const { return length_; }
  const char* Start() const { return start_; }
  int TokenOffset() const { return tokenStart_; }
  int TokenEnd() const { return tokenEnd_; }
  std::string TokenText() const { return std::string(start_ + tokenStart_, tokenEnd_ - tokenStart_); }
  const TVornEditViewInfo* Owner() const { return owner_; }

protected:
  bool AtLineEnd(int p) const {
    if (p >= length_) return true;
    const unsigned char c = At(p);
    return c == 0 || c == '\r' || c == '\n';
  }
  // Length of the character at p, never reaching over the line end (a lone lead byte is one byte).
  int CharLenAt(int p) const {
    const unsigned char c = At(p);
    return sjis::IsLeadByte(c) && !AtLineEnd(p + 1) ? 2 : 1;
  }
  unsigned char At(int p) const { return static_cast<unsigned char>(start_[p]); }

private:
  bool TryOwnerToken(int p);
  bool TryBracketStart(int p);
  int ScanBracketBody(int p, const TVornEditBracketItem& item);
  int ScanQuotation(int p, std::size_t quoteIndex) const;
  int ScanFileName(int p) const;
  int ScanMailId(int p) const;
  int ScanMailAddress(int p) const;
  int ScanUrl(int p) const;
  int ScanNumber(int p, TTokenKind& kind) const;
  int ScanCharClass(int p, TTokenKind& kind) const;
  bool Matches(TBregexpObj& pattern, int p, int& len) const;

  const TVornEditViewInfo* owner_;
  int state_;
  int bracketIndex_ = -2;
  const char* start_;
  int tokenEnd_ = 0;
  int tokenStart_ = 0;
  TTokenKind kind_ = tkEndOfLine;
  bool fresh_ = true;
  int length_;
  bool plain_;
};

// The control creates its parsers through this, so that a descendant control can supply another tokenizer.
using TParserFactory =
    std::function<std::unique_ptr<TVornEditParser>(const TVornEditViewInfo*, std::string_view, bool, int)>;
TParserFactory DefaultParserFactory();

}  // namespace vorn
