#include "shown_writer.h"

#include <type_traits>

namespace tessalune::purple {

namespace {

// A conversation's operations are set when it opens; changing them through libpurple's
// setter would close its window, so they are swapped in place.
void swapOperations(PurpleConversationUiOps* from, PurpleConversationUiOps* to) {
  for (GList* node = purple_get_conversations(); node; node = node->next) {
    auto* conversation = static_cast<PurpleConversation*>(node->data);
    if (conversation->ui_ops == from) conversation->ui_ops = to;
  }
}

}  // namespace

ShownWriter::ShownWriter(ShownChange change) {
  static_assert(std::is_standard_layout_v<Operations>);
  operations_.change = change;
  for (GList* node = purple_get_conversations(); node; node = node->next) {
    take(static_cast<PurpleConversation*>(node->data));
  }
  purple_signal_connect(purple_conversations_get_handle(), "conversation-created", this,
                        PURPLE_CALLBACK(onCreated), this);
}

ShownWriter::~ShownWriter() {
  purple_signals_disconnect_by_handle(this);
  if (operations_.client) swapOperations(&operations_.ops, operations_.client);
}

void ShownWriter::onCreated(PurpleConversation* conversation, void* writer) {
  static_cast<ShownWriter*>(writer)->take(conversation);
}

// Every conversation of a client has the same operations, set before it is announced.
void ShownWriter::take(PurpleConversation* conversation) {
  PurpleConversationUiOps* client = conversation->ui_ops;
  if (!client || !client->write_conv) return;  // nothing is shown
  if (!operations_.client) {
    operations_.ops = *client;
    operations_.ops.write_conv = write;
    operations_.client = client;
  }
  if (client == operations_.client) conversation->ui_ops = &operations_.ops;
}

void ShownWriter::write(PurpleConversation* conversation, const char* who, const char* alias,
                        const char* message, PurpleMessageFlags flags, time_t when) {
  auto* operations = reinterpret_cast<Operations*>(conversation->ui_ops);
  char* shown = g_strdup(message);
  operations->change(&shown, flags);
  operations->client->write_conv(conversation, who, alias, shown, flags, when);
  g_free(shown);
}

}  // namespace tessalune::purple
