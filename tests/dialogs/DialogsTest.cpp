// Tests of the save-code and input dialogs, the dialog base placement and the centred message box.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

#include "dialogs/CodeSelectForm.h"
#include "dialogs/InputDialogForm.h"
#include "qtplatform/VornUtilGui.h"

namespace vorn {
namespace {

// Runs action on the modal dialog as soon as it is shown.
void OnModal(std::function<void(QWidget*)> action) {
  QTimer::singleShot(0, [action] {
    QWidget* modal = QApplication::activeModalWidget();
    ASSERT_NE(modal, nullptr);
    action(modal);
  });
}

QPushButton* ButtonNamed(QWidget* dialog, const QString& text) {
  for (auto* b : dialog->findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

TEST(CodeSelectForm, ShowsItsCaptionAndTheCodesInListOrder) {
  TCodeSelectForm form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("保存時の文字コードと改行の選択"));
  EXPECT_EQ(form.CodeLabel()->text(), QStringLiteral("文字コード(&C)"));
  QStringList captions;
  for (int i = 0; i < form.CodeBox()->count(); ++i) captions << form.CodeBox()->itemText(i);
  EXPECT_EQ(captions, (QStringList{"SJIS", "JIS(ROMANエンコード)", "JIS(ASCIIエンコード)", "EUC", "UNICODE(LE)",
                                   "UNICODE(BE)", "UTF-8N", "UTF-8(BOM付き)", "UTF-7"}));
  QStringList breaks;
  for (int i = 0; i < form.LineBreakBox()->count(); ++i) breaks << form.LineBreakBox()->itemText(i);
  EXPECT_EQ(breaks, (QStringList{"CR+LF", "CR", "LF"}));
}

TEST(CodeSelectForm, MapsEveryKindToItsEntryAndBack) {
  TCodeSelectForm form;
  form.SetCharCode(ckUtf8);
  EXPECT_EQ(form.CodeBox()->currentText(), QStringLiteral("UTF-8(BOM付き)"));
  form.CodeBox()->setCurrentIndex(form.CodeBox()->findText("UTF-8N"));
  EXPECT_EQ(form.CharCode(), 10);
  for (int kind : {ckAscii, ckBinary, ckEucOrSjis, ckSjis}) {
    form.SetCharCode(ckUtf7);
    form.SetCharCode(kind);
    EXPECT_EQ(form.CodeBox()->currentText(), QStringLiteral("SJIS")) << kind;
    EXPECT_EQ(form.CharCode(), ckSjis);
  }
  for (int kind : {ckJis, ckJisAscii, ckEuc, ckUnicodeLE, ckUnicodeBE, ckUtf8, ckUtf8N, ckUtf7}) {
    form.SetCharCode(kind);
    EXPECT_EQ(form.CharCode(), kind);
  }
  form.SetCharCode(12);
  form.SetCharCode(-1);
  EXPECT_EQ(form.CharCode(), ckUtf7);  // out of range leaves the selection
}

TEST(CodeSelectForm, NoSelectionGivesSjisAndCrLf) {
  TCodeSelectForm form;
  EXPECT_EQ(form.CharCode(), ckSjis);
  EXPECT_EQ(form.LineBreak(), lbCRLF);
  form.SetLineBreak(lbLF);
  EXPECT_EQ(form.LineBreakBox()->currentText(), "LF");
  EXPECT_EQ(form.LineBreak(), 3);
  form.SetLineBreak(0);
  form.SetLineBreak(4);
  EXPECT_EQ(form.LineBreak(), lbLF);
  form.SetLineBreak(lbCR);
  EXPECT_EQ(form.LineBreak(), lbCR);
  form.LineBreakBox()->setCurrentIndex(-1);
  EXPECT_EQ(form.LineBreak(), lbCRLF);
}

TEST(CodeSelectForm, FixedModeBoxesAreHiddenUntilTheCallerSetsThem) {
  TCodeSelectForm form;
  form.show();
  EXPECT_FALSE(form.CodeFixedBox()->isVisible());
  EXPECT_FALSE(form.LineBreakFixedBox()->isVisible());
  EXPECT_EQ(form.CodeFixedBox()->text(), QStringLiteral("文字コード固定モードを使用する(&F)"));
  EXPECT_EQ(form.LineBreakFixedBox()->text(), QStringLiteral("改行コード固定モードを使用する(&G)"));
  form.SetCharCodeFixed(true);
  EXPECT_TRUE(form.CodeFixedBox()->isVisible());
  EXPECT_TRUE(form.CharCodeFixed());
  EXPECT_FALSE(form.LineBreakFixedBox()->isVisible());
  form.SetLineBreakFixed(false);
  EXPECT_TRUE(form.LineBreakFixedBox()->isVisible());
  EXPECT_FALSE(form.LineBreakFixed());
}

TEST(CodeSelectForm, TheConversionCommandHidesTheLineBreakRowAndRelabels) {
  TCodeSelectForm form;
  form.setWindowTitle(QStringLiteral("文字コードの変換"));
  form.SetCodeLabel(QStringLiteral("変換元の文字コード"));
  form.SetLineBreakRowVisible(false);
  form.show();
  EXPECT_EQ(form.CodeLabel()->text(), QStringLiteral("変換元の文字コード"));
  EXPECT_FALSE(form.LineBreakBox()->isVisible());
  EXPECT_TRUE(form.CodeBox()->isVisible());
}

TEST(CodeSelectForm, OkAndCancelEndTheModalRun) {
  TCodeSelectForm form;
  form.SetCharCode(ckEuc);
  OnModal([](QWidget* d) { ButtonNamed(d, "OK")->click(); });
  EXPECT_EQ(form.exec(), QDialog::Accepted);
  EXPECT_EQ(form.CharCode(), ckEuc);
  OnModal([](QWidget* d) { ButtonNamed(d, QStringLiteral("キャンセル"))->click(); });
  EXPECT_EQ(form.exec(), QDialog::Rejected);
}

TEST(InputDialogForm, ReturnsTheTextOnOkAndLeavesItOnCancel) {
  QString text = QStringLiteral("テキスト");
  OnModal([](QWidget* d) {
    auto* form = qobject_cast<TInputDialogForm*>(d);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), "Caption");
    EXPECT_EQ(form->Label(), QStringLiteral("拡張子(&E)"));
    EXPECT_EQ(form->focusWidget(), form->Edit());
    EXPECT_EQ(form->Text(), QStringLiteral("テキスト"));
    form->Edit()->setText(".txt;.doc");
    ButtonNamed(d, "OK")->click();
  });
  EXPECT_TRUE(TInputDialogForm::Execute(nullptr, "Caption", QStringLiteral("拡張子(&E)"), text));
  EXPECT_EQ(text, ".txt;.doc");
  OnModal([](QWidget* d) {
    qobject_cast<TInputDialogForm*>(d)->Edit()->setText("changed");
    ButtonNamed(d, QStringLiteral("キャンセル"))->click();
  });
  EXPECT_FALSE(TInputDialogForm::Execute(nullptr, "Caption", "Label", text));
  EXPECT_EQ(text, ".txt;.doc");
}

TEST(CenteredPlacement, CentresWithHalvesRoundedTowardZeroAndStaysInsideTheArea) {
  const QRect area(0, 0, 800, 600);
  EXPECT_EQ(CenteredPlacement(QRect(100, 100, 301, 201), QSize(100, 50), area), QPoint(200, 175));
  // A dialog wider than its owner: (99 - 200) / 2 is -50, not -51.
  EXPECT_EQ(CenteredPlacement(QRect(300, 300, 99, 99), QSize(200, 100), area), QPoint(250, 300));
  EXPECT_EQ(CenteredPlacement(QRect(700, 550, 100, 100), QSize(300, 200), area), QPoint(500, 400));
  EXPECT_EQ(CenteredPlacement(QRect(-200, -200, 100, 100), QSize(300, 200), area), QPoint(0, 0));
  EXPECT_EQ(CenteredPlacement(QRect(700, 550, 100, 100), QSize(300, 200), area, 4), QPoint(496, 396));
  // Larger than the area: the left and top edges stay visible.
  EXPECT_EQ(CenteredPlacement(QRect(0, 0, 100, 100), QSize(900, 700), area), QPoint(0, 0));
}

TEST(VornNotHideForm, IsCentredOnItsOwnerAndKeptInsideTheWorkArea) {
  QWidget owner;
  owner.setGeometry(100, 100, 400, 300);
  owner.show();
  TVornNotHideForm form(&owner);
  form.resize(200, 100);
  form.show();
  QApplication::processEvents();
  const QPoint expected = CenteredPlacement(owner.frameGeometry(), form.frameGeometry().size(), WorkAreaFor(&owner));
  EXPECT_EQ(form.frameGeometry().topLeft(), expected);
  form.hide();

  const QRect area = WorkAreaFor(&owner);
  owner.setGeometry(area.right() - 50, area.bottom() - 50, 400, 300);
  form.show();
  QApplication::processEvents();
  EXPECT_LE(form.frameGeometry().right(), area.right());
  EXPECT_LE(form.frameGeometry().bottom(), area.bottom());
}

TEST(CenteredMessageDlg, ReturnsTheWindowsNumberOfTheButtonPressed) {
  QWidget owner;
  owner.setGeometry(50, 60, 500, 400);
  owner.show();
  OnModal([&owner](QWidget* d) {
    auto* box = qobject_cast<QMessageBox*>(d);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("確認"));
    EXPECT_EQ(box->text(), QStringLiteral("保存しますか?"));
    EXPECT_EQ(d->frameGeometry().topLeft(),
              CenteredPlacement(owner.frameGeometry(), d->frameGeometry().size(), WorkAreaFor(&owner)));
    ButtonNamed(d, QStringLiteral("いいえ(&N)"))->click();
  });
  EXPECT_EQ(CenteredMessageDlg(QStringLiteral("保存しますか?"), mtConfirmation, mbYes | mbNo | mbCancel, false, &owner),
            mrNo);
  OnModal([](QWidget* d) { ButtonNamed(d, QStringLiteral("はい(&Y)"))->click(); });
  EXPECT_EQ(CenteredMessageDlg("x", mtWarning, mbYes | mbNo, true, &owner), mrYes);
  OnModal([](QWidget* d) { ButtonNamed(d, QStringLiteral("すべて(&L)"))->click(); });
  EXPECT_EQ(CenteredMessageDlg("x", mtConfirmation, mbYes | mbNo | mbAll | mbCancel, false, nullptr), mrAll);
}

TEST(CenteredMessageDlg, EscapeGivesCancelAndAnEmptyButtonSetGivesOk) {
  OnModal([](QWidget* d) { qobject_cast<QMessageBox*>(d)->escapeButton()->click(); });
  EXPECT_EQ(CenteredMessageDlg("x", mtError, mbYes | mbNo | mbCancel, false, nullptr), mrCancel);
  OnModal([](QWidget* d) {
    EXPECT_EQ(qobject_cast<QMessageBox*>(d)->buttons().size(), 1);
    ButtonNamed(d, "OK")->click();
  });
  EXPECT_EQ(CenteredMessageDlg("x", mtInformation, 0, false, nullptr), mrOk);
}

TEST(CenteredMessageDlg, StaysInsideTheWorkAreaBesideAnOwnerAtTheEdge) {
  QWidget owner;
  const QRect area = WorkAreaFor(nullptr);
  owner.setGeometry(area.right() - 20, area.bottom() - 20, 100, 100);
  owner.show();
  OnModal([area](QWidget* d) {
    EXPECT_TRUE(area.contains(d->frameGeometry())) << d->frameGeometry().x() << "," << d->frameGeometry().y();
    ButtonNamed(d, "OK")->click();
  });
  EXPECT_EQ(CenteredMessageDlg(QStringLiteral("長いメッセージ"), mtWarning, mbOK, false, &owner), mrOk);
}

TEST(TaskBarInfo, EdgeAndRectangleFromTheScreenLessItsAvailableArea) {
  const QRect screen(0, 0, 1000, 800);
  TTaskBarInfo none = TaskBarInfoFrom(screen, screen);
  EXPECT_TRUE(none.hidden);
  EXPECT_EQ(none.WorkArea(screen), screen);
  const struct {
    QRect available;
    int edge;
    QRect bar;
  } cases[] = {
      {QRect(0, 30, 1000, 770), 0, QRect(0, 0, 1000, 30)},
      {QRect(0, 0, 1000, 760), 2, QRect(0, 760, 1000, 40)},
      {QRect(0, 0, 950, 800), 1, QRect(950, 0, 50, 800)},
      {QRect(64, 0, 936, 800), 3, QRect(0, 0, 64, 800)},
  };
  for (const auto& c : cases) {
    TTaskBarInfo info = TaskBarInfoFrom(screen, c.available);
    EXPECT_FALSE(info.hidden);
    EXPECT_EQ(info.edge, c.edge);
    EXPECT_EQ(info.rect, c.bar);
    EXPECT_EQ(info.WorkArea(screen), c.available);
  }
}

TEST(ForceForeground, ActivatesAWindowOfThisProcess) {
  QWidget a, b;
  a.show();
  b.show();
  ForceForeground(&a);
  QApplication::processEvents();
  EXPECT_TRUE(a.isActiveWindow());
  ForceForeground(nullptr);  // no window: nothing happens
}

}  // namespace
}  // namespace vorn
