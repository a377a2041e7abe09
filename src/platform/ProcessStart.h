// Starting another program with a parameter text, detached from this process.
#pragma once

#include <string>
#include <vector>

namespace vorn {

// The running executable's full path (/proc/self/exe).
std::string CurrentExecutablePath();

// Starts program with the arguments split from paramText by the command-line rules and does
// not wait for it. The child is detached (re-parented to init), so it never lingers as a
// zombie of this process. Returns false with an error text when it could not be started.
bool StartProgram(const std::string& program, const std::string& paramText, std::string* error = nullptr);
bool StartProgramArgs(const std::string& program, const std::vector<std::string>& args, std::string* error = nullptr);

}  // namespace vorn
