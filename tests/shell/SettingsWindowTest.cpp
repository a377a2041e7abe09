// The settings dialogs from the window's menu commands: the OK of one editor reaches the other
// editor over the bus, which repaints with the new tab width and colour; a key reassigned in the
// common settings runs its new function.
#include "WindowTestKit.h"

#include "dialogs/EditCommonSetForm.h"
#include "dialogs/ExtSetForm.h"
#include "dialogs/ColorSetListBox.h"
#include "editor/VornEdit.h"
#include "platform/VornUtil.h"
#include "settings/TypeList.h"
#include "shell/CommandActions.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/KeyNames.h"
#include "TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <map>

namespace vorn {
namespace {

template <class TForm>
void OnForm(std::function<void(TForm&)> act) {
  QTimer::singleShot(0, [act] {
    auto* form = qobject_cast<TForm*>(QApplication::activeModalWidget());
    ASSERT_NE(form, nullptr);
    act(*form);
  });
}

bool WaitFor(const std::function<bool()>& done) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < 5000) QApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

// How many pixels of the pane's picture are clearly red (glyph edges are blended).
int RedPixels(TVornEdit& pane) {
  const QImage image = pane.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80) ++n;
    }
  return n;
}

class SettingsWindowTest : public ::testing::Test {
protected:
  void SetUp() override { ASSERT_EQ(::mkdir((dir_ / "run").c_str(), 0700), 0); }

  // A window with a type list of its own, as each editor process has; the first one imports
  // the shipped types, as the program's first start does.
  std::unique_ptr<TVornEditMain> NewEditor(std::unique_ptr<TTypeList>& types) {
    types = std::make_unique<TTypeList>(TSettingFolders{UserFolder(), SettingTemplateFolder()});
    types->Load();
    types->TakeMessages();
    auto w = std::make_unique<TVornEditMain>();
    w->SetHandOffEnabled(false);
    w->SetDocumentPrompts(&prompts_);
    w->Services().startProgram = [](const std::string&) {};
    TTypeList* list = types.get();
    w->Services().fileTypeFor = [list](const std::string& name) { return &list->FindByFileName(name); };
    w->Services().reloadFileTypes = [list] { list->Load(); };
    EXPECT_EQ(w->OpenBus(TBusFolder(dir_ / "run")), "");
    return w;
  }

  vorn::testing::TTempFolder dir_;
  vorn::testing::TQuietPrompts prompts_;
};

TEST_F(SettingsWindowTest, OkInOneEditorRepaintsTheOtherWithTheNewTabWidthAndColour) {
  std::unique_ptr<TTypeList> typesA, typesB;
  auto a = NewEditor(typesA);
  auto b = NewEditor(typesB);
  const std::string notes = dir_.Write("notes.txt", "a\tb\r\nabc\r\n");
  ASSERT_TRUE(a->ProcessCommandLine({notes}));
  ASSERT_TRUE(b->ProcessCommandLine({dir_.Write("other.txt", "abc\r\n")}));
  a->show();
  b->show();
  ASSERT_TRUE(a->Actions()->ActionByName("EditExtSet")->isEnabled());
  const int tabsBefore = b->AppliedTypeTabs();
  ASSERT_NE(tabsBefore, 3);
  ASSERT_EQ(RedPixels(*b->Editor()), 0);
  OnForm<TExtSetForm>([](TExtSetForm& form) {
    form.FieldByCaption(QStringLiteral("タブ幅"))->setText(QStringLiteral("3"));
    form.ColorList()->Colors()[7].SetColor(0x000000FF);  // half-width characters in red
    form.accept();
  });
  a->RunCommand("EditExtSet");
  EXPECT_EQ(a->AppliedTypeTabs(), 3);
  ASSERT_TRUE(WaitFor([&] { return b->AppliedTypeTabs() == 3; })) << "the other editor never heard of the change";
  EXPECT_EQ(b->Editor()->Core().CaretOptions().TabSpaceCount, 3);
  b->Editor()->repaint();
  EXPECT_GT(RedPixels(*b->Editor()), 0) << "the other editor's text is not drawn in the new colour";
}

// The type's 長い行の折り返し cuts the document's rows at its width; unchecked, every line is
// one row again.
TEST_F(SettingsWindowTest, TheTypesWordWrapCutsTheDocumentAtItsWidth) {
  std::unique_ptr<TTypeList> types;
  auto w = NewEditor(types);
  const std::string line(200, 'x');
  ASSERT_TRUE(w->ProcessCommandLine({dir_.Write("long.txt", line + "\r\nshort\r\n")}));
  w->show();
  TVornEditCore& core = w->Editor()->Core();
  ASSERT_TRUE(core.Store().WordWrap()) << "the shipped text type wraps long lines";
  const int width = core.Store().Wrapper().WrapByte();
  ASSERT_GT(width, 0);
  EXPECT_EQ(core.RowCount(), (200 + width - 1) / width + 1);
  EXPECT_EQ(core.Store().LineCount(), 2);
  OnForm<TExtSetForm>([](TExtSetForm& form) {
    for (QCheckBox* box : form.findChildren<QCheckBox*>())
      if (box->text() == QStringLiteral("長い行の折り返し(&P)")) box->setChecked(false);
    form.accept();
  });
  w->RunCommand("EditExtSet");
  EXPECT_FALSE(core.Store().WordWrap());
  EXPECT_EQ(core.RowCount(), 2);
}

// A type applied without saving stays while another editor saves the types; the next OK of its
// own dialog ends that.
TEST_F(SettingsWindowTest, SettingsAppliedWithoutSavingOutlastAnotherEditorsSavedChange) {
  std::unique_ptr<TTypeList> typesA, typesB, typesC;
  auto a = NewEditor(typesA);
  auto b = NewEditor(typesB);
  auto c = NewEditor(typesC);
  ASSERT_TRUE(a->ProcessCommandLine({dir_.Write("a.txt", "x\r\n")}));
  ASSERT_TRUE(b->ProcessCommandLine({dir_.Write("b.txt", "y\r\n")}));
  ASSERT_TRUE(c->ProcessCommandLine({dir_.Write("c.txt", "z\r\n")}));
  auto setTabs = [](const char* tabs, bool save) {
    OnForm<TExtSetForm>([tabs, save](TExtSetForm& form) {
      form.FieldByCaption(QStringLiteral("タブ幅"))->setText(QString::fromLatin1(tabs));
      if (save) form.accept();
      else form.ButtonByCaption(QStringLiteral("保存しないで更新(&A)"))->click();
    });
  };
  setTabs("7", false);
  a->RunCommand("EditExtSet");
  ASSERT_EQ(a->AppliedTypeTabs(), 7);
  setTabs("3", true);
  b->RunCommand("EditExtSet");
  ASSERT_TRUE(WaitFor([&] { return c->AppliedTypeTabs() == 3; })) << "the announcement never arrived";
  // The bus posts to a and c go out together; a has had ample time to act on its own.
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 500) QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_EQ(a->AppliedTypeTabs(), 7);
  // a's own OK saves and takes the list as saved; from then on it follows the others again.
  setTabs("5", true);
  a->RunCommand("EditExtSet");
  EXPECT_EQ(a->AppliedTypeTabs(), 5);
  setTabs("4", true);
  b->RunCommand("EditExtSet");
  EXPECT_TRUE(WaitFor([&] { return a->AppliedTypeTabs() == 4; }));
}

TEST_F(SettingsWindowTest, CancelWritesNothingAndOkOfTheCommonSettingsReachesTheOtherEditor) {
  std::unique_ptr<TTypeList> typesA, typesB;
  auto a = NewEditor(typesA);
  auto b = NewEditor(typesB);
  ASSERT_TRUE(a->ProcessCommandLine({dir_.Write("a.txt", "x\r\n")}));
  ASSERT_TRUE(b->ProcessCommandLine({dir_.Write("b.txt", "y\r\n")}));
  OnForm<TExtSetForm>([](TExtSetForm& form) {
    form.FieldByCaption(QStringLiteral("タブ幅"))->setText(QStringLiteral("5"));
    form.reject();
  });
  // Settings files only: the colour picker's custom colours are kept whatever the button.
  auto settingsFiles = [] {
    std::map<std::string, std::string> files;
    for (const auto& e : std::filesystem::directory_iterator(UserFolder()))
      if (e.path().filename() != "CustomColor.txt") files[e.path().filename()] = vorn::testing::ReadBytes(e.path());
    return files;
  };
  const auto before = settingsFiles();
  a->RunCommand("EditExtSet");
  EXPECT_NE(a->AppliedTypeTabs(), 5);
  OnForm<TEditCommonSetForm>([](TEditCommonSetForm& form) {
    form.Field(QStringLiteral("QuoteHeader"))->setText(QStringLiteral("| "));
    form.reject();
  });
  a->RunCommand("EditCommonSet");
  EXPECT_FALSE(std::filesystem::exists(UserFolder() + "Key.dat"));
  EXPECT_EQ(before, settingsFiles());
  OnForm<TEditCommonSetForm>([](TEditCommonSetForm& form) {
    form.Field(QStringLiteral("QuoteHeader"))->setText(QStringLiteral("| "));
    form.accept();
  });
  a->RunCommand("EditCommonSet");
  EXPECT_EQ(a->Editor()->Core().QuoteHeader, "| ");
  EXPECT_TRUE(WaitFor([&] { return b->Editor()->Core().QuoteHeader == "| "; }));
}

TEST_F(SettingsWindowTest, AKeyAssignedInTheCommonSettingsRunsItsFunction) {
  std::unique_ptr<TTypeList> types;
  auto w = NewEditor(types);
  ASSERT_TRUE(w->ProcessCommandLine({dir_.Write("k.txt", "one\r\ntwo\r\n")}));
  w->show();
  QApplication::processEvents();
  int f12 = -1;
  for (std::size_t i = 0; i < AssignableKeys().size(); ++i)
    if (AssignableKeys()[i].Key == vk::F12) f12 = static_cast<int>(i);
  OnForm<TEditCommonSetForm>([f12](TEditCommonSetForm& form) {
    form.ChooseKey(f12, 0);
    form.SelectFunction(FunctionNumber("SelectAll"));
    form.AssignSelected();
    form.accept();
  });
  w->RunCommand("EditCommonSet");
  EXPECT_TRUE(std::filesystem::exists(UserFolder() + "Key.dat"));
  ASSERT_FALSE(w->Editor()->Core().HasSelection());
  w->Editor()->setFocus();
  QTest::keyClick(w->Editor(), Qt::Key_F12);
  EXPECT_TRUE(w->Editor()->Core().HasSelection());
  // The next test starts from the built-in table again.
  ProcessKeyTable() = TKeyTable::BuiltIn();
}

}  // namespace
}  // namespace vorn
