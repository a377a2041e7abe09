// The icon names of the numbered functions.
#include "shellcore/FunctionIcons.h"

#include <utility>

#include "shellcore/CommandCaptions.h"
#include "shellcore/FunctionTable.h"

namespace vorn {
namespace {

constexpr std::pair<std::string_view, std::string_view> kIcons[] = {
    // files
    {"NewFile", "document-new"}, {"LoadFromFile", "document-open"}, {"CloseOpen", "document-revert"},
    {"CloseFile", "document-close"}, {"SaveFile", "document-save"}, {"SaveAs", "document-save-as"},
    {"ReadFileToCaret", "vorn-file-insert"}, {"Print", "document-print"}, {"SaveClose", "vorn-save-close"},
    {"Close", "application-exit"}, {"AllSaveClose", "vorn-save-close"}, {"AllClose", "vorn-close-all"},
    {"AllSave", "vorn-save-all"}, {"AllSaveOnlyModified", "vorn-save-all"}, {"Destroy", "process-stop"},
    {"EditFilename", "vorn-file-rename"}, {"SaveSelectedToFile", "vorn-save-selection"},
    {"OpenExplorer", "folder-open"}, {"ChangeOpenFileCode", "vorn-code-change"},
    // caret movement and marks
    {"CursorUp", "go-up"}, {"CursorDown", "go-down"}, {"CursorRight", "go-next"}, {"CursorLeft", "go-previous"},
    {"WordRight", "go-next"}, {"WordLeft", "go-previous"}, {"MoveLineStart", "go-first"},
    {"MoveLineEnd", "go-last"}, {"MoveLogicalLineStart", "go-first"}, {"MoveLogicalLineEnd", "go-last"},
    {"MoveFileStart", "go-top"}, {"MoveFileEnd", "go-bottom"}, {"NextPage", "go-down"}, {"PrevPage", "go-up"},
    {"MoveWindowStart", "go-top"}, {"MoveWindowEnd", "go-bottom"}, {"JumpPrevModifiedPos", "vorn-jump-last-edit"},
    {"JumpRow", "go-jump"}, {"ToggleMark", "bookmark-new"}, {"ShowMarkList", "vorn-mark-list"},
    {"FindUnderMark", "vorn-mark-next"}, {"FindOverMark", "vorn-mark-previous"}, {"ClearAllMark", "vorn-mark-clear"},
    {"LineDown", "go-down"}, {"LineUp", "go-up"},
    // selection and clipboard
    {"SelectAll", "edit-select-all"}, {"Copy", "edit-copy"}, {"InyouCopy", "vorn-copy-quoted"},
    {"Paste", "edit-paste"}, {"Cut", "edit-cut"}, {"SelectWord", "vorn-select-word"},
    {"SelectLine", "vorn-select-line"}, {"CopyWord", "edit-copy"}, {"CopyLine", "edit-copy"},
    {"InyouPaste", "vorn-paste-quoted"}, {"OpenFilenameCopy", "edit-copy"}, {"BoxSelection", "vorn-select-box"},
    // deleting and inserting
    {"Delete", "edit-delete"}, {"DeleteLine", "vorn-delete-line"}, {"DeleteLineEnd", "vorn-delete-to-end"},
    {"DeleteLineStart", "vorn-delete-to-start"}, {"DeleteWord", "vorn-delete-word"}, {"BackSpace", "edit-clear"},
    {"Enter", "vorn-newline"}, {"Tab", "vorn-tab"}, {"InsertEmptyLine", "vorn-insert-line"},
    // editing
    {"Undo", "edit-undo"}, {"Redo", "edit-redo"}, {"ExchangeUpperLower", "vorn-case-toggle"},
    {"ChangeUpperCase", "vorn-case-upper"}, {"ChangeLowerCase", "vorn-case-lower"},
    {"TabToSpace", "vorn-tab-to-space"}, {"SpaceToTab", "vorn-space-to-tab"}, {"InsertIndent", "format-indent-more"},
    {"ReverseIndent", "format-indent-less"}, {"Seikei", "format-justify-fill"}, {"DivideLine", "vorn-line-divide"},
    {"CenterAlign", "format-justify-center"}, {"LeftAlign", "format-justify-left"},
    {"RightAlign", "format-justify-right"},
    // search and compare
    {"Find", "edit-find"}, {"FindDown", "go-down"}, {"FindUp", "go-up"}, {"FindComeback", "vorn-find-return"},
    {"Replace", "edit-find-replace"}, {"SearchBracket", "vorn-bracket"}, {"Grep", "system-search"},
    {"ClearFindItem", "edit-clear"}, {"DiffExec", "vorn-diff"}, {"FindUnderDiff", "vorn-diff-next"},
    {"FindOverDiff", "vorn-diff-previous"}, {"ClearDiffInfo", "vorn-diff-clear"},
    {"ChangeDiffFocus", "vorn-diff-partner"},
    // windows
    {"VerticalLineup", "vorn-tile-vertical"}, {"HorizotalLineup", "vorn-tile-horizontal"}, {"Pile", "vorn-cascade"},
    {"LineupOrder", "vorn-tile"}, {"AllMinimize", "vorn-minimize-all"}, {"MaximizeVertical", "vorn-maximize-vertical"},
    {"NextEditor", "vorn-window-next"}, {"PrevEditor", "vorn-window-previous"}, {"DivideWindow", "vorn-split"},
    {"ToggleWindowFocus", "vorn-split-focus"}, {"SplitterUp", "vorn-splitter-up"},
    {"SplitterDown", "vorn-splitter-down"}, {"NewWindow", "window-new"},
    // macros
    {"ToggleMacroRecord", "media-record"}, {"ReplayMacro", "media-playback-start"}, {"SaveMacro", "vorn-macro-save"},
    {"LoadMacro", "vorn-macro-open"}, {"ExtMacroExecute", "vorn-macro-run"}, {"EncodeQuote", "vorn-macro-quote"},
    {"ExecInputMacro", "vorn-macro-run"}, {"BeginUpdate", "media-playback-pause"},
    {"EndUpdate", "media-playback-start"}, {"Message", "dialog-information"}, {"CopyStr", "edit-copy"},
    // the rest
    {"InputDateTime", "appointment-new"}, {"InputDate", "appointment-new"}, {"InputTime", "appointment-new"},
    {"ToggleInsertMode", "vorn-insert-mode"}, {"TagJump", "go-jump"}, {"ToggleFreeCaret", "vorn-free-caret"},
    {"ProgramExec", "system-run"}, {"QuickSeikeiSet", "format-justify-fill"}, {"ToggleBrowseMode", "vorn-browse"},
    {"ChangeCharCode", "vorn-code-convert"}, {"WordRegister", "vorn-word-register"}, {"OpenFileExec", "system-run"},
};

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

}  // namespace

std::string_view FunctionIconName(int function) {
  const TFunctionInfo* info = FunctionByNumber(function);
  if (!info) return {};
  if (StartsWith(info->Name, "SetMark")) return "vorn-mark-set";
  if (StartsWith(info->Name, "JumpMark")) return "vorn-mark-jump";
  if (FunctionIconNumber(function) >= 0) return "vorn-macro-run";
  for (const auto& [name, icon] : kIcons)
    if (name == info->Name) return icon;
  return {};
}

int FunctionIconNumber(int function) {
  const TFunctionInfo* info = FunctionByNumber(function);
  if (!info) return -1;
  const std::string_view name = info->Name;
  const bool numbered = StartsWith(name, "SetMark") || StartsWith(name, "JumpMark") ||
                        (StartsWith(name, "Macro") && name.size() > 5 && name[5] >= '0' && name[5] <= '9');
  return numbered ? ActionTag(function) : -1;
}

}  // namespace vorn
