// Every window test process gets a runtime folder of its own, so the windows it opens (and the
// editor processes it starts, which inherit the variable) never meet the user's editors or
// those of a test running beside it on the message bus. Every test gets a user folder of its
// own too: the history, Common.ini and the key map a window writes never reach the next test
// or the build's own user folder, and neither do its journals of unsaved edits.
#include "platform/VornUtil.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

const bool kIsolated = [] {
  char pattern[] = "/tmp/vorn-shell-test-XXXXXX";
  if (const char* folder = ::mkdtemp(pattern)) ::setenv("XDG_RUNTIME_DIR", folder, 1);
  return true;
}();

class TOwnUserFolder : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override {
    char pattern[] = "/tmp/vorn-shell-user-XXXXXX";
    folder_ = ::mkdtemp(pattern) ? std::string(pattern) + "/" : std::string();
    vorn::SetUserFolderOverride(folder_);
    // The journals of unsaved edits too: a test's typing is never offered to the next test.
    if (!folder_.empty()) ::setenv("XDG_STATE_HOME", (folder_ + "state").c_str(), 1);
  }
  void OnTestEnd(const ::testing::TestInfo&) override {
    vorn::SetUserFolderOverride(std::string());
    std::error_code ignored;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
  }

  std::string folder_;
};

const bool kOwnUserFolders = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new TOwnUserFolder);
  return true;
}();

}  // namespace
