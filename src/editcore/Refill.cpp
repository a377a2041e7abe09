// RefillParagraph: the paragraph is cut into characters, spaced, then written line by line; each
// line is filled to the width and its break point moved by the word and kinsoku rules.
#include "editcore/Refill.h"

#include <algorithm>
#include <vector>

#include "base/sjis.h"

namespace vorn {

bool CharIn(std::string_view set, std::string_view ch) {
  if (ch.empty()) return false;
  for (std::size_t i = 0; i < set.size();) {
    const std::size_t len = sjis::CharLen(set, i);
    if (set.substr(i, len) == ch) return true;
    i += len;
  }
  return false;
}

int LeadingBlankLength(std::string_view s, bool wideSpace) {
  std::size_t i = 0;
  while (i < s.size()) {
    if (s[i] == ' ' || s[i] == '\t') {
      ++i;
    } else if (wideSpace && s.substr(i, 2) == "\x81\x40") {
      i += 2;
    } else {
      break;
    }
  }
  return static_cast<int>(i);
}

namespace {
int NextColumn(int col, char c, int tab) { return c == '\t' && tab > 0 ? (col / tab + 1) * tab : col + 1; }
}  // namespace

int RefillLineWidth(std::string_view line, int tabSpaceCount) {
  int col = 0;
  for (char c : line) col = NextColumn(col, c, tabSpaceCount);
  return col;
}

std::string ExpandTabsForRefill(std::string_view s, int tabSpaceCount, int wrapByte, int* caret) {
  const int tab = std::max(1, tabSpaceCount);
  std::string out;
  out.reserve(s.size());
  const int caretAt = caret ? *caret : -1;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\t') {
      out += s[i];
      continue;
    }
    const int col = static_cast<int>(out.size());
    int width = tab - col % tab;
    if (wrapByte > 0) width = std::min(width, wrapByte - col % wrapByte);
    width = std::max(1, width);
    out.append(static_cast<std::size_t>(width), ' ');
    if (caret && static_cast<int>(i) < caretAt) *caret += width - 1;
  }
  return out;
}

namespace {

// One character of the paragraph's body; Src is its byte in the paragraph, -1 for an added space.
struct TChar {
  std::string_view Bytes;
  int Src = -1;
  bool Double() const { return Bytes.size() == 2; }
};

const std::string_view kSpace = " ";

bool Blankish(const TChar& c) {
  return !c.Double() && (c.Bytes == " " || c.Bytes == "\t" || c.Bytes == "," || c.Bytes == ".");
}

// A space between double-byte and single-byte neighbours, except where the lists forbid it.
std::vector<TChar> Spaced(const std::vector<TChar>& in, const TRefillRules& r) {
  std::vector<TChar> out;
  out.reserve(in.size() + in.size() / 4);
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (i > 0) {
      const TChar& prev = in[i - 1];
      const TChar& cur = in[i];
      bool space = false;
      if (cur.Double() && !prev.Double() && !Blankish(prev))
        space = !CharIn(r.LeftUninsertSpaceStr, cur.Bytes) && !CharIn(r.RightUninsertSpaceStr, prev.Bytes);
      else if (!cur.Double() && !Blankish(cur) && prev.Double())
        space = !CharIn(r.RightUninsertSpaceStr, prev.Bytes) && !CharIn(r.LeftUninsertSpaceStr, cur.Bytes);
      if (space) out.push_back({kSpace, -1});
    }
    out.push_back(in[i]);
  }
  return out;
}

class TRefiller {
public:
  TRefiller(const TRefillRules& r, std::vector<TChar> body, std::string prefix, int commentLen, std::string item)
      : r_(r), body_(std::move(body)), prefix_(std::move(prefix)), commentLen_(commentLen), item_(std::move(item)) {}

  // Lays out every line; caretChar is the body index whose output byte is wanted (or -1).
  std::string Run(int caretChar, int& caretOut) {
    caretChar_ = caretChar;
    const std::string hanging(static_cast<std::size_t>(RefillLineWidth(item_, r_.TabSpaceCount)), ' ');
    bool first = true;
    while (true) {
      StartLine(prefix_ + (first ? item_ : hanging));
      while (b_ < Size() && Width() < r_.WrapCount) Append();
      if (b_ < Size()) AdjustBreak();
      EndLine();
      first = false;
      if (b_ < Size() && body_[static_cast<std::size_t>(b_)].Bytes == " ") {
        if (caretChar_ == b_) ++caretChar_;
        ++b_;
      }
      if (b_ >= Size()) break;
    }
    caretOut = caretOut_ >= 0 ? caretOut_ : (caretChar_ >= 0 ? static_cast<int>(out_.size()) - 2 : -1);
    return std::move(out_);
  }

private:
  int Size() const { return static_cast<int>(body_.size()); }
  const TChar& At(int i) const { return body_[static_cast<std::size_t>(i)]; }
  int Width() const { return cols_.empty() ? headCol_ : cols_.back(); }
  bool HasBody() const { return b_ > firstB_; }
  const TChar& Last() const { return At(b_ - 1); }
  bool WordChar(const TChar& c) const { return !c.Double() && kWordBreakSet.find(c.Bytes[0]) == std::string_view::npos; }

  void StartLine(std::string head) {
    head_ = std::move(head);
    headCol_ = RefillLineWidth(head_, r_.TabSpaceCount);
    firstB_ = b_;
    cols_.clear();
  }
  void Append() {
    // A tab's stop counts from the line start, the head included.
    int col = Width();
    for (char c : At(b_).Bytes) col = NextColumn(col, c, r_.TabSpaceCount);
    cols_.push_back(col);
    ++b_;
  }
  void TakeBack() {
    cols_.pop_back();
    --b_;
  }
  // Single-byte word characters go to the next line while t stays below limit.
  void TakeBackWord(int& t, int limit) {
    while (t < limit && HasBody() && WordChar(Last())) {
      TakeBack();
      ++t;
    }
  }

  void AdjustBreak() {
    const int w = r_.WrapCount;
    int t = 0;
    // English words are not split: up to three more letters finish the word, or it moves down.
    if (r_.WordWrap && WordChar(At(b_)) && HasBody() && WordChar(Last())) {
      int k = 0;
      for (int j = 1; j <= 3 && b_ + j < Size(); ++j) {
        const TChar& c = At(b_ + j);
        if (c.Double() || !WordChar(c)) {
          k = j;
          break;
        }
      }
      if (k > 0) {
        for (int j = 0; j < k; ++j) Append();
        t = k;
      } else {
        const int g = static_cast<int>(prefix_.size()) + commentLen_;
        TakeBackWord(t, (w - g) / 3 * 2);
      }
    }
    if (b_ < Size() && CharIn(r_.FollowStr, At(b_).Bytes)) {
      t -= static_cast<int>(At(b_).Bytes.size());
      Append();
    }
    if (HasBody() && CharIn(r_.LeadStr, Last().Bytes)) {
      t += static_cast<int>(Last().Bytes.size());
      TakeBack();
    }
    // A run of characters that may not start a line pulls characters down with it, but never
    // into the line's prefix: an empty line then takes the rest (below).
    while (b_ < Size() && CharIn(r_.FollowStr, At(b_).Bytes) && HasBody()) {
      if (Last().Double()) {
        TakeBack();
        break;
      }
      if (r_.WordWrap) {
        TakeBackWord(t, w / 3 * 2);
        break;
      }
      TakeBack();
    }
    if (!HasBody())
      while (b_ < Size()) Append();
  }

  void EndLine() {
    out_ += head_;
    for (int i = firstB_; i < b_; ++i) {
      if (i == caretChar_) caretOut_ = static_cast<int>(out_.size());
      out_.append(At(i).Bytes);
    }
    out_ += "\r\n";
  }

  const TRefillRules& r_;
  std::vector<TChar> body_;
  std::string prefix_;
  int commentLen_;
  std::string item_;
  std::string out_;
  std::string head_;
  int headCol_ = 0;
  int firstB_ = 0;
  int b_ = 0;
  std::vector<int> cols_;
  int caretChar_ = -1;
  int caretOut_ = -1;
};

}  // namespace

TRefillResult RefillParagraph(std::string_view p, const TRefillRules& r, int caret) {
  // The last byte never counts as indentation, so a line of blanks keeps one to refill.
  const int indent = p.empty() ? 0 : LeadingBlankLength(p.substr(0, p.size() - 1), r.WSpaceIndent);
  std::size_t pos = static_cast<std::size_t>(indent);
  std::string prefix(p.substr(0, pos));
  int commentLen = 0;
  if (r.CommentThrough && r.Comment) {
    commentLen = r.Comment(p.substr(pos));
    prefix.append(p.substr(pos, static_cast<std::size_t>(commentLen)));
    pos += static_cast<std::size_t>(commentLen);
  }
  std::string item;
  if (r.Item) {
    const int n = r.Item(p.substr(pos));
    item.assign(p.substr(pos, static_cast<std::size_t>(n)));
    pos += static_cast<std::size_t>(n);
  }
  TRefillResult result;
  // The head of the first line is written as it was, so a caret there keeps its byte.
  if (caret >= 0 && caret < static_cast<int>(pos)) result.Caret = caret;
  if (pos >= p.size()) {
    result.Text = prefix + item + "\r\n";
    if (caret >= 0 && result.Caret < 0) result.Caret = static_cast<int>(result.Text.size()) - 2;
    return result;
  }
  std::vector<TChar> body;
  body.reserve(p.size() - pos);
  for (std::size_t i = pos; i < p.size();) {
    const std::size_t len = sjis::CharLen(p, i);
    body.push_back({p.substr(i, len), static_cast<int>(i)});
    i += len;
  }
  if (r.InsertSpace) body = Spaced(body, r);
  int caretChar = -1;
  if (caret >= static_cast<int>(pos)) {
    const auto it = std::find_if(body.begin(), body.end(), [caret](const TChar& c) { return c.Src >= caret; });
    caretChar = static_cast<int>(it - body.begin());
  }
  int caretOut = -1;
  TRefiller refiller(r, std::move(body), std::move(prefix), commentLen, std::move(item));
  result.Text = refiller.Run(caretChar, caretOut);
  if (result.Caret < 0) result.Caret = caretOut;
  return result;
}

}  // namespace vorn
