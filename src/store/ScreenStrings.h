// TVornEditScreenStrings: the document's line store of display rows, shared by its views.
//
// Errors, store: an edit never fails for any text it is given and raises nothing the user
// caused; only exhaustion is raised (std::bad_alloc, std::length_error for one row over
// 2 GiB), for the shell to report with the document unchanged.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/BracketStateUpdater.h"
#include "store/LineMarkHook.h"
#include "store/PointerStringList.h"
#include "store/RowWrapper.h"
#include "store/UndoRecorder.h"
#include "store/VornEditView.h"

namespace vorn {

// The extent of the last edit, read by the views while an update block ends.
struct TLastChange {
  int FirstRow = 0;
  int OldRowCount = 0;
  int NewRowCount = 0;
  int RepaintRows = 0;
  bool Changed = false;
};

class TVornEditUndoObj;
struct TUndoInverse;
class TVornEditLineMark;
class TVornEditWrapOption;

class TVornEditScreenStrings : public TVornEditStringList {
public:
  TVornEditScreenStrings();
  ~TVornEditScreenStrings() override;

  // The views that show the store. Whoever shows it also shares its ownership (a
  // std::shared_ptr), so a view never outlives the store it is registered with.
  void AttachView(TVornEditView& view);
  void DetachView(TVornEditView& view);
  const std::vector<TVornEditView*>& Views() const { return views_; }
  // The deepest row any view wants bracket states for: its top row plus two screens.
  int TopRowOfViews() const;
  int ScreenRowsOfViews() const;

  const TLastChange& LastChange() const { return lastChange_; }
  void SetLastChange(const TLastChange& change) { lastChange_ = change; }

  // Hooks completed by the wrap, undo, parser and line-mark code.
  TUndoRecorder& Undo() { return *undo_; }
  TLineMarkHook& LineMarks() { return *lineMarks_; }
  TRowWrapper& Wrapper() { return *wrapper_; }
  TBracketStateUpdater& Brackets() { return *brackets_; }
  void SetUndo(std::unique_ptr<TUndoRecorder> undo) { undo_ = std::move(undo); }
  void SetLineMarks(std::unique_ptr<TLineMarkHook> marks) { lineMarks_ = std::move(marks); }
  void SetWrapper(std::unique_ptr<TRowWrapper> wrapper) { wrapper_ = std::move(wrapper); }
  void SetBrackets(std::unique_ptr<TBracketStateUpdater> brackets) { brackets_ = std::move(brackets); }
  // The full objects behind the undo and line-mark hooks.
  TVornEditUndoObj& UndoObj();
  TVornEditLineMark& LineMarkTable();

  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);
  bool Rewrapping() const { return rewrapping_; }
  void SetRewrapping(bool on) { rewrapping_ = on; }

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

  // The edit primitive: rows a..a+n-1 become text. origin is the caret the edit starts from,
  // which undo returns to; without one it is the start of row a.
  void ReplaceRows(int a, int n, std::string_view text, TRowCol origin);
  void ReplaceRows(int a, int n, std::string_view text) { ReplaceRows(a, n, text, TRowCol{a, 0}); }
  // Row `row` with `removed` bytes at `byte` replaced by insert: what ReplaceRows of the whole
  // row would do, to the same text, undo, saved state and notifications. When the row's
  // wrapping cannot change (word wrap off, insert without line breaks) the row is changed in
  // place and undo keeps only the replaced bytes; otherwise it is ReplaceRows.
  void ReplaceInRow(int row, std::size_t byte, std::size_t removed, std::string_view insert, TRowCol origin);
  // Puts back the bytes of an in-row undo step; returns its inverse. Inside an update block.
  TUndoInverse ApplyInRowStep(const TUndoData& r);
  void SpliceRows(int first, int oldCount, const TVornEditStringList& rows);
  void SpliceRows(int first, int oldCount, TVornEditStringList&& rows);
  void DeleteRows(int first, int n);
  void InsertRows(int pos, const TVornEditStringList& rows);
  void TextToRows(std::string_view text, TVornEditStringList& rows) { wrapper_->TextToRows(*this, text, rows); }
  int CountRowsOfLine(std::string_view line) { return wrapper_->CountRowsOfLine(*this, line); }
  void RewrapAll() { wrapper_->RewrapAll(*this); }
  void UnwrapAll() { wrapper_->UnwrapAll(*this); }
  int UpdateBracketStates(int a, bool repaint) { return brackets_->UpdateBracketStates(*this, a, repaint); }
  void RecomputeBracketStates() { brackets_->RecomputeBracketStates(*this); }

  // Undo and redo entry points: apply one group, then the views recompute their anchors.
  // caret is where the asking view's caret stands (redo returns there); the answer is where
  // it goes now, or nothing when there was nothing to apply.
  std::optional<TRowCol> UndoEdit(TRowCol caret = TRowCol{});
  std::optional<TRowCol> RedoEdit(TRowCol caret = TRowCol{});
  // The caret the running edit or undo step started from, and where undo puts it back.
  TRowCol EditOrigin() const { return editOrigin_; }
  void SetRestoredCaret(TRowCol caret) { restoredCaret_ = caret; }

  // Moves line marks and every view's search range after lines were added or removed.
  void AdjustForLines(int lineIndex, int lineDelta);
  // Clears the undo history, removes every row and resets the views.
  void Clear() override;
  // Replaces the whole text by rows split from buffer (which the store keeps): one row per
  // line, stopping at the first NUL byte, no row for a final break, every word 0, then wrap
  // and bracket states. Runs in one update block.
  void LoadText(TByteBuffer&& buffer);
  // Change notification to the views; off while the whole store is re-wrapped.
  void SetNotifyViews(bool on);

protected:
  void SetUpdateState(bool updating) override;

private:
  void ClampViews();
  void NotifyViewsChanged();
  bool ReplaceWholeLines(int a, int n, int& oldRows);
  bool CanReplaceInRow(int row, std::size_t byte, std::size_t removed, std::string_view insert) const;
  TRowEnd EndKindFor(int first, int last, int& lastL, std::string_view text) const;
  std::string_view NewText(int first, int a, int last, int lastL, std::string_view text, std::string& joined) const;
  std::string BuildNewText(int first, int a, int last, int lastL, std::string_view text) const;

  std::vector<TVornEditView*> views_;
  TLastChange lastChange_;
  std::unique_ptr<TUndoRecorder> undo_;
  std::unique_ptr<TLineMarkHook> lineMarks_;
  bool wordWrap_ = false;
  std::unique_ptr<TRowWrapper> wrapper_;
  bool rewrapping_ = false;
  std::unique_ptr<TBracketStateUpdater> brackets_;
  TRowCol editOrigin_;
  TRowCol restoredCaret_;
};

}  // namespace vorn
