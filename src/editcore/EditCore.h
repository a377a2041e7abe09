// TVornEditCore: the editor control's Qt-free state and behaviour: caret, coordinates, moves, queries.
//
// Errors, editcore: control operations never raise; what they refuse (read-only text, a move
// past the text) they return as false or leave the state unchanged, as the caller needs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "editcore/Clipboard.h"
#include "editcore/DirtyRegion.h"
#include "editcore/Selection.h"
#include "options/EditOptions.h"
#include "options/EditSeikeiOption.h"
#include "store/ScreenStrings.h"
#include "store/VornEditStrings.h"
#include "syntax/EditParser.h"
#include "syntax/EditParserOptions.h"

namespace vorn {

struct TRefillRules;

// The widest caret column and horizontal scroll range.
constexpr int MaxColumns = 8191;

// How a movement treats the selection. Shift is the state of the key (or of the recorded
// macro step) that asked for the move; the core never reads the keyboard itself.
struct TMoveFlags {
  bool KeepSelection = false;
  bool Shift = false;
};

enum TNavKey : std::uint8_t { nkPageUp, nkPageDown, nkEnd, nkHome, nkLeft, nkRight, nkUp, nkDown };

struct TTextRange {
  int Start = 0;
  int End = 0;
  friend bool operator==(const TTextRange&, const TTextRange&) = default;
};

struct TPixelPoint {
  int X = 0;
  int Y = 0;
  friend bool operator==(const TPixelPoint&, const TPixelPoint&) = default;
};

// The answer to a point query: a text offset and the row holding it.
struct TCharAtPoint {
  int Offset = -1;
  int Row = -1;
};

// One pane's view of a shared store. It hears the store's changes and decides from them what to
// repaint and where its caret and selection go. The widget that owns a core reads Dirty() after
// each call and paints from it; the geometry it passes in must outlive the core.
class TVornEditCore : public TVornEditLinesOwner {
public:
  TVornEditCore(std::shared_ptr<TVornEditScreenStrings> store, const TVornEditGeometry& geometry);
  ~TVornEditCore() override;
  TVornEditCore(const TVornEditCore&) = delete;
  TVornEditCore& operator=(const TVornEditCore&) = delete;

  TVornEditScreenStrings& Store() const { return *store_; }
  const std::shared_ptr<TVornEditScreenStrings>& SharedStore() const { return store_; }
  // Leaves the own store (freed with its last user) and shows other's, as a split pane does.
  void ShareTextWith(const TVornEditCore& other);

  // --- options and modes -------------------------------------------------------------
  const TVornEditCaretValues& CaretOptions() const { return caretOptions_; }
  // Applies new caret options: the store wraps with their tab width, the caret settles again.
  void SetCaretOptions(const TVornEditCaretValues& values);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool on);
  bool BrowseMode() const { return browseMode_; }
  void SetBrowseMode(bool on);
  bool BrowseModeAsReadOnlyBehavior() const { return browseAsReadOnly_; }
  void SetBrowseModeAsReadOnlyBehavior(bool on);
  bool OverwriteMode() const { return overwrite_; }
  void SetOverwriteMode(bool on);
  // The caret is kept into view only by the pane with the focus; others keep their place.
  bool Focused() const { return focused_; }
  void SetFocused(bool on);
  void SetKeyRepeat(bool on) { keyRepeat_ = on; }
  bool KeyRepeat() const { return keyRepeat_; }
  void SetLeftButtonDown(bool on) { leftButtonDown_ = on; }
  // Macro playback supplies the Shift state and the fast-repeat flag of each step.
  void SetMacroPlayback(bool playing, bool shift = false, bool fastRepeat = false);

  // --- caret and view state (caret and top row: TVornEditView) ------------------------------
  int LeftCol() const { return leftCol_; }
  int TopLineNo() const;
  int DesiredCol() const { return desiredValid_ ? desiredCol_ : -1; }
  int CaretHideCount() const { return hideCount_; }
  bool CaretVisible() const;
  int VisibleRows() const;
  int VisibleCols() const;

  // Rows that hold the caret: 0..RowCount, or RowCount - 1 after a last row without a break.
  int RowCount() const { return store_->Count(); }
  int LastCaretRow() const;
  std::string GetRowText(int row) const;
  TRowEnd RowKind(int row) const;
  std::string ColumnMapOf(int row) const;
  int RowWidth(int row) const;
  // The tab expansion the word steps and column counts use (wrap-aware).
  std::string ExpandTabs(std::string_view s) const;
  int ColToByte(int row, int col) const;
  int ByteToCol(int row, int byte) const;

  // --- placement (Coordinates.cpp) -------------------------------------------------------
  void SetCaretRow(int row);
  void SetCaretCol(int col);
  void SetCaretPos(int row, int col);
  void SetCaretRowOffset(int firstRow, int offset);
  void SetCaretOffset(int offset);
  int GetCaretOffset() const;
  void GoToPosition(int row, int col);
  void ScrollCaretIntoView();
  void SetTopRow(int row);
  void SetLeftCol(int col);
  void EnsureRowVisible(int row);
  void SavePosition();
  void RestorePosition();
  int RowToLine(int row) const;
  int LineToRow(int line) const;
  int RowStartOffset(int row) const;
  int GetOffsetAt(int row, int col) const;
  TRowCol OffsetToPos(int offset) const;
  // Rows a..b with the margin rows of their whole logical lines.
  void InvalidateRows(int first, int last);
  void Invalidate() { dirty_.All = true; }
  void BeginCaretHide();
  void EndCaretHide();

  // --- selection (Selection.cpp) ------------------------------------------------------------
  // Active only; an anchored selection shows nothing yet.
  bool HasSelection() const { return sel_.State == TSelectionState::Active; }
  const TSelection& Selection() const { return sel_; }
  TRowCol SelectionAnchor() const { return {sel_.Anchor.Row, sel_.Anchor.Col}; }
  void StartSelection();
  void ExtendSelection();
  void SelectRows(int first, int end);
  // The selection as ordered text offsets; the caret offset twice without one.
  TTextRange SelectionOffsets() const;
  bool BoxMode() const { return sel_.Box; }
  // On frees the caret (a box may reach past row ends) until box mode ends, which also
  // happens whenever the selection is cleared.
  void SetBoxMode(bool on);
  void DeleteSelection();
  std::string GetSelText() const;
  int GetSelLength() const;
  void SetSelLength(int n);
  void SelectAll();
  void SelectLine(int row);
  void SelectWord();
  // A mouse drag of the selection is under way: box mode does not switch meanwhile.
  void SetSelectionDragging(bool on) { selDragging_ = on; }
  void ClearSelection();
  std::function<void(bool selected)> OnSelectionChange;
  std::function<void()> OnSelectionModeChange;

  // --- clipboard (ClipboardOps.cpp) ----------------------------------------------------------
  // The clipboard must outlive the core; without one the clipboard operations do nothing.
  void SetClipboard(TVornClipboard* clipboard) { clipboard_ = clipboard; }
  std::string QuoteHeader = "> ";
  bool CopyAndSelClear = false;
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void InyouCopy();
  void InyouPaste();
  void CopyLine();
  void CopyWord();
  // The token at the caret, the text CopyWord copies; empty when there is none.
  std::string WordAtCaret() const;
  void BoxPaste(std::string_view text);
  // The platform messages: copy and cut empty the clipboard when there is nothing to take.
  void WmCopy();
  void WmCut();
  void WmPaste();
  void WmClear();
  // header before the text and after every line break but a final one; empty text stays empty.
  static std::string QuoteText(std::string_view text, std::string_view header);

  // --- editing (Editing.cpp) --------------------------------------------------------------
  // Every change is one ReplaceRows call and so one undo step. Inserted text has its lone CRs
  // and LFs made CR LF first, as the rows will hold them; a NUL byte becomes a space, which
  // OnNulReplaced reports.
  void InsertText(std::string_view sjis);
  // Typed text: overwrites by columns in overwrite mode; raises OnInputStr.
  void TypeText(std::string_view sjis);
  // A character message: inserted only when printable single-byte; false when it was dropped.
  bool TypeCharMessage(unsigned char c);
  void InsertLineBreak(bool shift = false, bool ctrl = false);
  void InsertTab(bool soft);
  void TabKey(bool shift, bool ctrl) { if (!shift && !ctrl) InsertTab(caretOptions_.SoftTab); }
  void BackSpace();
  void DeleteChar();
  void Undo();
  void Redo();
  bool CanUndo() const;
  bool CanRedo() const;
  void ClearUndo();
  // The document differs from its saved text: asked of the undo list, which every pane shares.
  bool Modified() const { return !store_->UndoObj().IsAtSavedState(); }
  // False marks the current undo position as the saved text (after loading or saving); true
  // leaves no undo position that counts as saved.
  void SetModified(bool modified);
  bool WantTabs = true;
  std::function<void(std::string_view typed)> OnInputStr;
  // An edit of this pane put spaces where its text held NUL bytes (count of them).
  std::function<void(int count)> OnNulReplaced;

  // --- line, case, tab and indent commands (LineCommands.cpp, TextCommands.cpp) -------------
  // Each answers whether it changed the text. Words are the tokenizer's character-class tokens.
  bool DeleteWord();
  bool DeleteLine();
  bool DeleteLineEnd();
  bool DeleteLineStart();
  bool InsertEmptyLine();
  enum class TCaseMapping { Upper, Lower, Exchange };
  bool ChangeCase(TCaseMapping mapping);
  bool TabToSpace();
  bool SpaceToTab();
  bool InsertIndent();
  bool ReverseIndent();
  bool LeftAlign();
  bool CenterAlign();
  bool RightAlign();
  // What CleanUpBeforeSave does, from the file type's settings.
  struct TSaveCleanUp {
    bool TrimRight = false;
    bool TrimRightWSpace = false;
    bool ExpandTab = false;
    bool ExpandWSpace = false;
    bool ClearUndoAtSave = false;
  };
  TSaveCleanUp SaveCleanUp;
  // The width the alignments fill (the formatting options' wrap count).
  int AlignWidth = 70;
  bool CleanUpBeforeSave();

  // --- dragging the selection and hot spots (SelectionDrop.cpp) ---------------------------
  // The cell lies in the selection, its ends included: a drop there only clears it.
  bool CellInSelection(TRowCol cell) const;
  // Moves the selected text to cell, or copies it there, as one undo step; a drop inside the
  // selection (or on read-only text) only clears it. True when the text changed.
  bool DropSelectionAt(TRowCol cell, bool copy);
  // Text dropped from another control or program, at the caret: a box as a box.
  void InsertDropped(std::string_view sjis, bool box);
  // Which tokens count as hot spots (double-click and hand cursor).
  struct THotSpotKinds {
    bool Url = true;
    bool Mail = true;
    bool FileName = false;
    bool MailId = false;
  };
  void SetHotSpotKinds(const THotSpotKinds& kinds);
  struct THotSpot {
    TTokenKind Kind = tkEndOfLine;
    std::string Text;
  };
  // The token under a cell of the text; kind tkEndOfLine past a row's end or the text.
  THotSpot TokenAtCell(TRowCol cell) const;
  // Pasted or dropped text held characters Shift_JIS cannot hold; they were left out.
  std::function<void(int count)> OnUnheldCharacters;

  // --- paragraph formatting (Formatting.cpp) ---------------------------------------------
  TVornEditSeikeiOption& SeikeiOption() { return seikei_; }
  const TVornEditSeikeiOption& SeikeiOption() const { return seikei_; }
  // Refills the caret's paragraph (or the selected lines) as one undo step; autoRun puts the
  // caret back on its character, else it goes to the end of the refilled text.
  bool Seikei(bool autoRun);
  // Runs the automatic formatting once when typed holds one of the trigger characters.
  bool AutoSeikei(std::string_view typed);
  // Splits the caret's line, the new line starting with its indentation, item marker or prefix.
  bool DivideLine();

  // --- movements (CaretMoves.cpp) --------------------------------------------------------
  void CursorUp(TMoveFlags f = {});
  void CursorDown(TMoveFlags f = {});
  void CursorLeft(TMoveFlags f = {});
  void CursorRight(TMoveFlags f = {});
  void WordLeft(TMoveFlags f = {});
  void WordRight(TMoveFlags f = {});
  void MoveLineStart(TMoveFlags f = {});
  void MoveLineEnd(TMoveFlags f = {});
  void MoveLogicalLineStart(TMoveFlags f = {});
  void MoveLogicalLineEnd(TMoveFlags f = {});
  void MoveFileStart(TMoveFlags f = {});
  void MoveFileEnd(TMoveFlags f = {});
  void MoveWindowStart(TMoveFlags f = {});
  void MoveWindowEnd(TMoveFlags f = {});
  void NextPage(TMoveFlags f = {});
  void PrevPage(TMoveFlags f = {});
  void LineDown(TMoveFlags f = {});
  void LineUp(TMoveFlags f = {});
  void ScrollByPage(int n);
  // A navigation key the key map did not take, with the modifiers of its key message.
  void NavigationKey(TNavKey key, bool shift, bool ctrl);
  // One word step from pos; false when there is none.
  bool WordStep(TRowCol& pos, bool forward) const;

  // --- edit-control queries (EditQueries.cpp) -------------------------------------------
  TTextRange EmGetSel() const { return SelectionOffsets(); }
  // (0, -1) selects all, start -1 clears, any other negative end means "to the end".
  void EmSetSel(int start, int end);
  int EmLineFromChar(int offset) const;
  int EmLineIndex(int row) const;
  int EmLineLength(int offset) const;
  // Copies at most bufferSize bytes of row, without a terminator; the count copied.
  int EmGetLine(int row, int bufferSize, std::string& out) const;
  int EmGetLineCount() const { return RowCount(); }
  int EmGetFirstVisibleLine() const { return TopRow(); }
  void EmScrollCaret();
  TPixelPoint EmPosFromChar(int offset) const;
  TCharAtPoint EmCharFromPos(TPixelPoint p) const;
  int TextLength() const { return RowStartOffset(RowCount()); }

  // --- the find condition ---------------------------------------------------------------------
  // The pattern the find commands use and the painter colours (entry 31 "検索語"), with its
  // line range; changing it repaints the pane. Highlighting follows ToneFindStr.
  TVornEditKeyword& FindCondition() { return *findCondition_; }
  const TVornEditKeyword& FindCondition() const { return *findCondition_; }
  bool ToneFindStr() const { return toneFindStr_; }
  void SetToneFindStr(bool on);

  // --- in-control search (FindSearch.cpp, BracketSearch.cpp) ------------------------------------
  // Result bits of FindDown and FindUp.
  enum : int { frFound = 1, frReplaced = 2, frRangeEnd = 4, frAllReplaced = 8, frCancelled = 16 };
  // The answers a confirmation gives: yes, no, cancel, all (the platform's dialog results).
  enum : int { caYes = 6, caNo = 7, caCancel = 2, caAll = 8 };
  // Asked before each replacement; without one the answer is cancel.
  using TConfirmReplace = std::function<int()>;
  int FindDown(const TConfirmReplace& confirm = {}, const TReplaceProgressEvent& progress = {});
  int FindUp(const TConfirmReplace& confirm = {});
  // Replaces every match from the caret to the range end as one undo step; base counts
  // replacements made before. The count with base, 0 or less when nothing was replaced.
  int ReplaceAll(int base = 0, const TReplaceProgressEvent& progress = {});
  void ClearFindItem();
  void SetFindCondition(const TBregexpObj& condition);
  // 0 found, -1 no bracket at the caret, -2 no closing one, -3 no opening one.
  int SearchBracket(TMoveFlags f = {});
  // The view's keywords and brackets the bracket search tokenizes with (null: character classes).
  void SetViewInfo(const TVornEditViewInfo* view) { viewInfo_ = view; }

  // --- line marks (MarkCommands.cpp) ----------------------------------------------------------
  // Mark argument of a macro step: none (the interactive rule), "0" (remove) or another.
  enum class TMarkArg { None, Remove, Set };
  void ToggleMark(TMarkArg arg = TMarkArg::None);
  void SetMark(int n, TMarkArg arg = TMarkArg::None);
  void JumpMark(int n, TMoveFlags f = {});
  void FindUnderMark(TMoveFlags f = {});
  void FindOverMark(TMoveFlags f = {});
  void ClearMarks(bool unnumbered, bool numbered);

  // --- what the widget repaints ----------------------------------------------------------
  const TDirtyRegion& Dirty() const { return dirty_; }
  // Counts the changes of the rows (edits, loads, re-wraps): what a painter remembered of the
  // rows' tokens holds while it stays the same.
  int TextVersion() const { return textVersion_; }
  TDirtyRegion TakeDirty();
  std::function<void()> OnCaretMoved;
  std::function<void()> OnChange;

  // --- the store's changes -------------------------------------------------------------------
  void StoreChanged(const TStoreChange& change) override;
  void PlaceCaretAfterLinesEdit(int row, int offset) override;

private:
  enum class TMove { Vertical, Horizontal };
  bool WordWrap() const { return store_->WordWrap(); }
  int WrapByte() const;
  int TabSpaceCount() const { return caretOptions_.TabSpaceCount; }
  void Settle(TMove move, int direction);
  void RefreshCaret();
  void RecountTopLineNo();
  int WalkLinesFromTop(int row) const;
  TRowCol RowColOfOffset(int firstRow, int offset) const;
  void InvalidateRowWithUnderline(int row);
  // Selection before and after a movement (keepSelection, extend).
  bool BeginMove(TMoveFlags f);
  void EndMove(TMoveFlags f, bool extend);
  void MoveLineEndHere();
  int RepeatStep(bool atEdge) const { return keyRepeat_ && atEdge ? 2 : 1; }
  void SettleAfterForeignEdit();
  // The rows a change of the text makes dirty; the whole area when more rows moved than show.
  void MarkChangedRows(const TStoreChange& change);
  void ResetToTextStart();
  void AfterRewrap();
  void AfterRewrapRows(const TStoreChange& change);
  // False in read-only mode. Otherwise a stepwise wrap is finished first: an edit's rows and
  // the undo step it records must be those of the final cut.
  bool MayEdit();
  void ReportNuls(int replaced);
  bool DeleteFromCaretTo(int row, int col);
  void SnapAnchor();

  // Selection internals (Selection.cpp).
  // One row of a selection's rows with the selected bytes taken out; Cut is where they were.
  struct TRemovedRow {
    std::string Text;
    TRowEnd Kind = reLineEnd;
    int Cut = 0;
  };
  void UpdateSelectionRanges();
  void RepaintSelectionDifference();
  // The bytes [first, end) of row that lie in the box's columns.
  std::pair<int, int> BoxBytes(int row) const;
  std::vector<TRemovedRow> RemovedRows() const;
  void DropSelection();
  int CaretByte() const;
  bool TokenAtCaret(int& firstRow, int& start, int& end) const;

  // Formatting internals (Formatting.cpp).
  struct TGathered;
  TGathered GatherParagraph(int caretLineOffset);
  TGathered GatherSelectedLines();
  TRefillRules RefillRules() const;
  // The logical line holding row, without its line break; *lastRow gets its last row.
  std::string FormattingLine(int row, int* lastRow) const;

  // Editing internals (Editing.cpp): the caret after an edit is a byte offset counted from a
  // row that the edit cannot move.
  struct TRestorePoint {
    int Row = 0;
    int Offset = 0;
  };
  TRestorePoint RestorePointAt(int row, int byte) const;
  void ReplaceAndPlace(int first, int count, std::string_view text, TRestorePoint caret);
  // The edit as ReplaceAndPlace of the whole row would make it, with the bytes changed in place
  // where the store can (a keystroke in a 50 MB row then copies no row).
  void ReplaceInRowAndPlace(int row, int byte, int removed, std::string_view insert, TRestorePoint caret);
  void Overwrite(std::string_view s);
  void BackSpaceAtRowStart(int row);
  void CopyWithQuote(bool quote, bool mayClear);
  // Line commands (LineCommands.cpp, TextCommands.cpp).
  void SelectBetween(int firstRow, int from, int to);
  bool SelectWholeLines();
  // The logical lines holding rows first..last, the last one with its line break.
  void SelectLineRange(int first, int last);
  bool SelectionSpansRows() const { return HasSelection() && sel_.Bytes.StartRow != sel_.Bytes.EndRow; }
  bool ReplaceSelectionText(const std::string& text, bool reselect);
  enum class TAlign { Left, Center, Right };
  bool Align(TAlign how);
  void PasteWithQuote(bool quote);

  std::shared_ptr<TVornEditScreenStrings> store_;
  TVornEditCaretValues caretOptions_;
  int leftCol_ = 0;
  mutable int topLineNo_ = 0;
  mutable int topLineRow_ = 0;  // the top row topLineNo_ was counted for
  mutable bool topLineValid_ = true;
  int desiredCol_ = 0;
  bool desiredValid_ = false;
  int hideCount_ = 0;
  bool batchMove_ = false;
  TRowCol saved_;
  int savedTop_ = 0;
  TSelection sel_;
  bool selDragging_ = false;
  bool savedFreeCaret_ = false;  // FreeCaret from before box mode forced it on
  TVornClipboard* clipboard_ = nullptr;
  bool readOnly_ = false;
  bool browseMode_ = false;
  bool browseAsReadOnly_ = false;
  bool overwrite_ = false;
  bool focused_ = false;
  bool keyRepeat_ = false;
  bool leftButtonDown_ = false;
  bool macroPlaying_ = false;
  bool macroShift_ = false;
  bool fastRepeat_ = false;
  TDirtyRegion dirty_;
  int textVersion_ = 0;
  std::unique_ptr<TVornEditKeyword> findCondition_;
  TVornEditSeikeiOption seikei_;
  THotSpotKinds hotSpotKinds_;
  mutable std::unique_ptr<TVornEditViewInfo> hotView_;
  bool toneFindStr_ = true;
  bool emptyMatch_ = false;
  const TVornEditViewInfo* viewInfo_ = nullptr;
  // Search internals (FindSearch.cpp).
  struct TFindStart {
    int Line = 0;
    int Offset = 0;  // bytes into the logical line
  };
  TFindStart FindStartPosition() const;
  void SelectMatch(int line, int pos, int length);
  int ReplaceMatch(int line, int pos, bool down);
  void KeepRangeWithLines(const TStoreChange& change);
  void JumpToLine(int line, TMoveFlags f);
};

}  // namespace vorn
