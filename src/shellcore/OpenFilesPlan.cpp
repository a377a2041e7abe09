// Planning where each of several named files opens.
#include "shellcore/OpenFilesPlan.h"

#include "platform/VornUtil.h"
#include "textfile/CodeLetters.h"

namespace vorn {

namespace {

std::string MonitorSwitch(int monitor) { return "-x" + std::to_string(monitor < 0 ? 0 : monitor); }

}  // namespace

TOpenFilesPlan PlanOpenFiles(const std::vector<std::string>& names, bool codeGiven, TCharCodeKind code,
                             const TOpenWindowState& window, const TShownElsewhere& shownElsewhere,
                             const TLinkResolver& resolve) {
  TOpenFilesPlan plan;
  std::vector<std::string> rest;
  for (const std::string& name : names) rest.push_back(resolve(name));
  const bool windowIsFree = !window.hasFileName && !window.modified && !window.grepRunning && !window.grepResult;
  if (windowIsFree && !rest.empty()) {
    plan.openHere = rest.front();
    rest.erase(rest.begin());
  }
  std::string quoted;
  for (const std::string& name : rest) {
    if (shownElsewhere(name))
      plan.showElsewhere.push_back(name);
    else
      quoted += "\"" + name + "\" ";
  }
  if (quoted.empty()) return plan;
  std::string params = codeGiven ? CodeSwitchText(code) : std::string();
  // A line break fixed with a code the new files do not share would be applied to them alone.
  if (window.lineBreakGiven && !(window.openCodeGiven && !codeGiven)) params += LineBreakSwitchText(window.lineBreak);
  plan.newProcessParams = params + quoted + MonitorSwitch(window.monitor);
  return plan;
}

TOpenFilesPlan PlanOpenFiles(const std::vector<std::string>& names, bool codeGiven, TCharCodeKind code,
                             const TOpenWindowState& window, const TShownElsewhere& shownElsewhere) {
  return PlanOpenFiles(names, codeGiven, code, window, shownElsewhere, ResolveShortcut);
}

std::string NewFileParams(const TOpenWindowState& window) {
  std::string params;
  if (window.openCodeGiven) params += CodeSwitchText(window.openCode);
  if (window.lineBreakGiven) params += LineBreakSwitchText(window.lineBreak);
  return params + MonitorSwitch(window.monitor);
}

std::string ShippedFileParams(const std::string& path, int monitor) {
  return "\"" + path + "\" " + MonitorSwitch(monitor);
}

std::vector<std::string> DroppedFiles(const std::vector<std::string>& names) {
  std::vector<std::string> files;
  for (const std::string& name : names)
    if (IsRegularFile(name)) files.push_back(name);
  return files;
}

}  // namespace vorn
