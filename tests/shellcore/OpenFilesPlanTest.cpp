#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <set>

#include "TempFolder.h"
#include "shellcore/OpenFilesPlan.h"

namespace vorn {
namespace {

std::string Same(const std::string& name) { return name; }

TEST(OpenFilesPlan, AFreeWindowTakesTheFirstAndTheRestGoToOneNewProcess) {
  const std::set<std::string> shown = {"/w/b.txt"};
  auto elsewhere = [&](const std::string& n) { return shown.count(n) > 0; };
  TOpenWindowState window;
  window.monitor = 1;
  const TOpenFilesPlan plan = PlanOpenFiles({"/w/a.txt", "/w/b.txt", "/w/c d.txt", "/w/e.txt"}, true, ckEuc, window,
                                            elsewhere, Same);
  EXPECT_EQ(plan.openHere, "/w/a.txt");
  EXPECT_EQ(plan.showElsewhere, std::vector<std::string>{"/w/b.txt"});
  EXPECT_EQ(plan.newProcessParams, "-oe \"/w/c d.txt\" \"/w/e.txt\" -x1");

  // A window with a document, a modified one or a grep result opens nothing itself.
  for (int busy = 0; busy < 4; ++busy) {
    TOpenWindowState taken;
    taken.hasFileName = busy == 0;
    taken.modified = busy == 1;
    taken.grepRunning = busy == 2;
    taken.grepResult = busy == 3;
    const TOpenFilesPlan p = PlanOpenFiles({"/w/a.txt"}, false, ckSjis, taken, elsewhere, Same);
    EXPECT_FALSE(p.openHere);
    EXPECT_EQ(p.newProcessParams, "\"/w/a.txt\" -x0");
  }
  EXPECT_TRUE(PlanOpenFiles({"/w/b.txt"}, false, ckSjis, TOpenWindowState{true}, elsewhere, Same).newProcessParams.empty())
      << "only shown elsewhere: no new process";
}

TEST(OpenFilesPlan, TheWindowsFixedLineBreakTravelsUnlessItBelongsToAFixedCodeLeftBehind) {
  auto nowhere = [](const std::string&) { return false; };
  TOpenWindowState window;
  window.hasFileName = true;
  window.lineBreakGiven = true;
  window.lineBreak = lbLF;
  EXPECT_EQ(PlanOpenFiles({"/a"}, false, ckSjis, window, nowhere, Same).newProcessParams, "-rn \"/a\" -x0");
  window.openCodeGiven = true;
  EXPECT_EQ(PlanOpenFiles({"/a"}, false, ckSjis, window, nowhere, Same).newProcessParams, "\"/a\" -x0");
  EXPECT_EQ(PlanOpenFiles({"/a"}, true, ckUtf8N, window, nowhere, Same).newProcessParams, "-on -rn \"/a\" -x0");
  window.openCode = ckUnicodeBE;
  window.monitor = 2;
  EXPECT_EQ(NewFileParams(window), "-ob -rn -x2");
  EXPECT_EQ(NewFileParams(TOpenWindowState{}), "-x0");
}

TEST(OpenFilesPlan, LinksOpenTheirTargetsAndOnlyExistingFilesAreTakenFromADrop) {
  testing::TTempFolder dir;
  const std::string target = dir.Write("t.txt", "t");
  ASSERT_EQ(::symlink(target.c_str(), (dir / "l.txt").c_str()), 0);
  ASSERT_EQ(::mkdir((dir / "sub").c_str(), 0700), 0);
  const TOpenFilesPlan plan =
      PlanOpenFiles({dir / "l.txt"}, false, ckSjis, TOpenWindowState{}, [](const std::string&) { return false; });
  EXPECT_EQ(plan.openHere, target);
  EXPECT_EQ(DroppedFiles({dir / "sub", dir / "l.txt", dir / "missing", target}),
            (std::vector<std::string>{dir / "l.txt", target}));
}

}  // namespace
}  // namespace vorn
