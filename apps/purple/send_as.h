#pragma once

#include <string>
#include <string_view>

#include "errors/message_texts.h"

namespace tessalune::purple {

// How an account sends the plug-in's results: as the Plus! codes the commands make, or in
// the network's own formatting, which a contact without Tessalune sees in colour.
enum class SendAs { PlusCodes, NetworkFormatting };

// An account's choice until the person makes one: IRC clients read their own formatting
// characters and show Plus! codes as they are, so IRC sends its own; every other network
// sends Plus! codes, as the commands make them.
SendAs defaultSendAs(std::string_view protocolId);

// The client's preference of the account's choice, below the branch: one name for each
// account, its protocol and user name written with letters, digits and "_XX" escapes alone
// (libpurple's preference names may not hold "/", and an XMPP address may).
std::string sendAsPreference(std::string_view branch, std::string_view protocolId, std::string_view username);

// A result of the plug-in as the account sends it.
struct Outgoing {
  std::string text;      // what goes out; empty when nothing does
  bool html = false;     // text is the client's HTML already, else it is escaped to it
  std::string question;  // asked once more when every change of a kind had to go
  std::string message;   // the refusal, when the text cannot be written for the network
};

// The message result written in the network's formatting, fitted to the network's limit:
// IRC's formatting characters within a line's room, XMPP's formatted text (HTML that the
// client sends as XHTML-IM with a plain body). Other networks get the Plus! text as it is.
// keepWhenThinned answers the question the fitting asks.
Outgoing inNetworkFormatting(std::string_view protocolId, const std::string& plus,
                             const errors::MessageTexts& messages, bool keepWhenThinned);

}  // namespace tessalune::purple
