// Writing a selection to a file: encode, count what the code cannot hold, replace or append.
#include "shellcore/SaveSelection.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "document/DocumentWrite.h"
#include "platform/AtomicFile.h"
#include "platform/VornUtil.h"
#include "textfile/StreamWriter.h"

namespace vorn {

namespace {

// Appends all bytes or none: a failed append is cut back to the file's previous length.
std::string AppendBytes(const std::string& name, std::string_view bytes) {
  const int fd = ::open(name.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  struct stat st {};
  std::string error;
  if (::fstat(fd, &st) != 0) error = std::strerror(errno);
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (error.empty() && left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = std::strerror(errno);
    else p += n, left -= static_cast<std::size_t>(n);
  }
  if (error.empty() && ::fsync(fd) != 0) error = std::strerror(errno);
  if (!error.empty() && ::ftruncate(fd, st.st_size) != 0) {
    // The reason of the write is the one to report.
  }
  ::close(fd);
  return error;
}

bool IsNonEmptyFile(const std::string& name) {
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0 && st.st_size > 0;
}

// A signature belongs at the start of a file; in the middle it would read as a stray character.
void DropSignature(std::string& bytes, TCharCodeKind code) {
  std::string_view signature;
  if (code == ckUtf8) signature = "\xEF\xBB\xBF";
  if (code == ckUnicodeLE) signature = "\xFF\xFE";
  if (code == ckUnicodeBE) signature = "\xFE\xFF";
  if (!signature.empty() && std::string_view(bytes).substr(0, signature.size()) == signature)
    bytes.erase(0, signature.size());
}

}  // namespace

bool WriteSelectionToFile(std::string_view text, const TSelectionTarget& target, TDocumentPrompts& prompts) {
  if (FileIsReadOnly(target.name)) {
    prompts.Warn(ReadOnlyTargetMessage());
    return false;
  }
  const bool append = target.append && IsNonEmptyFile(target.name);
  std::string bytes;
  TTextStreamWriter writer(target.lineBreak, target.code, [&bytes](std::string_view piece) {
    bytes.append(piece);
    return std::string();
  });
  writer.Write(text);
  writer.Finish();
  if (writer.Lost() > 0 && !prompts.ConfirmOkCancel(UnencodableQuestion(target.code, writer.Lost()))) return false;
  if (append) DropSignature(bytes, target.code);
  const std::string error = append ? AppendBytes(target.name, bytes) : WriteFileAtomically(target.name, bytes);
  if (!error.empty()) {
    prompts.Error(SaveErrorMessage("ファイル \"" + target.name + "\" " + error));
    return false;
  }
  return true;
}

}  // namespace vorn
