// The editing commands that come with the command table: until they are built they refuse, so a
// caller can tell that nothing was done.
#include "editcore/EditCore.h"

namespace vorn {

bool TVornEditCore::DeleteWord() { return false; }
bool TVornEditCore::DeleteLine() { return false; }
bool TVornEditCore::DeleteLineEnd() { return false; }
bool TVornEditCore::DeleteLineStart() { return false; }
bool TVornEditCore::InsertEmptyLine() { return false; }
bool TVornEditCore::ChangeCase(TCaseMapping) { return false; }
bool TVornEditCore::TabToSpace() { return false; }
bool TVornEditCore::SpaceToTab() { return false; }
bool TVornEditCore::InsertIndent() { return false; }
bool TVornEditCore::ReverseIndent() { return false; }
bool TVornEditCore::LeftAlign() { return false; }
bool TVornEditCore::CenterAlign() { return false; }
bool TVornEditCore::RightAlign() { return false; }
bool TVornEditCore::CleanUpBeforeSave() { return false; }

}  // namespace vorn
