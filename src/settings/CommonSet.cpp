// Loading, saving and applying the common settings, with "UsrDir.dat" and the ".skd" lists.
#include "settings/CommonSet.h"

#include "base/Strings.h"
#include "platform/AtomicFile.h"
#include "platform/FileBytes.h"
#include "platform/VornUtil.h"
#include "syntax/KeyWord.h"
#include "settings/CommonIniUpdate.h"
#include "settings/FileSetting.h"
#include "settings/SjisText.h"
#include "layout/WrapOption.h"

#include <filesystem>
#include <system_error>

namespace vorn {

std::string ChangeFileExt(const std::string& path, const std::string& ext) {
  const std::size_t slash = path.rfind('/');
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + ext;
  return path.substr(0, dot) + ext;
}

TCommonValues::TCommonValues()
    : LeadStr(TVornEditWrapOption::DefaultLeadStr()), FollowStr(TVornEditWrapOption::DefaultFollowStr()) {}

TCommonSet::TCommonSet(std::string programFolder, TBregexp* engine)
    : programFolder_(std::move(programFolder)), seikei_(std::make_unique<TVornEditSeikeiOption>(engine)) {}

TCommonSet::TCommonSet(const TCommonSet& o)
    : TCommonValues(o),
      programFolder_(o.programFolder_),
      seikei_(std::make_unique<TVornEditSeikeiOption>(*o.seikei_)),
      stored_(o.stored_ ? std::make_unique<TCommonSet>(*o.stored_) : nullptr) {}

std::string TCommonSet::MacroStoredName(const std::string& fullPath) const {
  std::string name = fullPath;
  if (!programFolder_.empty() && name.compare(0, programFolder_.size(), programFolder_) == 0)
    name = name.substr(programFolder_.size());
  return Sjis(name);
}

std::string TCommonSet::MacroFullPath(const std::string& storedName) const {
  if (storedName.empty()) return {};
  std::string name = Utf8(storedName);
  for (char& c : name)
    if (c == '\\') c = '/';
  if (name[0] == '/') return name;
  return programFolder_ + name;
}

void TCommonSet::ReadUserFolderFile() {
  const std::string path = programFolder_ + "UsrDir.dat";
  if (!IsRegularFile(path)) return;
  TStringList lines;
  lines.LoadFromFile(path);
  if (lines.Count() > 0 && !lines.Get(0).empty()) {
    UserFolderFix = true;
    UserFolderName = lines.Get(0);
  }
}

void TCommonSet::WriteUserFolderFile() const {
  const std::string path = programFolder_ + "UsrDir.dat";
  if (UserFolderFix && !UserFolderName.empty()) {
    WriteFileAtomicallyOrThrow(path, UserFolderName + "\r\n");
  } else {
    std::error_code ec;
    std::filesystem::remove(path, ec);
  }
}

void TCommonSet::ReadSkd(const std::string& path) {
  if (!IsRegularFile(path)) return;
  const TByteBuffer bytes = ReadFileBytes(path);
  TRecordReader in(std::string_view(bytes.Data(), bytes.Size()));
  TKeyWordList comments(seikei_->CommentList().Engine());
  TKeyWordList itemize(seikei_->CommentList().Engine());
  try {
    comments.LoadFromStream(in);
    itemize.LoadFromStream(in);
  } catch (const EVornError&) {
    messages_.push_back(DamagedSettingFileMessage(path));
    return;
  }
  seikei_->SetCommentList(comments);
  seikei_->SetItemizeList(itemize);
}

void TCommonSet::WriteSkd(const std::string& path) const {
  // The lists may hold items of the editor's own class: copy them into keyword lists to write.
  TKeyWordList comments(seikei_->CommentList().Engine());
  TKeyWordList itemize(seikei_->CommentList().Engine());
  comments.Assign(seikei_->CommentList());
  itemize.Assign(seikei_->ItemizeList());
  TRecordWriter out;
  comments.SaveToStream(out);
  itemize.SaveToStream(out);
  WriteFileAtomicallyOrThrow(path, out.Data());
}

bool TCommonSet::SeikeiListsDiffer(const TCommonSet& o) const {
  return !seikei_->CommentList().Equals(o.seikei_->CommentList()) ||
         !seikei_->ItemizeList().Equals(o.seikei_->ItemizeList());
}

void TCommonSet::LoadFrom(const std::string& iniPath) {
  ReadIni(TVornMemInifile(iniPath));
  ReadUserFolderFile();
  ReadSkd(ChangeFileExt(iniPath, ".skd"));
  stored_.reset();
  stored_ = std::make_unique<TCommonSet>(*this);
}

void TCommonSet::SaveTo(const std::string& iniPath) {
  const bool userFolderChanged =
      !stored_ || stored_->UserFolderFix != UserFolderFix || stored_->UserFolderName != UserFolderName;
  if (userFolderChanged) WriteUserFolderFile();
  UpdateSharedIni(iniPath, [this](TCustomIniFile& ini) { WriteChanges(ini); });
  const std::string skd = ChangeFileExt(iniPath, ".skd");
  if (!stored_ || SeikeiListsDiffer(*stored_) || !IsRegularFile(skd)) WriteSkd(skd);
  stored_.reset();
  stored_ = std::make_unique<TCommonSet>(*this);
}

std::vector<std::string> TCommonSet::TakeMessages() {
  std::vector<std::string> out;
  out.swap(messages_);
  return out;
}

}  // namespace vorn
