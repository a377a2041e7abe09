// Fuzzes the ".fbd" and ".skd" list readers: any bytes load without a crash, and whatever was
// read writes and reads back to the same bytes.
#include "settings/FileSetting.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vorn;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TFileSetting type(nullptr, nullptr);
  (void)type.LoadFbdBytes(bytes, "fuzz.fbd");
  const std::string saved = type.SaveFbdBytes();
  TFileSetting again(nullptr, nullptr);
  if (!again.LoadFbdBytes(saved, "again.fbd").empty()) std::abort();
  if (again.SaveFbdBytes() != saved) std::abort();
  // The ".skd" layout: two keyword lists one after the other.
  TRecordReader in(bytes);
  TKeyWordList comments(nullptr), itemize(nullptr);
  try {
    comments.LoadFromStream(in);
    itemize.LoadFromStream(in);
  } catch (const EVornError&) {
  }
  return 0;
}
