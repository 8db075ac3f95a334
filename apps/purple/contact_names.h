#pragma once

#include <purple.h>

#include <map>
#include <string>
#include <utility>

namespace tessalune::purple {

// Contacts' Plus! nicknames as they were sent, while the client's own name displays (the
// name before each message, titles, "is now known as", Finch's buddy list) get them with
// their codes removed. A nickname arrives over XMPP in a <nick/> element, which is rewritten
// before the client reads it; the text as sent stays here for the names drawn in colour.
// Restoring gives every contact its nickname as received, as if the plug-in had never run.
class ContactNames {
 public:
  // Rewrites the nicknames of a stanza an XMPP account received.
  void receiving(PurpleConnection* connection, xmlnode* stanza);
  // Contacts already named with codes when the plug-in starts.
  void takeFromContactList();
  // The name as sent, when the client shows the contact's nickname; else what it shows.
  std::string shownText(PurpleBuddy* buddy) const;
  void restore();

 private:
  void keep(PurpleAccount* account, const std::string& who, const std::string& sent);
  // By account and bare address.
  std::map<std::pair<PurpleAccount*, std::string>, std::string> sent_;
};

}  // namespace tessalune::purple
