// What a new pane takes over from the pane it comes from: a split's lower pane and a sub
// window's pane look and behave as the pane the user was working in.
#pragma once

namespace vorn {

class TVornEdit;

// Font, colours, caret and tab behaviour, read-only and browse state, insert mode, modified
// flag, save clean-ups and alignment width. The document is shared already; caret and scroll
// position are the caller's to set, after the pane has its size.
void CopyPaneSettings(const TVornEdit& from, TVornEdit& to);

// Scrolls pane to topRow and puts the caret at (caretRow, caretCol).
void ShowRows(TVornEdit& pane, int topRow, int caretRow, int caretCol);

}  // namespace vorn
