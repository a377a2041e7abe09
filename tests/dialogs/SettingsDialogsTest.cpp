// The settings dialogs through their widgets: what OK writes reads back into a new dialog and
// is written again byte for byte; values out of their limits never reach a file; a second
// editor's OK asks before it overwrites; the key page edits the table that is saved.
#include "dialogs/EditCommonSetForm.h"
#include "dialogs/ExtSetForm.h"
#include "dialogs/ColorSetListBox.h"
#include "dialogs/KeyWordPropForm.h"
#include "options/EditSeikeiOption.h"
#include "platform/VornUtil.h"
#include "settings/ColorSet.h"
#include "settings/SjisText.h"
#include "shellcore/ExtSetRules.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/KeyNames.h"

#include "../TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

namespace vorn {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::map<std::string, std::string> FolderBytes(const std::string& folder) {
  std::map<std::string, std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    std::ifstream in(e.path(), std::ios::binary);
    out[e.path().filename().string()] = std::string(std::istreambuf_iterator<char>(in), {});
  }
  return out;
}

// Where two files part, with some bytes of each from there; empty when they are equal.
std::string FirstDifference(const std::string& a, const std::string& b) {
  if (a == b) return {};
  std::size_t i = 0;
  while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
  const std::size_t from = i < 40 ? 0 : i - 40;
  return "at " + std::to_string(i) + ": [" + a.substr(from, 80) + "] vs [" + b.substr(from, 80) + "]";
}

// Answers every message box the code under test shows with its default button, keeping the texts.
// With pressDefault the default button is pressed instead (OK of an OK and Cancel question).
class TMessageCatcher {
public:
  explicit TMessageCatcher(bool pressDefault = false) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this, pressDefault] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        texts.push_back(box->text().toStdString());
        if (pressDefault && box->defaultButton()) box->defaultButton()->click();
        else box->done(QMessageBox::Ok);
      }
    });
    timer_.start();
  }
  std::vector<std::string> texts;

private:
  QTimer timer_;
};

struct SettingsDialogs : ::testing::Test {
  void SetUp() override {
    std::filesystem::create_directories(user);
    SetProgramFolderOverride(folder.Path() + "/");
  }
  void TearDown() override { SetProgramFolderOverride(""); }
  TExtSetContext Context() const {
    TExtSetContext c;
    c.Folders = {user, std::string(VORN_BIN_DIR) + "/Setting/"};
    c.DocumentName = "a.txt";
    return c;
  }
  TCommonSetContext CommonContext() {
    TCommonSetContext c;
    c.ProgramFolder = folder.Path() + "/";
    c.UserFolder = user;
    c.Table = &table;
    return c;
  }
  vorn::testing::TTempFolder folder{"vorn-dialogs"};
  std::string user = folder.Path() + "/user/";
  TKeyTable table = TKeyTable::BuiltIn();
};

TEST_F(SettingsDialogs, FileTypesRoundTripThroughTheDialogByteForByte) {
  {
    TExtSetForm first(Context());
    ASSERT_GT(first.Types().Count(), 2) << "the shipped types were imported";
    EXPECT_EQ(first.Pages()->count(), 9);
    EXPECT_EQ(first.Pages()->tabText(5), QStringLiteral("色"));
    // A tab width and a colour changed as the user changes them.
    first.FieldByCaption(QStringLiteral("タブ幅"))->setText(QStringLiteral("4"));
    first.ColorList()->Colors()[17].SetColor(0x00123456);
    first.ColorList()->Colors()[18].SetStyle(fsItalic);
    SetBackTransparent(first.ColorList()->Colors(), 19, true);
    ASSERT_TRUE(first.SaveAndClose());
  }
  const auto saved = FolderBytes(user);
  TExtSetForm second(Context());
  TFileSetting* shown = second.Shown();
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(second.FieldByCaption(QStringLiteral("タブ幅"))->text(), QStringLiteral("4"));
  EXPECT_EQ(second.ColorList()->Colors()[17].Color(), 0x00123456u);
  EXPECT_EQ(second.ColorList()->Colors()[18].Style(), fsItalic);
  EXPECT_TRUE(IsTransparentColor(second.ColorList()->Colors()[19].BkColor()));
  // Every type shown once, so that every control stored into every type goes to disk; then the
  // document's own type again, which OK gives the document's extension.
  const int own = second.Types().IndexOf(*shown);
  for (int i = 0; i < second.Types().Count(); ++i) second.SelectType(i);
  second.SelectType(own);
  ASSERT_TRUE(second.SaveAndClose());
  const auto again = FolderBytes(user);
  ASSERT_EQ(saved.size(), again.size());
  for (const auto& [name, bytes] : saved) EXPECT_EQ(FirstDifference(again.at(name), bytes), "") << name;
  EXPECT_THAT(saved.at("FSet1.ini"), HasSubstr("TabCol=4"));
}

TEST_F(SettingsDialogs, ValuesOutsideTheirLimitsKeepTheDialogOpenAndTheFilesUnchanged) {
  { TExtSetForm seed(Context()); ASSERT_TRUE(seed.SaveAndClose()); }
  const auto before = FolderBytes(user);
  TMessageCatcher messages;
  TExtSetForm form(Context());
  for (const char* bad : {"0", "10000", "abc"}) {
    form.FieldByCaption(QStringLiteral("タブ幅"))->setText(QString::fromLatin1(bad));
    EXPECT_FALSE(form.SaveAndClose()) << bad;
  }
  form.FieldByCaption(QStringLiteral("タブ幅"))->setText(QStringLiteral("8"));
  form.FieldByCaption(QStringLiteral("フォントサイズ"))->setText(QStringLiteral("-1"));
  EXPECT_FALSE(form.SaveAndClose());
  EXPECT_EQ(before, FolderBytes(user));
  ASSERT_EQ(messages.texts.size(), 4u);
  EXPECT_EQ(messages.texts[0], "タブ幅は 2 から 128 までの整数で指定してください");
  EXPECT_THAT(messages.texts[3], HasSubstr("フォントサイズ"));
  EXPECT_EQ(form.Pages()->currentIndex(), 0);
}

TEST_F(SettingsDialogs, TheSecondEditorsOkAsksBeforeOverwritingTheFirstOnesTypes) {
  { TExtSetForm seed(Context()); ASSERT_TRUE(seed.SaveAndClose()); }
  TExtSetForm first(Context()), second(Context());
  first.FieldByCaption(QStringLiteral("タブ幅"))->setText(QStringLiteral("3"));
  second.FieldByCaption(QStringLiteral("タブ幅"))->setText(QStringLiteral("5"));
  int asked = 0;
  second.keepOthersSettings = [&] { return ++asked, true; };
  ASSERT_TRUE(first.SaveAndClose());
  EXPECT_FALSE(second.SaveAndClose());
  EXPECT_EQ(asked, 1);
  EXPECT_THAT(FolderBytes(user).at("FSet1.ini"), HasSubstr("TabCol=3"));
  second.keepOthersSettings = [&] { return ++asked, false; };
  EXPECT_TRUE(second.SaveAndClose());
  EXPECT_THAT(FolderBytes(user).at("FSet1.ini"), HasSubstr("TabCol=5"));
}

// Moving and deleting renumber the types' files: what the user typed must stay with its type,
// and a deleted type's controls must not land in the type that takes its line.
TEST_F(SettingsDialogs, MovedAndDeletedTypesKeepTheirOwnValuesOnDisk) {
  { TExtSetForm seed(Context()); ASSERT_TRUE(seed.SaveAndClose()); }
  TExtSetContext c = Context();
  c.DocumentName.clear();  // no association of a document's extension on OK
  TExtSetForm form(c);
  ASSERT_GE(form.Types().Count(), 5);
  const std::string moved = form.Types().Items(2).Name;
  const std::string below = form.Types().Items(3).Name;
  const std::string doomed = form.Types().Items(4).Name;
  const std::string after = form.Types().Items(5).Name;
  form.SelectType(2);
  form.FieldByCaption(QStringLiteral("タブ幅"))->setText(QStringLiteral("6"));
  form.ButtonByCaption(QStringLiteral("↓"))->click();
  EXPECT_EQ(form.Types().Items(3).Name, moved);
  EXPECT_EQ(form.TypeListBox()->currentRow(), 3);
  form.SelectType(4);
  form.FieldByCaption(QStringLiteral("タブ幅"))->setText(QStringLiteral("9"));
  form.ButtonByCaption(QStringLiteral("削除(&D)"))->click();
  EXPECT_EQ(form.Types().Items(4).Name, after);
  EXPECT_EQ(form.TypeListBox()->currentRow(), 4);
  ASSERT_TRUE(form.SaveAndClose());
  TTypeList read(c.Folders);
  read.Load();
  read.LoadAll();
  ASSERT_EQ(read.Items(2).Name, below);
  EXPECT_EQ(read.Items(3).Name, moved);
  EXPECT_EQ(read.Items(3).TabCol, 6);
  EXPECT_EQ(read.Items(4).Name, after);
  EXPECT_NE(read.Items(4).TabCol, 9);
  for (int i = 0; i < read.Count(); ++i) EXPECT_NE(read.Items(i).Name, doomed);
}

// The user's XDG folders moved into the test's own for as long as it runs.
class TXdgFolders {
public:
  explicit TXdgFolders(const std::string& root) : data_(root + "/xdg-data/"), config_(root + "/xdg-config/") {
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"})
      if (const char* v = std::getenv(name)) saved_[name] = v;
    ::setenv("XDG_DATA_HOME", data_.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
  }
  ~TXdgFolders() {
    for (const char* name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME"}) {
      if (saved_.count(name)) ::setenv(name, saved_[name].c_str(), 1);
      else ::unsetenv(name);
    }
  }
  std::string data_, config_;

private:
  std::map<std::string, std::string> saved_;
};

TEST_F(SettingsDialogs, TheAssociationPageRegistersTheSelectedExtensionForTheUser) {
  TXdgFolders xdg(folder.Path());
  TMessageCatcher messages;
  TExtSetForm form(Context());
  ASSERT_EQ(form.ExtensionList()->item(0)->text(), QStringLiteral(".TXT"));
  QPushButton* registration = form.ButtonByCaption(QStringLiteral("関連付けとして登録(&U)"));
  QLineEdit* field = form.FieldByCaption(QStringLiteral("拡張子"));
  EXPECT_FALSE(registration->isEnabled());
  form.ExtensionList()->setCurrentRow(0);
  EXPECT_EQ(field->text(), QStringLiteral(".TXT"));
  EXPECT_TRUE(registration->isEnabled());
  EXPECT_FALSE(form.FieldByCaption(QStringLiteral("ファイルタイプ名"))->text().isEmpty());
  field->setText(QStringLiteral("TXT"));
  EXPECT_FALSE(registration->isEnabled());
  field->setText(QStringLiteral(".TXT"));
  form.FieldByCaption(QStringLiteral("VornEditorオプション"))->setText(QStringLiteral("/r"));
  registration->click();
  EXPECT_THAT(messages.texts, ::testing::IsEmpty());
  const std::string entry = vorn::testing::ReadWholeFile(xdg.data_ + "applications/org.vorneditor.VornEditor-txt.desktop");
  EXPECT_THAT(entry, HasSubstr("MimeType=text/plain;"));
  EXPECT_THAT(entry, HasSubstr(" /r %f"));
  EXPECT_THAT(vorn::testing::ReadWholeFile(xdg.config_ + "mimeapps.list"),
              HasSubstr("text/plain=org.vorneditor.VornEditor-txt.desktop;"));
  form.ExtensionList()->setCurrentRow(-1);
  EXPECT_TRUE(field->text().isEmpty());
  EXPECT_FALSE(registration->isEnabled());
}

// A macro from the program's "Macro" folder shows and is stored by its name, one from elsewhere
// by its full path; both come back as they were chosen, and the list is told what the slots
// hold now, not what they held when the dialog opened.
TEST_F(SettingsDialogs, MacroSlotsKeepFilesInsideAndOutsideTheMacroFolder) {
  const std::string inside = folder.Path() + "/Macro/a.mac";
  const std::string outside = folder.Path() + "/elsewhere/b.mac";
  std::vector<std::vector<std::string>> asked;
  std::vector<std::string> answers{outside, inside};
  TCommonSetContext context = CommonContext();
  context.chooseMacro = [&](const std::vector<std::string>& slots) {
    asked.push_back(slots);
    const std::string next = answers.front();
    answers.erase(answers.begin());
    return std::optional(next);
  };
  {
    TEditCommonSetForm form(std::move(context));
    QPushButton* assign = form.Button(QStringLiteral("MacroPage"), QStringLiteral("マクロ割り付け(&A)..."));
    form.MacroList()->setCurrentItem(form.MacroList()->topLevelItem(1));
    assign->click();
    form.MacroList()->setCurrentItem(form.MacroList()->topLevelItem(0));
    assign->click();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0][1], "");
    EXPECT_EQ(asked[1][1], outside);
    EXPECT_EQ(form.MacroList()->topLevelItem(0)->text(1), QStringLiteral("a.mac"));
    EXPECT_EQ(form.MacroList()->topLevelItem(1)->text(1), QString::fromStdString(outside));
    ASSERT_TRUE(form.SaveAll());
  }
  TEditCommonSetForm again(CommonContext());
  EXPECT_EQ(again.Common().Macros[0], inside);
  EXPECT_EQ(again.Common().Macros[1], outside);
}

TEST_F(SettingsDialogs, TheKeywordFileIsSavedOnlyAfterTheQuestion) {
  const std::string file = folder.Path() + "/kw.hil";
  for (const bool ok : {false, true}) {
    TMessageCatcher messages(ok);
    TExtSetForm form(Context());
    form.askSaveName = [&](const QString&, const QString& suffix) {
      EXPECT_EQ(suffix, QStringLiteral("hil"));
      return QString::fromStdString(file);
    };
    form.ButtonByCaption(QStringLiteral("保存(&S)..."))->click();
    ASSERT_EQ(messages.texts.size(), 1u);
    EXPECT_EQ(messages.texts[0], KeywordSaveQuestion());
    EXPECT_EQ(std::filesystem::exists(file), ok);
  }
}

// The platform calls dual-width Japanese fonts proportional; the dialog measures instead, when
// the list is first opened, and the type's font stays chosen.
TEST_F(SettingsDialogs, TheFontListHoldsFixedPitchFamiliesOnceOpened) {
  const QStringList families = TExtSetForm::MeasureFixedPitchFamilies();
  EXPECT_TRUE(families.contains(QStringLiteral("IPAGothic"))) << families.join(", ").toStdString();
  EXPECT_FALSE(families.contains(QStringLiteral("IPAPGothic")));
  TExtSetForm form(Context());
  auto* names = form.findChild<QComboBox*>(QStringLiteral("フォント"));
  ASSERT_NE(names, nullptr);
  const QString shown = names->currentText();
  names->showPopup();
  names->hidePopup();
  EXPECT_NE(names->findText(QStringLiteral("IPAGothic")), -1);
  EXPECT_EQ(names->findText(QStringLiteral("IPAPGothic")), -1);
  EXPECT_EQ(names->currentText(), shown);
}

TEST_F(SettingsDialogs, DependentControlsFollowTheirSwitch) {
  TExtSetForm form(Context());
  QCheckBox* ruler = form.CheckByCaption(QStringLiteral("垂直ルーラ（行番号表示）(&X)"));
  QCheckBox* margin = form.CheckByCaption(QStringLiteral("左マージンに縦線を描く(&T)"));
  ruler->setChecked(true);
  EXPECT_TRUE(margin->isChecked());
  EXPECT_FALSE(margin->isEnabled());
  ruler->setChecked(false);
  EXPECT_TRUE(margin->isEnabled());
  form.CheckByCaption(QStringLiteral("長い行の折り返し(&P)"))->setChecked(false);
  EXPECT_FALSE(form.FieldByCaption(QStringLiteral("折り返し桁数"))->isEnabled());
  form.CheckByCaption(QStringLiteral("インデントは、半角スペースで行う(&B)"))->setChecked(true);
  form.CheckByCaption(QStringLiteral("インデント幅はタブ幅と同じ(&M)"))->setChecked(false);
  EXPECT_TRUE(form.FieldByCaption(QStringLiteral("インデント幅"))->isEnabled());
  form.CheckByCaption(QStringLiteral("インデント幅はタブ幅と同じ(&M)"))->setChecked(true);
  EXPECT_FALSE(form.FieldByCaption(QStringLiteral("インデント幅"))->isEnabled());
}

// "位置の記憶" waits for a fixed size and a fixed position, and then asks the window at once.
TEST_F(SettingsDialogs, RememberingThePositionWantsAFixedSizeAndPosition) {
  int remembered = 0;
  TExtSetContext context = Context();
  context.rememberPosition = [&] { ++remembered; };
  TExtSetForm form(std::move(context));
  QPushButton* remember = form.ButtonByCaption(QStringLiteral("位置の記憶"));
  QCheckBox* position = form.CheckByCaption(QStringLiteral("位置を固定する(&P)"));
  auto radio = [&form](const QString& caption) {
    for (QRadioButton* r : form.findChildren<QRadioButton*>())
      if (r->text() == caption) return r;
    return static_cast<QRadioButton*>(nullptr);
  };
  radio(QStringLiteral("サイズを固定する(&F)"))->setChecked(true);
  position->setChecked(false);
  EXPECT_FALSE(remember->isEnabled());
  position->setChecked(true);
  ASSERT_TRUE(remember->isEnabled());
  remember->click();
  EXPECT_EQ(remembered, 1);
  radio(QStringLiteral("標準(&S)"))->setChecked(true);
  EXPECT_FALSE(position->isEnabled());
  EXPECT_FALSE(remember->isEnabled());
}

TEST_F(SettingsDialogs, CommonSettingsKeyMapAndToolBarRoundTripByteForByte) {
  TKeyTable before = table;
  {
    TEditCommonSetForm form(CommonContext());
    EXPECT_EQ(form.Pages()->count(), 7);
    const int save = FunctionNumber("SaveFile");
    form.SelectFunction(save);
    int f12 = -1;
    for (std::size_t i = 0; i < AssignableKeys().size(); ++i)
      if (AssignableKeys()[i].Key == vk::F12) f12 = static_cast<int>(i);
    form.ChooseKey(f12, kmAlt);
    form.SelectFunction(save);
    form.AssignSelected();
    std::vector<std::string> keys;
    for (int i = 0; i < form.AssignedKeys()->count(); ++i) keys.push_back(form.AssignedKeys()->item(i)->text().toStdString());
    EXPECT_THAT(keys, ElementsAre("CTRL+S", "ALT+F12"));
    form.Field(QStringLiteral("MacroStr3"))->setText(QStringLiteral("三"));
    form.CheckBox(QStringLiteral("「行末<->行頭」カーソル移動を禁止する(&R)"))->setChecked(true);
    ASSERT_TRUE(form.SaveAll());
  }
  const auto saved = FolderBytes(user);
  EXPECT_EQ(table.At(kmAlt, vk::F12), FunctionNumber("SaveFile"));
  TKeyTable reread;
  ASSERT_EQ(LoadKeyFile(user, reread), kfLoaded);
  EXPECT_TRUE(reread == table);
  TEditCommonSetForm again(CommonContext());
  EXPECT_EQ(again.Common().MacroStr[3], Sjis("三"));
  EXPECT_FALSE(again.Common().MoveNextLine);
  EXPECT_TRUE(again.CheckBox(QStringLiteral("「行末<->行頭」カーソル移動を禁止する(&R)"))->isChecked());
  ASSERT_TRUE(again.SaveAll());
  EXPECT_EQ(saved, FolderBytes(user));
  EXPECT_TRUE(saved.count("Common.skd") && saved.count("Key.dat") && saved.count("ToolBar.dat"));
  EXPECT_FALSE(before == table);
}

TEST_F(SettingsDialogs, ToolBarPageButtonsFollowTheSelectedRow) {
  TEditCommonSetForm form(CommonContext());
  const QString page = QStringLiteral("ToolBarPage");
  QListWidget* list = form.ToolBarList();
  ASSERT_EQ(list->count(), static_cast<int>(DefaultToolBar().size()));
  EXPECT_EQ(list->item(4)->text(), QStringLiteral("[--------]"));
  list->setCurrentRow(0);
  EXPECT_FALSE(form.Button(page, QStringLiteral("↑(&U)"))->isEnabled());
  EXPECT_TRUE(form.Button(page, QStringLiteral("↓(&L)"))->isEnabled());
  list->setCurrentRow(list->count() - 1);
  EXPECT_TRUE(form.Button(page, QStringLiteral("↑(&U)"))->isEnabled());
  EXPECT_FALSE(form.Button(page, QStringLiteral("↓(&L)"))->isEnabled());
  form.Button(page, QStringLiteral("---(&S)"))->click();
  EXPECT_EQ(list->count(), static_cast<int>(DefaultToolBar().size()) + 1);
  EXPECT_EQ(list->currentRow(), list->count() - 2);
  EXPECT_EQ(form.ToolBarButtons()[static_cast<std::size_t>(list->count() - 2)], TToolBarList::kSeparator);
}

TEST_F(SettingsDialogs, TheSecondEditorsKeyMapSaveAsksFirst) {
  TEditCommonSetForm first(CommonContext()), second(CommonContext());
  ASSERT_TRUE(first.SaveAll());
  int asked = 0;
  second.keepOthersSettings = [&] { return ++asked, true; };
  EXPECT_FALSE(second.SaveAll());
  EXPECT_EQ(asked, 1);
}

// The colour list paints each line through the editor's row painter in that entry's colours.
TEST(ColorSetListBox, LinesShowTheirEntrysColoursAsTheEditorPaintsThem) {
  TColorSetListBox list;
  list.resize(300, 400);
  list.Colors()[5].SetColor(0x000000FF);     // コメント, red text
  list.Colors()[5].SetBkColor(0x0000FF00);   // on green
  list.Refresh();
  list.show();
  const QRect row = list.visualItemRect(list.item(8));
  const QImage image = list.viewport()->grab(row).toImage().convertToFormat(QImage::Format_RGB32);
  int red = 0, green = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) > 200 && qGreen(p) < 80) ++red;
      if (qGreen(p) > 200 && qRed(p) < 80 && qBlue(p) < 80) ++green;
    }
  EXPECT_GT(red, 0) << "the entry's text colour";
  EXPECT_GT(green, image.width() * image.height() / 4) << "the entry's background";
  EXPECT_EQ(list.item(22)->data(TColorRowDelegate::SjisTextRole).toByteArray().toStdString(), "------------------------");
}

TEST_F(SettingsDialogs, TheKeywordDialogRefusesEmptyAndInvalidPatternsAndKeepsGroupColouring) {
  TVornEditColors colors;
  TMessageCatcher messages;
  TKeyWordPropForm form(&colors);
  form.Boxes().Pattern->setText(QString());
  form.accept();
  EXPECT_NE(form.result(), QDialog::Accepted);
  form.Boxes().Pattern->setText(QStringLiteral("a(b"));
  form.Boxes().RegExp->setChecked(true);
  EXPECT_TRUE(form.Boxes().Case->isChecked());
  form.accept();
  EXPECT_NE(form.result(), QDialog::Accepted);
  ASSERT_EQ(messages.texts.size(), 2u);
  EXPECT_EQ(messages.texts[0], "キーワードを指定してください");
  EXPECT_THAT(messages.texts[1], HasSubstr("検索条件の指定が正しくありません。"));
  form.Boxes().Pattern->setText(QStringLiteral("a(b)"));
  form.GroupCheck()->setChecked(true);
  form.GroupNumber()->setValue(3);
  form.accept();
  EXPECT_EQ(form.result(), QDialog::Accepted);
  EXPECT_EQ(form.KeyWord().HighlightGroup(), 3);
  EXPECT_EQ(form.KeyWord().ColorIndex(), 17);
  form.Boxes().RegExp->setChecked(false);
  EXPECT_FALSE(form.GroupCheck()->isChecked());
  EXPECT_FALSE(form.GroupCheck()->isEnabled());
}

TEST(SeikeiPropForm, CommentOnlyFollowsCommentThroughAndOtherFieldsStay) {
  TVornEditSeikeiOption options;
  options.SetCommentThrough(false);
  options.SetRightUninsertSpaceStr("xyz");
  options.SetWrapCount(60);
  TSeikeiPropForm form;
  form.Show(options);
  EXPECT_FALSE(form.CommentOnlyBox()->isEnabled());
  form.CommentThroughBox()->setChecked(true);
  EXPECT_TRUE(form.CommentOnlyBox()->isEnabled());
  form.CommentOnlyBox()->setChecked(true);
  form.WrapCountBox()->setValue(500);  // the box holds 20 to 200
  form.Store(options);
  EXPECT_TRUE(options.CommentOnly());
  EXPECT_EQ(options.WrapCount(), 200);
  EXPECT_EQ(options.RightUninsertSpaceStr(), "xyz");
}

}  // namespace
}  // namespace vorn
