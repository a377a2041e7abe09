// Bus frame decoders on any bytes: a frame taken must re-encode to the bytes it came from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/BusMessage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::size_t used = 0;
  bool bad = false;
  if (auto request = vorn::DecodeBusRequest(bytes, used, bad)) {
    if (used > size || vorn::EncodeBusRequest(*request) != bytes.substr(0, used)) std::abort();
  }
  if (auto reply = vorn::DecodeBusReply(bytes, used, bad)) {
    if (used > size) std::abort();
  }
  return 0;
}
