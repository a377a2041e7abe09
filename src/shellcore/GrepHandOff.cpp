// Writing and reading the grep hand-off file.
#include "shellcore/GrepHandOff.h"

#include "base/VornError.h"
#include "platform/AtomicFile.h"
#include "platform/FileBytes.h"
#include "syntax/KeyWord.h"

#include <algorithm>

namespace vorn {
namespace {

std::string PathIn(const std::string& folder) {
  return folder + (folder.empty() || folder.back() == '/' ? "" : "/") + kGrepHandOffFileName;
}

}  // namespace

std::string WriteGrepHandOff(const std::string& userFolder, const TGrepKeyWord& request) {
  TRecordWriter out;
  request.SaveToStream(out);
  return WriteFileAtomically(PathIn(userFolder), out.Data());
}

bool ReadGrepHandOff(const std::string& userFolder, TGrepKeyWord& request, std::string& reason) {
  try {
    const TByteBuffer bytes = ReadFileBytes(PathIn(userFolder));
    const std::string data(bytes.Data(), bytes.Size());
    TRecordReader in(data);
    TGrepKeyWord read(nullptr);
    read.LoadFromStream(in);
    request.Assign(read);
    return true;
  } catch (const std::exception& e) {
    reason = e.what();
    return false;
  }
}

std::int64_t HandOffWindow(const std::vector<TBusPeer>& all, pid_t pid, std::int64_t ownMain,
                           const std::vector<std::int64_t>& known) {
  for (const TBusPeer& peer : OtherMainEditors(all, ownMain))
    if (peer.pid == pid && std::find(known.begin(), known.end(), peer.id) == known.end()) return peer.id;
  return 0;
}

}  // namespace vorn
