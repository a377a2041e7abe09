// Fuzz target: detection never crashes or reads past its input, the block-scanning counters
// agree with the byte-by-byte rules, and the verdict, which may take a counter's tail for its
// count, is the one the exact counts give.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "../tests/encoding/DetectReference.h"
#include "encoding/jconvert.h"
#include "encoding/jconvertInternal.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const vorn::TCharCodeKind kind = vorn::DetectCharCode(text);
  if (kind < vorn::ckAscii || kind > vorn::ckUtf7 || kind == vorn::ckEucOrSjis) std::abort();
  const auto fast = vorn::jconv::CountForDetection(text);
  const auto model = vorn::testing::ReferenceCounters(text);
  if (fast.euc != model.euc || fast.sjis != model.sjis || fast.jis != model.jis ||
      fast.utf8 != model.utf8 || fast.utf7 != model.utf7 || fast.roman != model.roman ||
      fast.signature != model.signature)
    std::abort();
  const std::string_view head = text.substr(0, vorn::DetectLimit);
  const bool wide = size >= 2 && ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF));
  if (!wide && head.find('\0') == std::string_view::npos && kind != vorn::jconv::DecideCharCode(text, model))
    std::abort();
  return 0;
}
