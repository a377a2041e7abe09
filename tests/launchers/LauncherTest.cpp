// VornE's option file and parameter text, VornGrep's switches, and VornGrep run as a real process.
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include <gtest/gtest.h>

#include "vorne/OpenLauncher.h"
#include "vorngrep/GrepLauncher.h"

namespace vorn {
namespace {

// Folders are already canonical in these tests; relative ones sit below /cur.
std::string Canon(const std::string& f) {
  std::string out = f.empty() || f[0] != '/' ? "/cur/" + f : f;
  while (out.size() > 1 && out.back() == '/') out.pop_back();
  return out;
}
bool NothingExists(const std::string&) { return false; }

TOpenLaunch Launch(const std::string& opt, const std::vector<std::string>& args, const std::string& cwd = "/cur") {
  return BuildOpenLaunch(ParseOpenLauncherFile(opt, Canon), "/app/VornE", args, cwd, Canon, NothingExists);
}

TEST(OpenLauncherFile, EntriesPairUpSkippingEmptyFolderLinesAndALastFolderLine) {
  TOpenLauncherFile f = ParseOpenLauncherFile("-j1\r\n/ed/VornEditor\n/a\r\n-oe\r\r/b/\n\n/c", Canon);
  EXPECT_EQ(f.Template, "-j1");
  EXPECT_EQ(f.Editor, "/ed/VornEditor");
  EXPECT_EQ(f.Folders, (std::vector<std::string>{"/a/", "/b/"}));
  EXPECT_EQ(f.Options, (std::vector<std::string>{"-oe", ""}));
  // a blank line inside an entry is its options line and shifts the pairing after it
  f = ParseOpenLauncherFile("\n\n/a\n\n-y\n/b\n", Canon);
  EXPECT_EQ(f.Folders, (std::vector<std::string>{"/a/", "/cur/-y/"}));
  EXPECT_EQ(f.Options, (std::vector<std::string>{"", "/b"}));
  // Shift_JIS as the format says; "日本" as a folder name reaches the file system in UTF-8
  f = ParseOpenLauncherFile("\n\n/\x93\xfa\x96\x7b\n-os\n", Canon);
  EXPECT_EQ(f.Folders, (std::vector<std::string>{"/\xe6\x97\xa5\xe6\x9c\xac/"}));
  EXPECT_EQ(OpenLauncherOptionFile("/usr/lib/vorn/VornE"), "/usr/lib/vorn/VornE.opt");
  EXPECT_EQ(OpenLauncherOptionFile("/x.d/VornE.bin"), "/x.d/VornE.opt");
}

TEST(OpenLauncher, WithoutFileAndArgumentsTheEditorBesideStartsBare) {
  TOpenLaunch l = Launch("", {});
  EXPECT_EQ(l.Editor, "/app/VornEditor");
  EXPECT_EQ(l.Parameters, "");
}

TEST(OpenLauncher, FirstFileSelectsOptionsByWholeFolderPrefix) {
  const std::string opt = "-j1\n\n/doc/\n-oe -rn\n/a\n-A\n";
  EXPECT_EQ(Launch(opt, {"/doc/memo/a.txt", "-y"}).Parameters, "-j1 -oe -rn \"/doc/memo/a.txt\" \"-y\"");
  EXPECT_EQ(Launch(opt, {"/a/b/x"}).Parameters, "-j1 -A \"/a/b/x\"");
  EXPECT_EQ(Launch(opt, {"/ab/x"}).Parameters, "-j1 \"/ab/x\"");
  // only the first file looks at its folder
  EXPECT_EQ(Launch(opt, {"/other/x", "/a/y"}).Parameters, "-j1 \"/other/x\" \"/a/y\"");
  // a relative name is looked up from the current folder; an empty argument is a file too
  EXPECT_EQ(Launch("\n\n/cur/a\n-R\n", {"a/z", ""}).Parameters, " -R \"a/z\" \"\"");
  // an empty options line contributes only its space
  EXPECT_EQ(Launch("\n\n/a\n\n", {"/a/f"}).Parameters, "  \"/a/f\"");
}

TEST(OpenLauncher, WithoutFilesOnlyAnEntryForTheCurrentFolderItselfApplies) {
  const std::string opt = "\n\n/w\n-P\n/w/sub\n-S\n";
  EXPECT_EQ(Launch(opt, {"-y"}, "/w/sub").Parameters, " \"-y\" -S");
  EXPECT_EQ(Launch(opt, {}, "/w/sub/deeper").Parameters, "");
}

TEST(OpenLauncher, PlaceholdersTakeArgumentsUnquotedWhereTheyStand) {
  EXPECT_EQ(Launch("-a%2 \"%1\" %3\n", {"x y", "B"}).Parameters, "-aB \"x y\" %3");
  // an argument put in for %1 is never searched for %2
  EXPECT_EQ(Launch("%1 %2\n", {"%2", "v"}).Parameters, "%2 v");
  // "%1" also finds the start of "%10": argument 1 takes whichever stands first
  std::vector<std::string> ten{"one", "2", "3", "4", "5", "6", "7", "8", "9", "ten"};
  EXPECT_EQ(Launch("%10 %1\n", ten).Parameters.substr(0, 8), "one0 %1 ");
  // "/x" with no such file is a switch; a path with a second "/" never is
  EXPECT_EQ(Launch("", {"/y", "/tmp/f"}).Parameters, " \"/y\" \"/tmp/f\"");
}

TEST(GrepLauncher, FolderFromTheFirstArgumentMaskFromTheFileNames) {
  std::map<std::string, TFoundKind> disk{{"/s/a.c", fkFile}, {"/s/lib", fkFolder}, {"/t/a.c", fkFile}};
  auto look = [&](const std::string& p) { return disk.count(p) ? disk[p] : fkNothing; };
  EXPECT_EQ(BuildGrepLaunchArgs({}, look), (std::vector<std::string>{"-g"}));
  EXPECT_EQ(BuildGrepLaunchArgs({"/s/a.c", "/s/*.h", "/s/lib"}, look),
            (std::vector<std::string>{"-ga.c;*.h", "-p/s/"}));
  EXPECT_EQ(BuildGrepLaunchArgs({"/s/lib", "/t/a.c", "/s/a.c"}, look),
            (std::vector<std::string>{"-ga.c;a.c", "-p/s/lib"}));
  EXPECT_EQ(BuildGrepLaunchArgs({"/s/lib", "/s/lib"}, look), (std::vector<std::string>{"-g", "-p/s/lib"}));
}

TEST(GrepLauncher, WildcardLookupTellsFoldersFromFiles) {
  std::string tmpl = (std::filesystem::temp_directory_path() / "vorngl" ).string() + "XXXXXX";
  const std::string root = ::mkdtemp(tmpl.data());
  std::filesystem::create_directory(root + "/dir1");
  std::ofstream(root + "/file1") << "x";
  EXPECT_EQ(LookUpPathOnDisk(root + "/dir?"), fkFolder);
  EXPECT_EQ(LookUpPathOnDisk(root + "/FILE*"), fkFile);
  EXPECT_EQ(LookUpPathOnDisk(root + "/none*"), fkNothing);
  EXPECT_EQ(LookUpPathOnDisk(root + "/dir1"), fkFolder);
  std::filesystem::remove_all(root);
}

// VornGrep copied beside a stand-in "VornEditor" that records its arguments: the launcher ends
// at once and the editor receives exactly the two switches.
TEST(GrepLauncher, StartsTheEditorBesideItselfWithTheSwitches) {
  std::string tmpl = (std::filesystem::temp_directory_path() / "vorngp").string() + "XXXXXX";
  const std::string root = ::mkdtemp(tmpl.data());
  std::filesystem::copy_file(VORN_BIN_DIR "/VornGrep", root + "/VornGrep");
  const std::string out = root + "/args.txt";
  std::ofstream(root + "/VornEditor") << "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + out + ".part && mv " + out +
                                             ".part " + out + "\n";
  std::filesystem::permissions(root + "/VornEditor", std::filesystem::perms::owner_all);
  std::ofstream(root + "/a b.c") << "x";
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::execl((root + "/VornGrep").c_str(), "VornGrep", (root + "/a b.c").c_str(), (root + "/").c_str(), nullptr);
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  for (int i = 0; i < 200 && !std::filesystem::exists(out); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::ifstream in(out);
  std::string a, b, c;
  std::getline(in, a);
  std::getline(in, b);
  EXPECT_EQ(a, "-ga b.c");
  EXPECT_EQ(b, "-p" + root + "/");
  EXPECT_FALSE(std::getline(in, c));
  std::filesystem::remove_all(root);
}

// VornE as a process: it starts the editor beside it without loading the widget toolkit (its
// start-up time depends on that), and with no editor and no message module it still ends, with
// the message on its error output.
TEST(OpenLauncher, StartsTheEditorWithoutTheToolkitAndReportsAMissingEditor) {
  std::string tmpl = (std::filesystem::temp_directory_path() / "vornve").string() + "XXXXXX";
  const std::string root = ::mkdtemp(tmpl.data());
  std::filesystem::copy_file(VORN_BIN_DIR "/VornE", root + "/VornE");
  auto run = [&](const std::string& errFile) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      const int fd = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(fd, 2);
      ::execl((root + "/VornE").c_str(), "VornE", (root + "/x.txt").c_str(), nullptr);
      ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  };
  EXPECT_EQ(run(root + "/err1.txt"), 0);
  std::ifstream err(root + "/err1.txt");
  std::string line;
  std::getline(err, line);
  EXPECT_EQ(line, "VornE: VornEditorが見つかりません");

  const std::string out = root + "/args.txt";
  std::ofstream(root + "/VornEditor") << "#!/bin/sh\nprintf '%s\\n' \"$@\" > " + out + ".part && mv " + out +
                                             ".part " + out + "\n";
  std::filesystem::permissions(root + "/VornEditor", std::filesystem::perms::owner_all);
  EXPECT_EQ(run(root + "/err2.txt"), 0);
  for (int i = 0; i < 200 && !std::filesystem::exists(out); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  std::ifstream in(out);
  std::getline(in, line);
  EXPECT_EQ(line, root + "/x.txt");

  // The launcher's own libraries: nothing of Qt.
  const std::string ldd = "ldd " + root + "/VornE > " + root + "/libs.txt";
  ASSERT_EQ(std::system(ldd.c_str()), 0);
  std::ifstream libs(root + "/libs.txt");
  std::string all((std::istreambuf_iterator<char>(libs)), std::istreambuf_iterator<char>());
  EXPECT_EQ(all.find("Qt"), std::string::npos) << all;
  std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace vorn
