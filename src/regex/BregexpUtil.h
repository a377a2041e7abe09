// BregexpUtil: the process-wide binding to libVornRegexp.so and the pattern object every search uses.
//
// Errors, regex: loading the module raises ELibraryLoadError inside this layer only;
// LoadRegexpBinding returns the message instead, and without a module every pattern answers
// "no match". A pattern the module refuses gives its message as a result, never an exception.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "base/NotifyPersistent.h"
#include "regexp/VornRegexpApi.h"

namespace vorn {

// Raised by TBregexp's constructor; the message is Shift_JIS text.
class ELibraryLoadError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The loaded module: its handle and six entry points. One per process (see RegexpBinding).
class TBregexp {
public:
  // An empty name means libVornRegexp.so beside the executable. Raises ELibraryLoadError.
  explicit TBregexp(const std::string& libraryName = "");
  ~TBregexp();
  TBregexp(const TBregexp&) = delete;
  TBregexp& operator=(const TBregexp&) = delete;

  bool Loaded() const { return loaded_; }

  TBMatchFunc BMatch = nullptr;
  TBSubstFunc BSubst = nullptr;
  TBTransFunc BTrans = nullptr;
  TBSplitFunc BSplit = nullptr;
  TBRegfreeFunc BRegfree = nullptr;
  TBRegexpVersionFunc BRegexpVersion = nullptr;

  // Where an empty library name looks: the executable's folder + "/libVornRegexp.so".
  static std::string DefaultLibraryPath();

private:
  void* handle_ = nullptr;
  bool loaded_ = false;
};

// Shift_JIS texts of the load failures.
extern const char* const kRegexpLoadError;        // the module could not be loaded
extern const char* const kRegexpExportError;      // an entry point is missing
extern const char* const kRegexpStartupMessage;   // what the shell shows once at start-up

// Loads the process-wide binding. Returns "" on success, else the start-up message (Shift_JIS)
// that the shell shows once; the process then runs on with RegexpBinding() == nullptr.
std::string LoadRegexpBinding(const std::string& libraryName = "");
// The process-wide binding, or nullptr when it is not loaded.
TBregexp* RegexpBinding();
// Unloads it (at shutdown, or in tests); pattern objects must be gone or Reset first.
void FreeRegexpBinding();

// Position and length of one group, in bytes from the start of the searched text or range.
class TMatchParam {
public:
  TMatchParam() = default;
  TMatchParam(int position, int length) : position_(position), length_(length) {}
  int Position() const { return position_; }
  void SetPosition(int v) { position_ = v; }
  int Length() const { return length_; }
  void SetLength(int v) { length_ = v; }
  void Assign(const TMatchParam& source) { *this = source; }

private:
  int position_ = 0;
  int length_ = 0;
};

// The groups of the last library match: line i is the text of group i (0 = whole match).
class TMatchStrings {
public:
  int Count() const { return static_cast<int>(items_.size()); }
  // Raise std::out_of_range for an index outside 0..Count-1.
  const std::string& Strings(int index) const;
  const TMatchParam& Objects(int index) const;
  int Positions(int index) const { return Objects(index).Position(); }
  int Lengths(int index) const { return Objects(index).Length(); }

  void AddMatch(std::string text, int position, int length);
  void Clear() { items_.clear(); }
  void AddStrings(const TMatchStrings& source);
  void Assign(const TMatchStrings& source);

private:
  // Each line owns its TMatchParam by value: a search fills these for every match, so no
  // allocation per group beyond the text.
  struct TItem {
    std::string text;
    TMatchParam param;
  };
  std::vector<TItem> items_;
};

// The progress handler of ReplaceIn: (kind, count, position) -> 0 to stop. Position is where
// the search stands in the text; when the handler stops, the text from there on is in the result
// as it was.
using TReplaceProgressEvent = std::function<int(int kind, int count, int position)>;
// One substitution as it is made: its match's bytes in the text (offsets from the text's start),
// the length of the output up to and with its replacement, and how many were made with it.
struct TSubstitution {
  int Start = 0;
  int End = 0;
  std::size_t OutputEnd = 0;
  int Count = 0;
};
// Told of every substitution of a replace all, in order, with the output so far (its first
// OutputEnd bytes, final; the view lasts only for the call). A library that does not say which it
// made tells nothing: the count the progress handler gets then runs ahead of what was told.
using TSubstitutionEvent = std::function<void(const TSubstitution&, std::string_view output)>;

// A pattern plus its options, compiled once for the library, with a built-in literal scanner.
class TBregexpObj : public TNotifyPersistent {
public:
  explicit TBregexpObj(TBregexp* engine = RegexpBinding());
  ~TBregexpObj() override;
  TBregexpObj(const TBregexpObj&) = delete;
  TBregexpObj& operator=(const TBregexpObj&) = delete;

  // Copies the pattern and options (not UpperTarget), then Changed, then Reset.
  virtual void Assign(const TBregexpObj& source);
  virtual bool SameAs(const TBregexpObj& other) const;

  TBregexp* Engine() const { return engine_; }
  const std::string& Pattern() const { return pattern_; }
  virtual void SetPattern(const std::string& value);
  const std::string& ReplaceText() const { return replaceText_; }
  virtual void SetReplaceText(const std::string& value);
  bool WholeWord() const { return wholeWord_; }
  void SetWholeWord(bool value);
  bool IgnoreCase() const { return ignoreCase_; }
  void SetIgnoreCase(bool value);
  bool PlainText() const { return plainText_; }
  void SetPlainText(bool value);
  bool Fuzzy() const { return fuzzy_; }
  void SetFuzzy(bool value);
  bool GlobalReplace() const { return globalReplace_; }
  void SetGlobalReplace(bool value);
  bool ReplaceMode() const { return replaceMode_; }
  void SetReplaceMode(bool value) { replaceMode_ = value; }
  bool UpperTarget() const { return upperTarget_; }
  void SetUpperTarget(bool value) { upperTarget_ = value; }

  bool Compiled() const { return compiled_; }
  bool CompileFailed() const { return compileFailed_; }
  const std::string& ErrorMessage() const { return errorMessage_; }
  int LineBreakCount();
  bool SimpleSearch() const { return simpleSearch_; }
  const std::string& UpperPattern() const { return upperPattern_; }
  const std::string& MatchCommand() const { return matchCommand_; }
  const std::string& SubstCommand() const { return substCommand_; }
  const TMatchStrings& Matches() const { return matches_; }
  TMatchStrings& Matches() { return matches_; }
  const TResultRecord* MatchRecord() const { return matchRecord_; }
  const TResultRecord* SubstRecord() const { return substRecord_; }

  void Reset();
  virtual bool Compile();
  // Searches s from byte offset pos; on success pos and len give the match.
  virtual bool FindIn(const std::string& s, int& pos, int& len);
  // The same on [start, end); pos is relative to start.
  virtual bool FindInBuffer(const char* start, const char* end, int& len, int& pos);
  // True only for a match that begins exactly at pos.
  virtual bool MatchAt(const std::string& s, int pos, int& len);
  virtual bool MatchAtBuffer(const char* start, const char* end, int& len, int pos);
  // Substitutes from pos on; s becomes the text from pos on with the substitutions. Returns the
  // number made (> 0), else 0 or less with s unchanged.
  virtual int ReplaceIn(std::string& s, int pos, TReplaceProgressEvent onProgress = nullptr,
                        TSubstitutionEvent onSubstitution = nullptr);
  virtual void BuildCommand(bool forSubst);

  // Word boundary for the built-in scanner on [base, base + length): the ends of the range and
  // line breaks are boundaries; a byte of a double-byte character is never a word byte.
  static bool IsWordBoundary(const char* base, int offset, int length);

protected:
  // Escapes the members of set with a backslash when PlainText; otherwise returns text as it is.
  std::string EscapeText(const std::string& text, const std::string& set) const;
  bool Usable() const { return engine_ && engine_->Loaded(); }

  std::string matchCommand_;

private:
  bool Search(const char* base, const char* end, int& pos, int& len, bool anchored);
  bool SimpleFind(const char* base, int length, int& pos, int& len) const;
  bool SimpleMatchAt(const char* base, int length, int pos, int& len) const;
  bool SameAtFolded(const char* p, const char* end) const;
  void SetOption(bool& field, bool value);

  TResultRecord* matchRecord_ = nullptr;
  TResultRecord* substRecord_ = nullptr;
  TBregexp* engine_ = nullptr;
  std::string pattern_;
  bool compiled_ = false;
  std::string errorMessage_;
  bool wholeWord_ = false;
  bool ignoreCase_ = false;
  bool plainText_ = false;
  bool fuzzy_ = false;
  std::string replaceText_;
  bool globalReplace_ = false;
  int lineBreakCount_ = 0;
  bool replaceMode_ = false;
  bool compileFailed_ = false;
  TMatchStrings matches_;
  bool simpleSearch_ = false;
  std::string upperPattern_;
  bool upperTarget_ = false;
  std::string substCommand_;
};

// The right-hand pattern of a bracket pair: "$n" / "$rn" refer to the groups held in Matches.
class TBackRefRegObj : public TBregexpObj {
public:
  using TBregexpObj::TBregexpObj;
  bool HasBackRef();
  void BuildCommand(bool forSubst) override;

private:
  bool hasBackRef_ = false;
};

}  // namespace vorn
