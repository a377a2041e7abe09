// The key table, its dispatch, the menu shortcuts read off it, its files and the key list.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <random>
#include <cstring>
#include <fstream>
#include <thread>

#include "TempFolder.h"
#include "base/VornError.h"
#include "encoding/jconvert.h"
#include "shellcore/FunctionTable.h"
#include "shellcore/KeyDispatch.h"
#include "shellcore/KeyListText.h"
#include "shellcore/KeyMapFiles.h"
#include "shellcore/KeyNames.h"

namespace vorn {
namespace {

int Fn(const char* name) { return FunctionByName(name)->Number; }

TKeyDispatch Press(const TKeyTable& table, int modifiers, int key) { return DispatchKey(table, key, modifiers); }

std::string Utf8(const std::string& sjis) { return ConvertCharCode(sjis, ckSjis, ckUtf8N); }

// ---- The built-in table and dispatch. ----

TEST(KeyDispatch, EveryBuiltInKeyRunsExactlyItsFunction) {
  const TKeyTable table = TKeyTable::BuiltIn();
  int assigned = 0;
  for (int m = 0; m < kModifierStates; ++m)
    for (int k = 0; k < kVirtualKeys; ++k) {
      const int f = table.At(m, k);
      if (f == kNoAssignment) continue;
      ++assigned;
      const TKeyDispatch d = Press(table, m, k);
      EXPECT_EQ(d.Function, f) << ShortcutText(m, k);
      EXPECT_EQ(d.SuppressChar, ProducesCharacter(m, k)) << ShortcutText(m, k);
    }
  EXPECT_EQ(assigned, 88);
}

TEST(KeyDispatch, BuiltInSamplesNameTheRightFunctions) {
  const TKeyTable table = TKeyTable::BuiltIn();
  EXPECT_EQ(table.At(0, vk::F10), Fn("TagJump"));
  EXPECT_EQ(table.At(kmAlt, vk::Digit(0)), Fn("Macro1"));
  EXPECT_EQ(table.At(kmAlt, vk::Digit(9)), Fn("Macro10"));
  EXPECT_EQ(table.At(kmCtrl, vk::F10), Fn("Macro10"));
  EXPECT_EQ(table.At(kmCtrl, vk::Digit(3)), Fn("JumpMark3"));
  EXPECT_EQ(table.At(kmShift | kmCtrl, vk::Digit(0)), Fn("SetMark0"));
  EXPECT_EQ(table.At(kmShift | kmCtrl, vk::Letter('Z')), Fn("Redo"));
  EXPECT_EQ(table.At(0, vk::Escape), kNoAssignment);
}

TEST(KeyDispatch, ShiftExtendsOnlyFunctionsMadeForIt) {
  const TKeyTable table = TKeyTable::BuiltIn();
  const TKeyDispatch left = Press(table, kmShift, vk::Left);
  EXPECT_EQ(left.Function, Fn("CursorLeft"));
  EXPECT_EQ(Press(table, kmShift | kmCtrl, vk::Right).Function, Fn("WordRight"));
  // SaveFile does not extend: the key goes on to the pane untouched.
  const TKeyDispatch save = Press(table, kmShift | kmCtrl, vk::Letter('S'));
  EXPECT_EQ(save.Function, kNoAssignment);
  EXPECT_FALSE(save.SuppressChar);
  // Shift+Tab has its own assignment and does not fall back to the plain Tab.
  EXPECT_EQ(Press(table, kmShift, vk::Tab).Function, Fn("ReverseIndent"));
}

TEST(KeyDispatch, CharactersOfControlKeysAreSwallowed) {
  TKeyTable table = TKeyTable::BuiltIn();
  const TKeyDispatch mark = Press(table, kmCtrl, vk::Letter('M'));
  EXPECT_EQ(mark.Function, Fn("ToggleMark"));
  EXPECT_TRUE(mark.SuppressChar);  // no carriage return is typed
  const TKeyDispatch ctrlH = Press(table, kmCtrl, vk::Letter('H'));
  EXPECT_EQ(ctrlH.Function, kNoAssignment);
  EXPECT_TRUE(ctrlH.SuppressChar);  // no backspace either
  EXPECT_FALSE(Press(table, kmCtrl, vk::Letter('K')).SuppressChar);

  table.Set(kmCtrl, vk::Letter('H'), Fn("CursorLeft"));
  const TKeyDispatch shiftCtrlH = Press(table, kmShift | kmCtrl, vk::Letter('H'));
  EXPECT_EQ(shiftCtrlH.Function, Fn("CursorLeft"));
  EXPECT_TRUE(shiftCtrlH.SuppressChar);
}

TEST(KeyDispatch, UnassignedPlainKeysStillType) {
  const TKeyTable table = TKeyTable::BuiltIn();
  const TKeyDispatch a = Press(table, 0, vk::Letter('A'));
  EXPECT_EQ(a.Function, kNoAssignment);
  EXPECT_FALSE(a.SuppressChar);
  const TKeyDispatch shiftA = Press(table, kmShift, vk::Letter('A'));
  EXPECT_EQ(shiftA.Function, kNoAssignment);
  EXPECT_FALSE(shiftA.SuppressChar);
}

TEST(KeyDispatch, HotKeyMarkerDoesNothing) {
  TKeyTable table = TKeyTable::BuiltIn();
  table.Set(kmAlt | kmCtrl, vk::Letter('E'), kHotKeyMarker);
  EXPECT_EQ(Press(table, kmAlt | kmCtrl, vk::Letter('E')).Function, kNoAssignment);
  EXPECT_FALSE(Press(table, kmAlt | kmCtrl, vk::Letter('E')).SuppressChar);
}

TEST(KeyDispatch, OutOfRangeInputIsLeftAlone) {
  const TKeyTable table = TKeyTable::BuiltIn();
  for (auto [m, k] : {std::pair{0, 0}, {0, 256}, {0, -5}, {8, vk::Left}, {-1, vk::Left}}) {
    const TKeyDispatch d = Press(table, m, k);
    EXPECT_EQ(d.Function, kNoAssignment);
    EXPECT_FALSE(d.SuppressChar);
  }
}

// ---- Menu shortcuts. ----

TEST(MenuShortcuts, OnlyFlaggedFunctionsAltKeysAndF10Show) {
  const TKeyTable table = TKeyTable::BuiltIn();
  const auto shortcuts = MenuShortcuts(table, ShortcutFlags(nullptr, 0));
  EXPECT_EQ(shortcuts[Fn("TagJump")], vk::F10);
  EXPECT_EQ(shortcuts[Fn("SaveFile")], kShortcutCtrl | vk::Letter('S'));
  EXPECT_EQ(shortcuts[Fn("WordLeft")], 0);
  EXPECT_EQ(shortcuts[Fn("CursorLeft")], 0);
  // Ctrl+F1 comes first in table order but Macro1 has no flag; its Alt key shows instead.
  EXPECT_EQ(shortcuts[Fn("Macro1")], kShortcutAlt | vk::Digit(0));
  EXPECT_EQ(shortcuts[Fn("Redo")], kShortcutShift | kShortcutCtrl | vk::Letter('Z'));
  EXPECT_EQ(ShortcutModifiers(shortcuts[Fn("Redo")]), kmShift | kmCtrl);
  EXPECT_EQ(ShortcutKey(shortcuts[Fn("Redo")]), vk::Letter('Z'));
}

TEST(MenuShortcuts, FirstKeyInTableOrderWinsAndToolBarAddsFlags) {
  TKeyTable table = TKeyTable::BuiltIn();
  table.Set(0, vk::F1 + 6, Fn("SaveFile"));  // F7, a plain key, comes before Ctrl+S
  const int toolBar[] = {Fn("CursorLeft"), kToolBarSeparator, 9999};
  const auto shortcuts = MenuShortcuts(table, ShortcutFlags(toolBar, 3));
  EXPECT_EQ(shortcuts[Fn("SaveFile")], vk::F1 + 6);
  EXPECT_EQ(shortcuts[Fn("CursorLeft")], vk::Left);
}

// ---- Key.dat. ----

class KeyFileTest : public ::testing::Test {
protected:
  testing::TTempFolder folder_{"keymap"};
  std::string KeyFile() const { return folder_ / kKeyFileName; }
  static TKeyTable Custom() {
    TKeyTable t;
    t.Set(0, vk::Letter('Q'), 0);
    t.Set(7, 255, 167);
    t.Set(kmAlt, vk::Letter('H'), kHotKeyMarker);
    return t;
  }
};

TEST_F(KeyFileTest, SavedTableLoadsBackAndMissingFileKeepsTheTable) {
  TKeyTable table = TKeyTable::BuiltIn();
  EXPECT_EQ(LoadKeyFile(folder_.Path(), table), kfMissing);
  EXPECT_EQ(table, TKeyTable::BuiltIn());
  SaveKeyFile(folder_.Path(), Custom());
  EXPECT_EQ(std::filesystem::file_size(KeyFile()), 8192u);
  EXPECT_EQ(LoadKeyFile(folder_.Path(), table), kfLoaded);
  EXPECT_EQ(table, Custom());
}

TEST_F(KeyFileTest, StoredLayoutIsRowMajorLittleEndian) {
  const std::string bytes = Custom().ToBytes();
  ASSERT_EQ(bytes.size(), 8192u);
  EXPECT_EQ(bytes.substr(vk::Letter('Q') * 4, 4), std::string("\0\0\0\0", 4));
  EXPECT_EQ(bytes.substr((7 * 256 + 255) * 4, 4), std::string("\xA7\0\0\0", 4));
  EXPECT_EQ(bytes.substr((4 * 256 + vk::Letter('H')) * 4, 4), "\xFE\xFF\xFF\xFF");
  EXPECT_EQ(bytes.substr(0, 4), "\xFF\xFF\xFF\xFF");
}

TEST_F(KeyFileTest, WrongSizeGivesTheBuiltInTable) {
  const std::string good = Custom().ToBytes();
  for (const std::string& bytes : {std::string(), good.substr(0, 8191), good.substr(0, 4096), good + std::string(4, '\0')}) {
    folder_.Write(kKeyFileName, bytes);
    TKeyTable table = Custom();
    EXPECT_EQ(LoadKeyFile(folder_.Path(), table), kfWrongSize) << bytes.size();
    EXPECT_EQ(table, TKeyTable::BuiltIn()) << bytes.size();
  }
}

TEST_F(KeyFileTest, ValuesOutsideTheFunctionsBecomeUnassigned) {
  std::string bytes = TKeyTable().ToBytes();
  const auto put = [&](int index, std::uint32_t v) {
    for (int b = 0; b < 4; ++b) bytes[index * 4 + b] = static_cast<char>((v >> (8 * b)) & 0xFF);
  };
  put(10, 168);
  put(11, 0x7FFFFFFF);
  put(12, static_cast<std::uint32_t>(-3));
  put(13, 42);
  folder_.Write(kKeyFileName, bytes);
  TKeyTable table;
  ASSERT_EQ(LoadKeyFile(folder_.Path(), table), kfLoaded);
  EXPECT_EQ(table.At(0, 10), kNoAssignment);
  EXPECT_EQ(table.At(0, 11), kNoAssignment);
  EXPECT_EQ(table.At(0, 12), kNoAssignment);
  EXPECT_EQ(table.At(0, 13), 42);
  for (int m = 0; m < kModifierStates; ++m) EXPECT_EQ(Press(table, m, 11).Function, kNoAssignment);
}

TEST_F(KeyFileTest, FileHeldByAWriterRaisesTheOpenErrorAfterTheRetries) {
  SaveKeyFile(folder_.Path(), Custom());
  const int fd = ::open(KeyFile().c_str(), O_RDWR);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  TKeyTable table = TKeyTable::BuiltIn();
  try {
    LoadKeyFile(folder_.Path(), table, {3, std::chrono::milliseconds(1)});
    ADD_FAILURE() << "a held file loaded";
  } catch (const EFileOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "ファイル \"" + KeyFile() + "\". " + std::strerror(EWOULDBLOCK) + " は開けません");
  }
  EXPECT_EQ(table, TKeyTable::BuiltIn());
  ::close(fd);
}

TEST_F(KeyFileTest, WriterLettingGoDuringTheRetriesIsWaitedFor) {
  SaveKeyFile(folder_.Path(), Custom());
  const int fd = ::open(KeyFile().c_str(), O_RDWR);
  ASSERT_EQ(::flock(fd, LOCK_EX), 0);
  std::thread release([fd] {
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    ::close(fd);
  });
  TKeyTable table;
  EXPECT_EQ(LoadKeyFile(folder_.Path(), table, {51, std::chrono::milliseconds(5)}), kfLoaded);
  release.join();
  EXPECT_EQ(table, Custom());
}

TEST_F(KeyFileTest, UnreadableFileRaisesInsteadOfCrashing) {
  std::filesystem::create_directory(KeyFile());  // refused to root as well
  TKeyTable table = TKeyTable::BuiltIn();
  EXPECT_THROW(LoadKeyFile(folder_.Path(), table, {2, std::chrono::milliseconds(1)}), EFileOpenError);
  EXPECT_EQ(table, TKeyTable::BuiltIn());
  EXPECT_THROW(SaveKeyFile(folder_ / "no/such/folder", Custom()), EFileCreateError);
}

TEST(KeyTableBytes, RandomTablesAndToolBarsSurviveTheirStoredForms) {
  std::mt19937 random(16);
  std::uniform_int_distribution<int> value(-2, kFunctionCount - 1), cell(0, kModifierStates * kVirtualKeys - 1);
  for (int round = 0; round < 50; ++round) {
    TKeyTable table;
    for (int i = 0; i < 300; ++i) {
      const int c = cell(random);
      table.Set(c / kVirtualKeys, c % kVirtualKeys, value(random));
    }
    TKeyTable back = TKeyTable::BuiltIn();
    back.AssignFromBytes(table.ToBytes());
    EXPECT_EQ(back, table);
    std::vector<int> buttons(random() % 40);
    for (int& b : buttons) b = value(random) == -2 ? kToolBarSeparator : value(random);
    EXPECT_EQ(ParseToolBarBytes(ToolBarBytes(buttons)), buttons);
  }
}

// ---- ToolBar.dat. ----

TEST_F(KeyFileTest, ToolBarFileListsButtonsRightToLeft) {
  EXPECT_EQ(LoadToolBarFile(folder_.Path()), DefaultToolBar());
  EXPECT_EQ(DefaultToolBar().front(), Fn("NewFile"));
  EXPECT_EQ(DefaultToolBar().back(), Fn("RightAlign"));
  EXPECT_EQ(DefaultToolBar().size(), 16u);

  const std::vector<int> buttons{Fn("Find"), kToolBarSeparator, Fn("Copy")};
  SaveToolBarFile(folder_.Path(), buttons);
  EXPECT_EQ(LoadToolBarFile(folder_.Path()), buttons);
  const std::string bytes = ToolBarBytes(buttons);
  EXPECT_EQ(bytes, std::string("\x03\0\0\0", 4) + std::string("\x28\0\0\0", 4) + "\xFF\xFF\xFF\xFF" +
                       std::string("\x42\0\0\0", 4));
}

TEST_F(KeyFileTest, DamagedToolBarFilesGiveWhatIsThere) {
  EXPECT_TRUE(ParseToolBarBytes("").empty());
  EXPECT_TRUE(ParseToolBarBytes("\x02\0").empty());
  EXPECT_TRUE(ParseToolBarBytes("\xFF\xFF\xFF\xFF\x01\0\0\0").empty());  // negative count
  // A count far beyond the entries reads only the entries present.
  const std::string huge = std::string("\xFF\xFF\xFF\x7F", 4) + std::string("\x05\0\0\0\x07\0\0\0", 8);
  EXPECT_EQ(ParseToolBarBytes(huge), (std::vector<int>{7, 5}));
  // A number without a function is kept: it becomes an empty button.
  EXPECT_EQ(ParseToolBarBytes(ToolBarBytes({500})), std::vector<int>{500});
}

// ---- Names and the key list. ----

TEST(KeyNames, ShortcutAndDialogTexts) {
  EXPECT_EQ(ShortcutText(kmShift | kmCtrl | kmAlt, vk::Prior), "Shift+Ctrl+Alt+PgUp");
  EXPECT_EQ(ShortcutText(0, vk::Back), "BkSp");
  EXPECT_EQ(ShortcutText(kmCtrl, vk::Digit(7)), "Ctrl+7");
  EXPECT_EQ(ShortcutText(0, vk::F12), "F12");
  EXPECT_EQ(AssignmentText(kmShift | kmAlt, vk::Letter('K')), "ALT+SHIFT+K");
  EXPECT_EQ(AssignmentText(kmCtrl, 0xE2), "CTRL+\\  [ _ ]");
  EXPECT_EQ(AssignmentText(kmCtrl, 0x07), "CTRL+");
  EXPECT_EQ(AssignableKeys().size(), 98u);
  EXPECT_EQ(AssignableKeys().front().Name, "TAB");
  EXPECT_EQ(AssignableKeys().back().Key, 0x13);
}

TEST(KeyListText, HeadIsRightAlignedAndNeverSplitsACharacter) {
  EXPECT_EQ(KeyListHead("Ctrl+S"), std::string(30, ' ') + "Ctrl+S\x81\x46");
  std::string wideText;
  for (int i = 0; i < 20; ++i) wideText += "\x82\xA0";
  EXPECT_EQ(KeyListHead(wideText), wideText.substr(0, 36) + "\x81\x46");
  EXPECT_EQ(KeyListHead("a" + wideText), " a" + wideText.substr(0, 34) + "\x81\x46");
}

TEST(KeyListText, FunctionsWithSeveralKeysTakeSeveralLines) {
  TKeyTable table;
  table.Set(0, vk::F1 + 4, Fn("Undo"));
  table.Set(kmCtrl, vk::Letter('Z'), Fn("Undo"));
  table.Set(kmCtrl, vk::Letter('S'), Fn("SaveFile"));
  const std::string text = Utf8(KeyListText(table));
  const std::string pad36(36, ' ');
  EXPECT_NE(text.find(std::string(36 - 8, ' ') + "やり直し：F5\r\n" + pad36 + "：Ctrl+Z\r\n"), std::string::npos);
  EXPECT_NE(text.find(std::string(36 - 10, ' ') + "上書き保存：Ctrl+S\r\n"), std::string::npos);
  // A function without keys has its head alone; macro-only functions are not listed.
  EXPECT_NE(text.find(std::string(36 - 8, ' ') + "新規作成：\r\n"), std::string::npos);
  EXPECT_EQ(text.find("画面描画を一時的に止める"), std::string::npos);
  EXPECT_EQ(text.rfind(std::string(80, '=') + "\r\n" + pad36 + "機能一覧\r\n", 0), 0u);
  const std::string keyPart = "\r\n\r\n\r\n" + std::string(80, '=') + "\r\n" + pad36 + "キー一覧\r\n" +
                              std::string(80, '=') + "\r\n" + std::string(36 - 2, ' ') + "F5：やり直し\r\n" +
                              std::string(36 - 6, ' ') + "Ctrl+S：上書き保存\r\n" + std::string(36 - 6, ' ') +
                              "Ctrl+Z：やり直し\r\n";
  EXPECT_TRUE(text.ends_with(keyPart));
}

TEST(KeyListText, SavedFileHoldsTheText) {
  testing::TTempFolder folder("keylist");
  SaveKeyListText(folder / "keys.txt", TKeyTable::BuiltIn());
  std::ifstream in(folder / "keys.txt", std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, KeyListText(TKeyTable::BuiltIn()));
  EXPECT_THROW(SaveKeyListText(folder / "none/keys.txt", TKeyTable::BuiltIn()), EFileCreateError);
}

TEST(KeyListText, BuiltInTableListsEveryAssignmentOnce) {
  const std::string text = KeyListText(TKeyTable::BuiltIn());
  const std::size_t keyPart = text.find(ConvertCharCode("キー一覧", ckUtf8N, ckSjis));
  ASSERT_NE(keyPart, std::string::npos);
  int lines = 0;
  for (std::size_t p = text.find("\x81\x46", keyPart); p != std::string::npos; p = text.find("\x81\x46", p + 2))
    ++lines;
  EXPECT_EQ(lines, 88);
}

}  // namespace
}  // namespace vorn
