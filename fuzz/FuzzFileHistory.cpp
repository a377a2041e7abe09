// "FileHist.fhd" reader on any bytes; what it accepts must write back and read the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shellcore/FileHistory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vorn::TFileHistory history;
  if (!vorn::LoadFileHistoryBytes(std::string_view(reinterpret_cast<const char*>(data), size), history)) {
    if (history.Count() != 0) std::abort();
    return 0;
  }
  if (history.Count() > vorn::TFileHistory::kMaxEntries) std::abort();
  vorn::TFileHistory again;
  const std::string bytes = vorn::SaveFileHistoryBytes(history);
  if (!vorn::LoadFileHistoryBytes(bytes, again)) std::abort();
  return 0;
}
