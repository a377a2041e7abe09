// TVornEditStrings: logical-line operations mapped onto ReplaceRows, text in and out, file reader.
#include "store/VornEditStrings.h"

#include "platform/FileBytes.h"

namespace vorn {

namespace {
constexpr std::string_view kCrLf = "\r\n";
}  // namespace

int TVornEditStrings::Count() const { return Store().LineCount(); }

std::string TVornEditStrings::Get(int i) const {
  TVornEditScreenStrings& store = Store();
  std::string text = store.GetRowsText(store.LineToRow(i), -1);
  while (!text.empty() && text.back() == '\n') text.resize(text.size() >= 2 ? text.size() - 2 : 0);
  return text;
}

void TVornEditStrings::Put(int i, std::string_view s) {
  TVornEditScreenStrings& store = Store();
  store.CompleteRewrap();
  int r = store.LineToRow(i);
  if (i < 0 || r > store.Count() - 1) return;
  int e = store.LastRowOfLine(r);
  std::string text(s);
  if (store.RowEnd(e) == reLineEnd) text.append(kCrLf);
  Replace(r, e - r + 1, text);
  owner_.PlaceCaretAfterLinesEdit(r, static_cast<int>(text.size()));
}

void TVornEditStrings::Delete(int i) {
  TVornEditScreenStrings& store = Store();
  store.CompleteRewrap();
  int r = store.LineToRow(i);
  if (i < 0 || r > store.Count() - 1) return;
  Replace(r, store.LastRowOfLine(r) - r + 1, std::string_view());
  owner_.PlaceCaretAfterLinesEdit(r, 0);
}

void TVornEditStrings::Insert(int i, std::string_view s) {
  TVornEditScreenStrings& store = Store();
  store.CompleteRewrap();
  if (i < 0) return;
  int r = store.LineToRow(i);
  if (r >= store.Count()) {
    Add(s);
    return;
  }
  std::string text(s);
  text.append(kCrLf);
  Replace(r, 0, text);
  owner_.PlaceCaretAfterLinesEdit(r, static_cast<int>(text.size()));
}

int TVornEditStrings::Add(std::string_view s) {
  TVornEditScreenStrings& store = Store();
  store.CompleteRewrap();
  int result = Count();
  int count = store.Count();
  std::string text;
  int row;
  if (count > 0 && store.RowEnd(count - 1) != reLineEnd) {
    row = count - 1;
    text = store.Strings(row);
    text.append(kCrLf).append(s);
    Replace(row, 1, text);
  } else {
    row = count;
    text.assign(s).append(kCrLf);
    Replace(row, 0, text);
  }
  owner_.PlaceCaretAfterLinesEdit(row, static_cast<int>(text.size()));
  return result;
}

void TVornEditStrings::Clear() { Store().Clear(); }

void TVornEditStrings::Replace(int a, int n, std::string_view text) { Store().ReplaceRows(a, n, text, owner_.Caret()); }

std::string TVornEditStrings::GetTextStr() const { return Store().GetRowsText(0, Store().Count()); }

void TVornEditStrings::SetTextStr(std::string_view text) { SetTextBuffer(TByteBuffer(std::string(text))); }

void TVornEditStrings::SetTextBuffer(TByteBuffer&& buffer) { Store().LoadText(std::move(buffer)); }

void TVornEditStrings::Assign(const TStrings& source) {
  SetTextStr(source.GetTextStr());
  owner_.PlaceCaretAfterLinesEdit(Store().Count(), 0);
}

// A batch of line edits reaches the views as one change that covers them all.
void TVornEditStrings::SetUpdateState(bool updating) {
  if (updating)
    Store().BeginUpdate();
  else
    Store().EndUpdate();
}

void TVornEditStrings::LoadFromFile(const std::string& fileName) { Store().LoadFileImage(ReadFileBytes(fileName)); }

}  // namespace vorn
