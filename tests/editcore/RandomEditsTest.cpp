// Random typing, deleting, Enter, selection edits, undo and redo on random Shift_JIS text with
// tabs and word wrap, against a model that is only a string and a byte caret.
#include <random>
#include <vector>

#include "CoreFixture.h"
#include "base/sjis.h"
#include "editcore/TextBreaks.h"
#include "store/Undo.h"

namespace vorn::test {
namespace {

const char* const kPieces[] = {"a", "bc", " ", "  ", "\t", "\x82\xA0", "\x88\x9F", "\xB1", ",", "\r\n", "word", "\x81\x40"};
const char* const kTyped[] = {"x", "yz", " ", "\t", "\x82\xA2", "\xB2", "\x81\x42", "12345"};

// The whole text and a byte caret; what the editing keys should do to them.
struct TModel {
  std::string Text;
  int Caret = 0;

  int LineStart(int at) const {
    const std::size_t br = Text.rfind("\r\n", static_cast<std::size_t>(std::max(0, at - 1)));
    return br == std::string::npos || static_cast<int>(br) + 2 > at ? 0 : static_cast<int>(br) + 2;
  }
  // Whether a caret at byte at stands between two characters.
  bool IsCharStart(int at) const {
    if (at == 0 || at == static_cast<int>(Text.size())) return true;
    if (Text.compare(static_cast<std::size_t>(at - 1), 2, "\r\n") == 0) return false;
    int i = LineStart(at);
    while (i < at) i += Text.compare(static_cast<std::size_t>(i), 2, "\r\n") == 0 ? 2 : static_cast<int>(sjis::CharLen(Text, static_cast<std::size_t>(i)));
    return i == at;
  }
  void Insert(const std::string& s) {
    Text.insert(static_cast<std::size_t>(Caret), s);
    Caret += static_cast<int>(s.size());
  }
  void BackSpace() {
    if (Caret == 0) return;
    int width = 1;
    if (Caret >= 2 && Text.compare(static_cast<std::size_t>(Caret - 2), 2, "\r\n") == 0) {
      width = 2;
    } else {
      int i = LineStart(Caret), last = i;
      while (i < Caret) {
        last = i;
        i += static_cast<int>(sjis::CharLen(Text, static_cast<std::size_t>(i)));
      }
      width = Caret - last;
    }
    Caret -= width;
    Text.erase(static_cast<std::size_t>(Caret), static_cast<std::size_t>(width));
  }
  void Delete() {
    if (Caret >= static_cast<int>(Text.size())) return;
    const bool lineEnd = Text.compare(static_cast<std::size_t>(Caret), 2, "\r\n") == 0;
    Text.erase(static_cast<std::size_t>(Caret), lineEnd ? 2 : sjis::CharLen(Text, static_cast<std::size_t>(Caret)));
  }
  // The blank run leading the caret's line, up to the caret.
  std::string Indent() const {
    std::string run;
    for (int i = LineStart(Caret); i < Caret;) {
      if (Text[static_cast<std::size_t>(i)] == ' ' || Text[static_cast<std::size_t>(i)] == '\t') {
        run += Text[static_cast<std::size_t>(i++)];
      } else if (Text.compare(static_cast<std::size_t>(i), 2, "\x81\x40") == 0 && i + 2 <= Caret) {
        run += "\x81\x40";
        i += 2;
      } else {
        break;
      }
    }
    return run;
  }
};

struct THistoryEntry {
  std::string Text;
  int CaretBefore = 0;
};

class RandomEdits : public CoreTest {
protected:
  TModel model;
  std::vector<THistoryEntry> undo, redo;
  bool autoIndent = false;

  int UndoRecords() { return store->UndoObj().UndoList().Count(); }

  // One random step; returns a name for failure messages.
  std::string Step(std::mt19937& rng) {
    const std::string before = model.Text;
    int caretBefore = model.Caret;
    const int records = UndoRecords();
    std::string name;
    bool edit = true;
    bool replaced = false;  // a selection was replaced, perhaps by the same text
    switch (rng() % 16) {
      case 0: case 1: case 2: {
        const std::string typed = kTyped[rng() % std::size(kTyped)];
        core.TypeText(typed);
        model.Insert(typed);
        name = "type";
        break;
      }
      case 3: case 4: core.BackSpace(); model.BackSpace(); name = "backspace"; break;
      case 5: case 6: core.DeleteChar(); model.Delete(); name = "delete"; break;
      case 7: {
        core.InsertLineBreak();
        model.Insert("\r\n" + (autoIndent ? model.Indent() : std::string()));
        name = "enter";
        break;
      }
      case 8: case 9: {
        const int length = static_cast<int>(model.Text.size());
        core.EmSetSel(static_cast<int>(rng() % (length + 1)), static_cast<int>(rng() % (length + 1)));
        const TTextRange sel = core.EmGetSel();
        EXPECT_TRUE(model.IsCharStart(sel.Start) && model.IsCharStart(sel.End));
        EXPECT_EQ(core.GetSelText(), model.Text.substr(static_cast<std::size_t>(sel.Start), static_cast<std::size_t>(sel.End - sel.Start)));
        EXPECT_EQ(core.GetSelLength(), sel.End - sel.Start);
        model.Caret = caretBefore = sel.Start;
        const int caretAtSelection = core.GetCaretOffset();
        EXPECT_EQ(caretAtSelection, sel.Start);
        std::string typed = rng() % 2 ? std::string() : std::string(kTyped[rng() % std::size(kTyped)]);
        replaced = sel.End > sel.Start || !typed.empty();
        if (typed.empty())
          core.DeleteSelection();
        else
          core.TypeText(typed);
        if (sel.End == sel.Start) {
          // Nothing was selected: typing inserts, deleting does nothing.
          model.Insert(typed);
        } else {
          model.Text.erase(static_cast<std::size_t>(sel.Start), static_cast<std::size_t>(sel.End - sel.Start));
          model.Insert(typed);
        }
        name = "selection edit";
        break;
      }
      case 10: case 11: {
        edit = false;
        name = "undo";
        const int caretNow = core.GetCaretOffset();
        core.Undo();
        if (!undo.empty()) {
          redo.push_back({model.Text, caretNow});
          model.Text = undo.back().Text;
          model.Caret = undo.back().CaretBefore;
          undo.pop_back();
        }
        break;
      }
      case 12: {
        edit = false;
        name = "redo";
        const int caretNow = core.GetCaretOffset();
        core.Redo();
        if (!redo.empty()) {
          undo.push_back({model.Text, caretNow});
          model.Text = redo.back().Text;
          model.Caret = redo.back().CaretBefore;
          redo.pop_back();
        }
        break;
      }
      default: {
        edit = false;
        name = "move";
        switch (rng() % 4) {
          case 0: core.SetCaretOffset(static_cast<int>(rng() % (model.Text.size() + 3))); break;
          case 1: core.CursorDown(); break;
          case 2: core.CursorUp(); break;
          default: rng() % 2 ? core.CursorRight() : core.CursorLeft(); break;
        }
        model.Caret = core.GetCaretOffset();
        EXPECT_TRUE(model.IsCharStart(model.Caret)) << "caret " << model.Caret;
        break;
      }
    }
    if (edit) {
      const bool changed = model.Text != before || replaced;
      // One undo step per change, none for a key that changed nothing.
      EXPECT_EQ(UndoRecords() - records, changed ? 1 : 0) << name;
      if (changed) {
        undo.push_back({before, caretBefore});
        redo.clear();
      }
    }
    return name;
  }
};

TEST_F(RandomEdits, TextAndCaretFollowTheModelAndUndoRestoresTheStart) {
  for (int seed = 1; seed <= 150; ++seed) {
    std::mt19937 rng(seed);
    const int wrap = rng() % 2 ? 8 + static_cast<int>(rng() % 9) : 0;
    Load(RandomText(rng, kPieces, static_cast<int>(rng() % 40)), TCoreOptions{.WrapByte = wrap, .Tab = rng() % 2 ? 4 : 8, .KeepCaret = rng() % 2 == 0});
    TVornEditCaretValues caret = core.CaretOptions();
    autoIndent = rng() % 2 == 0;
    caret.AutoIndent = autoIndent;
    caret.TabIndent = true;
    caret.WSpaceIndent = true;
    core.SetCaretOptions(caret);
    store->UndoObj().SetLimit(1 << 20);
    core.ClearUndo();  // loading is not one of the edits under test
    model = TModel{JoinedText(core), 0};
    undo.clear();
    redo.clear();
    const std::string original = model.Text;
    for (int step = 0; step < 200; ++step) {
      const std::string name = Step(rng);
      const std::string context = "seed " + std::to_string(seed) + " step " + std::to_string(step) + " " + name;
      ASSERT_EQ(JoinedText(core), model.Text) << context;
      ASSERT_FALSE(core.HasSelection()) << context;
      ASSERT_EQ(core.GetCaretOffset(), model.Caret) << context;
      if (HasFailure()) FAIL() << context;
    }
    while (core.CanUndo()) core.Undo();
    ASSERT_EQ(JoinedText(core), original) << "seed " << seed;
    ASSERT_EQ(core.GetCaretOffset(), undo.empty() ? model.Caret : undo.front().CaretBefore) << "seed " << seed;
  }
}

}  // namespace
}  // namespace vorn::test

namespace vorn::test {
namespace {

class HeldText : public TVornClipboard {
public:
  std::optional<TClipboardText> Held;
  void SetText(std::string_view sjis, bool box) override { Held = TClipboardText{std::string(sjis), box}; }
  void Clear() override { Held.reset(); }
  std::optional<TClipboardText> Text() const override { return Held; }
};

std::string AnyBytes(std::mt19937& rng, int n) {
  static const char kBytes[] = {'a', ' ', '\t', '\r', '\n', '\x82', '\xA0', '\x81', '\x40', '\xE0', '\xB1', 'Z', ','};
  std::string s;
  for (int i = 0; i < n; ++i) s += kBytes[rng() % std::size(kBytes)];
  return s;
}

class AnyEdits : public CoreTest {
protected:
  HeldText clip;

  unsigned Command(std::mt19937& rng) {
    const TMoveFlags shift{.Shift = rng() % 2 == 0};
    const unsigned pick = rng() % 34;
    switch (pick) {
      case 0: core.TypeText(AnyBytes(rng, 1 + static_cast<int>(rng() % 3))); break;
      case 1: core.InsertText(AnyBytes(rng, static_cast<int>(rng() % 6))); break;
      case 2: core.BackSpace(); break;
      case 3: core.DeleteChar(); break;
      case 4: core.InsertLineBreak(rng() % 2, rng() % 2); break;
      case 5: core.InsertTab(rng() % 2); break;
      case 6: core.SetOverwriteMode(!core.OverwriteMode()); break;
      case 7: core.SetBoxMode(!core.BoxMode()); break;
      case 8: core.CursorDown(shift); break;
      case 9: core.CursorRight(shift); break;
      case 10: core.CursorLeft(shift); break;
      case 11: core.SetCaretPos(static_cast<int>(rng() % 12), static_cast<int>(rng() % 20)); break;
      case 12: clip.SetText(AnyBytes(rng, static_cast<int>(rng() % 8)), rng() % 2); break;
      case 13: core.PasteFromClipboard(); break;
      case 14: core.CutToClipboard(); break;
      case 15: core.InyouPaste(); break;
      case 16: core.DeleteWord(); break;
      case 17: core.DeleteLine(); break;
      case 18: core.DeleteLineEnd(); break;
      case 19: core.DeleteLineStart(); break;
      case 20: core.InsertEmptyLine(); break;
      case 21: core.ChangeCase(static_cast<TVornEditCore::TCaseMapping>(rng() % 3)); break;
      case 22: core.TabToSpace(); break;
      case 23: core.SpaceToTab(); break;
      case 24: core.InsertIndent(); break;
      case 25: core.ReverseIndent(); break;
      case 26: rng() % 2 ? core.CenterAlign() : core.RightAlign(); break;
      case 27: core.SelectWord(); break;
      case 28: core.SelectLine(static_cast<int>(rng() % 10)); break;
      case 29: core.EmSetSel(static_cast<int>(rng() % 60), static_cast<int>(rng() % 60) - 3); break;
      case 30: core.DeleteSelection(); break;
      case 31: core.Undo(); break;
      case 32: core.Redo(); break;
      default: {
        core.SaveCleanUp = {.TrimRight = true, .TrimRightWSpace = true, .ExpandTab = true, .ExpandWSpace = true};
        core.CleanUpBeforeSave();
        break;
      }
    }
    return pick;
  }

  void CheckInvariants(const TCoreOptions& o, const std::string& context) {
    for (int r = 0; r < core.RowCount(); ++r) {
      const std::string row = core.GetRowText(r);
      ASSERT_EQ(row.find_first_of("\r\n"), std::string::npos) << context;
      if (r + 1 < core.RowCount()) {
        ASSERT_NE(core.RowKind(r), reTextEnd) << context;
      }
    }
    const int row = core.CaretRow(), col = core.CaretCol();
    ASSERT_LE(row, core.LastCaretRow()) << context;
    const std::string map = core.ColumnMapOf(row);
    if (col < static_cast<int>(map.size())) {
      ASSERT_NE(map[static_cast<std::size_t>(col)], '5') << context;
    }
    if (!o.FreeCaret && !core.BoxMode()) {
      ASSERT_LE(col, static_cast<int>(map.size())) << context;
    }
  }
};

TEST_F(AnyEdits, AnyBytesAndAnyCommandsStayUndoableToTheStart) {
  core.SetClipboard(&clip);
  for (int seed = 1; seed <= 200; ++seed) {
    std::mt19937 rng(seed);
    const TCoreOptions o{.WrapByte = rng() % 2 ? 6 + static_cast<int>(rng() % 8) : 0,
                         .Tab = 1 + static_cast<int>(rng() % 8),
                         .FreeCaret = rng() % 2 == 0,
                         .KeepCaret = rng() % 2 == 0,
                         .InTab = rng() % 3 == 0};
    core.SetOverwriteMode(false);
    core.SetBoxMode(false);
    // Files and the core hand the store CR LF breaks only; a lone CR straight into the store
    // makes rows that no edit can produce.
    Load(WithCrLfBreaks(AnyBytes(rng, static_cast<int>(rng() % 50))), o);
    store->UndoObj().SetLimit(1 << 20);
    core.ClearUndo();
    const std::string original = JoinedText(core);
    for (int step = 0; step < 120; ++step) {
      const std::string before = JoinedText(core);
      const int records = store->UndoObj().UndoList().Count();
      const unsigned pick = Command(rng);
      const std::string context = "seed " + std::to_string(seed) + " step " + std::to_string(step) + " command " + std::to_string(pick);
      CheckInvariants(o, context);
      // A new step undoes to the text before it and redoes to the text after it.
      if (pick != 31 && pick != 32 && store->UndoObj().UndoList().Count() == records + 1 && !core.ReadOnly()) {
        const std::string after = JoinedText(core);
        core.Undo();
        ASSERT_EQ(JoinedText(core), before) << context;
        core.Redo();
        ASSERT_EQ(JoinedText(core), after) << context;
      }
      if (HasFatalFailure()) return;
    }
    core.SetReadOnly(false);
    while (core.CanRedo()) core.Redo();
    const std::string final = JoinedText(core);
    while (core.CanUndo()) core.Undo();
    ASSERT_EQ(JoinedText(core), original) << "seed " << seed;
    while (core.CanRedo()) core.Redo();
    ASSERT_EQ(JoinedText(core), final) << "seed " << seed;
  }
}

}  // namespace
}  // namespace vorn::test
