// Fuzzes the streaming writer: any text, cut into parts and pieces of any size, must give the
// bytes of the whole-text encoding and count what the whole-text conversion counts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "textfile/JConvStrList.h"
#include "textfile/StreamWriter.h"

namespace {

using namespace vorn;

constexpr TCharCodeKind kKinds[] = {ckSjis, ckJis, ckJisAscii, ckEuc, ckUnicodeLE,
                                    ckUnicodeBE, ckUtf8, ckUtf8N, ckUtf7};
constexpr TLineBreakKind kBreaks[] = {lbCRLF, lbCR, lbLF};

}  // namespace

// Byte 0 picks the code and the break, byte 1 the piece size, byte 2 seeds the part sizes.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const TCharCodeKind kind = kKinds[data[0] % 9];
  const TLineBreakKind lb = kBreaks[data[0] / 9 % 3];
  const std::size_t piece = 1 + data[1] % 64;
  std::uint32_t seed = data[2] | 1u;
  const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);

  std::string streamed;
  TTextStreamWriter writer(lb, kind, [&streamed](std::string_view bytes) {
    streamed.append(bytes);
    return std::string();
  }, piece);
  for (std::size_t i = 0; i < text.size();) {
    seed = seed * 1103515245u + 12345u;
    const std::size_t part = 1 + (seed >> 16) % 13;
    writer.Write(std::string_view(text).substr(i, part));
    i += part;
  }
  if (!writer.Finish().empty()) std::abort();
  if (streamed != EncodeText(text, lb, kind)) std::abort();
  if (text.find('\0') == std::string::npos && lb == lbCRLF) {
    std::size_t lost = 0;
    ConvertCharCode(text, ckSjis, kind, &lost);
    if (kind != ckSjis && writer.Lost() != lost) std::abort();
  }
  return 0;
}
