// Loading, saving and editing the list of file types and choosing a type for a file name.
#include "settings/TypeList.h"
#include "base/TextUtil.h"

#include "base/Strings.h"
#include "platform/VornUtil.h"
#include "base/sjis.h"
#include "platform/AtomicFile.h"
#include "platform/FileBytes.h"
#include "settings/CommonIniUpdate.h"
#include "settings/SjisText.h"

#include <algorithm>

namespace vorn {

const std::string& MissingSettingTxtMessage() {
  static const std::string message =
      "Settingフォルダがないか、Setting.txtが見つかりません。VornEditorの初回起動時にはSettingフォルダと、"
      "その中に設定ファイル群、Setting.txtというファイルが必要です。アーカイブからSettingフォルダをコピーして、"
      "その後、ユーザーフォルダを削除して再起動することをお勧めします。\r\n"
      "いったんファイルタイプ別設定を開き、OKボタンを押せば、このメッセージはそれ以降表示されません";
  return message;
}

namespace {

std::string TypeSection(int index) { return "Type" + std::to_string(index); }

}  // namespace

TTypeList::TTypeList(TSettingFolders folders, TBregexp* engine) : folders_(std::move(folders)), engine_(engine) {
  EnsureFixedTypes();
}

int TTypeList::IndexOf(const TFileSetting& type) const {
  for (int i = 0; i < Count(); ++i)
    if (items_[static_cast<std::size_t>(i)].get() == &type) return i;
  return -1;
}

std::unique_ptr<TFileSetting> TTypeList::NewType() const {
  auto type = std::make_unique<TFileSetting>(const_cast<TTypeList*>(this), engine_);
  type->Font = defaultFont_;
  return type;
}

std::string TTypeList::TypeIniPath(int index) const {
  return folders_.User + "FSet" + std::to_string(index) + ".ini";
}

void TTypeList::ReadFbd(TFileSetting& type) {
  const std::string fbd = type.FbdFileName();
  if (!IsRegularFile(fbd)) return;
  const TByteBuffer bytes = ReadFileBytes(fbd);
  const std::string message = type.LoadFbdBytes(std::string_view(bytes.Data(), bytes.Size()), fbd);
  if (!message.empty()) messages_.push_back(message);
}

std::unique_ptr<TFileSetting> TTypeList::LoadTypeFile(const std::string& iniPath) {
  auto type = NewType();
  type->SetIniFileName(iniPath);
  const TVornMemInifile ini(iniPath);
  type->LoadFromIni(ini, true);
  ReadFbd(*type);
  type->SetLoaded(true);
  return type;
}

void TTypeList::EnsureLoaded(TFileSetting& type) {
  if (type.Loaded()) return;
  if (!type.IniFileName().empty()) {
    const TVornMemInifile ini(type.IniFileName());
    type.LoadFromIni(ini, version_ <= 145);
    ReadFbd(type);
  }
  type.SetLoaded(true);
}

void TTypeList::LoadAll() {
  for (auto& type : items_) EnsureLoaded(*type);
}

void TTypeList::LoadIndex(const TCustomIniFile& commonIni) {
  version_ = commonIni.ReadInteger("Type", "Version", MissingVersion);
  const int count = commonIni.ReadInteger("Type", "Count", 0);
  // A count larger than what is stored (a damaged or hand-edited file) ends at the first gap.
  for (int i = 0; i < count; ++i) {
    auto type = NewType();
    type->SetIniFileName(TypeIniPath(i));
    if (version_ > 145) {
      if (!commonIni.SectionExists(TypeSection(i))) break;
      type->LoadGeneral(commonIni, TypeSection(i));
    } else {
      if (!IsRegularFile(type->IniFileName())) break;
      type->LoadGeneral(TVornMemInifile(type->IniFileName()), "General");
    }
    items_.push_back(std::move(type));
  }
}

bool TTypeList::ImportTemplates() {
  const std::string list = folders_.Setting + "Setting.txt";
  if (!IsRegularFile(list)) {
    messages_.push_back(MissingSettingTxtMessage());
    return false;
  }
  TStringList names;
  names.LoadFromFile(list);
  for (const std::string& line : names.Items()) {
    const std::string name = TrimBlanks(line, true, false);
    if (name.empty() || name[0] == '#') continue;
    const std::string path = folders_.Setting + Utf8(name) + ".ini";
    if (!IsRegularFile(path)) continue;
    items_.push_back(LoadTypeFile(path));
  }
  return true;
}

void TTypeList::EnsureFixedTypes() {
  if (items_.empty() || items_[0]->Name != CommonTypeName()) {
    const std::string std = folders_.Setting + "Std.ini";
    auto common = IsRegularFile(std) ? LoadTypeFile(std) : NewType();
    common->Name = CommonTypeName();
    common->SetLoaded(true);
    items_.insert(items_.begin(), std::move(common));
  }
  if (!FindGrep()) {
    const std::string grep = folders_.Setting + "GREP.ini";
    auto type = IsRegularFile(grep) ? LoadTypeFile(grep) : NewType();
    type->Name = GrepTypeName();
    type->SetLoaded(true);
    items_.push_back(std::move(type));
  }
}

// Windows keep choosing types from the list while it loads again, so a file that cannot be
// read leaves the list as it was rather than empty.
void TTypeList::Load() {
  std::vector<std::unique_ptr<TFileSetting>> previous = std::move(items_);
  const int previousVersion = version_;
  items_.clear();
  bool imported = false;
  try {
    LoadIndex(TVornMemInifile(CommonIniPath()));
    imported = items_.empty() && ImportTemplates();
    EnsureFixedTypes();
  } catch (...) {
    items_ = std::move(previous);
    version_ = previousVersion;
    throw;
  }
  // The templates were read from the program's folder: copy them to the user's before use, so
  // later starts find them there. Without templates nothing is written and the message stays;
  // a user folder that cannot take them still leaves them in use for this process.
  if (imported) Save();
}

TFileSetting& TTypeList::FindByFileName(const std::string& fileName) const {
  const TFileNameKey key(Sjis(fileName));
  for (std::size_t i = 1; i < items_.size(); ++i)
    if (items_[i]->Claims(key)) return *items_[i];
  return *items_[0];
}

TFileSetting* TTypeList::FindGrep() const {
  for (const auto& type : items_)
    if (type->Name == GrepTypeName()) return type.get();
  return nullptr;
}

void TTypeList::AssociateExtension(const std::string& fileName, TFileSetting& chosen) {
  const std::string sjisName = Sjis(fileName);
  const std::string ext = sjis::UpperAscii(ExtractFileExt(sjisName));
  if (ext.empty()) return;
  for (std::size_t i = 1; i < items_.size(); ++i) items_[i]->RemoveExtension(ext);
  if (&FindByFileName(fileName) != &chosen && &chosen != items_[0].get()) chosen.AddExtensionOf(sjisName);
}

TFileSetting& TTypeList::Add() {
  items_.push_back(NewType());
  items_.back()->SetLoaded(true);
  return *items_.back();
}

TFileSetting& TTypeList::Insert(int index) {
  LoadAll();
  const int at = std::clamp(index, 1, Count());
  auto type = NewType();
  type->SetLoaded(true);
  return **items_.insert(items_.begin() + at, std::move(type));
}

bool TTypeList::Remove(int index) {
  if (index <= 0 || index >= Count()) return false;
  LoadAll();
  items_.erase(items_.begin() + index);
  return true;
}

bool TTypeList::Move(int from, int to) {
  if (from <= 0 || to <= 0 || from >= Count() || to >= Count()) return false;
  LoadAll();
  auto type = std::move(items_[static_cast<std::size_t>(from)]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(type));
  return true;
}

std::vector<std::string> TTypeList::TakeMessages() {
  std::vector<std::string> out;
  out.swap(messages_);
  return out;
}

}  // namespace vorn
