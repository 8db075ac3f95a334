#pragma once

#include <purple.h>

#include <optional>
#include <string>

namespace tessalune::purple {

// The account's own nickname as the plug-in knows it: the one it published last, else the
// account's alias, else its user name without the resource.
std::string accountNickname(PurpleAccount* account);

// Makes nickname the account's public one: on XMPP its published nickname (contacts see it
// as the buddy's name), elsewhere the protocol's public alias. The reason when it cannot be
// sent; a protocol's later refusal is shown by the client.
std::optional<std::string> publishNickname(PurpleAccount* account, const std::string& nickname);

// The reason when XMPP could not carry the text (a character XML does not allow).
std::optional<std::string> xmppCannotCarry(const std::string& text);

}  // namespace tessalune::purple
