#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "ScriptedPrompts.h"
#include "TempFolder.h"
#include "encoding/jconvert.h"
#include "shellcore/DocumentCommands.h"
#include "shellcore/InsertFile.h"
#include "store/HeadlessView.h"

namespace vorn {
namespace {

using testing::ReadWholeFile;
using testing::TScriptedPrompts;
using testing::TTempFolder;

class DocumentCommands : public ::testing::Test {
protected:
  TTempFolder dir_;
  TVornDocument doc_;
  TVornEditHeadlessView pane_{doc_.SharedStore()};
  TScriptedPrompts prompts_;
  TDocumentCommands commands_{doc_, pane_.Lines(), prompts_};

  std::string Text() const { return const_cast<TVornEditHeadlessView&>(pane_).Lines().GetTextStr(); }
  // Inserts line as a first line of its own, as typing it and Enter would.
  void Type(const std::string& line) { doc_.Store().ReplaceRows(0, 0, line + "\r\n", pane_.Caret()); }
};

TEST_F(DocumentCommands, QuerySaveAsksWithTheFileNameAndHonoursEachAnswer) {
  const std::string file = dir_.Write("q.txt", "old\r\n");
  ASSERT_TRUE(commands_.LoadDocument(file));
  Type("new");
  ASSERT_TRUE(doc_.Modified());
  const std::string question = "ファイル「 " + file + " 」は変更されています。保存しますか";

  prompts_.answers = {TPromptAnswer::Cancel, TPromptAnswer::No};
  EXPECT_FALSE(commands_.QuerySave());
  EXPECT_TRUE(commands_.QuerySave());
  EXPECT_EQ(ReadWholeFile(file), "old\r\n");
  EXPECT_TRUE(doc_.Modified());

  prompts_.answers = {TPromptAnswer::Yes};
  EXPECT_TRUE(commands_.QuerySave());
  EXPECT_EQ(ReadWholeFile(file), "new\r\nold\r\n");
  EXPECT_FALSE(doc_.Modified());
  EXPECT_EQ(prompts_.asked, std::vector<std::string>(3, question));
}

TEST_F(DocumentCommands, UntitledDocumentIsSavedThroughTheChooser) {
  Type("memo");
  prompts_.answers = {TPromptAnswer::Yes, TPromptAnswer::Yes};
  EXPECT_FALSE(commands_.QuerySave()) << "no chooser, nothing saved";
  EXPECT_EQ(prompts_.asked[0], "ファイル「 無題 」は変更されています。保存しますか");
  const std::string file = dir_ / "memo.txt";
  commands_.SetSaveAsChooser([&] { return std::optional<TSaveAsRequest>(TSaveAsRequest{file, std::nullopt, true}); });
  EXPECT_TRUE(commands_.QuerySave());
  EXPECT_EQ(doc_.FileName(), file);
  EXPECT_EQ(ReadWholeFile(file), "memo\r\n");
  EXPECT_FALSE(doc_.Modified());
}

// A child process under a file size limit saves; the save must fail, say so and keep the
// document modified under its old name and stamp, while the file keeps its old bytes.
TEST_F(DocumentCommands, SaveStoppedPartWayKeepsTheDocumentModifiedAndTheFileIntact) {
  const std::string old(50000, 'x');
  const std::string file = dir_.Write("f.txt", old);
  ASSERT_TRUE(commands_.LoadDocument(file));
  Type(std::string(2000000, 'y'));
  const TFileStamp stamp = doc_.Stamp();
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {100000, 100000};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(90);
    const bool saved = commands_.SaveDocument();
    const bool kept = doc_.Modified() && doc_.FileName() == file && doc_.Stamp() == stamp;
    ::_exit(!saved && kept && prompts_.errors.size() == 1 ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_TRUE(ReadWholeFile(file) == old);
}

// The characters each code holds and gives back unchanged, from a pool with the double-byte
// extensions (NEC row 13, IBM) and half-width katakana.
std::vector<std::string> RoundTripPool(TCharCodeKind code) {
  std::vector<std::string> candidates = {"a", "Z", "0", " ", "\t", "+", "-", "~", "\\", "\xB1", "\xDF"};
  for (int lead : {0x82, 0x88, 0x93, 0x87, 0xFA, 0xFB})
    for (int trail = 0x40; trail <= 0xFC; trail += 7)
      if (trail != 0x7F) candidates.push_back({static_cast<char>(lead), static_cast<char>(trail)});
  std::vector<std::string> pool;
  for (const std::string& c : candidates) {
    std::size_t lost = 0;
    const std::string there = ConvertCharCode(c, ckSjis, code, &lost);
    if (lost == 0 && ConvertCharCode(there, code, ckSjis) == c) pool.push_back(c);
  }
  return pool;
}

std::string RandomText(std::mt19937& random, const std::vector<std::string>& pool) {
  std::string text;
  const int lines = 1 + static_cast<int>(random() % 6);
  for (int line = 0; line < lines; ++line) {
    const int length = static_cast<int>(random() % 12);
    for (int i = 0; i < length; ++i) text += pool[random() % pool.size()];
    text += "\r\n";
  }
  if (random() % 2) text += pool[random() % pool.size()];  // a last line without a break
  return text;
}

TEST_F(DocumentCommands, SaveAsInEveryCodeAndLineBreakReadsBackIdentical) {
  std::mt19937 random(15);
  int round = 0;
  for (TCharCodeKind code : {ckSjis, ckJis, ckJisAscii, ckEuc, ckUnicodeLE, ckUnicodeBE, ckUtf8, ckUtf8N, ckUtf7}) {
    const std::vector<std::string> pool = RoundTripPool(code);
    ASSERT_GT(pool.size(), 20u) << code;
    if (code == ckSjis || code == ckUtf8 || code == ckUnicodeLE) {
      EXPECT_NE(std::find(pool.begin(), pool.end(), "\x87\x40"), pool.end()) << "NEC ① in " << code;
    }
    for (TLineBreakKind lineBreak : {lbCRLF, lbCR, lbLF}) {
      for (int sample = 0; sample < 4; ++sample, ++round) {
        const std::string text = RandomText(random, pool);
        pane_.Lines().SetTextStr(text);
        const std::string before = Text();
        const std::string file = dir_ / ("out" + std::to_string(round) + ".txt");
        TSaveAsRequest request{file, TSaveCodeChoice{code, lineBreak, false, false}, true};
        ASSERT_TRUE(commands_.SaveDocumentAs(request)) << code << "/" << lineBreak;
        EXPECT_EQ(doc_.FileName(), file);
        EXPECT_FALSE(doc_.Modified());

        pane_.Lines().SetTextStr("scratch");
        doc_.MarkSaved();
        ASSERT_TRUE(commands_.ReloadWithCode(code));
        EXPECT_TRUE(Text() == before) << ::testing::PrintToString(Text()) << " vs " << ::testing::PrintToString(before)
                                      << " code " << code << " break " << lineBreak << " round " << round;
        EXPECT_EQ(doc_.FileSettings().CharCode, code);
        EXPECT_EQ(doc_.FileSettings().LineBreak, lineBreak);
        EXPECT_FALSE(doc_.FileSettings().ReadOnly);
      }
    }
  }
  EXPECT_TRUE(prompts_.Quiet()) << (prompts_.asked.empty() ? "" : prompts_.asked[0]);
}

TEST_F(DocumentCommands, SaveAsAsksBeforeOverwritingAndKeepsTheCodeOnlyWhenItSaves) {
  const std::string there = dir_.Write("there.txt", "keep");
  Type("text");
  prompts_.answers = {TPromptAnswer::Cancel};
  EXPECT_FALSE(commands_.SaveDocumentAs({there, TSaveCodeChoice{ckUtf8, lbLF, false, false}, true}));
  EXPECT_EQ(prompts_.asked.back(), "ファイル「" + there + "」は存在します。上書きしますか");
  EXPECT_EQ(ReadWholeFile(there), "keep");
  EXPECT_EQ(doc_.FileSettings().CharCode, ckSjis);

  EXPECT_FALSE(commands_.SaveDocumentAs({dir_ / "no/dir.txt", TSaveCodeChoice{ckUtf8, lbLF, true, true}, true}));
  EXPECT_EQ(doc_.FileSettings().CharCode, ckSjis) << "a failed save changes nothing";
  EXPECT_FALSE(doc_.FileSettings().OpenCodeGiven);
  EXPECT_TRUE(doc_.FileName().empty());

  EXPECT_TRUE(commands_.SaveDocumentAs({there, TSaveCodeChoice{ckUtf8, lbLF, true, false}, false}));
  EXPECT_EQ(ReadWholeFile(there), "\xEF\xBB\xBFtext\n");
  EXPECT_TRUE(doc_.FileSettings().OpenCodeGiven);
  EXPECT_EQ(doc_.FileSettings().OpenCode, ckUtf8);
}

TEST_F(DocumentCommands, ReloadInAnotherCodeAndTheDiscardQuestion) {
  const std::string euc = "\xA4\xA2\xA4\xA4\xA4\xA6\xA4\xA8\xA4\xAA\xB4\xC1\xBB\xFA\n";  // あいうえお漢字
  const std::string file = dir_.Write("e.txt", euc);
  ASSERT_TRUE(commands_.ReloadWithCode(std::nullopt) == false) << "nothing to reload yet";
  doc_.FileSettings().OpenCodeGiven = true;
  doc_.FileSettings().OpenCode = ckSjis;
  doc_.FileSettings().LineBreakGiven = true;
  doc_.FileSettings().GivenLineBreak = lbCR;
  ASSERT_TRUE(commands_.LoadDocument(file));
  EXPECT_EQ(doc_.FileSettings().LineBreak, lbCR);
  const std::string asRead = Text();

  ASSERT_TRUE(commands_.ReloadWithCode(ckEuc));
  EXPECT_EQ(Text(), "\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8\x8A\xBF\x8E\x9A\r\n");
  EXPECT_EQ(doc_.FileSettings().CharCode, ckEuc);
  EXPECT_TRUE(doc_.FileSettings().OpenCodeGiven);
  EXPECT_EQ(doc_.FileSettings().LineBreak, lbCR) << "the fixed line break stays with a fixed code";

  Type("edit");
  prompts_.answers = {TPromptAnswer::Cancel};
  EXPECT_FALSE(commands_.ReloadWithCode(ckSjis));
  EXPECT_EQ(prompts_.asked.back(), "現在の変更を破棄します。よろしいですか");
  EXPECT_EQ(Text().substr(0, 6), "edit\r\n");
  EXPECT_EQ(doc_.FileSettings().CharCode, ckEuc);

  prompts_.answers = {TPromptAnswer::Ok};
  ASSERT_TRUE(commands_.ReloadWithCode(std::nullopt));
  EXPECT_FALSE(doc_.FileSettings().OpenCodeGiven);
  EXPECT_FALSE(doc_.FileSettings().LineBreakGiven) << "automatic detection frees the line break";
  EXPECT_EQ(doc_.FileSettings().LineBreak, lbLF);
  EXPECT_NE(Text(), asRead);
  EXPECT_FALSE(doc_.Modified());

  const std::string other = dir_.Write("other.txt", "o\r\n");
  ASSERT_TRUE(commands_.ReloadWithCode(ckSjis, other)) << "the reload dialog may name another file";
  EXPECT_EQ(doc_.FileName(), other);
  EXPECT_EQ(Text(), "o\r\n");
  EXPECT_FALSE(commands_.ReloadWithCode(ckSjis, dir_ / "missing.txt"));
  EXPECT_EQ(doc_.FileName(), other);
}

TEST_F(DocumentCommands, ChangedFileIsAskedAboutUntilAnswered) {
  const std::string file = dir_.Write("c.txt", "one\n");
  ASSERT_TRUE(commands_.LoadDocument(file));
  const TFileStamp loaded = doc_.Stamp();
  EXPECT_EQ(commands_.CheckForeignChange(), TFileChange::Unchanged);

  dir_.Write("c.txt", "one two\n");
  struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(loaded.seconds), loaded.nanoseconds}};
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
  const std::string question = file + "は、他のアプリケーションに書き換えられました。読み直しますか";

  prompts_.answers = {TPromptAnswer::Cancel, TPromptAnswer::No};
  EXPECT_EQ(commands_.CheckForeignChange(), TFileChange::Changed);
  EXPECT_EQ(commands_.CheckForeignChange(), TFileChange::Changed) << "Cancel asks again";
  EXPECT_EQ(commands_.CheckForeignChange(), TFileChange::Unchanged) << "No accepts this state of the file";
  EXPECT_EQ(prompts_.asked, std::vector<std::string>(2, question));
  EXPECT_EQ(Text(), "one\r\n");

  dir_.Write("c.txt", "three\n");
  Type("mine");
  prompts_.answers = {TPromptAnswer::Yes, TPromptAnswer::Ok};
  EXPECT_EQ(commands_.CheckForeignChange(), TFileChange::Changed);
  EXPECT_EQ(prompts_.asked.back(), "現在の変更を破棄します。よろしいですか");
  EXPECT_EQ(Text(), "three\r\n");
  EXPECT_FALSE(doc_.Modified());
}

TEST_F(DocumentCommands, DeletedFileIsToldOnceAndTheTextIsNotLostOnClose) {
  const std::string file = dir_.Write("d.txt", "precious\n");
  ASSERT_TRUE(commands_.LoadDocument(file));
  ASSERT_EQ(::unlink(file.c_str()), 0);
  EXPECT_EQ(commands_.CheckForeignChange(), TFileChange::Deleted);
  EXPECT_EQ(commands_.CheckForeignChange(), TFileChange::Deleted);
  ASSERT_EQ(prompts_.warnings.size(), 1u);
  EXPECT_EQ(prompts_.warnings[0], TDocumentCommands::DeletedOnDiskText(file));
  EXPECT_TRUE(doc_.Modified());

  prompts_.answers = {TPromptAnswer::Yes};
  EXPECT_TRUE(commands_.CloseDocument());
  EXPECT_EQ(ReadWholeFile(file), "precious\n") << "closing asked, and the answer saved it again";
  EXPECT_TRUE(doc_.FileName().empty());
  EXPECT_FALSE(doc_.Modified());
  EXPECT_EQ(Text(), "");
}

TEST_F(DocumentCommands, RenameTouchesNoFileAndLeavesTheDocumentModified) {
  const std::string file = dir_.Write("a.txt", "a\r\n");
  const std::string other = dir_.Write("b.txt", "b\r\n");
  ASSERT_TRUE(commands_.LoadDocument(file));
  Type("x");
  prompts_.answers = {TPromptAnswer::Cancel, TPromptAnswer::Ok};
  EXPECT_FALSE(commands_.Rename(other));
  EXPECT_EQ(doc_.FileName(), file);
  EXPECT_TRUE(commands_.Rename(other));
  EXPECT_EQ(prompts_.asked.back(), "ファイル「" + other + "」は存在します。ファイル名を変更してもいいですか");
  EXPECT_EQ(doc_.FileName(), other);
  EXPECT_TRUE(doc_.Modified());
  EXPECT_FALSE(doc_.Store().UndoObj().CanUndo());
  EXPECT_EQ(ReadWholeFile(file), "a\r\n");
  EXPECT_EQ(ReadWholeFile(other), "b\r\n");
  EXPECT_EQ(commands_.CheckForeignChange(), TFileChange::Unchanged) << "the new name was never read";
  ASSERT_TRUE(commands_.SaveDocument());
  EXPECT_EQ(ReadWholeFile(other), "x\r\na\r\n");
}

TEST_F(DocumentCommands, ReadOnlyStateAtLoadForRootToo) {
  const std::string file = dir_.Write("ro.txt", "r\r\n");
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  ASSERT_TRUE(commands_.LoadDocument(file));
  EXPECT_TRUE(doc_.FileSettings().ReadOnly);
  doc_.MarkUnsaved();
  EXPECT_FALSE(commands_.SaveDocument());
  EXPECT_EQ(ReadWholeFile(file), "r\r\n");
  EXPECT_EQ(prompts_.warnings.back(), "上書きするファイルは読みとり専用です。上書きは中止します");

  const std::string lossy = dir_.Write("nul.txt", std::string("n\0l\r\n", 5));
  ASSERT_TRUE(commands_.LoadDocument(lossy));
  EXPECT_TRUE(doc_.FileSettings().ReadOnly);
  EXPECT_FALSE(commands_.LoadDocument(dir_ / "missing.txt"));
  EXPECT_EQ(prompts_.warnings.back(), "そのファイルは存在しません。読み込みを中止します");
  EXPECT_EQ(doc_.FileName(), lossy) << "a failed load keeps the document";
  EXPECT_EQ(Text(), "n l\r\n");
}

TEST_F(DocumentCommands, ChangingTheSaveCodeMakesTheDocumentModified) {
  const std::string file = dir_.Write("s.txt", "s\r\n");
  ASSERT_TRUE(commands_.LoadDocument(file));
  EXPECT_FALSE(commands_.ChangeSaveCode({ckSjis, lbCRLF, false, false}));
  EXPECT_FALSE(doc_.Modified());
  EXPECT_TRUE(commands_.ChangeSaveCode({ckUtf8N, lbLF, false, true}));
  EXPECT_TRUE(doc_.Modified());
  ASSERT_TRUE(commands_.SaveDocument());
  EXPECT_EQ(ReadWholeFile(file), "s\n");
}

TEST(InsertFile, TextArrivesInTheInternalCodeWithCrLfAndNoNul) {
  TTempFolder dir;
  TScriptedPrompts prompts;
  // UTF-16LE with a signature: "あ" LF U+0000 "b" CR
  const std::string file = dir.Write("u.txt", std::string("\xFF\xFE\x42\x30\x0A\x00\x00\x00\x62\x00\x0D\x00", 12));
  const std::optional<TInsertText> text = ReadFileForInsert(file, std::nullopt, prompts);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->code, ckUnicodeLE);
  EXPECT_EQ(text->text, "\x82\xA0\r\n b\r\n");
  EXPECT_EQ(text->nulBytesReplaced, 1u);
  const std::optional<TInsertText> forced = ReadFileForInsert(dir.Write("s.txt", "a\nb"), ckSjis, prompts);
  ASSERT_TRUE(forced);
  EXPECT_EQ(forced->text, "a\r\nb");
  EXPECT_FALSE(ReadFileForInsert(dir / "none.txt", std::nullopt, prompts));
  EXPECT_EQ(prompts.errors, std::vector<std::string>{"ファイル「" + (dir / "none.txt") + "」は存在しません"});
}

}  // namespace
}  // namespace vorn
