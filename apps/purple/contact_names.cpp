#include "contact_names.h"

#include <memory>

#include "shown_names.h"

namespace tessalune::purple {

namespace {

constexpr const char* kNickNamespace = "http://jabber.org/protocol/nick";
// Deep enough for a nickname event (message, event, items, item, nick) and a query result.
constexpr int kNickDepth = 6;

struct GFree {
  void operator()(char* p) const { g_free(p); }
};

std::string bareAddress(const char* from) {
  const std::string address = from ? from : "";
  return address.substr(0, address.find('/'));
}

// Each <nick/> of the namespace under node, up to depth levels down.
template <typename Visit>
void eachNick(xmlnode* node, int depth, const Visit& visit) {
  for (xmlnode* child = node->child; child; child = child->next) {
    if (child->type == XMLNODE_TYPE_TAG) {
      const char* ns = xmlnode_get_namespace(child);
      if (std::string_view(child->name) == "nick" && ns && std::string_view(ns) == kNickNamespace) {
        visit(child);
      } else if (depth > 1) {
        eachNick(child, depth - 1, visit);
      }
    }
  }
}

// A new coded nickname whose plain text the client already shows changes nothing the client
// sees: the contact is drawn again for its colours.
void redrawShowing(PurpleAccount* account, const std::string& who, const std::string& plain) {
  PurpleBlistUiOps* ops = purple_blist_get_ui_ops();
  if (!ops || !ops->update) return;
  GSList* buddies = purple_find_buddies(account, who.c_str());
  for (GSList* b = buddies; b; b = b->next) {
    auto* buddy = static_cast<PurpleBuddy*>(b->data);
    const char* alias = purple_buddy_get_server_alias(buddy);
    if (alias && plain == alias) ops->update(purple_get_blist(), reinterpret_cast<PurpleBlistNode*>(buddy));
  }
  g_slist_free(buddies);
}

}  // namespace

void ContactNames::receiving(PurpleConnection* connection, xmlnode* stanza) {
  PurpleAccount* account = connection ? purple_connection_get_account(connection) : nullptr;
  if (!account || !stanza) return;
  const std::string who = bareAddress(xmlnode_get_attrib(stanza, "from"));
  if (who.empty()) return;
  eachNick(stanza, kNickDepth, [&](xmlnode* nick) {
    std::unique_ptr<char, GFree> data(xmlnode_get_data(nick));
    if (!data) return;
    const std::string sent = data.get();
    const std::string plain = plainName(sent);
    if (plain == sent) {
      sent_.erase({account, who});
      return;
    }
    keep(account, who, sent);
    redrawShowing(account, who, plain);
    // The text replaced in place: the element keeps its place among its siblings.
    for (xmlnode* part = nick->child; part;) {
      xmlnode* next = part->next;
      if (part->type == XMLNODE_TYPE_DATA) xmlnode_free(part);
      part = next;
    }
    xmlnode_insert_data(nick, plain.c_str(), -1);
  });
}

void ContactNames::takeFromContactList() {
  for (PurpleBlistNode* node = purple_blist_get_root(); node; node = purple_blist_node_next(node, TRUE)) {
    if (!PURPLE_BLIST_NODE_IS_BUDDY(node)) continue;
    auto* buddy = reinterpret_cast<PurpleBuddy*>(node);
    const char* alias = purple_buddy_get_server_alias(buddy);
    if (!alias) continue;
    const std::string plain = plainName(alias);
    if (plain == alias) continue;
    keep(purple_buddy_get_account(buddy), bareAddress(purple_buddy_get_name(buddy)), alias);
    purple_blist_server_alias_buddy(buddy, plain.c_str());
  }
}

void ContactNames::keep(PurpleAccount* account, const std::string& who, const std::string& sent) {
  sent_[{account, who}] = sent;
}

std::string ContactNames::shownText(PurpleBuddy* buddy) const {
  const char* alias = purple_buddy_get_alias(buddy);
  const char* serverAlias = purple_buddy_get_server_alias(buddy);
  const auto kept = sent_.find({purple_buddy_get_account(buddy), bareAddress(purple_buddy_get_name(buddy))});
  // A name the person gave the contact wins, as in the client.
  if (kept != sent_.end() && alias && serverAlias && std::string_view(alias) == serverAlias &&
      plainName(kept->second) == serverAlias) {
    return kept->second;
  }
  return alias ? alias : "";
}

void ContactNames::restore() {
  for (const auto& [contact, sent] : sent_) {
    const auto& [account, who] = contact;
    if (!g_list_find(purple_accounts_get_all(), account)) continue;  // removed meanwhile
    GSList* buddies = purple_find_buddies(account, who.c_str());
    for (GSList* b = buddies; b; b = b->next) {
      auto* buddy = static_cast<PurpleBuddy*>(b->data);
      const char* alias = purple_buddy_get_server_alias(buddy);
      if (alias && plainName(sent) == alias) purple_blist_server_alias_buddy(buddy, sent.c_str());
    }
    g_slist_free(buddies);
  }
  sent_.clear();
}

}  // namespace tessalune::purple
