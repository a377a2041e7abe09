// Tests of the document file dialogs: filters as the toolkit gets them, the code list, the
// extension a typed name gets, and the answers handed to the document commands.
#include <QApplication>
#include <QComboBox>
#include <QTimer>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "dialogs/DocumentFileDialog.h"

namespace vorn {
namespace {

using testing::TTempFolder;

// Runs action on the file dialog as soon as it is shown modally.
void OnFileDialog(std::function<void(TDocumentFileDialog*)> action) {
  QTimer::singleShot(0, [action] {
    auto* dialog = qobject_cast<TDocumentFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    action(dialog);
  });
}

TEST(DocumentFileDialog, OpenOffersTheFilesExtensionAndTheCodeList) {
  TTempFolder dir;
  const QString given = QString::fromStdString(dir.Write("a.cpp", "x"));
  TDocumentFileDialog dialog(TDocumentFileDialog::TKind::Open, given, true);
  EXPECT_TRUE(dialog.testOption(QFileDialog::DontUseNativeDialog));
  EXPECT_EQ(dialog.nameFilters().value(0), QStringLiteral("すべてのファイル(*.*) (*)"));
  EXPECT_EQ(dialog.nameFilters().value(1), QStringLiteral("開いているファイル(*.cpp) (*.cpp)"));
  EXPECT_EQ(dialog.ChosenFilter(), 1);
  ASSERT_EQ(dialog.CodeBox()->count(), 10);
  EXPECT_EQ(dialog.CodeBox()->itemText(2), QStringLiteral("JIS(ROMANエンコード(推奨))"));
  EXPECT_FALSE(dialog.ChosenCode()) << "automatic detection first";
  dialog.SetFixedCode(ckUtf8);
  EXPECT_EQ(dialog.CodeBox()->currentText(), QStringLiteral("UTF-8"));
  EXPECT_EQ(dialog.ChosenCode(), ckUtf8);
  dialog.SetFixedCode(std::nullopt);
  EXPECT_FALSE(dialog.ChosenCode());
}

TEST(DocumentFileDialog, SaveAsAnswersTheCompletedNameAndNoCodeForTheFirstEntry) {
  TTempFolder dir;
  const QString folder = QString::fromStdString(dir.Path());
  OnFileDialog([&](TDocumentFileDialog* d) {
    EXPECT_EQ(d->CodeBox()->itemText(1), QStringLiteral("文字コードと改行を指定して保存"));
    d->setDirectory(folder);
    d->selectFile(QStringLiteral("memo"));
    d->selectNameFilter(d->nameFilters().value(1));
    static_cast<QDialog*>(d)->accept();
  });
  const std::optional<TSaveAsRequest> request = TDocumentFileDialog::AskSaveAs(QString(), TSaveCodeChoice{}, nullptr);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->name, dir / "memo.txt");
  EXPECT_FALSE(request->code);
  EXPECT_TRUE(request->askWhenExists);

  OnFileDialog([](TDocumentFileDialog* d) { d->reject(); });
  EXPECT_FALSE(TDocumentFileDialog::AskSaveAs(folder + "/a.c", TSaveCodeChoice{}, nullptr));
}

TEST(DocumentFileDialog, SaveAsOffersTheOpenFilesExtensionAndWritesTypedNamesAsTyped) {
  TTempFolder dir;
  const QString name = QString::fromStdString(dir.Write("a.c", "x"));
  OnFileDialog([](TDocumentFileDialog* d) {
    EXPECT_EQ(d->ChosenFilter(), 1);
    d->selectFile(QStringLiteral("plain"));
    static_cast<QDialog*>(d)->accept();
  });
  const std::optional<TSaveAsRequest> request = TDocumentFileDialog::AskSaveAs(name, TSaveCodeChoice{}, nullptr);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->name, dir / "plain");
}

TEST(DocumentFileDialog, ReloadPresetsTheFileAndItsCode) {
  TTempFolder dir;
  const QString name = QString::fromStdString(dir.Write("r.txt", "x"));
  OnFileDialog([](TDocumentFileDialog* d) {
    EXPECT_EQ(d->CodeBox()->currentText(), QStringLiteral("EUC"));
    d->CodeBox()->setCurrentIndex(d->CodeBox()->findText(QStringLiteral("UNICODE(BE)")));
    static_cast<QDialog*>(d)->accept();
  });
  const auto choice = TDocumentFileDialog::AskOpen(name, false, true, ckEuc, nullptr);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->name, name);
  EXPECT_EQ(choice->code, ckUnicodeBE);
}

}  // namespace
}  // namespace vorn
