// File-name masks as users write them in grep and the launchers: "*", "?", "*.*", ";"-lists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// Whether name matches one mask, ignoring ASCII letter case. "*" takes any run, "?" one byte;
// a mask ending in ".*" also takes names without an extension (so "*.*" takes every name),
// and a mask ending in a lone "." takes only names without one.
bool MatchesFileMask(std::string_view name, std::string_view mask);

// True when the mask holds "*" or "?", i.e. it names a pattern rather than one entry.
bool HasWildcards(std::string_view mask);

// The masks of a ";"-list, in order; empty items are dropped.
std::vector<std::string> SplitMaskList(std::string_view list);

}  // namespace vorn
