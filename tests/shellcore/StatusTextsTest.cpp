#include <gtest/gtest.h>

#include "shellcore/StatusTexts.h"
#include "document/VornDocument.h"
#include "store/HeadlessView.h"

namespace vorn {
namespace {

TEST(StatusTexts, PanelsShowCodeBreakCaretAndMode) {
  TStatusState state;
  state.charCode = ckUnicodeBE;
  state.openCodeGiven = true;
  state.lineBreak = lbUnknown;
  state.caret = {12, 3};
  state.overwrite = true;
  state.boxSelection = true;
  const auto texts = StatusPanelTexts(state);
  EXPECT_EQ(texts[spMessage], "");
  EXPECT_EQ(texts[spAutoFormat], "");
  EXPECT_EQ(texts[spBoxSelect], "箱形選択");
  EXPECT_EQ(texts[spCharCode], "*UNI(BE)");
  EXPECT_EQ(texts[spLineBreak], "CRLF") << "an unknown break shows and means CRLF";
  EXPECT_EQ(texts[spCaret], "   12:   3");
  EXPECT_EQ(texts[spInsert], "上書");
  EXPECT_EQ(texts[spEnd], "");
  EXPECT_EQ(CharCodePanelText(ckBinary, false), "SJIS");
  EXPECT_EQ(LineBreakPanelText(lbLF, true), "*LF");
  EXPECT_EQ(CaretPanelText(123456, 12345), "123456:12345") << "wide numbers are not cut";
  EXPECT_EQ(InsertModePanelText(false), "挿入");
}

// Wrapped rows: the line is the file line, the column counts from the line's start.
TEST(StatusTexts, CaretLineAndColumnFollowFileLinesAcrossWrappedRows) {
  TVornDocument doc;
  TVornEditHeadlessView pane(doc.SharedStore());
  pane.Lines().SetTextStr(std::string(300, 'a') + "\r\nshort\r\n");
  doc.Store().SetWordWrap(true);
  const TVornEditScreenStrings& store = doc.Store();
  ASSERT_GE(store.Count(), 3);
  const int secondRowOfFirstLine = 1;
  const int firstRowLength = static_cast<int>(store.Row(0).size());
  EXPECT_EQ(CaretLineColumn(store, 0, 4, false).column, 5);
  const TLineColumn wrapped = CaretLineColumn(store, secondRowOfFirstLine, 2, false);
  EXPECT_EQ(wrapped.line, 1);
  EXPECT_EQ(wrapped.column, firstRowLength + 3);
  const int shortRow = store.LineToRow(1);
  EXPECT_EQ(CaretLineColumn(store, shortRow, 0, false).line, 2);
  EXPECT_EQ(CaretLineColumn(store, store.Count() + 5, 7, false).line, 2) << "past the end counts as the last";
  EXPECT_EQ(CaretLineColumn(store, shortRow, 0, true).line, shortRow + 1) << "row numbering shows rows";
  TVornEditHeadlessView empty;
  EXPECT_EQ(CaretLineColumn(*empty.Store(), 0, 0, false).line, 1);
}

TEST(StatusTexts, SelectionSizes) {
  EXPECT_EQ(GroupThousands(0), "0");
  EXPECT_EQ(GroupThousands(999), "999");
  EXPECT_EQ(GroupThousands(1000), "1,000");
  EXPECT_EQ(GroupThousands(1234567), "1,234,567");
  EXPECT_EQ(SelectionSizeText(1000000, false), "選択文字列サイズ：1,000,000 byte");
  EXPECT_EQ(SelectionSizeText(kLargeSelectionBytes, true), "選択文字列サイズ：クリックしてください");
  EXPECT_EQ(ClickedSelectionSizeText(1000001), "選択文字列サイズ：1,000,001byte");
}

}  // namespace
}  // namespace vorn
