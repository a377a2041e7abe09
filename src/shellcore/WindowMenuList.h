// The run-time entries of the window menu: the documents of other editors, then this
// process's other windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/PathVariables.h"
#include "shellcore/InstanceCoordination.h"

namespace vorn {

struct TWindowMenuEntry {
  bool separator = false;
  std::string caption;      // UTF-8
  std::int64_t window = 0;  // the bus id a click activates
};

struct TOwnWindow {
  std::int64_t window = 0;
  bool main = false;
};

// Foreign documents as "&n:" + the name shortened to maxWidth ("[無題]" as it is); when the
// process has more than one window, the own windows other than self as "Main &n" and
// "Sub  &n". Numbers run from 1 across both groups; each group follows a separator.
std::vector<TWindowMenuEntry> WindowMenuEntries(const std::vector<TOpenFileEntry>& documents,
                                                const std::vector<TOwnWindow>& ownWindows, std::int64_t self,
                                                const TTextMeasure& measure, int maxWidth = 200);

}  // namespace vorn
