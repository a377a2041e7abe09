// Recording and replay through the command dispatcher on editor cores, as a window runs them:
// a random session recorded, saved, loaded into a fresh window and replayed to the same text;
// macros that run themselves; painting and arguments around failures; the slots, names and
// the macro named before the caret.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "editcore/EditCore.h"
#include "layout/StoreWrap.h"
#include "macro/MacroCommands.h"
#include "macro/MacroFile.h"
#include "shellcore/PaneCommands.h"
#include "store/FixedGeometry.h"

namespace vorn {
namespace {

using testing::TTempFolder;

class THeldText : public TVornClipboard {
public:
  void SetText(std::string_view sjis, bool box) override { held_ = TClipboardText{std::string(sjis), box}; }
  void Clear() override { held_.reset(); }
  std::optional<TClipboardText> Text() const override { return held_; }

private:
  std::optional<TClipboardText> held_;
};

// A window reduced to what macros meet: one wrapped pane, its dispatcher with the pane
// functions, a few stand-in commands, and scripted answers for the dialogs.
class TTestWindow : public TMacroWindow {
public:
  TFixedGeometry geometry;
  std::shared_ptr<TVornEditScreenStrings> store = NewWrappedStore();
  TVornEditCore pane{store, geometry};
  THeldText clipboard;
  TCommandDispatcher dispatcher{[this] { return State(); }};
  TMacroCommands macros{dispatcher, *this};
  std::string macroFolder;
  std::vector<std::string> errors;
  std::vector<std::vector<std::string>> messages;  // the arguments each Message run saw
  int suspended = 0;                               // BeginUpdate minus EndUpdate
  std::optional<std::string> saveName, chosen;
  std::string description;

  TTestWindow(const std::string& text, std::string folder) : macroFolder(std::move(folder)) {
    geometry.Rows = 6;
    WrapOptionOf(*store).SetWrapByte(24);
    store->SetWordWrap(true);
    store->ReplaceRows(0, store->Count(), text);
    pane.SetClipboard(&clipboard);
    pane.SetFocused(true);
    pane.OnInputStr = [this](std::string_view typed) { macros.Recorder().Typed(typed); };
    AddPaneCommands(dispatcher, [this]() -> TVornEditCore& { return pane; });
    dispatcher.Set(FunctionNumber("BeginUpdate"), [this](bool) { if (macros.Player().Arguments()) ++suspended; });
    dispatcher.Set(FunctionNumber("EndUpdate"), [this](bool) { if (macros.Player().Arguments()) --suspended; });
    dispatcher.Set(FunctionNumber("Message"), [this](bool) {
      const std::vector<std::string>* args = macros.Player().Arguments();
      messages.push_back(args ? *args : std::vector<std::string>{"<no macro>"});
      if (args && !args->empty() && args->front() == "fail") throw EVornError("the command failed");
    });
    // A command that runs another, as saving or a macro from the cursor do.
    dispatcher.Set(FunctionNumber("SaveClose"), [this](bool) { dispatcher.Run(FunctionNumber("CursorDown"), false); });
    // A command with a dialog, given "w" and "*.txt" by the user.
    dispatcher.Set(FunctionNumber("Grep"), [this](bool) {
      macros.Recorder().StoreDialogInput(FunctionNumber("Grep"), {"w", "*.txt"});
    });
  }

  TCommandState State() const {
    TCommandState s;
    s.Selection = pane.HasSelection();
    s.CanUndo = pane.CanUndo();
    s.CanRedo = pane.CanRedo();
    s.ClipboardText = clipboard.Text().has_value();
    s.MacroReplayable = macros.CanReplay();
    return s;
  }
  std::string Text() const {
    std::string text;
    for (int r = 0; r < store->Count(); ++r) {
      text += store->Row(r);
      if (store->RowEnd(r) == reLineEnd) text += "\r\n";
    }
    return text;
  }
  bool Run(std::string_view name, bool shift = false) { return dispatcher.Run(FunctionNumber(name), shift); }

  TVornEditCore& CurrentPane() override { return pane; }
  std::string ClipboardText() override { return clipboard.Text() ? clipboard.Text()->Sjis : std::string(); }
  std::string MacroString(int i) override { return macros.Slots().MacroString(i); }
  TCharCodeKind CharCode() override { return ckEuc; }
  TLineBreakKind LineBreak() override { return lbCR; }
  void SuspendPanePainting(bool on) override { suspended += on ? 1 : -1; }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  TMacroFolders Folders() override { return TMacroFolders{macroFolder + "/", {}, {}}; }
  std::optional<std::string> AskSaveFileName(const std::string&) override { return saveName; }
  bool ConfirmOkCancel(const std::string&) override { return true; }
  std::string AskDescription(const std::string&) override { return description; }
  std::optional<std::string> ChooseMacro() override { return chosen; }
};

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

const std::string kText =
    "alpha beta\tgamma\r\n  indented Line with Words\r\n\x93\xfa\x96\x7b\x8c\xea \x82\xa0\x82\xa2 mixed\r\n"
    "\r\nlast line without break";

TEST(MacroReplay, ARandomSessionSavedAndLoadedReplaysToTheSameTextAndSavesAgainByteForByte) {
  TTempFolder folder("macro28");
  const std::vector<std::string> typings = {"x", "\x82\xa0\x82\xa2", " ", "\x93\xfa\x96\x7b\x8c\xea", "q\"'"};
  std::vector<int> functions;
  for (int n = 0; n < kFunctionCount; ++n)
    if (PaneCommandFunctions().test(static_cast<std::size_t>(n))) functions.push_back(n);
  for (unsigned seed = 1; seed <= 12; ++seed) {
    std::mt19937 rng(seed);
    TTestWindow recording(kText, folder.Path());
    recording.pane.SetCaretPos(1, 3);
    ASSERT_TRUE(recording.Run("ToggleMacroRecord"));
    for (int i = 0; i < 150; ++i) {
      if (rng() % 4 == 0) {
        recording.pane.TypeText(typings[rng() % typings.size()]);
        continue;
      }
      recording.dispatcher.Run(functions[rng() % functions.size()], rng() % 3 == 0);
    }
    ASSERT_TRUE(recording.Run("ToggleMacroRecord"));
    recording.saveName = folder / "session.mac";
    recording.description = "\x83\x65\x83\x58\x83\x67";
    ASSERT_TRUE(recording.Run("SaveMacro"));
    ASSERT_TRUE(recording.errors.empty()) << recording.errors.front();

    TTestWindow replay(kText, folder.Path());
    replay.pane.SetCaretPos(1, 3);
    replay.chosen = folder / "session.mac";
    ASSERT_TRUE(replay.Run("LoadMacro"));
    ASSERT_TRUE(replay.Run("ReplayMacro"));
    EXPECT_EQ(replay.Text(), recording.Text()) << "seed " << seed;
    EXPECT_EQ(replay.pane.CaretRow(), recording.pane.CaretRow());
    EXPECT_EQ(replay.pane.CaretCol(), recording.pane.CaretCol());
    replay.saveName = folder / "again.mac";
    replay.description = replay.macros.Recorder().Set().Description;
    ASSERT_TRUE(replay.Run("SaveMacro"));
    EXPECT_EQ(ReadBytes(folder / "again.mac"), ReadBytes(folder / "session.mac"));
    EXPECT_TRUE(replay.errors.empty());
  }
}

TEST(MacroReplay, OnlyTheUsersOwnCommandsAndTypingAreRecorded) {
  TTempFolder folder("macro28");
  folder.Write("one.mac", "CursorRight\r\nInputStr(\"in\")\r\n");
  TTestWindow w(kText, folder.Path());
  w.macros.Slots().Apply({folder / "one.mac"}, {});
  w.Run("ToggleMacroRecord");
  w.Run("SaveClose");          // runs CursorDown inside: one step
  w.Run("Tab");                // types a tab itself: no text step beside it
  w.Run("Macro1");             // its steps are the macro's, not the user's
  w.Run("CursorDown", true);   // extends with Shift
  w.Run("SelectAll", true);    // ignores Shift: recorded without
  w.Run("Grep");               // keeps what its dialog was given
  w.pane.TypeText("ab");
  w.Run("ToggleMacroRecord");
  std::string error;
  EXPECT_EQ(MacroFileText(w.macros.Recorder().Set(), &error),
            "SaveClose\r\nTab\r\nMacro1\r\nCursorDown ,SHIFT\r\nSelectAll\r\nGrep(\"w\",\"*.txt\")\r\nInputStr(\"ab\")\r\n");
  EXPECT_TRUE(w.macros.CanReplay());
  w.Run("ToggleMacroRecord");
  EXPECT_FALSE(w.macros.CanReplay()) << "starting empties the recording, and a recording is not replayed";
}

TEST(MacroReplay, AMacroThatRunsItselfStopsAtTheNestingLimitWithOneMessage) {
  TTempFolder folder("macro28");
  folder.Write("self.mac", "BeginUpdate\r\nMacro1\r\nInputStr(\"never\")\r\n");
  folder.Write("loop.mac", "ExtMacroExecute(\"loop\")\r\n");
  TTestWindow w(kText, folder.Path());
  w.macros.Slots().Apply({folder / "self.mac"}, {});
  EXPECT_TRUE(w.Run("Macro1"));
  ASSERT_EQ(w.errors.size(), 1u);
  EXPECT_NE(w.errors[0].find("16 段を超えました"), std::string::npos) << w.errors[0];
  EXPECT_EQ(w.suspended, 0) << "every level resumes the painting it suspended";
  EXPECT_EQ(w.Text(), kText);
  EXPECT_EQ(w.macros.Player().Nesting(), 0);
  EXPECT_EQ(w.macros.Player().Arguments(), nullptr);
  EXPECT_TRUE(w.macros.Slots().Slot(0).Steps.empty());

  EXPECT_FALSE(w.macros.RunLine("ExtMacroExecute(\"loop\")"));
  EXPECT_EQ(w.errors.size(), 2u);
  EXPECT_EQ(w.dispatcher.Depth(), 0);
}

TEST(MacroReplay, HandlersSeeTheStepsArgumentsOnlyWhileAMacroRunsAndAFailureEndsIt) {
  TTempFolder folder("macro28");
  TTestWindow w("%SELTEXT% and %COPYSTR%\r\nnext", folder.Path());
  w.macros.Slots().Apply({}, {"zero", "one"});
  w.pane.SelectRows(0, 1);
  w.Run("Message");
  EXPECT_TRUE(w.macros.RunLine("Message(\"[%SELTEXT%]\", %MACROSTR1%, '%charcode%%RETURNCODE%')"));
  EXPECT_TRUE(w.macros.RunLine("// a comment runs nothing"));
  folder.Write("fails.mac", "BeginUpdate\r\nBeginUpdate\r\nEndUpdate\r\nMessage(fail)\r\nMessage(after)\r\n");
  EXPECT_FALSE(w.macros.RunFileByName("fails"));
  const std::vector<std::vector<std::string>> expected = {
      {"<no macro>"}, {"[%SELTEXT% and %COPYSTR%\r\n]", "one", "21"}, {"fail"}};
  EXPECT_EQ(w.messages, expected);
  EXPECT_EQ(w.errors, std::vector<std::string>{"the command failed"});
  EXPECT_EQ(w.suspended, 0);
  EXPECT_EQ(w.macros.Player().Arguments(), nullptr);

  EXPECT_FALSE(w.macros.RunLine("Message(\"open"));
  EXPECT_EQ(w.errors.back(), "マクロ行「Message(\"open」: 引用符が閉じていません");
  folder.Write("damaged.mac", "Message(ok)\r\nMessage(\"\xfd\")\r\n");
  EXPECT_FALSE(w.macros.RunFileByName("damaged"));
  EXPECT_EQ(w.errors.back(), "マクロファイル「" + folder / "damaged.mac" + "」の 2 行目: 10 バイト目が Shift_JIS の文字ではありません");
  EXPECT_EQ(w.messages.size(), 3u) << "a damaged file runs no step at all";
}

TEST(MacroReplay, ASlotReadsItsFileAgainAtEachRun) {
  TTempFolder folder("macro28");
  folder.Write("m3.mac", "InputStr(\"1\")\r\n");
  TTestWindow w("", folder.Path());
  w.macros.Slots().Apply({"", "", folder / "m3.mac"}, {});
  w.Run("Macro3");
  folder.Write("m3.mac", "InputStr(\"2\")\r\n");
  w.Run("Macro3");
  EXPECT_EQ(w.Text(), "12");
}

TEST(MacroReplay, NamesResolveInTheProgramFolderThenTheTypeFolderAndListSorted) {
  TTempFolder program("macro28"), type("macro28t");
  program.Write("b.mac", "// b of program\r\n");
  program.Write("Alpha.MAC", "CursorUp\r\n// not the first line\r\n");
  type.Write("b.mac", "");
  type.Write("typeonly.mac", "");
  type.Write("notes.txt", "");
  const TMacroFolders folders{program.Path(), type.Path() + "\\", {}};
  EXPECT_EQ(ResolveMacroFile("b", folders), program / "b.mac");
  EXPECT_EQ(ResolveMacroFile("typeonly", folders), type / "typeonly.mac");
  EXPECT_EQ(ResolveMacroFile(program / "Alpha.MAC", folders), program / "Alpha.MAC");
  EXPECT_FALSE(ResolveMacroFile("missing", folders));
  EXPECT_FALSE(ResolveMacroFile(type.Path() + "/b.txt", folders));

  const std::vector<TMacroListRow> rows = ListMacroFiles(folders, {"", type / "b.mac"});
  std::vector<std::string> shown;
  for (const TMacroListRow& r : rows) shown.push_back(std::to_string(r.Slot) + " " + r.Path + " " + r.Description);
  const std::vector<std::string> expected = {
      "0 " + program / "Alpha.MAC" + " ", "0 " + program / "b.mac" + " b of program", "2 " + type / "b.mac" + " ",
      "0 " + type / "typeonly.mac" + " "};
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(MatchMacroName(rows, "B").Focus, 1);
  EXPECT_EQ(MatchMacroName(rows, "B").Selected, 1) << "b.mac equals b with .mac added";
  EXPECT_EQ(MatchMacroName(rows, "t").Selected, 3) << "the only row starting with t";
  EXPECT_EQ(MatchMacroName(rows, "x").Focus, -1);
  EXPECT_EQ(MacroFieldName(rows[0]), "Alpha");
}

TEST(MacroReplay, TheWordBeforeTheCaretRunsTheMacroOfThatName) {
  TTempFolder folder("macro28");
  folder.Write("hello.mac", "InputStr(\"HELLO\")\r\n");
  TTestWindow w("say hello", folder.Path());
  w.pane.SetCaretPos(0, 9);
  w.Run("ExecInputMacro");
  EXPECT_EQ(w.Text(), "say HELLO");
  w.pane.SetCaretPos(0, 3);
  w.Run("ExecInputMacro");
  EXPECT_EQ(w.Text(), "say HELLO");
  EXPECT_EQ(w.pane.CaretCol(), 3);
  EXPECT_FALSE(w.pane.HasSelection());
  EXPECT_EQ(w.suspended, 0);
}

}  // namespace
}  // namespace vorn
