// Application keyword, find/grep condition and bracket pair classes with their binary records and text forms.
//
// Errors, syntax: reading a keyword, bracket or colour record raises an EVornError
// (ERecordReadError, EKeyWordError) whose message names what is wrong; the reader of a settings
// file catches it and reports the file. Parsing text for colours never fails.
#pragma once

#include "base/VornError.h"
#include "syntax/KeyWordStream.h"
#include "syntax/EditParserOptions.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace vorn {

// A stored record or keyword file that cannot be read.
class EKeyWordError : public EVornError {
public:
  using EVornError::EVornError;
};

// Follows the class name in the message of an unsupported bracket record version.
extern const char* const kUnsupportedVersionMessage;

class TKeyWord : public TVornEditKeyword {
public:
  explicit TKeyWord(TBregexp* engine = RegexpBinding()) : TVornEditKeyword(engine) {}

  // The list-view row showing this keyword (not owned) and how to refresh it after a change.
  void* ListItem() const { return listItem_; }
  void SetListItem(void* item, std::function<void(TKeyWord&)> refresh = {}) {
    listItem_ = item;
    refresh_ = std::move(refresh);
  }

  virtual void SaveToStream(TRecordWriter& out) const;
  virtual std::string ToText() const;
  virtual void LoadFromStream(TRecordReader& in);
  virtual void FromText(const std::string& text);

  void Changed() override;

private:
  void* listItem_ = nullptr;
  std::function<void(TKeyWord&)> refresh_;
};

class TFindKeyWord : public TKeyWord {
public:
  explicit TFindKeyWord(TBregexp* engine = RegexpBinding());
  void SaveToStream(TRecordWriter& out) const override;
  void LoadFromStream(TRecordReader& in) override;
};

class TGrepKeyWord : public TKeyWord {
public:
  explicit TGrepKeyWord(TBregexp* engine = RegexpBinding());

  bool SubFolders = false;
  std::string FileMask;
  bool RelativePath = false;
  std::string BaseFolder;
  bool IncludeBinary = false;
  bool MatchedTextOnly = false;
  bool RunAtOnce = false;
  bool DetectCode = false;
  bool KeepDialogFolder = true;

  void Assign(const TBregexpObj& src) override;
  void SaveToStream(TRecordWriter& out) const override;
  void LoadFromStream(TRecordReader& in) override;
};

class TKeyWordList : public TVornEditKeywords {
public:
  explicit TKeyWordList(TBregexp* engine = RegexpBinding());

  TKeyWord& Add() { return static_cast<TKeyWord&>(AddItem()); }
  TKeyWord& Items(int i) const { return static_cast<TKeyWord&>(TVornEditKeywords::Items(i)); }
  std::unique_ptr<TKeyWordList> Clone() const;
  void LoadFromStream(TRecordReader& in);
  void SaveToStream(TRecordWriter& out) const;
};

class TBracket {
public:
  explicit TBracket(TBregexp* engine = RegexpBinding());
  virtual ~TBracket() = default;

  TKeyWord& RightBracket() const { return *right_; }
  TKeyWord& LeftBracket() const { return *left_; }
  int ColorIndex() const { return colorIndex_; }
  void SetColorIndex(int v) { colorIndex_ = v; }
  bool LineOnly() const { return lineOnly_; }
  void SetLineOnly(bool v) { lineOnly_ = v || rightCount_ > 1; }
  int RightBracketCount() const { return rightCount_; }
  void SetRightBracketCount(int v);
  const std::string& RightBracketEscapeChar() const { return escape_; }
  void SetRightBracketEscapeChar(const std::string& v) { escape_ = v; }

  void Assign(const TBracket& src);
  void SaveToStream(TRecordWriter& out) const;
  void LoadFromStream(TRecordReader& in);
  virtual void LoadVersion0(TRecordReader& in);
  // Adds one bracket item with these values to the view's collection.
  void ApplyToView(TVornEditViewInfo& view) const;

private:
  std::unique_ptr<TKeyWord> right_;
  std::unique_ptr<TKeyWord> left_;
  int colorIndex_ = 0;
  bool lineOnly_ = false;
  int rightCount_ = 1;
  std::string escape_;
};

class TBracketList {
public:
  using TItemFactory = std::function<std::unique_ptr<TBracket>(TBregexp*)>;

  explicit TBracketList(TBregexp* engine = RegexpBinding());
  virtual ~TBracketList() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  TBracket& Items(int i) const { return *items_.at(static_cast<std::size_t>(i)); }
  TBracket& Add();
  void Delete(int i) { items_.erase(items_.begin() + i); }
  void Clear() { items_.clear(); }
  void Assign(const TBracketList& src);
  void LoadFromStream(TRecordReader& in);
  void SaveToStream(TRecordWriter& out) const;
  // Replaces the view's bracket collection with the list's pairs in order.
  void ApplyToView(TVornEditViewInfo& view) const;

private:
  TBregexp* engine_;
  TItemFactory factory_;
  std::vector<std::unique_ptr<TBracket>> items_;
};

}  // namespace vorn
