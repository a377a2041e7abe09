// Random movements and foreign edits on random Shift_JIS text: the caret stays on characters.
#include <random>

#include "CoreFixture.h"
#include "base/sjis.h"
#include "store/HeadlessView.h"

namespace vorn::test {
namespace {

const char* const kPieces[] = {"a", "bc", " ", "\t", "\x82\xA0", "\x88\x9F", "\xB1", ",", "\r\n", "\r\n", "word", "\x82", "\xE0"};

class RandomMoves : public CoreTest {
protected:
  void Move(std::mt19937& rng) {
    const TMoveFlags f{.KeepSelection = false, .Shift = rng() % 4 == 0};
    core.SetKeyRepeat(rng() % 3 == 0);
    switch (rng() % 20) {
      case 0: core.CursorUp(f); break;
      case 1: core.CursorDown(f); break;
      case 2: case 3: core.CursorLeft(f); break;
      case 4: case 5: core.CursorRight(f); break;
      case 6: core.WordLeft(f); break;
      case 7: core.WordRight(f); break;
      case 8: core.MoveLineStart(f); break;
      case 9: core.MoveLineEnd(f); break;
      case 10: core.MoveLogicalLineStart(f); break;
      case 11: core.MoveLogicalLineEnd(f); break;
      case 12: core.MoveWindowEnd(f); break;
      case 13: core.NextPage(f); break;
      case 14: core.PrevPage(f); break;
      case 15: core.SetCaretPos(static_cast<int>(rng() % 60), static_cast<int>(rng() % 40)); break;
      case 16: core.SetCaretOffset(static_cast<int>(rng() % 400)); break;
      case 17: core.EmSetSel(static_cast<int>(rng() % 300), static_cast<int>(rng() % 300) - 5); break;
      case 18: core.MoveFileEnd(f); break;
      default: core.NavigationKey(static_cast<TNavKey>(rng() % 8), rng() % 2, rng() % 2); break;
    }
  }

  // Another pane edits the shared store somewhere.
  void ForeignEdit(std::mt19937& rng) {
    const int count = store->Count();
    const int a = count == 0 ? 0 : static_cast<int>(rng() % count);
    const int n = count == 0 ? 0 : static_cast<int>(rng() % std::min(3, count - a + 1));
    std::mt19937 pieceRng(rng());
    store->ReplaceRows(a, n, RandomText(pieceRng, kPieces, static_cast<int>(rng() % 8)), TRowCol{a, 0});
  }

  void CheckCaret(const TCoreOptions& o, const std::string& context) {
    const int row = core.CaretRow(), col = core.CaretCol();
    ASSERT_GE(row, 0) << context;
    ASSERT_LE(row, core.LastCaretRow()) << context;
    const std::string map = core.ColumnMapOf(row);
    const int width = static_cast<int>(map.size());
    if (col < width) {
      ASSERT_NE(map[col], '5') << context;
      if (!o.InTab) {
        ASSERT_NE(map[col], '3') << context;
      }
    }
    if (!o.FreeCaret) {
      ASSERT_LE(col, width) << context;
    }
    if (o.WrapByte > 0 && core.RowKind(row) == reWrapped) {
      ASSERT_LT(col, width) << context;
    }

    const std::string text = JoinedText(core);
    const int offset = core.GetCaretOffset();
    ASSERT_GE(offset, 0) << context;
    ASSERT_LE(offset, static_cast<int>(text.size())) << context;
    // Rows, not the joined text, decide characters: a lone lead byte ends its row.
    const TRowCol at = core.OffsetToPos(offset);
    const std::string rowText = core.GetRowText(at.Row);
    const int byte = std::min(core.ColToByte(at.Row, at.Col), static_cast<int>(rowText.size()));
    ASSERT_EQ(core.RowStartOffset(at.Row) + byte, std::min(offset, core.RowStartOffset(at.Row) + static_cast<int>(rowText.size())))
        << context;
    ASSERT_TRUE(sjis::IsCharBoundary(rowText, static_cast<std::size_t>(byte))) << context;
    if (!core.HasSelection() && !o.InTab && col <= width) {
      ASSERT_EQ(core.OffsetToPos(offset), core.Caret()) << context;
    }
    ASSERT_EQ(core.TopLineNo(), store->CountLinesBefore(core.TopRow())) << context;
  }
};

TEST_F(RandomMoves, CaretStaysOnCharacterStartsInsideTheText) {
  TVornEditHeadlessView otherPane(store);
  for (int seed = 1; seed <= 120; ++seed) {
    std::mt19937 rng(seed);
    const TCoreOptions o{.WrapByte = rng() % 2 ? 10 + static_cast<int>(rng() % 7) : 0,
                         .Tab = rng() % 2 ? 4 : 8,
                         .FreeCaret = rng() % 3 == 0,
                         .KeepCaret = rng() % 2 == 0,
                         .InTab = rng() % 4 == 0,
                         .NextLine = rng() % 2 == 0};
    geometry.Rows = static_cast<int>(rng() % 7);
    geometry.Cols = 1 + static_cast<int>(rng() % 30);
    Load(RandomText(rng, kPieces, 20 + static_cast<int>(rng() % 120)), o);
    for (int step = 0; step < 250; ++step) {
      const bool edit = rng() % 12 == 0;
      if (edit)
        ForeignEdit(rng);
      else
        Move(rng);
      CheckCaret(o, "seed " + std::to_string(seed) + " step " + std::to_string(step) + (edit ? " edit" : ""));
      if (HasFatalFailure()) return;
    }
  }
}

}  // namespace
}  // namespace vorn::test
