// Word-wrap options of a document: wrap width and the Japanese line-breaking (kinsoku) rules.
#pragma once

#include "base/NotifyPersistent.h"

#include <string>

namespace vorn {

// The wrap settings, compared and copied as one value.
struct TVornEditWrapValues {
  bool FollowRetMark = false;
  bool FollowPunctuation = false;
  std::string FollowStr;
  bool Leading = false;
  std::string LeadStr;
  std::string PunctuationStr;
  bool WordBreak = false;
  int WrapByte = 80;
  friend bool operator==(const TVornEditWrapValues&, const TVornEditWrapValues&) = default;
};

class TVornEditWrapOption : public TNotifyPersistent {
public:
  static constexpr int MinWrapByte = 10;
  static constexpr int MaxWrapByte = 500;

  TVornEditWrapOption();
  TVornEditWrapOption(const TVornEditWrapOption& o);
  TVornEditWrapOption& operator=(const TVornEditWrapOption&) = delete;

  bool FollowRetMark() const { return values_.FollowRetMark; }
  bool FollowPunctuation() const { return values_.FollowPunctuation; }
  const std::string& FollowStr() const { return values_.FollowStr; }
  bool Leading() const { return values_.Leading; }
  const std::string& LeadStr() const { return values_.LeadStr; }
  const std::string& PunctuationStr() const { return values_.PunctuationStr; }
  bool WordBreak() const { return values_.WordBreak; }
  int WrapByte() const { return values_.WrapByte; }

  void SetFollowRetMark(bool v) { SetProperty(values_.FollowRetMark, v); }
  void SetFollowPunctuation(bool v) { SetProperty(values_.FollowPunctuation, v); }
  void SetFollowStr(const std::string& v) { SetProperty(values_.FollowStr, v); }
  void SetLeading(bool v) { SetProperty(values_.Leading, v); }
  void SetLeadStr(const std::string& v) { SetProperty(values_.LeadStr, v); }
  void SetPunctuationStr(const std::string& v) { SetProperty(values_.PunctuationStr, v); }
  void SetWordBreak(bool v) { SetProperty(values_.WordBreak, v); }
  void SetWrapByte(int v);

  bool operator==(const TVornEditWrapOption& o) const { return values_ == o.values_; }
  void Assign(const TVornEditWrapOption& src);

  static const std::string& DefaultFollowStr();
  static const std::string& DefaultLeadStr();
  static const std::string& DefaultPunctuationStr();

private:
  TVornEditWrapValues values_;
};

}  // namespace vorn
