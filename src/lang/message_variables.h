#pragma once

#include <array>
#include <string>

#include "errors/message_texts.h"
#include "lang/message_catalogue.h"

namespace tessalune::lang {

// The message variables of the running plug-in: messages 101 to 157, copied from the
// catalogue by loadMessages at start-up and used from then on. The command descriptions
// 901 to 908 are not kept; they are read from the catalogue every time they are asked for,
// and so are the hosts' words (a host phrase that introduces one of these messages is
// said in the message's language).
class MessageVariables : public errors::MessageTexts {
 public:
  static constexpr int kFirst = 101;
  static constexpr int kLast = 157;

  explicit MessageVariables(MessageCatalogue catalogue);

  // Copies messages 101 to 157 from the catalogue. Until then they are empty.
  void loadMessages();

  // The loaded text of 101 to 157, the catalogue's text of 901 to 908 and of the hosts'
  // words, "" for any other number.
  std::string message(int id) const override;

  const MessageCatalogue& catalogue() const { return catalogue_; }

 private:
  MessageCatalogue catalogue_;
  std::array<std::string, kLast - kFirst + 1> variables_;
};

}  // namespace tessalune::lang
