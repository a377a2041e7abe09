// The program's icon set: every numbered function has a picture of its own set behind the
// desktop theme (a missing file would leave a blank button on a desktop without that name),
// the pictures draw at the tool bar's sizes and at twice them, and numbered families differ.
#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QPixmap>

#include <set>
#include <string>

#include "qtplatform/ThemeIcons.h"
#include "shellcore/FunctionIcons.h"
#include "shellcore/FunctionTable.h"

namespace vorn {
namespace {

// Pixels a person sees: not wholly transparent, and not one flat colour.
bool ShowsAPicture(const QIcon& icon, int side) {
  const QImage image = icon.pixmap(QSize(side, side)).toImage().convertToFormat(QImage::Format_ARGB32);
  if (image.isNull()) return false;
  int opaque = 0;
  std::set<QRgb> colours;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) > 64) {
        ++opaque;
        colours.insert(image.pixel(x, y));
      }
  return opaque >= side * side / 10 && colours.size() > 2;
}

TEST(ThemeIcons, EveryFunctionHasABundledPictureAtEverySize) {
  InstallBundledIcons();
  for (int f = 0; f < kFunctionCount; ++f) {
    const std::string name(FunctionIconName(f));
    ASSERT_FALSE(name.empty()) << FunctionByNumber(f)->Name;
    const QIcon bundled = BundledIcon(name);
    ASSERT_FALSE(bundled.isNull()) << name << " is not in the bundled set";
    for (int side : {16, 22, 24, 32, 48})
      EXPECT_TRUE(ShowsAPicture(bundled, side)) << name << " at " << side << " px";
    EXPECT_TRUE(ShowsAPicture(NamedIcon(name, FunctionIconNumber(f)), 16)) << name;
  }
  EXPECT_TRUE(FunctionIconName(-1).empty());
  EXPECT_TRUE(FunctionIconName(kFunctionCount).empty());
}

TEST(ThemeIcons, NumberedFamiliesShareAPictureAndShowTheirNumber) {
  const int mark1 = FunctionByName("SetMark1")->Number, mark0 = FunctionByName("SetMark0")->Number;
  const int macro20 = FunctionByName("Macro20")->Number;
  EXPECT_EQ(FunctionIconNumber(mark1), 1);
  EXPECT_EQ(FunctionIconNumber(mark0), 0);
  EXPECT_EQ(FunctionIconNumber(macro20), 20);
  EXPECT_EQ(FunctionIconNumber(FunctionByName("MaximizeVertical")->Number), -1);
  EXPECT_EQ(FunctionIconNumber(FunctionByName("ReplayMacro")->Number), -1);
  EXPECT_EQ(FunctionIconName(mark1), FunctionIconName(mark0));

  const QImage one = NamedIcon(FunctionIconName(mark1), 1).pixmap(32, 32).toImage();
  const QImage zero = NamedIcon(FunctionIconName(mark0), 0).pixmap(32, 32).toImage();
  const QImage plain = NamedIcon(FunctionIconName(mark1)).pixmap(32, 32).toImage();
  EXPECT_NE(one, zero);
  EXPECT_NE(one, plain);
}

}  // namespace
}  // namespace vorn
