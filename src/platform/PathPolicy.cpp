// Command-line text rules shared by the editor and both launchers.
#include "platform/PathPolicy.h"

#include <sys/stat.h>

namespace vorn {

std::vector<std::string> SplitParamText(std::string_view text) {
  std::vector<std::string> args;
  std::string current;
  bool inArgument = false;
  bool quoted = false;
  for (char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c == '"') {
      quoted = !quoted;
      inArgument = true;  // "" is an empty argument of its own
    } else if (c <= ' ' && !quoted) {
      if (inArgument) args.push_back(std::move(current));
      current.clear();
      inArgument = false;
    } else {
      current.push_back(ch);
      inArgument = true;
    }
  }
  if (inArgument) args.push_back(std::move(current));
  return args;
}

bool PathExistsOnDisk(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool IsSwitchArgument(std::string_view arg, const TPathExists& exists) {
  if (arg.empty()) return false;
  if (arg[0] == '-') return true;
  if (arg[0] != '/') return false;
  if (arg.find('/', 1) != std::string_view::npos) return false;
  return !exists(std::string(arg));
}

std::string ExtractFilePath(std::string_view path) {
  const auto slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string ExtractFileName(std::string_view path) {
  const auto slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

}  // namespace vorn
