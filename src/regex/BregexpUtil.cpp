// BregexpUtil: loading the module, the pattern object's options, commands, compile and searches.
#include "regex/BregexpUtil.h"

#include <dlfcn.h>

#include <cstring>

#include "base/ByteBuffer.h"
#include "base/sjis.h"
#include "platform/VornUtil.h"
#include "regex/BregexpGroups.h"

namespace vorn {

// "VornRegexp.dllをロードできません"
const char* const kRegexpLoadError =
    "VornRegexp.dll"
    "\x82\xF0\x83\x8D\x81\x5B\x83\x68\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
// "VornRegexp.dllのエキスポート関数をロードできません"
const char* const kRegexpExportError =
    "VornRegexp.dll"
    "\x82\xCC\x83\x47\x83\x4C\x83\x58\x83\x7C\x81\x5B\x83\x67\x8A\xD6\x90\x94\x82\xF0\x83\x8D\x81\x5B\x83\x68\x82"
    "\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1";
// "VORNREGEXP.DLLのロード中にエラーが発生しました。検索・キーワード強調関連の機能はいっさい使用できません。"
const char* const kRegexpStartupMessage =
    "VORNREGEXP.DLL"
    "\x82\xCC\x83\x8D\x81\x5B\x83\x68\x92\x86\x82\xC9\x83\x47\x83\x89\x81\x5B\x82\xAA\x94\xAD\x90\xB6\x82\xB5\x82"
    "\xDC\x82\xB5\x82\xBD\x81\x42\x8C\x9F\x8D\xF5\x81\x45\x83\x4C\x81\x5B\x83\x8F\x81\x5B\x83\x68\x8B\xAD\x92\xB2"
    "\x8A\xD6\x98\x41\x82\xCC\x8B\x40\x94\x5C\x82\xCD\x82\xA2\x82\xC1\x82\xB3\x82\xA2\x8E\x67\x97\x70\x82\xC5\x82"
    "\xAB\x82\xDC\x82\xB9\x82\xF1\x81\x42";

namespace {

std::unique_ptr<TBregexp>& BindingSlot() {
  static std::unique_ptr<TBregexp> binding;
  return binding;
}

// The progress handler is asked only every so many substitutions, as it processes window
// messages each time; between matches the library asks it every megabyte.
constexpr int kProgressInterval = 16;

// The substitution in progress, as the module's plain-function handler finds it.
struct TSubstRun {
  TReplaceProgressEvent onProgress;
  TSubstitutionEvent onSubstitution;
  TResultRecord* const* record = nullptr;
  const char* base = nullptr;
  const char* end = nullptr;
  int told = 0;
  int asked = 0;
  // Where the text after the last substitution starts, while every one was told in order: a
  // stop then leaves the rest of the text out of the library's output (copying it there would
  // take fresh memory), and ReplaceIn keeps it where it lies.
  int keptFrom = 0;
  bool inOrder = true;
  bool restLeftOut = false;
};

TSubstRun& SubstRunSlot() {
  static TSubstRun run;
  return run;
}

// What the record says of the substitution just made; false when it says nothing sound.
bool RecordedSubstitution(const TSubstRun& run, TSubstitution& made) {
  const TResultRecord* rec = run.record ? *run.record : nullptr;
  if (!rec || !rec->startp || !rec->endp || !rec->outp || rec->outendp < rec->outp) return false;
  const char* ms = rec->startp[0];
  const char* me = rec->endp[0];
  if (!ms || !me || ms < run.base || me < ms || me > run.end) return false;
  made.Start = static_cast<int>(ms - run.base);
  made.End = static_cast<int>(me - run.base);
  made.OutputEnd = static_cast<std::size_t>(rec->outendp - rec->outp);
  return true;
}

int ForwardProgress(int kind, int count, int position) {
  TSubstRun& run = SubstRunSlot();
  if (count > run.told) {
    TSubstitution made;
    run.inOrder = run.inOrder && count == run.told + 1 && RecordedSubstitution(run, made);
    if (run.inOrder) {
      run.keptFrom = made.End;
      made.Count = count;
      if (run.onSubstitution) run.onSubstitution(made, std::string_view((*run.record)->outp, made.OutputEnd));
    }
    run.told = count;
    if (count - run.asked < kProgressInterval) return 1;
    run.asked = count;
  }
  const int answer = run.onProgress ? run.onProgress(kind, count, position) : 1;
  if (answer != 0) return 1;
  run.restLeftOut = run.inOrder && count > 0;
  return run.restLeftOut ? -1 : 0;
}

template <class F>
F Symbol(void* handle, const char* name) {
  return reinterpret_cast<F>(dlsym(handle, name));
}

std::string MessageText(const char* message) { return std::string(message, strnlen(message, kBregexpMessageSize)); }

}  // namespace

// ---- TBregexp ----

TBregexp::TBregexp(const std::string& libraryName) {
  std::string path = libraryName.empty() ? DefaultLibraryPath() : libraryName;
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_) throw ELibraryLoadError(kRegexpLoadError);
  BMatch = Symbol<TBMatchFunc>(handle_, "BMatch");
  BSubst = Symbol<TBSubstFunc>(handle_, "BSubst");
  BTrans = Symbol<TBTransFunc>(handle_, "BTrans");
  BSplit = Symbol<TBSplitFunc>(handle_, "BSplit");
  BRegfree = Symbol<TBRegfreeFunc>(handle_, "BRegfree");
  BRegexpVersion = Symbol<TBRegexpVersionFunc>(handle_, "BRegexpVersion");
  if (!BMatch || !BSubst || !BTrans || !BSplit || !BRegfree || !BRegexpVersion) {
    dlclose(handle_);
    handle_ = nullptr;
    throw ELibraryLoadError(kRegexpExportError);
  }
  loaded_ = true;
}

TBregexp::~TBregexp() {
  if (handle_) dlclose(handle_);
}

std::string TBregexp::DefaultLibraryPath() {
  return ExecutableFolder() + "libVornRegexp.so";
}

std::string LoadRegexpBinding(const std::string& libraryName) {
  try {
    BindingSlot() = std::make_unique<TBregexp>(libraryName);
    return std::string();
  } catch (const ELibraryLoadError&) {
    BindingSlot().reset();
    return kRegexpStartupMessage;
  }
}

TBregexp* RegexpBinding() { return BindingSlot().get(); }

void FreeRegexpBinding() { BindingSlot().reset(); }

// ---- TMatchStrings ----

const std::string& TMatchStrings::Strings(int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  return items_[index].text;
}

const TMatchParam& TMatchStrings::Objects(int index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  return items_[index].param;
}

void TMatchStrings::AddMatch(std::string text, int position, int length) {
  items_.push_back(TItem{std::move(text), TMatchParam(position, length)});
}

void TMatchStrings::AddStrings(const TMatchStrings& source) {
  const std::vector<TItem> copy = source.items_;  // source may be this list
  items_.insert(items_.end(), copy.begin(), copy.end());
}

void TMatchStrings::Assign(const TMatchStrings& source) {
  if (&source == this) return;
  Clear();
  AddStrings(source);
}

// ---- TBregexpObj: options and commands ----

TBregexpObj::TBregexpObj(TBregexp* engine) : engine_(engine) {}

TBregexpObj::~TBregexpObj() {
  if (Usable()) {
    if (matchRecord_) engine_->BRegfree(matchRecord_);
    if (substRecord_) engine_->BRegfree(substRecord_);
  }
}

void TBregexpObj::Assign(const TBregexpObj& source) {
  if (&source == this) return;
  pattern_ = source.pattern_;
  wholeWord_ = source.wholeWord_;
  ignoreCase_ = source.ignoreCase_;
  plainText_ = source.plainText_;
  fuzzy_ = source.fuzzy_;
  replaceText_ = source.replaceText_;
  replaceMode_ = source.replaceMode_;
  globalReplace_ = source.globalReplace_;
  Changed();
  Reset();
}

bool TBregexpObj::SameAs(const TBregexpObj& other) const {
  return pattern_ == other.pattern_ && wholeWord_ == other.wholeWord_ && ignoreCase_ == other.ignoreCase_ &&
         plainText_ == other.plainText_ && fuzzy_ == other.fuzzy_ && replaceText_ == other.replaceText_ &&
         replaceMode_ == other.replaceMode_ && globalReplace_ == other.globalReplace_;
}

void TBregexpObj::SetPattern(const std::string& value) {
  if (value == pattern_) return;
  pattern_ = value;
  Reset();
  Changed();
}

void TBregexpObj::SetReplaceText(const std::string& value) {
  if (value == replaceText_) return;
  replaceText_ = value;
  Reset();
  Changed();
}

void TBregexpObj::SetOption(bool& field, bool value) {
  if (field == value) return;
  field = value;
  Reset();
  Changed();
}

void TBregexpObj::SetWholeWord(bool value) { SetOption(wholeWord_, value); }
void TBregexpObj::SetIgnoreCase(bool value) { SetOption(ignoreCase_, value); }
void TBregexpObj::SetPlainText(bool value) { SetOption(plainText_, value); }
void TBregexpObj::SetFuzzy(bool value) { SetOption(fuzzy_, value); }
void TBregexpObj::SetGlobalReplace(bool value) { SetOption(globalReplace_, value); }

void TBregexpObj::Reset() {
  compiled_ = false;
  if (Usable()) {
    if (matchRecord_) engine_->BRegfree(matchRecord_);
    if (substRecord_) engine_->BRegfree(substRecord_);
  }
  matchRecord_ = nullptr;
  substRecord_ = nullptr;
  simpleSearch_ = false;
  matches_.Clear();
  compileFailed_ = false;
}

std::string TBregexpObj::EscapeText(const std::string& text, const std::string& set) const {
  return plainText_ ? EscapeChars(text, set) : text;
}

namespace {

int CountLineBreakEscapes(const std::string& t) {
  int count = 0;
  for (std::size_t i = 0; i < t.size();) {
    if (t[i] != '\\') {
      i += sjis::CharLen(t, i);
      continue;
    }
    if (i + 1 >= t.size()) break;
    if (t[i + 1] == 'n' || t[i + 1] == 's') ++count;
    i += 1 + sjis::CharLen(t, i + 1);
  }
  return count;
}

// Commands are NUL-terminated and 0x01 separates their parts: either byte inside a pattern or
// replacement would cut or split the command, so it travels as a \xHH escape (which the
// library reads back as the same byte). A backslash already in front of it is taken over.
std::string EscapeCommandBytes(const std::string& t) {
  if (t.find_first_of(std::string("\0\x01", 2)) == std::string::npos) return t;
  std::string out;
  for (std::size_t i = 0; i < t.size();) {
    char c = t[i];
    bool escaped = c == '\\' && i + 1 < t.size() && (t[i + 1] == '\0' || t[i + 1] == '\x01');
    if (escaped) c = t[++i];
    if (c == '\0' || c == '\x01') {
      out += c == '\0' ? "\\x00" : "\\x01";
      ++i;
      continue;
    }
    std::size_t len = c == '\\' && i + 1 < t.size() ? 1 + sjis::CharLen(t, i + 1) : sjis::CharLen(t, i);
    out.append(t, i, len);
    i += len;
  }
  return out;
}

}  // namespace

void TBregexpObj::BuildCommand(bool forSubst) {
  std::string t = pattern_;
  lineBreakCount_ = 0;
  simpleSearch_ = plainText_ && !fuzzy_;
  if (!plainText_) lineBreakCount_ = CountLineBreakEscapes(t);
  if (simpleSearch_) upperPattern_ = ignoreCase_ ? sjis::UpperAscii(t) : t;
  if (plainText_) t = EscapeChars(t, kRegexMetaChars);
  if (fuzzy_)
    t = ExpandGroups(t, FuzzyGroups(), plainText_);
  else if (ignoreCase_)
    t = ExpandGroups(t, CaseGroups(), plainText_);
  if (wholeWord_) t = "\\b(?:" + t + ")\\b";
  t = EscapeCommandBytes(t);
  if (!forSubst) {
    matchCommand_ = "m\x01" + t + "\x01k";
    return;
  }
  std::string r = EscapeCommandBytes(EscapeText(replaceText_, "$\\"));
  substCommand_ = "s\x01" + t + "\x01" + r + "\x01" + (globalReplace_ ? "gm" : "") + "k";
}

int TBregexpObj::LineBreakCount() {
  if (!compiled_) Compile();
  return lineBreakCount_;
}

bool TBregexpObj::Compile() {
  if (compileFailed_) return false;
  BuildCommand(false);
  if (!Usable()) return false;
  static const char blank[] = " ";
  char message[kBregexpMessageSize] = {};
  engine_->BMatch(matchCommand_.c_str(), blank, blank, blank + 1, 0, &matchRecord_, message);
  bool success = matchRecord_ != nullptr;
  if (!success) errorMessage_ = MessageText(message);
  if (success && replaceMode_) {
    BuildCommand(true);
    std::memset(message, 0, sizeof message);
    engine_->BSubst(substCommand_.c_str(), blank, blank, blank + 1, &substRecord_, message, nullptr);
    success = substRecord_ != nullptr;
    if (!success) errorMessage_ = MessageText(message);
  }
  compiled_ = success;
  compileFailed_ = !success;
  return success;
}

namespace {

// A literal pattern matched as it is, and its literal replacement: the built-in scanner finds
// what the library would, a million matches without a library search each.
int ReplaceLiteral(TBregexpObj& pattern, std::string& s, int pos, const TReplaceProgressEvent& onProgress,
                   const TSubstitutionEvent& onSubstitution) {
  const char* base = s.data();
  const char* end = base + s.size();
  const std::string& with = pattern.ReplaceText();
  std::string out;
  ReserveOutput(out, s.size() - static_cast<std::size_t>(pos));
  int count = 0, copyFrom = pos;
  for (int at = pos, len = 0; at < static_cast<int>(s.size()) && pattern.FindInBuffer(base, end, len, at); at += len) {
    out.append(s, static_cast<std::size_t>(copyFrom), static_cast<std::size_t>(at - copyFrom));
    out += with;
    ++count;
    copyFrom = at + len;
    if (!pattern.GlobalReplace() || len == 0) break;
    if (onSubstitution) onSubstitution(TSubstitution{at, copyFrom, out.size(), count}, out);
    if (onProgress && count % kProgressInterval == 0 && onProgress(0, count, copyFrom) == 0) break;
  }
  if (count == 0) return 0;
  out.append(s, static_cast<std::size_t>(copyFrom), std::string::npos);
  s = std::move(out);
  return count;
}

// s becomes output followed by its own bytes from keptFrom on. Into the text's own storage when
// it fits: a replace all's piece is megabytes long, and one that grew takes fresh memory on huge
// pages.
void KeepRestAfter(std::string& s, std::size_t keptFrom, std::string_view output) {
  const std::size_t size = output.size() + (s.size() - keptFrom);
  if (size <= s.capacity()) {
    s.replace(0, keptFrom, output.data(), output.size());
    return;
  }
  std::string grown;
  ReserveOutput(grown, size);
  grown.append(output).append(s, keptFrom, std::string::npos);
  s = std::move(grown);
}

}  // namespace

int TBregexpObj::ReplaceIn(std::string& s, int pos, TReplaceProgressEvent onProgress,
                           TSubstitutionEvent onSubstitution) {
  if (!Usable()) return 0;
  // After a failed compile the substitution command may still be the one of an earlier
  // pattern; running it would replace text the current pattern does not match.
  if (!compiled_ && !Compile()) return -1;
  if (pos < 0 || static_cast<std::size_t>(pos) > s.size()) return 0;
  // Case and whole words are left to the library: its folding and word ends are the reference.
  if (simpleSearch_ && !ignoreCase_ && !wholeWord_) return ReplaceLiteral(*this, s, pos, onProgress, onSubstitution);
  TSubstRun& run = SubstRunSlot();
  run = TSubstRun{std::move(onProgress), std::move(onSubstitution), &substRecord_, s.data(), s.data() + s.size()};
  char message[kBregexpMessageSize] = {};
  const bool listening = run.onProgress || run.onSubstitution;
  int r = engine_->BSubst(substCommand_.c_str(), s.data(), s.data() + pos, s.data() + s.size(), &substRecord_,
                          message, listening ? ForwardProgress : nullptr);
  // After a stop that left the rest out of the library's output, the text keeps it from where
  // the last match ended; otherwise the output is the whole result.
  const std::size_t keptFrom = run.restLeftOut ? static_cast<std::size_t>(run.keptFrom) : s.size();
  run = TSubstRun{};
  if (r <= 0) return r;
  const std::size_t size = substRecord_->outp ? static_cast<std::size_t>(substRecord_->outendp - substRecord_->outp) : 0;
  KeepRestAfter(s, keptFrom, std::string_view(substRecord_->outp ? substRecord_->outp : "", size));
  return r;
}

}  // namespace vorn
