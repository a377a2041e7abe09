// Outside programs' queries and moves on a pane, through the core's coordinate arithmetic.
#include "shellcore/BusEditQuery.h"

#include <algorithm>
#include <climits>
#include <cstdio>

namespace vorn {
namespace {

// The wire carries 64 bits; the core counts in int.
int Narrow(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT_MIN, INT_MAX)); }

}  // namespace

TBusReply AnswerEditQuery(TVornEditCore& core, TBusMessage which, std::int64_t wParam, std::int64_t lParam) {
  using R = TBusWindowHandler;
  const int w = Narrow(wParam), l = Narrow(lParam);
  switch (which) {
    case TBusMessage::bmGetCaretRowPos: return R::Handled(core.CaretRow());
    case TBusMessage::bmGetCaretColPos: return R::Handled(core.CaretCol());
    case TBusMessage::bmGetTopRow: return R::Handled(core.TopRow());
    case TBusMessage::bmRowToLine: return R::Handled(core.RowToLine(w));
    case TBusMessage::bmLineToRow: return R::Handled(core.LineToRow(w));
    case TBusMessage::bmCharToRow: return R::Handled(core.OffsetToPos(w).Row);
    case TBusMessage::bmCharToCol: return R::Handled(core.OffsetToPos(w).Col);
    case TBusMessage::bmRowColToChar: return R::Handled(core.GetOffsetAt(w, l));
    case TBusMessage::bmSetCaretPos:
      core.ClearSelection();
      core.GoToPosition(w, std::max(0, l));
      return R::Handled(1);
    case TBusMessage::bmSetTopRow:
      core.SetTopRow(w);
      return R::Handled(1);
    default: return R::NotHandled();
  }
}

std::string ViewDumpText(int tabWidth, const TVornEditColors* colors) {
  std::string text = "TabWidth=" + std::to_string(tabWidth) + "\n";
  if (!colors) return text;
  char line[80];
  for (int i = 0; i < colors->Count(); ++i) {
    const TVornEditColor& c = (*colors)[i];
    std::snprintf(line, sizeof line, "Color%d=%08X,%08X,%u\n", i, static_cast<unsigned>(c.Color()),
                  static_cast<unsigned>(c.BkColor()), static_cast<unsigned>(c.Style()));
    text += line;
  }
  return text;
}

}  // namespace vorn
