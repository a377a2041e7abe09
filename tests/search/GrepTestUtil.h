// Helpers of the grep tests: a temporary folder tree and a sink that keeps what a run delivers.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "search/GrepOptions.h"

namespace vorn::test {

// A scratch folder that holds a tree: writing a file makes the folders above it.
class TTempTree {
public:
  const std::string& Root() const { return folder_.Path(); }
  std::string Path(const std::string& rel) const { return folder_ / rel; }
  void Write(const std::string& rel, const std::string& bytes) const {
    std::filesystem::create_directories(std::filesystem::path(Path(rel)).parent_path());
    folder_.Write(rel, bytes);
  }

private:
  vorn::testing::TTempFolder folder_{"vorngrep"};
};

class TCollectSink : public TGrepSink {
public:
  void AddLine(const TGrepResultLine& line) override {
    Lines.push_back(line.Text);
    Paths.push_back(line.Path);
  }
  void Progress(const TGrepProgress& p) override {
    ++ProgressCalls;
    if (OnProgress) OnProgress(p);
  }
  std::vector<std::string> Lines, Paths;
  int ProgressCalls = 0;
  std::function<void(const TGrepProgress&)> OnProgress;
};

}  // namespace vorn::test
