// A key-down through the key table to the dispatcher.
#include "shellcore/KeyPath.h"

#include "shellcore/KeyDispatch.h"

namespace vorn {
namespace {

int CloseFunction() {
  static const int number = FunctionNumber("Close");
  return number;
}

}  // namespace

bool TKeyPath::KeyDown(int key, int modifiers) {
  TKeyDispatch d = DispatchKey(table_, key, modifiers);
  if (escCloses_ && key == vk::Escape && modifiers == 0) d = {CloseFunction(), true};
  if (IsFunctionNumber(d.Function)) dispatcher_.Run(d.Function, (modifiers & kmShift) != 0);
  return !d.SuppressChar;
}

bool TKeyPath::Assigned(int key, int modifiers) const {
  if (escCloses_ && key == vk::Escape && modifiers == 0) return true;
  return IsFunctionNumber(DispatchKey(table_, key, modifiers).Function);
}

}  // namespace vorn
