// Fuzzes the command line: any parameter text, split and planned, must neither crash nor hang,
// and the hand-off text must split back into the files it carries.
#include "platform/PathPolicy.h"
#include "shellcore/CommandLine.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto args = vorn::SplitParamText(text);
  const vorn::TPathExists none = [](const std::string&) { return false; };
  const auto plan = vorn::PlanCommandLine(args, none);
  (void)vorn::TakesStationGate(args);
  (void)vorn::IsStationModeCommand(args);
  (void)vorn::StartsMinimized(args);
  // Names without quotes survive the hand-off as they were written.
  bool quoteFree = true;
  for (const auto& f : plan.namedFiles) quoteFree = quoteFree && f.find('"') == std::string::npos;
  if (quoteFree && plan.namedFiles.size() > 1) {
    const auto next = vorn::PlanCommandLine(vorn::SplitParamText(vorn::HandOffParamText(plan, 0)), none);
    for (std::size_t i = 1; i < plan.namedFiles.size(); ++i)
      if (next.namedFiles.size() < i || next.namedFiles[i - 1] != plan.namedFiles[i]) std::abort();
  }
  return 0;
}
