// TTypeList: the ordered file types, their index in "Common.ini", their FSet files and the
// first-run import of the shipped templates.
#pragma once

#include "settings/FileSetting.h"

#include <memory>
#include <string>
#include <vector>

namespace vorn {

// Native folder paths, each with a trailing "/".
struct TSettingFolders {
  std::string User;     // live settings: Common.ini, FSet<n>.ini/.fbd
  std::string Setting;  // shipped templates and exported types
};

// The message shown on a first start without "Setting.txt".
const std::string& MissingSettingTxtMessage();

class TTypeList {
public:
  static constexpr int MissingVersion = 100;
  static constexpr int CurrentVersion = 146;

  // Starts with the two types that always exist, "共通" and "GREP", at their defaults.
  explicit TTypeList(TSettingFolders folders, TBregexp* engine = RegexpBinding());

  const TSettingFolders& Folders() const { return folders_; }
  std::string CommonIniPath() const { return folders_.User + "Common.ini"; }
  int Version() const { return version_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TFileSetting& Items(int i) const { return *items_.at(static_cast<std::size_t>(i)); }
  int IndexOf(const TFileSetting& type) const;

  // The font that types created from now on start with (the window's editor font).
  void SetDefaultFont(const TFontSpec& font) { defaultFont_ = font; }

  // Reads the index from Common.ini; on a first start imports the "Setting" templates and
  // writes the result. Messages for the user collect in TakeMessages.
  void Load();
  // Writes every type to its FSet files and the index to Common.ini under the shared lock.
  void Save();
  // The same with a Common.ini the caller writes back.
  void SaveIndex(TCustomIniFile& commonIni);

  // Reads the type's own files unless it has been read already.
  void EnsureLoaded(TFileSetting& type);
  void LoadAll();

  // The first type from index 1 on that claims the file; "共通" when none does.
  TFileSetting& FindByFileName(const std::string& fileName) const;
  TFileSetting* FindGrep() const;

  // The dialog's OK for the open document: its extension leaves every type but "共通", and
  // goes to the chosen type when the lists alone would now give the document another type.
  void AssociateExtension(const std::string& fileName, TFileSetting& chosen);

  TFileSetting& Add();
  TFileSetting& Insert(int index);
  // Types are numbered by position: both load every type first, so no type is left to read
  // the files of another position later. Index 0 ("共通") cannot be removed or moved.
  bool Remove(int index);
  bool Move(int from, int to);

  // Writes the type to "Setting/<name>.ini" and ".fbd" ("Std" for "共通"); returns the ini path.
  std::string Export(int index);
  // Adds a type read completely from an ini file (and its ".fbd"), renamed "<name>(n)" when
  // the name is taken; returns its index.
  int Import(const std::string& iniPath);

  std::vector<std::string> TakeMessages();

private:
  std::unique_ptr<TFileSetting> NewType() const;
  std::unique_ptr<TFileSetting> LoadTypeFile(const std::string& iniPath);
  void ReadFbd(TFileSetting& type);
  void LoadIndex(const TCustomIniFile& commonIni);
  bool ImportTemplates();
  void EnsureFixedTypes();
  void WriteTypeFiles();
  void DeleteStaleTypeFiles() const;
  std::string TypeIniPath(int index) const;
  std::string UniqueName(const std::string& name) const;

  TSettingFolders folders_;
  TBregexp* engine_;
  TFontSpec defaultFont_ = DefaultEditorFont();
  int version_ = MissingVersion;
  std::vector<std::unique_ptr<TFileSetting>> items_;
  std::vector<std::string> messages_;
};

}  // namespace vorn
