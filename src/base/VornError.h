// Exceptions raised where the system raises them: file open/create failures and class misuse.
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
