// A fatal error: the program shows it in the error box and ends with status -1.
#pragma once

#include <stdexcept>

#include "values/text.h"

namespace values {

class FatalError : public std::runtime_error {
 public:
  // code 0: the error has no code.
  FatalError(int code, Text message)
      : std::runtime_error("fatal error"), code_(code), message_(std::move(message)) {}
  int code() const { return code_; }
  // GBK text.
  const Text& message() const { return message_; }

 private:
  int code_;
  Text message_;
};

}  // namespace values
