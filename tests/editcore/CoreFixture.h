// A core on a wrapping store with a stated geometry, and the text and option helpers the tests share.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>

#include "editcore/EditCore.h"
#include "store/FixedGeometry.h"
#include "layout/StoreWrap.h"

namespace vorn::test {

struct TCoreOptions {
  int WrapByte = 0;  // 0: word wrap off
  int Tab = 4;
  bool FreeCaret = false;
  bool KeepCaret = false;
  bool InTab = false;
  bool NextLine = false;
};

class CoreTest : public ::testing::Test {
protected:
  TFixedGeometry geometry;
  std::shared_ptr<TVornEditScreenStrings> store = NewWrappedStore();
  TVornEditCore core{store, geometry};

  void Load(const std::string& text, const TCoreOptions& o = {}) {
    TVornEditCaretValues caret;
    caret.TabSpaceCount = o.Tab;
    caret.FreeCaret = o.FreeCaret;
    caret.KeepCaret = o.KeepCaret;
    caret.InTab = o.InTab;
    caret.NextLine = o.NextLine;
    core.SetCaretOptions(caret);
    if (o.WrapByte > 0) WrapOptionOf(*store).SetWrapByte(o.WrapByte);
    store->SetWordWrap(o.WrapByte > 0);
    store->ReplaceRows(0, store->Count(), text);
    core.SetFocused(true);
    core.SetTopRow(0);
    core.SetCaretPos(0, 0);
  }
  TRowCol Caret() const { return core.Caret(); }
};

// Text of random pieces from a table; the table decides which bytes a test stresses.
template <std::size_t N>
std::string RandomText(std::mt19937& rng, const char* const (&table)[N], int pieces) {
  std::string text;
  for (int i = 0; i < pieces; ++i) text += table[rng() % N];
  return text;
}

// The store's text as the offsets count it, rebuilt from the rows.
inline std::string JoinedText(const TVornEditCore& core) {
  std::string text;
  for (int r = 0; r < core.RowCount(); ++r) {
    text += core.GetRowText(r);
    if (core.RowKind(r) == reLineEnd) text += "\r\n";
  }
  return text;
}

}  // namespace vorn::test
