// Shared Qt-free helpers of the shell and tools: program and user folders, canonical names,
// file tests, trimming, name sanitising, atom strings, help and version text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/DateTimeText.h"
#include "platform/PathVariables.h"

namespace vorn {

// ---- Folders. Paths are native UTF-8 strings; folders end with "/". ----

// The folder of the running executable, with a trailing "/".
std::string ExecutableFolder();

// The rule behind ProgramFolder(): exeFolder when it is writable or holds "Setting/",
// otherwise the per-user program home under dataHome (the XDG data folder).
std::string ChooseProgramFolder(const std::string& exeFolder, const std::string& dataHome);

// The folder that holds "UsrDir.dat", "Macro/", "Setting/" and the user folders. Decided on
// first use and fixed for the life of the process.
std::string ProgramFolder();

// Read-only fallback for shipped files ("Setting" templates, "Help", "Readme.txt") of a
// system-wide install; empty when the program runs from a writable or portable folder.
std::string InstalledDataFolder();

// The rule behind UserFolder(): the first line of programFolder + "UsrDir.dat" when it is not
// empty, else the login name, else "Default"; sanitised, below programFolder, with "/".
std::string ChooseUserFolder(const std::string& programFolder, const std::string& loginName);

// The per-user settings folder. Fixed on first use: a "UsrDir.dat" written later by the common
// settings takes effect at the next start only. Not created here.
std::string UserFolder();

// Tests and the start-up code of a process that must run elsewhere may pin the folders before
// first use. Passing an empty string returns to the automatic choice.
void SetProgramFolderOverride(const std::string& folder);
void SetUserFolderOverride(const std::string& folder);

// ---- Names. ----

// The name used wherever two file names are compared: absolute and lexically cleaned, and
// fully resolved (symbolic links, "..") when the file or folder exists.
std::string CanonicalFileName(const std::string& name);

// The target of a symbolic link; the link's own name when the target does not exist, and the
// name unchanged when it is not a link.
std::string ResolveShortcut(const std::string& name);

// Replaces " * , / : ; < > ? \ | by "_" in Shift_JIS text; double-byte characters are kept whole
// (a trail byte 0x5C or 0x7C is part of a character, not a separator).
std::string SanitizeFileName(std::string_view sjisText);

// ---- Trimming (Shift_JIS aware; the full-width space is 0x81 0x40). ----

std::string TrimBlanks(std::string_view text, bool withTabs, bool withWideSpaces);
std::string TrimBlanksLeft(std::string_view text, bool withTabs, bool withWideSpaces);
std::string TrimBlanksRight(std::string_view text, bool withTabs, bool withWideSpaces);

// ---- File tests. ----

bool DirectoryExists(const std::string& path);
// The file exists and carries no write permission for anybody (the read-only attribute).
bool FileIsReadOnly(const std::string& path);
// Another open file description holds a write lock on the file (flock or OFD lock), so it
// cannot be opened for reading while denying others write access. False for a missing file.
bool FileIsHeldForWriting(const std::string& path);

// ---- Atom strings. ----

// Strings between processes travel with the message in place of a global atom; an absent
// string is atom 0. Takes the text (at most 255 bytes, never splitting a double-byte
// character) and clears the slot, as reading and deleting the atom did.
bool TakeAtomString(std::optional<std::string>& atom, std::string& text);
constexpr std::size_t kMaxAtomLength = 255;

// ---- Help and version. ----

// The file that help opens: ProgramFolder() (or the installed data folder) + "Help/" + page,
// or "Help/Index.html" when page is empty.
std::string HelpFileName(const std::string& page);
// Opens HelpFileName(page) with the desktop's default program. False when it cannot start.
bool ShowHelp(const std::string& page = std::string());

// "r.1.2.3 Build 4" from the build's version numbers.
std::string VersionText();
// The build was made without NDEBUG.
bool IsDebugBuild();

}  // namespace vorn
