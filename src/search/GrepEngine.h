// The grep run: walking the folders, reading and searching files on every core, results in order.
//
// Errors, search: nothing is raised. A pattern that does not compile is Prepare's false with
// the module's message; a file that cannot be read is counted and skipped in the summary.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "search/GrepOptions.h"

namespace vorn {

class TBregexpObj;

// Files are read, detected, converted and searched by worker threads while the calling thread
// walks the folders; results reach the sink on the calling thread in the order a one-by-one
// search would give (masks in turn, entries in file-system order, then the sub-folders).
class TGrepEngine {
public:
  TGrepEngine(const TBregexpObj& pattern, TGrepOptions options);
  ~TGrepEngine();
  TGrepEngine(const TGrepEngine&) = delete;
  TGrepEngine& operator=(const TGrepEngine&) = delete;

  // Compiles the pattern; false with the engine's message (Shift_JIS) when it is not valid or
  // the regular-expression module is missing (then message is empty).
  bool Prepare(std::string& message);
  // Writes the header lines, then every result line. Blocks until the run ends.
  TGrepSummary Run(TGrepSink& sink);
  // Safe from any thread, the sink's callbacks included: the run ends after the line each
  // worker is on, and only results up to that point are delivered.
  void Cancel() { cancel_.store(true); }

private:
  class TRun;
  std::unique_ptr<TBregexpObj> pattern_;
  TGrepOptions options_;
  std::atomic<bool> cancel_{false};
  bool prepared_ = false;
};

}  // namespace vorn
