// TFormatPart: "Seikei" refills the caret's paragraph, "DivideLine" splits the caret's line;
// each is one undo step of the editor core.
#include "shell/FormatPart.h"

#include "editor/VornEdit.h"
#include "shell/EditorWindow.h"
#include "shellcore/FunctionTable.h"

namespace vorn {

void TFormatPart::AddCommands(TCommandDispatcher& dispatcher) {
  TEditorWindow& w = window_;
  dispatcher.Set(FunctionNumber("Seikei"), [&w](bool) {
    w.Editor()->Core().Seikei(false);
    w.Editor()->Flush();
  });
  dispatcher.Set(FunctionNumber("DivideLine"), [&w](bool) {
    w.Editor()->Core().DivideLine();
    w.Editor()->Flush();
  });
}

}  // namespace vorn
