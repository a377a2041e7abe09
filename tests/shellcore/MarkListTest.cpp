// The mark list read from a document: pictures, line numbers and texts by line, and which
// buttons can be pressed.
#include "shellcore/MarkList.h"

#include <gtest/gtest.h>

#include "layout/StoreWrap.h"
#include "store/ScreenStrings.h"

namespace vorn {
namespace {

struct TShown {
  int Image;
  int LineNumber;
  std::string Text;
  bool operator==(const TShown&) const = default;
};

std::vector<TShown> Shown(const std::vector<TMarkListEntry>& entries) {
  std::vector<TShown> out;
  for (const TMarkListEntry& e : entries) out.push_back({e.Image(), e.LineNumber(), e.Text});
  return out;
}

TEST(MarkList, RowsShowTheNumbersPictureTheMarginsLineNumberAndTheWholeLine) {
  auto store = NewWrappedStore();
  WrapOptionOf(*store).SetWrapByte(8);
  store->SetWordWrap(true);
  std::string text;
  for (int i = 0; i < 12; ++i) text += i == 4 ? "a long line cut into rows\r\n" : "line" + std::to_string(i) + "\r\n";
  store->ReplaceRows(0, 0, text);
  TVornEditLineMark& marks = store->LineMarkTable();
  marks.SetNumbered(9, 10);
  marks.AddUnnumbered(7);
  marks.SetNumbered(0, 4);
  marks.SetNumbered(3, 7);
  marks.AddUnnumbered(1);

  // Numbered mark n shows picture n + 1 (picture 0 is no number), unnumbered ones none; the
  // numbers are the margin's, from 1; a wrapped line is shown whole.
  EXPECT_EQ(Shown(MarkListEntries(*store)), (std::vector<TShown>{{-1, 2, "line1"},
                                                                 {1, 5, "a long line cut into rows"},
                                                                 {4, 8, "line7"},
                                                                 {-1, 8, "line7"},
                                                                 {10, 11, "line10"}}));
  // The list follows the marks as lines are removed above them.
  store->ReplaceRows(0, store->LineToRow(2), "");
  EXPECT_EQ(MarkListEntries(*store).front().LineNumber(), 1);
  EXPECT_EQ(MarkListEntries(*store).back().LineNumber(), 9);
}

TEST(MarkList, ButtonsFollowTheSelectionAndTheKindsOfMarkSet) {
  const auto states = [](std::vector<TMarkListEntry> entries, bool selected) {
    const TMarkListButtons b = MarkListButtonStates(entries, selected);
    return std::vector<bool>{b.Jump, b.Delete, b.ClearAll, b.ClearNumbered, b.ClearUnnumbered};
  };
  const TMarkListEntry numbered{2, 2, 5, "x"};
  const TMarkListEntry unnumbered{10, -1, 6, "y"};
  EXPECT_EQ(states({}, true), (std::vector<bool>{false, false, false, false, false}));
  EXPECT_EQ(states({numbered}, false), (std::vector<bool>{false, false, true, true, false}));
  EXPECT_EQ(states({unnumbered}, true), (std::vector<bool>{true, true, true, false, true}));
  EXPECT_EQ(states({numbered, unnumbered}, true), (std::vector<bool>{true, true, true, true, true}));
}

}  // namespace
}  // namespace vorn
