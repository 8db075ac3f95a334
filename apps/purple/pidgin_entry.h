#pragma once

#include <purple.h>

#include <string>

namespace tessalune::purple {

// Puts text into the input box of a conversation Pidgin shows, at the cursor, so that one
// Enter sends it. False in any other client, or when the conversation has no box: Pidgin's
// toolkit is reached through the symbols Pidgin's process already has, as for its page.
bool putInPidginInputBox(PurpleConversation* conversation, const std::string& text);

}  // namespace tessalune::purple
