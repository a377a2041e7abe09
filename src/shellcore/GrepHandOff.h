// "Grep.fhd": the one grep-condition record a window hands to the window that runs it.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/BusFolder.h"

namespace vorn {

class TGrepKeyWord;

inline constexpr const char* kGrepHandOffFileName = "Grep.fhd";

// Writes the record by atomic replacement; empty text or the reason it failed.
std::string WriteGrepHandOff(const std::string& userFolder, const TGrepKeyWord& request);
// Reads the record into request; false with the reason when the file is missing or damaged
// (the request is then left as it was).
bool ReadGrepHandOff(const std::string& userFolder, TGrepKeyWord& request, std::string& reason);

// The window the hand-off is posted to: among the other main editors (own left out), the first
// of the started process pid that was not registered before the start (known); 0 while there
// is none. A window of another process never qualifies, however new it is.
std::int64_t HandOffWindow(const std::vector<TBusPeer>& all, pid_t pid, std::int64_t ownMain,
                           const std::vector<std::int64_t>& known);

}  // namespace vorn
