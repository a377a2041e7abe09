// Tool-bar pictures by icon name, numbered families with their number.
#include "shell/ToolBarIcons.h"

#include "qtplatform/ThemeIcons.h"
#include "shellcore/FunctionIcons.h"

namespace vorn {

QIcon FunctionIcon(int function) {
  const std::string_view name = FunctionIconName(function);
  return name.empty() ? QIcon() : NamedIcon(name, FunctionIconNumber(function));
}

}  // namespace vorn
