// TLineMarkHook: the hook through which edits move the store's line marks.
#pragma once

namespace vorn {

// The store owns one. This base holds no marks; the line-mark table derives from it.
class TLineMarkHook {
public:
  virtual ~TLineMarkHook() = default;
  // Lines were added (delta > 0) or removed (delta < 0) at line.
  virtual void AdjustForEdit(int line, int delta) {
    (void)line;
    (void)delta;
  }
  virtual void ClearAll() {}
};

}  // namespace vorn
