// The comparison program's options, its lookup and one run over two temporary files.
#include "shellcore/DiffRun.h"

#include "settings/VornMemInifile.h"

#include <unistd.h>

#include <chrono>
#include <cstdlib>

namespace vorn {
namespace {

constexpr const char* kDiffSection = "DIFF";

}  // namespace

void TDiffOptions::Read(const TCustomIniFile& ini) {
  IgnoreCase = ini.ReadBool(kDiffSection, "IgnoreCase", false);
  IgnoreSpaceChange = ini.ReadBool(kDiffSection, "IgnoreSpaceChange", false);
  IgnoreAllSpace = ini.ReadBool(kDiffSection, "IgnoreAllSpace", false);
  IgnoreBlankLine = ini.ReadBool(kDiffSection, "IgnoreBlankLine", false);
}

void TDiffOptions::Write(TCustomIniFile& ini) const {
  ini.WriteBool(kDiffSection, "IgnoreCase", IgnoreCase);
  ini.WriteBool(kDiffSection, "IgnoreSpaceChange", IgnoreSpaceChange);
  ini.WriteBool(kDiffSection, "IgnoreAllSpace", IgnoreAllSpace);
  ini.WriteBool(kDiffSection, "IgnoreBlankLine", IgnoreBlankLine);
}

std::string DiffOptionSwitch(const TDiffOptions& o) {
  std::string letters;
  if (o.IgnoreCase) letters += 'i';
  if (o.IgnoreSpaceChange) letters += 'b';
  if (o.IgnoreAllSpace) letters += 'w';
  if (o.IgnoreBlankLine) letters += 'B';
  return letters.empty() ? letters : "-" + letters;
}

std::vector<std::string> DiffArguments(const TDiffOptions& options, const std::string& oldPath,
                                       const std::string& newPath) {
  std::vector<std::string> args;
  const std::string sw = DiffOptionSwitch(options);
  if (!sw.empty()) args.push_back(sw);
  args.push_back("--");
  args.push_back(oldPath);
  args.push_back(newPath);
  return args;
}

std::string FindOnPath(const std::string& name, const std::string& pathList) {
  std::size_t at = 0;
  while (at <= pathList.size()) {
    std::size_t end = pathList.find_first_of(":;", at);
    if (end == std::string::npos) end = pathList.size();
    std::string folder = pathList.substr(at, end - at);
    at = end + 1;
    if (folder.empty()) continue;
    if (folder.back() != '/') folder += '/';
    const std::string candidate = folder + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

std::string FindDiffProgram(const std::string& programFolder) {
  if (!programFolder.empty()) {
    std::string beside = programFolder;
    if (beside.back() != '/') beside += '/';
    beside += kDiffProgramName;
    if (::access(beside.c_str(), X_OK) == 0) return beside;
  }
  const char* path = std::getenv("PATH");
  return FindOnPath(kDiffProgramName, path ? path : "/usr/bin:/bin");
}

bool TDiffJob::Prepare(std::string& error) { return own_.Create(&error) && other_.Create(&error); }

bool TDiffJob::Start(const std::string& program, const TDiffOptions& options, bool ownIsNew, std::string& error) {
  const std::string& oldPath = ownIsNew ? other_.Path() : own_.Path();
  const std::string& newPath = ownIsNew ? own_.Path() : other_.Path();
  return run_.Start(program, DiffArguments(options, oldPath, newPath), {}, UserTempFolder(), &error, false, false);
}

bool TDiffJob::Succeeded(std::string& reason) const {
  if (run_.Cancelled()) {
    reason = "cancelled";
    return false;
  }
  const int code = run_.ExitCode();
  if (code == 0 || code == 1) return true;
  reason = run_.Errors().empty() ? "exit " + std::to_string(code) : run_.Errors();
  return false;
}

bool WaitForDiff(TDiffJob& job, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!job.Run().Pump(50))
    if (std::chrono::steady_clock::now() > deadline) {
      job.Run().Cancel();
      return false;
    }
  return true;
}

}  // namespace vorn
