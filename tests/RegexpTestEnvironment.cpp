// Loads the process-wide regex binding from the build folder before any test of the executable runs.
#include "regex/BregexpUtil.h"

#include <gtest/gtest.h>

namespace {

class TRegexpEnvironment : public ::testing::Environment {
public:
  void SetUp() override {
    const std::string message = vorn::LoadRegexpBinding(VORN_BIN_DIR "/libVornRegexp.so");
    ASSERT_TRUE(message.empty()) << "the regex module did not load";
  }
  void TearDown() override { vorn::FreeRegexpBinding(); }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new TRegexpEnvironment);

}  // namespace
