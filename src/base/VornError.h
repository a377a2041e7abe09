// Exceptions raised where the system raises them: file open/create failures and class misuse.
//
// Errors, base: the EVornError family is raised where a file cannot be opened or created and
// where a class is misused (a negative stream count); its message is UTF-8 and written for the
// user, so whoever catches it shows it as it stands. Every layer states its own rule at the top
// of its main header; exceptions that cross layers are of this family, or the standard
// library's for exhaustion (std::bad_alloc).
#pragma once

#include <stdexcept>
#include <string>

namespace vorn {

// Messages are UTF-8 (the source encoding); they are shown through the GUI, never stored.
class EVornError : public std::runtime_error {
public:
  explicit EVornError(const std::string& message) : std::runtime_error(message) {}
};

class EFileOpenError : public EVornError {
public:
  EFileOpenError(const std::string& fileName, const std::string& reason)
      : EVornError("ファイル \"" + fileName + "\". " + reason + " は開けません") {}
};

class EFileCreateError : public EVornError {
public:
  EFileCreateError(const std::string& fileName, const std::string& reason)
      : EVornError("ファイル \"" + fileName + "\" を作成できません. " + reason) {}
};

class EBufferedStreamError : public EVornError {
public:
  using EVornError::EVornError;
};

}  // namespace vorn
