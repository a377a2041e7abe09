// What the tokenizer is told to look for: editor keywords, bracket items and the view record that owns them.
#pragma once

#include "base/NotifyPersistent.h"
#include "base/VornError.h"
#include "regex/BregexpUtil.h"
#include "syntax/EditColors.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// Where the renderer last drew a match of a keyword, so that the next row can continue from there.
struct TKeywordMatchCache {
  bool Valid = false;
  int Position = 0;
  int Length = 0;
  int Pixel = 0;
  int Column = 0;
};

// A keyword's settings beyond its pattern, compared and copied as one value.
struct TVornEditKeywordValues {
  int ColorIndex = 0;
  int RangeStart = -1;
  int RangeEnd = -1;
  bool RepeatReplace = false;
  int HighlightGroup = 0;
  friend bool operator==(const TVornEditKeywordValues&, const TVornEditKeywordValues&) = default;
};

class TVornEditKeyword : public TBregexpObj {
public:
  explicit TVornEditKeyword(TBregexp* engine = RegexpBinding());
  ~TVornEditKeyword() override = default;

  int ColorIndex() const { return values_.ColorIndex; }
  void SetColorIndex(int v);
  int RangeStart() const { return values_.RangeStart; }
  void SetRangeStart(int v) { SetProperty(values_.RangeStart, v); }
  int RangeEnd() const { return values_.RangeEnd; }
  void SetRangeEnd(int v) { SetProperty(values_.RangeEnd, v); }
  bool RepeatReplace() const { return values_.RepeatReplace; }
  void SetRepeatReplace(bool v) { SetProperty(values_.RepeatReplace, v); }
  int HighlightGroup() const { return values_.HighlightGroup; }
  void SetHighlightGroup(int v) { SetProperty(values_.HighlightGroup, v); }
  // Colour entries 23..28 are the row emphasis colours: the whole row is painted, not the match.
  bool IsLineEmphasis() const { return values_.ColorIndex >= 23 && values_.ColorIndex <= 28; }
  TKeywordMatchCache& Cache() { return cache_; }

  void Assign(const TBregexpObj& src) override;
  bool SameAs(const TBregexpObj& other) const override;

private:
  TVornEditKeywordValues values_;
  TKeywordMatchCache cache_;
};

class TVornEditKeywords : public TNotifyPersistent {
public:
  // Virtual constructor of the items; the application's keyword list substitutes its own class.
  using TItemFactory = std::function<std::unique_ptr<TVornEditKeyword>(TBregexp*)>;

  explicit TVornEditKeywords(TBregexp* engine = RegexpBinding());
  ~TVornEditKeywords() override = default;

  TBregexp* Engine() const { return engine_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TVornEditKeyword& Items(int i) const { return *items_.at(static_cast<std::size_t>(i)); }
  // Appends a new keyword made by the item class.
  TVornEditKeyword& AddItem();
  void Delete(int i);
  void Clear();
  bool NeedsUpperText() const { return needsUpperText_; }
  // The first keyword in list order that finds a match in text from offset; nullptr when none does.
  TVornEditKeyword* FindAt(const std::string& text, int offset, int* matchPos = nullptr, int* matchLen = nullptr) const;
  void ResetCaches();

  void Changed() override;
  void Assign(const TVornEditKeywords& src);
  bool Equals(const TVornEditKeywords& other) const;

protected:
  void SetItemFactory(TItemFactory f) { factory_ = std::move(f); }

private:
  TBregexp* engine_;
  TItemFactory factory_;
  std::vector<std::unique_ptr<TVornEditKeyword>> items_;
  bool needsUpperText_ = false;
};

class TVornEditBracketCollection;

// A bracket item's settings beyond its two patterns, compared and copied as one value.
struct TVornEditBracketValues {
  int ColorIndex = 0;
  bool LineOnly = false;
  int RightBracketCount = 1;
  std::string RightBracketEscapeChar;
  friend bool operator==(const TVornEditBracketValues&, const TVornEditBracketValues&) = default;
};

class TVornEditBracketItem : public TNotifyPersistent {
public:
  explicit TVornEditBracketItem(TBregexp* engine = RegexpBinding());
  ~TVornEditBracketItem() override = default;

  int ColorIndex() const { return values_.ColorIndex; }
  void SetColorIndex(int v);
  TBackRefRegObj& RightBracket() const { return *right_; }
  TBregexpObj& LeftBracket() const { return *left_; }
  bool LineOnly() const { return values_.LineOnly; }
  void SetLineOnly(bool v);
  int RightBracketCount() const { return values_.RightBracketCount; }
  void SetRightBracketCount(int v);
  const std::string& RightBracketEscapeChar() const { return values_.RightBracketEscapeChar; }
  void SetRightBracketEscapeChar(std::string_view v);

  bool Equals(const TVornEditBracketItem& other) const;
  void Assign(const TVornEditBracketItem& src);

private:
  std::unique_ptr<TBackRefRegObj> right_;
  std::unique_ptr<TBregexpObj> left_;
  TVornEditBracketValues values_;
};

// Raised when a fifteenth bracket item is added: the row word keeps the bracket state in four bits.
class EBracketCollectionError : public EVornError {
public:
  using EVornError::EVornError;
};

class TVornEditBracketCollection : public TNotifyPersistent {
public:
  static constexpr int MaxItems = 14;

  explicit TVornEditBracketCollection(TBregexp* engine = RegexpBinding()) : engine_(engine) {}
  int Count() const { return static_cast<int>(items_.size()); }
  TVornEditBracketItem& Items(int i) const { return *items_.at(static_cast<std::size_t>(i)); }
  TVornEditBracketItem& Add();
  void Clear();
  void Assign(const TVornEditBracketCollection& src);
  bool Equals(const TVornEditBracketCollection& other) const;

private:
  TBregexp* engine_;
  std::vector<std::unique_ptr<TVornEditBracketItem>> items_;
};

// The view record's switches and texts beside the objects it owns, copied as one value.
struct TVornEditViewValues {
  bool Mail = false;
  std::string Quotation;
  bool Url = false;
  bool FileObj = false;
  std::string QuotationCanceler;
  bool Keyword = false;
  bool MailId = false;
  friend bool operator==(const TVornEditViewValues&, const TVornEditViewValues&) = default;
};

class TVornEditViewInfo : public TNotifyPersistent {
public:
  explicit TVornEditViewInfo(TBregexp* engine = RegexpBinding());
  ~TVornEditViewInfo() override = default;

  TVornEditBracketCollection& Brackets() const { return *brackets_; }
  TVornEditColors& Colors() const { return *colors_; }
  TBregexpObj& Commenter1() const { return *commenter_; }
  bool Mail() const { return values_.Mail; }
  void SetMail(bool v) { SetProperty(values_.Mail, v); }
  const std::string& Quotation() const { return values_.Quotation; }
  void SetQuotation(const std::string& v) { SetProperty(values_.Quotation, v); }
  bool Url() const { return values_.Url; }
  void SetUrl(bool v) { SetProperty(values_.Url, v); }
  bool FileObj() const { return values_.FileObj; }
  void SetFileObj(bool v) { SetProperty(values_.FileObj, v); }
  const std::string& QuotationCanceler() const { return values_.QuotationCanceler; }
  void SetQuotationCanceler(const std::string& v) { SetProperty(values_.QuotationCanceler, v); }
  TVornEditKeywords& Keywords() const { return *keywords_; }
  bool Keyword() const { return values_.Keyword; }
  void SetKeyword(bool v) { SetProperty(values_.Keyword, v); }
  bool MailId() const { return values_.MailId; }
  void SetMailId(bool v) { SetProperty(values_.MailId, v); }
  // The control that owns this record; not owned.
  void* Control() const { return control_; }
  void SetControl(void* c) { control_ = c; }

  void Assign(const TVornEditViewInfo& src);
  void Changed() override;

  // False when no left bracket and no comment pattern can match at a byte c: the tokenizer then skips
  // trying them. Rebuilt after any change of the record or what it owns.
  bool MayStartBracketOrComment(unsigned char c) const {
    if (!startFilterValid_) BuildStartFilter();
    return (startFilter_[c >> 6] >> (c & 63)) & 1;
  }

private:
  void BuildStartFilter() const;

  mutable std::uint64_t startFilter_[4] = {};
  mutable bool startFilterValid_ = false;
  std::unique_ptr<TVornEditBracketCollection> brackets_;
  std::unique_ptr<TVornEditColors> colors_;
  std::unique_ptr<TBregexpObj> commenter_;
  TVornEditViewValues values_;
  std::unique_ptr<TVornEditKeywords> keywords_;
  void* control_ = nullptr;
};

}  // namespace vorn
