#pragma once

#include <purple.h>

#include <optional>
#include <string>

#include "purple_texts.h"

namespace tessalune::purple {

// The account's own nickname as the plug-in knows it: the one it published last, else the
// account's alias, else its user name without the resource.
std::string accountNickname(PurpleAccount* account);

// Whether the account publishes its nickname on XMPP: the server answers the request named
// requestId, and the nickname is the account's once it said yes (rememberNickname).
bool publishesOverXmpp(PurpleAccount* account);

// Makes nickname the account's public one: on XMPP its published nickname (contacts see it
// as the buddy's name), as the request requestId; elsewhere the protocol's public alias, at
// once. Why it cannot be sent, when it cannot; a protocol's later refusal is shown by the client
// in a box saying refusalWords (the plug-in's language).
std::optional<PurpleText> publishNickname(PurpleAccount* account, const std::string& nickname,
                                          const std::string& requestId, const std::string& refusalWords);

// The account's nickname from now on, as accountNickname gives it.
void rememberNickname(PurpleAccount* account, const std::string& nickname);

// Why XMPP could not carry the text (a character XML does not allow), when it could not.
std::optional<PurpleText> xmppCannotCarry(const std::string& text);

}  // namespace tessalune::purple
