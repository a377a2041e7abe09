// Helpers of the grep tests: a temporary folder tree and a sink that keeps what a run delivers.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "search/GrepOptions.h"

namespace vorn::test {

class TTempTree {
public:
  TTempTree() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vorngrepXXXXXX").string();
    root_ = ::mkdtemp(tmpl.data());
  }
  ~TTempTree() {
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
  }
  const std::string& Root() const { return root_; }
  std::string Path(const std::string& rel) const { return root_ + "/" + rel; }
  void Write(const std::string& rel, const std::string& bytes) const {
    std::filesystem::create_directories(std::filesystem::path(Path(rel)).parent_path());
    std::ofstream(Path(rel), std::ios::binary) << bytes;
  }

private:
  std::string root_;
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
