// TBracketStateUpdater: the incremental walk of row bracket states after edits.
#include "store/BracketStateUpdater.h"

#include <algorithm>

#include "store/ScreenStrings.h"

namespace vorn {

namespace {
int ScreenRowsOf(TVornEditScreenStrings& store) { return store.ScreenRowsOfViews(); }
}  // namespace

int TBracketStateUpdater::RowEndState(TVornEditScreenStrings&, int, int) { return -1; }

bool TBracketStateUpdater::RefersToLeft(int) const { return false; }

void TBracketStateUpdater::PrepareBackRefBracket(TVornEditScreenStrings&, int&, int&) {}

int TBracketStateUpdater::UpdateBracketStates(TVornEditScreenStrings& store, int a, bool repaint) {
  int count = store.Count();
  if (a < 0 || a > count - 1) return 0;
  int n = a - 1;
  while (n >= 0 && store.BracketState(n) == -2) --n;
  int start = 0;
  int s = -1;
  if (n >= 0) {
    s = RowEndState(store, n, store.BracketState(n));
    start = n + 1;
    PrepareBackRefBracket(store, start, s);
  }
  int g = std::min(a + 2 * ScreenRowsOf(store), count - 1);
  int changed = 0;
  for (int h = start; h <= g; ++h) {
    if (store.BracketState(h) == s && (s < 0 || !RefersToLeft(s))) return changed;
    store.SetBracketState(h, s);
    if (repaint) {
      store.NoteBracketStateChanged(h);
      ++changed;
    }
    s = RowEndState(store, h, s);
  }
  // Rows below g may now start in another state: they are recomputed when needed.
  if (g + 1 <= count - 1)
    store.ForEachWord(g + 1, count - 1 - g, [](TRowWord& w) { w.SetBracketState(-2); });
  return changed;
}

void TBracketStateUpdater::RecomputeBracketStates(TVornEditScreenStrings& store) {
  int count = store.Count();
  if (Empty()) {
    store.ForEachWord(0, count, [](TRowWord& w) { w.SetBracketState(-1); });
    return;
  }
  store.ForEachWord(0, count, [](TRowWord& w) { w.SetBracketState(-2); });
  int top = store.TopRowOfViews();
  int last = std::min(count - 1, top + 2 * ScreenRowsOf(store));
  int s = -1;
  for (int r = 0; r <= last; ++r) {
    store.SetBracketState(r, s);
    s = RowEndState(store, r, s);
  }
}

}  // namespace vorn
