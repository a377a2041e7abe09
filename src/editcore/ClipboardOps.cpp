// Copy, cut and paste through the platform clipboard, quoted copy and paste, and box paste.
#include <algorithm>

#include "base/sjis.h"
#include "editcore/EditCore.h"
#include "editcore/TextBreaks.h"
#include "layout/Wrap.h"

namespace vorn {

namespace {
std::size_t BreakLength(std::string_view text, std::size_t i) {
  if (text[i] == '\n') return 1;
  if (text[i] != '\r') return 0;
  return i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
}
}  // namespace

// The header goes before the text and after every break but a final one. Empty text stays
// empty; text that itself ends with the header keeps it.
std::string TVornEditCore::QuoteText(std::string_view text, std::string_view header) {
  if (text.empty()) return {};
  std::string out(header);
  for (std::size_t i = 0; i < text.size();) {
    if (const std::size_t br = BreakLength(text, i)) {
      out.append(text.substr(i, br));
      i += br;
      if (i < text.size()) out.append(header);
      continue;
    }
    const bool pair = sjis::IsLeadByte(text[i]) && i + 1 < text.size() && BreakLength(text, i + 1) == 0;
    const std::size_t len = pair ? 2 : 1;
    out.append(text.substr(i, len));
    i += len;
  }
  return out;
}

void TVornEditCore::CopyWithQuote(bool quote, bool mayClear) {
  if (!clipboard_ || !HasSelection()) return;
  const std::string text = GetSelText();
  clipboard_->SetText(quote ? QuoteText(text, QuoteHeader) : text, sel_.Box);
  if (!mayClear || !CopyAndSelClear) return;
  const int top = state_.TopRow;
  const TRowCol caret = Caret();
  ClearSelection();
  SetTopRow(top);
  SetCaretPos(caret.Row, caret.Col);
}

void TVornEditCore::CopyToClipboard() { CopyWithQuote(false, true); }
void TVornEditCore::InyouCopy() { CopyWithQuote(true, true); }

// Without a clipboard there is nowhere to keep the text, so nothing is deleted either.
void TVornEditCore::CutToClipboard() {
  if (!clipboard_ || !HasSelection()) return;
  CopyWithQuote(false, false);
  if (!readOnly_) DeleteSelection();
}

void TVornEditCore::PasteWithQuote(bool quote) {
  if (!clipboard_ || !MayEdit()) return;
  const std::optional<TClipboardText> content = clipboard_->Text();
  if (!content) return;
  if (content->Unheld > 0 && OnUnheldCharacters) OnUnheldCharacters(content->Unheld);
  std::string text = WithCrLfBreaks(content->Sjis);
  if (quote) text = QuoteText(text, QuoteHeader);
  if (content->Box)
    BoxPaste(text);
  else
    InsertText(text);
}

void TVornEditCore::PasteFromClipboard() { PasteWithQuote(false); }
void TVornEditCore::InyouPaste() { PasteWithQuote(true); }

void TVornEditCore::CopyLine() {
  if (!clipboard_ || RowCount() == 0) return;
  const int top = state_.TopRow;
  const TRowCol caret = Caret();
  SelectLine(caret.Row);
  const std::string text = GetSelText();
  ClearSelection();
  SetTopRow(top);
  SetCaretPos(caret.Row, caret.Col);
  if (!text.empty()) clipboard_->SetText(text, false);
}

std::string TVornEditCore::WordAtCaret() const {
  int first = 0, start = 0, end = 0;
  if (!TokenAtCaret(first, start, end) || end <= start) return {};
  const std::string line = store_->GetRowsText(first, -1);
  return line.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

void TVornEditCore::CopyWord() {
  const std::string word = clipboard_ ? WordAtCaret() : std::string();
  if (!word.empty()) clipboard_->SetText(word, false);
}

// --- box paste -------------------------------------------------------------------------------------------

namespace {
// The first character start at or after col in row, which is padded with spaces when shorter.
int InsertionByte(std::string& row, int col, int tabSpaceCount, int wrapByte) {
  const std::string map = ColumnMap(row, tabSpaceCount, wrapByte);
  const int width = static_cast<int>(map.size());
  if (col >= width) {
    row.append(static_cast<std::size_t>(col - width), ' ');
    return static_cast<int>(row.size());
  }
  int c = col;
  if (map[static_cast<std::size_t>(c)] == cmTrail) ++c;
  while (c < width && map[static_cast<std::size_t>(c)] == cmTabRest) ++c;
  if (c >= width) return static_cast<int>(row.size());
  return c - static_cast<int>(std::count(map.begin(), map.begin() + c, cmTabRest));
}
}  // namespace

// Each line goes into its own row at the block's column: the rows the selection leaves first,
// then the rows below, then new rows of spaces when the text runs out of rows.
void TVornEditCore::BoxPaste(std::string_view text) {
  if (!MayEdit()) return;
  if (text.empty()) {
    if (HasSelection()) DeleteSelection();
    return;
  }
  const std::vector<std::string> lines = SplitLines(text);
  const int n = RowCount();
  std::vector<TRemovedRow> block;
  int firstRow = std::min(state_.CaretRow, n), column = state_.CaretCol, nextRow = firstRow;
  if (HasSelection() && sel_.Bytes.StartRow < n) {
    block = RemovedRows();
    firstRow = sel_.Bytes.StartRow;
    column = sel_.Cols.StartCol;
    nextRow = std::min(sel_.Bytes.EndRow, n - 1) + 1;
  }
  const int wrap = WordWrap() ? WrapByte() : 0;
  std::string out;
  int lastExisting = nextRow - 1, caretOffset = 0;
  const std::size_t count = std::max(lines.size(), block.size());
  for (std::size_t j = 0; j < count; ++j) {
    std::string row;
    TRowEnd kind = reLineEnd;
    int at = 0;
    const bool removed = j < block.size();
    const int storeRow = nextRow + static_cast<int>(j) - static_cast<int>(block.size());
    if (removed) {
      row = block[j].Text;
      kind = block[j].Kind;
      at = block[j].Cut < static_cast<int>(row.size()) ? block[j].Cut : InsertionByte(row, column, TabSpaceCount(), wrap);
    } else if (storeRow < n) {
      row = GetRowText(storeRow);
      kind = RowKind(storeRow);
      at = InsertionByte(row, column, TabSpaceCount(), wrap);
      lastExisting = storeRow;
    } else {
      row.assign(static_cast<std::size_t>(column), ' ');
      at = column;
    }
    if (j < lines.size()) {
      row.insert(static_cast<std::size_t>(at), lines[j]);
      if (kind == reTextEnd) kind = reLineEnd;
      caretOffset = static_cast<int>(out.size()) + at + static_cast<int>(lines[j].size());
    }
    out += row;
    if (kind == reLineEnd) out += "\r\n";
  }
  TRestorePoint caret = RestorePointAt(firstRow, 0);
  caret.Offset += caretOffset;
  ReplaceAndPlace(firstRow, lastExisting - firstRow + 1, out, caret);
}

// --- the platform's edit messages ----------------------------------------------------------------------

void TVornEditCore::WmCopy() {
  if (!clipboard_) return;
  if (HasSelection())
    CopyToClipboard();
  else
    clipboard_->Clear();
}

void TVornEditCore::WmCut() {
  if (!clipboard_) return;
  if (!HasSelection() || !MayEdit())
    clipboard_->Clear();
  else
    CutToClipboard();
}

void TVornEditCore::WmPaste() {
  if (!readOnly_) PasteFromClipboard();
}

void TVornEditCore::WmClear() {
  if (!readOnly_) DeleteSelection();
}

}  // namespace vorn
