// The arrangement geometry and the window menu's list, checked against numbers worked out by
// hand.
#include "shellcore/BusWindowHandler.h"
#include "shellcore/WindowArrangement.h"
#include "shellcore/WindowMenuList.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

using R = TWindowRect;

// A 1280 × 992 work area below a 28-pixel task bar; maximised windows overhang by the frame.
const TTilingMetrics kScreen{1288, 1000, 4, 4, 0, 28};

TEST(WindowTiling, GridsGrowAsEachLineupAsks) {
  const TGridSize order[] = {{1, 1}, {2, 1}, {2, 2}, {2, 2}, {3, 2}, {3, 2}, {3, 3}};
  for (int n = 1; n <= 7; ++n) EXPECT_EQ(TilingGrid(TTiling::tlOrder, n), order[n - 1]) << n;
  EXPECT_EQ(TilingGrid(TTiling::tlVertical, 5), (TGridSize{1, 5}));
  EXPECT_EQ(TilingGrid(TTiling::tlHorizontal, 5), (TGridSize{5, 1}));
  EXPECT_EQ(TilingGrid(TTiling::tlOrder, 0), (TGridSize{1, 1}));
}

TEST(WindowTiling, CellsFillTheWorkAreaRowByRowInStackingOrder) {
  EXPECT_EQ(TileWindows(TTiling::tlOrder, 3, kScreen),
            (std::vector<R>{{0, 28, 640, 496}, {640, 28, 640, 496}, {0, 524, 640, 496}}));
  EXPECT_EQ(TileWindows(TTiling::tlOrder, 5, kScreen),
            (std::vector<R>{{0, 28, 426, 496}, {426, 28, 426, 496}, {852, 28, 426, 496}, {0, 524, 426, 496},
                            {426, 524, 426, 496}}));
  EXPECT_EQ(TileWindows(TTiling::tlVertical, 3, kScreen),
            (std::vector<R>{{0, 28, 1280, 330}, {0, 358, 1280, 330}, {0, 688, 1280, 330}}));
  EXPECT_EQ(TileWindows(TTiling::tlHorizontal, 2, {1288, 1000, 4, 4, 60, 0}),
            (std::vector<R>{{60, 0, 640, 992}, {700, 0, 640, 992}}));
  EXPECT_TRUE(TileWindows(TTiling::tlOrder, 0, kScreen).empty());
}

TEST(WindowCascade, BottomWindowTakesTheCornerAndEachAboveStepsOneCaptionOnClipped) {
  const R area{0, 28, 1280, 992};
  // Topmost first: a known size, an unknown one (another process keeps its own), a too wide one.
  const std::vector<R> placed = CascadeWindows({{0, 0, 800, 600}, {}, {0, 0, 2000, 300}}, area, 20);
  EXPECT_EQ(placed, (std::vector<R>{{40, 68, 800, 600}, {20, 48, 0, 0}, {0, 28, 1280, 300}}));
  EXPECT_EQ(ClipToArea({1000, 900, 800, 600}, area), (R{1000, 900, 280, 120}));
  EXPECT_EQ(ClipToArea({1400, 900, 800, 600}, area), (R{1400, 900, 1, 120})) << "never below one pixel";
}

TEST(NextEditor, WalksTheSortedIdsAndWraps) {
  const std::vector<std::int64_t> ids{30, 10, 20};
  EXPECT_EQ(NeighbourEditor(ids, 20, true), 30);
  EXPECT_EQ(NeighbourEditor(ids, 20, false), 10);
  EXPECT_EQ(NeighbourEditor(ids, 30, true), 10);
  EXPECT_EQ(NeighbourEditor(ids, 10, false), 30);
  EXPECT_EQ(NeighbourEditor(ids, 5, true), 20) << "an absent window counts as the first";
  EXPECT_EQ(NeighbourEditor({}, 5, true), 0);
}

// Every byte is 10 pixels wide.
class TFixedMeasure : public TTextMeasure {
public:
  int TextWidth(std::string_view text) const override { return static_cast<int>(text.size()) * 10; }
};

TEST(WindowMenuList, NumbersForeignDocumentsThenOwnWindowsAcrossTheMenu) {
  const std::vector<TOpenFileEntry> docs{{"/home/user/projects/deep/f/readme.txt", 7}, {kUntitledMarker, 8}};
  const std::vector<TOwnWindow> own{{1, true}, {2, false}, {3, false}};
  auto captions = [](const std::vector<TWindowMenuEntry>& entries) {
    std::vector<std::string> out;
    for (const auto& e : entries) out.push_back(e.separator ? "-" : e.caption + "@" + std::to_string(e.window));
    return out;
  };
  EXPECT_EQ(captions(WindowMenuEntries(docs, own, 2, TFixedMeasure(), 200)),
            (std::vector<std::string>{"-", "&1:/.../f/readme.txt@7", "&2:[無題]@8", "-", "Main &3@1",
                                      "Sub  &4@3"}));
  EXPECT_EQ(captions(WindowMenuEntries({}, {{1, true}}, 1, TFixedMeasure(), 200)), std::vector<std::string>{})
      << "a process with one window lists none of its own";
}

}  // namespace
}  // namespace vorn
