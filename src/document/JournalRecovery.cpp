// Journal recovery: a journal is trusted only when its header names the file as it is now (the
// bytes' hash) and every record replays; anything less is shown, never applied.
#include "document/JournalRecovery.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <filesystem>

#include "document/DocumentJournal.h"
#include "store/ScreenStrings.h"

namespace vorn {

namespace {

// The journal's bytes unless a live process holds its lock; verdict says which.
bool ReadUnowned(const std::string& path, std::string& bytes, TRecoveryOffer& offer) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return false;
  offer.JournalPath = path;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    offer.Verdict = rvUnreadable;
    return false;
  }
  if (::flock(fd, LOCK_SH | LOCK_NB) != 0) {
    ::close(fd);
    offer.Verdict = rvOwned;
    return false;
  }
  offer.WrittenSeconds = st.st_mtim.tv_sec;
  bytes.clear();
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

// Sets Verdict and Text for contents replayed over base.
void Replay(const TJournalContents& contents, std::string base, bool baseTrusted, TRecoveryOffer& offer) {
  offer.Header = contents.Header;
  offer.Edits = contents.Edits.size();
  if (!baseTrusted) {
    offer.Verdict = rvMismatch;
    offer.Text = RebuildWithoutBase(contents);
    return;
  }
  std::string text = base;
  const std::size_t applied = ApplyJournalEdits(text, contents.Edits);
  offer.Verdict = contents.Damage == jdNone && applied == contents.Edits.size() ? rvRestore : rvDamaged;
  offer.ChangedLines = ChangedLineCount(base, text);
  offer.Text = std::move(text);
}

std::string LocalTimeText(std::int64_t seconds) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  std::tm parts{};
  char text[32] = "";
  if (::localtime_r(&t, &parts)) std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &parts);
  return text;
}

}  // namespace

TRecoveryOffer FindFileJournal(const std::string& folder, const std::string& canonicalName,
                               const std::string& currentText) {
  return FindFileJournal(folder, canonicalName, [&currentText] { return currentText; });
}

TRecoveryOffer FindFileJournal(const std::string& folder, const std::string& canonicalName,
                               const std::function<std::string()>& textNow) {
  TRecoveryOffer offer;
  std::string bytes;
  if (!ReadUnowned(JournalPathFor(folder, canonicalName, {}), bytes, offer)) return offer;
  const TJournalContents contents = ParseJournal(bytes);
  if (contents.Damage == jdNoHeader || contents.Header.Path != canonicalName || !contents.Header.FileBase) {
    offer.Verdict = rvUnreadable;
    return offer;
  }
  const std::string currentText = textNow();
  struct stat file {};
  const std::optional<std::uint64_t> hash = HashOfFileBytes(canonicalName);
  const bool sameFile = ::stat(canonicalName.c_str(), &file) == 0 && contents.Header.BaseHashKnown && hash &&
                        *hash == contents.Header.BaseHash &&
                        static_cast<std::uint64_t>(file.st_size) == contents.Header.BaseSize &&
                        contents.Header.BaseTextLength == currentText.size() &&
                        offer.WrittenSeconds >= file.st_mtim.tv_sec;
  Replay(contents, currentText, sameFile, offer);
  return offer;
}

std::vector<std::string> OrphanedUntitledJournals(const std::string& folder) {
  std::vector<std::pair<std::int64_t, std::string>> found;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("untitled-", 0) != 0 || entry.path().extension() != ".vjnl") continue;
    const std::string path = entry.path().string();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) continue;
    struct stat st {};
    const bool free = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_SH | LOCK_NB) == 0;
    ::close(fd);
    if (free) found.emplace_back(st.st_mtim.tv_sec, path);
  }
  std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<std::string> paths;
  for (auto& f : found) paths.push_back(std::move(f.second));
  return paths;
}

TRecoveryOffer ReadUntitledJournal(const std::string& journalPath) {
  TRecoveryOffer offer;
  std::string bytes;
  if (!ReadUnowned(journalPath, bytes, offer)) return offer;
  const TJournalContents contents = ParseJournal(bytes);
  if (contents.Damage == jdNoHeader || contents.Header.FileBase || contents.Header.BaseTextLength != 0) {
    offer.Verdict = rvUnreadable;
    return offer;
  }
  Replay(contents, std::string(), true, offer);
  return offer;
}

void ReplaceStoreText(TVornEditScreenStrings& store, std::string_view target) {
  // The restore is one undo step; a wrap still being cut would move its rows and drop it.
  store.CompleteRewrap();
  const std::string current = StoreText(store);
  const std::size_t shorter = std::min(current.size(), target.size());
  std::size_t prefix = 0;
  while (prefix < shorter && current[prefix] == target[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < shorter - prefix && current[current.size() - 1 - suffix] == target[target.size() - 1 - suffix])
    ++suffix;
  if (prefix == current.size() && prefix == target.size()) return;
  const int count = store.Count();
  // Whole logical lines from the one the difference starts in to the one it ends in; a pure
  // insertion at a line's start replaces no row.
  const int prefixRow = std::min(store.RowAtTextOffset(static_cast<std::int64_t>(prefix)), count);
  int first = prefixRow;
  while (first > 0 && store.RowEnd(first - 1) != reLineEnd) --first;
  const std::size_t oldEnd = current.size() - suffix;
  int last = first - 1;
  if (oldEnd > prefix) last = std::min(store.RowAtTextOffset(static_cast<std::int64_t>(oldEnd - 1)), count - 1);
  else if (static_cast<std::size_t>(store.TextOffsetOfRow(first)) != prefix) last = std::min(prefixRow, count - 1);
  last = std::max(last, first - 1);
  while (last >= 0 && last < count - 1 && store.RowEnd(last) == reWrapped) ++last;
  const auto start = static_cast<std::size_t>(store.TextOffsetOfRow(first));
  // The new rows must end with a line break where old rows follow them; otherwise the next
  // line is replaced too, up to the end of the text if need be.
  for (;;) {
    const auto end = static_cast<std::size_t>(store.TextOffsetOfRow(last + 1));
    const std::size_t after = current.size() - end;
    const std::string_view rows = target.substr(start, target.size() - after - start);
    if (after == 0 || (rows.size() >= 2 && rows.substr(rows.size() - 2) == "\r\n")) {
      store.ReplaceRows(first, last - first + 1, rows);
      return;
    }
    ++last;
    while (last < count - 1 && store.RowEnd(last) == reWrapped) ++last;
  }
}

std::string RestoreQuestion(const TRecoveryOffer& offer, const std::string& name) {
  const std::string what = name.empty() ? std::string("無題の文書") : "「" + name + "」";
  return what + "には、保存されなかった編集があります (" + LocalTimeText(offer.WrittenSeconds) + " まで、" +
         std::to_string(offer.ChangedLines) + " 行)。\r\n復元しますか";
}

std::string UnappliedJournalMessage(const TRecoveryOffer& offer, const std::string& name, const std::string& keptAs) {
  const std::string what = name.empty() ? std::string("無題の文書") : "「" + name + "」";
  std::string why = offer.Verdict == rvMismatch ? "ファイルがその後に変わったため" : "記録が壊れているため";
  if (offer.Verdict == rvUnreadable) why = "記録が読めないため";
  return what + "の保存されなかった編集は、" + why + "ファイルには適用しません。\r\n" +
         (offer.Text.empty() ? std::string() : "復元できた部分を新しい無題の文書に開きます。\r\n") + "記録は " +
         keptAs + " に残してあります";
}

std::string KeepJournalAside(const std::string& journalPath) {
  const std::string kept = journalPath + "." + std::to_string(::time(nullptr)) + ".kept";
  if (::rename(journalPath.c_str(), kept.c_str()) != 0) return journalPath;
  return kept;
}

}  // namespace vorn
