/* A headless libpurple client for the chat plug-in's end-to-end test. Two XMPP accounts on a
 * local server, alice and bob, sign in; the client loads the plug-in, then plays each STEP in
 * alice's conversation with bob as if typed there (a line starting with "/" as a command,
 * any other as a message) and prints what happened, one line each:
 *   step: STEP
 *   alice notice: TEXT     a notice the plug-in wrote in alice's conversation
 *   bob received: TEXT     a message bob received, as its text (byte for byte)
 *   bob shown: HTML        the same message as bob's conversation shows it
 *   bob logged: TEXT       the same message as bob's conversation logs it
 *   bob received alice's nickname: NAME  the nickname alice published, as it reached bob
 *   bob sees alice as: NAME  the same, as bob's client names her, when the name it shows changed
 *   bob received on IRC: TEXT  a message bob's IRC connection read from the server, before
 *                          libpurple turns its formatting into HTML (bytes below 0x20 as \xNN)
 *   bob received XHTML-IM: XML  the formatted part of an XMPP message bob received, when it
 *                          has one, and then
 *   bob received body: TEXT  the same message's plain body
 * A step is over when a marker message alice sends after it reached bob, and, when the
 * plug-in published a nickname, when bob saw it and alice was told. A step "offline STEP"
 * signs alice off right after STEP is typed, before the plug-in runs it, and is over at
 * alice's first notice; alice stays offline for the steps after it. The step "prefs" prints
 * the plug-in's preference frame as a client lists it, in order:
 *   prefs: HEADING         a heading
 *   pref LABEL: VALUE      an entry and its value (a choice's label for a choice)
 * and "pref NAME VALUE" opens the frame and sets the client's preference NAME as the client
 * does when the frame is saved. A notification the plug-in shows outside a conversation is
 *   notified: TEXT
 * the step "help WORD" prints what /help says of the command WORD:
 *   help: TEXT
 * and the step "about" what the client's plug-in list says of the plug-in:
 *   summary: TEXT
 *   description: TEXT
 * With IRC_PORT set in the environment, alice and bob also sign in to the IRC server on
 * 127.0.0.1 at that port, and a step "irc STEP" is played in alice's private conversation
 * with bob there. A step's lines come in
 * sorted order: the server's answers to alice and its messages to bob may come in any.
 * Usage: purple_harness PORT USERDIR PLUGIN STEP...
 * Exit status 0 when every step was played, 1 otherwise (after 30 s at most).
 * With --listen [NICKNAME] instead of the plug-in and the steps, only bob signs in ("bob signed
 * on"), publishes NICKNAME as his nickname when given, and prints what he receives and sees
 * at once ("bob sees online: NAME" and "bob sees offline: NAME" too), until stopped with
 * SIGTERM: the other end of a conversation typed elsewhere (in Pidgin). A message that starts
 * with "echo " gets the rest back as bob's answer, each "%" in it a middle dot: Plus! codes,
 * which a keyboard of the test's display cannot type. What a hostile contact sends, asked the
 * same way ("%" a middle dot, "_" a space): "repeat N TEXT" gets TEXT repeated N times back as one
 * message and "(repeated)" after it ("bob sent: N times TEXT" once both are sent),
 * "nickname N TEXT" has bob publish TEXT repeated N times as his nickname, "presence" has him
 * go away or come back ("bob presence: away" or "available"). */
#include <glib-unix.h>
#include <glib.h>
#include <purple.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char kMarker[] = "(step over)";

static GMainLoop* loop;
static PurpleAccount *alice, *bob, *aliceIrc, *bobIrc;
static PurpleConversation *conversation, *xmppConversation, *ircConversation;
static int ircPort;
static int signedOn, stepCount, nextStep, markerSeen, nicknameAwaited, offlineStep, status = 1;
static char** steps;
static GPtrArray* stepLines;
static int listening;
static const char* bobNickname;

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

static PurpleEventLoopUiOps eventLoop = {
    g_timeout_add, g_source_remove, inputAdd, g_source_remove, NULL, g_timeout_add_seconds, NULL, NULL, NULL};

static void addLine(const char* label, const char* text) {
  if (listening) {
    printf("%s: %s\n", label, text);
    fflush(stdout);
  } else {
    g_ptr_array_add(stepLines, g_strdup_printf("%s: %s", label, text));
  }
}

static void addUnescaped(const char* label, const char* html) {
  char* text = purple_unescape_html(html);
  addLine(label, text);
  g_free(text);
}

static gint byText(gconstpointer a, gconstpointer b) {
  return strcmp(*(char* const*)a, *(char* const*)b);
}

static void printStepLines(void) {
  g_ptr_array_sort(stepLines, byText);
  for (guint i = 0; i < stepLines->len; ++i) printf("%s\n", (char*)g_ptr_array_index(stepLines, i));
  fflush(stdout);
  g_ptr_array_set_size(stepLines, 0);
}

static void playNextStep(void);

static void stepOverWhenSeen(void) {
  if (!markerSeen || nicknameAwaited > 0) return;
  markerSeen = 0;
  printStepLines();
  playNextStep();
}

/* Sent once the plug-in has run the step's command: it runs from the main loop when idle. */
static gboolean sendMarker(gpointer data) {
  (void)data;
  purple_conv_im_send(PURPLE_CONV_IM(conversation), kMarker);
  return G_SOURCE_REMOVE;
}

/* The plug-in's preference frame, as a client opens it. */
static PurplePluginPrefFrame* openPreferences(void) {
  PurplePlugin* plugin = purple_plugins_find_with_id("core-tessalune");
  return plugin->info->prefs_info->get_plugin_pref_frame(plugin);
}

/* The frame as a client lists it, then closes it. */
static void printPreferences(void) {
  PurplePluginPrefFrame* frame = openPreferences();
  for (GList* node = purple_plugin_pref_frame_get_prefs(frame); node; node = node->next) {
    PurplePluginPref* pref = node->data;
    const char* name = purple_plugin_pref_get_name(pref);
    if (!name) {
      printf("prefs: %s\n", purple_plugin_pref_get_label(pref));
      continue;
    }
    char* value = purple_prefs_get_type(name) == PURPLE_PREF_BOOLEAN
                      ? g_strdup(purple_prefs_get_bool(name) ? "on" : "off")
                      : g_strdup(purple_prefs_get_string(name));
    for (GList* choice = purple_plugin_pref_get_choices(pref); choice && choice->next;
         choice = choice->next->next) {
      if (strcmp(choice->next->data, value) == 0) {
        g_free(value);
        value = g_strdup(choice->data);
        break;
      }
    }
    printf("pref %s: %s\n", purple_plugin_pref_get_label(pref), value);
    g_free(value);
  }
  purple_plugin_pref_frame_destroy(frame);
}

/* The frame opened, one value changed and saved. */
static void setPreference(const char* nameAndValue) {
  PurplePluginPrefFrame* frame = openPreferences();
  char** parts = g_strsplit(nameAndValue, " ", 2);
  if (purple_prefs_get_type(parts[0]) == PURPLE_PREF_BOOLEAN) {
    purple_prefs_set_bool(parts[0], strcmp(parts[1], "1") == 0);
  } else {
    purple_prefs_set_string(parts[0], parts[1]);
  }
  g_strfreev(parts);
  purple_plugin_pref_frame_destroy(frame);
}

static void playNextStep(void) {
  if (nextStep == stepCount) {
    status = 0;
    g_main_loop_quit(loop);
    return;
  }
  const char* step = steps[nextStep++];
  printf("step: %s\n", step);
  static const char kOffline[] = "offline ";
  offlineStep = strncmp(step, kOffline, strlen(kOffline)) == 0;
  if (offlineStep) step += strlen(kOffline);
  static const char kIrc[] = "irc ";
  conversation = xmppConversation;
  if (strncmp(step, kIrc, strlen(kIrc)) == 0) {
    step += strlen(kIrc);
    conversation = ircConversation;
  }
  char* escaped = g_markup_escape_text(step, -1);
  if (strcmp(step, "prefs") == 0) {
    printPreferences();
  } else if (strncmp(step, "pref ", 5) == 0) {
    setPreference(step + 5);
  } else if (strcmp(step, "about") == 0) {
    PurplePlugin* plugin = purple_plugins_find_with_id("core-tessalune");
    addLine("summary", purple_plugin_get_summary(plugin));
    addLine("description", purple_plugin_get_description(plugin));
  } else if (strncmp(step, "help ", 5) == 0) {
    GList* help = purple_cmd_help(conversation, step + 5);
    for (GList* line = help; line; line = line->next) addUnescaped("help", line->data);
    g_list_free(help);
  } else if (step[0] == '/') {
    char* error = NULL;
    if (purple_cmd_do_command(conversation, step + 1, escaped + 1, &error) != PURPLE_CMD_STATUS_OK) {
      addLine("step refused", error ? error : "not a command");
    }
    g_free(error);
  } else {
    purple_conv_im_send(PURPLE_CONV_IM(conversation), escaped);
  }
  g_free(escaped);
  if (offlineStep) {
    purple_account_set_enabled(alice, "tessalune-test", FALSE);
  } else {
    g_idle_add_full(G_PRIORITY_LOW, sendMarker, NULL, NULL);
  }
}

/* The nickname contacts see, published as XMPP clients publish it. */
static void publishNickname(PurpleConnection* connection, const char* nickname) {
  xmlnode* iq = xmlnode_new("iq");
  xmlnode_set_attrib(iq, "type", "set");
  xmlnode_set_attrib(iq, "id", "bob-nickname");
  xmlnode* pubsub = xmlnode_new_child(iq, "pubsub");
  xmlnode_set_namespace(pubsub, "http://jabber.org/protocol/pubsub");
  xmlnode* publish = xmlnode_new_child(pubsub, "publish");
  xmlnode_set_attrib(publish, "node", "http://jabber.org/protocol/nick");
  xmlnode* nick = xmlnode_new_child(xmlnode_new_child(publish, "item"), "nick");
  xmlnode_set_namespace(nick, "http://jabber.org/protocol/nick");
  xmlnode_insert_data(nick, nickname, -1);
  int length = 0;
  char* stanza = xmlnode_to_str(iq, &length);
  PURPLE_PLUGIN_PROTOCOL_INFO(purple_connection_get_prpl(connection))->send_raw(connection, stanza, length);
  g_free(stanza);
  xmlnode_free(iq);
}

static void onSignedOn(PurpleConnection* connection, gpointer data) {
  (void)data;
  (void)connection;
  if (listening) {
    if (bobNickname) publishNickname(connection, bobNickname);
    printf("bob signed on\n");
    fflush(stdout);
    return;
  }
  if (++signedOn < (ircPort ? 4 : 2)) return;
  xmppConversation = purple_conversation_new(PURPLE_CONV_TYPE_IM, alice, "bob@localhost");
  if (ircPort) ircConversation = purple_conversation_new(PURPLE_CONV_TYPE_IM, aliceIrc, "bob");
  playNextStep();
}

/* TEXT with each "%" a middle dot and, when `spaces`, each "_" a space, repeated `times`
 * times. */
static char* withDots(const char* text, long times, int spaces) {
  GString* one = g_string_new(NULL);
  for (const char* c = text; *c; ++c) {
    if (*c == '%') {
      g_string_append(one, "\xC2\xB7");
    } else if (spaces && *c == '_') {
      g_string_append_c(one, ' ');
    } else {
      g_string_append_c(one, *c);
    }
  }
  GString* all = g_string_sized_new(one->len * (times > 0 ? times : 0) + 1);
  for (long i = 0; i < times; ++i) g_string_append_len(all, one->str, one->len);
  g_string_free(one, TRUE);
  return g_string_free(all, FALSE);
}

static void publishNickname(PurpleConnection* connection, const char* nickname);

/* "repeat N TEXT", "nickname N TEXT" and "presence", from alice's HTML. */
static void playHostile(PurpleConversation* conv, const char* html) {
  char* text = purple_unescape_html(html);
  char what[16] = "", pattern[256] = "";
  long times = 0;
  if (sscanf(text, "%15s %ld %255s", what, &times, pattern) == 3 && times > 0 && times <= 10000000) {
    char* made = withDots(pattern, times, 1);
    if (strcmp(what, "repeat") == 0) {
      /* Sent as text: escaped, as a client sends what its user typed. */
      char* escaped = g_markup_escape_text(made, -1);
      purple_conv_im_send(PURPLE_CONV_IM(conv), escaped);
      g_free(escaped);
      purple_conv_im_send(PURPLE_CONV_IM(conv), "(repeated)");
      printf("bob sent: %ld times %s\n", times, pattern);
      fflush(stdout);
    } else if (strcmp(what, "nickname") == 0) {
      publishNickname(purple_conversation_get_gc(conv), made);
    }
    g_free(made);
  } else if (strcmp(text, "presence") == 0) {
    PurpleAccount* account = purple_conversation_get_account(conv);
    const int away = purple_presence_is_available(purple_account_get_presence(account));
    purple_account_set_status(account, away ? "away" : "available", TRUE, NULL);
    printf("bob presence: %s\n", away ? "away" : "available");
    fflush(stdout);
  }
  g_free(text);
}

static void onReceived(PurpleAccount* account, char* sender, char* text, PurpleConversation* conv,
                       PurpleMessageFlags flags, gpointer data) {
  (void)sender;
  (void)flags;
  (void)data;
  if ((account != bob && account != bobIrc) || strcmp(text, kMarker) == 0) return;
  addUnescaped("bob received", text);
  if (listening && strncmp(text, "echo ", 5) == 0) {
    char* answer = withDots(text + 5, 1, 0);
    purple_conv_im_send(PURPLE_CONV_IM(conv), answer);
    g_free(answer);
  }
  if (listening) playHostile(conv, text);
}

/* What a conversation shows: alice's notices and bob's messages, the marker ending a step. */
static void writeConversation(PurpleConversation* conv, const char* who, const char* alias,
                              const char* message, PurpleMessageFlags flags, time_t when) {
  (void)who;
  (void)alias;
  (void)when;
  PurpleAccount* account = purple_conversation_get_account(conv);
  if ((account == alice || account == aliceIrc) && (flags & PURPLE_MESSAGE_SYSTEM)) {
    addUnescaped("alice notice", message);
    if (offlineStep) {
      offlineStep = 0;
      markerSeen = 1;
      stepOverWhenSeen();
      return;
    }
    if (strstr(message, "your nickname is now")) {
      --nicknameAwaited;
      stepOverWhenSeen();
    }
  }
  if ((account != bob && account != bobIrc) || !(flags & PURPLE_MESSAGE_RECV)) return;
  if (strcmp(message, kMarker) == 0) {
    markerSeen = 1;
    stepOverWhenSeen();
  } else {
    addLine("bob shown", message);
  }
}

static PurpleConversationUiOps conversationUi = {.write_conv = writeConversation};

static void* notifyMessage(PurpleNotifyMsgType type, const char* title, const char* primary,
                           const char* secondary) {
  (void)type;
  (void)title;
  (void)secondary;
  addLine("notified", primary);
  return NULL;
}

static PurpleNotifyUiOps notifyUi = {.notify_message = notifyMessage};

/* What the log keeps of a message: libpurple logs the text this signal gets. */
static void onWrote(PurpleAccount* account, const char* who, const char* message, PurpleConversation* conv,
                    PurpleMessageFlags flags, gpointer data) {
  (void)who;
  (void)conv;
  (void)data;
  if ((account == bob || account == bobIrc) && (flags & PURPLE_MESSAGE_RECV) &&
      strcmp(message, kMarker) != 0) {
    addUnescaped("bob logged", message);
  }
}

static void onAliased(PurpleBlistNode* node, const char* oldAlias, gpointer data) {
  (void)oldAlias;
  (void)data;
  if (!PURPLE_BLIST_NODE_IS_BUDDY(node)) return;
  PurpleBuddy* buddy = (PurpleBuddy*)node;
  if (purple_buddy_get_account(buddy) != bob) return;
  addLine("bob sees alice as", purple_buddy_get_server_alias(buddy));
}

static gboolean nicknameSeen(gpointer data) {
  (void)data;
  --nicknameAwaited;
  stepOverWhenSeen();
  return G_SOURCE_REMOVE;
}

static void onReceivingMessage(PurpleConnection* connection, xmlnode** stanza);

/* Bob's nickname events from alice, before any plug-in reads them. */
static void onReceivingXml(PurpleConnection* connection, xmlnode** stanza, gpointer data) {
  (void)data;
  if (listening || purple_connection_get_account(connection) != bob || !stanza || !*stanza) return;
  if (strcmp((*stanza)->name, "message") == 0) onReceivingMessage(connection, stanza);
  const char* from = xmlnode_get_attrib(*stanza, "from");
  xmlnode* nick = xmlnode_get_child(*stanza, "event/items/item/nick");
  if (!from || strncmp(from, "alice@localhost", 15) != 0 || !nick) return;
  /* The server may tell a nickname again (to a client that has just come online). */
  static char* last;
  char* text = xmlnode_get_data(nick);
  if (!text || (last && strcmp(text, last) == 0)) {
    g_free(text);
    return;
  }
  addLine("bob received alice's nickname", text);
  g_free(last);
  last = text;
  /* Seen once bob's client has read it, and named alice anew if the name it shows changed. */
  g_idle_add(nicknameSeen, NULL);
}

/* Bob's XMPP messages from alice with a formatted part: that part and the plain body. */
static void onReceivingMessage(PurpleConnection* connection, xmlnode** stanza) {
  const char* from = xmlnode_get_attrib(*stanza, "from");
  xmlnode* html = xmlnode_get_child(*stanza, "html");
  if (!from || strncmp(from, "alice@localhost", 15) != 0 || !html ||
      purple_connection_get_account(connection) != bob) {
    return;
  }
  char* xml = xmlnode_to_str(html, NULL);
  addLine("bob received XHTML-IM", xml);
  g_free(xml);
  xmlnode* body = xmlnode_get_child(*stanza, "body");
  char* text = body ? xmlnode_get_data(body) : NULL;
  addLine("bob received body", text ? text : "");
  g_free(text);
}

/* A line bob's IRC connection read, as the server sent it: a message from alice is printed
 * with its formatting characters visible. */
static void onIrcReceivingText(PurpleConnection* connection, char** text, gpointer data) {
  (void)data;
  if (purple_connection_get_account(connection) != bobIrc || !text || !*text) return;
  static const char kPrivmsg[] = " PRIVMSG bob :";
  const char* message = strstr(*text, kPrivmsg);
  if (strncmp(*text, ":alice!", 7) != 0 || !message) return;
  message += strlen(kPrivmsg);
  if (strcmp(message, kMarker) == 0) return;
  GString* shown = g_string_new(NULL);
  for (const unsigned char* c = (const unsigned char*)message; *c; ++c) {
    if (*c < 0x20) {
      g_string_append_printf(shown, "\\x%02X", *c);
    } else {
      g_string_append_c(shown, (char)*c);
    }
  }
  addLine("bob received on IRC", shown->str);
  g_string_free(shown, TRUE);
}

/* A nickname published by the plug-in: the step waits until bob saw it. */
static void onSendingText(PurpleConnection* connection, char** text, gpointer data) {
  (void)data;
  if (purple_connection_get_account(connection) != alice || !*text) return;
  if (strstr(*text, "<publish node='http://jabber.org/protocol/nick'>")) nicknameAwaited += 2;
}

static void onBuddySignedOn(PurpleBuddy* buddy, gpointer data) {
  (void)data;
  if (purple_buddy_get_account(buddy) == bob) addLine("bob sees online", purple_buddy_get_name(buddy));
}

static void onBuddySignedOff(PurpleBuddy* buddy, gpointer data) {
  (void)data;
  if (purple_buddy_get_account(buddy) == bob) addLine("bob sees offline", purple_buddy_get_name(buddy));
}

static gboolean stopListening(gpointer data) {
  (void)data;
  status = 0;
  g_main_loop_quit(loop);
  return G_SOURCE_REMOVE;
}

static gboolean giveUp(gpointer data) {
  (void)data;
  fprintf(stderr, "purple_harness: step %d did not end\n", nextStep);
  g_main_loop_quit(loop);
  return G_SOURCE_REMOVE;
}

static PurpleAccount* ircAccount(const char* user) {
  PurpleAccount* a = purple_account_new(user, "prpl-irc");
  purple_account_set_int(a, "port", ircPort);
  purple_accounts_add(a);
  purple_account_set_enabled(a, "tessalune-test", TRUE);
  return a;
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
  if (argc < 4) {
    fprintf(stderr, "usage: purple_harness PORT USERDIR PLUGIN STEP... | PORT USERDIR --listen\n");
    return 2;
  }
  listening = strcmp(argv[3], "--listen") == 0;
  if (listening && argc > 4) bobNickname = argv[4];
  const int port = atoi(argv[1]);
  steps = argv + 4;
  stepLines = g_ptr_array_new_with_free_func(g_free);
  stepCount = argc - 4;
  purple_util_set_user_dir(argv[2]);
  purple_eventloop_set_ui_ops(&eventLoop);
  purple_conversations_set_ui_ops(&conversationUi);
  purple_notify_set_ui_ops(&notifyUi);
  if (!purple_core_init("tessalune-test")) {
    fprintf(stderr, "purple_harness: libpurple did not start\n");
    return 1;
  }
  purple_set_blist(purple_blist_new());
  purple_prefs_load();
  PurplePlugin* plugin = listening ? NULL : purple_plugin_probe(argv[3]);
  if (!listening && (!plugin || !purple_plugin_load(plugin))) {
    fprintf(stderr, "purple_harness: %s did not load: %s\n", argv[3],
            plugin && plugin->error ? plugin->error : "not a plug-in");
    return 1;
  }
  static int handle;
  purple_signal_connect(purple_connections_get_handle(), "signed-on", &handle, PURPLE_CALLBACK(onSignedOn),
                        NULL);
  purple_signal_connect(purple_conversations_get_handle(), "received-im-msg", &handle,
                        PURPLE_CALLBACK(onReceived), NULL);
  purple_signal_connect(purple_conversations_get_handle(), "wrote-im-msg", &handle, PURPLE_CALLBACK(onWrote),
                        NULL);
  purple_signal_connect(purple_blist_get_handle(), "blist-node-aliased", &handle, PURPLE_CALLBACK(onAliased),
                        NULL);
  purple_signal_connect(purple_plugins_find_with_id("prpl-jabber"), "jabber-sending-text", &handle,
                        PURPLE_CALLBACK(onSendingText), NULL);
  purple_signal_connect_priority(purple_plugins_find_with_id("prpl-jabber"), "jabber-receiving-xmlnode",
                                 &handle, PURPLE_CALLBACK(onReceivingXml), NULL,
                                 PURPLE_SIGNAL_PRIORITY_LOWEST);
  purple_signal_connect(purple_plugins_find_with_id("prpl-irc"), "irc-receiving-text", &handle,
                        PURPLE_CALLBACK(onIrcReceivingText), NULL);
  if (!listening) alice = account("alice@localhost/test", "secret1", port);
  bob = account("bob@localhost/test", "secret2", port);
  const char* irc = getenv("IRC_PORT");
  ircPort = !listening && irc ? atoi(irc) : 0;
  if (ircPort) {
    aliceIrc = ircAccount("alice@127.0.0.1");
    bobIrc = ircAccount("bob@127.0.0.1");
  }
  loop = g_main_loop_new(NULL, FALSE);
  if (listening) {
    purple_signal_connect(purple_blist_get_handle(), "buddy-signed-on", &handle,
                          PURPLE_CALLBACK(onBuddySignedOn), NULL);
    purple_signal_connect(purple_blist_get_handle(), "buddy-signed-off", &handle,
                          PURPLE_CALLBACK(onBuddySignedOff), NULL);
    g_unix_signal_add(SIGTERM, stopListening, NULL);
  } else {
    g_timeout_add_seconds(30, giveUp, NULL);
  }
  g_main_loop_run(loop);
  purple_core_quit();
  return status;
}
