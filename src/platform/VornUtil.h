// Shared Qt-free file-system helpers of the shell and tools: program and user folders, canonical
// names, file tests, help.
//
// Errors, platform: the whole-file readers (ReadFileBytes) and the ...OrThrow writers raise
// EFileOpenError / EFileCreateError with the user's message; every other service returns its
// failure as a value: the system's reason as a string, empty on success (the atomic writer,
// the bus, locks, process start), or false.
#pragma once

#include <string>

#include "platform/PathVariables.h"

namespace vorn {

// ---- Folders. Paths are native UTF-8 strings; folders end with "/". ----

// The folder of the running executable, with a trailing "/".
std::string ExecutableFolder();

// Where an install puts the shipped files ("Setting", "Help", "Readme.txt") relative to the
// folder of the installed programs (<prefix>/libexec/VornEditor/ → <prefix>/share/VornEditor/).
std::string InstallLayoutDataFolder(const std::string& exeFolder);

// The rule behind ProgramFolder(): exeFolder when it holds "Setting/" (a build tree, a portable
// copy), or when it is writable and not an installed program's folder; otherwise the per-user
// program home under dataHome (the XDG data folder).
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

// What making the user folder came to: where the settings go, and the folder that was refused
// when they had to move (empty otherwise), which the user is told.
struct TUserFolderChoice {
  std::string Folder;
  std::string Refused;
};

// The rule behind MakeUserFolder(): preferred when it can be made and written; otherwise the
// user folder below dataHome + "VornEditor/", where a program folder without "Setting/" keeps
// it. Creates the folder it chooses. When neither can be made preferred stands, and each write
// that fails there reports itself.
TUserFolderChoice MakeUserFolderIn(const std::string& preferred, const std::string& dataHome,
                                   const std::string& loginName);

// Creates UserFolder() with its missing parents. A program folder this user may not write (a
// shared or read-only copy of the programs) moves it to the user's own data folder, for the
// rest of the process, rather than leaving the settings nowhere.
TUserFolderChoice MakeUserFolder();

// Tests and the start-up code of a process that must run elsewhere may pin the folders before
// first use. Passing an empty string returns to the automatic choice.
void SetProgramFolderOverride(const std::string& folder);
void SetUserFolderOverride(const std::string& folder);

// The shipped "Setting" templates a first start imports: the program folder's own, else the
// installed data folder's.
std::string SettingTemplateFolder();

// ---- Names. ----

// The name used wherever two file names are compared: absolute and lexically cleaned, and
// fully resolved (symbolic links, "..") when the file or folder exists.
std::string CanonicalFileName(const std::string& name);

// The target of a symbolic link; the link's own name when the target does not exist, and the
// name unchanged when it is not a link.
std::string ResolveShortcut(const std::string& name);

// ---- File tests. ----

bool DirectoryExists(const std::string& path);
// The path names an existing regular file, links followed: what the editor can open, read or
// replace. A folder, a device or a pipe is not one; reading a pipe would wait for a writer.
bool IsRegularFile(const std::string& path);
// The file exists and carries no write permission for anybody (the read-only attribute).
bool FileIsReadOnly(const std::string& path);
// Another open file description holds a write lock on the file (flock or OFD lock), so it
// cannot be opened for reading while denying others write access. False for a missing file.
bool FileIsHeldForWriting(const std::string& path);

// ---- Help. ----

// A file shipped with the program (rel below the program folder, e.g. "Readme.txt"): the
// program folder's copy, else the installed data folder's, else the program folder's name.
std::string ShippedFileName(const std::string& rel);

// The file that help opens: ProgramFolder() (or the installed data folder) + "Help/" + page,
// or "Help/Index.html" when page is empty.
std::string HelpFileName(const std::string& page);
// Opens HelpFileName(page) with the desktop's default program. False when it cannot start.
bool ShowHelp(const std::string& page = std::string());

}  // namespace vorn
