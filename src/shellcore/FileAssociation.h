// Registering an extension with the editor for the user: a shared-mime-info package that gives
// the extension its MIME type (and the file icon), a desktop entry that opens such files with the
// editor and its options, and the user's MIME application list that makes it the default.
// Everything lands in the user's XDG folders; the system's files are never touched.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

struct TAssocFolders {
  std::string DataHome;    // $XDG_DATA_HOME, with a trailing '/'
  std::string ConfigHome;  // $XDG_CONFIG_HOME, with a trailing '/'
};
// The running user's folders ($HOME/.local/share and $HOME/.config when unset).
TAssocFolders UserAssocFolders();

struct TAssocRequest {
  std::string Extension;     // as the type's list holds it: ".TXT"
  std::string KnownMimeType; // what the system already calls such files; empty when nothing
  std::string TypeName;      // the file-type name field, UTF-8
  std::string ProgramPath;   // the editor's full path
  std::string Options;       // the options field, put before the file name
  bool ChangeIcon = false;   // "ファイルのアイコンも変更(&I)"
  bool MakeDefault = true;   // "標準の操作(&S)"
};

// The MIME type the extension is registered under: the known one, else one of the editor's own.
std::string AssociationMimeType(const TAssocRequest& r);
bool IsOwnMimeType(const std::string& mimeType);
// The desktop entry's file name for the extension ("org.vorneditor.VornEditor-txt.desktop").
std::string AssociationDesktopId(const std::string& extension);
// The Exec value: the program quoted as desktop entries quote, the options, the file code.
std::string AssociationExec(const std::string& programPath, const std::string& options);

// The texts written, each from what the file holds now (empty when it does not exist yet).
std::string AssociationDesktopEntry(const TAssocRequest& r);
// Empty when nothing needs defining: a type the system knows, with its own icon kept.
std::string AssociationMimePackage(const TAssocRequest& r);
// The list with the entry first among the added ones and, when asked, the default.
std::string MimeAppsWithAssociation(const std::string& current, const std::string& mimeType,
                                    const std::string& desktopId, bool makeDefault);

struct TAssocOutcome {
  std::vector<std::string> Written;  // full paths, in the order written
  std::string MimeType;
  // Why the desktop was not told (a refresher missing or failing): the files stand regardless.
  std::string RefreshNote;
};
// Writes the three files and refreshes the user's MIME and desktop databases. A file that cannot
// be written raises EFileCreateError; the files written before it stay.
TAssocOutcome RegisterAssociation(const TAssocRequest& r, const TAssocFolders& folders);

// The desktop entry the program ships with, as built in.
std::string_view ShippedDesktopEntry();

}  // namespace vorn
