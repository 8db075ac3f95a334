#include "conversation_address.h"

namespace tessalune::purple {

ConversationAddress ConversationAddress::of(PurpleConversation* conversation) {
  PurpleAccount* account = purple_conversation_get_account(conversation);
  return {purple_account_get_username(account), purple_account_get_protocol_id(account),
          purple_conversation_get_name(conversation),
          purple_conversation_get_type(conversation) == PURPLE_CONV_TYPE_CHAT};
}

PurpleAccount* ConversationAddress::account() const {
  PurpleAccount* account = purple_accounts_find(accountUser.c_str(), protocolId.c_str());
  return account && purple_account_is_connected(account) ? account : nullptr;
}

PurpleConversation* ConversationAddress::conversation() const {
  // A conversation stays open while its account is offline.
  PurpleAccount* account = purple_accounts_find(accountUser.c_str(), protocolId.c_str());
  if (!account) return nullptr;
  return purple_find_conversation_with_account(chat ? PURPLE_CONV_TYPE_CHAT : PURPLE_CONV_TYPE_IM,
                                               name.c_str(), account);
}

}  // namespace tessalune::purple
