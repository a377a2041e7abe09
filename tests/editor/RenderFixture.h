// View options and a look with every mark, ruler and margin on, for the rendering tests.
#pragma once

#include <memory>
#include <string>

#include "editor/VornEdit.h"
#include "regex/BregexpUtil.h"

namespace vorn::test {

// A C-like file type: "/*" "*/" brackets (entry 19), "//" comments, double quotes, and the
// keywords "int" (whole word, entry 17) and "a" (entry 18).
inline std::shared_ptr<TVornEditViewInfo> CLikeView() {
  auto view = std::make_shared<TVornEditViewInfo>(RegexpBinding());
  view->SetQuotation("\"");
  view->SetKeyword(true);
  TVornEditBracketItem& b = view->Brackets().Add();
  b.LeftBracket().SetPlainText(true);
  b.LeftBracket().SetPattern("/*");
  b.RightBracket().SetPlainText(true);
  b.RightBracket().SetPattern("*/");
  b.SetColorIndex(19);
  view->Colors()[19].SetBkColor(0x00E0FFE0);
  view->Commenter1().SetPlainText(true);
  view->Commenter1().SetPattern("//");
  TVornEditKeyword& k = view->Keywords().AddItem();
  k.SetPattern("int");
  k.SetWholeWord(true);
  k.SetColorIndex(17);
  TVornEditKeyword& a = view->Keywords().AddItem();
  a.SetPattern("a");
  a.SetColorIndex(18);
  return view;
}

inline TPaneLook FullLook() {
  TPaneLook look;
  look.Marks = {true, true, true, true, true, true, true};
  look.VerticalRuler = look.HorizontalRuler = look.LeftMarginLine = true;
  look.WrapMarker = true;
  look.WrapCount = 20;
  return look;
}

inline void StyleForRendering(TVornEdit& edit) {
  edit.SetViewOptions(CLikeView());
  edit.SetLook(FullLook());
}

}  // namespace vorn::test
