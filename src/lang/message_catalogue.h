#pragma once

#include <map>
#include <string>

#include "errors/message_texts.h"

namespace tessalune::lang {

// The message table of one language, compiled in. An unknown language, or a number its
// table lacks, falls back to English.
class MessageCatalogue {
 public:
  explicit MessageCatalogue(int languageId);

  int languageId() const { return languageId_; }
  std::string text(int id) const;

 private:
  int languageId_;
  std::map<int, std::string> table_;
  std::map<int, std::string> english_;
};

}  // namespace tessalune::lang
