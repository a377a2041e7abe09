// Option records: Assign copies and == compares every field, checked from one list per record.
#include <gtest/gtest.h>

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "layout/WrapOption.h"
#include "options/EditOptions.h"
#include "options/EditSeikeiOption.h"
#include "syntax/EditColors.h"
#include "syntax/EditParserOptions.h"

namespace vorn {
namespace {

// One field of a record, moved away from its default through the public setters.
template <class R>
struct TFieldChange {
  const char* name;
  std::function<void(R&)> apply;
};

template <class R>
using TSame = std::function<bool(const R&, const R&)>;

// Every change must notify (else it proves nothing); a record with all changes applied must
// differ from one that lacks any single change, and Assign must bring either up to it.
template <class R>
void ExpectEveryFieldCopiedAndCompared(const std::function<std::unique_ptr<R>()>& make,
                                       const std::vector<TFieldChange<R>>& fields, const TSame<R>& same) {
  std::unique_ptr<R> all = make();
  for (const TFieldChange<R>& f : fields) {
    int calls = 0;
    all->SetOnChange([&calls](TNotifyPersistent*) { ++calls; });
    f.apply(*all);
    ASSERT_GT(calls, 0) << f.name << " changed nothing";
  }
  all->SetOnChange(nullptr);
  EXPECT_FALSE(same(*make(), *all));
  std::unique_ptr<R> copy = make();
  copy->Assign(*all);
  EXPECT_TRUE(same(*copy, *all)) << "Assign to a fresh record";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::unique_ptr<R> partial = make();
    for (std::size_t j = 0; j < fields.size(); ++j)
      if (j != i) fields[j].apply(*partial);
    EXPECT_FALSE(same(*partial, *all)) << fields[i].name << " is not compared";
    partial->Assign(*all);
    EXPECT_TRUE(same(*partial, *all)) << fields[i].name << " is not assigned";
  }
}

template <class R>
std::function<std::unique_ptr<R>()> Maker() {
  return [] { return std::make_unique<R>(); };
}

template <class R>
bool Equal(const R& a, const R& b) {
  return a == b;
}

TEST(RecordValues, CaretAndCursorsCoverEveryField) {
  using C = TVornEditCaret;
  ExpectEveryFieldCopiedAndCompared<C>(
      Maker<C>(),
      {
          {"AutoCursor", [](C& c) { c.SetAutoCursor(false); }},
          {"AutoIndent", [](C& c) { c.SetAutoIndent(false); }},
          {"FreeCaret", [](C& c) { c.SetFreeCaret(false); }},
          {"InTab", [](C& c) { c.SetInTab(true); }},
          {"KeepCaret", [](C& c) { c.SetKeepCaret(true); }},
          {"LockScroll", [](C& c) { c.SetLockScroll(true); }},
          {"NextLine", [](C& c) { c.SetNextLine(true); }},
          {"PrevSpaceIndent", [](C& c) { c.SetPrevSpaceIndent(true); }},
          {"RowSelect", [](C& c) { c.SetRowSelect(false); }},
          {"SelDragMode", [](C& c) { c.SetSelDragMode(dmManual); }},
          {"SelMove", [](C& c) { c.SetSelMove(false); }},
          {"Style", [](C& c) { c.SetStyle(csDos); }},
          {"TabIndent", [](C& c) { c.SetTabIndent(true); }},
          {"TabSpaceCount", [](C& c) { c.SetTabSpaceCount(3); }},
          {"WSpaceIndent", [](C& c) { c.SetWSpaceIndent(true); }},
          // IndentWithSpace drags SoftTab along; SoftTab then goes back on its own.
          {"IndentWithSpace", [](C& c) { c.SetIndentWithSpace(true); }},
          {"SoftTab", [](C& c) { c.SetSoftTab(false); }},
          {"IndentWidthEqTabWidth", [](C& c) { c.SetIndentWidthEqTabWidth(false); }},
          {"IndentWidth", [](C& c) { c.SetIndentWidth(5); }},
          {"ChangeColorForImeStatus", [](C& c) { c.SetChangeColorForImeStatus(true); }},
          {"DefaultCursor", [](C& c) { c.Cursors().SetDefaultCursor(TVornCursorId::cuDefault); }},
          {"DragSelCursor", [](C& c) { c.Cursors().SetDragSelCursor(TVornCursorId::cuIBeam); }},
          {"DragSelCopyCursor", [](C& c) { c.Cursors().SetDragSelCopyCursor(TVornCursorId::cuDrag); }},
          {"InSelCursor", [](C& c) { c.Cursors().SetInSelCursor(TVornCursorId::cuRightArrow); }},
          {"LeftMarginCursor", [](C& c) { c.Cursors().SetLeftMarginCursor(TVornCursorId::cuDefault); }},
      },
      Equal<C>);
}

TEST(RecordValues, MarginAndMarksCoverEveryField) {
  using M = TVornEditMargin;
  ExpectEveryFieldCopiedAndCompared<M>(Maker<M>(),
                                       {
                                           {"Character", [](M& m) { m.SetCharacter(5); }},
                                           {"Left", [](M& m) { m.SetLeft(3); }},
                                           {"Line", [](M& m) { m.SetLine(1); }},
                                           {"Top", [](M& m) { m.SetTop(7); }},
                                           {"UnderlineSpace", [](M& m) { m.SetUnderlineSpace(2); }},
                                       },
                                       Equal<M>);
  using K = TVornEditMarks;
  ExpectEveryFieldCopiedAndCompared<K>(Maker<K>(),
                                       {
                                           {"EofMark", [](K& m) { m.SetEofMark(false); }},
                                           {"RetMark", [](K& m) { m.SetRetMark(false); }},
                                           {"Underline", [](K& m) { m.SetUnderline(true); }},
                                           {"WordWrapLine", [](K& m) { m.SetWordWrapLine(true); }},
                                           {"TabMark", [](K& m) { m.SetTabMark(true); }},
                                           {"DBSpaceMark", [](K& m) { m.SetDBSpaceMark(true); }},
                                           {"SpaceMark", [](K& m) { m.SetSpaceMark(true); }},
                                       },
                                       Equal<K>);
}

TEST(RecordValues, SeikeiOptionCoversEveryFieldAndBothLists) {
  using S = TVornEditSeikeiOption;
  ExpectEveryFieldCopiedAndCompared<S>(
      Maker<S>(),
      {
          {"InsertSpace", [](S& o) { o.SetInsertSpace(false); }},
          {"CommentOnly", [](S& o) { o.SetCommentOnly(true); }},
          {"CommentThrough", [](S& o) { o.SetCommentThrough(false); }},
          {"TabToSpace", [](S& o) { o.SetTabToSpace(true); }},
          {"AutoTrigger", [](S& o) { o.SetAutoTrigger(true); }},
          {"WordWrap", [](S& o) { o.SetWordWrap(false); }},
          {"WrapCount", [](S& o) { o.SetWrapCount(40); }},
          {"RightUninsertSpaceStr", [](S& o) { o.SetRightUninsertSpaceStr("("); }},
          {"LeftUninsertSpaceStr", [](S& o) { o.SetLeftUninsertSpaceStr(")"); }},
          {"CommentList", [](S& o) { o.CommentList().Items(0).SetPattern("^;"); }},
          {"ItemizeList", [](S& o) { o.ItemizeList().Delete(0); }},
          {"AutoTriggerStr", [](S& o) { o.SetAutoTriggerStr("\x81\x42"); }},
      },
      Equal<S>);
}

TEST(RecordValues, SeikeiCopyOwnsItsListsApartFromTheSource) {
  TVornEditSeikeiOption src;
  TVornEditSeikeiOption copy;
  src.CommentList().Items(0).SetPattern("^;");
  copy.Assign(src);
  src.CommentList().Items(0).SetPattern("^#");
  EXPECT_EQ(copy.CommentList().Items(0).Pattern(), "^;");
}

TEST(RecordValues, WrapOptionCoversEveryField) {
  using W = TVornEditWrapOption;
  ExpectEveryFieldCopiedAndCompared<W>(Maker<W>(),
                                       {
                                           {"FollowRetMark", [](W& o) { o.SetFollowRetMark(true); }},
                                           {"FollowPunctuation", [](W& o) { o.SetFollowPunctuation(true); }},
                                           {"FollowStr", [](W& o) { o.SetFollowStr(")"); }},
                                           {"Leading", [](W& o) { o.SetLeading(true); }},
                                           {"LeadStr", [](W& o) { o.SetLeadStr("("); }},
                                           {"PunctuationStr", [](W& o) { o.SetPunctuationStr(","); }},
                                           {"WordBreak", [](W& o) { o.SetWordBreak(true); }},
                                           {"WrapByte", [](W& o) { o.SetWrapByte(40); }},
                                       },
                                       Equal<W>);
}

TEST(RecordValues, ColorEntryComparesItsLooksAndAssignAlsoTakesTheName) {
  using E = TVornEditColor;
  ExpectEveryFieldCopiedAndCompared<E>(Maker<E>(),
                                       {
                                           {"BkColor", [](E& c) { c.SetBkColor(0x00123456u); }},
                                           {"Color", [](E& c) { c.SetColor(0x00654321u); }},
                                           {"Style", [](E& c) { c.SetStyle(fsBold | fsItalic); }},
                                       },
                                       Equal<E>);
  E named;
  named.SetName("n");
  named.SetStyle(fsUnderline);
  E copy;
  copy.Assign(named);
  EXPECT_EQ(copy.Name(), "n");
}

TEST(RecordValues, KeywordAndBracketItemCoverEveryField) {
  using K = TVornEditKeyword;
  ExpectEveryFieldCopiedAndCompared<K>(
      Maker<K>(),
      {
          {"Pattern", [](K& k) { k.SetPattern("abc"); }},
          {"ColorIndex", [](K& k) { k.SetColorIndex(5); }},
          {"RangeStart", [](K& k) { k.SetRangeStart(2); }},
          {"RangeEnd", [](K& k) { k.SetRangeEnd(9); }},
          {"RepeatReplace", [](K& k) { k.SetRepeatReplace(true); }},
          {"HighlightGroup", [](K& k) { k.SetHighlightGroup(1); }},
      },
      [](const K& a, const K& b) { return a.SameAs(b); });
  using B = TVornEditBracketItem;
  const TSame<B> same = [](const B& a, const B& b) { return a.Equals(b); };
  const TFieldChange<B> colour{"ColorIndex", [](B& b) { b.SetColorIndex(3); }};
  const TFieldChange<B> escape{"RightBracketEscapeChar", [](B& b) { b.SetRightBracketEscapeChar("\\"); }};
  const TFieldChange<B> left{"LeftBracket", [](B& b) { b.LeftBracket().SetPattern("/*"); }};
  const TFieldChange<B> right{"RightBracket", [](B& b) { b.RightBracket().SetPattern("*/"); }};
  // A count above one forces LineOnly, so the two are checked in separate lists.
  ExpectEveryFieldCopiedAndCompared<B>(Maker<B>(),
                                       {colour, escape, left, right, {"LineOnly", [](B& b) { b.SetLineOnly(true); }}},
                                       same);
  ExpectEveryFieldCopiedAndCompared<B>(
      Maker<B>(), {colour, escape, left, right, {"RightBracketCount", [](B& b) { b.SetRightBracketCount(2); }}},
      same);
}

}  // namespace
}  // namespace vorn
