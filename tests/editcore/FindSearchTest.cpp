// The control's search: find down and up against a model, multi-line and empty matches, replace
// all in a range as one undo step, the range following edits, marks and the bracket search.
#include "editcore/EditCore.h"

#include <random>
#include <vector>

#include "CoreFixture.h"
#include "base/ByteBuffer.h"
#include "base/sjis.h"
#include "editcore/LineSearchText.h"
#include "editcore/ReplacedPieceWriter.h"
#include "layout/StoreWrap.h"

namespace vorn::test {
namespace {

class FindTest : public CoreTest {
protected:
  // A fresh text with nothing selected: a search starts after a selection a search made.
  void Load(const std::string& text, const TCoreOptions& o = {}) {
    core.ClearSelection();
    CoreTest::Load(text, o);
    core.ClearSelection();
  }
  void Condition(const std::string& pattern, bool regex = false, bool fuzzy = false) {
    TVornEditKeyword& c = core.FindCondition();
    c.SetPattern(pattern);
    c.SetPlainText(!regex);
    c.SetFuzzy(fuzzy);
    c.SetIgnoreCase(false);
    c.SetReplaceMode(false);
  }
  void Replacing(const std::string& with) {
    core.FindCondition().SetReplaceText(with);
    core.FindCondition().SetReplaceMode(true);
    core.FindCondition().Reset();
  }
  // The selection as (offset, length) in the CR LF text.
  std::pair<int, int> Sel() const {
    const TTextRange r = core.SelectionOffsets();
    return {r.Start, r.End - r.Start};
  }
};

// Every start of needle on a character start of each line, in CR LF offsets: what repeated
// searches down must visit in order (and up in reverse).
std::vector<int> ModelMatches(const std::string& text, const std::string& needle) {
  std::vector<int> out;
  std::size_t lineStart = 0;
  while (lineStart <= text.size()) {
    std::size_t lineEnd = text.find("\r\n", lineStart);
    if (lineEnd == std::string::npos) lineEnd = text.size();
    for (std::size_t i = lineStart; i < lineEnd;) {
      if (text.compare(i, needle.size(), needle) == 0 && i + needle.size() <= lineEnd) out.push_back(static_cast<int>(i));
      i += sjis::IsLeadByte(text[i]) && i + 1 < lineEnd ? 2 : 1;
    }
    if (lineEnd == text.size()) break;
    lineStart = lineEnd + 2;
  }
  return out;
}

TEST_F(FindTest, RepeatedSearchesVisitTheModelsMatchesDownAndUpOnShiftJis) {
  // "ア" is 83 41: a search for "A" must never stop on its trail byte; "\x83" pieces make the
  // lead-byte runs that decide where characters start.
  const char* const pieces[] = {"A", "\x83\x41", "\x83\x83", "AB", "\r\n", " ", "\x82\xa0", "BA"};
  std::mt19937 rng(27);
  for (int round = 0; round < 60; ++round) {
    const std::string text = RandomText(rng, pieces, 40);
    Load(text, TCoreOptions{round % 3 == 0 ? 9 : 0});
    for (const std::string needle : {"A", "AB", "\x83\x41"}) {
      Condition(needle);
      const std::vector<int> model = ModelMatches(JoinedText(core), needle);
      core.ClearSelection();
      core.SetCaretPos(0, 0);
      std::vector<int> down;
      while (core.FindDown() & TVornEditCore::frFound) {
        down.push_back(Sel().first);
        ASSERT_LE(down.size(), model.size() + 1);
      }
      EXPECT_EQ(down, model) << "text " << round << " needle " << needle;
      core.MoveFileEnd();
      std::vector<int> up;
      while (core.FindUp() & TVornEditCore::frFound) {
        up.push_back(Sel().first);
        ASSERT_LE(up.size(), model.size() + 1);
      }
      EXPECT_EQ(std::vector<int>(up.rbegin(), up.rend()), model) << "text " << round << " needle " << needle;
    }
  }
}

TEST_F(FindTest, SearchDownInALoadedTextWithEditedLinesVisitsTheModelsMatches) {
  // Long enough that the loaded lines are scanned where they lie; the edited lines own copies
  // and break that run, so both ways and their seams are crossed.
  const char* const pieces[] = {"A", "\x83\x41", "\x83\x83", "AB", "\r\n", " ", "\x82\xa0", "BA", "\r\n"};
  std::mt19937 rng(2727);
  for (int round = 0; round < 8; ++round) {
    const std::string text = RandomText(rng, pieces, 6000);
    const int wrap = round % 2 == 1 ? 9 : 0;
    if (wrap > 0) WrapOptionOf(*store).SetWrapByte(wrap);
    store->SetWordWrap(wrap > 0);
    store->LoadFileImage(TByteBuffer(std::string(text)));
    core.ClearSelection();
    ASSERT_TRUE(store->RowBorrowed(store->Count() / 2));
    for (int edit = 0; edit < 6; ++edit) {
      const int first = store->FirstRowOfLine(static_cast<int>(rng() % static_cast<unsigned>(store->Count())));
      int rows = 0;
      const std::string line = store->GetRowsText(first, -1, nullptr, &rows);
      store->ReplaceRows(first, rows, (edit % 2 ? "AB\x83" : "x") + line);
    }
    for (const auto& [needle, regex] : {std::pair<std::string, bool>{"A", false}, {"AB", false}, {"\x83\x41", false},
                                        {"A[B]", true}, {"\x83\x41", true}}) {
      Condition(needle, regex);
      const std::vector<int> model = ModelMatches(JoinedText(core), regex && needle == "A[B]" ? "AB" : needle);
      core.ClearSelection();
      core.SetCaretPos(0, 0);
      std::vector<int> down;
      while (core.FindDown() & TVornEditCore::frFound) {
        down.push_back(Sel().first);
        ASSERT_LE(down.size(), model.size() + 1);
      }
      EXPECT_EQ(down, model) << "text " << round << " needle " << needle;
    }
  }
}

TEST_F(FindTest, RegexUpwardSearchStepsByWholeCharacters) {
  Load("\x83\x41");
  Condition(".", true);
  core.MoveFileEnd();
  ASSERT_TRUE(core.FindUp() & TVornEditCore::frFound);
  EXPECT_EQ(Sel(), std::make_pair(0, 2));
  // Fuzzy: one pattern finds katakana, hiragana and the half-width form.
  Load("\x82\xa9 \x83\x4a \xb6");
  Condition("\x83\x4a", false, true);
  std::vector<int> found;
  while (core.FindDown() & TVornEditCore::frFound) found.push_back(Sel().first);
  EXPECT_EQ(found, (std::vector<int>{0, 3, 6}));
}

TEST_F(FindTest, MultiLinePatternsEmptyMatchesAndTheUpwardLimit) {
  Load("xa\r\nbx\r\nab\r\n");
  Condition("a\\nb", true);
  ASSERT_TRUE(core.FindDown() & TVornEditCore::frFound);
  EXPECT_EQ(Sel(), std::make_pair(1, 4));
  EXPECT_FALSE(core.FindDown() & TVornEditCore::frFound);

  Load("one\r\ntwo\r\n");
  Condition("^", true);
  ASSERT_TRUE(core.FindDown() & TVornEditCore::frFound);
  EXPECT_EQ(Caret(), (TRowCol{0, 0}));
  ASSERT_TRUE(core.FindDown() & TVornEditCore::frFound);
  EXPECT_EQ(Caret().Row, 1);

  Load("ab ab ab\r\nab");
  Condition("ab");
  core.SetCaretPos(0, 5);
  ASSERT_TRUE(core.FindUp() & TVornEditCore::frFound);
  EXPECT_EQ(Sel(), std::make_pair(3, 2));
  // Letter case ignored: the text is compared as it is, not as an upper-cased copy.
  Load("x\r\nxAb");
  Condition("aB");
  core.FindCondition().SetIgnoreCase(true);
  ASSERT_TRUE(core.FindDown() & TVornEditCore::frFound);
  EXPECT_EQ(Sel(), std::make_pair(4, 2));
  core.MoveFileEnd();
  ASSERT_TRUE(core.FindUp() & TVornEditCore::frFound);
  EXPECT_EQ(Sel(), std::make_pair(4, 2));
}

// Walking up one long line with a regular expression reuses what the previous step found; an
// edit or another pattern between steps must not let it answer from the old text or pattern.
TEST_F(FindTest, RegexSearchUpALongLineFollowsEditsAndPatternChanges) {
  const char* const pieces[] = {"A", "\x83\x41", "\x83\x83", "AB", " ", "\x82\xa0", "BA", "BBBBBBBB"};
  std::mt19937 rng(2728);
  const auto before = [](std::vector<int> model, int limit) {
    std::erase_if(model, [limit](int p) { return p >= limit; });
    return std::vector<int>(model.rbegin(), model.rend());
  };
  for (int round = 0; round < 6; ++round) {
    std::string text;
    while (text.size() < 30000) text += pieces[rng() % 8];
    // Wrapped: unwrapped, the caret stops at the column limit, far before the line end.
    Load(text, TCoreOptions{round % 2 == 0 ? 9 : 64});
    Condition("A[B]", true);
    core.MoveFileEnd();
    std::vector<int> up;
    for (int i = 0; i < 300 && (core.FindUp() & TVornEditCore::frFound); ++i) up.push_back(Sel().first);
    const std::vector<int> all = before(ModelMatches(JoinedText(core), "AB"), 1 << 30);
    ASSERT_EQ(up, std::vector<int>(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(up.size()))) << "round " << round;
    // Text put in at the line start shifts every match the last step knew.
    const int at = Sel().first;
    core.SetCaretPos(0, 0);
    core.InsertText("ABAB");
    core.SetCaretOffset(at + 4);
    up.clear();
    for (int i = 0; i < 300 && (core.FindUp() & TVornEditCore::frFound); ++i) up.push_back(Sel().first);
    std::vector<int> model = before(ModelMatches(JoinedText(core), "AB"), at + 4);
    model.resize(std::min(model.size(), up.size()));
    ASSERT_EQ(up, model) << "round " << round;
    // Another pattern from where the walk stands, down to the line start.
    const int from = Sel().first;
    Condition("B[A]", true);
    up.clear();
    while (core.FindUp() & TVornEditCore::frFound) up.push_back(Sel().first);
    ASSERT_EQ(up, before(ModelMatches(JoinedText(core), "BA"), from)) << "round " << round;
  }
}

// needle replaced left to right at character starts within each line, in lines [first, end).
std::string ModelReplace(const std::string& text, const std::string& needle, const std::string& with, int first,
                         int end) {
  std::string out;
  int line = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (text.compare(i, 2, "\r\n") == 0) {
      out += "\r\n";
      i += 2;
      ++line;
    } else if (line >= first && line < end && text.compare(i, needle.size(), needle) == 0) {
      out += with;
      i += needle.size();
    } else {
      const std::size_t n = sjis::IsLeadByte(text[i]) && i + 1 < text.size() ? 2 : 1;
      out.append(text, i, n);
      i += n;
    }
  }
  return out;
}

// Replace all of a literal pattern takes the built-in scanner's way, of the same pattern as a
// regular expression the library's: over random Shift_JIS texts, in and out of a line range and
// with replacements that add lines, both give the model's text, and one undo the original.
TEST_F(FindTest, ReplaceAllLiteralAndRegexAgreeWithTheModel) {
  const char* const pieces[] = {"A", "\x83\x41", "\x83\x83", "AB", "\r\n", " ", "\x82\xa0", "BA"};
  std::mt19937 rng(2729);
  for (int round = 0; round < 40; ++round) {
    const std::string text = RandomText(rng, pieces, round % 4 == 0 ? 20000 : 60);
    const std::string needle = round % 3 == 0 ? "AB" : round % 3 == 1 ? "A" : "\x83\x41";
    const std::string with = round % 2 ? "<\r\n>" : "\x82\xa0";
    const bool ranged = round % 5 == 1;
    for (const bool regex : {false, true}) {
      Load(text);
      store->UndoObj().ClearAll();
      const std::string loaded = JoinedText(core);
      Condition(needle, regex);
      Replacing(with);
      // A range set before would have moved with the lines the load replaced.
      const int first = ranged ? 1 : 0, end = ranged ? 3 : 1 << 30;
      core.FindCondition().SetRangeStart(ranged ? first : -1);
      core.FindCondition().SetRangeEnd(ranged ? end : -1);
      core.SetCaretPos(0, 0);
      core.ReplaceAll();
      EXPECT_EQ(JoinedText(core), ModelReplace(loaded, needle, with, first, end))
          << "round " << round << (regex ? " regex" : " literal");
      core.Undo();
      EXPECT_EQ(JoinedText(core), loaded) << "round " << round;
    }
  }
}

// The first `limit` starts of needle (which may hold CR LF) at character starts of the whole
// text, left to right, replaced by with.
std::string ModelReplaceAcross(const std::string& text, const std::string& needle, const std::string& with, int limit) {
  std::string out;
  int made = 0;
  for (std::size_t i = 0; i < text.size();) {
    if (made < limit && text.compare(i, needle.size(), needle) == 0) {
      out += with;
      i += needle.size();
      ++made;
    } else {
      const std::size_t n = sjis::IsLeadByte(text[i]) && i + 1 < text.size() && text[i + 1] != '\r' ? 2 : 1;
      out.append(text, i, n);
      i += n;
    }
  }
  return out;
}

// Where two long texts part, for a failure message that fits on a screen.
std::string WhereTheyDiffer(const std::string& a, const std::string& b) {
  std::size_t at = 0;
  while (at < a.size() && at < b.size() && a[at] == b[at]) ++at;
  const std::size_t from = at > 20 ? at - 20 : 0;
  return " differ at " + std::to_string(at) + " of " + std::to_string(a.size()) + "/" + std::to_string(b.size()) +
         ": [" + a.substr(from, 40) + "] [" + b.substr(from, 40) + "]";
}

// A pattern across line ends sees the whole text in one piece and writes back only the lines
// its matches changed, while it searches too: over random texts, with matches that join, split and keep lines, and
// stopped after a random number of reports, the text is the model's with that many replaced,
// and one undo gives the original.
TEST_F(FindTest, MultiLineReplaceAllAgreesWithTheModelWhereverItStops) {
  const char* const pieces[] = {"A", "B", "\x83\x41", "AB", "\r\n", "\r\n", " ", "\x82\xa0"};
  const std::pair<const char*, const char*> needles[] = {{"A\\nB", "A\r\nB"}, {"B\\n", "B\r\n"}, {"\\n\x83\x41", "\r\n\x83\x41"}};
  const char* const withs[] = {"<\r\n>", "x", ""};
  std::mt19937 rng(5150);
  for (int round = 0; round < 60; ++round) {
    // Some texts are large enough to be written while they are searched.
    const std::string text = RandomText(rng, pieces, round % 20 == 0 ? 1500000 : round % 4 == 0 ? 40000 : 80);
    const auto& [pattern, needle] = needles[round % 3];
    const std::string with = withs[(round / 3) % 3];
    Load(text);
    store->UndoObj().ClearAll();
    const std::string loaded = JoinedText(core);
    Condition(pattern, true);
    Replacing(with);
    core.SetCaretPos(0, 0);
    const int stopAt = round % 2 ? 1 + static_cast<int>(rng() % 4) : 1 << 30;
    int reports = 0;
    const int made = core.ReplaceAll(0, [&](int kind, int, int) { return kind == 0 && ++reports >= stopAt ? 0 : 1; });
    const std::string model = ModelReplaceAcross(loaded, needle, with, std::max(made, 0));
    ASSERT_TRUE(JoinedText(core) == model) << "round " << round << " made " << made << WhereTheyDiffer(JoinedText(core), model);
    if (made > 0) core.Undo();
    ASSERT_TRUE(JoinedText(core) == loaded) << "round " << round << " undone" << WhereTheyDiffer(JoinedText(core), loaded);
  }
}

// A piece written while it is still searched: with write points every few bytes, a random
// number of writes allowed, rows that wrap, a search that starts inside the first line and a
// stop after a random number of reports, the text is the model's with that many replaced, the
// writes stay within the allowed undo records, and one undo gives the original.
TEST_F(FindTest, APieceWrittenWhileItIsSearchedAgreesWithTheModel) {
  const char* const pieces[] = {"A", "B", "\x83\x41", "AB", "\r\n", "\r\n", "\r\n", " ", "\x82\xa0"};
  const std::pair<const char*, const char*> needles[] = {{"B\\n", "B\r\n"}, {"A\\nB", "A\r\nB"}, {"\\n\x83\x41", "\r\n\x83\x41"}};
  const char* const withs[] = {"x", "<\r\n>", "", "B\r\n"};
  std::mt19937 rng(2727);
  for (int round = 0; round < 240; ++round) {
    Load(RandomText(rng, pieces, 200 + static_cast<int>(rng() % 3000)), TCoreOptions{round % 3 == 0 ? 7 : 0});
    store->UndoObj().ClearAll();
    const std::string loaded = JoinedText(core);
    const auto& [pattern, needle] = needles[round % 3];
    const std::string with = withs[rng() % 4];
    Condition(pattern, true);
    Replacing(with);
    TVornEditKeyword& c = core.FindCondition();
    c.SetGlobalReplace(true);
    ASSERT_TRUE(c.Compile());
    TLineRun run;
    CollectLineRun(*store, 0, 0, store->LineCount(), loaded.size() + 1, run);
    const bool lastBroken = store->RowEnd(store->Count() - 1) == reLineEnd;
    if (!lastBroken) run.Text.pop_back();
    const int from = rng() % 2 && !run.Text.empty() && run.Text[0] != '\n' && !sjis::IsLeadByte(run.Text[0]) ? 1 : 0;
    TPieceWriteLimits limits;
    limits.MostWrites = 1 + rng() % 60;
    limits.WriteEvery = 1 + rng() % 200;
    const int stopAt = round % 2 ? 1 + static_cast<int>(rng() % 6) : 1 << 30;
    int reports = 0;
    store->UndoObj().BeginGroup();
    store->BeginUpdate();
    TReplacedPieceWriter writer(*store, run, run.Text.size(), from, [] { return TRowCol{}; }, limits);
    const int made = c.ReplaceIn(
        run.Text, from, [&](int kind, int, int) { return kind == 0 && ++reports >= stopAt ? 0 : 1; },
        [&writer](const TSubstitution& s, std::string_view output) { writer.Add(s, output); });
    if (made > 0) writer.Finish(made, run.Text, lastBroken);
    store->EndUpdate();
    store->UndoObj().EndGroup();
    const std::string model = loaded.substr(0, static_cast<std::size_t>(from)) +
                              ModelReplaceAcross(loaded.substr(static_cast<std::size_t>(from)), needle, with, std::max(made, 0));
    ASSERT_TRUE(JoinedText(core) == model) << "round " << round << " made " << made << WhereTheyDiffer(JoinedText(core), model);
    EXPECT_LE(static_cast<std::size_t>(store->UndoObj().UndoList().Count()), limits.MostWrites) << "round " << round;
    if (made > 0) core.Undo();
    ASSERT_TRUE(JoinedText(core) == loaded) << "round " << round << " undone" << WhereTheyDiffer(JoinedText(core), loaded);
  }
}

TEST_F(FindTest, ReplaceAllInALineRangeIsOneUndoStepAndKeepsTheCaret) {
  std::string text;
  for (int i = 0; i < 30; ++i) text += "k" + std::to_string(i) + " x\r\n";
  Load(text);
  Condition("k([0-9]+)", true);
  Replacing("<\\1>");
  core.FindCondition().SetRangeStart(10);
  core.FindCondition().SetRangeEnd(20);
  core.SetCaretPos(2, 1);  // before the range: replacing starts at its first line
  EXPECT_EQ(core.ReplaceAll(), 10);
  EXPECT_EQ(core.Caret(), (TRowCol{2, 1}));
  EXPECT_EQ(core.GetRowText(9), "k9 x");
  EXPECT_EQ(core.GetRowText(10), "<10> x");
  EXPECT_EQ(core.GetRowText(19), "<19> x");
  EXPECT_EQ(core.GetRowText(20), "k20 x");
  core.Undo();
  EXPECT_EQ(JoinedText(core), text);
}

TEST_F(FindTest, ReplaceAllOfAWholeLargeTextInPiecesUndoesAtOnce) {
  std::string text;
  for (int i = 0; i < 60000; ++i) text += "\x83\x41 aa bb cc dd ee ff gg hh\r\n";  // ~1.7 MB: several pieces
  Load(text);
  Condition("aa");
  Replacing("A\r\nA");
  int reports = 0;
  EXPECT_EQ(core.ReplaceAll(0, [&](int, int, int) { return ++reports, 1; }), 60000);
  EXPECT_EQ(core.RowCount(), 120000);
  EXPECT_EQ(core.GetRowText(1), "A bb cc dd ee ff gg hh");
  core.Undo();
  EXPECT_EQ(JoinedText(core), text);
  // A cancel keeps what was replaced, still as one step.
  int calls = 0;
  const int made = core.ReplaceAll(0, [&](int kind, int, int) { return kind == 0 && ++calls > 2 ? 0 : 1; });
  EXPECT_GT(made, 0);
  EXPECT_LT(made, 60000);
  core.Undo();
  EXPECT_EQ(JoinedText(core), text);
}

// Every text change the store delivers, as a journal keeps it: where it starts, how much it
// removed and the text it put there. Replayed over the text as it was, they give the text.
class TDeliveredEdits : public TVornEditView {
public:
  explicit TDeliveredEdits(TVornEditScreenStrings& store)
      : TVornEditView(geometry_), store_(store), text_(store.GetRowsText(0, store.Count())) {
    store_.AttachView(*this);
  }
  ~TDeliveredEdits() override { store_.DetachView(*this); }
  void StoreChanged(const TStoreChange& change) override {
    if (!change.TextChanged()) return;
    ++deliveries;
    EXPECT_FALSE(change.InRow || change.WholeStore());
    const auto offset = static_cast<std::size_t>(store_.TextOffsetOfRow(change.FirstRow));
    const std::string inserted = store_.GetRowsText(change.FirstRow, change.RowsInserted);
    const auto total = static_cast<std::size_t>(store_.TextOffsetOfRow(store_.Count()));
    text_.replace(offset, inserted.size() + text_.size() - total, inserted);
  }
  const std::string& Replayed() const { return text_; }
  int deliveries = 0;

private:
  TFixedGeometry geometry_;
  TVornEditScreenStrings& store_;
  std::string text_;
};

TEST_F(FindTest, AStoppedReplaceAllKeepsTheLinesReplacedBeforeTheStopAsOneUndoStep) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "line " + std::to_string(i) + " aa\r\n";  // ~3.4 MB: several pieces
  Load(text);
  Condition("aa");
  Replacing("B");
  TDeliveredEdits delivered(*store);
  // Stopped in the middle of a later piece: everything before the stop is replaced, nothing after.
  bool stop = false;
  const int made = core.ReplaceAll(0, [&](int kind, int, int position) {
    stop = stop || (kind == 0 && position > 1800000);
    return stop ? 0 : 1;
  });
  ASSERT_GT(made, 100000);
  ASSERT_LT(made, 200000);
  int replacedRows = 0;
  while (replacedRows < core.RowCount() && core.GetRowText(replacedRows).ends_with(" B")) ++replacedRows;
  EXPECT_EQ(replacedRows, made);
  for (int r = made; r < 200000; r += 997) EXPECT_TRUE(core.GetRowText(r).ends_with(" aa")) << r;
  // The views took the pieces as they were written, each a change they can follow.
  EXPECT_GT(delivered.deliveries, 1);
  EXPECT_TRUE(delivered.Replayed() == JoinedText(core));
  core.Undo();
  EXPECT_EQ(JoinedText(core), text);
  EXPECT_TRUE(delivered.Replayed() == text);

  // Four matches, too few for the engine to report on: the stop is still heard between pieces.
  text.clear();
  for (int i = 0; i < 200000; ++i) text += "line " + std::to_string(i) + (i % 50000 ? " xx\r\n" : " aa\r\n");
  Load(text);
  const int sparse = core.ReplaceAll(0, [](int kind, int, int) { return kind == 0 ? 0 : 1; });
  EXPECT_GT(sparse, 0);
  EXPECT_LT(sparse, 4);
  core.Undo();
  EXPECT_EQ(JoinedText(core), text);
}

// A pattern across line ends replaces in one piece of the whole range; stopped there, the lines
// after the last replacement are left as they were, and what was replaced is one undo step.
TEST_F(FindTest, AStoppedMultiLineReplaceAllKeepsItsReplacementsAndTheRest) {
  std::string text, model;
  for (int i = 0; i < 150000; ++i) {
    const std::string line = "L" + std::to_string(i) + (i < 10 ? " aa" : " xx");
    text += line + "\r\n";
    model += i < 10 ? "L" + std::to_string(i) + " <>" : line + "\r\n";
  }
  Load(text);
  store->UndoObj().ClearAll();
  Condition("aa\\nL", true);
  Replacing("<>L");
  // Heard while the lines are gathered, before any search: nothing is replaced.
  EXPECT_EQ(core.ReplaceAll(0, [](int kind, int, int) { return kind == 0 ? 0 : 1; }), 0);
  EXPECT_EQ(JoinedText(core), text);
  EXPECT_FALSE(core.CanUndo());
  // Ten matches, fewer than the library reports after: the stop comes from a search window.
  EXPECT_EQ(core.ReplaceAll(0, [](int kind, int, int position) { return kind == 0 && position > 0 ? 0 : 1; }), 10);
  EXPECT_EQ(JoinedText(core), model.substr(0, model.find("L10 ")) + "L10 xx\r\n" + text.substr(text.find("L11 ")));
  EXPECT_EQ(core.RowCount(), 150000 - 10);
  core.Undo();
  EXPECT_EQ(JoinedText(core), text);
}

TEST_F(FindTest, ConfirmedReplacementDownAndUp) {
  Load("a1 a2 a3");
  Condition("a");
  Replacing("bb");
  std::vector<int> answers = {TVornEditCore::caYes, TVornEditCore::caNo, TVornEditCore::caYes};
  std::size_t asked = 0;
  const auto confirm = [&] { return answers[asked++]; };
  for (int i = 0; i < 3; ++i) core.FindDown(confirm);
  EXPECT_EQ(core.GetRowText(0), "bb1 a2 bb3");
  // All: this one and the rest, then nothing is left to find.
  Load("a1 a2 a3");
  Condition("a");
  Replacing("c");
  const int r = core.FindDown([] { return TVornEditCore::caAll; });
  EXPECT_TRUE(r & TVornEditCore::frAllReplaced);
  EXPECT_EQ(core.GetRowText(0), "c1 c2 c3");
  // Up: the caret stays at the replaced match's start.
  Load("a1 a2");
  Condition("a");
  Replacing("zz");
  core.MoveLineEnd();
  EXPECT_TRUE(core.FindUp([] { return TVornEditCore::caYes; }) & TVornEditCore::frReplaced);
  EXPECT_EQ(core.GetRowText(0), "a1 zz2");
  EXPECT_EQ(Caret(), (TRowCol{0, 3}));
  EXPECT_EQ(core.FindUp() & TVornEditCore::frCancelled, TVornEditCore::frCancelled);
}

TEST_F(FindTest, RepeatedReplaceStopsAtTheRangeEnd) {
  Load("x\r\nx\r\nx\r\nx\r\n");
  Condition("x");
  Replacing("y");
  core.FindCondition().SetRepeatReplace(true);
  core.FindCondition().SetRangeEnd(3);
  const int r = core.FindDown([] { return TVornEditCore::caYes; });
  EXPECT_TRUE(r & TVornEditCore::frRangeEnd);
  EXPECT_EQ(JoinedText(core), "y\r\ny\r\ny\r\nx\r\n");
}

TEST_F(FindTest, TheRangeFollowsLinesInsertedAndDeleted) {
  std::string text;
  for (int i = 0; i < 10; ++i) text += "line\r\n";
  Load(text);
  core.FindCondition().SetRangeStart(4);
  core.FindCondition().SetRangeEnd(8);
  core.SetCaretPos(1, 0);
  core.InsertText("a\r\nb\r\n");
  EXPECT_EQ(core.FindCondition().RangeStart(), 6);
  EXPECT_EQ(core.FindCondition().RangeEnd(), 10);
  // Deleting three lines inside the range pulls its end back; its start stays.
  core.SetCaretPos(7, 0);
  for (int i = 0; i < 3; ++i) core.DeleteLine();
  EXPECT_EQ(core.FindCondition().RangeStart(), 6);
  EXPECT_EQ(core.FindCondition().RangeEnd(), 7);
  core.Undo();
  EXPECT_EQ(core.FindCondition().RangeEnd(), 8);
  // Deleting the lines before it moves the whole range up.
  core.SetCaretPos(0, 0);
  core.DeleteLine();
  EXPECT_EQ(core.FindCondition().RangeStart(), 5);
  EXPECT_EQ(core.FindCondition().RangeEnd(), 7);
}

TEST_F(FindTest, MarksToggleNumberMoveWithEditsAndJump) {
  Load("a\r\nb\r\nc\r\nd\r\ne\r\n");
  TVornEditLineMark& marks = store->LineMarkTable();
  core.SetCaretPos(2, 0);
  core.SetMark(3);
  EXPECT_EQ(marks.Numbered(3), 2);
  core.SetMark(3);
  EXPECT_EQ(marks.Numbered(3), -1);
  core.SetMark(5);
  core.SetMark(3);
  EXPECT_EQ(marks.Numbered(5), -1);
  EXPECT_EQ(marks.Numbered(3), 2);
  core.SetCaretPos(4, 0);
  core.ToggleMark();
  EXPECT_EQ(marks.UnnumberedCount(), 1);
  core.SetCaretPos(0, 0);
  core.FindUnderMark();
  EXPECT_EQ(Caret().Row, 2);
  core.FindUnderMark();
  EXPECT_EQ(Caret().Row, 4);
  core.FindOverMark();
  EXPECT_EQ(Caret().Row, 2);
  // Deleting the marked line leaves the mark on the line that follows, now at that index.
  core.DeleteLine();
  EXPECT_EQ(marks.Numbered(3), 2);
  EXPECT_EQ(core.GetRowText(2), "d");
  core.SetCaretPos(0, 0);
  core.JumpMark(3);
  EXPECT_EQ(Caret().Row, 2);
  core.ClearMarks(false, true);
  EXPECT_EQ(marks.Numbered(3), -1);
  EXPECT_EQ(marks.UnnumberedCount(), 1);
  core.SetMark(7, TVornEditCore::TMarkArg::Set);
  core.SetMark(7, TVornEditCore::TMarkArg::Set);
  EXPECT_EQ(marks.Numbered(7), 2);
}

TEST_F(FindTest, BracketSearchCountsNestingBothWays) {
  Load("a(b(c)d)\r\nbegin\r\n try x; end;\r\n case y of end\r\nend.\r\n");
  core.SetCaretPos(0, 1);
  EXPECT_EQ(core.SearchBracket(), 0);
  EXPECT_EQ(Caret(), (TRowCol{0, 7}));
  EXPECT_EQ(core.SearchBracket(), 0);
  EXPECT_EQ(Caret(), (TRowCol{0, 1}));
  core.SetCaretPos(4, 0);
  EXPECT_EQ(core.SearchBracket(), 0);
  EXPECT_EQ(Caret(), (TRowCol{1, 0}));
  core.SetCaretPos(1, 0);
  EXPECT_EQ(core.SearchBracket(), 0);
  EXPECT_EQ(Caret(), (TRowCol{4, 0}));
  core.SetCaretPos(0, 0);
  EXPECT_EQ(core.SearchBracket(), -1);
  Load("((x)");
  EXPECT_EQ(core.SearchBracket(), -2);
  Load("(x))");
  core.SetCaretPos(0, 3);
  EXPECT_EQ(core.SearchBracket(), -3);
}

}  // namespace
}  // namespace vorn::test
