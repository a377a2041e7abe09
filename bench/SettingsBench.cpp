// File types: loading 50 types with their files, choosing a type among 50 × 10 masks, and
// applying a type to a window's option records; each next to a baseline measured in the run.
#include "platform/FileBytes.h"
#include "settings/SettingsPaneRecords.h"
#include "settings/TypeList.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace vorn {
namespace {

constexpr int kTypes = 50;

// 50 saved types, each with 10 masks, 60 keywords, 3 brackets and its colour list.
class TSavedTypes {
public:
  TSavedTypes() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorn-bench-XXXXXX").string();
    folder_ = std::string(mkdtemp(pattern.data())) + "/";
    TTypeList list({folder_, folder_ + "Setting/"}, nullptr);
    for (int i = 1; i < kTypes; ++i) Fill(list.Insert(i), i);
    list.Save();
  }
  ~TSavedTypes() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
  }
  const std::string& Folder() const { return folder_; }

private:
  static void Fill(TFileSetting& t, int i) {
    t.Name = "Type" + std::to_string(i);
    std::vector<std::string> masks;
    for (int m = 0; m < 5; ++m) masks.push_back(".E" + std::to_string(i) + "X" + std::to_string(m));
    for (int m = 0; m < 5; ++m) masks.push_back("*.M" + std::to_string(i) + "?" + std::to_string(m));
    t.SetExtensions(masks);
    for (int k = 0; k < 60; ++k) {
      TKeyWord& kw = t.Keywords().Add();
      kw.SetPattern("keyword" + std::to_string(k));
      kw.SetColorIndex(17 + k % 6);
    }
    for (int b = 0; b < 3; ++b) {
      TBracket& br = t.Brackets().Add();
      br.LeftBracket().SetPattern("<" + std::to_string(b));
      br.RightBracket().SetPattern(std::to_string(b) + ">");
    }
  }
  std::string folder_;
};

const TSavedTypes& Saved() {
  static const TSavedTypes saved;
  return saved;
}

void BM_LoadTypeListBaselineReadFiles(benchmark::State& state) {
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(Saved().Folder()))
    if (e.is_regular_file()) files.push_back(e.path().string());
  for (auto _ : state)
    for (const std::string& f : files) benchmark::DoNotOptimize(ReadFileBytes(f).Size());
}
BENCHMARK(BM_LoadTypeListBaselineReadFiles)->Unit(benchmark::kMillisecond);

void BM_LoadTypeList50(benchmark::State& state) {
  for (auto _ : state) {
    TTypeList list({Saved().Folder(), Saved().Folder() + "Setting/"}, nullptr);
    list.Load();
    list.LoadAll();
    benchmark::DoNotOptimize(list.Count());
  }
}
BENCHMARK(BM_LoadTypeList50)->Unit(benchmark::kMillisecond);

// Half of the names are claimed by the last type's masks, half by nobody: the worst cases.
const char* const kNames[] = {"/home/u/src/file.M49a3", "/home/u/src/file.unknown"};

void BM_FindByFileNameBaselineCompareExtensions(benchmark::State& state) {
  std::vector<std::string> entries;
  for (int i = 0; i < kTypes * 10; ++i) entries.push_back(".E" + std::to_string(i));
  int n = 0;
  for (auto _ : state) {
    const std::string ext(ExtractFileExt(kNames[n++ & 1]));
    int hits = 0;
    for (const std::string& e : entries) hits += e == ext;
    benchmark::DoNotOptimize(hits);
  }
}
BENCHMARK(BM_FindByFileNameBaselineCompareExtensions);

void BM_FindByFileName50x10(benchmark::State& state) {
  TTypeList list({Saved().Folder(), Saved().Folder() + "Setting/"}, nullptr);
  list.Load();
  int n = 0;
  for (auto _ : state) benchmark::DoNotOptimize(&list.FindByFileName(kNames[n++ & 1]));
}
BENCHMARK(BM_FindByFileName50x10);

// Applies to records only, so the figures are the settings' own work.
using TBenchPane = TSettingsPaneRecords;

class TBenchWindow : public TSettingsWindowTarget, public TSettingsApplyTarget {
public:
  void SetTypeOptions(const TWindowTypeOptions&) override {}
  void SetCommonOptions(const TWindowCommonOptions&) override {}
  std::vector<TSettingsPaneTarget*> Panes() override { return {&pane}; }
  std::vector<TSettingsWindowTarget*> Windows() override { return {this}; }
  void SetTypeIniFileName(const std::string&) override {}
  void SetMacros(const std::vector<std::string>&, const std::vector<std::string>&) override {}
  TBenchPane pane;
};

void BM_ApplyTypeBaselineCopyKeywords(benchmark::State& state) {
  TTypeList list({Saved().Folder(), Saved().Folder() + "Setting/"}, nullptr);
  list.Load();
  list.LoadAll();
  TVornEditKeywords copy(nullptr);
  int n = 0;
  for (auto _ : state) {
    copy.Assign(list.Items(1 + (n++ & 1)).Keywords());
    benchmark::DoNotOptimize(copy.Count());
  }
}
BENCHMARK(BM_ApplyTypeBaselineCopyKeywords)->Unit(benchmark::kMicrosecond);

// Two types applied in turn, so every apply really changes the records.
void BM_ApplyType(benchmark::State& state) {
  TTypeList list({Saved().Folder(), Saved().Folder() + "Setting/"}, nullptr);
  list.Load();
  list.LoadAll();
  TBenchWindow window;
  int n = 0;
  for (auto _ : state) list.Items(1 + (n++ & 1)).ApplyToEditors(window);
}
BENCHMARK(BM_ApplyType)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vorn
