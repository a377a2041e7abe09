// Command-line text rules shared by the editor and both launchers: splitting a parameter text
// into arguments and deciding whether an argument is a switch or a file name.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// Splits a parameter text as the C run time does: characters at or below the space separate
// arguments, a double quote toggles quoting and is removed, there is no escape character.
std::vector<std::string> SplitParamText(std::string_view text);

// Tells whether a file or folder of exactly this name exists.
using TPathExists = std::function<bool(const std::string&)>;
bool PathExistsOnDisk(const std::string& path);

// "-" always starts a switch. "/" starts one only when the argument holds no second "/" and
// no file or folder of that exact name exists, so absolute paths are never taken for switches.
bool IsSwitchArgument(std::string_view arg, const TPathExists& exists = PathExistsOnDisk);

// Folder part of a path up to and including the last "/" (empty when there is none).
std::string ExtractFilePath(std::string_view path);
// Name part of a path after the last "/".
std::string ExtractFileName(std::string_view path);

}  // namespace vorn
