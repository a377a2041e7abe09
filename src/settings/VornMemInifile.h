// TVornMemInifile: the one ini-file class; loads a whole Shift_JIS ini file, edits it in memory
// and writes it back only on UpdateFile. TCustomIniFile is the interface with the typed helpers.
//
// Errors, settings: files that cannot be read or written raise EFileOpenError /
// EFileCreateError with the user's message (after the retries a shared file gets); a damaged
// part of a file that was read leaves the defaults and a message in the object's TakeMessages.
#pragma once

#include <chrono>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/Strings.h"
#include "base/VornError.h"

namespace vorn {

// Days since 1899-12-30, the fraction being the time of day.
using TDateTime = double;

// The abstract ini file: section and key operations are the implementation's; the typed readers
// and writers are built on ReadString/WriteString. Section and key names and values are
// Shift_JIS text; the file name is a native path.
class TCustomIniFile {
public:
  using TNameList = std::vector<std::string>;

  explicit TCustomIniFile(std::string fileName) : fileName_(std::move(fileName)) {}
  virtual ~TCustomIniFile() = default;
  TCustomIniFile(const TCustomIniFile&) = delete;
  TCustomIniFile& operator=(const TCustomIniFile&) = delete;

  const std::string& FileName() const { return fileName_; }

  virtual std::string ReadString(std::string_view section, std::string_view name, std::string_view def) const = 0;
  virtual void WriteString(std::string_view section, std::string_view name, std::string_view value) = 0;

  // Decimal; "0x"/"$" hexadecimal is accepted on reading; anything else gives def.
  int ReadInteger(std::string_view section, std::string_view name, int def) const;
  void WriteInteger(std::string_view section, std::string_view name, int value);
  // Written as "1"/"0"; any non-zero number reads as true.
  bool ReadBool(std::string_view section, std::string_view name, bool def) const;
  void WriteBool(std::string_view section, std::string_view name, bool value);
  // Bytes as two upper-case hex digits each; returns false (and leaves bytes) when absent or bad.
  bool ReadBinaryStream(std::string_view section, std::string_view name, std::string& bytes) const;
  void WriteBinaryStream(std::string_view section, std::string_view name, std::string_view bytes);
  // Text forms "2006/02/03", "13:05:09", "2006/02/03 13:05:09" and the shortest round-trip float.
  TDateTime ReadDate(std::string_view section, std::string_view name, TDateTime def) const;
  TDateTime ReadDateTime(std::string_view section, std::string_view name, TDateTime def) const;
  double ReadFloat(std::string_view section, std::string_view name, double def) const;
  TDateTime ReadTime(std::string_view section, std::string_view name, TDateTime def) const;
  void WriteDate(std::string_view section, std::string_view name, TDateTime value);
  void WriteDateTime(std::string_view section, std::string_view name, TDateTime value);
  void WriteFloat(std::string_view section, std::string_view name, double value);
  void WriteTime(std::string_view section, std::string_view name, TDateTime value);

  // The names of the section's lines (the text before the first "="; a line without "=" has
  // no name and is left out), its section names in order, and its lines as they are.
  virtual void ReadSection(std::string_view section, TNameList& strings) const = 0;
  virtual void ReadSections(TNameList& strings) const = 0;
  virtual void ReadSectionValues(std::string_view section, TNameList& strings) const = 0;
  // The same into a string list of the class library (cleared first).
  void ReadSection(std::string_view section, TStrings& strings) const;
  void ReadSections(TStrings& strings) const;
  void ReadSectionValues(std::string_view section, TStrings& strings) const;
  virtual void EraseSection(std::string_view section) = 0;
  virtual void DeleteKey(std::string_view section, std::string_view name) = 0;
  virtual void UpdateFile() = 0;

  // A section counts as existing when it holds at least one named line.
  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view name) const;

private:
  std::string fileName_;
};

// How often and how long loading retries a file that another process holds.
struct TIniLoadRetry {
  int attempts = 51;
  std::chrono::milliseconds delay{100};
};

class TVornMemInifile : public TCustomIniFile {
public:
  // Loads fileName; an empty name or a missing file gives an empty object. Throws EFileOpenError
  // when the file exists but stays unreadable or locked through every attempt.
  explicit TVornMemInifile(std::string fileName, TIniLoadRetry retry = {});

  using TCustomIniFile::ReadSection;
  using TCustomIniFile::ReadSections;
  using TCustomIniFile::ReadSectionValues;

  std::string ReadString(std::string_view section, std::string_view name, std::string_view def) const override;
  void WriteString(std::string_view section, std::string_view name, std::string_view value) override;
  void ReadSection(std::string_view section, TNameList& strings) const override;
  void ReadSections(TNameList& strings) const override;
  void ReadSectionValues(std::string_view section, TNameList& strings) const override;
  void EraseSection(std::string_view section) override;
  void DeleteKey(std::string_view section, std::string_view name) override;
  // Replaces the file as a whole (temporary file and rename), so that a failed write leaves
  // the old file intact and readers never see half a file. Raises EFileCreateError.
  void UpdateFile() override;

  // The content as the loader reads it and UpdateFile writes it.
  void SetText(std::string_view bytes);
  std::string GetText() const;

private:
  struct TSection {
    std::string name;
    std::vector<std::string> lines;
  };

  const TSection* FindSection(std::string_view section) const;
  TSection* FindSection(std::string_view section);
  void Load(const TIniLoadRetry& retry);

  std::vector<TSection> sections_;
};

}  // namespace vorn
