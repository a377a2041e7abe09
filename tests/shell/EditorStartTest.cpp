// The program's start as the program runs it: folders, file types and the window on a file.
#include "shell/EditorStart.h"

#include "platform/VornUtil.h"
#include "shell/StatusPanels.h"
#include "TempFolder.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace vorn {
namespace {

namespace fs = std::filesystem;

// A copy of the programs with "Setting/" in a folder that belongs to someone else (a shared
// disk, another user's build tree): the user folder cannot be made beside it. The start goes
// on with the user's own data folder, copies the templates there and says where they went.
TEST(EditorStart, AProgramFolderTheUserMayNotWriteStillOpensTheFileAndSaysWhereSettingsAre) {
  testing::TTempFolder tmp("vorn-start");
  fs::permissions(tmp.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
  const std::string program = tmp / "programs/";
  fs::create_directories(program + "Setting");
  std::ofstream(program + "Setting/Setting.txt", std::ios::binary) << "# the built-in types only\r\n";
  fs::permissions(program, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  const std::string file = tmp.Write("notes.txt", "abc\r\n");
  const std::string data = tmp / "data/";
  fs::create_directories(data);
  fs::permissions(data, fs::perms::all);

  const int result = testing::RunUnprivileged([&] {
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    std::string runtime = data + "run-XXXXXX";  // the bus of this child alone
    if (!::mkdtemp(runtime.data())) return 10;
    ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    SetProgramFolderOverride(program);
    SetUserFolderOverride(std::string());
    TEditorStart start({file}, false);
    if (!start.Open()) return 1;
    if (start.Window()->FileName() != file) return 2;
    if (UserFolder().rfind(data + "VornEditor/", 0) != 0) return 3;
    const QString said = start.Window()->StatusPanels()->Panel(TStatusPanels::spMessage)->Text();
    if (!said.contains(QString::fromStdString(UserFolder()))) return 4;
    if (!IsRegularFile(UserFolder() + "FSet0.ini")) return 5;
    return 0;
  });
  EXPECT_EQ(result, 0);
  // Nothing was written beside the programs.
  EXPECT_EQ(std::distance(fs::directory_iterator(program), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace vorn
