// The bus folder: where endpoints register, how they are listed, and how the dead are swept.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vorn {

// What one endpoint publishes about its window. Stands in for the class name, the title and
// the window states other processes used to read from the window system.
struct TBusPeer {
  std::int64_t id = 0;        // the window handle other processes name it by
  std::string className;      // "TVornEditMain" or "TVornEditSub"
  std::string title;
  pid_t pid = 0;
  std::int64_t activated = 0; // activation stamp; larger is more recent
  bool enabled = true;        // no modal dialog open
  bool minimized = false;

  bool IsMainWindow() const { return className == "TVornEditMain"; }
  bool IsStation() const;
  bool IsEditor() const;      // main or sub class with a usable title, not the station
};

// The folder of one user's bus: <runtime folder>/bus. Every endpoint keeps three files named
// by its id: "<id>.lock" (held while the process lives), "<id>.rec" (its record, replaced
// whole) and "<id>.sock" (its listening socket).
class TBusFolder {
public:
  // The user's bus under RuntimeFolder().
  static TBusFolder Default();
  // A bus under an explicit folder (tests, benchmarks); the folder itself is checked as the
  // runtime folder is.
  explicit TBusFolder(std::string runtimeFolder);

  // Makes sure the folder and its bus subfolder exist, belong to this user and admit nobody
  // else (mode bits wider than 0700 are narrowed). Returns an empty text, or the reason why
  // the bus must not be used: a folder that is someone else's, or not a real folder.
  std::string Prepare() const;

  const std::string& Path() const { return path_; }
  std::string SocketPath(std::int64_t id) const;
  std::string LockPath(std::int64_t id) const;
  std::string RecordPath(std::int64_t id) const;

  // Every live endpoint, most recently activated first (ties by id). Endpoints whose process
  // is gone are removed on the way.
  std::vector<TBusPeer> List() const;
  // One endpoint's record, when it is alive.
  bool Find(std::int64_t id, TBusPeer& peer) const;

  // Writes an endpoint's record by atomic replacement, so a reader never sees half of it.
  bool WriteRecord(const TBusPeer& peer) const;
  // Removes an endpoint's files when its lock is free, i.e. its owner has ended.
  bool SweepIfDead(std::int64_t id) const;

private:
  std::string runtime_;
  std::string path_;
};

// The two enumeration filters. ownMain (0 for none) is left out of the first.
std::vector<TBusPeer> OtherMainEditors(const std::vector<TBusPeer>& all, std::int64_t ownMain);
std::vector<TBusPeer> AllEditorWindows(const std::vector<TBusPeer>& all);
// The station: class TVornEditMain titled "VORNEDITORSTATION"; id 0 when there is none.
std::int64_t FindStation(const std::vector<TBusPeer>& all);

// A stamp for "activated now" that orders activations across processes.
std::int64_t BusActivationStamp();

}  // namespace vorn
