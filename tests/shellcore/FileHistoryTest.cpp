// The file history: list rules against a model, the stored bytes, damage, and writers in
// several processes at once.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <random>

#include "platform/PathVariables.h"
#include "platform/VornUtil.h"
#include "syntax/KeyWord.h"
#include "shellcore/FileHistory.h"
#include "shellcore/FileHistoryStore.h"
#include "shellcore/GrepHandOff.h"
#include "shellcore/HistoryMenu.h"

namespace vorn {
namespace {

std::string TempFolder() {
  char dir[] = "/tmp/vorn-hist-XXXXXX";
  return ::mkdtemp(dir) ? CanonicalFileName(dir) : std::string();
}

TEST(FileHistory, TouchKeepsTheMostRecentThirtyWithoutDuplicates) {
  std::mt19937 random(18);
  TFileHistory history;
  std::vector<std::string> model;  // most recent first
  for (int step = 0; step < 2000; ++step) {
    const std::string name = "/h/file" + std::to_string(random() % 45);
    history.Touch(name).caret = step;
    model.erase(std::remove(model.begin(), model.end(), name), model.end());
    model.insert(model.begin(), name);
    if (model.size() > 30) model.resize(30);
  }
  ASSERT_EQ(history.Count(), 30);
  for (int i = 0; i < 30; ++i) EXPECT_EQ(history.Items()[i].fileName, model[i]);
  EXPECT_EQ(history.Find("/h/../h/" + model[3].substr(3)), &history.Items()[3]);
  EXPECT_EQ(history.Find("/H/" + model[3].substr(3)), nullptr) << "names compare exactly";
}

TEST(FileHistory, StoredBytesFollowTheLayoutAndReadBack) {
  TFileHistory history;
  TFileInfo& b = history.Touch("/d/b.txt");
  b.caret = 5;
  TFileInfo& a = history.Touch("/d/\xE3\x81\x82.txt");  // あ.txt
  a.caret = 0x01020304;
  a.numberedMarks[0] = 7;
  a.numberedMarks[9] = 1;
  a.marks = {3, 4};
  history.Touch("/d/\xF0\x9F\x98\x80");  // no code page 932 form: left out
  const std::string bytes = SaveFileHistoryBytes(history);
  auto i32 = [](std::uint32_t v) {
    return std::string{char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  };
  std::string expected = i32(2) + i32(0x01020304) + std::string("/d/\x82\xA0.txt\0", 10) + i32(12) + i32(7);
  for (int i = 1; i < 9; ++i) expected += i32(0xFFFFFFFF);
  expected += i32(1) + i32(3) + i32(4);
  expected += i32(5) + std::string("/d/b.txt\0", 9) + i32(10);
  for (int i = 0; i < 10; ++i) expected += i32(0xFFFFFFFF);
  EXPECT_EQ(bytes, expected);

  TFileHistory read;
  ASSERT_TRUE(LoadFileHistoryBytes(bytes + "trailing bytes are ignored", read));
  ASSERT_EQ(read.Count(), 2);
  EXPECT_EQ(read.Items()[0], history.Items()[1]);
  EXPECT_EQ(read.Items()[1], history.Items()[2]);
}

TEST(FileHistory, EveryTruncationOrCorruptionGivesAnEmptyHistory) {
  TFileHistory history;
  for (int i = 0; i < 4; ++i) history.Touch("/t/" + std::to_string(i)).marks.assign(i, i);
  const std::string bytes = SaveFileHistoryBytes(history);
  for (std::size_t cut = 1; cut < bytes.size(); ++cut) {
    TFileHistory read;
    read.Touch("/stale");
    EXPECT_FALSE(LoadFileHistoryBytes(bytes.substr(0, cut), read)) << cut;
    EXPECT_EQ(read.Count(), 0);
  }
  std::string hugeCount = bytes;
  hugeCount[3] = '\x7F';
  std::string hugeMarks = bytes;
  hugeMarks[4 + 4 + 4] = '\x7F';  // k of the first entry ("/t/3\0" is five bytes)
  hugeMarks[4 + 4 + 5 + 3] = '\x7F';
  std::string negative = bytes;
  negative[3] = '\x80';
  for (const std::string& bad : {hugeCount, hugeMarks, negative}) {
    TFileHistory read;
    EXPECT_FALSE(LoadFileHistoryBytes(bad, read));
    EXPECT_EQ(read.Count(), 0);
  }
  TFileHistory empty;
  EXPECT_TRUE(LoadFileHistoryBytes("", empty));
}

TEST(FileHistoryStore, ReopeningRestoresCaretAndMarksAndADamagedFileIsReplaced) {
  const std::string folder = TempFolder();
  TFileHistoryStore store(folder);
  TFileHistory history;
  std::string message;
  EXPECT_EQ(store.Load(history, message), TFileHistoryStore::hrNoFile);
  ASSERT_EQ(store.WriteEntry(history, folder + "/doc.txt", [](TFileInfo& f) {
    f.caret = 1234;
    for (int i = 0; i < 10; ++i) f.numberedMarks[i] = i * 10;
    f.marks = {99};
  }, message), TFileHistoryStore::hrOk) << message;

  TFileHistory other;
  ASSERT_EQ(store.Load(other, message), TFileHistoryStore::hrOk);
  const TFileInfo* f = other.Find(folder + "/./doc.txt");
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->caret, 1234);
  EXPECT_EQ(f->numberedMarks[9], 90);
  EXPECT_EQ(f->marks, std::vector<std::int32_t>{99});

  std::ofstream(store.FilePath(), std::ios::trunc) << "\x05\x00\x00\x00garbage";
  EXPECT_EQ(store.Load(other, message), TFileHistoryStore::hrDamaged);
  EXPECT_EQ(other.Count(), 0);
  EXPECT_NE(message.find("FileHist.fhd"), std::string::npos);
  ASSERT_EQ(store.WriteEntry(other, folder + "/next.txt", nullptr, message), TFileHistoryStore::hrOk);
  EXPECT_EQ(store.Load(other, message), TFileHistoryStore::hrOk);
  EXPECT_EQ(other.Count(), 1);
  std::system(("rm -rf '" + folder + "'").c_str());
}

TEST(FileHistoryStore, ConcurrentWritersInSeveralProcessesKeepEveryEntry) {
  const std::string folder = TempFolder();
  constexpr int kWriters = 3, kEach = 9;
  std::vector<pid_t> children;
  for (int w = 0; w < kWriters; ++w) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      TFileHistoryStore store(folder);
      TFileHistory history;
      std::string message;
      bool ok = true;
      for (int i = 0; i < kEach; ++i)
        ok &= store.WriteEntry(history, folder + "/w" + std::to_string(w) + "-" + std::to_string(i),
                               [&](TFileInfo& f) { f.caret = w * 100 + i; }, message) == TFileHistoryStore::hrOk;
      ::_exit(ok ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (pid_t pid : children) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  TFileHistory history;
  std::string message;
  ASSERT_EQ(TFileHistoryStore(folder).Load(history, message), TFileHistoryStore::hrOk) << message;
  ASSERT_EQ(history.Count(), kWriters * kEach);
  for (int w = 0; w < kWriters; ++w)
    for (int i = 0; i < kEach; ++i) {
      const TFileInfo* f = history.Find(folder + "/w" + std::to_string(w) + "-" + std::to_string(i));
      ASSERT_NE(f, nullptr);
      EXPECT_EQ(f->caret, w * 100 + i);
    }
  std::system(("rm -rf '" + folder + "'").c_str());
}

class TByteWidth : public TTextMeasure {
public:
  int TextWidth(std::string_view text) const override { return static_cast<int>(text.size()) * 6; }
};

TEST(FileHistoryMenu, CaptionsNumberPadAndNeverCutTheName) {
  TByteWidth measure;
  EXPECT_EQ(FileHistoryCaption(0, "/a/b.txt", measure), "0&1: b.txt                (/a/)");
  EXPECT_EQ(FileHistoryCaption(9, "/a/b.txt", measure).substr(0, 5), "&10: ");
  // A name's own "&" is doubled so the menu shows it instead of taking it as the access key.
  EXPECT_EQ(FileHistoryCaption(0, "/a&b/c&d.txt", measure), "0&1: c&&d.txt" + std::string(13, ' ') + " (/a&&b/)");
  const std::string name25 = "abcdefghijklmnopqrstuvwxy";
  EXPECT_EQ(FileHistoryCaption(2, "/a/" + name25, measure), "0&3: " + name25 + " (/a/)");
}

TEST(GrepHandOff, TheRecordCrossesTheFileIntactAndDamageIsReported) {
  const std::string folder = TempFolder();
  TGrepKeyWord out(nullptr);
  out.FileMask = "*.txt";
  out.BaseFolder = "/src";
  out.SubFolders = true;
  out.RunAtOnce = true;
  out.KeepDialogFolder = false;
  ASSERT_EQ(WriteGrepHandOff(folder, out), "");
  TGrepKeyWord in(nullptr);
  std::string reason;
  ASSERT_TRUE(ReadGrepHandOff(folder, in, reason)) << reason;
  EXPECT_EQ(in.FileMask, "*.txt");
  EXPECT_EQ(in.BaseFolder, "/src");
  EXPECT_TRUE(in.SubFolders && in.RunAtOnce && !in.KeepDialogFolder);

  std::ofstream(folder + "/Grep.fhd", std::ios::trunc) << "\x01";
  TGrepKeyWord untouched(nullptr);
  untouched.FileMask = "keep";
  EXPECT_FALSE(ReadGrepHandOff(folder, untouched, reason));
  EXPECT_EQ(untouched.FileMask, "keep");
  std::system(("rm -rf '" + folder + "'").c_str());
}

}  // namespace
}  // namespace vorn
