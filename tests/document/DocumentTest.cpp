#include <gtest/gtest.h>

#include "document/VornDocument.h"
#include "store/HeadlessView.h"

namespace vorn {
namespace {

// "Modified" is whatever the undo history says of the rows: edits from either pane make the
// document modified, undoing back to the saved text makes it unmodified again, and a document
// marked unsaved stays modified whatever is undone.
TEST(Document, ModifiedFollowsTheSavedStateThroughEditsUndoAndRedo) {
  TVornDocument doc;
  TVornEditHeadlessView upper(doc.SharedStore()), lower(doc.SharedStore());
  upper.Lines().SetTextStr("one\r\ntwo\r\n");
  doc.MarkSaved();
  EXPECT_FALSE(doc.Modified());

  doc.Store().ReplaceRows(0, 1, "ONE\r\n", upper.Caret());
  EXPECT_TRUE(doc.Modified());
  doc.Store().ReplaceRows(1, 1, "TWO\r\n", lower.Caret());
  ASSERT_TRUE(lower.Undo());
  EXPECT_TRUE(doc.Modified());
  ASSERT_TRUE(upper.Undo());
  EXPECT_FALSE(doc.Modified()) << "back at the saved text";
  ASSERT_TRUE(upper.Redo());
  EXPECT_TRUE(doc.Modified());

  doc.MarkSaved();
  EXPECT_FALSE(doc.Modified());
  ASSERT_TRUE(upper.Undo());
  EXPECT_TRUE(doc.Modified()) << "undo past a save differs from the file";
  ASSERT_TRUE(upper.Redo());
  EXPECT_FALSE(doc.Modified());

  doc.MarkUnsaved();
  EXPECT_TRUE(doc.Modified());
  while (upper.Undo()) EXPECT_TRUE(doc.Modified());
}

// Switching word wrap forgets the undo steps, never whether the text differs from the file.
TEST(Document, AWrapSwitchKeepsModifiedAsItWas) {
  TVornDocument doc;
  TVornEditHeadlessView pane(doc.SharedStore());
  pane.Lines().SetTextStr("one\r\ntwo\r\n");
  doc.MarkSaved();
  doc.Store().ReplaceRows(0, 1, "ONE\r\n", pane.Caret());
  ASSERT_TRUE(doc.Modified());
  doc.Store().SetWordWrap(true);
  EXPECT_TRUE(doc.Modified());
  doc.Store().SetWordWrap(false);
  EXPECT_TRUE(doc.Modified());
  doc.MarkSaved();
  doc.Store().SetWordWrap(true);
  EXPECT_FALSE(doc.Modified()) << "saved after edits: still the file's text";
}

// The document's store wraps, and outlives panes that come and go.
TEST(Document, StoreWrapsAndSurvivesItsPanes) {
  TVornDocument doc;
  {
    TVornEditHeadlessView pane(doc.SharedStore());
    pane.Lines().SetTextStr(std::string(200, 'a') + "\r\n");
  }
  doc.Store().SetWordWrap(true);
  EXPECT_GT(doc.Store().Count(), 1);
  EXPECT_EQ(doc.Store().LineCount(), 1);
  EXPECT_TRUE(doc.Store().Views().empty());
}

}  // namespace
}  // namespace vorn
