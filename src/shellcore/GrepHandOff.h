// "Grep.fhd": the one grep-condition record a window hands to the window that runs it.
#pragma once

#include <string>

namespace vorn {

class TGrepKeyWord;

inline constexpr const char* kGrepHandOffFileName = "Grep.fhd";

// Writes the record by atomic replacement; empty text or the reason it failed.
std::string WriteGrepHandOff(const std::string& userFolder, const TGrepKeyWord& request);
// Reads the record into request; false with the reason when the file is missing or damaged
// (the request is then left as it was).
bool ReadGrepHandOff(const std::string& userFolder, TGrepKeyWord& request, std::string& reason);

}  // namespace vorn
