// A file type's extension list, its ".fbd" lists, and copies of a type.
#include "settings/FileSetting.h"

#include "base/sjis.h"
#include "settings/FbdColors.h"
#include "settings/SjisText.h"

namespace vorn {

std::string DamagedSettingFileMessage(const std::string& fileName) {
  return "設定ファイル \"" + fileName + "\" は壊れているため一部を読めませんでした。読めなかった設定には既定値を使います。";
}

TFileSetting::TFileSetting(TTypeList* owner, TBregexp* engine)
    : owner_(owner),
      keywords_(std::make_unique<TKeyWordList>(engine)),
      commenter_(std::make_unique<TKeyWord>(engine)),
      brackets_(std::make_unique<TBracketList>(engine)) {
  commenter_->SetPlainText(true);
}

void TFileSetting::SetExtensions(std::vector<std::string> entries) {
  extensions_ = std::move(entries);
  masks_.clear();
  masks_.reserve(extensions_.size());
  for (const std::string& e : extensions_) masks_.emplace_back(e);
}

void TFileSetting::AddExtension(const std::string& entry) {
  extensions_.push_back(entry);
  masks_.emplace_back(entry);
}

bool TFileSetting::RemoveExtension(const std::string& entry) {
  std::vector<std::string> kept;
  for (const std::string& e : extensions_)
    if (!sjis::SameTextI(e, entry)) kept.push_back(e);
  if (kept.size() == extensions_.size()) return false;
  SetExtensions(std::move(kept));
  return true;
}

void TFileSetting::AddExtensionOf(const std::string& sjisFileName) {
  const std::string ext = sjis::UpperAscii(ExtractFileExt(sjisFileName));
  if (ext.empty()) return;
  for (const std::string& e : extensions_)
    if (sjis::SameTextI(e, ext)) return;
  AddExtension(ext);
}

bool TFileSetting::Claims(const TFileNameKey& key) const {
  for (const TFileMaskEntry& m : masks_)
    if (m.Matches(key)) return true;
  return false;
}

std::string TFileSetting::FbdFileName() const {
  const std::string& ini = iniFileName_;
  const std::size_t slash = ini.rfind('/');
  const std::size_t dot = ini.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return ini + ".fbd";
  return ini.substr(0, dot) + ".fbd";
}

std::string TFileSetting::LoadFbdBytes(std::string_view bytes, const std::string& fileNameForMessage) {
  // Each list is read aside and taken only when it was read whole; the lists after a damaged
  // one cannot be found and keep their defaults too.
  TRecordReader in(bytes);
  TKeyWordList keywords(keywords_->Engine());
  TBracketList brackets(keywords_->Engine());
  TVornEditColors colors;
  keywords_->Clear();
  brackets_->Clear();
  try {
    if (in.AtEnd()) return {};
    keywords.LoadFromStream(in);
    keywords_->Assign(keywords);
    LoadColorList(colors, in);
    colors_.Assign(colors);
    if (in.AtEnd()) return {};
    brackets.LoadFromStream(in);
    brackets_->Assign(brackets);
  } catch (const EVornError&) {
    return DamagedSettingFileMessage(fileNameForMessage);
  }
  return {};
}

std::string TFileSetting::SaveFbdBytes() const {
  TRecordWriter out;
  keywords_->SaveToStream(out);
  SaveColorList(colors_, out);
  brackets_->SaveToStream(out);
  return out.Data();
}

void TFileSetting::Assign(const TFileSetting& src) {
  if (&src == this) return;
  static_cast<TFileTypeValues&>(*this) = src;
  SetExtensions(src.extensions_);
  colors_.Assign(src.colors_);
  keywords_->Assign(*src.keywords_);
  commenter_->Assign(*src.commenter_);
  brackets_->Assign(*src.brackets_);
}

std::unique_ptr<TFileSetting> TFileSetting::Clone() const {
  auto copy = std::make_unique<TFileSetting>(owner_, keywords_->Engine());
  copy->Assign(*this);
  copy->Name = UnnamedTypeName();
  copy->SetExtensions({});
  copy->SetLoaded(true);
  return copy;
}

}  // namespace vorn
