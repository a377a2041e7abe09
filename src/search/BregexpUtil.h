// Placeholder pattern object: literal matching only, until the regex binding replaces this file.
#pragma once

#include "base/NotifyPersistent.h"

#include <string>
#include <vector>

namespace vorn {

class TBregexp {
public:
  bool Loaded() const { return true; }
};

class TMatchStrings {
public:
  int Count() const { return static_cast<int>(texts_.size()); }
  const std::string& operator[](int i) const { return texts_[i]; }
  void Clear() { texts_.clear(); }
  void AddMatch(std::string text) { texts_.push_back(std::move(text)); }
  void Assign(const TMatchStrings& other) { texts_ = other.texts_; }

private:
  std::vector<std::string> texts_;
};

class TBregexpObj : public TNotifyPersistent {
public:
  explicit TBregexpObj(TBregexp* engine = nullptr) : engine_(engine) {}
  ~TBregexpObj() override = default;

  TBregexp* Engine() const { return engine_; }
  const std::string& Pattern() const { return pattern_; }
  virtual void SetPattern(const std::string& s) { SetField(pattern_, s); }
  const std::string& ReplaceText() const { return replaceText_; }
  virtual void SetReplaceText(const std::string& s) { SetField(replaceText_, s); }
  bool WholeWord() const { return wholeWord_; }
  void SetWholeWord(bool v) { SetField(wholeWord_, v); }
  bool IgnoreCase() const { return ignoreCase_; }
  void SetIgnoreCase(bool v) { SetField(ignoreCase_, v); }
  bool PlainText() const { return plainText_; }
  void SetPlainText(bool v) { SetField(plainText_, v); }
  bool Fuzzy() const { return fuzzy_; }
  void SetFuzzy(bool v) { SetField(fuzzy_, v); }
  bool GlobalReplace() const { return globalReplace_; }
  void SetGlobalReplace(bool v) { SetField(globalReplace_, v); }
  bool ReplaceMode() const { return replaceMode_; }
  void SetReplaceMode(bool v) { replaceMode_ = v; }
  bool UpperTarget() const { return upperTarget_; }
  void SetUpperTarget(bool v) { upperTarget_ = v; }
  TMatchStrings& Matches() { return matches_; }
  bool Compiled() const { return compiled_; }

  virtual void Assign(const TBregexpObj& src) {
    pattern_ = src.pattern_;
    wholeWord_ = src.wholeWord_;
    ignoreCase_ = src.ignoreCase_;
    plainText_ = src.plainText_;
    fuzzy_ = src.fuzzy_;
    replaceText_ = src.replaceText_;
    replaceMode_ = src.replaceMode_;
    globalReplace_ = src.globalReplace_;
    Changed();
    Reset();
  }
  virtual bool SameAs(const TBregexpObj& o) const {
    return pattern_ == o.pattern_ && wholeWord_ == o.wholeWord_ && ignoreCase_ == o.ignoreCase_ &&
           plainText_ == o.plainText_ && fuzzy_ == o.fuzzy_ && replaceText_ == o.replaceText_ &&
           replaceMode_ == o.replaceMode_ && globalReplace_ == o.globalReplace_;
  }
  void Reset() {
    compiled_ = false;
    matches_.Clear();
  }
  virtual bool Compile() {
    compiled_ = plainText_ && !fuzzy_;
    return compiled_;
  }
  bool MatchAtBuffer(const char* start, const char* end, int& len, int pos) {
    if (pattern_.empty() || !start || !(plainText_ && !fuzzy_)) return false;
    const std::size_t n = pattern_.size();
    if (static_cast<std::size_t>(end - start - pos) < n) return false;
    for (std::size_t i = 0; i < n; ++i) {
      char a = start[pos + i], b = pattern_[i];
      if (ignoreCase_ && a >= 'a' && a <= 'z') a = static_cast<char>(a - 32);
      if (ignoreCase_ && b >= 'a' && b <= 'z') b = static_cast<char>(b - 32);
      if (a != b) return false;
    }
    len = static_cast<int>(n);
    return true;
  }
  bool MatchAt(const std::string& s, int pos, int& len) { return MatchAtBuffer(s.data(), s.data() + s.size(), len, pos); }
  bool FindInBuffer(const char* start, const char* end, int& len, int& pos) {
    for (int p = pos; start + p < end; ++p)
      if (MatchAtBuffer(start, end, len, p)) {
        pos = p;
        return true;
      }
    return false;
  }
  bool FindIn(const std::string& s, int& pos, int& len) { return FindInBuffer(s.data(), s.data() + s.size(), len, pos); }

private:
  template <class T>
  void SetField(T& field, const T& v) {
    if (field == v) return;
    field = v;
    Reset();
    Changed();
  }
  TBregexp* engine_;
  std::string pattern_, replaceText_;
  bool wholeWord_ = false, ignoreCase_ = false, plainText_ = false, fuzzy_ = false;
  bool globalReplace_ = false, replaceMode_ = false, upperTarget_ = false, compiled_ = false;
  TMatchStrings matches_;
};

class TBackRefRegObj : public TBregexpObj {
public:
  using TBregexpObj::TBregexpObj;
  bool HasBackRef() const { return false; }
};

}  // namespace vorn
