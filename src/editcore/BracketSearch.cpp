// The search for the bracket or begin/end that matches the token at the caret.
#include <algorithm>
#include <cstring>
#include <strings.h>
#include <utility>
#include <vector>

#include "editcore/EditCore.h"
#include "syntax/EditParser.h"

namespace vorn {
namespace {

struct TBracketPair {
  std::string_view Open;
  std::string_view Close;
  bool Forward = true;
};

// Most tokens differ from a bracket in their first byte: that is tested before a comparison call.
bool SameSymbol(std::string_view a, std::string_view b) {
  return a.size() == b.size() && !a.empty() && a[0] == b[0] && a == b;
}

bool SameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool PairFor(std::string_view token, TBracketPair& pair) {
  static constexpr std::string_view kPairs[][2] = {{"{", "}"}, {"(", ")"}, {"[", "]"}, {"<", ">"}};
  for (const auto& p : kPairs) {
    if (token == p[0]) pair = {p[0], p[1], true};
    if (token == p[1]) pair = {p[0], p[1], false};
    if (token == p[0] || token == p[1]) return true;
  }
  if (SameWord(token, "begin") || SameWord(token, "try") || SameWord(token, "case")) {
    pair = {"begin", "end", true};
    return true;
  }
  if (SameWord(token, "end")) {
    pair = {"begin", "end", false};
    return true;
  }
  return false;
}

// "try" and "case" open blocks that "end" closes.
bool Opens(const TBracketPair& pair, std::string_view token) {
  if (pair.Open == "begin") return SameWord(token, "begin") || SameWord(token, "try") || SameWord(token, "case");
  return SameSymbol(token, pair.Open);
}
bool Closes(const TBracketPair& pair, std::string_view token) {
  return pair.Open == "begin" ? SameWord(token, pair.Close) : SameSymbol(token, pair.Close);
}

// What a byte may start, one table lookup a byte: a counted token (lines without one need no
// tokenizing, most of a long text), or a region or comment (lines outside every region without
// one stay outside).
enum : unsigned char { kPairByte = 1, kRegionByte = 2 };

struct TByteKinds {
  unsigned char Of[256] = {};
  unsigned char In(std::string_view text) const {
    unsigned char kinds = 0;
    for (char c : text) kinds |= Of[static_cast<unsigned char>(c)];
    return kinds;
  }
};

TByteKinds KindsFor(const TBracketPair& pair, const TVornEditViewInfo* view) {
  TByteKinds k;
  const auto mark = [&k](char c) { k.Of[static_cast<unsigned char>(c)] |= kPairByte; };
  if (pair.Open != "begin") {
    mark(pair.Open[0]);
    mark(pair.Close[0]);
  } else {
    for (char c : std::string_view("betcBETC")) mark(c);
  }
  if (view)
    for (int c = 0; c < 256; ++c)
      if (view->MayStartBracketOrComment(static_cast<unsigned char>(c))) k.Of[c] |= kRegionByte;
  return k;
}

// The rows' bytes and words, read a chunk at a time through the store's block walk: asked for
// by index, each costs a block lookup, and a search across a million lines asks several per line.
class TRowCursor {
public:
  explicit TRowCursor(const TVornEditScreenStrings& store) : store_(store), count_(store.Count()) {}
  // row < the store's row count.
  std::string_view Text(int row) { return At(row).first; }
  TRowEnd End(int row) { return At(row).second.End(); }
  int BracketState(int row) { return At(row).second.BracketState(); }

private:
  static constexpr int kChunk = 4096;
  const std::pair<std::string_view, TRowWord>& At(int row) {
    if (row < first_ || row >= first_ + static_cast<int>(rows_.size())) Load(row);
    return rows_[static_cast<std::size_t>(row - first_)];
  }
  // Around row, so that walking up reads a chunk as seldom as walking down.
  void Load(int row) {
    first_ = std::max(0, std::min(row - kChunk / 2, count_ - kChunk));
    rows_.clear();
    store_.ForEachRow(first_, std::min(kChunk, count_ - first_),
                      [this](std::string_view text, TRowWord word) { rows_.emplace_back(text, word); });
  }

  const TVornEditScreenStrings& store_;
  const int count_;
  int first_ = 0;
  std::vector<std::pair<std::string_view, TRowWord>> rows_;
};

struct TToken {
  int Start = 0;
  int End = 0;
  std::string_view Text;
};

// The tokens of a logical line as the view colours them; regions (comments, quotations, bracket
// regions) are one token each and never equal a bracket.
// Answers the state at the line's end, or BracketStateUnknown when f stopped the walk.
template <class F>
int ForEachToken(const TVornEditViewInfo* view, std::string_view line, int state, F&& f) {
  TVornEditParser parser(view, line, view == nullptr, state < BracketStateOutside ? BracketStateOutside : state);
  for (TTokenKind kind = parser.Kind(); kind != tkEndOfLine; kind = parser.NextToken()) {
    if (kind == tkBracket || kind == tkComment || kind == tkQuotation) continue;
    const int start = parser.TokenOffset(), end = parser.TokenEnd();
    if (!f(TToken{start, end, line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start))}))
      return BracketStateUnknown;
  }
  return parser.State();
}

}  // namespace

int TVornEditCore::SearchBracket(TMoveFlags f) {
  int firstRow = 0, start = 0, end = 0;
  if (!TokenAtCaret(firstRow, start, end) || end <= start) return -1;
  const std::string caretLine = store_->GetRowsText(firstRow, -1);
  TBracketPair pair;
  if (!PairFor(std::string_view(caretLine).substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)),
               pair))
    return -1;
  int depth = 1;
  int foundRow = -1, foundOffset = 0;
  // The state at the start of the line being scanned. Rows below what the views have walked
  // have none stored yet: going down, it is carried over from the rows above.
  int lineState = BracketStateOutside;
  // Going up from such a row, the states from the last row that has one down to the caret's
  // line are walked first.
  std::vector<int> walked;
  int walkedFrom = firstRow + 1;
  TRowCursor rows(*store_);
  const TByteKinds kinds = KindsFor(pair, viewInfo_);
  // The byte kinds of the line the forward scan read last, for the carry-over after it.
  int kindsRow = -1;
  unsigned char lineKinds = 0;
  if (!pair.Forward && firstRow < RowCount() && store_->BracketState(firstRow) == BracketStateUnknown) {
    walkedFrom = firstRow;
    while (walkedFrom > 0 && store_->BracketState(walkedFrom) == BracketStateUnknown) --walkedFrom;
    int state = store_->BracketState(walkedFrom);
    if (state == BracketStateUnknown) state = BracketStateOutside;
    walked.push_back(state);
    for (int r = walkedFrom; r < firstRow; ++r) walked.push_back(state = store_->Brackets().RowEndState(*store_, r, state));
  }
  const auto stateAt = [&](int row) {
    if (row >= walkedFrom && row <= firstRow) return walked[static_cast<std::size_t>(row - walkedFrom)];
    const int stored = row < RowCount() ? rows.BracketState(row) : BracketStateOutside;
    return stored == BracketStateUnknown ? lineState : stored;
  };
  // The end state of the line the forward scan tokenized last, when it walked it whole.
  int scannedEnd = BracketStateUnknown;
  const auto carryOver = [&](int first, int next) {
    const int walkedEnd = scannedEnd;
    scannedEnd = BracketStateUnknown;
    if (next >= RowCount() || rows.BracketState(next) != BracketStateUnknown) return;
    if (walkedEnd != BracketStateUnknown) {
      lineState = walkedEnd;
      return;
    }
    int state = stateAt(first);
    if (state == BracketStateOutside && viewInfo_) {
      bool opens = false;
      if (first == kindsRow)
        opens = (lineKinds & kRegionByte) != 0;
      else
        for (int r = first; r < next && !opens; ++r) opens = (kinds.In(rows.Text(r)) & kRegionByte) != 0;
      if (!opens) {
        lineState = state;
        return;
      }
    }
    for (int r = first; r < next; ++r) state = store_->Brackets().RowEndState(*store_, r, state);
    lineState = state;
  };
  // Scans line (first row `row`); true once the match is found there.
  const auto scan = [&](int row, std::string_view line, bool caretsLine) {
    if (!caretsLine) {
      kindsRow = row;
      lineKinds = kinds.In(line);
      if (!(lineKinds & kPairByte)) return false;
    }
    const int state = stateAt(row);
    if (pair.Forward) {
      scannedEnd = ForEachToken(viewInfo_, line, state, [&](const TToken& t) {
        if (caretsLine && t.Start <= start) return true;
        if (Closes(pair, t.Text)) --depth;
        else if (Opens(pair, t.Text)) ++depth;
        if (depth > 0) return true;
        foundRow = row;
        foundOffset = t.Start;
        return false;
      });
      return foundRow >= 0;
    }
    std::vector<TToken> tokens;
    ForEachToken(viewInfo_, line, state, [&](const TToken& t) {
      if (caretsLine && t.End > start) return false;
      tokens.push_back(t);
      return true;
    });
    for (auto it = tokens.rbegin(); it != tokens.rend(); ++it) {
      if (Opens(pair, it->Text)) --depth;
      else if (Closes(pair, it->Text)) ++depth;
      if (depth > 0) continue;
      foundRow = row;
      foundOffset = it->Start;
      return true;
    }
    return false;
  };
  std::string line = caretLine;
  if (line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) line.resize(line.size() - 2);
  bool found = scan(firstRow, line, true);
  if (pair.Forward) {
    std::string joined;
    const int count = RowCount();
    for (int row = firstRow; !found;) {
      const int previous = row;
      while (row < count && rows.End(row) == reWrapped) ++row;
      if (++row >= count) break;
      carryOver(previous, row);
      const int lineRow = row;
      if (rows.End(row) != reWrapped) {
        found = scan(lineRow, rows.Text(row), false);
        continue;
      }
      joined.clear();
      for (; row < count; ++row) {
        joined.append(rows.Text(row));
        if (rows.End(row) != reWrapped) break;
      }
      found = scan(lineRow, joined, false);
    }
  } else {
    for (int row = firstRow; !found && row > 0;) {
      const int last = row - 1;
      row = store_->FirstRowOfLine(last);
      line.clear();
      for (int r = row; r <= last; ++r) line.append(rows.Text(r));
      found = scan(row, line, false);
    }
  }
  if (!found) return pair.Forward ? -2 : -3;
  const bool extend = BeginMove(f);
  SetCaretRowOffset(foundRow, foundOffset);
  EndMove(f, extend);
  return 0;
}

}  // namespace vorn
