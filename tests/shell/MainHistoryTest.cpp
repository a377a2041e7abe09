// The window's history end to end: the caret remembered across windows, the history and
// folder files as written, and a file another editor on the bus already shows.
#include "shell/Main.h"
#include "WindowTestKit.h"

#include "editor/VornEdit.h"
#include "platform/BusClient.h"
#include "platform/BusEndpoint.h"
#include "shell/CommandActions.h"
#include "shell/FileCommandsPart.h"
#include "shellcore/FileHistoryStore.h"
#include "shellcore/MenuTree.h"
#include "store/EditLineMark.h"
#include "dialogs/DocumentFileDialog.h"
#include "dialogs/FolderHistoryPopup.h"
#include "settings/VornMemInifile.h"
#include "shellcore/FolderHistory.h"
#include "shellcore/BusWindowHandler.h"
#include "shellcore/FileHistory.h"
#include "shellcore/FunctionTable.h"
#include "platform/VornUtil.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <fstream>
#include <future>
#include <iterator>
#include <thread>

namespace vorn {
namespace {

using testing::ReadBytes;

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
    auto w = std::make_unique<TVornEditMain>();
    testing::MakeQuiet(*w, prompts_);
    w->Services().startProgram = [this](const std::string& params) { started_.push_back(params); };
    w->SetHistoryPlaces(UserFolderPath(), runtime_.Path());
    // The open dialog answers with whatever name the test put in chosen_.
    TWindowServices::TFileDialogs dialogs;
    dialogs.askSaveAs = [] { return std::optional<TSaveAsRequest>(); };
    dialogs.askOpen = [this](bool) {
      return std::optional<std::pair<std::string, std::optional<TCharCodeKind>>>({chosen_, std::nullopt});
    };
    dialogs.askRename = [] { return std::optional<std::string>(); };
    w->Services().fileDialogs = dialogs;
    w->resize(600, 300);
    return w;
  }

  std::string UserFolderPath() const { return user_.Path() + "/user/"; }
  void WriteCommonIni(const std::string& standardKeys) {
    std::ofstream(UserFolderPath() + "Common.ini", std::ios::binary) << "[Standard]\r\n" << standardKeys;
  }
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


TVornEditLineMark& MarksOf(TVornEditMain& w) { return w.Editor()->Core().Store().LineMarkTable(); }

// Numbered marks 0-9 and the unnumbered ones, as the history entry stores them.
std::vector<int> MarkEntries(TVornEditMain& w) {
  std::vector<int> entries;
  for (int i = 0; i < MarksOf(w).EntryCount(); ++i) entries.push_back(MarksOf(w).Entry(i));
  return entries;
}

TEST_F(MainHistoryTest, ReopeningBringsBackCaretAndEveryMarkAsTheCommonSettingsAllow) {
  // Wrapped rows make row and file line differ: marks are file lines, the caret a character offset.
  std::string text = NumberedLines(300);
  text.insert(text.find("line 40\r\n"), std::string(500, 'w'));
  const std::string path = Write("marked.txt", text);
  std::vector<int> marked;
  int offset = 0;
  {
    auto w = NewWindow();
    ASSERT_TRUE(w->ProcessCommandLine({path}));
    for (int n = 0; n < 10; ++n) MarksOf(*w).SetNumbered(n, 10 * n + 5 + (n % 3));
    MarksOf(*w).AddUnnumbered(250);
    MarksOf(*w).AddUnnumbered(7);
    marked = MarkEntries(*w);
    w->Editor()->Core().SetCaretPos(w->Editor()->Core().LineToRow(200), 3);
    offset = w->Editor()->Core().GetCaretOffset();
    EXPECT_TRUE(w->close());
  }
  const TFileInfo stored = StoredHistory().Items().at(0);
  EXPECT_EQ(stored.caret, offset);
  EXPECT_EQ(std::vector<int>(stored.numberedMarks.begin(), stored.numberedMarks.end()),
            std::vector<int>(marked.begin(), marked.begin() + 10));
  EXPECT_EQ(stored.marks, (std::vector<std::int32_t>{250, 7}));

  auto both = NewWindow();
  ASSERT_TRUE(both->ProcessCommandLine({path}));
  EXPECT_EQ(both->Editor()->Core().GetCaretOffset(), offset);
  EXPECT_EQ(MarkEntries(*both), marked);
  both.reset();

  // Loading writes the entry again, with what was not restored left out: each case starts
  // from the history as the first window left it.
  const std::string historyBytes = ReadBytes(UserFolderPath() + "FileHist.fhd");
  const auto restoreHistory = [&] {
    std::ofstream(UserFolderPath() + "FileHist.fhd", std::ios::binary | std::ios::trunc) << historyBytes;
  };
  WriteCommonIni("ReserveCaret=0\r\n");
  auto marksOnly = NewWindow();
  ASSERT_TRUE(marksOnly->ProcessCommandLine({path}));
  EXPECT_EQ(marksOnly->Editor()->Core().GetCaretOffset(), 0);
  EXPECT_EQ(MarkEntries(*marksOnly), marked);
  marksOnly.reset();

  restoreHistory();
  WriteCommonIni("ReserveMark=0\r\n");
  auto caretOnly = NewWindow();
  ASSERT_TRUE(caretOnly->ProcessCommandLine({path}));
  EXPECT_EQ(caretOnly->Editor()->Core().GetCaretOffset(), offset);
  EXPECT_EQ(MarkEntries(*caretOnly), std::vector<int>(10, -1));
}

// The file menu's entries after the fixed items, as the window last built them.
std::vector<QAction*> HistoryItems(TVornEditMain& w) {
  QMenu* menu = w.Actions()->RunTimeListMenu(kFileHistoryList);
  Q_EMIT menu->aboutToShow();
  const QList<QAction*> all = menu->actions();
  std::vector<QAction*> items(all.begin() + all.indexOf(w.Actions()->RunTimeListAnchor(kFileHistoryList)) + 1,
                              all.end());
  return items;
}

TEST_F(MainHistoryTest, TheFileMenuListsTheNewestThirtyAndOpensThem) {
  WriteCommonIni("FileHistMenuCount=12\r\n");
  std::vector<std::string> files;
  for (int i = 0; i < 31; ++i) files.push_back(Write("f" + std::to_string(i) + ".txt", NumberedLines(3)));
  auto w = NewWindow();
  ASSERT_TRUE(w->ProcessCommandLine({}));
  EXPECT_TRUE(HistoryItems(*w).empty());
  for (const std::string& f : files) ASSERT_TRUE(w->LoadDocument(f, false));
  ASSERT_TRUE(w->LoadDocument(files[5], false));
  const TFileHistory stored = StoredHistory();
  ASSERT_EQ(stored.Count(), 30) << "the 31st file pushed the oldest out";
  EXPECT_EQ(stored.Items()[0].fileName, files[5]) << "reopening moves the entry to the top";
  EXPECT_EQ(stored.Items()[1].fileName, files[30]);
  EXPECT_EQ(stored.Items()[29].fileName, files[1]);
  EXPECT_FALSE(w->History().Items().empty());

  const std::vector<QAction*> items = HistoryItems(*w);
  ASSERT_EQ(items.size(), 12u);
  EXPECT_TRUE(items[0]->text().startsWith(QStringLiteral("0&1: f5.txt") + QString(14, ' ') + QStringLiteral(" (")))
      << items[0]->text().toStdString();
  EXPECT_TRUE(items[9]->text().startsWith(QStringLiteral("&10: f22.txt"))) << items[9]->text().toStdString();
  EXPECT_TRUE(w->Actions()->RunTimeListAnchor(kFileHistoryList)->isVisible());

  // This window shows a file: a click hands the entry to a new copy; its own entry does nothing.
  items[0]->trigger();
  EXPECT_TRUE(started_.empty());
  items[1]->trigger();
  ASSERT_EQ(started_.size(), 1u);
  EXPECT_NE(started_[0].find("\"" + files[30] + "\""), std::string::npos) << started_[0];
  EXPECT_EQ(w->FileName(), files[5]);

  // With Shift the entry replaces the document, which keeps its caret in the history.
  w->Editor()->Core().SetCaretPos(2, 1);
  const int caret = w->Editor()->Core().GetCaretOffset();
  w->FileCommands().OpenHistoryEntry(files[30], true);
  EXPECT_EQ(w->FileName(), files[30]);
  EXPECT_EQ(StoredHistory().Items()[0].fileName, files[30]);
  EXPECT_EQ(StoredHistory().Find(files[5])->caret, caret);
}

TEST_F(MainHistoryTest, AnotherProcessWritingTheHistoryReachesTheMenuThroughTheBus) {
  const std::string mine = Write("mine.txt", "mine\r\n");
  const std::string theirs = Write("theirs.txt", "theirs\r\n");
  auto w = NewWindow();
  ASSERT_EQ(w->OpenBus(TBusFolder(runtime_.Path())), "");
  ASSERT_TRUE(w->ProcessCommandLine({mine}));
  ASSERT_EQ(HistoryItems(*w).size(), 1u);

  TFileHistory other;
  std::string message;
  ASSERT_EQ(TFileHistoryStore(UserFolderPath()).WriteEntry(other, theirs, [](TFileInfo&) {}, message),
            TFileHistoryStore::hrOk);
  EXPECT_EQ(HistoryItems(*w).size(), 1u) << "the menu is not rebuilt before the message";
  TBusRequest request;
  request.name = std::string(BusMessageName(TBusMessage::bmLoadFileHistory));
  auto posted = std::async(std::launch::async, [&] { return PostBusMessage(TBusFolder(runtime_.Path()), w->BusId(), request); });
  posted.wait();
  for (int i = 0; i < 200 && w->History().Count() < 2; ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
  const std::vector<QAction*> items = HistoryItems(*w);
  ASSERT_EQ(items.size(), 2u);
  EXPECT_TRUE(items[0]->text().startsWith(QStringLiteral("0&1: theirs.txt")));
}

TEST_F(MainHistoryTest, TheOpenDialogKeepsItsSizeAndTheFoldersTheUserFixedInCommonIni) {
  const std::string doc = Write("doc.txt", "doc\r\n");
  const std::string docFolder = doc.substr(0, doc.rfind('/') + 1);
  vorn::testing::TTempFolder a, b;
  std::ofstream(UserFolderPath() + "Common.ini", std::ios::binary)
      << "[Standard]\r\nFolderHistCount=3\r\n[CommonDialog]\r\nWidth=640\r\nHeight=470\r\n"
      << "[FolderHistory]\r\nCount=2\r\nFolder0=" << a.Path() << "\r\nFolderFixed0=0\r\nFolder1=" << b.Path()
      << "\r\nFolderFixed1=0\r\n";
  TVornEditMain w;  // the window's own dialogs
  w.SetDocumentPrompts(&prompts_);
  w.SetHistoryPlaces(UserFolderPath(), runtime_.Path());
  ASSERT_TRUE(w.ProcessCommandLine({}));
  bool shown = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<TDocumentFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    shown = true;
    EXPECT_EQ(dialog->size(), QSize(640, 470));
    QTest::mouseClick(dialog->FolderHistoryButton(), Qt::LeftButton);
    auto* popup = dialog->findChild<TFolderHistoryPopup*>();
    ASSERT_NE(popup, nullptr);
    popup->item(1)->setCheckState(Qt::Checked);
    QTest::keyClick(popup, Qt::Key_Escape);
    dialog->resize(700, 500);
    dialog->selectFile(QString::fromStdString(doc));
    static_cast<QDialog*>(dialog)->accept();
  });
  ASSERT_TRUE(w.RunFunction(FunctionByName("LoadFromFile")->Number, false));
  ASSERT_TRUE(shown);
  EXPECT_EQ(w.FileName(), doc);
  const TVornMemInifile ini(UserFolderPath() + "Common.ini");
  EXPECT_EQ(ini.ReadInteger("CommonDialog", "Width", -1), 700);
  EXPECT_EQ(ini.ReadInteger("CommonDialog", "Height", -1), 500);
  EXPECT_EQ(ReadFolderHistory(ini, 30),
            (std::vector<TFolderEntry>{{b.Path(), true}, {docFolder, false}, {a.Path(), false}}));
}

}  // namespace
}  // namespace vorn
