// TUndoRecorder: the hook through which the line store records undo steps for its edits.
#pragma once

#include <cstdint>
#include <string>

#include "store/PointerStringList.h"

namespace vorn {

class TVornEditScreenStrings;

// One undo step as the store fills it: the rows it is about to replace and how many replace them.
struct TUndoData {
  std::int32_t CaretRow = 0;
  std::int32_t CaretCol = 0;
  std::int32_t FirstRow = -1;
  std::int32_t NewRowCount = 0;
  TRowEnd OldEnd = reNone;
  std::string OldText;
  bool SavedMark = false;
  bool GroupStart = false;
  // An edit inside row FirstRow that changed neither its row count nor its wrapping keeps just
  // the bytes it replaced (OldText, no line break) and where: NewRowCount then counts the bytes
  // that replaced them, from RowByte on. Typing into a 50 MB row thus costs bytes, not rows.
  bool InRow = false;
  std::int64_t RowByte = 0;
};

// The store owns one recorder. This base keeps no history (an undo list that stays empty);
// the undo object derives from it and keeps the records NewRecord hands out.
class TUndoRecorder {
public:
  explicit TUndoRecorder(TVornEditScreenStrings& store) : store_(store) {}
  virtual ~TUndoRecorder() = default;

  // A fresh record appended to the undo list for the caller to fill, or null when nothing is
  // kept (the store then skips capturing the old text).
  virtual TUndoData* NewRecord() { return nullptr; }
  virtual void ClearAll() {}
  // Apply one group; false when there was nothing to apply.
  virtual bool Undo() { return false; }
  virtual bool Redo() { return false; }
  virtual bool CanUndo() const { return false; }
  virtual bool CanRedo() const { return false; }

protected:
  TVornEditScreenStrings& Store() { return store_; }

private:
  TVornEditScreenStrings& store_;
};

}  // namespace vorn
