// Argument handling, target choice and the answer printing of vornmsg.
#include "vornmsg/VornMsg.h"

#include <cstdlib>

#include "platform/VornUtil.h"
#include "platform/BusClient.h"
#include "shellcore/InstanceCoordination.h"

namespace vorn {
namespace {

constexpr const char* kUsage =
    "usage: vornmsg list\n"
    "       vornmsg [--to ID | --file NAME] [--post] [--timeout MS] MESSAGE [WPARAM [LPARAM]] [--text TEXT]\n"
    "MESSAGE is a bus message name such as \"VORNEDITOR LINEJUMP\"; the \"VORNEDITOR \" prefix may be left out.\n"
    "Without --to or --file the most recently activated editor window is addressed.\n";

struct TOptions {
  std::int64_t to = 0;
  std::string file;
  bool post = false;
  int timeoutMs = kBusActionTimeoutMs;
  std::vector<std::string> positional;
  std::optional<std::string> text;
};

bool ParseNumber(const std::string& s, std::int64_t& v) {
  char* end = nullptr;
  v = std::strtoll(s.c_str(), &end, 0);
  return !s.empty() && end && *end == '\0';
}

bool ParseOptions(const std::vector<std::string>& args, TOptions& o, std::string& err) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    std::int64_t n = 0;
    if (a == "--post") {
      o.post = true;
    } else if (a == "--to" && hasValue && ParseNumber(args[i + 1], n)) {
      o.to = n;
      ++i;
    } else if (a == "--timeout" && hasValue && ParseNumber(args[i + 1], n) && n > 0 && n <= 600000) {
      o.timeoutMs = static_cast<int>(n);
      ++i;
    } else if (a == "--file" && hasValue) {
      o.file = args[++i];
    } else if (a == "--text" && hasValue) {
      o.text = args[++i];
    } else if (a.rfind("--", 0) == 0) {
      err = "vornmsg: unknown or incomplete option " + a + "\n" + kUsage;
      return false;
    } else {
      o.positional.push_back(a);
    }
  }
  if (o.positional.empty() || o.positional.size() > 3) return err = kUsage, false;
  return true;
}

std::string ListPeers(const TBusFolder& folder) {
  std::string out;
  for (const TBusPeer& p : folder.List())
    out += std::to_string(p.id) + "\t" + p.className + "\t" + std::to_string(p.pid) + "\t" + p.title + "\n";
  return out;
}

bool ResolveTarget(const TBusFolder& folder, const TOptions& o, std::int64_t& target, std::string& err) {
  if (o.to != 0) return target = o.to, true;
  if (!o.file.empty()) {
    target = FindWindowShowingFile(folder, o.file, 0, std::string());
    if (target == 0) err = "vornmsg: no editor window shows " + CanonicalFileName(o.file) + "\n";
    return target != 0;
  }
  const std::vector<TBusPeer> editors = OtherMainEditors(folder.List(), 0);
  if (editors.empty()) return err = "vornmsg: no editor window is running\n", false;
  target = editors.front().id;
  return true;
}

}  // namespace

int RunVornMsg(const std::vector<std::string>& args, std::string& out, std::string& err) {
  const TBusFolder folder = TBusFolder::Default();
  if (std::string error = folder.Prepare(); !error.empty()) return err = "vornmsg: " + error + "\n", 2;
  if (args.size() == 1 && args[0] == "list") return out = ListPeers(folder), 0;
  TOptions o;
  if (!ParseOptions(args, o, err)) return 2;
  std::string name = o.positional[0];
  if (!BusMessageFromName(name) && BusMessageFromName("VORNEDITOR " + name)) name = "VORNEDITOR " + name;
  if (!BusMessageFromName(name)) return err = "vornmsg: unknown message \"" + name + "\"\n", 2;
  TBusRequest request;
  request.name = name;
  request.text = o.text;
  if ((o.positional.size() > 1 && !ParseNumber(o.positional[1], request.wParam)) ||
      (o.positional.size() > 2 && !ParseNumber(o.positional[2], request.lParam)))
    return err = "vornmsg: parameters must be integers\n", 2;
  std::int64_t target = 0;
  if (!ResolveTarget(folder, o, target, err)) return 2;
  if (o.post) return PostBusMessage(folder, target, request) ? 0 : (err = "vornmsg: no such window\n", 2);
  const TBusReply reply = SendBusMessage(folder, target, request, o.timeoutMs);
  if (reply.status != TBusStatus::bsHandled && reply.status != TBusStatus::bsNotHandled)
    return err = "vornmsg: " + std::string(BusStatusText(reply.status)) + "\n", 2;
  out = std::to_string(reply.result) + "\n";
  if (reply.text) out += *reply.text + "\n";
  if (reply.status == TBusStatus::bsNotHandled) return err = "vornmsg: not handled\n", 1;
  return 0;
}

}  // namespace vorn
