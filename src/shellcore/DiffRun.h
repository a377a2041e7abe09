// Running the outside comparison: its name, its options, the two sides in temporary files and
// the run itself, which the caller moves along so that its window keeps working.
#pragma once

#include "platform/ChildRun.h"
#include "platform/TempFile.h"

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

class TCustomIniFile;

// The comparison program: any tool writing the normal diff format that takes -i -b -w -B.
inline constexpr const char* kDiffProgramName = "diff";

// The four check boxes, kept per file type in its "DIFF" section.
struct TDiffOptions {
  bool IgnoreCase = false;
  bool IgnoreSpaceChange = false;
  bool IgnoreAllSpace = false;
  bool IgnoreBlankLine = false;
  void Read(const TCustomIniFile& ini);
  void Write(TCustomIniFile& ini) const;
};

// "-" and the letters i, b, w, B of the set options in that order; empty when none is set.
std::string DiffOptionSwitch(const TDiffOptions& options);
// The argument vector: the switch, "--" and the two names, so no name is ever read as an
// option or by a shell.
std::vector<std::string> DiffArguments(const TDiffOptions& options, const std::string& oldPath,
                                       const std::string& newPath);

// The program beside the editor when there is one, else the first executable along PATH;
// empty when there is none.
std::string FindDiffProgram(const std::string& programFolder);
// The first executable file named name in the folders of pathList (":"-separated, or ";").
std::string FindOnPath(const std::string& name, const std::string& pathList);

// One comparison: two temporary files made at once, filled by the caller (or by the partner
// window, which is handed OtherFile's name), then the run. The files go with the job, also
// when the run failed or was cancelled.
class TDiffJob {
public:
  // Creates the two temporary files; false with the reason when it could not.
  bool Prepare(std::string& error);
  const TTempFile& OwnFile() const { return own_; }
  const TTempFile& OtherFile() const { return other_; }

  // Starts program comparing the files, the own one as the new side when ownIsNew.
  bool Start(const std::string& program, const TDiffOptions& options, bool ownIsNew, std::string& error);
  TChildRun& Run() { return run_; }
  // After the run: true for "same" (0) and "different" (1); otherwise the reason, from the
  // program's error output when it gave one.
  bool Succeeded(std::string& reason) const;
  std::string TakeOutput() { return run_.TakeOutput(); }

private:
  TTempFile own_;
  TTempFile other_;
  TChildRun run_;
};

// Runs a prepared and started job to its end (benchmarks, tests): at most timeoutMs, then
// the run is cancelled. Returns whether it ended by itself.
bool WaitForDiff(TDiffJob& job, int timeoutMs);

}  // namespace vorn
