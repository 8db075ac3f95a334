/* A headless libpurple client for the chat plug-in's end-to-end test: two XMPP accounts on a
 * local server sign in; the first sends the second a message, and the second prints what it
 * received, byte for byte. Usage: xmpp_exchange PORT USERDIR MESSAGE
 * Exit status 0 when the message arrived, 1 otherwise (after 20 s at most). */
#include <glib.h>
#include <purple.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static GMainLoop* loop;
static PurpleAccount *alice, *bob;
static int signedOn;
static const char* message;
static int received;

/* libpurple's event loop on glib's. */
typedef struct {
  PurpleInputFunction function;
  gpointer data;
} InputClosure;

static gboolean inputDispatch(GIOChannel* source, GIOCondition condition, gpointer data) {
  InputClosure* closure = data;
  int purpleCondition = 0;
  if (condition & (G_IO_IN | G_IO_HUP | G_IO_ERR)) purpleCondition |= PURPLE_INPUT_READ;
  if (condition & (G_IO_OUT | G_IO_HUP | G_IO_ERR | G_IO_NVAL)) purpleCondition |= PURPLE_INPUT_WRITE;
  closure->function(closure->data, g_io_channel_unix_get_fd(source), purpleCondition);
  return TRUE;
}

static guint inputAdd(gint fd, PurpleInputCondition condition, PurpleInputFunction function, gpointer data) {
  InputClosure* closure = g_new0(InputClosure, 1);
  closure->function = function;
  closure->data = data;
  GIOCondition watched = 0;
  if (condition & PURPLE_INPUT_READ) watched |= G_IO_IN | G_IO_HUP | G_IO_ERR;
  if (condition & PURPLE_INPUT_WRITE) watched |= G_IO_OUT | G_IO_HUP | G_IO_ERR | G_IO_NVAL;
  GIOChannel* channel = g_io_channel_unix_new(fd);
  const guint id = g_io_add_watch_full(channel, G_PRIORITY_DEFAULT, watched, inputDispatch, closure, g_free);
  g_io_channel_unref(channel);
  return id;
}

static PurpleEventLoopUiOps eventLoop = {g_timeout_add, g_source_remove, inputAdd, g_source_remove, NULL,
                                         g_timeout_add_seconds, NULL, NULL, NULL};

static void onSignedOn(PurpleConnection* connection, gpointer data) {
  (void)data;
  (void)connection;
  if (++signedOn < 2) return;
  PurpleConversation* conversation = purple_conversation_new(PURPLE_CONV_TYPE_IM, alice, "bob@localhost");
  char* escaped = g_markup_escape_text(message, -1);
  purple_conv_im_send(PURPLE_CONV_IM(conversation), escaped);
  g_free(escaped);
}

static void onReceived(PurpleAccount* account, char* sender, char* text, PurpleConversation* conversation,
                       PurpleMessageFlags flags, gpointer data) {
  (void)sender;
  (void)conversation;
  (void)flags;
  (void)data;
  if (account != bob) return;
  char* plain = purple_unescape_html(text);
  fwrite(plain, 1, strlen(plain), stdout);
  fputc('\n', stdout);
  g_free(plain);
  received = 1;
  g_main_loop_quit(loop);
}

static gboolean giveUp(gpointer data) {
  (void)data;
  fprintf(stderr, "xmpp_exchange: nothing arrived\n");
  g_main_loop_quit(loop);
  return FALSE;
}

static PurpleAccount* account(const char* user, const char* password, int port) {
  PurpleAccount* a = purple_account_new(user, "prpl-jabber");
  purple_account_set_password(a, password);
  purple_account_set_string(a, "connect_server", "127.0.0.1");
  purple_account_set_int(a, "port", port);
  purple_account_set_bool(a, "auth_plain_in_clear", TRUE);
  purple_account_set_string(a, "connection_security", "opportunistic_tls");
  purple_accounts_add(a);
  purple_account_set_enabled(a, "tessalune-test", TRUE);
  return a;
}

int main(int argc, char** argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: xmpp_exchange PORT USERDIR MESSAGE\n");
    return 2;
  }
  const int port = atoi(argv[1]);
  message = argv[3];
  purple_util_set_user_dir(argv[2]);
  purple_eventloop_set_ui_ops(&eventLoop);
  if (!purple_core_init("tessalune-test")) {
    fprintf(stderr, "xmpp_exchange: libpurple did not start\n");
    return 1;
  }
  purple_set_blist(purple_blist_new());
  purple_prefs_load();
  static int handle;
  purple_signal_connect(purple_connections_get_handle(), "signed-on", &handle, PURPLE_CALLBACK(onSignedOn),
                        NULL);
  purple_signal_connect(purple_conversations_get_handle(), "received-im-msg", &handle,
                        PURPLE_CALLBACK(onReceived), NULL);
  alice = account("alice@localhost/test", "secret1", port);
  bob = account("bob@localhost/test", "secret2", port);
  loop = g_main_loop_new(NULL, FALSE);
  g_timeout_add_seconds(20, giveUp, NULL);
  g_main_loop_run(loop);
  purple_core_quit();
  return received ? 0 : 1;
}
