// The window's history end to end: the caret remembered across windows, the history and
// folder files as written, and a file another editor on the bus already shows.
#include "shell/Main.h"

#include "editor/VornEdit.h"
#include "platform/BusEndpoint.h"
#include "shellcore/BusWindowHandler.h"
#include "shellcore/FileHistory.h"
#include "shellcore/FunctionTable.h"
#include "platform/VornUtil.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <thread>

namespace vorn {
namespace {

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TSilentPrompts : public TDocumentPrompts {
public:
  bool ConfirmOkCancel(const std::string&) override { return false; }
  TPromptAnswer AskYesNoCancel(const std::string&) override { return TPromptAnswer::No; }
  void Warn(const std::string&) override {}
  void Error(const std::string&) override {}
  void Inform(const std::string& text) override { informed.push_back(text); }
  std::vector<std::string> informed;
};

// Another editor's window on the test's bus, answering from a thread of its own as a window
// of another process would.
class TOtherEditor : public TBusWindowHandler {
public:
  TOtherEditor(const std::string& runtime, std::string file) : endpoint_{TBusFolder(runtime)}, file_(std::move(file)) {
    const std::string error = endpoint_.Open("TVornEditMain", file_, [this](const TBusRequest& r) {
      return DispatchBusRequest(*this, r);
    });
    EXPECT_EQ(error, "");
    loop_ = std::thread([this] {
      while (!stop_) endpoint_.WaitAndProcess(20);
    });
  }
  ~TOtherEditor() override {
    stop_ = true;
    loop_.join();
  }
  TBusReply QueryOpenFile() override { return OpenFileReply(file_); }
  TBusReply QueryMain() override { return Handled(1); }
  TBusReply SetFocus() override {
    ++focused_;
    return Handled();
  }
  int Focused() const { return focused_; }
  std::int64_t Id() const { return endpoint_.Id(); }

private:
  TBusEndpoint endpoint_;
  std::string file_;
  std::atomic<int> focused_{0};
  std::atomic<bool> stop_{false};
  std::thread loop_;
};

class MainHistoryTest : public ::testing::Test {
protected:
  MainHistoryTest() {
    std::filesystem::create_directories(user_.Path() + "/user");
    std::filesystem::create_directories(runtime_.Path());
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    const std::string path = docs_.Path() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return CanonicalFileName(path);
  }

  std::unique_ptr<TVornEditMain> NewWindow() {
    auto w = std::make_unique<TVornEditMain>(false);
    TVornEditMain::TPrompts p;
    p.askCreateMissing = [](const QString&) { return daNo; };
    p.chooseFileIn = [](const QString&) { return QString(); };
    p.warn = [](const QString&) {};
    w->SetPrompts(p);
    w->SetHandOffEnabled(false);
    w->SetDocumentPrompts(&prompts_);
    w->SetProgramStarter([this](const std::string& params) { started_.push_back(params); });
    w->SetHistoryPlaces(UserFolderPath(), runtime_.Path());
    // The open dialog answers with whatever name the test put in chosen_.
    TVornEditMain::TFileDialogs dialogs;
    dialogs.askSaveAs = [] { return std::optional<TSaveAsRequest>(); };
    dialogs.askOpen = [this](bool) {
      return std::optional<std::pair<std::string, std::optional<TCharCodeKind>>>({chosen_, std::nullopt});
    };
    dialogs.askRename = [] { return std::optional<std::string>(); };
    w->SetFileDialogs(dialogs);
    w->resize(600, 300);
    return w;
  }

  std::string UserFolderPath() const { return user_.Path() + "/user/"; }
  TFileHistory StoredHistory() const {
    TFileHistory h;
    EXPECT_TRUE(LoadFileHistoryBytes(ReadBytes(UserFolderPath() + "FileHist.fhd"), h));
    return h;
  }

  vorn::testing::TTempFolder docs_, user_, runtime_;
  TSilentPrompts prompts_;
  std::vector<std::string> started_;
  std::string chosen_;

  void Open(TVornEditMain& w, const std::string& name) {
    chosen_ = name;
    ASSERT_TRUE(w.RunFunction(FunctionByName("LoadFromFile")->Number, false));
  }
};

std::string NumberedLines(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "line " + std::to_string(i) + "\r\n";
  return text;
}

TEST_F(MainHistoryTest, TheCaretOfAClosedWindowComesBackWhenTheFileIsReopened) {
  const std::string path = Write("long.txt", NumberedLines(300));
  int offset = 0;
  {
    auto w = NewWindow();
    ASSERT_TRUE(w->ProcessCommandLine({path}));
    EXPECT_EQ(w->Editor()->Core().CaretRow(), 0) << "a file never seen starts at its top";
    w->Editor()->Core().SetCaretPos(200, 3);
    offset = w->Editor()->Core().GetCaretOffset();
    EXPECT_TRUE(w->close());
  }
  const TFileHistory stored = StoredHistory();
  ASSERT_EQ(stored.Count(), 1);
  EXPECT_EQ(stored.Items()[0].fileName, path);
  EXPECT_EQ(stored.Items()[0].caret, offset);

  auto again = NewWindow();
  again->show();
  ASSERT_TRUE(again->ProcessCommandLine({path}));
  const TVornEditCore& core = again->Editor()->Core();
  EXPECT_EQ(core.CaretRow(), 200);
  EXPECT_EQ(core.CaretCol(), 3);
  EXPECT_EQ(core.GetCaretOffset(), offset);
  EXPECT_EQ(core.TopRow(), std::max(0, 200 - core.VisibleRows() / 2)) << "the caret row is shown mid-pane";
}

TEST_F(MainHistoryTest, LoadSaveAndCloseKeepTheNewestFileOnTopWithItsCaret) {
  const std::string a = Write("a.txt", NumberedLines(20));
  const std::string b = Write("b.txt", NumberedLines(20));
  auto w = NewWindow();
  ASSERT_TRUE(w->ProcessCommandLine({a}));
  EXPECT_EQ(StoredHistory().Items()[0].fileName, a) << "loading writes the entry";
  EXPECT_EQ(ReadBytes(UserFolderPath() + "Common.ini").find(docs_.Path()) != std::string::npos, true)
      << "the document's folder enters the folder history";

  w->Editor()->Core().SetCaretPos(5, 2);
  const int aOffset = w->Editor()->Core().GetCaretOffset();
  ASSERT_TRUE(w->RunFunction(FunctionByName("CloseFile")->Number, false));
  EXPECT_TRUE(w->FileName().empty());
  EXPECT_EQ(StoredHistory().Items()[0].caret, aOffset) << "closing the document records where its caret was";

  Open(*w, b);
  ASSERT_EQ(w->FileName(), b);
  w->Editor()->Core().SetCaretPos(7, 0);
  const int bOffset = w->Editor()->Core().GetCaretOffset();
  w->Editor()->Core().InsertText("x");
  ASSERT_TRUE(w->RunFunction(FunctionByName("SaveFile")->Number, false));
  const TFileHistory stored = StoredHistory();
  ASSERT_EQ(stored.Count(), 2);
  EXPECT_EQ(stored.Items()[0].fileName, b);
  EXPECT_EQ(stored.Items()[0].caret, bOffset + 1) << "saving records the caret after the typed character";
  EXPECT_EQ(stored.Items()[1].fileName, a);
  EXPECT_EQ(stored.Items()[1].caret, aOffset);
}

TEST_F(MainHistoryTest, NoHistoryOptionLeavesTheHistoryFileAlone) {
  const std::string path = Write("quiet.txt", "abc\r\n");
  auto w = NewWindow();
  ASSERT_TRUE(w->ProcessCommandLine({"/f", path}));
  EXPECT_TRUE(w->close());
  EXPECT_FALSE(std::filesystem::exists(UserFolderPath() + "FileHist.fhd"));
}

TEST_F(MainHistoryTest, AHistoryThatCannotBeWrittenNeverStopsTheLoad) {
  const std::string path = Write("kept.txt", "kept\r\n");
  auto w = NewWindow();
  // Nobody, root included, can make a folder under /proc.
  w->SetHistoryPlaces("/proc/vorn-no-such-folder/", runtime_.Path());
  ASSERT_TRUE(w->ProcessCommandLine({path}));
  EXPECT_EQ(w->FileName(), path);
  EXPECT_EQ(w->ShownText(), QStringLiteral("kept\n"));
  EXPECT_FALSE(w->StatusPanels()->Panel(TStatusPanels::spMessage)->Text().isEmpty());
}

TEST_F(MainHistoryTest, AFileAnotherEditorShowsBringsThatEditorForwardInsteadOfOpeningHere) {
  const std::string shown = Write("shown.txt", "shown\r\n");
  const std::string other = Write("other.txt", "other\r\n");
  TOtherEditor editor(runtime_.Path(), shown);
  auto w = NewWindow();
  EXPECT_EQ(w->WindowShowingFile(shown), editor.Id());
  EXPECT_EQ(w->WindowShowingFile(other), 0);

  Open(*w, shown);
  EXPECT_TRUE(w->FileName().empty()) << "the file is not opened a second time";
  EXPECT_EQ(editor.Focused(), 1);
  EXPECT_TRUE(started_.empty());
  EXPECT_EQ(prompts_.informed, std::vector<std::string>{shown + "は、既に開かれています"});

  Open(*w, other);
  EXPECT_EQ(w->FileName(), other);
  EXPECT_EQ(editor.Focused(), 1);
}

}  // namespace
}  // namespace vorn
