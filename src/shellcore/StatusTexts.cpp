// Status-bar panel texts: code, line break, caret position, insert mode and selection size.
#include "shellcore/StatusTexts.h"

#include <algorithm>
#include <cstdio>

#include "store/ScreenStrings.h"

namespace vorn {

std::string CharCodePanelText(TCharCodeKind code, bool given) {
  return (given ? "*" : "") + std::string(StatusBarCodeName(code));
}

std::string LineBreakPanelText(TLineBreakKind lineBreak, bool given) {
  return (given ? "*" : "") + std::string(StatusBarLineBreakName(lineBreak));
}

std::string CaretPanelText(int line, int column) {
  char text[32];
  std::snprintf(text, sizeof text, "%5d:%4d", line, column);
  return text;
}

std::string InsertModePanelText(bool overwrite) { return overwrite ? "上書" : "挿入"; }

TLineColumn CaretLineColumn(const TVornEditScreenStrings& store, int row, int column, bool rowNumbering) {
  if (rowNumbering) return {row + 1, column + 1};
  const int count = store.Count();
  if (count == 0) return {1, column + 1};
  if (row >= count) return {store.RowToLine(count - 1) + 1, column + 1};
  row = std::max(row, 0);
  int before = 0;
  for (int r = store.FirstRowOfLine(row); r < row; ++r) before += static_cast<int>(store.Row(r).size());
  return {store.RowToLine(row) + 1, column + 1 + before};
}

std::string GroupThousands(std::int64_t value) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<std::size_t>(i), ",");
  return value < 0 ? "-" + digits : digits;
}

std::string SelectionSizeText(std::int64_t bytes, bool large) {
  if (large) return "選択文字列サイズ：クリックしてください";
  return "選択文字列サイズ：" + GroupThousands(bytes) + " byte";
}

std::string ClickedSelectionSizeText(std::int64_t bytes) { return "選択文字列サイズ：" + GroupThousands(bytes) + "byte"; }

std::string BoxSelectionHintText() { return "マウス箱形選択はALTキー併用"; }

std::array<std::string, spPanelCount> StatusPanelTexts(const TStatusState& state) {
  std::array<std::string, spPanelCount> texts;
  if (state.autoFormat) texts[spAutoFormat] = "自動整形";
  if (state.boxSelection) texts[spBoxSelect] = "箱形選択";
  texts[spCharCode] = CharCodePanelText(state.charCode, state.openCodeGiven);
  texts[spLineBreak] = LineBreakPanelText(state.lineBreak, state.lineBreakGiven);
  texts[spCaret] = CaretPanelText(state.caret.line, state.caret.column);
  texts[spInsert] = InsertModePanelText(state.overwrite);
  return texts;
}

}  // namespace vorn
