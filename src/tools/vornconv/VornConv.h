// vornconv: detect and convert text files exactly as the editor opens and saves them.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace vorn {

// Exit statuses of the tool.
enum TVornConvStatus : int { vcOk = 0, vcUsageOrIoError = 2, vcLossyRead = 3 };

// Runs the tool on args (without the program name); the converted text goes to out unless
// --output names a file, messages go to err.
int RunVornConv(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vorn
