// The grep run: folder walk on the calling thread, file searches on workers, ordered delivery.
#include "search/GrepEngine.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "regex/BregexpUtil.h"
#include "search/FileMask.h"
#include "search/GrepFileReader.h"
#include "search/GrepLineSearch.h"
#include "search/GrepResultText.h"
#include "search/GrepUtf8Lines.h"
#include "syntax/KeyWord.h"

namespace vorn {

TGrepOptions GrepOptionsOf(const TGrepKeyWord& c) {
  TGrepOptions o;
  o.FileMask = c.FileMask;
  o.BaseFolder = c.BaseFolder;
  o.SubFolders = c.SubFolders;
  o.RelativePath = c.RelativePath;
  o.IncludeBinary = c.IncludeBinary;
  o.MatchedTextOnly = c.MatchedTextOnly;
  o.DetectCode = c.DetectCode;
  return o;
}

namespace {

using TClock = std::chrono::steady_clock;
using TFolderId = std::pair<dev_t, ino_t>;

struct TJob {
  std::string path;
  std::vector<TGrepResultLine> lines;
  std::int64_t hits = 0;
  bool done = false;
  bool cancelled = false;
};

struct TEntry {
  std::string name;
  bool isDir;
};

// The entries of a folder in the order the file system gives them; false when it cannot be read.
bool ReadFolder(const std::string& folder, std::vector<TEntry>& entries) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return false;
  while (const dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    bool isDir = e->d_type == DT_DIR;
    if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
      struct stat st {};
      isDir = ::stat((folder + name).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    }
    entries.push_back({std::move(name), isDir});
  }
  ::closedir(dir);
  return true;
}

bool FolderId(const std::string& folder, TFolderId& id) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return false;
  id = {st.st_dev, st.st_ino};
  return true;
}

}  // namespace

class TGrepEngine::TRun {
public:
  TRun(TGrepEngine& engine, TGrepSink& sink) : engine_(engine), options_(engine.options_), sink_(sink) {}

  TGrepSummary Execute() {
    for (const std::string& line : GrepHeaderLines(*engine_.pattern_, options_)) sink_.AddLine({line, {}, 0});
    const TGrepTarget target = ResolveGrepTarget(options_.FileMask, options_.BaseFolder);
    root_ = target.Folder;
    masks_ = SplitMaskList(target.Masks);
    StartWorkers();
    std::set<TFolderId> ancestors;
    TFolderId id{};
    if (FolderId(root_, id)) ancestors.insert(id);
    Walk(root_, ancestors);
    Finish();
    summary_.Cancelled = engine_.cancel_.load();
    return summary_;
  }

private:
  bool Cancelled() const { return engine_.cancel_.load(std::memory_order_relaxed); }

  void StartWorkers() {
    int n = options_.Workers > 0 ? options_.Workers : static_cast<int>(std::thread::hardware_concurrency());
    n = std::clamp(n, 1, 64);
    progressLines_ = std::vector<std::atomic<std::int64_t>>(static_cast<std::size_t>(n));
    for (int w = 0; w < n; ++w) {
      searchers_.push_back(std::make_unique<TGrepLineSearcher>(*engine_.pattern_));
      std::string ignored;
      searchers_.back()->Compile(ignored);
      const TGrepLineSearcher& searcher = *searchers_.back();
      utf8Finders_.push_back(std::make_unique<TUtf8LineFinder>(searcher.RequiredCharacters(), searcher.RequiredFoldsCase()));
    }
    for (int w = 0; w < n; ++w) threads_.emplace_back([this, w] { WorkerLoop(w); });
  }

  void Walk(const std::string& folder, std::set<TFolderId>& ancestors) {
    std::vector<TEntry> entries;
    if (!ReadFolder(folder, entries)) return AddErrorJob(folder);
    for (const std::string& mask : masks_)
      for (const TEntry& e : entries)
        if (!Cancelled() && !e.isDir && MatchesFileMask(e.name, mask)) AddJob(folder + e.name);
    if (!options_.SubFolders) return;
    for (const TEntry& e : entries) {
      if (Cancelled() || !e.isDir || e.name[0] == '.') continue;
      const std::string sub = folder + e.name + "/";
      TFolderId id{};
      // A link back to a folder being walked would never end: it is reported and skipped.
      if (!FolderId(sub, id) || ancestors.count(id)) {
        AddErrorJob(sub);
        continue;
      }
      ancestors.insert(id);
      Walk(sub, ancestors);
      ancestors.erase(id);
    }
  }

  std::string DisplayPath(const std::string& path) const {
    bool relative = options_.RelativePath && path.compare(0, root_.size(), root_) == 0;
    return GrepDisplayPath(relative ? std::string_view(path).substr(root_.size()) : std::string_view(path));
  }

  void AddErrorJob(const std::string& folder) {
    auto job = std::make_unique<TJob>();
    std::string shown = folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder;
    job->lines.push_back({GrepErrorLine(GrepDisplayPath(shown)), shown, 0});
    job->done = true;
    Enqueue(std::move(job), false);
  }

  void AddJob(const std::string& path) {
    auto job = std::make_unique<TJob>();
    job->path = path;
    Enqueue(std::move(job), true);
  }

  // Keeps at most a window of jobs ahead of delivery, so that memory stays bounded however many
  // files the walk finds before the workers catch up.
  void Enqueue(std::unique_ptr<TJob> job, bool toSearch) {
    const std::size_t window = 8 * threads_.size() + 32;
    std::unique_lock<std::mutex> lock(mutex_);
    while (jobs_.size() >= window && !Cancelled()) WaitAndDeliver(lock);
    if (Cancelled()) return;
    if (toSearch) toClaim_.push_back(job.get());
    jobs_.push_back(std::move(job));
    if (toSearch) workCv_.notify_one();
  }

  void Finish() {
    std::unique_lock<std::mutex> lock(mutex_);
    finished_ = true;
    workCv_.notify_all();
    while (!jobs_.empty() && !stopDelivering_) WaitAndDeliver(lock);
    lock.unlock();
    for (std::thread& t : threads_) t.join();
  }

  // Waits a little for the next job in order, then delivers what is complete and reports
  // progress; the lock is released while the sink runs.
  void WaitAndDeliver(std::unique_lock<std::mutex>& lock) {
    const auto interval = std::chrono::milliseconds(std::max(options_.ProgressIntervalMs, 1));
    doneCv_.wait_for(lock, std::min(interval, std::chrono::milliseconds(50)),
                     [this] { return (!jobs_.empty() && jobs_.front()->done) || Cancelled(); });
    if (Cancelled()) {
      for (TJob* job : toClaim_) job->done = job->cancelled = true;
      toClaim_.clear();
    }
    std::vector<std::unique_ptr<TJob>> ready;
    while (!jobs_.empty() && jobs_.front()->done && !stopDelivering_) {
      stopDelivering_ = jobs_.front()->cancelled;
      ready.push_back(std::move(jobs_.front()));
      jobs_.pop_front();
    }
    if (stopDelivering_) jobs_.erase(std::remove_if(jobs_.begin(), jobs_.end(), [](auto& j) { return j->done; }), jobs_.end());
    lock.unlock();
    for (const auto& job : ready) Deliver(*job);
    if (TClock::now() - lastProgress_ >= interval) ReportProgress();
    lock.lock();
  }

  void Deliver(const TJob& job) {
    for (const TGrepResultLine& line : job.lines) sink_.AddLine(line);
    summary_.HitCount += job.hits;
    if (job.hits > 0) ++summary_.FileCount;
  }

  void ReportProgress() {
    TGrepProgress p;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      p.FileName = currentFile_;
    }
    p.LineNumber = progressLines_[currentWorker_.load()].load() + 1;
    p.HitCount = summary_.HitCount;
    p.FileCount = summary_.FileCount;
    lastProgress_ = TClock::now();
    sink_.Progress(p);
  }

  void WorkerLoop(int w) {
    for (;;) {
      std::unique_lock<std::mutex> lock(mutex_);
      workCv_.wait(lock, [this] { return !toClaim_.empty() || finished_ || Cancelled(); });
      if (toClaim_.empty()) {
        if (finished_ || Cancelled()) return;
        continue;
      }
      TJob* job = toClaim_.front();
      toClaim_.pop_front();
      currentFile_ = job->path;
      currentWorker_.store(w);
      lock.unlock();
      SearchFile(w, *job);
      lock.lock();
      job->done = true;
      doneCv_.notify_one();
    }
  }

  void SearchFile(int w, TJob& job) {
    if (Cancelled()) {
      job.cancelled = true;
      return;
    }
    TGrepFileReader reader(options_.PieceBytes, options_.DetectCode, options_.IncludeBinary);
    reader.KeepUtf8(utf8Finders_[static_cast<std::size_t>(w)]->Usable());
    const std::string shown = DisplayPath(job.path);
    const TGrepFileReader::TOpenResult opened = reader.Open(job.path);
    if (opened == TGrepFileReader::orNotRegular) return;
    if (opened == TGrepFileReader::orOpened) SearchPieces(w, job, reader, shown);
    if (opened == TGrepFileReader::orFailed || reader.Failed()) {
      job.lines.assign(1, {GrepErrorLine(shown), job.path, 0});
      job.hits = 0;
    }
  }

  void SearchPieces(int w, TJob& job, TGrepFileReader& reader, const std::string& shown) {
    TGrepLineSearcher& searcher = *searchers_[static_cast<std::size_t>(w)];
    const bool textOnly = options_.MatchedTextOnly;
    auto onHit = [&](std::int64_t number, std::string_view text, int hits) {
      job.hits += hits;
      job.lines.push_back({GrepMatchLine(shown, number, text, textOnly), job.path, number});
    };
    std::string piece, carry;
    bool midLine = false;
    std::int64_t lineNumber = 1;
    std::atomic<std::int64_t>& currentLine = progressLines_[static_cast<std::size_t>(w)];
    while (reader.NextPiece(piece, midLine)) {
      // Only lines that may match are converted; the finder keeps no tail, so no carry.
      std::size_t lines = 0;
      if (reader.PieceIsUtf8() && utf8Finders_[static_cast<std::size_t>(w)]->SearchPiece(
                                      piece, lineNumber, searcher, onHit, engine_.cancel_, currentLine, lines)) {
        lineNumber += static_cast<std::int64_t>(lines) - (midLine ? 1 : 0);
        if (Cancelled()) return void(job.cancelled = true);
        continue;
      }
      if (reader.PieceIsUtf8()) reader.ConvertKept(piece);
      if (!carry.empty()) piece.insert(0, carry);
      const std::size_t keep = (reader.AtEnd() || midLine) ? 0 : static_cast<std::size_t>(searcher.LineBreakCount());
      const std::size_t used = searcher.SearchPiece(piece, lineNumber, keep, onHit, engine_.cancel_, currentLine);
      lineNumber += static_cast<std::int64_t>(searcher.LinesDone()) - (midLine ? 1 : 0);
      carry.assign(piece, used, std::string::npos);
      if (Cancelled()) {
        job.cancelled = true;
        return;
      }
    }
  }

  TGrepEngine& engine_;
  const TGrepOptions& options_;
  TGrepSink& sink_;
  std::string root_;
  std::vector<std::string> masks_;
  std::vector<std::unique_ptr<TGrepLineSearcher>> searchers_;
  std::vector<std::unique_ptr<TUtf8LineFinder>> utf8Finders_;  // per worker, beside its searcher
  std::vector<std::thread> threads_;
  std::vector<std::atomic<std::int64_t>> progressLines_;
  std::mutex mutex_;
  std::condition_variable workCv_, doneCv_;
  std::deque<std::unique_ptr<TJob>> jobs_;  // in result order; the front is delivered next
  std::deque<TJob*> toClaim_;               // not yet taken by a worker, in result order
  bool finished_ = false;
  bool stopDelivering_ = false;
  std::string currentFile_;
  std::atomic<int> currentWorker_{0};
  TClock::time_point lastProgress_ = TClock::now();
  TGrepSummary summary_;
};

TGrepEngine::TGrepEngine(const TBregexpObj& pattern, TGrepOptions options)
    : pattern_(std::make_unique<TBregexpObj>(pattern.Engine())), options_(std::move(options)) {
  pattern_->Assign(pattern);
}

TGrepEngine::~TGrepEngine() = default;

bool TGrepEngine::Prepare(std::string& message) {
  message.clear();
  TGrepLineSearcher trial(*pattern_);
  prepared_ = trial.Compile(message);
  return prepared_;
}

TGrepSummary TGrepEngine::Run(TGrepSink& sink) {
  std::string message;
  if (!prepared_ && !Prepare(message)) return {};
  TRun run(*this, sink);
  return run.Execute();
}

}  // namespace vorn
