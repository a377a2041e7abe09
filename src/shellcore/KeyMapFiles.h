// "Key.dat" and "ToolBar.dat" in the user folder: reading with the share retries, writing whole.
#pragma once

#include <string>
#include <vector>

#include "platform/SharedFileRead.h"
#include "shellcore/KeyTable.h"

namespace vorn {

inline constexpr const char* kKeyFileName = "Key.dat";
inline constexpr const char* kToolBarFileName = "ToolBar.dat";
constexpr int kToolBarSeparator = -1;

enum TKeyFileResult {
  kfLoaded,     // the file's table is in force
  kfMissing,    // no file: the table is unchanged
  kfWrongSize,  // not a whole table: the built-in table is in force
};

// The process's one key table, shared by every window of the process; the built-in table
// until a "Key.dat" is loaded.
TKeyTable& ProcessKeyTable();

// Reads userFolder + "Key.dat" into table. A file that is not exactly one table long is a
// damaged or foreign file: rather than mix part of it with the old table, the built-in table
// takes over. Raises EFileOpenError (the file's full name and the system's reason) when the
// file stays unreadable through every attempt.
TKeyFileResult LoadKeyFile(const std::string& userFolder, TKeyTable& table, const TShareRetry& retry = {});

// Writes the table as userFolder + "Key.dat". Raises EFileCreateError.
void SaveKeyFile(const std::string& userFolder, const TKeyTable& table);

// The tool bar when no "ToolBar.dat" exists, left to right (kToolBarSeparator for a gap).
std::vector<int> DefaultToolBar();

// The buttons of userFolder + "ToolBar.dat", left to right, or the default tool bar when the
// file is missing. A count beyond the file's entries reads only the entries present; values are
// kept as stored (a number without a function gives an empty button). Raises EFileOpenError.
std::vector<int> LoadToolBarFile(const std::string& userFolder, const TShareRetry& retry = {});

// Writes the buttons (left to right) as userFolder + "ToolBar.dat". Raises EFileCreateError.
void SaveToolBarFile(const std::string& userFolder, const std::vector<int>& buttons);

// The stored forms, for the file functions above and for tests.
std::vector<int> ParseToolBarBytes(const std::string& bytes);
std::string ToolBarBytes(const std::vector<int>& buttons);

}  // namespace vorn
