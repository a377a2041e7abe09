// The common settings dialog's rules: key assignments, the tool-bar list, help names, macro rows.
#include "shellcore/CommonSetRules.h"

#include "shellcore/FunctionTable.h"
#include "shellcore/KeyNames.h"

#include <cctype>

namespace vorn {

std::vector<std::string> TKeyAssignPage::KeysOf(int function) const {
  std::vector<std::string> out;
  for (int m = 0; m < kModifierStates; ++m)
    for (int k = 0; k < kVirtualKeys; ++k)
      if (table_.At(m, k) == function) out.push_back(AssignmentText(m, k));
  return out;
}

TAssignOutcome TKeyAssignPage::Assign(int function, int modifiers, int key) {
  if (key <= 0 || key >= kVirtualKeys) return aoNothing;
  if (function == kHotKeyFunction) return aoAskHotKey;
  const TFunctionInfo* info = FunctionByNumber(function);
  if (!info) return aoNothing;
  if (info->ShiftExtends && (modifiers & kmShift)) return aoRefusedShift;
  // Overwriting the hot key's combination takes the hot key away with it.
  if (table_.At(modifiers, key) == kHotKeyMarker) Clear(modifiers, key);
  table_.Set(modifiers, key, function);
  return aoAssigned;
}

void TKeyAssignPage::AssignHotKey(int modifiers, int key) {
  for (int m = 0; m < kModifierStates; ++m)
    for (int k = 0; k < kVirtualKeys; ++k)
      if (table_.At(m, k) == kHotKeyMarker) table_.Set(m, k, kNoAssignment);
  table_.Set(modifiers, key, kHotKeyMarker);
  hotKey_ = key;
  hotKeyModifier_ = HotKeyModifierOf(modifiers);
}

void TKeyAssignPage::Clear(int modifiers, int key) {
  if (table_.At(modifiers, key) == kHotKeyMarker) {
    hotKey_ = -1;
    hotKeyModifier_ = 0;
  }
  table_.Set(modifiers, key, kNoAssignment);
}

void TKeyAssignPage::ResetToBuiltIn() {
  table_ = TKeyTable::BuiltIn();
  hotKey_ = -1;
  hotKeyModifier_ = 0;
}

bool TKeyAssignPage::HasHotKey() const {
  for (int m = 0; m < kModifierStates; ++m)
    for (int k = 0; k < kVirtualKeys; ++k)
      if (table_.At(m, k) == kHotKeyMarker) return true;
  return false;
}

bool TKeyAssignPage::AssignEnabled(bool functionNode, int function, bool keyChosen) const {
  if (!functionNode) return false;
  if (function == kHotKeyFunction && HasHotKey()) return false;
  return keyChosen;
}

const char* ShiftExtendsRefusal() {
  return "この機能は、SHIFTキーによる選択の判定を必要とするので、SHIFTを含んだキーには割り当てられません";
}

const char* HotKeyQuestion() {
  return "この機能はホットキーとして割り付けられます。VornEditor以外のどのアプリケーションを使用しているときでも"
         "機能します。割り付けますか";
}

int HotKeyModifierOf(int modifiers) {
  return ((modifiers & kmAlt) ? 1 : 0) | ((modifiers & kmCtrl) ? 2 : 0) | ((modifiers & kmShift) ? 4 : 0);
}

int ModifiersOfHotKey(int hotKeyModifier) {
  return ((hotKeyModifier & 1) ? kmAlt : 0) | ((hotKeyModifier & 2) ? kmCtrl : 0) |
         ((hotKeyModifier & 4) ? kmShift : 0);
}

void TToolBarList::Insert(int function) {
  const int at = selected_ >= 0 ? selected_ : static_cast<int>(buttons_.size());
  buttons_.insert(buttons_.begin() + at, function);
  selected_ = at;
}

void TToolBarList::Remove() {
  if (!CanRemove()) return;
  buttons_.erase(buttons_.begin() + selected_);
  if (selected_ >= static_cast<int>(buttons_.size())) selected_ = static_cast<int>(buttons_.size()) - 1;
}

void TToolBarList::MoveUp() {
  if (!CanMoveUp()) return;
  std::swap(buttons_[static_cast<std::size_t>(selected_)], buttons_[static_cast<std::size_t>(selected_ - 1)]);
  --selected_;
}

void TToolBarList::MoveDown() {
  if (!CanMoveDown()) return;
  std::swap(buttons_[static_cast<std::size_t>(selected_)], buttons_[static_cast<std::size_t>(selected_ + 1)]);
  ++selected_;
}

std::string ToolBarRowText(int entry) {
  if (entry == TToolBarList::kSeparator) return "[--------]";
  const TFunctionInfo* info = FunctionByNumber(entry);
  return info ? std::string(info->DisplayName) : std::string();
}

std::string CommandHelpPage(const std::string& actionName) {
  std::string name = actionName;
  constexpr std::string_view kSuffix = "Action";
  if (name.size() >= kSuffix.size() && name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0)
    name.resize(name.size() - kSuffix.size());
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (std::isdigit(static_cast<unsigned char>(name[i]))) {
      out += 'X';
      while (i + 1 < name.size() && std::isdigit(static_cast<unsigned char>(name[i + 1]))) ++i;
    } else {
      out += name[i];
    }
  }
  return "CMD_" + out + ".html";
}

std::string MacroSlotFileText(const std::string& programFolder, const std::string& fullPath) {
  const std::string macroFolder = programFolder + "Macro/";
  if (fullPath.size() > macroFolder.size() && fullPath.compare(0, macroFolder.size(), macroFolder) == 0 &&
      fullPath.find('/', macroFolder.size()) == std::string::npos)
    return fullPath.substr(macroFolder.size());
  return fullPath;
}

}  // namespace vorn
