// Binary records and text forms of keywords, search conditions and bracket pairs.
#include "syntax/KeyWord.h"

namespace vorn {

const char* const kUnsupportedVersionMessage = ": サポートされていないバージョンデータです";

// ---- TKeyWord ----

void TKeyWord::SaveToStream(TRecordWriter& out) const {
  out.WriteBool(IgnoreCase());
  out.WriteBool(!PlainText());
  out.WriteBool(WholeWord());
  out.WriteBool(Fuzzy());
  // The colour entry fits a byte; the group number takes the upper 24 bits.
  const auto packed = (static_cast<std::uint32_t>(ColorIndex()) & 0xFFu) |
                      (static_cast<std::uint32_t>(HighlightGroup()) << 8);
  out.WriteInt32(static_cast<std::int32_t>(packed));
  out.WriteZString(Pattern());
}

void TKeyWord::LoadFromStream(TRecordReader& in) {
  BeginUpdate();
  try {
    SetIgnoreCase(in.ReadBool());
    SetPlainText(!in.ReadBool());
    SetWholeWord(in.ReadBool());
    SetFuzzy(in.ReadBool());
    const auto packed = static_cast<std::uint32_t>(in.ReadInt32());
    SetColorIndex(static_cast<int>(packed & 0xFFu));
    SetHighlightGroup(static_cast<int>(packed >> 8));
    SetPattern(in.ReadZString());
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

std::string TKeyWord::ToText() const {
  std::string s = "\"";
  for (char c : Pattern()) {
    if (c == '"') s += '"';
    s += c;
  }
  s += '"';
  for (bool v : {IgnoreCase(), WholeWord(), !PlainText(), Fuzzy()}) s += v ? ",1" : ",0";
  return s;
}

void TKeyWord::FromText(const std::string& text) {
  // The pattern, quoted with doubled inner quotes or bare up to the first comma; then up to four flags.
  // Missing flags keep their present values.
  std::size_t i = 0;
  std::string pattern;
  if (!text.empty() && text[0] == '"') {
    for (i = 1; i < text.size(); ++i) {
      if (text[i] == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          pattern += '"';
          ++i;
          continue;
        }
        ++i;
        break;
      }
      pattern += text[i];
    }
  } else {
    i = text.find(',');
    if (i == std::string::npos) i = text.size();
    pattern = text.substr(0, i);
  }
  std::vector<bool> flags;
  while (i < text.size() && text[i] == ',' && flags.size() < 4) {
    ++i;
    while (i < text.size() && text[i] == ' ') ++i;
    flags.push_back(i < text.size() && text[i] != '0' && text[i] != ',');
    while (i < text.size() && text[i] != ',') ++i;
  }
  BeginUpdate();
  if (flags.size() > 0) SetIgnoreCase(flags[0]);
  if (flags.size() > 1) SetWholeWord(flags[1]);
  if (flags.size() > 2) SetPlainText(!flags[2]);
  if (flags.size() > 3) SetFuzzy(flags[3]);
  SetPattern(pattern);
  EndUpdate();
}

void TKeyWord::Changed() {
  TVornEditKeyword::Changed();
  if (listItem_ && refresh_ && UpdateCount() == 0) refresh_(*this);
}

// ---- TFindKeyWord ----

TFindKeyWord::TFindKeyWord(TBregexp* engine) : TKeyWord(engine) { SetUpperTarget(false); }

void TFindKeyWord::SaveToStream(TRecordWriter& out) const {
  TKeyWord::SaveToStream(out);
  out.WriteBool(ReplaceMode());
  out.WriteZString(ReplaceText());
}

void TFindKeyWord::LoadFromStream(TRecordReader& in) {
  TKeyWord::LoadFromStream(in);
  SetReplaceMode(in.ReadBool());
  SetReplaceText(in.ReadZString());
}

// ---- TGrepKeyWord ----

TGrepKeyWord::TGrepKeyWord(TBregexp* engine) : TKeyWord(engine) {
  SetUpperTarget(false);
  SetColorIndex(31);
}

void TGrepKeyWord::Assign(const TBregexpObj& src) {
  if (auto* g = dynamic_cast<const TGrepKeyWord*>(&src)) {
    SubFolders = g->SubFolders;
    FileMask = g->FileMask;
    RelativePath = g->RelativePath;
    BaseFolder = g->BaseFolder;
    IncludeBinary = g->IncludeBinary;
    MatchedTextOnly = g->MatchedTextOnly;
    RunAtOnce = g->RunAtOnce;
    DetectCode = g->DetectCode;
    KeepDialogFolder = g->KeepDialogFolder;
  }
  TKeyWord::Assign(src);
}

void TGrepKeyWord::SaveToStream(TRecordWriter& out) const {
  TKeyWord::SaveToStream(out);
  for (bool v : {SubFolders, RelativePath, IncludeBinary, MatchedTextOnly, RunAtOnce, DetectCode, KeepDialogFolder})
    out.WriteBool(v);
  out.WriteZString(FileMask);
  out.WriteZString(BaseFolder);
}

void TGrepKeyWord::LoadFromStream(TRecordReader& in) {
  TKeyWord::LoadFromStream(in);
  for (bool* v : {&SubFolders, &RelativePath, &IncludeBinary, &MatchedTextOnly, &RunAtOnce, &DetectCode,
                  &KeepDialogFolder})
    *v = in.ReadBool();
  FileMask = in.ReadZString();
  BaseFolder = in.ReadZString();
}

// ---- TKeyWordList ----

TKeyWordList::TKeyWordList(TBregexp* engine) : TVornEditKeywords(engine) {
  SetItemFactory([](TBregexp* e) { return std::make_unique<TKeyWord>(e); });
}

std::unique_ptr<TKeyWordList> TKeyWordList::Clone() const {
  auto copy = std::make_unique<TKeyWordList>(Engine());
  copy->Assign(*this);
  return copy;
}

void TKeyWordList::SaveToStream(TRecordWriter& out) const {
  out.WriteInt32(Count());
  for (int i = 0; i < Count(); ++i) Items(i).SaveToStream(out);
}

void TKeyWordList::LoadFromStream(TRecordReader& in) {
  BeginUpdate();
  try {
    Clear();
    // A negative count from a damaged file reads as an empty list; a count too large ends in a read error.
    const std::int32_t n = in.ReadInt32();
    for (std::int32_t i = 0; i < n; ++i) Add().LoadFromStream(in);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

// ---- TBracket ----

TBracket::TBracket(TBregexp* engine)
    : right_(std::make_unique<TKeyWord>(engine)), left_(std::make_unique<TKeyWord>(engine)) {}

void TBracket::SetRightBracketCount(int v) {
  rightCount_ = v;
  if (v > 1) lineOnly_ = true;
}

void TBracket::Assign(const TBracket& src) {
  if (&src == this) return;
  left_->Assign(*src.left_);
  right_->Assign(*src.right_);
  colorIndex_ = src.colorIndex_;
  lineOnly_ = src.lineOnly_;
  rightCount_ = src.rightCount_;
  escape_ = src.escape_;
}

void TBracket::SaveToStream(TRecordWriter& out) const {
  out.WriteByte(0xFF);
  out.WriteByte(2);
  out.WriteByte(static_cast<std::uint8_t>(colorIndex_));
  out.WriteInt32(rightCount_);
  out.WriteByte(escape_.empty() ? 0 : static_cast<std::uint8_t>(escape_[0]));
  out.WriteBool(lineOnly_);
  left_->SaveToStream(out);
  right_->SaveToStream(out);
}

void TBracket::LoadVersion0(TRecordReader& in) {
  colorIndex_ = in.ReadByte();
  for (TKeyWord* k : {left_.get(), right_.get()}) {
    k->BeginUpdate();
    k->SetIgnoreCase(false);
    k->SetWholeWord(false);
    k->SetFuzzy(false);
    k->SetPlainText(true);
    k->SetPattern(in.ReadZString());
    k->EndUpdate();
  }
}

void TBracket::LoadFromStream(TRecordReader& in) {
  int version = 0;
  if (in.ReadByte() == 0xFF) version = in.ReadByte();
  else in.Unread();
  if (version > 2) throw EKeyWordError(std::string("TBracket") + kUnsupportedVersionMessage);
  // Older records have no such fields: they read as a row-spanning pair closed by one match.
  rightCount_ = 1;
  lineOnly_ = false;
  escape_.clear();
  if (version == 0) {
    LoadVersion0(in);
    return;
  }
  colorIndex_ = in.ReadByte();
  if (version == 2) {
    SetRightBracketCount(in.ReadInt32());
    const std::uint8_t escape = in.ReadByte();
    if (escape) escape_ = std::string(1, static_cast<char>(escape));
    SetLineOnly(in.ReadBool());
  }
  left_->LoadFromStream(in);
  right_->LoadFromStream(in);
}

void TBracket::ApplyToView(TVornEditViewInfo& view) const {
  TVornEditBracketItem& item = view.Brackets().Add();
  item.BeginUpdate();
  item.SetColorIndex(colorIndex_);
  item.LeftBracket().Assign(*left_);
  item.RightBracket().Assign(*right_);
  item.SetRightBracketCount(rightCount_);
  item.SetLineOnly(lineOnly_);
  item.SetRightBracketEscapeChar(escape_);
  item.EndUpdate();
}

// ---- TBracketList ----

TBracketList::TBracketList(TBregexp* engine)
    : engine_(engine), factory_([](TBregexp* e) { return std::make_unique<TBracket>(e); }) {}

TBracket& TBracketList::Add() {
  items_.push_back(factory_(engine_));
  return *items_.back();
}

void TBracketList::Assign(const TBracketList& src) {
  if (&src == this) return;
  while (Count() > src.Count()) items_.pop_back();
  while (Count() < src.Count()) Add();
  for (int i = 0; i < Count(); ++i) items_[i]->Assign(*src.items_[i]);
}

void TBracketList::SaveToStream(TRecordWriter& out) const {
  out.WriteInt32(Count());
  for (const auto& b : items_) b->SaveToStream(out);
}

void TBracketList::LoadFromStream(TRecordReader& in) {
  Clear();
  const std::int32_t n = in.ReadInt32();
  for (std::int32_t i = 0; i < n; ++i) Add().LoadFromStream(in);
}

void TBracketList::ApplyToView(TVornEditViewInfo& view) const {
  // Built aside and assigned, so that an unchanged list leaves the view (and its row states) alone.
  TVornEditViewInfo scratch(engine_);
  for (const auto& b : items_) b->ApplyToView(scratch);
  view.Brackets().Assign(scratch.Brackets());
}

}  // namespace vorn
