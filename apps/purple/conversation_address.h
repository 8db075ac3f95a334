#pragma once

#include <purple.h>

#include <string>

namespace tessalune::purple {

// A conversation by its names, not its pointer: the account or the conversation may be gone
// by the time a command has run (a window was open meanwhile), so both are looked up again
// whenever they are needed.
struct ConversationAddress {
  std::string accountUser;
  std::string protocolId;
  std::string name;
  bool chat = false;

  static ConversationAddress of(PurpleConversation* conversation);
  // Null when the account is gone or signed off.
  PurpleAccount* account() const;
  // Null when the conversation (or its account) is gone; found while the account is offline.
  PurpleConversation* conversation() const;
};

}  // namespace tessalune::purple
