// The macro list over real folders: typing finds and selects rows, OK needs a selection,
// deleting asks and removes the file from disk and from the list.
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <filesystem>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "dialogs/KeyMacroListForm.h"

namespace vorn {
namespace {

TEST(KeyMacroListForm, TypingSelectsOKNeedsARowAndDeleteRemovesTheFile) {
  testing::TTempFolder program("macro28"), type("macro28t");
  program.Write("hello.mac", "// greets\r\n");
  program.Write("help.mac", "");
  type.Write("zap.mac", "");
  const TMacroFolders folders{program.Path(), type.Path(), {}};
  std::vector<QString> warnings, questions;
  TKeyMacroListForm::TServices services;
  services.rows = [&] { return ListMacroFiles(folders, {program / "help.mac"}); };
  services.warn = [&](const QString& t) { warnings.push_back(t); };
  services.confirm = [&](const QString& q) { questions.push_back(q); return true; };
  TKeyMacroListForm form(services);
  ASSERT_EQ(form.List()->topLevelItemCount(), 3);
  EXPECT_EQ(form.List()->topLevelItem(1)->text(0), "1") << "help.mac is slot 1";

  form.SetNameText("HE");
  EXPECT_EQ(form.SelectedPath(), "") << "two rows start with he: focus only";
  EXPECT_EQ(form.List()->currentItem(), form.List()->topLevelItem(0));
  form.accept();
  EXPECT_EQ(warnings, std::vector<QString>{QStringLiteral("マクロがないか、指定されていません")});
  EXPECT_EQ(form.result(), QDialog::Rejected);

  form.SetNameText("help");
  EXPECT_EQ(form.SelectedPath(), program / "help.mac");
  form.SetNameText("z");
  EXPECT_EQ(form.SelectedPath(), type / "zap.mac");
  EXPECT_EQ(form.NameField()->text(), "z") << "a row the typing selects leaves the typed text alone";
  form.List()->clearSelection();
  form.List()->topLevelItem(0)->setSelected(true);
  EXPECT_EQ(form.NameField()->text(), "hello") << "a chosen row shows its name without the extension";

  for (QPushButton* b : form.findChildren<QPushButton*>())
    if (b->text() == QStringLiteral("削除(&D)")) b->click();
  EXPECT_EQ(questions, std::vector<QString>{QString::fromStdString(program / "hello.mac") +
                                            QStringLiteral("を削除します。よろしいですか")});
  EXPECT_FALSE(std::filesystem::exists(program / "hello.mac"));
  EXPECT_EQ(form.List()->topLevelItemCount(), 2);
}

}  // namespace
}  // namespace vorn
