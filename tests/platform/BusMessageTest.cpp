// Wire frames of the bus: random requests and replies fed a byte at a time, and bad frames.
#include <gtest/gtest.h>

#include <random>

#include "platform/BusMessage.h"

namespace vorn {
namespace {

std::string RandomBytes(std::mt19937& random, std::size_t size) {
  std::string s(size, '\0');
  for (char& c : s) c = static_cast<char>(random());
  return s;
}

TEST(BusFrames, RandomRequestsAndRepliesSurviveAnySplitAndCarryLongPaths) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    TBusRequest request;
    request.name = std::string(BusMessageName(static_cast<TBusMessage>(random() % int(TBusMessage::bmCount))));
    request.wParam = static_cast<std::int64_t>(random()) << 33 | random();
    request.lParam = -static_cast<std::int64_t>(random());
    request.sender = random();
    request.wantsReply = random() % 2;
    if (random() % 3) request.text = RandomBytes(random, random() % (kMaxBusText + 1));
    const std::string frame = EncodeBusRequest(request) + "next";
    for (std::size_t cut = 0; cut < frame.size() - 4; cut += 1 + cut / 8) {
      std::size_t used = 0;
      bool bad = true;
      EXPECT_FALSE(DecodeBusRequest(std::string_view(frame).substr(0, cut), used, bad));
      EXPECT_FALSE(bad) << cut;
    }
    std::size_t used = 0;
    bool bad = false;
    const auto back = DecodeBusRequest(frame, used, bad);
    ASSERT_TRUE(back);
    EXPECT_EQ(used, frame.size() - 4);
    EXPECT_EQ(back->name, request.name);
    EXPECT_EQ(back->wParam, request.wParam);
    EXPECT_EQ(back->lParam, request.lParam);
    EXPECT_EQ(back->sender, request.sender);
    EXPECT_EQ(back->wantsReply, request.wantsReply);
    EXPECT_EQ(back->text, request.text);

    TBusReply reply{static_cast<TBusStatus>(random() % 4), request.wParam, request.text};
    const std::string answer = EncodeBusReply(reply);
    const auto got = DecodeBusReply(answer, used, bad);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->status, reply.status);
    EXPECT_EQ(got->result, reply.result);
    EXPECT_EQ(got->text, reply.text);
  }
}

TEST(BusFrames, ForeignBytesAndOversizedTextsAreRefusedOrCut) {
  std::size_t used = 0;
  bool bad = false;
  EXPECT_FALSE(DecodeBusRequest("GET / HTTP/1.0\r\n\r\n", used, bad));
  EXPECT_TRUE(bad);
  EXPECT_FALSE(DecodeBusReply("VBQ1", used, bad));
  EXPECT_TRUE(bad);

  TBusRequest big;
  big.name = "VORNEDITOR LINE MACRO EXEC";
  big.text = std::string(kMaxBusText + 100, 'x');
  std::string frame = EncodeBusRequest(big);
  const auto back = DecodeBusRequest(frame, used, bad);
  ASSERT_TRUE(back);
  EXPECT_EQ(back->text->size(), kMaxBusText);
  frame[6] = '\xFF';  // a text length beyond the limit
  frame[7] = '\xFF';
  EXPECT_FALSE(DecodeBusRequest(frame, used, bad));
  EXPECT_TRUE(bad);
}

}  // namespace
}  // namespace vorn
