// Message names and the little-endian wire frames of the bus.
#include "platform/BusMessage.h"

#include <array>

namespace vorn {
namespace {

constexpr std::array<std::string_view, static_cast<int>(TBusMessage::bmCount)> kNames = {
    "VORNEDITOR SAVE CLOSE", "VORNEDITOR SAVE", "VORNEDITOR QUERY OPEN FILE",
    "VORNEDITOR SETFOCUS", "VORNEDITOR LINEJUMP", "VORNEDITOR QUERY MINIMIZED",
    "VORNEDITOR QUERY MAIN", "VORNEDITOR LOAD COMMON SET", "VORNEDITOR LOAD EXT SET",
    "VORNEDITOR LOAD FILE HISTORY", "VORNEDITOR GREP EXECUTE", "VORNEDITOR LOAD DIFF",
    "VORNEDITOR SET DIFF MODE", "VORNEDITOR JUMP DIFF INFO", "VORNEDITOR SAVE TO TEMPFILE",
    "VORNEDITOR LINE MACRO EXEC", "VORNEDITOR EXTERNAL MACRO EXEC",
    "VORNEDITOR GET VORNE FILENAME", "VORNEDITOR GET CARET ROW POS",
    "VORNEDITOR GET CARET COL POS", "VORNEDITOR GET TOP ROW", "VORNEDITOR ROW TO LINE",
    "VORNEDITOR LINE TO ROW", "VORNEDITOR SET CARET POS", "VORNEDITOR SET TOP ROW",
    "VORNEDITOR CHAR TO ROW", "VORNEDITOR CHAR TO COL", "VORNEDITOR ROW COL TO CHAR",
    "VORNEDITOR CHANGE STATION", "CLOSE", "MINIMIZE", "MOVE", "TOP"};

constexpr std::string_view kRequestMagic = "VBQ1";
constexpr std::string_view kReplyMagic = "VBA1";
constexpr std::size_t kRequestHeader = 32;
constexpr std::size_t kReplyHeader = 20;

void PutInt(std::string& out, std::uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

std::uint64_t GetInt(std::string_view in, std::size_t pos, int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= std::uint64_t(static_cast<unsigned char>(in[pos + i])) << (8 * i);
  return v;
}

std::string_view Clip(const std::optional<std::string>& text) {
  if (!text) return {};
  return std::string_view(*text).substr(0, kMaxBusText);
}

}  // namespace

std::string_view BusMessageName(TBusMessage message) {
  const int i = static_cast<int>(message);
  return i >= 0 && i < static_cast<int>(kNames.size()) ? kNames[i] : std::string_view();
}

std::optional<TBusMessage> BusMessageFromName(std::string_view name) {
  for (std::size_t i = 0; i < kNames.size(); ++i)
    if (kNames[i] == name) return static_cast<TBusMessage>(i);
  return std::nullopt;
}

std::string_view BusStatusText(TBusStatus status) {
  switch (status) {
    case TBusStatus::bsHandled: return "handled";
    case TBusStatus::bsNotHandled: return "not handled";
    case TBusStatus::bsUnknownMessage: return "unknown message";
    case TBusStatus::bsBadRequest: return "bad request";
    case TBusStatus::bsTimedOut: return "no answer in time";
    case TBusStatus::bsNoPeer: return "no such window";
    case TBusStatus::bsPeerClosed: return "the window went away before answering";
  }
  return "unknown status";
}

std::string EncodeBusRequest(const TBusRequest& request) {
  const std::string_view name = std::string_view(request.name).substr(0, kMaxBusNameLength);
  const std::string_view text = Clip(request.text);
  std::string out(kRequestMagic);
  out.push_back(static_cast<char>((request.wantsReply ? 1 : 0) | (request.text ? 2 : 0)));
  out.push_back(static_cast<char>(name.size()));
  PutInt(out, text.size(), 2);
  PutInt(out, static_cast<std::uint64_t>(request.wParam), 8);
  PutInt(out, static_cast<std::uint64_t>(request.lParam), 8);
  PutInt(out, static_cast<std::uint64_t>(request.sender), 8);
  out.append(name);
  out.append(text);
  return out;
}

std::optional<TBusRequest> DecodeBusRequest(std::string_view bytes, std::size_t& used, bool& bad) {
  bad = false;
  const std::size_t head = std::min(bytes.size(), kRequestMagic.size());
  if (bytes.substr(0, head) != kRequestMagic.substr(0, head)) return bad = true, std::nullopt;
  if (bytes.size() < kRequestHeader) return std::nullopt;
  const unsigned flags = static_cast<unsigned char>(bytes[4]);
  const std::size_t nameLength = static_cast<unsigned char>(bytes[5]);
  const std::size_t textLength = GetInt(bytes, 6, 2);
  if (flags > 3 || nameLength > kMaxBusNameLength || textLength > kMaxBusText || (!(flags & 2) && textLength > 0))
    return bad = true, std::nullopt;
  if (bytes.size() < kRequestHeader + nameLength + textLength) return std::nullopt;
  TBusRequest request;
  request.wantsReply = (flags & 1) != 0;
  request.wParam = static_cast<std::int64_t>(GetInt(bytes, 8, 8));
  request.lParam = static_cast<std::int64_t>(GetInt(bytes, 16, 8));
  request.sender = static_cast<std::int64_t>(GetInt(bytes, 24, 8));
  request.name = std::string(bytes.substr(kRequestHeader, nameLength));
  if (flags & 2) request.text = std::string(bytes.substr(kRequestHeader + nameLength, textLength));
  used = kRequestHeader + nameLength + textLength;
  return request;
}

std::string EncodeBusReply(const TBusReply& reply) {
  const std::string_view text = Clip(reply.text);
  std::string out(kReplyMagic);
  PutInt(out, static_cast<std::uint32_t>(reply.status), 4);
  PutInt(out, static_cast<std::uint64_t>(reply.result), 8);
  out.push_back(reply.text ? 1 : 0);
  out.push_back(0);
  PutInt(out, text.size(), 2);
  out.append(text);
  return out;
}

std::optional<TBusReply> DecodeBusReply(std::string_view bytes, std::size_t& used, bool& bad) {
  bad = false;
  const std::size_t head = std::min(bytes.size(), kReplyMagic.size());
  if (bytes.substr(0, head) != kReplyMagic.substr(0, head)) return bad = true, std::nullopt;
  if (bytes.size() < kReplyHeader) return std::nullopt;
  const std::size_t textLength = GetInt(bytes, 18, 2);
  const unsigned hasText = static_cast<unsigned char>(bytes[16]);
  if (hasText > 1 || textLength > kMaxBusText || (!hasText && textLength > 0)) return bad = true, std::nullopt;
  if (bytes.size() < kReplyHeader + textLength) return std::nullopt;
  TBusReply reply;
  reply.status = static_cast<TBusStatus>(static_cast<std::int32_t>(GetInt(bytes, 4, 4)));
  reply.result = static_cast<std::int64_t>(GetInt(bytes, 8, 8));
  if (hasText) reply.text = std::string(bytes.substr(kReplyHeader, textLength));
  used = kReplyHeader + textLength;
  return reply;
}

}  // namespace vorn
