// The dispatcher against the cores it drives: random commands on two panes of one document run
// once each through the hooks, and leave exactly the text, carets and selections a replay of
// the same commands straight on the cores leaves.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "editcore/EditCore.h"
#include "layout/StoreWrap.h"
#include "store/FixedGeometry.h"
#include "shellcore/CommandDispatcher.h"
#include "shellcore/PaneCommands.h"

namespace vorn {
namespace {

class THeldText : public TVornClipboard {
public:
  void SetText(std::string_view sjis, bool box) override { held_ = TClipboardText{std::string(sjis), box}; }
  void Clear() override { held_.reset(); }
  std::optional<TClipboardText> Text() const override { return held_; }

private:
  std::optional<TClipboardText> held_;
};

// Two panes over one wrapped document, sharing a clipboard, as two panes of a window do.
struct TTwoPanes {
  TFixedGeometry geometry;
  std::shared_ptr<TVornEditScreenStrings> store = NewWrappedStore();
  TVornEditCore first{store, geometry};
  TVornEditCore second{store, geometry};
  THeldText clipboard;

  explicit TTwoPanes(const std::string& text) {
    geometry.Rows = 6;
    WrapOptionOf(*store).SetWrapByte(24);
    store->SetWordWrap(true);
    store->ReplaceRows(0, store->Count(), text);
    for (TVornEditCore* core : {&first, &second}) {
      core->SetClipboard(&clipboard);
      core->SetFocused(true);
      core->SetCaretPos(0, 0);
    }
  }
  TVornEditCore& Pane(int i) { return i == 0 ? first : second; }
  std::string Text() const {
    std::string text;
    for (int r = 0; r < store->Count(); ++r) {
      text += store->Row(r);
      if (store->RowEnd(r) == reLineEnd) text += "\r\n";
    }
    return text;
  }
};

TCommandState StateOf(const TVornEditCore& core, const TVornClipboard& clipboard) {
  TCommandState s;
  s.ReadOnly = core.ReadOnly();
  s.Selection = core.HasSelection();
  s.CanUndo = core.CanUndo();
  s.CanRedo = core.CanRedo();
  s.ClipboardText = clipboard.Text().has_value();
  s.BoxSelection = core.BoxMode();
  return s;
}

// The test's own reading of each function, written from the command table's names, so that a
// handler wired to the wrong operation shows as a difference.
void RunStraight(TVornEditCore& c, std::string_view name, bool shift) {
  using TCase = TVornEditCore::TCaseMapping;
  const TMoveFlags move{false, shift};
  static const std::map<std::string_view, void (*)(TVornEditCore&, TMoveFlags)> kMoves = {
      {"CursorUp", [](TVornEditCore& c, TMoveFlags f) { c.CursorUp(f); }},
      {"CursorDown", [](TVornEditCore& c, TMoveFlags f) { c.CursorDown(f); }},
      {"CursorRight", [](TVornEditCore& c, TMoveFlags f) { c.CursorRight(f); }},
      {"CursorLeft", [](TVornEditCore& c, TMoveFlags f) { c.CursorLeft(f); }},
      {"WordRight", [](TVornEditCore& c, TMoveFlags f) { c.WordRight(f); }},
      {"WordLeft", [](TVornEditCore& c, TMoveFlags f) { c.WordLeft(f); }},
      {"MoveLineStart", [](TVornEditCore& c, TMoveFlags f) { c.MoveLineStart(f); }},
      {"MoveLineEnd", [](TVornEditCore& c, TMoveFlags f) { c.MoveLineEnd(f); }},
      {"MoveLogicalLineStart", [](TVornEditCore& c, TMoveFlags f) { c.MoveLogicalLineStart(f); }},
      {"MoveLogicalLineEnd", [](TVornEditCore& c, TMoveFlags f) { c.MoveLogicalLineEnd(f); }},
      {"MoveFileStart", [](TVornEditCore& c, TMoveFlags f) { c.MoveFileStart(f); }},
      {"MoveFileEnd", [](TVornEditCore& c, TMoveFlags f) { c.MoveFileEnd(f); }},
      {"NextPage", [](TVornEditCore& c, TMoveFlags f) { c.NextPage(f); }},
      {"PrevPage", [](TVornEditCore& c, TMoveFlags f) { c.PrevPage(f); }},
      {"MoveWindowStart", [](TVornEditCore& c, TMoveFlags f) { c.MoveWindowStart(f); }},
      {"MoveWindowEnd", [](TVornEditCore& c, TMoveFlags f) { c.MoveWindowEnd(f); }},
      {"LineDown", [](TVornEditCore& c, TMoveFlags f) { c.LineDown(f); }},
      {"LineUp", [](TVornEditCore& c, TMoveFlags f) { c.LineUp(f); }},
  };
  if (auto it = kMoves.find(name); it != kMoves.end()) return it->second(c, move);
  if (name == "SelectAll") c.SelectAll();
  else if (name == "Copy") c.CopyToClipboard();
  else if (name == "InyouCopy") c.InyouCopy();
  else if (name == "Paste") c.PasteFromClipboard();
  else if (name == "Cut") c.CutToClipboard();
  else if (name == "SelectWord") c.SelectWord();
  else if (name == "SelectLine") c.SelectLine(c.CaretRow());
  else if (name == "CopyWord") c.CopyWord();
  else if (name == "CopyLine") c.CopyLine();
  else if (name == "InyouPaste") c.InyouPaste();
  else if (name == "BoxSelection") c.SetBoxMode(!c.BoxMode());
  else if (name == "Delete") c.DeleteChar();
  else if (name == "DeleteLine") c.DeleteLine();
  else if (name == "DeleteLineEnd") c.DeleteLineEnd();
  else if (name == "DeleteLineStart") c.DeleteLineStart();
  else if (name == "DeleteWord") c.DeleteWord();
  else if (name == "BackSpace") c.BackSpace();
  else if (name == "Enter") c.InsertLineBreak();
  else if (name == "Tab") c.InsertTab(c.CaretOptions().SoftTab);
  else if (name == "InsertEmptyLine") c.InsertEmptyLine();
  else if (name == "Undo") c.Undo();
  else if (name == "Redo") c.Redo();
  else if (name == "ExchangeUpperLower") c.ChangeCase(TCase::Exchange);
  else if (name == "ChangeUpperCase") c.ChangeCase(TCase::Upper);
  else if (name == "ChangeLowerCase") c.ChangeCase(TCase::Lower);
  else if (name == "TabToSpace") c.TabToSpace();
  else if (name == "SpaceToTab") c.SpaceToTab();
  else if (name == "InsertIndent") c.InsertIndent();
  else if (name == "ReverseIndent") c.ReverseIndent();
  else if (name == "CenterAlign") c.CenterAlign();
  else if (name == "LeftAlign") c.LeftAlign();
  else if (name == "RightAlign") c.RightAlign();
  else if (name == "ToggleInsertMode") c.SetOverwriteMode(!c.OverwriteMode());
  else ADD_FAILURE() << "no straight reading of " << name;
}

const std::string kText =
    "alpha beta\tgamma\r\n  indented Line with Words\r\n\x93\xfa\x96\x7b\x8c\xea \x82\xa0\x82\xa2 mixed\r\n"
    "\r\nlast line without break";

TEST(CommandDispatcher, RandomCommandsOnTwoPanesRunOnceThroughTheHooksAndMatchTheCores) {
  TTwoPanes window(kText), straight(kText);
  int current = 0;
  TCommandDispatcher dispatcher(
      [&] { return StateOf(window.Pane(current), window.clipboard); });
  AddPaneCommands(dispatcher, [&]() -> TVornEditCore& { return window.Pane(current); });
  std::vector<TCommandRun> before, after;
  dispatcher.AddBeforeHook([&](const TCommandRun& run) { before.push_back(run); });
  dispatcher.AddAfterHook([&](const TCommandRun& run) { after.push_back(run); });

  std::vector<int> functions;
  for (int n = 0; n < kFunctionCount; ++n)
    if (PaneCommandFunctions().test(static_cast<std::size_t>(n))) functions.push_back(n);
  std::mt19937 rng(20240611);
  int ran = 0;
  for (int step = 0; step < 1000; ++step) {
    current = static_cast<int>(rng() % 2);
    const int function = functions[rng() % functions.size()];
    const bool shift = rng() % 3 == 0;
    const std::string_view name = FunctionByNumber(function)->Name;
    const std::size_t hooksBefore = before.size();
    const bool enabled = dispatcher.Enabled(function, dispatcher.State());
    ASSERT_EQ(dispatcher.Run(function, shift), enabled) << step << " " << name;
    ran += enabled ? 1 : 0;
    ASSERT_EQ(before.size(), hooksBefore + (enabled ? 1 : 0)) << step << " " << name;
    ASSERT_EQ(before.size(), after.size());
    if (enabled) {
      EXPECT_EQ(before.back().Function, function);
      EXPECT_EQ(before.back().Shift, shift);
      EXPECT_EQ(before.back().Depth, 0);
    }
    if (enabled) RunStraight(straight.Pane(current), name, shift);
    ASSERT_EQ(window.Text(), straight.Text()) << "step " << step << ": " << name;
    for (int p = 0; p < 2; ++p) {
      ASSERT_EQ(window.Pane(p).Caret(), straight.Pane(p).Caret()) << "step " << step << ": " << name << " pane " << p;
      ASSERT_EQ(window.Pane(p).HasSelection(), straight.Pane(p).HasSelection()) << "step " << step << ": " << name;
      if (window.Pane(p).HasSelection()) {
        ASSERT_EQ(window.Pane(p).SelectionAnchor(), straight.Pane(p).SelectionAnchor()) << "step " << step << ": " << name;
      }
    }
    ASSERT_EQ(window.clipboard.Text().has_value(), straight.clipboard.Text().has_value()) << "step " << step << ": " << name;
  }
  EXPECT_EQ(static_cast<int>(before.size()), ran);
  EXPECT_GT(ran, 700);  // most commands ran; the rest were refused by their traits
  EXPECT_NE(window.Text(), kText);
}

TEST(CommandDispatcher, TraitsRefuseByStateAndHandlersRunNestedAtAGreaterDepth) {
  TCommandState state;
  TCommandDispatcher dispatcher([&] { return state; });
  const int cut = FunctionNumber("Cut"), saveAll = FunctionNumber("AllSave"), save = FunctionNumber("SaveFile");
  // Any function still greyed will do; which ones are greyed changes as functions get built.
  int print = 0;
  while (print < kFunctionCount && CommandTraits(print).When != TEnabledWhen::Never) ++print;
  ASSERT_LT(print, kFunctionCount);
  std::vector<std::pair<int, int>> runs;  // function, depth
  dispatcher.AddBeforeHook([&](const TCommandRun& r) { runs.emplace_back(r.Function, r.Depth); });
  for (int f : {cut, save, print}) dispatcher.Set(f, [](bool) {});
  dispatcher.Set(saveAll, [&](bool) { dispatcher.Run(save, false); });

  EXPECT_FALSE(dispatcher.Run(cut, false)) << "no selection";
  state.Selection = true;
  state.ReadOnly = true;
  EXPECT_FALSE(dispatcher.Run(cut, false)) << "read-only";
  state.ReadOnly = false;
  state.BrowseMode = true;
  EXPECT_FALSE(dispatcher.Run(cut, false)) << "browsing";
  state.BrowseMode = false;
  EXPECT_TRUE(dispatcher.Run(cut, false));
  EXPECT_FALSE(dispatcher.Run(print, false)) << "a function not built stays off, handler or not";
  EXPECT_FALSE(dispatcher.Run(FunctionNumber("Undo"), false)) << "no handler";
  EXPECT_TRUE(dispatcher.Run(saveAll, false));
  EXPECT_EQ(runs, (std::vector<std::pair<int, int>>{{cut, 0}, {saveAll, 0}, {save, 1}}));
  EXPECT_EQ(dispatcher.Depth(), 0);
}

// Every function the window builds is on in some state and every other one never is: the
// traits and the handlers cannot drift apart unnoticed.
TEST(CommandTraits, NotBuiltFunctionsAreNeverAllowedAndConditionsFollowTheState) {
  TCommandState all;
  all.Selection = all.FileName = all.CanUndo = all.CanRedo = all.ClipboardText = all.Split = true;
  all.MacroReplayable = all.DiffShown = all.DiffPartner = true;
  for (int n = 0; n < kFunctionCount; ++n) {
    const TCommandTraits& t = CommandTraits(n);
    EXPECT_EQ(CommandAllowed(t, all), t.When != TEnabledWhen::Never) << FunctionByNumber(n)->Name;
  }
  TCommandState none;
  EXPECT_FALSE(CommandAllowed(CommandTraits(FunctionNumber("Undo")), none));
  EXPECT_FALSE(CommandAllowed(CommandTraits(FunctionNumber("CloseOpen")), none));
  EXPECT_FALSE(CommandAllowed(CommandTraits(FunctionNumber("SplitterUp")), none));
  EXPECT_FALSE(CommandAllowed(CommandTraits(FunctionNumber("FindUnderDiff")), none)) << "no marks shown";
  EXPECT_TRUE(CommandAllowed(CommandTraits(FunctionNumber("DiffExec")), none));
  EXPECT_TRUE(CommandAllowed(CommandTraits(FunctionNumber("CursorDown")), none));
  none.BrowseMode = true;
  EXPECT_FALSE(CommandAllowed(CommandTraits(FunctionNumber("MoveLogicalLineEnd")), none));
  EXPECT_TRUE(CommandAllowed(CommandTraits(FunctionNumber("MoveLineEnd")), none));
  EXPECT_TRUE(CommandChecked(CommandTraits(FunctionNumber("ToggleBrowseMode")), none));
}

}  // namespace
}  // namespace vorn
