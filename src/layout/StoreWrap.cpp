// Word wrap of the line store: edited text cut into rows, whole-store re-wrap and unwrap.
#include "layout/StoreWrap.h"

#include "store/ScreenStrings.h"
#include "layout/WrapRows.h"

#include <algorithm>

namespace vorn {

namespace {

// The store seen as the row container that whole-list re-wraps work on. Rows loaded from a
// file borrow their bytes from the loaded buffer; a line whose rows lie there side by side is
// read and re-cut in place, and its new rows borrow from the buffer too, so that re-wrapping
// a loaded document copies and allocates nothing per row.
//
// The container is rows base..base+count-1 of the store, whole logical lines: the whole store,
// or the part a background re-wrap takes on in one step.
struct TStoreRows {
  TVornEditScreenStrings& s;
  int base = 0;
  int count = s.Count();
  int Count() const { return count; }
  TRowEnd RowEnd(int i) const { return s.RowEnd(base + i); }
  void SetRowEnd(int i, TRowEnd e) { s.SetRowEnd(base + i, e); }
  std::string_view Line(int first, int n, std::string& scratch) const {
    first += base;
    std::string_view row = s.Row(first);
    bool inPlace = s.RowBorrowed(first);
    const char* next = row.data() + row.size();
    for (int i = 1; i < n && inPlace; ++i) {
      std::string_view r = s.Row(first + i);
      inPlace = s.RowBorrowed(first + i) && (r.empty() || r.data() == next);
      if (!r.empty()) next = r.data() + r.size();
    }
    if (inPlace && (n == 1 || !row.empty())) return {row.data(), static_cast<std::size_t>(next - row.data())};
    scratch.clear();
    s.ForEachRow(first, n, [&](std::string_view r, TRowWord) { scratch.append(r); });
    return scratch;
  }
  // Walks the rows block by block rather than looking each one up.
  template <class F>
  void ForEachLine(std::string& scratch, F&& f) const {
    int n = 0;
    const char* begin = nullptr;  // start of the line's bytes while they lie side by side
    const char* next = nullptr;
    bool inPlace = true;
    scratch.clear();
    int r = 0;
    s.ForEachRow(base, count, [&](std::string_view row, TRowWord word) {
      if (n == 0) {
        inPlace = true;
        begin = next = nullptr;
        scratch.clear();
      }
      ++n;
      if (inPlace && !row.empty()) {
        if (begin == nullptr) {
          begin = row.data();
        } else if (row.data() != next) {
          inPlace = false;
          scratch.assign(begin, static_cast<std::size_t>(next - begin));
        }
        next = row.data() + row.size();
      }
      if (!inPlace) scratch.append(row);
      if (word.EndsLine() || r == count - 1) {
        f(n, inPlace ? std::string_view(begin, static_cast<std::size_t>(next - begin)) : std::string_view(scratch));
        n = 0;
      }
      ++r;
    });
  }
  void SetText(int i, std::string_view t) {
    i += base;
    if (s.InAdoptedBuffer(t))
      s.PutBorrowed(i, t);
    else if (s.Row(i) != t)
      s.Put(i, t);
  }
  void AppendEmptyRows(int n) {
    s.InsertEmptyRows(base + count, n);
    count += n;
  }
  void DeleteLastRows(int n) {
    s.RemoveRows(base + count - n, n);
    count -= n;
  }
};

// Runs a whole-store rewrite in one update block; the store tells its views what it was.
template <class F>
void RewriteWholeStore(TVornEditScreenStrings& store, F&& rewrite) {
  store.BeginUpdate();
  try {
    rewrite();
  } catch (...) {
    store.EndUpdate();
    throw;
  }
  store.EndUpdate();
}

}  // namespace

TVornEditRowWrapper::TVornEditRowWrapper(TVornEditScreenStrings& store)
    : store_(store), engine_(option_, tabSpaceCount_, delims_) {
  option_.SetOnChange([this](TNotifyPersistent*) { LayoutChanged(); });
}

void TVornEditRowWrapper::SetTabSpaceCount(int count) {
  if (count == tabSpaceCount_) return;
  tabSpaceCount_ = count;
  LayoutChanged();
}

void TVornEditRowWrapper::SetDelimiterSet(const TDelimiterSet& delims) {
  if (delims == delims_) return;
  delims_ = delims;
  LayoutChanged();
}

void TVornEditRowWrapper::LayoutChanged() {
  engine_.Configure(option_, tabSpaceCount_, delims_);
  store_.RewrapWhole();
}

void TVornEditRowWrapper::TextToRows(TVornEditScreenStrings& store, std::string_view text,
                                     TVornEditStringList& rows) {
  if (!store.WordWrap()) {
    SplitTextToRows(text, rows);
    return;
  }
  engine_.TextToRows(text, true, cut_);
  rows.Clear();
  for (const TWrapRow& r : cut_) {
    int i = rows.Add(text.substr(r.Offset, r.Length));
    if (r.End != reLineEnd) rows.SetRowEnd(i, r.End);
  }
}

int TVornEditRowWrapper::CountRowsOfLine(TVornEditScreenStrings& store, std::string_view line) {
  return store.WordWrap() ? engine_.CountRowsOfLine(line) : 1;
}

// Rows cut from a row start are the rows a wrap of the whole line gives from there on, with two
// exceptions that decide how far back an edit's re-wrap must start:
// - Word break backs off only when the rest of the line is wider than the wrap width. Rows
//   before an edit are wider than a third of the width, so an edit can turn that condition
//   round for the two rows before it, never for a third.
// - Tab widths are counted from where the wrap starts. Re-wrapping a line with tabs from a
//   row inside it would give other rows than it had, and undo, which puts the old text back
//   by wrapping it from the same row, would then address rows that are not the ones it
//   recorded, and lose text. Lines with tabs are therefore re-wrapped from their start.
int TVornEditRowWrapper::RewrapStartRow(TVornEditScreenStrings& store, int a, int last,
                                        std::string_view text) {
  const int lineStart = store.FirstRowOfLine(a);
  if (!store.WordWrap()) return std::max(lineStart, a - 1);
  bool tabs = text.find('\t') != std::string_view::npos;
  const int count = store.Count();
  if (!tabs && count > 0) {
    const int lastL = store.LastRowOfLine(std::min(std::max(a, last), count - 1));
    store.ForEachRow(lineStart, lastL - lineStart + 1,
                     [&](std::string_view row, TRowWord) {
                       tabs = tabs || row.find('\t') != std::string_view::npos;
                     });
  }
  if (tabs) return lineStart;
  return std::max(lineStart, a - (option_.WordBreak() ? 2 : 1));
}

void TVornEditRowWrapper::RewrapAll(TVornEditScreenStrings& store) {
  if (store.Count() == 0 || !store.WordWrap()) return;
  RewriteWholeStore(store, [&] {
    TStoreRows rows{store};
    RewrapRows(rows, engine_, store.Rewrapping());
  });
}

int TVornEditRowWrapper::RewrapLines(TVornEditScreenStrings& store, int first, int n) {
  if (n <= 0 || !store.WordWrap()) return n;
  TStoreRows rows{store, first, n};
  RewrapRows(rows, engine_, false);
  return rows.Count();
}

void TVornEditRowWrapper::UnwrapAll(TVornEditScreenStrings& store) {
  if (store.Count() == 0) return;
  RewriteWholeStore(store, [&] {
    TStoreRows rows{store};
    UnwrapRows(rows);
  });
}

TVornEditRowWrapper& InstallWordWrap(TVornEditScreenStrings& store) {
  auto wrapper = std::make_unique<TVornEditRowWrapper>(store);
  TVornEditRowWrapper& installed = *wrapper;
  store.SetWrapper(std::move(wrapper));
  return installed;
}

TVornEditRowWrapper& RowWrapperOf(TVornEditScreenStrings& store) {
  if (auto* wrapper = dynamic_cast<TVornEditRowWrapper*>(&store.Wrapper())) return *wrapper;
  return InstallWordWrap(store);
}

std::shared_ptr<TVornEditScreenStrings> NewWrappedStore() {
  auto store = std::make_shared<TVornEditScreenStrings>();
  InstallWordWrap(*store);
  return store;
}

}  // namespace vorn
