// The comparison and the program runs, below the window: the normal format read into row marks,
// the moves between them, the runs of the real diff and sh, and the hostile names.
#include "shellcore/DiffMarks.h"
#include "shellcore/DiffRun.h"
#include "shellcore/PipeText.h"
#include "shellcore/ProgramExec.h"

#include "base/ByteBuffer.h"
#include "platform/ChildRun.h"
#include "settings/VornMemInifile.h"
#include "store/ScreenStrings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "TempFolder.h"

namespace vorn {
namespace {

using namespace std::string_literals;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Data(const std::string& name) { return ReadAll(std::string(VORN_TEST_DATA_DIR) + "/diff/" + name); }

std::string WithCrLf(const std::string& lf) {
  std::string out;
  for (char c : lf) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
  return out;
}

void Load(TVornEditScreenStrings& store, const std::string& text) { store.LoadText(TByteBuffer(std::string(text))); }

// "row:kind/hunk" for every marked row, then "end:kind/hunk" for the end marker.
std::string Dump(const TVornEditScreenStrings& store, const TDiffEndMarker& end) {
  std::string out;
  for (int r = 0; r < store.Count(); ++r)
    if (store.DiffKind(r) != 0)
      out += std::to_string(r) + ":" + std::to_string(store.DiffKind(r)) + "/" + std::to_string(store.DiffIndex(r)) + " ";
  if (end.Set()) out += "end:" + std::to_string(end.Kind) + "/" + std::to_string(end.Hunk);
  return out;
}

bool RunToEnd(TChildRun& run) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!run.Pump(20))
    if (std::chrono::steady_clock::now() > deadline) return false;
  return true;
}

std::string Program() {
  const std::string diff = FindDiffProgram({});
  EXPECT_FALSE(diff.empty()) << "the set-up installs diffutils";
  return diff;
}

// The real program on the two sample texts gives the golden output, which marks both sides
// exactly: changed, added (with the arrow on the old side), deleted (with the arrow on the new
// side), and an addition after the last line on the old side's end marker.
TEST(DiffMarks, GoldenOutputMarksBothSides) {
  TDiffJob job;
  std::string error;
  ASSERT_TRUE(job.Prepare(error)) << error;
  ASSERT_TRUE(job.OtherFile().Write(WithCrLf(Data("old.txt"))));
  ASSERT_TRUE(job.OwnFile().Write(WithCrLf(Data("new.txt"))));
  ASSERT_TRUE(job.Start(Program(), TDiffOptions{}, true, error)) << error;
  ASSERT_TRUE(WaitForDiff(job, 20000));
  ASSERT_TRUE(job.Succeeded(error)) << error;
  std::string output = job.TakeOutput();
  // Both sides were written with CR LF, which the quoted lines keep.
  std::string unquoted;
  for (char c : output)
    if (c != '\r') unquoted += c;
  EXPECT_EQ(unquoted, Data("normal.golden"));

  TVornEditScreenStrings oldStore, newStore;
  Load(oldStore, WithCrLf(Data("old.txt")));
  Load(newStore, WithCrLf(Data("new.txt")));
  TDiffEndMarker oldEnd, newEnd;
  EXPECT_EQ(ApplyDiffMarks(oldStore, ParseDiffOutput(output, TDiffSide::dsOld), 0, oldEnd), 4);
  EXPECT_EQ(ApplyDiffMarks(newStore, ParseDiffOutput(output, TDiffSide::dsNew), 0, newEnd), 4);
  EXPECT_EQ(Dump(oldStore, oldEnd), "1:2/0 3:4/1 4:3/2 end:4/3");
  EXPECT_EQ(Dump(newStore, newEnd), "1:2/0 3:1/1 4:1/1 6:5/2 9:1/3 ");
  // The marks are only the diff fields: the text and its line ends stay as they were.
  EXPECT_EQ(newStore.GetRowsText(0, newStore.Count()), WithCrLf(Data("new.txt")));

  ClearDiffMarks(newStore);
  EXPECT_EQ(Dump(newStore, TDiffEndMarker{}), "");
}

TEST(DiffMarks, HeadsOfEachKindAndLinesThatAreNotHeads) {
  const std::string out = "2a3,4\n> x\n> y\n5,7d4\n< a\n---\n\\ No newline at end of file\n12,x9\n3q4\n";
  EXPECT_EQ(ParseDiffOutput(out, TDiffSide::dsNew),
            (std::vector<TDiffRange>{{3, 4, dkAdded, 0}, {5, 5, dkDeletedBelow, 1}}));
  EXPECT_EQ(ParseDiffOutput(out, TDiffSide::dsOld),
            (std::vector<TDiffRange>{{3, 3, dkAddedBelow, 0}, {5, 7, dkDeleted, 1}}));
  EXPECT_EQ(ParseDiffOutput("5,7c5,6\r\n", TDiffSide::dsNew), (std::vector<TDiffRange>{{5, 6, dkChanged, 0}}));
  EXPECT_TRUE(ParseDiffOutput("", TDiffSide::dsOld).empty());
}

TEST(DiffMarks, ASelectionsLinesAreShiftedByItsFirstLine) {
  TVornEditScreenStrings store;
  std::string text;
  for (int i = 0; i < 30; ++i) text += "line " + std::to_string(i) + "\r\n";
  Load(store, text);
  TDiffEndMarker end;
  // The compared piece starts at line 10 (index 9); its line 2 is the document's line 11.
  ApplyDiffMarks(store, ParseDiffOutput("2c2\n4,5d3\n", TDiffSide::dsOld), 9, end);
  EXPECT_EQ(Dump(store, end), "10:2/0 12:3/1 13:3/1 ");
}

// Rows 0-2 are hunk 0, rows 7-8 hunk 1, over a text of 12 rows.
class DiffMoves : public ::testing::Test {
protected:
  void SetUp() override {
    std::string text;
    for (int i = 0; i < 12; ++i) text += "r\r\n";
    Load(store, text);
    for (int r : {0, 1, 2}) store.SetDiffKind(r, dkChanged);
    for (int r : {7, 8}) {
      store.SetDiffKind(r, dkAdded);
      store.SetDiffIndex(r, 1);
    }
  }
  TVornEditScreenStrings store;
  TDiffEndMarker end;
};

TEST_F(DiffMoves, PreviousGoesToTheTopOfTheHunkAboveAndThenFindsNone) {
  TDiffTarget t = FindPreviousDiff(store, end, 8);
  ASSERT_TRUE(t.Found);
  EXPECT_EQ(t.Row, 0);
  EXPECT_FALSE(FindPreviousDiff(store, end, t.Row).Found);
  EXPECT_EQ(FindPreviousDiff(store, end, 5).Row, 0);
  // Beyond the last row counts as the last row.
  EXPECT_EQ(FindPreviousDiff(store, end, 12).Row, 7);
}

TEST_F(DiffMoves, NextVisitsTheHunksInOrderThenTheEndMarker) {
  EXPECT_EQ(FindNextDiff(store, end, 0).Row, 7);
  EXPECT_EQ(FindNextDiff(store, end, 3).Row, 7);
  // Inside the last hunk without an end marker: nothing below.
  EXPECT_FALSE(FindNextDiff(store, end, 7).Found);
  end = TDiffEndMarker{dkAddedBelow, 2};
  const TDiffTarget atEnd = FindNextDiff(store, end, 8);
  EXPECT_TRUE(atEnd.Found && atEnd.AtEnd);
  EXPECT_EQ(DiffHunkAt(store, end, store.Count()), 2);
  EXPECT_FALSE(FindNextDiff(store, end, store.Count()).Found);
  // The partner's jump: the first row of the hunk, or the end.
  EXPECT_EQ(FindDiffHunk(store, end, 1).Row, 7);
  EXPECT_TRUE(FindDiffHunk(store, end, 2).AtEnd);
  EXPECT_FALSE(FindDiffHunk(store, end, 5).Found);
}

// Walking next from the top and previous from the end visits every hunk once, in order, on a
// random layout of hunks; hunks that touch each other stay apart by their numbers.
TEST(DiffMovesRandom, NextAndPreviousVisitEveryHunkOnceInOrder) {
  std::srand(29);
  for (int round = 0; round < 50; ++round) {
    TVornEditScreenStrings store;
    const int rows = 20 + std::rand() % 100;
    std::string text;
    for (int i = 0; i < rows; ++i) text += "x\r\n";
    Load(store, text);
    std::vector<int> starts;
    int hunk = 0;
    for (int r = 0; r < rows;) {
      if (std::rand() % 3 == 0) {
        const int len = 1 + std::rand() % 4;
        starts.push_back(r);
        for (int k = 0; k < len && r < rows; ++k, ++r) {
          store.SetDiffKind(r, 1 + std::rand() % 5);
          store.SetDiffIndex(r, hunk);
        }
        ++hunk;
      } else {
        ++r;
      }
    }
    TDiffEndMarker end;
    std::vector<int> forward;
    int caret = 0;
    if (!starts.empty() && starts.front() == 0) forward.push_back(0);
    for (TDiffTarget t; (t = FindNextDiff(store, end, caret)).Found; caret = t.Row) forward.push_back(t.Row);
    EXPECT_EQ(forward, starts) << "round " << round;
    std::vector<int> backward;
    caret = rows;
    for (TDiffTarget t; (t = FindPreviousDiff(store, end, caret)).Found; caret = t.Row) backward.insert(backward.begin(), t.Row);
    // The end of the text is a position of its own: without an end marker it is in no hunk.
    EXPECT_EQ(backward, starts) << "round " << round;
  }
}

TEST(DiffRun, OptionSwitchAndArguments) {
  EXPECT_EQ(DiffOptionSwitch(TDiffOptions{true, true, true, true}), "-ibwB");
  EXPECT_EQ(DiffOptionSwitch(TDiffOptions{false, true, false, true}), "-bB");
  EXPECT_EQ(DiffArguments(TDiffOptions{}, "a", "b"), (std::vector<std::string>{"--", "a", "b"}));
  TVornMemInifile ini("");
  TDiffOptions o{true, false, true, false};
  o.Write(ini);
  TDiffOptions back;
  back.Read(ini);
  EXPECT_TRUE(back.IgnoreCase && !back.IgnoreSpaceChange && back.IgnoreAllSpace && !back.IgnoreBlankLine);
}

// Names the program is given never reach a shell: names made of quotes, ";", "$()", a line
// break and a leading "-" are only names, and the sentinel the name asks for never appears.
TEST(DiffRun, HostileNamesAreOnlyNames) {
  testing::TTempFolder folder;
  const std::string sentinel = folder / "ran";
  // The names cannot hold a "/": the commands they carry would make the sentinel in the run's folder.
  const std::string a = folder.Write("-r a'\"; touch ran; echo '", "one\n");
  const std::string b = folder.Write("$(touch ran)\n`touch ran`", "two\n");
  ASSERT_EQ(ReadAll(b), "two\n");
  TChildRun run;
  std::string error;
  ASSERT_TRUE(run.Start(Program(), DiffArguments(TDiffOptions{}, a, b), {}, folder.Path(), &error, false, false));
  ASSERT_TRUE(RunToEnd(run));
  EXPECT_EQ(run.ExitCode(), 1) << run.Errors();
  EXPECT_EQ(run.Output(), "1c1\n< one\n---\n> two\n");
  EXPECT_NE(::access(sentinel.c_str(), F_OK), 0);
}

// The two sides' files are private, distinct, and gone with the job, whether the program
// failed, was cancelled or never started.
TEST(DiffRun, TemporaryFilesArePrivateAndRemovedOnFailureAndCancel) {
  testing::TTempFolder folder;
  const std::string hang = folder.Write("hang", "#!/bin/sh\nexec sleep 300\n");
  const std::string fail = folder.Write("fail", "#!/bin/sh\necho broken >&2\nexit 2\n");
  ::chmod(hang.c_str(), 0700);
  ::chmod(fail.c_str(), 0700);
  for (const std::string& program : {hang, fail, folder / "missing"}) {
    std::string own, other;
    {
      TDiffJob job;
      std::string error;
      ASSERT_TRUE(job.Prepare(error));
      own = job.OwnFile().Path();
      other = job.OtherFile().Path();
      EXPECT_NE(own, other);
      struct stat st {};
      ASSERT_EQ(::stat(own.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 0777, 0600u);
      if (!job.Start(program, TDiffOptions{}, true, error)) {
        EXPECT_EQ(program, folder / "missing");
        continue;
      }
      if (program == hang) {
        EXPECT_FALSE(job.Run().Pump(100));
        job.Run().Cancel();
      } else {
        ASSERT_TRUE(WaitForDiff(job, 20000));
      }
      EXPECT_FALSE(job.Succeeded(error));
      if (program == fail) {
        EXPECT_EQ(error, "broken\n");
      }
    }
    EXPECT_NE(::access(own.c_str(), F_OK), 0) << program;
    EXPECT_NE(::access(other.c_str(), F_OK), 0) << program;
  }
}

TEST(ProgramExec, PlaceholdersAndQuoting) {
  EXPECT_EQ(SubstituteFileName("edit %F now 100%% %x %f", "/a/b.txt", false), "edit /a/b.txt now 100% %x /a/b.txt");
  EXPECT_EQ(SubstituteFileName("wc %F", "/a/it's.txt", true), "wc '/a/it'\\''s.txt'");
  EXPECT_EQ(NormalModeArguments("-n \"%F\" %F", "/x y/a\"b.txt"),
            (std::vector<std::string>{"-n", "/x y/a\"b.txt", "/x y/a\"b.txt"}));
  EXPECT_EQ(CommandFirstWord("\"my tool\" -x y"), "\"my tool\"");
}

// A document name built to run commands goes through the shell of console mode as one word.
TEST(ProgramExec, AHostileDocumentNameRunsNothingInConsoleMode) {
  testing::TTempFolder folder;
  const std::string sentinel = folder / "ran";
  const std::string name = folder / ("a'; touch " + sentinel + "; '\"$(touch " + sentinel + ")\"\n`touch " +
                                     sentinel + "`;x.txt");
  const std::string command = SubstituteFileName("printf '%s' %F", name, true);
  TChildRun run;
  std::string error;
  ASSERT_TRUE(run.Start(kShellProgram, ConsoleArguments(command), {}, folder.Path(), &error, false, false));
  ASSERT_TRUE(RunToEnd(run));
  EXPECT_EQ(run.Output(), name);
  EXPECT_NE(::access(sentinel.c_str(), F_OK), 0);
}

TEST(ProgramExec, ScriptFoundOnTheScriptPathRunsWithItsInterpreter) {
  testing::TTempFolder folder, scripts;
  const std::string tool = scripts.Write("tool.pl", "  #  ! perl -w  \nprint 1;\n");
  EXPECT_EQ(ResolveConsoleCommand("tool.pl a b", folder.Path(), "/nonexistent;" + scripts.Path()),
            "perl -w " + ShellQuote(tool) + " a b");
  scripts.Write("plain", "echo hi\n");
  EXPECT_EQ(ResolveConsoleCommand("plain", folder.Path(), scripts.Path()), ShellQuote(scripts / "plain"));
  // Not found anywhere: left to the shell's own search.
  EXPECT_EQ(ResolveConsoleCommand("sort -r", folder.Path(), scripts.Path()), "sort -r");
}

TEST(ProgramExec, HistoriesKeepTenNewestFirstAndTheStateSurvivesTheFile) {
  testing::TTempFolder folder;
  TProgramExecState state;
  for (int i = 0; i < 11; ++i) TProgramExecState::Push(state.Programs, "prog" + std::to_string(i));
  TProgramExecState::Push(state.Programs, "prog5");
  TProgramExecState::Push(state.Programs, "   ");
  ASSERT_EQ(state.Programs.size(), 10u);
  EXPECT_EQ(state.Programs.front(), "prog5");
  EXPECT_EQ(state.Programs.back(), "prog1");  // prog0 was pushed out by the eleventh
  state.Options = {"並べ替え", "\xF0\x9F\x98\x80 emoji"};
  state.Console = true;
  state.Input = piSelection;
  state.Output = poAppend;
  state.WaitSeconds = 7;
  state.ScriptPath = "/a;/b";
  {
    TVornMemInifile ini(folder / kProgHistFileName);
    state.Save(ini);
    ini.UpdateFile();
  }
  TVornMemInifile ini(folder / kProgHistFileName);
  TProgramExecState back;
  back.Load(ini);
  EXPECT_EQ(back.Programs, state.Programs);
  // What Shift_JIS cannot hold is left out rather than stored as substitutes.
  EXPECT_EQ(back.Options, std::vector<std::string>{"並べ替え"});
  EXPECT_TRUE(back.Console);
  EXPECT_EQ(back.Input, piSelection);
  EXPECT_EQ(back.Output, poAppend);
  EXPECT_EQ(back.WaitSeconds, 7);
  EXPECT_EQ(back.ScriptPath, "/a;/b");
  EXPECT_TRUE(ini.ReadBool("Option", "StdinSelected", false) && !ini.ReadBool("Option", "StdinNone", true));
}

// Shift_JIS text through a program in an EUC-JP document comes back as the same text, and the
// output's code is found by detection, whatever the document's code.
TEST(PipeText, TextGoesOutInTheDocumentsCodeAndComesBackDetected) {
  const std::string sjis = "\x83\x65\x83\x58\x83\x67\r\n\x93\xfa\x96\x7b\x8c\xea\r\n";  // テスト / 日本語
  std::size_t lost = 0;
  const std::string euc = PipeInputBytes(sjis, ckEuc, lbLF, lost);
  EXPECT_EQ(lost, 0u);
  EXPECT_EQ(euc, ConvertCharCode("\x83\x65\x83\x58\x83\x67\n\x93\xfa\x96\x7b\x8c\xea\n", ckSjis, ckEuc));
  TChildRun run;
  std::string error;
  ASSERT_TRUE(run.Start("cat", {}, euc, {}, &error));
  ASSERT_TRUE(RunToEnd(run));
  const TPipeOutput back = PipeOutputText(run.Output());
  EXPECT_EQ(back.Detected, ckEuc);
  EXPECT_EQ(back.Text, sjis);

  std::string utf8Bytes;
  for (int i = 0; i < 20; ++i) utf8Bytes += "日本語のテキスト\n";
  utf8Bytes += "\r\xF0\x9F\x98\x80\nxy";
  const TPipeOutput utf8 = PipeOutputText(utf8Bytes);
  EXPECT_EQ(utf8.Detected, ckUtf8N);
  EXPECT_EQ(utf8.Lost, 1u);
  EXPECT_EQ(utf8.Text.substr(0, 8), "\x93\xfa\x96\x7b\x8c\xea\x82\xcc");
  EXPECT_EQ(utf8.Text.substr(utf8.Text.size() - 4), "\r\nxy");
  // Three kana in EUC-JP are well-formed Shift_JIS too: the code they were sent in decides.
  const std::string kana = "\x82\xa0\x82\xa2\x82\xa4\r\n";
  EXPECT_EQ(PipeOutputText(ConvertCharCode(kana, ckSjis, ckEuc), ckEuc).Text, kana);
  EXPECT_EQ(PipeOutputText(ConvertCharCode(kana, ckSjis, ckUtf8N), ckUtf8N).Text, kana);
  EXPECT_EQ(PipeOutputText(kana, ckEuc).Text, kana) << "not EUC-JP: the detection stands";
  // A NUL byte makes the output binary, read as Shift_JIS as a file would be, the NUL a space.
  EXPECT_EQ(PipeOutputText("\x82\xa0\nx"s + '\0' + "y").Text, "\x82\xa0\r\nx y");
}

}  // namespace
}  // namespace vorn
