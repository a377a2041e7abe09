// Keyword, bracket item and view records of the tokenizer: notification wiring, equality and assignment.
#include "syntax/EditParserOptions.h"

#include "base/sjis.h"

namespace vorn {

// ---- TVornEditKeyword ----

TVornEditKeyword::TVornEditKeyword(TBregexp* engine) : TBregexpObj(engine) {
  SetPlainText(true);
  SetUpperTarget(true);
}

void TVornEditKeyword::SetColorIndex(int v) {
  if (values_.ColorIndex == v) return;
  values_.ColorIndex = v;
  Reset();
  Changed();
}

void TVornEditKeyword::Assign(const TBregexpObj& src) {
  BeginUpdate();
  if (auto* k = dynamic_cast<const TVornEditKeyword*>(&src)) values_ = k->values_;
  TBregexpObj::Assign(src);
  EndUpdate();
}

bool TVornEditKeyword::SameAs(const TBregexpObj& other) const {
  if (!TBregexpObj::SameAs(other)) return false;
  auto* k = dynamic_cast<const TVornEditKeyword*>(&other);
  if (!k) return false;
  return values_ == k->values_;
}

// ---- TVornEditKeywords ----

TVornEditKeywords::TVornEditKeywords(TBregexp* engine)
    : engine_(engine), factory_([](TBregexp* e) { return std::make_unique<TVornEditKeyword>(e); }) {}

TVornEditKeyword& TVornEditKeywords::AddItem() {
  items_.push_back(factory_(engine_));
  Adopt(*items_.back());
  Changed();
  return *items_.back();
}

void TVornEditKeywords::Delete(int i) {
  items_.erase(items_.begin() + i);
  Changed();
}

void TVornEditKeywords::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

void TVornEditKeywords::Changed() {
  needsUpperText_ = false;
  for (const auto& k : items_)
    if (k->IgnoreCase() && k->PlainText()) needsUpperText_ = true;
  TNotifyPersistent::Changed();
}

TVornEditKeyword* TVornEditKeywords::FindAt(const std::string& text, int offset, int* matchPos, int* matchLen) const {
  // Keywords that expect upper-cased targets get a folded copy, so that callers may pass the text as it is.
  std::string upper;
  for (const auto& k : items_) {
    int pos = offset, len = 0;
    const bool folded = k->IgnoreCase() && k->PlainText() && k->UpperTarget();
    if (folded && upper.empty()) upper = sjis::UpperAscii(text);
    if (k->FindIn(folded ? upper : text, pos, len)) {
      if (matchPos) *matchPos = pos;
      if (matchLen) *matchLen = len;
      return k.get();
    }
  }
  return nullptr;
}

void TVornEditKeywords::ResetCaches() {
  for (auto& k : items_) k->Cache() = TKeywordMatchCache{};
}

void TVornEditKeywords::Assign(const TVornEditKeywords& src) {
  if (&src == this) return;
  BeginUpdate();
  while (Count() > src.Count()) items_.pop_back();
  while (Count() < src.Count()) {
    items_.push_back(factory_(engine_));
    Adopt(*items_.back());
  }
  for (int i = 0; i < Count(); ++i) items_[i]->Assign(*src.items_[i]);
  EndUpdate();
}

bool TVornEditKeywords::Equals(const TVornEditKeywords& other) const {
  if (Count() != other.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (!items_[i]->SameAs(*other.items_[i])) return false;
  return true;
}

// ---- TVornEditBracketItem ----

TVornEditBracketItem::TVornEditBracketItem(TBregexp* engine)
    : right_(std::make_unique<TBackRefRegObj>(engine)), left_(std::make_unique<TBregexpObj>(engine)) {
  Adopt(*right_);
  Adopt(*left_);
}

void TVornEditBracketItem::SetColorIndex(int v) {
  if (values_.ColorIndex == v) return;
  values_.ColorIndex = v;
  Changed();
}

void TVornEditBracketItem::SetLineOnly(bool v) {
  // Several closing matches can only be counted within one row, so such a bracket stays row-bound.
  if (!v && values_.RightBracketCount > 1) v = true;
  if (values_.LineOnly == v) return;
  values_.LineOnly = v;
  Changed();
}

void TVornEditBracketItem::SetRightBracketCount(int v) {
  if (values_.RightBracketCount == v) return;
  BeginUpdate();
  values_.RightBracketCount = v;
  if (v > 1) values_.LineOnly = true;
  EndUpdate();
}

void TVornEditBracketItem::SetRightBracketEscapeChar(std::string_view v) {
  std::string first(v.substr(0, 1));
  if (values_.RightBracketEscapeChar == first) return;
  values_.RightBracketEscapeChar = first;
  Changed();
}

bool TVornEditBracketItem::Equals(const TVornEditBracketItem& o) const {
  return values_ == o.values_ && right_->SameAs(*o.right_) && left_->SameAs(*o.left_);
}

void TVornEditBracketItem::Assign(const TVornEditBracketItem& src) {
  if (&src == this || Equals(src)) return;
  BeginUpdate();
  values_ = src.values_;
  right_->Assign(*src.right_);
  left_->Assign(*src.left_);
  EndUpdate();
}

// ---- TVornEditBracketCollection ----

TVornEditBracketItem& TVornEditBracketCollection::Add() {
  if (Count() >= MaxItems)
    throw EBracketCollectionError("TVornEditBracketCollection\r\nYou can not add item over " +
                                  std::to_string(MaxItems));
  items_.push_back(std::make_unique<TVornEditBracketItem>(engine_));
  Adopt(*items_.back());
  Changed();
  return *items_.back();
}

void TVornEditBracketCollection::Clear() {
  if (items_.empty()) return;
  items_.clear();
  Changed();
}

bool TVornEditBracketCollection::Equals(const TVornEditBracketCollection& o) const {
  if (Count() != o.Count()) return false;
  for (int i = 0; i < Count(); ++i)
    if (!items_[i]->Equals(*o.items_[i])) return false;
  return true;
}

void TVornEditBracketCollection::Assign(const TVornEditBracketCollection& src) {
  if (&src == this || Equals(src)) return;
  BeginUpdate();
  items_.clear();
  for (int i = 0; i < src.Count(); ++i) Add().Assign(src.Items(i));
  EndUpdate();
}

// ---- TVornEditViewInfo ----

TVornEditViewInfo::TVornEditViewInfo(TBregexp* engine)
    : brackets_(std::make_unique<TVornEditBracketCollection>(engine)),
      colors_(std::make_unique<TVornEditColors>()),
      commenter_(std::make_unique<TBregexpObj>(engine)),
      keywords_(std::make_unique<TVornEditKeywords>(engine)) {
  Adopt(*brackets_);
  Adopt(*colors_);
  Adopt(*commenter_);
  Adopt(*keywords_);
}

void TVornEditViewInfo::Changed() {
  startFilterValid_ = false;
  TNotifyPersistent::Changed();
}

void TVornEditViewInfo::BuildStartFilter() const {
  std::uint64_t* bits = startFilter_;
  bits[0] = bits[1] = bits[2] = bits[3] = 0;
  auto set = [bits](unsigned char c) { bits[c >> 6] |= std::uint64_t{1} << (c & 63); };
  auto add = [&](const TBregexpObj& p) {
    if (!p.PlainText() || p.Fuzzy()) {
      bits[0] = bits[1] = bits[2] = bits[3] = ~std::uint64_t{0};  // a regular expression may start anywhere
      return;
    }
    if (p.Pattern().empty()) return;
    const char first = p.Pattern()[0];
    set(static_cast<unsigned char>(first));
    if (p.IgnoreCase()) {
      set(static_cast<unsigned char>(sjis::UpperAscii(first)));
      if (first >= 'A' && first <= 'Z') set(static_cast<unsigned char>(first - 'A' + 'a'));
    }
  };
  for (int i = 0; i < brackets_->Count(); ++i) add(brackets_->Items(i).LeftBracket());
  add(*commenter_);
  startFilterValid_ = true;
}

void TVornEditViewInfo::Assign(const TVornEditViewInfo& src) {
  if (&src == this) return;
  BeginUpdate();
  brackets_->Assign(*src.brackets_);
  colors_->Assign(*src.colors_);
  commenter_->Assign(*src.commenter_);
  values_ = src.values_;
  keywords_->Assign(*src.keywords_);
  EndUpdate();
}

}  // namespace vorn
