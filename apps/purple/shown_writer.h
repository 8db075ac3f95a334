#pragma once

#include <purple.h>

namespace tessalune::purple {

// Changes a message as it is shown; called with the message's HTML, which it may replace
// (g_free and a new g_strdup), and its flags.
using ShownChange = void (*)(char** message, PurpleMessageFlags flags);

// In a client whose conversations have no signal of their own between the log and the
// screen (Finch, a headless program), the conversation's write_conv is the last step before
// the screen: libpurple has logged the message by then. This puts change in front of it, in
// every conversation open now and every one opened later, and takes it out again when
// destroyed, so that the log keeps the message as it came.
class ShownWriter {
 public:
  explicit ShownWriter(ShownChange change);
  ~ShownWriter();
  ShownWriter(const ShownWriter&) = delete;
  ShownWriter& operator=(const ShownWriter&) = delete;

 private:
  // The client's operations with write_conv replaced; the first member, so that a
  // conversation's operations lead back here.
  struct Operations {
    PurpleConversationUiOps ops;
    PurpleConversationUiOps* client;
    ShownChange change;
  };
  static void onCreated(PurpleConversation* conversation, void* writer);
  void take(PurpleConversation* conversation);
  static void write(PurpleConversation* conversation, const char* who, const char* alias, const char* message,
                    PurpleMessageFlags flags, time_t when);

  Operations operations_{};
};

}  // namespace tessalune::purple
