// Tests of the document file dialogs: filters as the toolkit gets them, the code list, the
// extension a typed name gets, and the answers handed to the document commands.
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "dialogs/DocumentFileDialog.h"
#include "dialogs/FolderHistoryPopup.h"

namespace vorn {
namespace {

using testing::TTempFolder;

// No remembered folders or size: the dialogs as they first come up.
TFileDialogMemory dialogMemory;

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
  const std::optional<TSaveAsRequest> request = TDocumentFileDialog::AskSaveAs(QString(), TSaveCodeChoice{}, dialogMemory, nullptr);
  ASSERT_TRUE(request);
  EXPECT_EQ(request->name, dir / "memo.txt");
  EXPECT_FALSE(request->code);
  EXPECT_TRUE(request->askWhenExists);

  OnFileDialog([](TDocumentFileDialog* d) { d->reject(); });
  EXPECT_FALSE(TDocumentFileDialog::AskSaveAs(folder + "/a.c", TSaveCodeChoice{}, dialogMemory, nullptr));
}

TEST(DocumentFileDialog, SaveAsOffersTheOpenFilesExtensionAndWritesTypedNamesAsTyped) {
  TTempFolder dir;
  const QString name = QString::fromStdString(dir.Write("a.c", "x"));
  OnFileDialog([](TDocumentFileDialog* d) {
    EXPECT_EQ(d->ChosenFilter(), 1);
    d->selectFile(QStringLiteral("plain"));
    static_cast<QDialog*>(d)->accept();
  });
  const std::optional<TSaveAsRequest> request = TDocumentFileDialog::AskSaveAs(name, TSaveCodeChoice{}, dialogMemory, nullptr);
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
  const auto choice = TDocumentFileDialog::AskOpen(name, false, true, ckEuc, dialogMemory, nullptr);
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->name, name);
  EXPECT_EQ(choice->code, ckUnicodeBE);
}

// The pop-up the button opened, with its rows laid out.
TFolderHistoryPopup* OpenFolderPopup(TDocumentFileDialog& dialog) {
  QTest::mouseClick(dialog.FolderHistoryButton(), Qt::LeftButton);
  for (auto* popup : dialog.findChildren<TFolderHistoryPopup*>()) {
    if (!popup->isVisible()) continue;  // a closed one waiting for deletion
    EXPECT_TRUE(QTest::qWaitForWindowExposed(popup));
    return popup;
  }
  return nullptr;
}

QPoint RowPoint(TFolderHistoryPopup& popup, int row, int x) {
  return QPoint(x, popup.visualItemRect(popup.item(row)).center().y());
}

TEST(DocumentFileDialog, FolderHistorySendsTheDialogToAFolderAndKeepsTheChangedFixedFlags) {
  TTempFolder first, second;
  TDocumentFileDialog dialog(TDocumentFileDialog::TKind::Open, QString(), false);
  dialog.SetMemory({});
  EXPECT_TRUE(dialog.FolderHistoryButton()->isHidden()) << "no folders, no button";
  dialog.SetMemory({{{first.Path(), false}, {second.Path(), true}}, 500, 400});
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  ASSERT_TRUE(dialog.FolderHistoryButton()->isVisible());

  TFolderHistoryPopup* popup = OpenFolderPopup(dialog);
  ASSERT_NE(popup, nullptr);
  ASSERT_EQ(popup->count(), 2);
  EXPECT_GE(popup->viewport()->height(), popup->visualItemRect(popup->item(1)).bottom()) << "every row shows";
  // The check-box column never chooses a folder; a click right of it does.
  QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, RowPoint(*popup, 1, TFolderHistoryPopup::kCheckBoxRight));
  ASSERT_TRUE(popup->isVisible());
  popup->item(0)->setCheckState(Qt::Checked);
  popup->item(1)->setCheckState(Qt::Unchecked);
  QTest::mouseClick(popup->viewport(), Qt::LeftButton, {}, RowPoint(*popup, 1, 60));
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(dialog.directory().absolutePath(), QString::fromStdString(second.Path()));
  const TFileDialogMemory kept = dialog.Memory();
  EXPECT_EQ(kept.folders, (std::vector<TFolderEntry>{{first.Path(), true}, {second.Path(), false}}));
  EXPECT_EQ(kept.width, dialog.width());

  // Enter takes the row under the mouse; Esc leaves the folder but still keeps the flags.
  popup = OpenFolderPopup(dialog);
  ASSERT_NE(popup, nullptr);
  QTest::mouseMove(popup->viewport(), RowPoint(*popup, 0, 60));
  QTest::keyClick(popup, Qt::Key_Return);
  EXPECT_EQ(dialog.directory().absolutePath(), QString::fromStdString(first.Path()));
  popup = OpenFolderPopup(dialog);
  ASSERT_NE(popup, nullptr);
  popup->item(1)->setCheckState(Qt::Checked);
  QTest::keyClick(popup, Qt::Key_Escape);
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(dialog.directory().absolutePath(), QString::fromStdString(first.Path()));
  EXPECT_TRUE(dialog.Memory().folders[1].fixed);
}

}  // namespace
}  // namespace vorn
