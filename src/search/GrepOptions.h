// The request, progress report and result sink through which a grep dialog drives the grep engine.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vorn {

class TGrepKeyWord;

// Everything a run needs beside the pattern. Paths and masks are native (UTF-8) text.
struct TGrepOptions {
  std::string FileMask = "*.*";  // folder part + ";"-list of masks, resolved against BaseFolder
  std::string BaseFolder;        // empty: the process's current folder
  bool SubFolders = false;
  bool RelativePath = false;
  bool IncludeBinary = false;
  bool MatchedTextOnly = false;
  bool DetectCode = true;
  // Execution: worker threads (0 = one per core) and the bounded piece in which a large file
  // is read, converted and searched.
  int Workers = 0;
  std::size_t PieceBytes = std::size_t{16} << 20;
  int ProgressIntervalMs = 250;
};

// The run options of a grep condition record.
TGrepOptions GrepOptionsOf(const TGrepKeyWord& condition);

// What the progress window shows; sent on the thread that runs the search.
struct TGrepProgress {
  std::string FileName;  // native path of the file being read
  std::int64_t LineNumber = 0;
  std::int64_t HitCount = 0;
  std::int64_t FileCount = 0;
};

// One line of the result text (Shift_JIS). For a match or error line, Path is the real file
// path beside the shown text: a name Shift_JIS cannot hold is shown with substitutes and still
// opens through Path. LineNumber is 0 for header and error lines.
struct TGrepResultLine {
  std::string Text;
  std::string Path;
  std::int64_t LineNumber = 0;
};

// Receives the run's output in result order, always on the thread that called Run.
class TGrepSink {
public:
  virtual ~TGrepSink() = default;
  virtual void AddLine(const TGrepResultLine& line) = 0;
  // Called at least every ProgressIntervalMs while the run lasts; a dialog may process its
  // pending events here and call TGrepEngine::Cancel.
  virtual void Progress(const TGrepProgress&) {}
};

struct TGrepSummary {
  std::int64_t HitCount = 0;   // every match counts
  std::int64_t FileCount = 0;  // files with at least one match
  bool Cancelled = false;
};

}  // namespace vorn
