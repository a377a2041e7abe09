// The journal through real processes: an editor that types and is killed leaves a journal that
// the next start offers; accepting gives the exact text, declining leaves the file and removes
// the journal; a cut journal never crashes a start and never reaches the file.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "document/DocumentJournal.h"
#include "document/JournalFormat.h"
#include "ProgramCopy.h"
#include "TempFolder.h"

#include <QApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace vorn {
namespace {

namespace fs = std::filesystem;

// Answers the restore offer as told and records what it was asked and told.
class TOfferPrompts : public testing::TQuietPrompts {
public:
  explicit TOfferPrompts(TPromptAnswer answer) : answer_(answer) {}
  TPromptAnswer AskYesNoCancel(const std::string& text) override {
    asked.push_back(text);
    return answer_;
  }
  std::vector<std::string> asked;

private:
  TPromptAnswer answer_;
};

class JournalWindowTest : public ::testing::Test {
protected:
  void SetUp() override {
    program_ = testing::ProgramCopy(tmp_, {});
    ::setenv("XDG_STATE_HOME", (tmp_ / "state").c_str(), 1);
    folder_ = DefaultJournalFolder();
  }

  // Starts the editor on args, waits until its journal replays to want (the writer has put the
  // typing on the disk), then kills it without a chance to clean up.
  std::string TypeAndKill(const std::vector<std::string>& args, const std::string& want) {
    const std::string exe = program_ + "VornEditor";
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      std::vector<char*> argv{const_cast<char*>(exe.c_str())};
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      ::execv(exe.c_str(), argv.data());
      ::_exit(127);
    }
    std::string found;
    QElapsedTimer clock;
    clock.start();
    while (found.empty() && clock.elapsed() < 15000) {
      std::error_code ec;
      for (const auto& entry : fs::directory_iterator(folder_, ec)) {
        const TJournalContents c = ParseJournal(testing::ReadBytes(entry.path().string()));
        if (c.Damage != jdNone || c.Edits.empty()) continue;
        std::string text(c.Header.FileBase ? base_ : std::string());
        ApplyJournalEdits(text, c.Edits);
        if (text == want) found = entry.path().string();
      }
      ::usleep(20000);
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
    return found;
  }

  std::unique_ptr<TVornEditMain> Start(TDocumentPrompts& prompts, const std::vector<std::string>& args) {
    auto w = std::make_unique<TVornEditMain>();
    testing::MakeQuiet(*w, prompts);
    w->Services().startProgram = [this](const std::string& params) { started_.push_back(params); };
    EXPECT_TRUE(w->ProcessCommandLine(args));
    return w;
  }

  testing::TTempFolder tmp_{"vorn-journal-window"};
  std::string program_, folder_, base_;
  std::vector<std::string> started_;
};

TEST_F(JournalWindowTest, AKilledEditorsTypingIsRestoredExactlyOrDeclinedWithTheFileUntouched) {
  base_ = "first line\r\nsecond\r\n";
  const std::string file = fs::canonical(tmp_.Write("notes.txt", base_)).string();
  const std::string typed = "typed\x82\xa0";  // Shift_JIS, as the store holds it
  const std::string journal = TypeAndKill({file, "-lInputStr(\"typed\xe3\x81\x82\")"}, typed + base_);
  ASSERT_FALSE(journal.empty()) << "no journal of the typing appeared";
  const std::string bytes = testing::ReadBytes(journal);
  EXPECT_EQ(testing::ReadBytes(file), base_);
  EXPECT_EQ(fs::status(journal).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  {
    TOfferPrompts yes(TPromptAnswer::Yes);
    auto w = Start(yes, {file});
    ASSERT_EQ(yes.asked.size(), 1u);
    EXPECT_NE(yes.asked[0].find(file), std::string::npos);
    EXPECT_EQ(StoreText(w->Document().Store()), typed + base_);
    EXPECT_TRUE(w->Modified());
    EXPECT_EQ(testing::ReadBytes(file), base_);
  }
  std::ofstream(journal, std::ios::binary) << bytes;
  {
    TOfferPrompts no(TPromptAnswer::No);
    auto w = Start(no, {file});
    ASSERT_EQ(no.asked.size(), 1u);
    EXPECT_EQ(StoreText(w->Document().Store()), base_);
    EXPECT_FALSE(w->Modified());
    EXPECT_FALSE(fs::exists(journal));
  }
  EXPECT_EQ(testing::ReadBytes(file), base_);

  // Cut anywhere: a start reads, offers or sets aside, and never writes the file.
  std::mt19937 rng(11);
  for (int cut = 0; cut < 200; ++cut) {
    const std::size_t at = rng() % bytes.size();
    std::ofstream(journal, std::ios::binary | std::ios::trunc) << bytes.substr(0, at);
    TOfferPrompts yes(TPromptAnswer::Yes);
    auto w = Start(yes, {file});
    const std::string text = StoreText(w->Document().Store());
    EXPECT_TRUE(text == base_ || text == typed + base_ || (!yes.asked.empty() && text.size() < typed.size() + base_.size()))
        << at;
    w.reset();
    ASSERT_EQ(testing::ReadBytes(file), base_) << at;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) fs::remove(entry.path(), ec);
  }
}

TEST_F(JournalWindowTest, AKilledUntitledDocumentIsOfferedAtTheNextStart) {
  const std::string journal = TypeAndKill({"-lInputStr(\"scratch\")"}, "scratch");
  ASSERT_FALSE(journal.empty());
  EXPECT_EQ(fs::path(journal).filename().string().rfind("untitled-", 0), 0u);
  TOfferPrompts yes(TPromptAnswer::Yes);
  auto w = Start(yes, {});
  ASSERT_EQ(yes.asked.size(), 1u);
  EXPECT_EQ(StoreText(w->Document().Store()), "scratch");
  EXPECT_TRUE(w->FileName().empty());
  EXPECT_FALSE(fs::exists(journal));
}

}  // namespace
}  // namespace vorn
