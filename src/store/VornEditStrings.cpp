// TVornEditStrings: logical-line operations mapped onto ReplaceRows, text in and out, file reader.
#include "store/VornEditStrings.h"

#include <algorithm>
#include <cstring>

#include "platform/FileBytes.h"
#include "encoding/LineSplit.h"

namespace vorn {

namespace {
constexpr std::string_view kCrLf = "\r\n";

// Shows the owner's caret again however the edit ends.
class TCaretHidden {
public:
  explicit TCaretHidden(TVornEditView& view) : view_(view) { view_.BeginCaretHide(); }
  ~TCaretHidden() { view_.EndCaretHide(); }

private:
  TVornEditView& view_;
};
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
  int r = store.LineToRow(i);
  if (i < 0 || r > store.Count() - 1) return;
  owner_.ClearSelection();
  int e = store.LastRowOfLine(r);
  std::string text(s);
  if (store.RowEnd(e) == reLineEnd) text.append(kCrLf);
  TCaretHidden hidden(owner_);
  Replace(r, e - r + 1, text);
  owner_.PlaceCaretAtOffset(r, static_cast<int>(text.size()));
}

void TVornEditStrings::Delete(int i) {
  TVornEditScreenStrings& store = Store();
  int r = store.LineToRow(i);
  if (i < 0 || r > store.Count() - 1) return;
  owner_.ClearSelection();
  Replace(r, store.LastRowOfLine(r) - r + 1, std::string_view());
  owner_.PlaceCaretAtOffset(r, 0);
}

void TVornEditStrings::Insert(int i, std::string_view s) {
  TVornEditScreenStrings& store = Store();
  if (i < 0) return;
  int r = store.LineToRow(i);
  if (r >= store.Count()) {
    Add(s);
    return;
  }
  owner_.ClearSelection();
  std::string text(s);
  text.append(kCrLf);
  Replace(r, 0, text);
  owner_.PlaceCaretAtOffset(r, static_cast<int>(text.size()));
}

int TVornEditStrings::Add(std::string_view s) {
  TVornEditScreenStrings& store = Store();
  int result = Count();
  owner_.ClearSelection();
  TCaretHidden hidden(owner_);
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
  owner_.PlaceCaretAtOffset(row, static_cast<int>(text.size()));
  return result;
}

void TVornEditStrings::Clear() { Store().Clear(); }

void TVornEditStrings::Replace(int a, int n, std::string_view text) {
  const TVornEditViewState& state = owner_.State();
  Store().ReplaceRows(a, n, text, TRowCol{state.CaretRow, state.CaretCol});
}

std::string TVornEditStrings::GetTextStr() const { return Store().GetRowsText(0, Store().Count()); }

void TVornEditStrings::SetTextStr(std::string_view text) { SetTextBuffer(TByteBuffer(std::string(text))); }

void TVornEditStrings::SetTextBuffer(TByteBuffer&& buffer) {
  BeginUpdate();
  Clear();
  Store().LoadText(std::move(buffer));
  EndUpdate();
}

void TVornEditStrings::Assign(const TStrings& source) {
  SetTextStr(source.GetTextStr());
  owner_.PlaceCaretAtOffset(Store().Count(), 0);
}

void TVornEditStrings::SetUpdateState(bool updating) {
  TVornEditScreenStrings& store = Store();
  if (updating) {
    store.BeginUpdate();
    owner_.FacadeUpdateBegan();
    return;
  }
  store.EndUpdate();
  owner_.FacadeUpdateEnded();
  // The store's LastChange names only the last edit of the batch: repaint everything.
  for (TVornEditView* v : store.Views()) v->Invalidate();
}

void TVornEditStrings::LoadFromFile(const std::string& fileName) {
  TByteBuffer bytes = ReadFileBytes(fileName);
  BeginUpdate();
  Clear();
  TVornEditScreenStrings& store = Store();
  // Rows borrow from the adopted buffer; a small buffer's bytes move with it, so the
  // pointers are taken only after adoption.
  const TByteBuffer& kept = store.AdoptBuffer(std::move(bytes));
  const char* begin = kept.Data();
  const char* end = begin + kept.Size();
  if (const void* eof = std::memchr(begin, 0x1A, kept.Size())) end = static_cast<const char*>(eof);
  bool finalPiece = end > begin && end[-1] != '\r' && end[-1] != '\n';
  std::vector<TRowSlot> chunk;
  ForEachLine(begin, end, false, [&](const char* b, const char* e) {
    TRowSlot slot;
    slot.data = b == e ? nullptr : b;
    slot.lenAndFlag = TRowSlot::CheckedLength(static_cast<std::size_t>(e - b));
    chunk.push_back(slot);
  });
  store.AppendBorrowedRows(chunk.data(), static_cast<int>(chunk.size()));
  if (finalPiece) store.SetRowEnd(store.Count() - 1, reTextEnd);
  if (store.WordWrap()) store.RewrapAll();
  store.RecomputeBracketStates();
  EndUpdate();
}

}  // namespace vorn
