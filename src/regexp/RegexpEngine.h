// Inside libVornRegexp.so: the compiled record behind TResultRecord and the helpers its parts share.
#pragma once

#include <oniguruma.h>

#include <string>
#include <vector>

#include "regexp/VornRegexpApi.h"

namespace vorn::regexp {

// One piece of a parsed replacement: literal text, or the text of a group when group >= 0.
struct TReplacePart {
  int group = -1;
  std::string literal;
};

// What the command text says, split into its parts.
struct TCommand {
  char kind = 0;  // 'm', 's' or 't'
  std::string pattern;
  std::string replacement;
  bool global = false;
  bool multiline = false;
  bool sjis = false;
};

// The library-private side of a result record; TResultRecord::reserved[0] points here.
struct TRecordImpl {
  TResultRecord pub{};
  std::string command;  // exact command text the record was compiled from
  TCommand parsed;
  OnigRegex regex = nullptr;
  OnigRegion* region = nullptr;
  OnigMatchParam* matchParam = nullptr;
  std::vector<TReplacePart> replacement;
  std::vector<char*> starts;
  std::vector<char*> ends;
  std::string output;
  std::vector<unsigned> transFrom;  // BTrans: character codes, parallel to transTo
  std::vector<unsigned> transTo;

  TRecordImpl() { pub.reserved[0] = this; }
  ~TRecordImpl();
  TRecordImpl(const TRecordImpl&) = delete;
  TRecordImpl& operator=(const TRecordImpl&) = delete;
};

inline TRecordImpl* Impl(TResultRecord* record) { return static_cast<TRecordImpl*>(record->reserved[0]); }

// Copies text into the caller's message buffer, cut to fit on a character boundary.
void SetMessage(char* message, const std::string& text);

// Splits "x" 0x01 ... 0x01 options into its parts; false (with a message) when malformed.
bool ParseCommand(const char* command, TCommand& out, char* message);

// Parses Perl-style replacement text ($1, ${10}, $&, \1, \n, \t, \xHH, \\ ...).
std::vector<TReplacePart> ParseReplacement(const std::string& text, bool sjis);

// Appends the replacement for the current match in region to out.
void AppendReplacement(std::string& out, const std::vector<TReplacePart>& parts, const OnigRegion* region,
                       const char* targetBegin);

// The first character boundary at or after p, scanning Shift_JIS from begin.
const char* AlignToCharBoundary(const char* begin, const char* p);

// BTrans: parses the two character lists of a translation command into the record.
bool PrepareTranslation(TRecordImpl& record, char* message);
int Translate(TRecordImpl& record, const char* begin, const char* end);

}  // namespace vorn::regexp
