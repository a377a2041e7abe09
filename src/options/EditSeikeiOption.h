// Options of paragraph formatting: spacing rules, comment and itemisation patterns, refill width.
#pragma once

#include "base/NotifyPersistent.h"
#include "syntax/EditParserOptions.h"

#include <string>

namespace vorn {

// The formatting settings besides the two pattern lists, compared and copied as one value.
struct TVornEditSeikeiValues {
  bool InsertSpace = true;
  bool CommentOnly = false;
  bool CommentThrough = true;
  bool TabToSpace = false;
  bool AutoTrigger = false;
  bool WordWrap = true;
  int WrapCount = 70;
  std::string RightUninsertSpaceStr;
  std::string LeftUninsertSpaceStr;
  std::string AutoTriggerStr;
  friend bool operator==(const TVornEditSeikeiValues&, const TVornEditSeikeiValues&) = default;
};

class TVornEditSeikeiOption : public TNotifyPersistent {
public:
  // The default patterns are regular expressions of the given (by default the shared) binding.
  explicit TVornEditSeikeiOption(TBregexp* engine = RegexpBinding());
  TVornEditSeikeiOption(const TVornEditSeikeiOption& o);
  TVornEditSeikeiOption& operator=(const TVornEditSeikeiOption&) = delete;

  bool InsertSpace() const { return values_.InsertSpace; }
  bool CommentOnly() const { return values_.CommentOnly; }
  bool CommentThrough() const { return values_.CommentThrough; }
  bool TabToSpace() const { return values_.TabToSpace; }
  bool AutoTrigger() const { return values_.AutoTrigger; }
  bool WordWrap() const { return values_.WordWrap; }
  int WrapCount() const { return values_.WrapCount; }
  const std::string& RightUninsertSpaceStr() const { return values_.RightUninsertSpaceStr; }
  const std::string& LeftUninsertSpaceStr() const { return values_.LeftUninsertSpaceStr; }
  TVornEditKeywords& CommentList() { return commentList_; }
  const TVornEditKeywords& CommentList() const { return commentList_; }
  TVornEditKeywords& ItemizeList() { return itemizeList_; }
  const TVornEditKeywords& ItemizeList() const { return itemizeList_; }
  const std::string& AutoTriggerStr() const { return values_.AutoTriggerStr; }

  void SetInsertSpace(bool v) { SetProperty(values_.InsertSpace, v); }
  void SetCommentOnly(bool v) { SetProperty(values_.CommentOnly, v); }
  void SetCommentThrough(bool v) { SetProperty(values_.CommentThrough, v); }
  void SetTabToSpace(bool v) { SetProperty(values_.TabToSpace, v); }
  void SetAutoTrigger(bool v) { SetProperty(values_.AutoTrigger, v); }
  void SetWordWrap(bool v) { SetProperty(values_.WordWrap, v); }
  void SetWrapCount(int v) { SetProperty(values_.WrapCount, v); }
  void SetRightUninsertSpaceStr(const std::string& v) { SetProperty(values_.RightUninsertSpaceStr, v); }
  void SetLeftUninsertSpaceStr(const std::string& v) { SetProperty(values_.LeftUninsertSpaceStr, v); }
  void SetCommentList(const TVornEditKeywords& v) { commentList_.Assign(v); }
  void SetItemizeList(const TVornEditKeywords& v) { itemizeList_.Assign(v); }
  void SetAutoTriggerStr(const std::string& v) { SetProperty(values_.AutoTriggerStr, v); }

  bool operator==(const TVornEditSeikeiOption& o) const;
  void Assign(const TVornEditSeikeiOption& src);

  static const std::string& DefaultLeftUninsertSpaceStr();
  static const std::string& DefaultRightUninsertSpaceStr();

private:
  TVornEditSeikeiValues values_;
  // Owned lists of pattern objects: copied item by item, never shared.
  TVornEditKeywords commentList_;
  TVornEditKeywords itemizeList_;
};

}  // namespace vorn
