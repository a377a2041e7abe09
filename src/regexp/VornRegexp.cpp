// libVornRegexp.so entry points: compile commands into records, match and substitute with Oniguruma.
#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>

#include "base/ByteBuffer.h"
#include "base/sjis.h"
#include "regexp/RegexpEngine.h"

#define VORN_EXPORT extern "C" __attribute__((visibility("default")))

namespace vorn::regexp {
namespace {

using UChar = OnigUChar;

// Every pattern is a user's pattern: backtracking is capped so that nothing hangs. The search
// budget grows with the text so that ordinary searches over large documents never hit it.
constexpr unsigned long kRetryLimitInMatch = 1000000;
constexpr unsigned long kRetryBaseInSearch = 4000000;
constexpr unsigned long kRetryPerByteInSearch = 16;
// A substitution with a handler searches at most this far for the next match before it calls
// it, so that a stop is heard however rare the matches are and whether or not the caller cut
// the text into pieces.
constexpr std::ptrdiff_t kProgressWindowBytes = std::ptrdiff_t{1} << 20;

bool initialized = false;

void InitOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    initialized = true;
    OnigEncoding encodings[] = {ONIG_ENCODING_SJIS, ONIG_ENCODING_ASCII};
    onig_initialize(encodings, 2);
    onig_set_retry_limit_in_match(kRetryLimitInMatch);
    onig_set_retry_limit_in_search(kRetryBaseInSearch);
    // Deeply nested user patterns would otherwise recurse in the parser.
    onig_set_parse_depth_limit(1000);
  });
}

// Oniguruma's global tables belong to this module: when the module is unloaded, libonig may go
// with it and its allocations would be lost.
__attribute__((destructor)) void EndOnce() {
  if (initialized) onig_end();
}

using sjis::IsLeadByte;

void SetLimits(TRecordImpl& rec, const char* from, const char* end) {
  unsigned long span = static_cast<unsigned long>(end - from);
  onig_set_retry_limit_in_match_of_match_param(rec.matchParam, kRetryLimitInMatch);
  onig_set_retry_limit_in_search_of_match_param(rec.matchParam, kRetryBaseInSearch + kRetryPerByteInSearch * span);
}

// Oniguruma cuts a quoted pattern at a byte count before its "...", which can leave the lead
// byte of a character without its trail: it would swallow the next byte and show as garbage.
std::string WithoutLoneLeadBytes(const char* text) {
  std::string out;
  for (const char* p = text; *p; ++p) {
    const auto b = static_cast<unsigned char>(*p);
    if (!IsLeadByte(b)) {
      out += *p;
      continue;
    }
    const auto t = static_cast<unsigned char>(p[1]);
    if ((t >= 0x40 && t <= 0x7E) || (t >= 0x80 && t <= 0xFC)) {
      out.append(p, 2);
      ++p;
    }
  }
  return out;
}

void SetOnigMessage(char* message, int code, OnigErrorInfo* info) {
  UChar text[ONIG_MAX_ERROR_MESSAGE_LEN + 1] = {};
  if (info)
    onig_error_code_to_str(text, code, info);
  else
    onig_error_code_to_str(text, code);
  SetMessage(message, WithoutLoneLeadBytes(reinterpret_cast<const char*>(text)));
}

bool CompileRegex(TRecordImpl& rec, char* message) {
  const TCommand& cmd = rec.parsed;
  OnigOptionType options = ONIG_OPTION_WORD_IS_ASCII;
  if (cmd.multiline) options |= ONIG_OPTION_NEGATE_SINGLELINE;
  OnigEncoding enc = cmd.sjis ? ONIG_ENCODING_SJIS : ONIG_ENCODING_ASCII;
  OnigErrorInfo info{};
  const auto* pat = reinterpret_cast<const UChar*>(cmd.pattern.data());
  int r = onig_new(&rec.regex, pat, pat + cmd.pattern.size(), options, enc, ONIG_SYNTAX_PERL, &info);
  if (r != ONIG_NORMAL) {
    rec.regex = nullptr;
    SetOnigMessage(message, r, &info);
    return false;
  }
  rec.region = onig_region_new();
  rec.matchParam = onig_new_match_param();
  if (!rec.region || !rec.matchParam) {
    SetMessage(message, "out of memory");
    return false;
  }
  int groups = onig_number_of_captures(rec.regex);
  rec.starts.assign(groups + 1, nullptr);
  rec.ends.assign(groups + 1, nullptr);
  rec.pub.startp = rec.starts.data();
  rec.pub.endp = rec.ends.data();
  rec.pub.nparens = groups;
  return true;
}

// The record in the slot when it was compiled from this very command, else a fresh one
// compiled into the slot; nullptr (slot emptied, message written) when the command is invalid.
TRecordImpl* RecordFor(const char* command, TResultRecord** slot, char* message) {
  InitOnce();
  if (*slot) {
    TRecordImpl* old = Impl(*slot);
    if (old->command == command) return old;
    delete old;
    *slot = nullptr;
  }
  auto rec = std::make_unique<TRecordImpl>();
  rec->command = command;
  if (!ParseCommand(command, rec->parsed, message)) return nullptr;
  if (rec->parsed.kind == 't') {
    if (!PrepareTranslation(*rec, message)) return nullptr;
  } else {
    if (!CompileRegex(*rec, message)) return nullptr;
    if (rec->parsed.kind == 's') rec->replacement = ParseReplacement(rec->parsed.replacement, rec->parsed.sjis);
  }
  *slot = &rec->pub;
  return rec.release();
}

void FillGroups(TRecordImpl& rec, const char* begin) {
  const OnigRegion* region = rec.region;
  for (int i = 0; i <= rec.pub.nparens; ++i) {
    bool took = i < region->num_regs && region->beg[i] != ONIG_REGION_NOTPOS;
    rec.starts[i] = took ? const_cast<char*>(begin) + region->beg[i] : nullptr;
    rec.ends[i] = took ? const_cast<char*>(begin) + region->end[i] : nullptr;
  }
}

// A group repeated with an empty last pass can come back from Oniguruma with its end before its
// start ("(x*){2}\b" on "x4"): every caller takes a group as a range, so it becomes empty.
void MendInvertedGroups(OnigRegion* region) {
  for (int i = 0; i < region->num_regs; ++i)
    if (region->beg[i] != ONIG_REGION_NOTPOS && region->end[i] < region->beg[i]) region->end[i] = region->beg[i];
}

// Onig result of one search (or anchored match) from `from`; >= 0 on a match. A search takes
// only matches that start before range (end when none is given).
int SearchOnce(TRecordImpl& rec, const char* begin, const char* from, const char* end, bool anchored,
               const char* range = nullptr) {
  const auto* b = reinterpret_cast<const UChar*>(begin);
  const auto* s = reinterpret_cast<const UChar*>(from);
  const auto* e = reinterpret_cast<const UChar*>(end);
  SetLimits(rec, from, end);
  int r;
  if (anchored) {
    r = onig_match_with_param(rec.regex, b, e, s, rec.region, ONIG_OPTION_NONE, rec.matchParam);
    if (r >= 0) r = static_cast<int>(from - begin);
  } else {
    const auto* rangeEnd = range ? reinterpret_cast<const UChar*>(range) : e;
    r = onig_search_with_param(rec.regex, b, e, s, rangeEnd, rec.region, ONIG_OPTION_NONE, rec.matchParam);
  }
  if (r >= 0) MendInvertedGroups(rec.region);
  return r;
}

bool ValidTarget(const char* begin, const char* start, const char* end, char* message) {
  if (!begin || !start || !end || start < begin || end < start) {
    SetMessage(message, "invalid target range");
    return false;
  }
  return true;
}

// Where the engine may search to. It takes a Shift_JIS lead byte for two bytes even as the
// text's last byte, and would read one byte past the end of a text cut after one: such a byte is
// left out of the search (a substitution still keeps it).
const char* SearchEnd(const TRecordImpl& rec, const char* begin, const char* end) {
  return rec.parsed.sjis && end > begin && AlignToCharBoundary(begin, end) != end ? end - 1 : end;
}

int DoMatch(const char* command, const char* begin, const char* start, const char* end, int anchored,
            TResultRecord** slot, char* message) {
  if (!command || !slot) return -1;
  TRecordImpl* rec = RecordFor(command, slot, message);
  if (!rec) return -1;
  if (rec->parsed.kind != 'm' && rec->parsed.kind != 's') {
    SetMessage(message, "not a match command");
    return -1;
  }
  if (!ValidTarget(begin, start, end, message)) return -1;
  const char* from = rec->parsed.sjis ? AlignToCharBoundary(begin, start) : start;
  end = SearchEnd(*rec, begin, end);
  if (from > end) return 0;
  int r = SearchOnce(*rec, begin, from, end, anchored != 0);
  if (r == ONIG_MISMATCH) return 0;
  if (r < 0) {
    SetOnigMessage(message, r, nullptr);
    return -1;
  }
  FillGroups(*rec, begin);
  return 1;
}

int DoSubst(const char* command, const char* begin, const char* start, const char* end, TResultRecord** slot,
            char* message, TBregexpProgress progress) {
  if (!command || !slot) return -1;
  TRecordImpl* rec = RecordFor(command, slot, message);
  if (!rec) return -1;
  if (rec->parsed.kind != 's') {
    SetMessage(message, "not a substitution command");
    return -1;
  }
  rec->output.clear();
  rec->pub.outp = rec->pub.outendp = nullptr;
  if (!ValidTarget(begin, start, end, message)) return -1;
  const bool sjis = rec->parsed.sjis;
  // A start on the trail byte of a character the end cuts lies past the end.
  const char* pos = std::min(end, sjis ? AlignToCharBoundary(begin, start) : start);
  const char* copyFrom = pos;
  std::string& out = rec->output;
  // On huge pages, with room for replacements longer than their matches: after a stop the rest
  // of a whole document is copied into fresh memory.
  const auto searched = static_cast<std::size_t>(end - pos);
  ReserveOutput(out, searched + searched / 8 + 16);
  // The output grows, still on huge pages, when the replacements outgrow that room.
  const auto room = [&out](std::size_t more) { GrowOutput(out, out.size() + more); };
  int count = 0;
  bool restLeftOut = false;
  // A stop: 0 keeps the rest of the target in the output, below 0 leaves it to the caller.
  const auto goOn = [&](int position) {
    const int answer = progress(0, count, position);
    restLeftOut = answer < 0;
    return answer > 0;
  };
  // \G anchors at where each search starts: a window's start must not become one.
  const bool windows = progress && rec->parsed.pattern.find("\\G") == std::string::npos;
  const char* const searchEnd = SearchEnd(*rec, begin, end);
  while (pos <= searchEnd) {
    const char* range = searchEnd;
    if (windows && searchEnd - pos > kProgressWindowBytes)
      range = sjis ? AlignToCharBoundary(begin, pos + kProgressWindowBytes) : pos + kProgressWindowBytes;
    int r = SearchOnce(*rec, begin, pos, searchEnd, false, range);
    if (r == ONIG_MISMATCH) {
      if (range == searchEnd) break;
      if (!goOn(static_cast<int>(range - begin))) break;
      pos = range;
      continue;
    }
    if (r < 0) {
      SetOnigMessage(message, r, nullptr);
      out.clear();
      rec->pub.outp = rec->pub.outendp = nullptr;
      return -1;
    }
    const char* ms = begin + rec->region->beg[0];
    const char* me = begin + rec->region->end[0];
    room(static_cast<std::size_t>(ms - copyFrom) + rec->parsed.replacement.size() + 4096);
    out.append(copyFrom, ms);
    AppendReplacement(out, rec->replacement, rec->region, begin);
    ++count;
    copyFrom = me;
    if (!rec->parsed.global) break;
    if (progress) {
      // The handler is told after every substitution, with group 0 on its match and the output
      // span on the output so far, so that a caller can tell which lines changed.
      FillGroups(*rec, begin);
      rec->pub.outp = out.data();
      rec->pub.outendp = out.data() + out.size();
      if (!goOn(static_cast<int>(me - begin))) break;
    }
    if (me > ms) {
      pos = me;
    } else {
      // An empty match: the next search starts one character further, that character is kept.
      if (ms >= searchEnd) break;
      pos = ms + ((sjis && IsLeadByte(*ms) && ms + 1 < searchEnd) ? 2 : 1);
    }
  }
  rec->pub.outp = rec->pub.outendp = nullptr;
  if (count == 0) {
    out.clear();
    return 0;
  }
  if (!restLeftOut) {
    room(static_cast<std::size_t>(end - copyFrom));
    out.append(copyFrom, end);
  }
  if (!out.empty()) {
    rec->pub.outp = out.data();
    rec->pub.outendp = out.data() + out.size();
  }
  return count;
}

int DoSplit(const char* command, const char* begin, const char* end, int limit, TResultRecord** slot,
            char* message) {
  if (!command || !slot) return -1;
  TRecordImpl* rec = RecordFor(command, slot, message);
  if (!rec) return -1;
  if (rec->parsed.kind != 'm') {
    SetMessage(message, "not a match command");
    return -1;
  }
  if (!ValidTarget(begin, begin, end, message)) return -1;
  std::vector<char*> starts, ends;
  const bool sjis = rec->parsed.sjis;
  const char* pieceStart = begin;
  const char* pos = begin;
  while (begin < end && pos < end && (limit <= 0 || static_cast<int>(starts.size()) + 1 < limit)) {
    int r = SearchOnce(*rec, begin, pos, end, false);
    if (r == ONIG_MISMATCH) break;
    if (r < 0) {
      SetOnigMessage(message, r, nullptr);
      return -1;
    }
    const char* ms = begin + rec->region->beg[0];
    const char* me = begin + rec->region->end[0];
    if (me == ms && ms == pieceStart) {
      // An empty match at a piece's start splits nothing; try one character further.
      pos = ms + ((sjis && IsLeadByte(*ms) && ms + 1 < end) ? 2 : 1);
      if (pos >= end) break;
      continue;
    }
    if (ms >= end) break;
    starts.push_back(const_cast<char*>(pieceStart));
    ends.push_back(const_cast<char*>(ms));
    pieceStart = pos = me;
  }
  if (begin < end) {
    starts.push_back(const_cast<char*>(pieceStart));
    ends.push_back(const_cast<char*>(end));
  }
  rec->starts = std::move(starts);
  rec->ends = std::move(ends);
  rec->pub.startp = rec->starts.data();
  rec->pub.endp = rec->ends.data();
  rec->pub.nparens = static_cast<int32_t>(rec->starts.size()) - 1;
  return static_cast<int>(rec->starts.size());
}

int DoTrans(const char* command, const char* begin, const char* end, TResultRecord** slot, char* message) {
  if (!command || !slot) return -1;
  TRecordImpl* rec = RecordFor(command, slot, message);
  if (!rec) return -1;
  if (rec->parsed.kind != 't') {
    SetMessage(message, "not a translation command");
    return -1;
  }
  if (!ValidTarget(begin, begin, end, message)) return -1;
  int count = Translate(*rec, begin, end);
  rec->pub.outp = rec->output.empty() ? nullptr : rec->output.data();
  rec->pub.outendp = rec->output.empty() ? nullptr : rec->output.data() + rec->output.size();
  return count;
}

// Nothing may unwind into a caller that knows only C.
template <class F>
int Guarded(char* message, F&& body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    SetMessage(message, "out of memory");
  } catch (...) {
    SetMessage(message, "internal error");
  }
  return -1;
}

}  // namespace

TRecordImpl::~TRecordImpl() {
  if (region) onig_region_free(region, 1);
  if (matchParam) onig_free_match_param(matchParam);
  if (regex) onig_free(regex);
}

void SetMessage(char* message, const std::string& text) {
  if (!message) return;
  std::size_t n = 0;
  while (n < text.size() && text[n] != '\0') {
    std::size_t len = (IsLeadByte(text[n]) && n + 1 < text.size()) ? 2 : 1;
    if (n + len > kBregexpMessageSize - 1) break;
    n += len;
  }
  std::memcpy(message, text.data(), n);
  message[n] = '\0';
}

const char* AlignToCharBoundary(const char* begin, const char* p) {
  // Lead-range bytes right before p pair up from the last byte that can only end a character;
  // an odd count means p sits on a trail byte.
  const char* q = p;
  while (q > begin && IsLeadByte(q[-1])) --q;
  return ((p - q) % 2 == 0) ? p : p + 1;
}

}  // namespace vorn::regexp

using namespace vorn::regexp;

VORN_EXPORT int BMatch(const char* command, const char* targetBegin, const char* searchStart, const char* targetEnd,
                       int anchored, TResultRecord** record, char* message) {
  return Guarded(message, [&] { return DoMatch(command, targetBegin, searchStart, targetEnd, anchored, record, message); });
}

VORN_EXPORT int BSubst(const char* command, const char* targetBegin, const char* searchStart, const char* targetEnd,
                       TResultRecord** record, char* message, TBregexpProgress progress) {
  return Guarded(message, [&] { return DoSubst(command, targetBegin, searchStart, targetEnd, record, message, progress); });
}

VORN_EXPORT int BTrans(const char* command, const char* targetBegin, const char* targetEnd, TResultRecord** record,
                       char* message) {
  return Guarded(message, [&] { return DoTrans(command, targetBegin, targetEnd, record, message); });
}

VORN_EXPORT int BSplit(const char* command, const char* targetBegin, const char* targetEnd, int limit,
                       TResultRecord** record, char* message) {
  return Guarded(message, [&] { return DoSplit(command, targetBegin, targetEnd, limit, record, message); });
}

VORN_EXPORT void BRegfree(TResultRecord* record) {
  if (record) delete Impl(record);
}

VORN_EXPORT const char* BRegexpVersion(void) {
  static const std::string version = std::string("VornRegexp 1.0 (Oniguruma ") + onig_version() + ")";
  return version.c_str();
}
