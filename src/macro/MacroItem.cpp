// The constructors of the two kinds of step.
#include "macro/MacroItem.h"

#include <utility>

namespace vorn {

TMacroItem TMacroItem::Command(int function, bool shift, std::vector<std::string> arguments) {
  TMacroItem item;
  item.Kind = TMacroStepKind::mkCommand;
  item.Function = function;
  item.Shift = shift;
  item.Arguments = std::move(arguments);
  return item;
}

TMacroItem TMacroItem::Typed(std::string text) {
  TMacroItem item;
  item.Kind = TMacroStepKind::mkText;
  item.Text = std::move(text);
  return item;
}

}  // namespace vorn
