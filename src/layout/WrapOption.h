// Word-wrap options of a document: wrap width and the Japanese line-breaking (kinsoku) rules.
#pragma once

#include "base/NotifyPersistent.h"

#include <string>

namespace vorn {

class TVornEditWrapOption : public TNotifyPersistent {
public:
  static constexpr int MinWrapByte = 10;
  static constexpr int MaxWrapByte = 500;

  TVornEditWrapOption();
  TVornEditWrapOption(const TVornEditWrapOption& o);
  TVornEditWrapOption& operator=(const TVornEditWrapOption&) = delete;

  bool FollowRetMark() const { return followRetMark_; }
  bool FollowPunctuation() const { return followPunctuation_; }
  const std::string& FollowStr() const { return followStr_; }
  bool Leading() const { return leading_; }
  const std::string& LeadStr() const { return leadStr_; }
  const std::string& PunctuationStr() const { return punctuationStr_; }
  bool WordBreak() const { return wordBreak_; }
  int WrapByte() const { return wrapByte_; }

  void SetFollowRetMark(bool v) { SetProperty(followRetMark_, v); }
  void SetFollowPunctuation(bool v) { SetProperty(followPunctuation_, v); }
  void SetFollowStr(const std::string& v) { SetProperty(followStr_, v); }
  void SetLeading(bool v) { SetProperty(leading_, v); }
  void SetLeadStr(const std::string& v) { SetProperty(leadStr_, v); }
  void SetPunctuationStr(const std::string& v) { SetProperty(punctuationStr_, v); }
  void SetWordBreak(bool v) { SetProperty(wordBreak_, v); }
  void SetWrapByte(int v);

  bool operator==(const TVornEditWrapOption& o) const;
  void Assign(const TVornEditWrapOption& src);

  static const std::string& DefaultFollowStr();
  static const std::string& DefaultLeadStr();
  static const std::string& DefaultPunctuationStr();

private:
  bool followRetMark_ = false;
  bool followPunctuation_ = false;
  std::string followStr_;
  bool leading_ = false;
  std::string leadStr_;
  std::string punctuationStr_;
  bool wordBreak_ = false;
  int wrapByte_ = 80;
};

}  // namespace vorn
