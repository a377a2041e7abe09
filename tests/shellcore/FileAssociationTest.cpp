// Registering an extension with the editor in the user's XDG folders: the MIME package, the
// desktop entry made from the shipped one and the default in mimeapps.list, as the desktop's
// own tools read them.
#include "shellcore/FileAssociation.h"

#include "base/VornError.h"

#include "../settings/SettingsTestUtil.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vorn {
namespace {

using test::ReadFile;
using test::TScratchFolder;
using ::testing::HasSubstr;
using ::testing::Not;

TAssocRequest Request(const std::string& extension) {
  TAssocRequest r;
  r.Extension = extension;
  r.TypeName = "ABC文書";
  r.ProgramPath = "/opt/vorn/VornEditor";
  return r;
}

TAssocFolders FoldersIn(const TScratchFolder& dir) { return {dir.Sub("data"), dir.Sub("config")}; }

TEST(FileAssociation, AnUnknownExtensionGetsATypeOfItsOwnThatTheMimeDatabaseTakes) {
  TScratchFolder dir;
  const TAssocFolders folders = FoldersIn(dir);
  TAssocRequest r = Request(".ABC");
  r.Options = "/c";
  r.ChangeIcon = true;
  const TAssocOutcome out = RegisterAssociation(r, folders);
  EXPECT_EQ(out.MimeType, "application/x-vorneditor-abc");
  EXPECT_EQ(out.RefreshNote, "");
  const std::string package = ReadFile(folders.DataHome + "mime/packages/vorneditor-abc.xml");
  EXPECT_THAT(package, HasSubstr("<comment>ABC文書</comment>"));
  EXPECT_THAT(package, HasSubstr("<icon name=\"org.vorneditor.VornEditor\"/>"));
  // update-mime-database compiled the package: the glob is live, case-insensitively as written.
  EXPECT_THAT(ReadFile(folders.DataHome + "mime/globs2"), HasSubstr("application/x-vorneditor-abc:*.abc"));
  const std::string entry = ReadFile(folders.DataHome + "applications/" + AssociationDesktopId(".ABC"));
  EXPECT_THAT(entry, HasSubstr("Name=VornEditor\n"));
  EXPECT_THAT(entry, HasSubstr("Icon=org.vorneditor.VornEditor\n"));
  EXPECT_THAT(entry, HasSubstr("NoDisplay=true\n"));
  EXPECT_THAT(entry, HasSubstr("Exec=\"/opt/vorn/VornEditor\" /c %f\n"));
  EXPECT_THAT(entry, HasSubstr("MimeType=application/x-vorneditor-abc;\n"));
  // The shipped entry's menu actions open no file: they stay with the shipped entry.
  EXPECT_THAT(entry, Not(HasSubstr("Desktop Action")));
  EXPECT_THAT(entry, Not(HasSubstr("%F")));
  const std::string apps = ReadFile(folders.ConfigHome + "mimeapps.list");
  EXPECT_THAT(apps, HasSubstr("[Default Applications]\napplication/x-vorneditor-abc=org.vorneditor.VornEditor-abc.desktop;"));
}

TEST(FileAssociation, AKnownTypeKeepsItsNameAndNeedsAPackageOnlyForTheIcon) {
  TScratchFolder dir;
  const TAssocFolders folders = FoldersIn(dir);
  TAssocRequest r = Request(".TXT");
  r.KnownMimeType = "text/plain";
  r.ChangeIcon = true;
  RegisterAssociation(r, folders);
  const std::string package = folders.DataHome + "mime/packages/vorneditor-txt.xml";
  EXPECT_THAT(ReadFile(package), HasSubstr("<mime-type type=\"text/plain\">"));
  EXPECT_THAT(ReadFile(package), Not(HasSubstr("<comment>")));
  // Registered again without the icon: the earlier package goes, the system's type is left alone.
  r.ChangeIcon = false;
  RegisterAssociation(r, folders);
  EXPECT_FALSE(test::Exists(package));
  EXPECT_THAT(ReadFile(folders.DataHome + "applications/org.vorneditor.VornEditor-txt.desktop"),
              HasSubstr("MimeType=text/plain;\n"));
}

TEST(FileAssociation, TheApplicationListKeepsOtherLinesAndPutsTheEditorFirstOnce) {
  const std::string before =
      "[Default Applications]\ntext/html=firefox.desktop;\n\n[Added Associations]\ntext/plain=gedit.desktop;"
      "org.vorneditor.VornEditor-txt.desktop;\n";
  const std::string id = "org.vorneditor.VornEditor-txt.desktop";
  const std::string after = MimeAppsWithAssociation(before, "text/plain", id, true);
  EXPECT_EQ(after,
            "[Default Applications]\ntext/html=firefox.desktop;\ntext/plain=" + id +
                ";\n\n[Added Associations]\ntext/plain=" + id + ";gedit.desktop;\n");
  // Without "標準の操作" the editor is offered, not made the default.
  const std::string offered = MimeAppsWithAssociation("", "text/x-abc", "a.desktop", false);
  EXPECT_EQ(offered, "[Added Associations]\ntext/x-abc=a.desktop;\n");
}

TEST(FileAssociation, TheCommandQuotesTheProgramAsDesktopEntriesDo) {
  EXPECT_EQ(AssociationExec("/home/a b/Vorn$1/VornEditor", ""), "\"/home/a b/Vorn\\\\$1/VornEditor\" %f");
  // Percent signs that are no field code are doubled; a backslash is escaped twice over, once
  // inside the quotes and once as a value.
  EXPECT_EQ(AssociationExec("/x\\y/VornEditor", "/m 100%"), "\"/x\\\\\\\\y/VornEditor\" /m 100%% %f");
}

// The refusal comes from the file system itself, so it holds for root as well.
TEST(FileAssociation, AFolderThatCannotBeWrittenStopsWithTheFileNamedAndKeepsWhatWasWritten) {
  TScratchFolder dir;
  test::WriteFile(dir.Path() + "config", "a file where the folder should be");
  const TAssocFolders folders{dir.Sub("data"), dir.Path() + "config/"};
  try {
    RegisterAssociation(Request(".ABC"), folders);
    FAIL() << "the application list was written into a file";
  } catch (const EFileCreateError& e) {
    EXPECT_THAT(e.what(), HasSubstr("mimeapps.list"));
  }
  EXPECT_TRUE(test::Exists(folders.DataHome + "applications/org.vorneditor.VornEditor-abc.desktop"));
}

}  // namespace
}  // namespace vorn
