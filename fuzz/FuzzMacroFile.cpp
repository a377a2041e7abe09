// ".mac" files on any bytes: the reader either refuses with a line inside the file or gives
// steps within the argument limit, whose written text reads back to the same steps; variable
// replacement of any text ends and keeps the text's bytes outside the variables.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "macro/MacroFile.h"
#include "macro/MacroVariables.h"

namespace {

class TValues : public vorn::TMacroVariableSource {
public:
  std::string SelectedText() override { return "%SELTEXT%"; }
  std::string ClipboardText() override { return "%COPYSTR%%SELTEXT%"; }
  std::string MacroString(int) override { return "%MACROSTR0%"; }
  vorn::TCharCodeKind CharCode() override { return vorn::ckSjis; }
  vorn::TLineBreakKind LineBreak() override { return vorn::lbCRLF; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vorn;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  TMacroSet set;
  const TMacroReadResult result = ReadMacroText(bytes, set, TMacroReadLimits{256, 1 << 16});
  if (!result.Ok) {
    if (result.Line < 0 || static_cast<std::size_t>(result.Line) > size + 1 || result.Reason.empty()) std::abort();
  } else {
    for (const TMacroItem& step : set.Steps)
      if (step.Arguments.size() > static_cast<std::size_t>(TMacroItem::kMaxArguments)) std::abort();
    std::string error;
    const std::string text = MacroFileText(set, &error);
    // Read lines hold no line break and only Shift_JIS, so every step they gave is writable.
    if (!error.empty()) std::abort();
    TMacroSet again;
    if (!ReadMacroText(text, again).Ok || again.Steps != set.Steps) std::abort();
  }
  TValues values;
  const std::string replaced = ReplaceMacroVariables(bytes, values);
  if (bytes.find('%') == std::string::npos && replaced != bytes) std::abort();
  return 0;
}
