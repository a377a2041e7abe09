// The grep progress window driving real runs offscreen: the result text handed on, and "中止"
// ending a long run quickly.
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "TempFolder.h"
#include "dialogs/GrepExecForm.h"
#include "encoding/jconvert.h"
#include "settings/SjisText.h"
#include "syntax/KeyWord.h"

namespace vorn {
namespace {

using testing::TTempFolder;

std::unique_ptr<TGrepKeyWord> Condition(const std::string& pattern, const std::string& folder) {
  auto made = std::make_unique<TGrepKeyWord>();
  TGrepKeyWord& c = *made;
  c.SetPattern(pattern);
  c.SetPlainText(true);
  c.SetIgnoreCase(false);
  c.BaseFolder = folder;
  c.FileMask = "*.txt";
  c.SubFolders = true;
  c.RelativePath = true;
  c.DetectCode = true;
  return made;
}

TEST(GrepExecForm, RunsAGrepOverMixedCodesAndHandsTheResultTextOn) {
  TTempFolder dir;
  dir.Write("a.txt", Sjis("一行目\r\n二行目 日本語 日本語\r\n"));
  std::filesystem::create_directories(dir / "sub");
  dir.Write("sub/b.txt", "x\n" + ConvertCharCode(Sjis("日本語\n"), ckSjis, ckUtf8N));
  dir.Write("sub/c.dat", Sjis("日本語\n"));  // outside the mask

  QWidget window;
  TGrepExecForm form(&window);
  TGrepOutcome handed;
  form.SetOnFinished([&](const TGrepOutcome& o) { handed = o; });
  const TGrepOutcome outcome = form.Execute(*Condition(Sjis("日本語"), dir.Path()));

  ASSERT_TRUE(outcome.Started);
  const std::string header = std::string(80, '=') + "\r\n" + Sjis("    GREP検索結果") + "\r\n" +
                             Sjis("    Grep(\"日本語\",\"*.txt\",1,1,0,0,0,0)") + "\r\n" + std::string(80, '=') + "\r\n";
  const std::string a = Sjis("a.txt(2):二行目 日本語 日本語") + "\r\n";
  const std::string b = Sjis("sub/b.txt(2):日本語") + "\r\n";
  EXPECT_EQ(outcome.Text, header + a + b);
  EXPECT_EQ(outcome.Summary.HitCount, 3);
  EXPECT_EQ(outcome.Summary.FileCount, 2);
  EXPECT_EQ(outcome.StatusText, Sjis("検索マッチ数：3    マッチしたファイル数：2"));
  EXPECT_EQ(outcome.Lines.back().Path, dir / "sub/b.txt");
  EXPECT_EQ(handed.Text, outcome.Text);
  EXPECT_FALSE(form.Cancelled());
  EXPECT_EQ(form.FilenameLabel()->text(), QStringLiteral("終了処理中"));

  const TGrepOutcome none = form.Execute(*Condition("nowhere", dir.Path()));
  EXPECT_EQ(none.Text, std::string(80, '=') + "\r\n" + Sjis("    GREP検索結果") + "\r\n" +
                           "    Grep(\"nowhere\",\"*.txt\",1,1,0,0,0,0)\r\n" + std::string(80, '=') + "\r\n");
  EXPECT_EQ(none.StatusText, Sjis("検索語がマッチするファイルはありませんでした"));
}

TEST(GrepExecForm, RefusedPatternIsReportedAndNothingRuns) {
  TTempFolder dir;
  dir.Write("a.txt", "x\n");
  auto c = Condition("(", dir.Path());
  c->SetPlainText(false);
  TGrepExecForm form;
  QString shown;
  QTimer::singleShot(0, [&] {
    if (QWidget* box = QApplication::activeModalWidget()) {
      shown = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
      box->close();
    }
  });
  const TGrepOutcome outcome = form.Execute(*c);
  EXPECT_FALSE(outcome.Started);
  EXPECT_TRUE(shown.startsWith(QStringLiteral("検索条件の指定が正しくありません。\r\n「"))) << shown.toStdString();
  EXPECT_GT(shown.size(), QStringLiteral("検索条件の指定が正しくありません。\r\n「」").size());
}

// A tree large enough that the run is still going when "中止" is pressed.
void WriteLongTree(const TTempFolder& dir) {
  std::string text;
  while (text.size() < (1 << 20)) text += Sjis("検索されない行 static int value = 42;") + "\r\n";
  const std::string utf8 = ConvertCharCode(text, ckSjis, ckUtf8N);
  for (int f = 0; f < 96; ++f) dir.Write("f" + std::to_string(f) + ".txt", f % 2 ? utf8 : text);
}

// How soon the run ends is a figure of the grep benchmark; this checks that "中止" ends the run
// long before it would end by itself, on a machine however loaded.
TEST(GrepExecForm, StopEndsALongRunAtOnce) {
  TTempFolder dir;
  WriteLongTree(dir);
  TGrepExecForm form;
  form.SetRefreshIntervalMs(20);
  QElapsedTimer sinceStop;
  // Pressed a little after the start, while the run is surely under way (the run is asserted
  // below to have been cut short).
  QTimer::singleShot(60, [&] {
    sinceStop.start();
    form.StopButton()->click();
  });
  qint64 stopToEnd = -1;
  form.SetOnFinished([&](const TGrepOutcome&) { stopToEnd = sinceStop.isValid() ? sinceStop.elapsed() : -1; });
  // No literal every match holds: every line goes through the regular expression, which keeps
  // the run going long enough on any machine.
  auto condition = Condition("\\w+q|\\d+x", dir.Path());
  condition->SetPlainText(false);
  const TGrepOutcome outcome = form.Execute(*condition);
  ASSERT_TRUE(sinceStop.isValid());
  EXPECT_TRUE(outcome.Summary.Cancelled);
  EXPECT_TRUE(form.Cancelled());
  EXPECT_GE(stopToEnd, 0);
  EXPECT_LE(stopToEnd, 1000);
}

}  // namespace
}  // namespace vorn
