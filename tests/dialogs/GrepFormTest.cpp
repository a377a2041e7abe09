// The grep dialog offscreen: its OK checks, the condition it builds, "GREP.ini" across two
// openings, the open-file mode and the folder tree; then a run of what it built.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>

#include "TempFolder.h"
#include "dialogs/GrepExecForm.h"
#include "dialogs/GrepForm.h"
#include "settings/SjisText.h"
#include "settings/VornMemInifile.h"
#include "syntax/KeyWord.h"

namespace vorn {
namespace {

using testing::TTempFolder;

// Closes the next message box and returns its text through `shown`.
void CloseNextBox(QString& shown) {
  QTimer::singleShot(0, [&shown] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    shown = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->text();
    box->close();
  });
}

TEST(GrepForm, OkRefusesAnEmptyWordAndABadPatternAndStaysOpen) {
  TTempFolder dir;
  TGrepForm form(dir / "GREP.ini", "");
  form.show();
  QString shown;
  CloseNextBox(shown);
  form.accept();
  EXPECT_EQ(shown, QStringLiteral("検索語が指定されていません"));
  EXPECT_TRUE(form.isVisible());

  form.KeywordCombo()->setEditText(QStringLiteral("a(b"));
  form.UseJreCheck()->setChecked(true);
  CloseNextBox(shown);
  form.accept();
  EXPECT_TRUE(shown.startsWith(QStringLiteral("検索条件の指定が正しくありません。\r\n「"))) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith(QStringLiteral("」")));
  EXPECT_TRUE(form.isVisible());
  EXPECT_EQ(form.result(), 0);
}

TEST(GrepForm, ConditionAndHistoriesSurviveInGrepIniAndTheRunSearchesTheChosenFolder) {
  TTempFolder user, tree;
  std::filesystem::create_directories(tree / "src/deep");
  tree.Write("src/deep/x.txt", "one\nTwo words\n");
  tree.Write("src/y.txt", "two\n");
  const std::string ini = user / "GREP.ini";
  {
    TGrepForm form(ini, "");
    EXPECT_FALSE(form.OpenFileCheck()->isEnabled());
    // With no "GREP.ini" yet, "IgnoreCase" reads as false: letter case is told apart.
    EXPECT_TRUE(form.CaseCheck()->isChecked());
    form.CaseCheck()->setChecked(false);
    form.KeywordCombo()->setEditText(QStringLiteral("two"));
    form.MaskCombo()->setEditText(QStringLiteral("src/"));
    form.PathCombo()->setEditText(QString::fromStdString(tree.Path()));
    form.SubFolderCheck()->setChecked(true);
    form.RelativePathCheck()->setChecked(true);
    form.UsePrevPathHistCheck()->setChecked(true);
    form.UsePrevPathHist2Check()->setChecked(true);
    form.accept();
    ASSERT_EQ(form.result(), QDialog::Accepted);
    const TGrepKeyWord& c = form.Condition();
    EXPECT_EQ(c.FileMask, "src/*.*");
    EXPECT_EQ(c.BaseFolder, tree.Path());
    EXPECT_TRUE(c.SubFolders && c.RelativePath && c.DetectCode && c.IgnoreCase() && c.PlainText());

    TGrepExecForm exec;
    const TGrepOutcome outcome = exec.Execute(c);
    EXPECT_EQ(outcome.Summary.HitCount, 2);
    EXPECT_NE(outcome.Text.find("deep/x.txt(2):Two words\r\n"), std::string::npos) << outcome.Text;
    EXPECT_NE(outcome.Text.find("y.txt(1):two\r\n"), std::string::npos);
  }
  {
    TGrepForm form(ini, "");
    EXPECT_TRUE(form.SubFolderCheck()->isChecked());
    EXPECT_FALSE(form.CaseCheck()->isChecked());
    EXPECT_EQ(form.MaskCombo()->currentText(), QStringLiteral("src/*.*"));
    EXPECT_EQ(form.PathCombo()->currentText(), QString::fromStdString(tree.Path()));
    ASSERT_EQ(form.KeywordCombo()->count(), 1);
    form.KeywordCombo()->setEditText(QStringLiteral("TWO"));
    form.KeywordCombo()->addItem(QStringLiteral("ignored"));  // only the stored history counts
    // A regular expression tells letter case apart.
    form.UseJreCheck()->setChecked(true);
    EXPECT_TRUE(form.CaseCheck()->isChecked());
    form.OnlyContentsCheck()->setChecked(true);
    EXPECT_FALSE(form.RelativePathCheck()->isEnabled());
    form.accept();
    EXPECT_FALSE(form.Condition().IgnoreCase());
    EXPECT_TRUE(form.Condition().MatchedTextOnly);
  }
  TVornMemInifile stored(ini);
  EXPECT_EQ(stored.ReadInteger("KeywordHist", "Count", 0), 1);  // "two" gave way to "TWO"
  EXPECT_EQ(stored.ReadString("KeywordHist", "0", ""), "TWO");
  EXPECT_EQ(stored.ReadString("PathHist", "0", ""), "src/*.*");
  EXPECT_EQ(stored.ReadString("Setting", "IgnoreCase", ""), "0");
  EXPECT_EQ(Utf8(stored.ReadString("Setting", "PrevGrepPath", "")), tree.Path());
  EXPECT_EQ(stored.ReadString("Setting", "OpenFileGrep", "absent"), "absent");
}

TEST(GrepForm, OpenFileModeSearchesTheDocumentAlone) {
  TTempFolder dir;
  const std::string doc = dir.Write("doc.txt", "alpha\n");
  TGrepForm form(dir / "GREP.ini", doc);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("GREP - \"") + QString::fromStdString(dir.Path()) + QStringLiteral("\""));
  form.show();
  form.KeywordCombo()->setEditText(QStringLiteral("alpha"));
  form.SubFolderCheck()->setChecked(true);
  form.OpenFileCheck()->setChecked(true);
  EXPECT_FALSE(form.MaskCombo()->isVisible());
  form.accept();
  const TGrepKeyWord& c = form.Condition();
  EXPECT_EQ(c.FileMask, doc);
  EXPECT_FALSE(c.SubFolders);
  EXPECT_TRUE(c.IncludeBinary);
  TVornMemInifile stored(dir / "GREP.ini");
  EXPECT_EQ(stored.ReadString("Setting", "OpenFileGrep", ""), "1");
  EXPECT_EQ(stored.ReadInteger("PathHist2", "Count", 0), 0);  // the folder was not searched
}

TEST(GrepForm, FolderTreeAndParentButtonFollowEachOther) {
  TTempFolder dir;
  std::filesystem::create_directories(dir / "a/b");
  TGrepForm form(dir / "GREP.ini", "");
  form.show();
  form.PathCombo()->setEditText(QString::fromStdString(dir / "a/b"));
  EXPECT_EQ(form.FolderTree(), nullptr);
  form.TreeButton()->click();
  QTreeView* tree = form.FolderTree();
  ASSERT_NE(tree, nullptr);
  auto* model = static_cast<QFileSystemModel*>(tree->model());
  EXPECT_EQ(model->filePath(tree->currentIndex()), QString::fromStdString(dir / "a/b"));
  // The folders are listed in the background, and sorted after: the node stays in view.
  auto shown = [tree] { return tree->viewport()->rect().intersects(tree->visualRect(tree->currentIndex())); };
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 1500) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(model->filePath(tree->currentIndex()), QString::fromStdString(dir / "a/b"));
  EXPECT_TRUE(shown());

  form.UpperDirButton()->click();
  EXPECT_EQ(form.PathCombo()->currentText(), QString::fromStdString(dir / "a"));
  EXPECT_EQ(model->filePath(tree->currentIndex()), QString::fromStdString(dir / "a"));

  tree->setCurrentIndex(model->index(QString::fromStdString(dir / "a/b")));
  EXPECT_EQ(form.PathCombo()->currentText(), QString::fromStdString(dir / "a/b"));
  // A node the user picks is not taken back when more folders are listed.
  tree->setCurrentIndex(model->index(QString::fromStdString(dir.Path())));
  waited.restart();
  while (waited.elapsed() < 300) QApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_EQ(form.PathCombo()->currentText(), QString::fromStdString(dir.Path()));
  form.reject();
}

}  // namespace
}  // namespace vorn
