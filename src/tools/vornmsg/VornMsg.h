// vornmsg: lets scripts address a running editor window by the bus message names.
#pragma once

#include <string>
#include <vector>

namespace vorn {

// Runs one command line (arguments without the program name); output and errors go to the
// two texts. Returns the exit status: 0 handled, 1 not handled, 2 usage or bus failure.
int RunVornMsg(const std::vector<std::string>& args, std::string& out, std::string& err);

}  // namespace vorn
