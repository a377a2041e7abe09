// Scratch folders and file helpers shared by the settings tests.
#pragma once

#include "TempFolder.h"
#include "settings/SjisText.h"
#include "settings/TypeList.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vorn::test {

// A fresh folder under the temporary folder, removed with the object; its names end with "/".
class TScratchFolder {
public:
  const std::string& Path() const { return path_; }
  std::string Sub(const std::string& name) const {
    std::filesystem::create_directories(path_ + name);
    return path_ + name + "/";
  }

private:
  vorn::testing::TTempFolder folder_{"vorn-settings"};
  std::string path_ = folder_.Path() + "/";
};

inline void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline bool Exists(const std::string& path) { return std::filesystem::exists(path); }

}  // namespace vorn::test
