// TVornEditScreenStrings: the document's line store of display rows, shared by its views.
//
// Errors, store: an edit never fails for any text it is given and raises nothing the user
// caused; only exhaustion is raised (std::bad_alloc, std::length_error for one row over
// 2 GiB), for the shell to report with the document unchanged.
#pragma once

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/BracketStateUpdater.h"
#include "store/EditLineMark.h"
#include "store/PointerStringList.h"
#include "store/RowWrapper.h"
#include "store/Undo.h"
#include "store/VornEditView.h"

namespace vorn {

class TVornEditWrapOption;

// row with `removed` bytes at cut replaced by pad spaces and insert, then end appended; built in
// one allocation, since a row can be tens of megabytes long.
std::string SplicedRow(std::string_view row, std::size_t cut, std::size_t removed, std::size_t pad,
                       std::string_view insert, std::string_view end);

// The store owns its undo list and its line marks, and tells its views what changed: one
// TStoreChange when the outermost update block ends. It never reads a view's caret; edits take
// the caret they start from as an argument, and undo and redo answer where the asking view's
// caret goes.
class TVornEditScreenStrings : public TVornEditStringList {
public:
  TVornEditScreenStrings();
  ~TVornEditScreenStrings() override;

  // The views that show the store. Whoever shows it also shares its ownership (a
  // std::shared_ptr), so a view never outlives the store it is registered with.
  void AttachView(TVornEditView& view);
  void DetachView(TVornEditView& view);
  const std::vector<TVornEditView*>& Views() const { return views_; }
  // The deepest row any view wants bracket states for: its top row plus two screens. Views
  // start again at the top after a load or a clear, before they have heard of it.
  int TopRowOfViews() const;
  int ScreenRowsOfViews() const;
  // The bracket walk changed row's state: the views repaint it with the change.
  void NoteBracketStateChanged(int row);

  TVornEditUndoObj& UndoObj() { return undo_; }
  const TVornEditUndoObj& UndoObj() const { return undo_; }
  TVornEditLineMark& LineMarkTable() { return lineMarks_; }
  const TVornEditLineMark& LineMarkTable() const { return lineMarks_; }
  // Hooks completed by the wrap and parser code.
  TRowWrapper& Wrapper() { return *wrapper_; }
  TBracketStateUpdater& Brackets() { return *brackets_; }
  void SetWrapper(std::unique_ptr<TRowWrapper> wrapper) { wrapper_ = std::move(wrapper); }
  void SetBrackets(std::unique_ptr<TBracketStateUpdater> brackets) { brackets_ = std::move(brackets); }

  bool WordWrap() const { return wordWrap_; }
  // Turns word wrap on or off: every row is cut again and the undo steps, which address rows,
  // are forgotten.
  void SetWordWrap(bool on);
  // Cuts every row again after the wrap width, tab width or word delimiters changed.
  void RewrapWhole();
  // True while RewrapWhole runs: rows are rewritten even where their count stays.
  bool Rewrapping() const { return rewrapping_; }

  // A text of more rows than StepwiseRewrapRows() is wrapped in steps when word wrap is turned
  // on or it is loaded with word wrap on: the first screens at once, the rest through RewrapStep,
  // which the views' owner calls while RewrapPending() holds, so that a gigabyte of text stays
  // readable while it is cut. Rows from RewrapFrom() on are cut as they were loaded, a line each.
  static constexpr int kStepwiseRewrapRows = 1 << 18;
  int StepwiseRewrapRows() const { return stepwiseRows_; }
  void SetStepwiseRewrapRows(int rows) { stepwiseRows_ = std::max(0, rows); }
  bool RewrapPending() const { return rewrapFrom_ >= 0; }
  int RewrapFrom() const { return rewrapFrom_; }
  // Row is cut after the wrap width: word wrap is on and the stepwise cut has reached it.
  // Columns of a row still waiting are counted as with word wrap off, as its caret moves.
  bool WrapsRow(int row) const { return wordWrap_ && (rewrapFrom_ < 0 || row < rewrapFrom_); }
  // Cuts the lines of about `rows` further rows (scRewrapRows to the views); false once none
  // are left. Inside an update block it waits, since its change could not be told apart.
  bool RewrapStep(int rows);
  // Cuts every row that is left. Editors call it before an edit computes its rows, so that no
  // undo step ever records rows that a later step moves.
  void CompleteRewrap();

  int FirstRowOfLine(int r) const;
  int LastRowOfLine(int r) const;
  // The text of rows first..first+n-1 (n = -1: to the end of the logical line starting at
  // first), CR LF after each reLineEnd row.
  std::string GetRowsText(int first, int n, TRowEnd* lastEnd = nullptr, int* rowCount = nullptr) const;
  // The logical line that row belongs to (the row index counts line ends per block).
  int RowToLine(int row) const { return CountLinesBefore(row); }
  // The first row of logical line (line count maps to the row count).
  int LineToRow(int line) const;
  int LineCount() const;
  // The number of logical lines that end before row (rows that are not reWrapped).
  int CountLinesBefore(int row) const;
  // The last row a caret may stand on: Count(), or the last row when it ends without a break.
  int LastCaretRow() const;

  // The edit primitive: rows a..a+n-1 become text. origin is the caret the edit starts from,
  // which undo returns to; without one it is the start of row a. A NUL byte in text becomes a
  // space, as it does when a file is read: rows never hold one, so undo always puts back the
  // bytes it took. Answers how many NUL bytes were replaced.
  int ReplaceRows(int a, int n, std::string_view text, TRowCol origin);
  int ReplaceRows(int a, int n, std::string_view text) { return ReplaceRows(a, n, text, TRowCol{a, 0}); }
  // Row `row` with `removed` bytes at `byte` replaced by insert: what ReplaceRows of the whole
  // row would do, to the same text, undo, saved state and notifications. When the row's
  // wrapping cannot change (word wrap off, insert without line breaks) the row is changed in
  // place and undo keeps only the replaced bytes; otherwise it is ReplaceRows. NUL bytes as there.
  int ReplaceInRow(int row, std::size_t byte, std::size_t removed, std::string_view insert, TRowCol origin);
  // Puts back the bytes of an in-row undo step; returns its inverse. Inside an update block.
  TUndoInverse ApplyInRowStep(const TUndoData& r);
  // Rows first..first+oldCount-1 become the rows of the list, which is left empty.
  void SpliceRows(int first, int oldCount, TVornEditStringList&& rows);
  void DeleteRows(int first, int n);
  void InsertRows(int pos, const TVornEditStringList& rows);
  void TextToRows(std::string_view text, TVornEditStringList& rows) { wrapper_->TextToRows(*this, text, rows); }
  int CountRowsOfLine(std::string_view line) { return wrapper_->CountRowsOfLine(*this, line); }
  void RewrapAll() { wrapper_->RewrapAll(*this); }
  void UnwrapAll() { wrapper_->UnwrapAll(*this); }
  int UpdateBracketStates(int a, bool repaint) { return brackets_->UpdateBracketStates(*this, a, repaint); }
  void RecomputeBracketStates() { brackets_->RecomputeBracketStates(*this); }

  // Undo and redo entry points: apply one group. caret is where the asking view's caret
  // stands (redo returns there); the answer is where it goes now, or nothing when there was
  // nothing to apply.
  std::optional<TRowCol> UndoEdit(TRowCol caret = TRowCol{});
  std::optional<TRowCol> RedoEdit(TRowCol caret = TRowCol{});
  // The caret the running edit or undo step started from, and where undo puts it back.
  TRowCol EditOrigin() const { return editOrigin_; }
  void SetRestoredCaret(TRowCol caret) { restoredCaret_ = caret; }

  // Moves the line marks after lines were added or removed.
  void MoveLineMarks(int lineIndex, int lineDelta) { lineMarks_.AdjustForEdit(lineIndex, lineDelta); }
  // An undo or redo step was applied: views hear of it with the step's extent.
  void PostStep(const TStoreChange& change);
  // The modified-row marks were cleared (the text was saved or undone to its saved state).
  void ClearRowModifiedMarks();
  // Clears the undo history, removes every row and resets the views.
  void Clear() override;
  // Replaces the whole text by rows split from buffer (which the store keeps): one row per
  // line, stopping at the first NUL byte, no row for a final break, every word 0, then wrap
  // and bracket states. Runs in one update block.
  void LoadText(TByteBuffer&& buffer);
  // Replaces the whole text by the rows of a file image (which the store keeps): breaks CR LF,
  // CR or LF, the byte 0x1A ends the file, NUL bytes become spaces, a last line without a break
  // ends the text without one.
  void LoadFileImage(TByteBuffer&& bytes);

protected:
  void SetUpdateState(bool updating) override;

private:
  // The store as the line marks' host: its line count, and margins to repaint.
  class TMarkHost : public TLineMarkHost {
  public:
    explicit TMarkHost(TVornEditScreenStrings& store) : store_(store) {}
    int LineCount() const override { return store_.LineCount(); }
    void RepaintMargins() override;

  private:
    TVornEditScreenStrings& store_;
  };

  // Adds change to what the views hear when the outermost update block ends.
  void Post(const TStoreChange& change);
  void Deliver();
  void Recut(bool wrap, bool rewrapping);
  void ForgetUndoSteps();
  void WrapLoadedRows();
  TStoreChange CutPendingLines(int rows);
  void RenewBracketStates(int first, int n);
  void AppendLoadedRows(const char* begin, const char* end, bool stopAtNul);
  bool ReplaceWholeLines(int a, int n, int& oldRows);
  bool CanReplaceInRow(int row, std::size_t byte, std::size_t removed, std::string_view insert) const;
  TRowEnd EndKindFor(int first, int last, int& lastL, std::string_view text) const;
  std::string_view NewText(int first, int a, int last, int lastL, std::string_view text, std::string& joined) const;
  std::string BuildNewText(int first, int a, int last, int lastL, std::string_view text) const;

  std::vector<TVornEditView*> views_;
  TStoreChange pending_;
  bool hasPending_ = false;
  int bracketFirst_ = -1;  // rows the bracket walks changed since the last delivery
  int bracketLast_ = -1;
  TStoreChangeKind stepKind_ = scUndo;  // what an applied undo step is: undo or redo
  TScreenStringsUndoTarget undoTarget_{*this};
  TVornEditUndoObj undo_{undoTarget_};
  TMarkHost markHost_{*this};
  TVornEditLineMark lineMarks_{&markHost_};
  bool wordWrap_ = false;
  std::unique_ptr<TRowWrapper> wrapper_;
  bool rewrapping_ = false;
  int rewrapFrom_ = -1;
  int stepwiseRows_ = kStepwiseRewrapRows;
  std::unique_ptr<TBracketStateUpdater> brackets_;
  TRowCol editOrigin_;
  TRowCol restoredCaret_;
};

}  // namespace vorn
