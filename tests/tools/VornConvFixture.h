// The vornconv test fixture: a scratch folder and the program run in-process with its output kept.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "TempFolder.h"
#include "vornconv/VornConv.h"

namespace vorn::testing {

class VornConvFixture : public ::testing::Test {
protected:
  std::string Make(const std::string& name, const std::string& bytes) { return temp_.Write(name, bytes); }
  std::string Read(const std::string& path) { return ReadWholeFile(path); }
  int Run(const std::vector<std::string>& args) {
    out_.str("");
    err_.str("");
    return RunVornConv(args, out_, err_);
  }

  TTempFolder temp_{"vornconv"};
  std::string dir_ = temp_.Path();
  std::ostringstream out_;
  std::ostringstream err_;
};

}  // namespace vorn::testing
