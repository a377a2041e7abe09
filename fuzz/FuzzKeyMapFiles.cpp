// "Key.dat" and "ToolBar.dat" contents and tag-jump lines on any bytes: the table holds only
// functions and markers, every key dispatches to a function or none, tool bars round-trip, and
// the tag-jump scan ends inside the line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shellcore/KeyDispatch.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/TagJump.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vorn;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TKeyTable table = TKeyTable::BuiltIn();
  table.AssignFromBytes(bytes);
  for (int m = 0; m < kModifierStates; ++m)
    for (int k = 0; k < kVirtualKeys; ++k) {
      const int v = table.At(m, k);
      if (!IsFunctionNumber(v) && v != kNoAssignment && v != kHotKeyMarker) std::abort();
      const TKeyDispatch d = DispatchKey(table, k, m);
      if (d.Function != kNoAssignment && !IsFunctionNumber(d.Function)) std::abort();
    }
  const std::vector<int> buttons = ParseToolBarBytes(bytes);
  if (size >= 4 && buttons.size() > (size - 4) / 4) std::abort();
  if (ParseToolBarBytes(ToolBarBytes(buttons)) != buttons) std::abort();
  const TTagJumpTarget target = ScanTagJump(bytes, [](const std::string& name) { return name.size() % 7 == 3; });
  if (target.Name.size() > size) std::abort();
  EncodeQuote(bytes);
  return 0;
}
