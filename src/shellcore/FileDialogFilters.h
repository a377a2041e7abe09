// The filter lists of the open, save and rename dialogs, and the extension a typed name gets.
#pragma once

#include <string>
#include <vector>

namespace vorn {

struct TFileFilter {
  std::string description;            // shown to the user, e.g. "テキストファイル(*.txt)"
  std::vector<std::string> patterns;  // masks with Windows meaning: "*.*" is every name
};

struct TFilterList {
  std::vector<TFileFilter> filters;
  int selected = 0;
  // Per filter: what a name typed without an extension gets when that filter is chosen.
  std::vector<std::string> defaultExtensions;
};

// "desc|*.a;*.b|desc2|*.c" into filters (a trailing "|" ends the list).
std::vector<TFileFilter> ParseFilterText(const std::string& text);
// The extension of a path's name part with its dot (".txt"), empty when it has none.
std::string ExtensionOf(const std::string& path);

// A new document name chooses the file type again when there was no name before or the
// extension changed; extensions compare without regard to case, as the type masks do.
bool FileTypeFollowsNewName(const std::string& oldName, const std::string& newName);

// The open dialog (open, reload, insert). With offerOpenExtension and an extension on
// givenName, a filter for that extension is inserted second and selected.
TFilterList OpenDialogFilters(bool offerOpenExtension, const std::string& givenName);
// The save dialog: untitled save (fileName empty or without extension) or save as, where the
// open file's extension is offered second and selected.
TFilterList SaveDialogFilters(const std::string& fileName);
TFilterList RenameDialogFilters();

// name as typed plus the chosen filter's default extension when name has none.
std::string CompleteSaveName(const std::string& name, const TFilterList& list, int chosen);

// One filter in the dialog toolkit's "description (pattern pattern)" form. "*.*" becomes "*":
// the toolkit would match only names with a dot.
std::string ToolkitNameFilter(const TFileFilter& filter);

}  // namespace vorn
