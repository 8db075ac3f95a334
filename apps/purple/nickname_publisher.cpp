#include "nickname_publisher.h"

#include "engine/utf8.h"
#include "platform/xml_text.h"

namespace tessalune::purple {

namespace {

// Where the plug-in keeps the nickname it published, among the account's own settings.
constexpr const char* kPublishedNickname = "tessalune-nickname";
// The words for a later refusal, in the plug-in's language: the protocol's callback gets only
// the account.
constexpr const char* kRefusalWords = "tessalune-nickname-refused";
constexpr const char* kXmpp = "prpl-jabber";
constexpr const char* kNickNamespace = "http://jabber.org/protocol/nick";

// The nickname as a personal-eventing item: the server hands it to every contact.
std::optional<PurpleText> publishOverXmpp(PurpleConnection* connection, const std::string& nickname,
                                          const std::string& requestId) {
  PurplePlugin* protocol = purple_connection_get_prpl(connection);
  PurplePluginProtocolInfo* info = protocol ? PURPLE_PLUGIN_PROTOCOL_INFO(protocol) : nullptr;
  if (!info || !PURPLE_PROTOCOL_PLUGIN_HAS_FUNC(info, send_raw)) return PurpleText::ConnectionRefused;
  xmlnode* iq = xmlnode_new("iq");
  xmlnode_set_attrib(iq, "type", "set");
  xmlnode_set_attrib(iq, "id", requestId.c_str());
  xmlnode* pubsub = xmlnode_new_child(iq, "pubsub");
  xmlnode_set_namespace(pubsub, "http://jabber.org/protocol/pubsub");
  xmlnode* publish = xmlnode_new_child(pubsub, "publish");
  xmlnode_set_attrib(publish, "node", kNickNamespace);
  xmlnode* nick = xmlnode_new_child(xmlnode_new_child(publish, "item"), "nick");
  xmlnode_set_namespace(nick, kNickNamespace);
  xmlnode_insert_data(nick, nickname.c_str(), -1);
  int length = 0;
  char* stanza = xmlnode_to_str(iq, &length);
  const int sent = info->send_raw(connection, stanza, length);
  g_free(stanza);
  xmlnode_free(iq);
  if (sent < 0) return PurpleText::ConnectionRefused;
  return std::nullopt;
}

// The protocol refused the alias later, when the command had long returned.
void aliasRefused(PurpleAccount* account, const char* error) {
  const char* words = purple_account_get_string(account, kRefusalWords, nullptr);
  const std::string primary =
      std::string("Tessalune: ") + (words ? words : "the server did not take the nickname.");
  purple_notify_error(nullptr, "Tessalune", primary.c_str(), error);
}

}  // namespace

std::string accountNickname(PurpleAccount* account) {
  if (const char* published = purple_account_get_string(account, kPublishedNickname, nullptr);
      published && *published) {
    return published;
  }
  if (const char* alias = purple_account_get_alias(account); alias && *alias) return alias;
  const std::string user = purple_account_get_username(account);
  return user.substr(0, user.find('/'));
}

std::optional<PurpleText> xmppCannotCarry(const std::string& text) {
  for (char32_t c : engine::decodeUtf8(text)) {
    if (!platform::isXmlChar(c)) return PurpleText::ControlCharacter;
  }
  return std::nullopt;
}

bool publishesOverXmpp(PurpleAccount* account) {
  return purple_account_get_protocol_id(account) == std::string(kXmpp);
}

void rememberNickname(PurpleAccount* account, const std::string& nickname) {
  purple_account_set_string(account, kPublishedNickname, nickname.c_str());
}

std::optional<PurpleText> publishNickname(PurpleAccount* account, const std::string& nickname,
                                          const std::string& requestId, const std::string& refusalWords) {
  PurpleConnection* connection = purple_account_get_connection(account);
  if (!connection) return PurpleText::NotConnected;
  if (publishesOverXmpp(account)) {
    if (std::optional<PurpleText> failure = xmppCannotCarry(nickname)) return failure;
    return publishOverXmpp(connection, nickname, requestId);
  }
  PurplePlugin* protocol = purple_connection_get_prpl(connection);
  PurplePluginProtocolInfo* info = protocol ? PURPLE_PLUGIN_PROTOCOL_INFO(protocol) : nullptr;
  if (!info || !PURPLE_PROTOCOL_PLUGIN_HAS_FUNC(info, set_public_alias)) {
    return PurpleText::NoPublicNickname;
  }
  purple_account_set_string(account, kRefusalWords, refusalWords.c_str());
  purple_account_set_public_alias(account, nickname.c_str(), nullptr, aliasRefused);
  rememberNickname(account, nickname);
  return std::nullopt;
}

}  // namespace tessalune::purple
