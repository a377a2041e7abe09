// The two questions of saving a recorded macro: the file (a save dialog for ".mac" files in
// the macro folder) and the description.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace vorn {

// The chosen file (native path, ".mac" added when the name has no extension); nullopt for
// Cancel. The dialog itself does not ask about overwriting: the caller does, in its own words.
std::optional<std::string> AskMacroSaveName(QWidget* owner, const std::string& folder);

// The description box ("マクロの説明の入力"), starting with current (Shift_JIS); its text
// counts whether it was closed with OK or with Cancel.
std::string AskMacroDescription(QWidget* owner, const std::string& current);

}  // namespace vorn
