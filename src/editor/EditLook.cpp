// TVornEdit: the view options and look a file type gives the pane, and the colouring of its
// rows from them (spans of logical lines, bracket states, the cell dump).
#include <algorithm>

#include "editor/VornEdit.h"
#include "syntax/EditParserStore.h"

namespace vorn {
namespace {

// The store's bracket walk over the pane's view options, kept alive as long as the store
// uses them, whichever pane goes first.
class TSharedViewBrackets : public TParserBracketStateUpdater {
public:
  explicit TSharedViewBrackets(std::shared_ptr<const TVornEditViewInfo> view)
      : TParserBracketStateUpdater(*view), view_(std::move(view)) {}

private:
  std::shared_ptr<const TVornEditViewInfo> view_;
};

constexpr int kItalicEntries[] = {ce::Comment, ce::Wide,     ce::Half,   ce::Number,   ce::Quotation, ce::Symbol,
                                  ce::Mail,    ce::Url,      ce::Vendor, ce::FileName, ce::Control};

}  // namespace

void TVornEdit::SetViewOptions(std::shared_ptr<TVornEditViewInfo> view) {
  view_ = std::move(view);
  // The bracket search reads tokens as this view colours them, so brackets in its comments
  // and quotations do not count.
  core_->SetViewInfo(view_.get());
  TVornEditScreenStrings& store = core_->Store();
  if (view_) {
    store.SetBrackets(std::make_unique<TSharedViewBrackets>(view_));
  } else {
    store.SetBrackets(std::make_unique<TBracketStateUpdater>());
  }
  store.RecomputeBracketStates();
  ApplyLook();
}

void TVornEdit::SetLook(const TPaneLook& look) {
  look_ = look;
  ApplyLook();
}

// Geometry, palette and colouring follow the look, the view options and the font.
void TVornEdit::ApplyLook() {
  margin_.SetFont(font_);
  const int left = look_.VerticalRuler ? margin_.NumberMarginWidth() : 10;
  const int top = look_.HorizontalRuler ? 15 : 2;
  metrics_.SetMargins(left, top);
  metrics_.SetUnderlineSpace(look_.Marks.Underline ? 1 : 0);
  margin_.SetLook({look_.VerticalRuler, look_.LeftMarginLine, left, top, metrics_.CellWidth(), metrics_.FontHeight()});
  margin_.SetFont(font_);
  palette_.Resolve(view_ ? &view_->Colors() : nullptr, palette());
  painter_.SetPalette(palette_);
  colors_.Text = palette_[ce::Normal].Text;
  colors_.Back = palette_[ce::Normal].Back;
  colors_.SelText = palette_[ce::Selection].Text;
  colors_.SelBack = palette_[ce::Selection].Back;
  colors_.RetMark = palette_[ce::RetMark].Text;
  colors_.Eof = palette_[ce::Eof].Text;
  perChar_ = font_.italic();
  if (view_) {
    for (int e : kItalicEntries) perChar_ = perChar_ || (view_->Colors()[e].Style() & fsItalic);
    for (int i = 0; i < view_->Brackets().Count(); ++i) {
      const int e = view_->Brackets().Items(i).ColorIndex();
      if (e >= 0 && e < view_->Colors().Count()) perChar_ = perChar_ || (view_->Colors()[e].Style() & fsItalic);
    }
  }
  painter_.SetPerCharacterDrawing(perChar_);
  coloredVersion_ = -1;
  SyncColoring();
  imageValid_ = false;
  Flush();
}

// The colouring setup as the pane's options stand now; remembered tokens are dropped when
// the text or the setup changed.
void TVornEdit::SyncColoring() {
  TVornEditScreenStrings& store = core_->Store();
  TColoringSetup setup;
  setup.View = view_.get();
  setup.Marks = look_.Marks;
  setup.TabWidth = core_->CaretOptions().TabSpaceCount;
  setup.WrapWidth = store.WordWrap() ? store.Wrapper().WrapByte() : 0;
  const TColoringSetup& now = colorer_.Setup();
  if (now.View != setup.View || !(now.Marks == setup.Marks) || now.TabWidth != setup.TabWidth ||
      now.WrapWidth != setup.WrapWidth)
    colorer_.SetSetup(setup);
  TVornEditKeyword& find = core_->FindCondition();
  colorer_.SetFind(core_->ToneFindStr() && !find.Pattern().empty() ? &find : nullptr);
  if (coloredVersion_ != core_->TextVersion()) {
    colorer_.ForgetText();
    line_.First = line_.Last = -1;
    coloredVersion_ = core_->TextVersion();
  }
}

int TVornEdit::LineStartState(int firstRow) {
  TVornEditScreenStrings& store = core_->Store();
  int state = store.BracketState(firstRow);
  if (state == BracketStateUnknown) {
    store.UpdateBracketStates(firstRow, false);
    state = store.BracketState(firstRow);
  }
  return state == BracketStateUnknown ? BracketStateOutside : state;
}

TRowSpan TVornEdit::SpanOf(int row) {
  TVornEditScreenStrings& store = core_->Store();
  TRowSpan span;
  const std::string_view text = store.Row(row);
  bool single = !store.WordWrap();
  if (!single && !(row >= line_.First && row <= line_.Last)) {
    line_.First = store.FirstRowOfLine(row);
    line_.Last = store.LastRowOfLine(row);
    line_.Text.clear();
    line_.Offsets.clear();
    if (line_.First != line_.Last) {
      std::size_t size = 0;
      for (int r = line_.First; r <= line_.Last; ++r) size += store.Row(r).size();
      line_.Text.reserve(size);
      for (int r = line_.First; r <= line_.Last; ++r) {
        line_.Offsets.push_back(static_cast<int>(line_.Text.size()));
        line_.Text.append(store.Row(r));
      }
      line_.Offsets.push_back(static_cast<int>(line_.Text.size()));
    }
  }
  if (!single && line_.First == line_.Last) single = true;
  if (single) {
    span.Line = text;
    span.LineKey = row;
    span.LineState = LineStartState(row);
    span.RowEnd = static_cast<int>(text.size());
  } else {
    span.Line = line_.Text;
    span.LineKey = line_.First;
    span.LineState = LineStartState(line_.First);
    span.RowBegin = line_.Offsets[static_cast<std::size_t>(row - line_.First)];
    span.RowEnd = line_.Offsets[static_cast<std::size_t>(row - line_.First + 1)];
  }
  const TColumnStart start = FindColumnStart(text, painter_.ColumnRule(), core_->LeftCol());
  span.StartByte = span.RowBegin + start.Byte;
  span.StartCol = start.Col;
  const int cw = metrics_.CellWidth();
  span.LastCol = core_->LeftCol() + (viewport()->width() - metrics_.TextLeft() + cw - 1) / cw + 1;
  return span;
}

void TVornEdit::ColorRowInto(int row, TRowPaint& paint) {
  const TEndMark end = EndMarkOf(row);
  if (row >= core_->RowCount()) {
    paint.Cells.clear();
    paint.End = end;
    paint.EndCol = end == TEndMark::None ? -1 : 0;
    paint.RowBack = paint.TailBack = -1;
    paint.EndSelected = false;
    return;
  }
  colorer_.ColorRow(SpanOf(row), end, paint);
  const TSelSpan sel = SelectionSpanOf(row);
  TRowColorer::ApplySelection(paint, sel.Start, sel.End);
}

std::string TVornEdit::PaintDump(int row) {
  Flush();
  SyncColoring();
  TRowPaint paint;
  ColorRowInto(row, paint);
  const std::string_view text = row < core_->RowCount() ? core_->Store().Row(row) : std::string_view();
  std::string out = DumpRowPaint(text, paint);
  out += "margin " + DumpMarginRow(MarginRowOf(core_->Store(), MarginSetup(), row)) + "\n";
  if (UnderlineRow() == row) out += "underline\n";
  return out;
}

}  // namespace vorn
