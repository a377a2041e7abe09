// The colours the editor control paints with until the colour list of the view options exists.
#pragma once

#include <QColor>

namespace vorn {

struct TEditColors {
  QColor Text{0, 0, 0};
  QColor Back{255, 255, 255};
  QColor SelText{255, 255, 255};
  QColor SelBack{0, 0, 128};
  QColor RetMark{0, 128, 128};
  QColor Eof{0, 128, 128};
  QColor Caret{0, 0, 0};
  QColor PreeditBack{255, 255, 208};
};

}  // namespace vorn
