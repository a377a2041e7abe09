// VornGrep's command line: the search folder and file mask from the files and folders it is given.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vorn {

enum TFoundKind { fkNothing, fkFile, fkFolder };

// What a path or wildcard pattern finds first in the file system.
using TPathLookup = std::function<TFoundKind(const std::string&)>;
TFoundKind LookUpPathOnDisk(const std::string& pathOrPattern);

// The editor's arguments: none given gives "-g" alone; otherwise "-g<mask>" and "-p<folder>".
std::vector<std::string> BuildGrepLaunchArgs(const std::vector<std::string>& args,
                                             const TPathLookup& lookUp = LookUpPathOnDisk);

}  // namespace vorn
