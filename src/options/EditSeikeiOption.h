// Options of paragraph formatting: spacing rules, comment and itemisation patterns, refill width.
#pragma once

#include "base/NotifyPersistent.h"
#include "syntax/EditParserOptions.h"

#include <string>

namespace vorn {

class TVornEditSeikeiOption : public TNotifyPersistent {
public:
  // The default patterns are regular expressions of the given (by default the shared) binding.
  explicit TVornEditSeikeiOption(TBregexp* engine = RegexpBinding());
  TVornEditSeikeiOption(const TVornEditSeikeiOption& o);
  TVornEditSeikeiOption& operator=(const TVornEditSeikeiOption&) = delete;

  bool InsertSpace() const { return insertSpace_; }
  bool CommentOnly() const { return commentOnly_; }
  bool CommentThrough() const { return commentThrough_; }
  bool TabToSpace() const { return tabToSpace_; }
  bool AutoTrigger() const { return autoTrigger_; }
  bool WordWrap() const { return wordWrap_; }
  int WrapCount() const { return wrapCount_; }
  const std::string& RightUninsertSpaceStr() const { return rightUninsertSpaceStr_; }
  const std::string& LeftUninsertSpaceStr() const { return leftUninsertSpaceStr_; }
  TVornEditKeywords& CommentList() { return commentList_; }
  const TVornEditKeywords& CommentList() const { return commentList_; }
  TVornEditKeywords& ItemizeList() { return itemizeList_; }
  const TVornEditKeywords& ItemizeList() const { return itemizeList_; }
  const std::string& AutoTriggerStr() const { return autoTriggerStr_; }

  void SetInsertSpace(bool v) { SetProperty(insertSpace_, v); }
  void SetCommentOnly(bool v) { SetProperty(commentOnly_, v); }
  void SetCommentThrough(bool v) { SetProperty(commentThrough_, v); }
  void SetTabToSpace(bool v) { SetProperty(tabToSpace_, v); }
  void SetAutoTrigger(bool v) { SetProperty(autoTrigger_, v); }
  void SetWordWrap(bool v) { SetProperty(wordWrap_, v); }
  void SetWrapCount(int v) { SetProperty(wrapCount_, v); }
  void SetRightUninsertSpaceStr(const std::string& v) { SetProperty(rightUninsertSpaceStr_, v); }
  void SetLeftUninsertSpaceStr(const std::string& v) { SetProperty(leftUninsertSpaceStr_, v); }
  void SetCommentList(const TVornEditKeywords& v) { commentList_.Assign(v); }
  void SetItemizeList(const TVornEditKeywords& v) { itemizeList_.Assign(v); }
  void SetAutoTriggerStr(const std::string& v) { SetProperty(autoTriggerStr_, v); }

  bool operator==(const TVornEditSeikeiOption& o) const;
  void Assign(const TVornEditSeikeiOption& src);

  static const std::string& DefaultLeftUninsertSpaceStr();
  static const std::string& DefaultRightUninsertSpaceStr();

private:
  bool insertSpace_ = true;
  bool commentOnly_ = false;
  bool commentThrough_ = true;
  bool tabToSpace_ = false;
  bool autoTrigger_ = false;
  bool wordWrap_ = true;
  int wrapCount_ = 70;
  std::string rightUninsertSpaceStr_;
  std::string leftUninsertSpaceStr_;
  TVornEditKeywords commentList_;
  TVornEditKeywords itemizeList_;
  std::string autoTriggerStr_;
};

}  // namespace vorn
