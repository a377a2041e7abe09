// TDocumentJournal: a change becomes one edit record, the text it replaced named by offset and
// length and the text it put there given in full; an edit inside one row carries only its bytes.
#include "document/DocumentJournal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>

#include "document/VornDocument.h"
#include "platform/ReadableFile.h"

namespace vorn {

namespace {

std::int64_t NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::string Hex(std::uint64_t v) {
  static const char digits[] = "0123456789abcdef";
  std::string s(16, '0');
  for (int i = 15; i >= 0; --i, v >>= 4) s[static_cast<std::size_t>(i)] = digits[v & 0xF];
  return s;
}

// The file's bytes hashed as they are now, or nothing when the file is no longer the one the
// document read (its stamp moved) or cannot be read.
std::optional<std::uint64_t> HashFileIfStamped(const std::string& name, std::int64_t size, std::int64_t seconds,
                                               std::int64_t nanoseconds) {
  const auto stamped = [&] {
    const TFileStamp now = TakeFileStamp(name);
    return now.exists && now.size == size && now.seconds == seconds && now.nanoseconds == nanoseconds;
  };
  if (!stamped()) return std::nullopt;
  const std::optional<std::uint64_t> hash = HashOfFileBytes(name);
  if (!stamped()) return std::nullopt;
  return hash;
}

}  // namespace

std::optional<std::uint64_t> HashOfFileBytes(const std::string& path) {
  TReadableFile file;
  if (file.Open(path) != frNone) return std::nullopt;
  TByteHasher hasher;
  std::string buffer(1 << 20, '\0');
  for (;;) {
    const ssize_t n = ::read(file.Fd(), buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    hasher.Add(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
  }
  return hasher.Value();
}

std::string DefaultJournalFolder() {
  const char* state = std::getenv("XDG_STATE_HOME");
  std::string base;
  if (state && *state == '/') {
    base = state;
  } else {
    const char* home = std::getenv("HOME");
    base = std::string(home && *home ? home : "/tmp") + "/.local/state";
  }
  return base + "/VornEditor/journal/";
}

std::string JournalPathFor(const std::string& folder, const std::string& canonicalName, const std::string& untitledId) {
  if (canonicalName.empty()) return folder + "untitled-" + untitledId + ".vjnl";
  TByteHasher hasher;
  hasher.Add(canonicalName);
  std::string base = std::filesystem::path(canonicalName).filename().string();
  if (base.size() > 64) base.resize(64);
  return folder + base + "-" + Hex(hasher.Value()) + ".vjnl";
}

std::string NewUntitledId() {
  std::random_device device;
  return std::to_string(::getpid()) + "-" + Hex((static_cast<std::uint64_t>(device()) << 32) ^ device() ^
                                                static_cast<std::uint64_t>(NowNs())).substr(8);
}

std::string StoreText(const TVornEditScreenStrings& store) { return store.GetRowsText(0, store.Count()); }

TDocumentJournal::TDocumentJournal(TVornDocument& document, std::string folder, std::string untitledId)
    : TVornEditView(geometry_), document_(document), folder_(std::move(folder)), untitledId_(std::move(untitledId)) {
  // Shows nothing: it must not make the store keep bracket states for a screen of its own.
  geometry_.Rows = geometry_.Screen = 1;
  TVornEditScreenStrings& store = document_.Store();
  textLength_ = static_cast<std::uint64_t>(store.TextOffsetOfRow(store.Count()));
  wasModified_ = document_.Modified();
  store.AttachView(*this);
}

TDocumentJournal::~TDocumentJournal() {
  document_.Store().DetachView(*this);
  Discard();
}

void TDocumentJournal::Sync() {
  if (Active()) writer_->SyncNow();
}

void TDocumentJournal::Discard() {
  if (writer_) writer_->Remove();
  writer_.reset();
  path_.clear();
  locked_ = false;
}

bool TDocumentJournal::WriteFailed() const { return locked_ || !startFailure_.empty() || (writer_ && writer_->Failed()); }

std::string TDocumentJournal::FailureText() const {
  if (locked_) return "このファイルの編集記録は、別のプロセスが書いています";
  const std::string reason = !startFailure_.empty() ? startFailure_ : writer_ ? writer_->FailureText() : std::string();
  return "編集記録を書けません (" + reason + ")。保存していない編集は、異常終了で失われます";
}

void TDocumentJournal::StoreChanged(const TStoreChange& change) {
  const bool modified = document_.Modified();
  const bool wasModified = wasModified_;
  wasModified_ = modified;
  TVornEditScreenStrings& store = document_.Store();
  if (!change.TextChanged()) {
    if (!modified) Discard();
    return;
  }
  // A load or a return to the saved text leaves nothing unsaved: the next edit starts afresh
  // from the text then.
  if (change.Kind == scLoad || !modified) {
    Discard();
    startFailure_.clear();
    textLength_ = static_cast<std::uint64_t>(store.TextOffsetOfRow(store.Count()));
    return;
  }
  if (writer_ || locked_ || !startFailure_.empty()) {
    if (Active()) Record(change);
    else textLength_ = static_cast<std::uint64_t>(store.TextOffsetOfRow(store.Count()));
    return;
  }
  const bool fileBase = !wasModified && !document_.FileName().empty() && document_.Stamp().exists;
  Begin(fileBase);
  if (fileBase) {
    if (Active()) Record(change);
    else textLength_ = static_cast<std::uint64_t>(store.TextOffsetOfRow(store.Count()));
    return;
  }
  // The text before this change is no file's: the journal starts from nothing and first holds
  // the whole text as it is now.
  const std::string text = StoreText(store);
  textLength_ = text.size();
  if (!Active()) return;
  std::string record;
  AppendJournalEdit(record, 0, 0, text);
  writer_->Append(std::move(record));
}

void TDocumentJournal::Record(const TStoreChange& change) {
  TVornEditScreenStrings& store = document_.Store();
  std::string record;
  if (change.WholeStore()) {
    const std::string text = StoreText(store);
    AppendJournalEdit(record, 0, textLength_, text);
    textLength_ = text.size();
  } else if (change.InRow && change.FirstRow < store.Count()) {
    const TStoreChange::TInRowBytes& b = *change.InRow;
    const auto offset = static_cast<std::uint64_t>(store.TextOffsetOfRow(change.FirstRow) + b.Byte);
    const std::string_view row = store.Row(change.FirstRow);
    AppendJournalEdit(record, offset, static_cast<std::uint64_t>(b.Removed),
                      row.substr(static_cast<std::size_t>(b.Byte), static_cast<std::size_t>(b.Inserted)));
    textLength_ = textLength_ - static_cast<std::uint64_t>(b.Removed) + static_cast<std::uint64_t>(b.Inserted);
  } else {
    // The rows after the change are the same bytes as before it, so the removed length is what
    // the new rows hold less what the text grew by.
    const auto offset = static_cast<std::uint64_t>(store.TextOffsetOfRow(change.FirstRow));
    const std::string inserted = store.GetRowsText(change.FirstRow, change.RowsInserted);
    const auto total = static_cast<std::uint64_t>(store.TextOffsetOfRow(store.Count()));
    const std::uint64_t removed = inserted.size() + textLength_ - total;
    AppendJournalEdit(record, offset, removed, inserted);
    textLength_ = total;
  }
  writer_->Append(std::move(record));
}

void TDocumentJournal::Begin(bool fileBase) {
  std::error_code ec;
  std::filesystem::create_directories(folder_, ec);
  ::chmod(folder_.c_str(), 0700);
  const std::string& name = document_.FileName();
  path_ = JournalPathFor(folder_, fileBase ? name : std::string(), untitledId_);
  TJournalHeader header;
  header.Path = name;
  header.UntitledId = untitledId_;
  header.FileBase = fileBase;
  header.BaseTextLength = fileBase ? textLength_ : 0;
  header.CreatedNs = NowNs();
  header.CharCode = static_cast<std::int32_t>(document_.FileSettings().CharCode);
  const TFileStamp stamp = document_.Stamp();
  writer_ = std::make_unique<TJournalWriter>();
  const TJournalWriter::TStart started = writer_->Start(path_, [header, fileBase, stamp]() mutable {
    if (fileBase) {
      header.BaseSize = static_cast<std::uint64_t>(stamp.size);
      const std::optional<std::uint64_t> hash = HashFileIfStamped(header.Path, stamp.size, stamp.seconds,
                                                                  stamp.nanoseconds);
      header.BaseHashKnown = hash.has_value();
      header.BaseHash = hash.value_or(0);
    }
    return EncodeJournalHeader(header);
  });
  if (started == TJournalWriter::jsStarted) return;
  locked_ = started == TJournalWriter::jsLocked;
  if (!locked_) startFailure_ = writer_->FailureText().empty() ? std::string("?") : writer_->FailureText();
  writer_.reset();
  path_.clear();
}

}  // namespace vorn
