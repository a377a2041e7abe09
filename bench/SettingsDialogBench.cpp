// The settings dialogs from their creation to their first paint, offscreen, with 50 file types
// and 5,000 keywords, beside a bare list view of the same 5,000 rows as the baseline.
#include "QtBenchMain.h"

#include "dialogs/EditCommonSetForm.h"
#include "dialogs/ExtSetForm.h"
#include "platform/VornUtil.h"
#include "regex/BregexpUtil.h"
#include "settings/SjisText.h"
#include "shellcore/KeyTable.h"

#include <QTabWidget>
#include <QTreeWidget>

#include <cstdlib>
#include <filesystem>

namespace vorn {
namespace {

constexpr int kTypes = 50;
constexpr int kKeywords = 5000;

struct TBenchFolders {
  std::string root;
  std::string user;
  TBenchFolders() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorn-dialog-bench-XXXXXX").string();
    root = ::mkdtemp(pattern.data());
    user = root + "/user/";
    std::filesystem::create_directories(user);
    std::filesystem::create_directories(root + "/Setting");
    TTypeList list({user, root + "/Setting/"});
    list.Load();
    while (list.Count() < kTypes) {
      TFileSetting& t = list.Insert(1);
      t.Name = "Type" + std::to_string(list.Count());
      t.AddExtension(".T" + std::to_string(list.Count()));
    }
    TKeyWordList& words = list.Items(0).Keywords();
    for (int i = 0; i < kKeywords; ++i) {
      TKeyWord& k = words.Add();
      k.SetPattern("keyword" + std::to_string(i));
      k.SetColorIndex(17 + i % 6);
    }
    list.Save();
    TCommonSet common(root + "/");
    common.LoadFrom(user + "Common.ini");
    TVornEditKeywords comments;
    for (int i = 0; i < kKeywords; ++i) comments.AddItem().SetPattern("^//" + std::to_string(i));
    common.Seikei().SetCommentList(comments);
    common.SaveTo(user + "Common.ini");
  }
  ~TBenchFolders() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
};

TBenchFolders& Folders() {
  static TBenchFolders folders;
  return folders;
}

// Shows the widget and paints it once, as the first frame on screen would.
void FirstPaint(QWidget& w) {
  w.show();
  QImage frame(w.size(), QImage::Format_ARGB32_Premultiplied);
  w.render(&frame);
  benchmark::DoNotOptimize(frame.bits());
}

void BM_BareListOfKeywords(benchmark::State& state) {
  for (auto _ : state) {
    QTreeWidget view;
    view.setHeaderLabels({"a", "b", "c"});
    view.setUniformRowHeights(true);
    QList<QTreeWidgetItem*> items;
    for (int i = 0; i < kKeywords; ++i) items.push_back(new QTreeWidgetItem({QString::number(i), "Case", "x"}));
    view.addTopLevelItems(items);
    view.resize(640, 480);
    FirstPaint(view);
  }
}
BENCHMARK(BM_BareListOfKeywords)->Unit(benchmark::kMillisecond);

void BM_OpenFileTypeDialog(benchmark::State& state) {
  TBenchFolders& f = Folders();
  SetProgramFolderOverride(f.root + "/");
  for (auto _ : state) {
    TExtSetContext c;
    c.Folders = {f.user, f.root + "/Setting/"};
    c.DocumentName = "a.txt";
    TExtSetForm form(std::move(c));
    form.Pages()->setCurrentIndex(6);  // the keyword page, with the 5,000 rows
    FirstPaint(form);
  }
}
BENCHMARK(BM_OpenFileTypeDialog)->Unit(benchmark::kMillisecond);

// What the first file-type dialog of a process adds to its opening: the fixed-pitch test of
// every installed family (later dialogs reuse the list).
void BM_MeasureFixedPitchFonts(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(TExtSetForm::MeasureFixedPitchFamilies());
}
BENCHMARK(BM_MeasureFixedPitchFonts)->Unit(benchmark::kMillisecond);

void BM_OpenCommonSettingsDialog(benchmark::State& state) {
  TBenchFolders& f = Folders();
  TKeyTable table = TKeyTable::BuiltIn();
  for (auto _ : state) {
    TCommonSetContext c;
    c.ProgramFolder = f.root + "/";
    c.UserFolder = f.user;
    c.Table = &table;
    TEditCommonSetForm form(std::move(c));
    form.Pages()->setCurrentIndex(5);  // the formatting lists, with the 5,000 comment starts
    FirstPaint(form);
  }
}
BENCHMARK(BM_OpenCommonSettingsDialog)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vorn

int main(int argc, char** argv) {
  vorn::LoadRegexpBinding(VORN_BIN_DIR "/libVornRegexp.so");
  return RunQtBenchmarks(argc, argv);
}
