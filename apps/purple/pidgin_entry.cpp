#include "pidgin_entry.h"

#include <dlfcn.h>
#include <glib-object.h>

namespace tessalune::purple {

namespace {

// The first members of Pidgin's own record of a conversation it shows (the conversation's
// ui_data), up to the input box's text buffer; Pidgin 2 has kept them in this order.
struct PidginConversationStart {
  PurpleConversation* activeConversation;
  GList* conversations;
  GList* sendHistory;
  void* window;
  gboolean makeSound;
  void* tooltips;
  void* tabContent;
  void* tab;
  void* menuTab;
  void* history;      // the conversation's text
  void* inputBuffer;  // the input box's text
  void* input;
};

template <typename Function>
bool find(Function& function, const char* name) {
  function = reinterpret_cast<Function>(dlsym(RTLD_DEFAULT, name));
  return function != nullptr;
}

}  // namespace

bool putInPidginInputBox(PurpleConversation* conversation, const std::string& text) {
  PurpleConversationUiOps* (*pidginOps)() = nullptr;
  GType (*typeFromName)(const gchar*) = nullptr;
  gboolean (*isA)(GTypeInstance*, GType) = nullptr;
  void (*insertAtCursor)(void* buffer, const gchar* text, gint length) = nullptr;
  if (!conversation || !find(pidginOps, "pidgin_conversations_get_conv_ui_ops") ||
      !find(typeFromName, "g_type_from_name") || !find(isA, "g_type_check_instance_is_a") ||
      !find(insertAtCursor, "gtk_text_buffer_insert_at_cursor")) {
    return false;
  }
  // Only a conversation Pidgin shows has the record, and only while it is shown.
  if (purple_conversation_get_ui_ops(conversation) != pidginOps() || !conversation->ui_data) return false;
  const auto* shown = static_cast<const PidginConversationStart*>(conversation->ui_data);
  const GType textBuffer = typeFromName("GtkTextBuffer");
  if (!textBuffer || !shown->inputBuffer || !isA(static_cast<GTypeInstance*>(shown->inputBuffer), textBuffer))
    return false;
  insertAtCursor(shown->inputBuffer, text.c_str(), static_cast<gint>(text.size()));
  return true;
}

}  // namespace tessalune::purple
