// The normal-format reader and the marks: any output, on any text, marks only rows that exist
// with the kinds a side can carry, and the moves never leave the text or loop.
#include "base/ByteBuffer.h"
#include "shellcore/DiffMarks.h"
#include "shellcore/PipeText.h"
#include "store/ScreenStrings.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vorn;
  if (size < 2) return 0;
  const int rows = data[0] % 64;
  const int offset = data[1] % 8;
  const std::string_view output(reinterpret_cast<const char*>(data + 2), size - 2);
  std::string text;
  for (int i = 0; i < rows; ++i) text += "r\r\n";
  for (const TDiffSide side : {TDiffSide::dsOld, TDiffSide::dsNew}) {
    const std::vector<TDiffRange> ranges = ParseDiffOutput(output, side);
    for (std::size_t i = 0; i < ranges.size(); ++i) {
      const TDiffRange& r = ranges[i];
      if (r.First > r.Last || r.Hunk != static_cast<int>(i)) std::abort();
      const bool allowed = side == TDiffSide::dsOld ? (r.Kind == dkChanged || r.Kind == dkDeleted || r.Kind == dkAddedBelow)
                                                    : (r.Kind == dkChanged || r.Kind == dkAdded || r.Kind == dkDeletedBelow);
      if (!allowed) std::abort();
    }
    TVornEditScreenStrings store;
    store.LoadText(TByteBuffer(std::string(text)));
    TDiffEndMarker end;
    ApplyDiffMarks(store, ranges, offset, end);
    if (store.Count() != rows) std::abort();
    for (int caret = 0; caret <= rows; ++caret) {
      const TDiffTarget next = FindNextDiff(store, end, caret);
      if (next.Found && !next.AtEnd && (next.Row < caret || next.Row >= rows)) std::abort();
      const TDiffTarget previous = FindPreviousDiff(store, end, caret);
      if (previous.Found && (previous.Row > caret || previous.Row < 0)) std::abort();
    }
  }
  // The output read back as text: every break CR LF, no NUL left.
  const TPipeOutput back = PipeOutputText(output);
  for (std::size_t i = 0; i < back.Text.size(); ++i) {
    if (back.Text[i] == '\0') std::abort();
    if (back.Text[i] == '\n' && (i == 0 || back.Text[i - 1] != '\r')) std::abort();
  }
  return 0;
}
