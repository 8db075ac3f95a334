#pragma once

#include <string>

namespace tessalune::errors {

// The catalogue messages as the running plug-in holds them, by number (101 to 149,
// 901 to 908). A message keeps its "\n" and "%1" markers; the caller replaces them.
class MessageTexts {
 public:
  virtual ~MessageTexts() = default;
  virtual std::string message(int id) const = 0;
};

}  // namespace tessalune::errors
