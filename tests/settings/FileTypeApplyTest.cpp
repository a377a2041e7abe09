// Applying a file type to the windows, and the shipped templates from a first start to a C file.
#include "settings/TypeList.h"

#include "ApplyTargetDouble.h"
#include "SettingsTestUtil.h"

#include <gtest/gtest.h>

namespace vorn {
namespace {

using test::TPaneDouble;
using test::TProcessDouble;

TEST(FileTypeApply, EveryPaneOfEveryWindowGetsTheTypesRecordsAndOptions) {
  TTypeList list({"/nonexistent/", "/nonexistent/"}, nullptr);
  TFileSetting& t = list.Add();
  t.TabCol = 4;
  t.SpaceIndent = true;
  t.LineOffset = 3;
  t.WSpaceVisible = true;
  t.SeikeiVLine = true;
  t.UnderlineColor = 0x00112233;
  t.SeikeiVLineColor = 0x00445566;
  t.KeyWordStrong = true;
  t.VerticalScroll = false;
  t.HorizontalScroll = true;
  t.WordBytes = 120;
  t.SeikeiCommentOnly = true;
  t.FixWindow = true;
  t.Keywords().Add().SetPattern("int");
  t.Commenter().SetPattern("//");
  t.Brackets().Add().LeftBracket().SetPattern("/*");
  t.Colors()[17].SetColor(0x00FF0000);
  TProcessDouble process;
  process.AllPanes()[0]->seikei.SetCommentThrough(false);
  t.ApplyToEditors(process);
  for (TPaneDouble* p : process.AllPanes()) {
    EXPECT_EQ(p->caret.TabSpaceCount(), 4);
    EXPECT_FALSE(p->caret.TabIndent());
    EXPECT_EQ(p->margin.Line(), 3);
    EXPECT_TRUE(p->marks.DBSpaceMark());
    EXPECT_TRUE(p->marks.WordWrapLine());
    EXPECT_TRUE(p->view.Keyword());
    ASSERT_EQ(p->view.Keywords().Count(), 1);
    EXPECT_EQ(p->view.Keywords().Items(0).Pattern(), "int");
    EXPECT_EQ(p->view.Commenter1().Pattern(), "//");
    EXPECT_EQ(p->view.Brackets().Count(), 1);
    EXPECT_EQ(p->view.Colors()[17].Color(), 0x00FF0000u);
    EXPECT_EQ(p->view.Colors()[42].Color(), 0x00112233u);
    EXPECT_EQ(p->view.Colors()[43].Color(), 0x00445566u);
    EXPECT_EQ(p->typeOptions.ScrollBars, ssHorizontal);
    EXPECT_EQ(p->wrap.WrapByte(), 120);
    EXPECT_TRUE(p->seikei.CommentOnly());
    EXPECT_TRUE(p->seikei.CommentThrough());
  }
  for (auto& w : process.windows) EXPECT_TRUE(w->typeOptions.FixWindow);
}

TEST(FileTypeApply, ReapplyingTheSameTypeChangesNoRecord) {
  TTypeList list({"/nonexistent/", "/nonexistent/"}, nullptr);
  TFileSetting& t = list.Add();
  t.Keywords().Add().SetPattern("int");
  t.TabCol = 3;
  TProcessDouble process;
  t.ApplyToEditors(process);
  int changes = 0;
  for (TPaneDouble* p : process.AllPanes()) {
    auto count = [&changes](TNotifyPersistent*) { ++changes; };
    p->caret.SetOnChange(count);
    p->margin.SetOnChange(count);
    p->marks.SetOnChange(count);
    p->view.SetOnChange(count);
    p->wrap.SetOnChange(count);
  }
  t.ApplyToEditors(process);
  EXPECT_EQ(changes, 0);
}

TEST(FileTypeApply, ALayoutChangeClearsTheUndoOfModifiedDocumentsOnly) {
  TTypeList list({"/nonexistent/", "/nonexistent/"}, nullptr);
  TFileSetting& t = list.Add();
  TProcessDouble process;
  t.ApplyToEditors(process);
  auto panes = process.AllPanes();
  panes[0]->modified = true;
  // Only a setting that does not move text: no undo is lost.
  t.RetVisible = !t.RetVisible;
  t.ApplyToEditors(process);
  EXPECT_EQ(panes[0]->undoClears, 0);
  t.TabCol = 2;
  t.ApplyToEditors(process);
  EXPECT_EQ(panes[0]->undoClears, 1);
  EXPECT_EQ(panes[1]->undoClears, 0);
  t.WordWrap = true;
  t.ApplyToEditors(process);
  EXPECT_EQ(panes[0]->undoClears, 2);
}

TEST(ShippedTemplates, FirstStartWithAnEmptyUserFolderGivesACFileTheCTypesKeywordsAndColours) {
  test::TScratchFolder scratch;
  TTypeList list({scratch.Sub("user"), VORN_BIN_DIR "/Setting/"}, nullptr);
  list.Load();
  EXPECT_TRUE(list.TakeMessages().empty());
  EXPECT_GE(list.Count(), 15);
  EXPECT_EQ(list.Items(0).Name, CommonTypeName());
  ASSERT_NE(list.FindGrep(), nullptr);

  TTypeList restarted({scratch.Path() + "user/", VORN_BIN_DIR "/Setting/"}, nullptr);
  restarted.Load();
  TFileSetting& c = restarted.FindByFileName("/home/u/src/main.c");
  EXPECT_EQ(c.Name, "C/C++");
  EXPECT_EQ(restarted.FindByFileName("x.HPP").Name, "C/C++");
  EXPECT_EQ(restarted.FindByFileName("setup.py").Name, "Python");
  EXPECT_EQ(restarted.FindByFileName("index.html").Name, "HTML/XML");
  EXPECT_EQ(restarted.FindByFileName("notes.txt").Name, Sjis("テキスト"));
  TProcessDouble process;
  c.ApplyToEditors(process);
  TPaneDouble& pane = *process.AllPanes()[0];
  EXPECT_TRUE(pane.view.Keyword());
  bool hasInt = false;
  for (int i = 0; i < pane.view.Keywords().Count(); ++i) {
    const TVornEditKeyword& k = pane.view.Keywords().Items(i);
    if (k.Pattern() == "int") {
      hasInt = true;
      EXPECT_TRUE(k.WholeWord());
      EXPECT_EQ(pane.view.Colors()[k.ColorIndex()].Color(), 0x00808000u);
    }
  }
  EXPECT_TRUE(hasInt);
  EXPECT_EQ(pane.view.Commenter1().Pattern(), "//");
  EXPECT_EQ(pane.view.Colors()[5].Color(), 0x00008000u);
  EXPECT_EQ(pane.caret.TabSpaceCount(), 4);
  EXPECT_EQ(process.typeIniFileName, scratch.Path() + "user/FSet" + std::to_string(restarted.IndexOf(c)) + ".ini");
}

}  // namespace
}  // namespace vorn
