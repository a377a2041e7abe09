// The document commands answered through real message boxes on the offscreen platform.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "dialogs/DocumentPromptBoxes.h"
#include "shellcore/DocumentCommands.h"
#include "store/HeadlessView.h"

namespace vorn {
namespace {

using testing::ReadWholeFile;
using testing::TTempFolder;

// Presses the button captioned caption on the next message box, after checking its text.
void AnswerBox(const QString& expectedText, const QString& caption, bool expectOnTop = false) {
  QTimer::singleShot(0, [=] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->text(), expectedText);
    EXPECT_EQ(box->windowFlags().testFlag(Qt::WindowStaysOnTopHint), expectOnTop);
    for (auto* b : box->findChildren<QPushButton*>())
      if (b->text() == caption) return b->click();
    ADD_FAILURE() << "no button " << caption.toStdString();
    box->reject();
  });
}

TEST(DocumentPromptBoxes, ChangeQuestionOnTopAndSaveQuestionThroughMessageBoxes) {
  TTempFolder dir;
  const std::string file = dir.Write("w.txt", "disk\n");
  QWidget window;
  TDocumentPromptBoxes prompts(&window);
  TVornDocument doc;
  TVornEditHeadlessView pane(doc.SharedStore());
  TDocumentCommands commands(doc, pane.Lines(), prompts);
  ASSERT_TRUE(commands.LoadDocument(file));

  dir.Write("w.txt", "changed by another program\n");
  AnswerBox(QString::fromStdString(file) + QStringLiteral("は、他のアプリケーションに書き換えられました。読み直しますか"),
            QStringLiteral("はい(&Y)"), true);
  EXPECT_EQ(commands.CheckForeignChange(), TFileChange::Changed);
  EXPECT_EQ(pane.Lines().GetTextStr(), "changed by another program\r\n");

  doc.MarkUnsaved();
  AnswerBox(QStringLiteral("ファイル「 ") + QString::fromStdString(file) + QStringLiteral(" 」は変更されています。保存しますか"),
            QStringLiteral("キャンセル"));
  EXPECT_FALSE(commands.QuerySave());
  AnswerBox(QStringLiteral("ファイル「 ") + QString::fromStdString(file) + QStringLiteral(" 」は変更されています。保存しますか"),
            QStringLiteral("いいえ(&N)"));
  EXPECT_TRUE(commands.QuerySave());
  EXPECT_EQ(ReadWholeFile(file), "changed by another program\n");
}

}  // namespace
}  // namespace vorn
