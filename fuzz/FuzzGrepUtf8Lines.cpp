// Fuzz target: a UTF-8 text that grep takes as converting character by character converts line
// by line to exactly what it converts to whole, so searching only some of its lines finds
// what a search of the whole conversion finds, on the same line numbers.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "encoding/jconvert.h"
#include "search/GrepUtf8Lines.h"

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!ConvertsCharByChar(text)) return 0;
  std::string byLines;
  for (std::size_t begin = 0; begin < text.size();) {
    std::size_t end = text.find_first_of("\r\n", begin);
    if (end == std::string_view::npos) end = text.size();
    else end += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
    byLines += ConvertCharCode(text.substr(begin, end - begin), ckUtf8N, ckSjis);
    begin = end;
  }
  if (byLines != ConvertCharCode(text, ckUtf8N, ckSjis)) std::abort();
  return 0;
}
