// Editor processes finding and driving one another over the bus, with real processes.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <sstream>

#include "platform/VornUtil.h"
#include "platform/BusClient.h"
#include "platform/BusEndpoint.h"
#include "platform/NamedLock.h"
#include "shellcore/BusProcess.h"
#include "shellcore/BusWindowHandler.h"
#include "shellcore/InstanceCoordination.h"
#include "vornmsg/VornMsg.h"

namespace vorn {
namespace {

using test::PeerProgram;
using test::TChild;
using TClock = std::chrono::steady_clock;

class InstanceBus : public ::testing::Test {
protected:
  void SetUp() override {
    char dir[] = "/tmp/vorn-bus-XXXXXX";
    ASSERT_NE(::mkdtemp(dir), nullptr);
    root_ = dir;
    ::setenv("XDG_RUNTIME_DIR", (root_ + "/run").c_str(), 1);
    ::mkdir((root_ + "/run").c_str(), 0700);
    ::mkdir((root_ + "/docs").c_str(), 0700);
  }
  void TearDown() override { std::system(("rm -rf '" + root_ + "'").c_str()); }

  std::string Doc(const std::string& name) {
    const std::string path = root_ + "/docs/" + name;
    std::ofstream(path) << "text\n";
    return CanonicalFileName(path);
  }
  std::string ReadLog(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::string root_;
};

TEST_F(InstanceBus, SecondStartOfAnOpenFileHandsTheJumpOverAndEnds) {
  const std::string a = Doc("a.txt");
  const std::string link = root_ + "/docs/link-to-a.txt";
  ASSERT_EQ(::symlink(a.c_str(), link.c_str()), 0);
  const std::string log = root_ + "/first.log";
  TChild first(PeerProgram(), {"--file", a, "--log", log});
  ASSERT_NE(first.Id(), 0) << first.Line();

  // The second start names the file through a link and a "dir/../" spelling.
  TChild second(PeerProgram(), {"--file", root_ + "/docs/../docs/link-to-a.txt", "--jump", "7", "--macro", "Home"});
  EXPECT_EQ(second.Line(), "handed-off");
  EXPECT_EQ(WEXITSTATUS(second.Wait()), 3);
  EXPECT_EQ(ReadLog(log), "focus\njump 0 7\nmacro Home\n");

  // Another file is not taken for it.
  TChild third(PeerProgram(), {"--file", Doc("b.txt")});
  EXPECT_NE(third.Id(), 0) << third.Line();
}

TEST_F(InstanceBus, TwentyEditorsAnswerInActivationOrderAndAKilledOneDisappears) {
  std::vector<std::unique_ptr<TChild>> peers;
  for (int i = 0; i < 20; ++i) {
    peers.push_back(std::make_unique<TChild>(PeerProgram(), std::vector<std::string>{"--file", Doc("f" + std::to_string(i))}));
    ASSERT_NE(peers.back()->Id(), 0) << peers.back()->Line();
  }
  const TBusFolder folder = TBusFolder::Default();
  std::vector<TBusPeer> all = folder.List();
  ASSERT_EQ(all.size(), 20u);
  for (std::size_t i = 0; i < all.size(); ++i)  // the last started was activated last
    EXPECT_EQ(all[i].id, peers[19 - i]->Id());

  const auto start = TClock::now();
  const std::vector<TOpenFileEntry> open = OpenFileList(folder, 0);
  EXPECT_LT(TClock::now() - start, std::chrono::milliseconds(500));
  ASSERT_EQ(open.size(), 20u);
  EXPECT_EQ(open[0].fileName, CanonicalFileName(root_ + "/docs/f19"));

  const std::int64_t killed = peers[5]->Id();
  peers[5]->Kill(SIGKILL);
  all = folder.List();
  EXPECT_EQ(all.size(), 19u);
  for (const TBusPeer& p : all) EXPECT_NE(p.id, killed);
  EXPECT_NE(::access(folder.SocketPath(killed).c_str(), F_OK), 0) << "the dead endpoint's socket is swept";
  EXPECT_EQ(SendBusMessage(folder, killed, MakeBusRequest(TBusMessage::bmQueryOpenFile)).status, TBusStatus::bsNoPeer);
}

TEST_F(InstanceBus, AHungOrDyingPeerCostsTheSenderATimeOutNeverAHang) {
  TChild hung(PeerProgram(), {"--file", Doc("hung"), "--hang"});
  TChild dying(PeerProgram(), {"--file", Doc("dying"), "--die-on-jump"});
  TChild healthy(PeerProgram(), {"--file", Doc("ok")});
  ASSERT_NE(hung.Id(), 0);
  const TBusFolder folder = TBusFolder::Default();

  auto start = TClock::now();
  EXPECT_EQ(SendBusMessage(folder, hung.Id(), MakeBusRequest(TBusMessage::bmQueryOpenFile), 300).status,
            TBusStatus::bsTimedOut);
  EXPECT_LT(TClock::now() - start, std::chrono::milliseconds(1000));

  start = TClock::now();
  EXPECT_EQ(SendBusMessage(folder, dying.Id(), MakeBusRequest(TBusMessage::bmLineJump, 0, 3), 5000).status,
            TBusStatus::bsPeerClosed);
  EXPECT_LT(TClock::now() - start, std::chrono::milliseconds(1000));

  // The open-file query still finds the healthy window, within one time-out for the hung one.
  start = TClock::now();
  const std::vector<TOpenFileEntry> open = OpenFileList(folder, 0, 300);
  EXPECT_LT(TClock::now() - start, std::chrono::milliseconds(1000));
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].window, healthy.Id());
}

TEST_F(InstanceBus, PostsArriveInOrderAndUnbuiltMessagesAreAnsweredNotHandled) {
  const std::string log = root_ + "/order.log";
  TChild peer(PeerProgram(), {"--file", Doc("order"), "--log", log});
  const TBusFolder folder = TBusFolder::Default();
  std::string expected;
  for (int i = 1; i <= 50; ++i) {
    ASSERT_TRUE(PostBusMessage(folder, peer.Id(), MakeBusRequest(TBusMessage::bmLineJump, 1, i)));
    expected += "jump 1 " + std::to_string(i) + "\n";
  }
  // A send is handled after every earlier post.
  EXPECT_EQ(SendBusMessage(folder, peer.Id(), MakeBusRequest(TBusMessage::bmGrepExecute)).status,
            TBusStatus::bsNotHandled);
  EXPECT_EQ(ReadLog(log), expected);

  TBusRequest unknown;
  unknown.name = "VORNEDITOR NO SUCH THING";
  EXPECT_EQ(SendBusMessage(folder, peer.Id(), unknown).status, TBusStatus::bsUnknownMessage);
}

TEST_F(InstanceBus, TheClientQueriesAnEditorsFileAndMovesItsCaret) {
  const std::string a = Doc("client.txt");
  const std::string log = root_ + "/client.log";
  TChild peer(PeerProgram(), {"--file", a, "--log", log});
  ASSERT_NE(peer.Id(), 0);
  std::string out, err;
  EXPECT_EQ(RunVornMsg({"VORNEDITOR QUERY OPEN FILE"}, out, err), 0) << err;
  EXPECT_EQ(out, "1\n" + a + "\n");
  EXPECT_EQ(RunVornMsg({"--file", a, "LINEJUMP", "1", "12"}, out, err), 0) << err;
  EXPECT_EQ(ReadLog(log), "jump 1 12\n");
  EXPECT_EQ(RunVornMsg({"--file", a, "GET CARET ROW POS"}, out, err), 1);
  EXPECT_EQ(RunVornMsg({"--file", root_ + "/nowhere", "LINEJUMP"}, out, err), 2);
  EXPECT_NE(err.find("no editor window shows"), std::string::npos);
  EXPECT_EQ(RunVornMsg({"NO SUCH MESSAGE"}, out, err), 2);
}

TEST_F(InstanceBus, RefusesAFolderOfAnotherUserAndNarrowsItsOwnWideFolder) {
  const std::string wide = root_ + "/wide";
  ASSERT_EQ(::mkdir(wide.c_str(), 0777), 0);
  ASSERT_EQ(::chmod(wide.c_str(), 0777), 0);
  TBusEndpoint own{TBusFolder(wide)};
  EXPECT_EQ(own.Open("TVornEditMain", "t", nullptr), "");
  struct stat st {};
  ASSERT_EQ(::stat(wide.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // chown to another user is allowed only to root; as an ordinary user the kernel refuses
  // it, and a folder we cannot give away is made with a link instead, which is refused too.
  const std::string foreign = root_ + "/foreign";
  ASSERT_EQ(::mkdir(foreign.c_str(), 0700), 0);
  std::string expected = "belongs to another user";
  if (::chown(foreign.c_str(), 65534, 65534) != 0) {
    ::rmdir(foreign.c_str());
    ASSERT_EQ(::symlink(wide.c_str(), foreign.c_str()), 0);
    expected = "is not a folder";
  }
  TBusEndpoint refused{TBusFolder(foreign)};
  const std::string error = refused.Open("TVornEditMain", "t", nullptr);
  EXPECT_NE(error.find(expected), std::string::npos) << error;
  EXPECT_FALSE(refused.IsOpen());
}

TEST_F(InstanceBus, EnumerationFiltersFollowClassAndTitle) {
  const TBusFolder folder = TBusFolder::Default();
  TBusEndpoint main1(folder), sub1(folder), station(folder), blank(folder), other(folder);
  ASSERT_EQ(main1.Open("TVornEditMain", "a.txt", nullptr), "");
  ASSERT_EQ(sub1.Open("TVornEditSub", "a.txt", nullptr), "");
  ASSERT_EQ(station.Open("TVornEditMain", "VORNEDITORSTATION", nullptr), "");
  ASSERT_EQ(blank.Open("TVornEditMain", " \x81\x40\t", nullptr), "");
  ASSERT_EQ(other.Open("TVornEditMain", "b.txt", nullptr), "");
  main1.MarkActivated();
  const std::vector<TBusPeer> all = folder.List();
  ASSERT_EQ(all.size(), 5u);
  EXPECT_EQ(all.front().id, main1.Id());
  const auto others = OtherMainEditors(all, main1.Id());
  ASSERT_EQ(others.size(), 1u);
  EXPECT_EQ(others[0].id, other.Id());
  EXPECT_EQ(AllEditorWindows(all).size(), 3u);
  EXPECT_EQ(FindStation(all), station.Id());
}

}  // namespace
}  // namespace vorn
