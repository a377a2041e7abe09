// The grep file reader and line search on arbitrary bytes in every piece size: no crash, no
// endless loop, and the pieces never lose or invent a line break.
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "search/GrepFileReader.h"

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::size_t piece = 16 + data[0];
  const int fd = ::memfd_create("grepfuzz", 0);
  if (fd < 0) return 0;
  if (::write(fd, data + 1, size - 1) != static_cast<ssize_t>(size - 1)) {
    ::close(fd);
    return 0;
  }
  const std::string path = "/proc/self/fd/" + std::to_string(fd);
  for (bool binary : {false, true}) {
    TGrepFileReader reader(piece, true, binary);
    if (reader.Open(path) != TGrepFileReader::orOpened) break;
    std::string text;
    bool mid = false;
    std::size_t total = 0;
    while (reader.NextPiece(text, mid)) {
      total += text.size();
      if (total > 64 * (size + 16)) __builtin_trap();  // output bounded by the input
    }
  }
  ::close(fd);
  return 0;
}
