#include "purple_host.h"

#include <dlfcn.h>

#include <ctime>

#include "nickname_publisher.h"
#include "notice_front.h"
#include "pidgin_entry.h"
#include "platform/ui_language.h"
#include "plugin/command_table.h"
#include "plugin/plugin_folder.h"
#include "shown_text.h"
#include "shown_writer.h"

namespace tessalune::purple {

namespace {

constexpr std::string_view kNicknameResult = "/nick2 ";

// One of Pidgin's signal handles, found by its getter's name; null in other clients.
void* pidginHandle(const char* getter) {
  using HandleGetter = void* (*)();
  auto get = reinterpret_cast<HandleGetter>(dlsym(RTLD_DEFAULT, getter));
  return get ? get() : nullptr;
}

}  // namespace

// Text as the conversation shows it: escaped, line breaks kept.
std::string PurpleHost::escapedHtml(const std::string& text) {
  gchar* escaped = g_markup_escape_text(text.c_str(), -1);
  gchar* html = purple_strdup_withhtml(escaped);
  std::string result = html;
  g_free(html);
  g_free(escaped);
  return result;
}

PurpleHost::PurpleHost(PurplePlugin* handle, const WindowedFront& windowed)
    : handle_(handle), pluginDir_(plugin::requireDefaultPluginDir()) {
  if (windowed) front_ = windowed();
  if (!front_) {
    front_ = std::make_unique<NoticeFront>(
        [this](const std::string& shown) { notice(shown); },
        [this](PurpleText which, std::string_view argument) { return text(which, argument); },
        [this] { return answerYes(); });
  }
  plugin::installDataFolder(pluginDir_);
  plugin_ = std::make_unique<plugin::Plugin>(plugin::HostServices{
      front_->dialogs(), front_->windows(), front_->shell(), pluginDir_, platform::uiLanguage(),
      platform::systemFileSystem(), [this](bool) { front_->pump(); }, front_->twipsPerPixel()});
  front_->follow(*plugin_);
  background_ = clientBackground();
  connectSignals();
  contactNames_.takeFromContactList();
  redrawContacts();
  // The start-up may show boxes: it runs once the client's own code has returned.
  scheduleRun();
}

PurpleHost::~PurpleHost() {
  stop();
  undescribe();
  if (idle_) g_source_remove(idle_);
  if (plugin_->initialized()) plugin_->Uninitialize();
}

void PurpleHost::unload(PurpleHost* host) {
  const bool quitting = host->stopped_;
  host->stop();
  if (!quitting) {
    host->contactNames_.restore();
    redrawContacts();
  }
  if (host->running_) {
    host->deleteWhenReturned_ = true;
  } else {
    delete host;
  }
}

void PurpleHost::stop() {
  if (stopped_) return;
  stopped_ = true;
  for (PurpleCmdId id : commands_) purple_cmd_unregister(id);
  commands_.clear();
  purple_signals_disconnect_by_handle(this);
  shownWriter_.reset();
  settingsFrame_.forget();
  queue_.clear();
  front_->closeAll();
}

void PurpleHost::registerCommands() {
  for (std::size_t row = 0; row < plugin::kCommandTable.size(); ++row) {
    // A word published twice (with and without its argument) is one command of the client.
    if (!plugin::firstOfItsWord(row)) continue;
    std::string title, word, help;
    plugin_->GetPublishCommandInfo(static_cast<std::int32_t>(row + 1), title, word, help);
    help = usageWord(help);
    const std::string usage = word + (help.empty() ? "" : " " + help) + ": " + title;
    gchar* escapedUsage = g_markup_escape_text(usage.c_str(), -1);
    commands_.push_back(
        purple_cmd_register(word.c_str(), "s", PURPLE_CMD_P_PLUGIN,
                            static_cast<PurpleCmdFlag>(PURPLE_CMD_FLAG_IM | PURPLE_CMD_FLAG_CHAT |
                                                       PURPLE_CMD_FLAG_ALLOW_WRONG_ARGS),
                            nullptr, PURPLE_CMD_FUNC(onCommand), escapedUsage, this));
    g_free(escapedUsage);
  }
}

void PurpleHost::connectSignals() {
  // Pidgin shows a message after a signal of its own, which changes only what is shown (the
  // log keeps the text as it came); other clients have none, and the writer takes its place.
  if (void* pidgin = pidginHandle("pidgin_conversations_get_handle")) {
    for (const char* signal : {"displaying-im-msg", "displaying-chat-msg"}) {
      purple_signal_connect(pidgin, signal, this, PURPLE_CALLBACK(onShowing), this);
    }
  } else {
    shownWriter_ = std::make_unique<ShownWriter>(renderShown);
  }
  // Pidgin asks how to draw a contact's name, in its buddy list and a conversation's header.
  if (void* buddyList = pidginHandle("pidgin_blist_get_handle")) {
    purple_signal_connect(buddyList, "drawing-buddy", this, PURPLE_CALLBACK(onDrawingBuddy), this);
  }
  purple_signal_connect(purple_get_core(), "quitting", this, PURPLE_CALLBACK(onQuitting), this);
  if (PurplePlugin* xmpp = purple_plugins_find_with_id("prpl-jabber")) {
    purple_signal_connect(xmpp, "jabber-receiving-iq", this, PURPLE_CALLBACK(onIq), this);
    purple_signal_connect(xmpp, "jabber-receiving-xmlnode", this, PURPLE_CALLBACK(onReceivingXml), this);
  }
}

PurpleCmdRet PurpleHost::onCommand(PurpleConversation* conversation, const gchar* command, gchar** args,
                                   gchar**, void* data) {
  auto* host = static_cast<PurpleHost*>(data);
  const ConversationAddress where = ConversationAddress::of(conversation);
  const std::string word = "/" + std::string(command);
  // Nicknames on IRC are plain words: the colouring of one is not even started.
  if (where.protocolId == "prpl-irc" && plugin::commandOf(word) == plugin::Command::Nickname) {
    host->noticeHtml(where,
                     escapedHtml("Tessalune: " + host->text(PurpleText::IrcNicknamesArePlain, command)));
    return PURPLE_CMD_RET_OK;
  }
  if (host->running_ && host->plugin_->windowShown()) {
    host->noticeHtml(where, escapedHtml("Tessalune: " + host->text(PurpleText::CommandWaits, word)));
  }
  host->queue_.push_back({where, word, args && args[0] ? args[0] : ""});
  host->scheduleRun();
  return PURPLE_CMD_RET_OK;
}

gboolean PurpleHost::onShowing(PurpleAccount*, const char*, char** message, PurpleConversation*,
                               PurpleMessageFlags flags, void*) {
  renderShown(message, flags);
  return FALSE;
}

void PurpleHost::renderShown(char** message, PurpleMessageFlags flags) {
  if (!(flags & (PURPLE_MESSAGE_RECV | PURPLE_MESSAGE_SEND)) || !purple_prefs_get_bool(kRenderPref)) return;
  try {
    if (std::optional<std::string> rendered = renderShownMessage(*message)) {
      g_free(*message);
      *message = g_strdup(rendered->c_str());
    }
  } catch (const std::exception&) {
    // Shown as it came.
  }
}

char* PurpleHost::onDrawingBuddy(PurpleBuddy* buddy, void* data) {
  if (!purple_prefs_get_bool(kRenderPref)) return nullptr;
  auto* host = static_cast<PurpleHost*>(data);
  try {
    const std::string alias = host->contactNames_.shownText(buddy);
    const std::string contact = std::string(purple_account_get_protocol_id(purple_buddy_get_account(buddy))) +
                                '\n' + purple_account_get_username(purple_buddy_get_account(buddy)) + '\n' +
                                purple_buddy_get_name(buddy);
    const std::optional<std::string>& name = host->nameLabels_.label(contact, alias, host->background_);
    return name ? g_strdup(name->c_str()) : nullptr;
  } catch (const std::exception&) {
    return nullptr;  // drawn as Pidgin draws it
  }
}

void PurpleHost::onQuitting(void* data) {
  static_cast<PurpleHost*>(data)->stop();
}

void PurpleHost::onReceivingXml(PurpleConnection* connection, xmlnode** stanza, void* data) {
  try {
    if (stanza) static_cast<PurpleHost*>(data)->contactNames_.receiving(connection, *stanza);
  } catch (const std::exception& e) {
    purple_debug_error("tessalune", "%s\n", e.what());  // the stanza goes on as it came
  }
}

void PurpleHost::redrawContacts() {
  PurpleBuddyList* list = purple_get_blist();
  PurpleBlistUiOps* ops = purple_blist_get_ui_ops();
  if (!list || !ops || !ops->update) return;
  for (PurpleBlistNode* node = purple_blist_get_root(); node; node = purple_blist_node_next(node, TRUE)) {
    ops->update(list, node);
  }
}

void PurpleHost::scheduleRun() {
  if (idle_ || running_ || stopped_) return;
  idle_ = g_idle_add(
      [](gpointer data) -> gboolean {
        auto* host = static_cast<PurpleHost*>(data);
        host->idle_ = 0;
        // Nothing may unwind into the client's C code.
        try {
          host->runQueued();
        } catch (const std::exception& e) {
          host->running_ = false;
          purple_debug_error("tessalune", "%s\n", e.what());
        }
        if (host->deleteWhenReturned_) delete host;
        return G_SOURCE_REMOVE;
      },
      this);
}

void PurpleHost::runQueued() {
  running_ = true;
  if (!started_) {
    started_ = true;
    plugin_->Initialize(0, "", this);
    if (!stopped_) {
      registerCommands();  // in the language the configuration names
      describe();
    }
  }
  applySettingChanges();
  openAskedPreferences();
  while (!stopped_ && !queue_.empty()) {
    const PendingCommand command = std::move(queue_.front());
    queue_.pop_front();
    run(command);
  }
  if (!stopped_ && !idleWorkDone_) {
    idleWorkDone_ = true;
    plugin_->runPendingWork([this] { return queue_.empty() && !stopped_; });
  }
  running_ = false;
  if (!stopped_ && !queue_.empty()) scheduleRun();  // typed while the idle work waited
}

void PurpleHost::run(const PendingCommand& command) {
  current_ = command.where;
  std::string result;
  bool handled = false;
  try {
    handled = plugin_->ParseCommand(command.command, command.argument, nullptr, result);
  } catch (const std::exception& e) {
    notice(std::string("Tessalune: ") + e.what());
  }
  if (!stopped_) {
    if (handled) {
      deliver(command.where, result);
    } else if (plugin_->halted()) {
      notice(text(PurpleText::HaltedUntilEnabledAgain));
    }
  }
  current_.reset();
}

void PurpleHost::deliver(const ConversationAddress& where, const std::string& result) {
  if (result.empty()) return;
  PurpleAccount* account = where.account();
  if (!account) return keepUnsent(where, result);  // signed off while the command ran
  if (result.starts_with(kNicknameResult))
    return publish(where, account, result.substr(kNicknameResult.size()));
  PurpleConversation* conversation = where.conversation();
  if (!conversation) return;  // closed while the command ran
  if (std::optional<PurpleText> failure = xmppCannotCarry(result);
      failure && where.protocolId == "prpl-jabber") {
    return notice("Tessalune: " + text(PurpleText::MessageNotSent, text(*failure)));
  }
  const std::optional<Outgoing> out = outgoing(where, account, result);
  if (!out || !(conversation = where.conversation())) return;  // declined, or closed while asked
  const std::string html = out->html ? out->text : escapedHtml(out->text);
  if (where.chat) {
    purple_conv_chat_send(PURPLE_CONV_CHAT(conversation), html.c_str());
  } else {
    purple_conv_im_send(PURPLE_CONV_IM(conversation), html.c_str());
  }
}

SendAs PurpleHost::sendAsOf(PurpleAccount* account) {
  const std::string name = sendAsPreferenceOf(account);
  if (purple_prefs_get_type(name.c_str()) != PURPLE_PREF_BOOLEAN) {
    return defaultSendAs(purple_account_get_protocol_id(account));
  }
  return purple_prefs_get_bool(name.c_str()) ? SendAs::NetworkFormatting : SendAs::PlusCodes;
}

std::string PurpleHost::sendAsPreferenceOf(PurpleAccount* account) {
  return sendAsPreference(kSendAsBranch, purple_account_get_protocol_id(account),
                          purple_account_get_username(account));
}

std::optional<Outgoing> PurpleHost::outgoing(const ConversationAddress& where, PurpleAccount* account,
                                             const std::string& result) {
  if (sendAsOf(account) == SendAs::PlusCodes) {
    Outgoing plus;
    plus.text = result;
    return plus;
  }
  Outgoing out = inNetworkFormatting(where.protocolId, result, plugin_->messages(), true);
  // The network's limit thinned the colours further: the person answers again, as the
  // command's own conversion asks.
  if (!out.question.empty() && !front_->dialogs().ask(out.question, platform::Icon::Question)) {
    return std::nullopt;
  }
  if (out.text.empty()) {
    front_->dialogs().message(out.message, platform::Icon::Exclamation);
    return std::nullopt;
  }
  return out;
}

// A confirmed result the account can no longer send is not dropped: the person is told, and
// a text waits in the conversation's input box in Pidgin, or is shown, to be sent once
// connected.
void PurpleHost::keepUnsent(const ConversationAddress& where, const std::string& result) {
  const std::string offline = text(PurpleText::NotConnected);
  if (result.starts_with(kNicknameResult)) {
    return notice("Tessalune: " + text(PurpleText::NicknameNotPublished, offline) + " " +
                  text(PurpleText::RunAgainOnceConnected));
  }
  const bool inInputBox = putInPidginInputBox(where.conversation(), result);
  notice("Tessalune: " + text(PurpleText::MessageNotSent, offline) + " " +
         (inInputBox ? text(PurpleText::InInputBox) : text(PurpleText::SendOnceConnected, result)));
}

void PurpleHost::publish(const ConversationAddress& where, PurpleAccount* account,
                         const std::string& nickname) {
  const std::string request = "tessalune-nickname-" + std::to_string(nextRequest_++);
  if (std::optional<PurpleText> failure =
          publishNickname(account, nickname, request, text(PurpleText::ServerRefusedNickname))) {
    return notice("Tessalune: " + text(PurpleText::NicknameNotPublished, text(*failure)));
  }
  if (publishesOverXmpp(account)) {
    nicknameRequests_[request] = {where, nickname};
  } else {
    noticeHtml(where, escapedHtml("Tessalune: " + nicknameNow()) + renderPlus(nickname));
  }
}

// The server's answer to a nickname published: it is the account's once the server took it.
gboolean PurpleHost::onIq(PurpleConnection*, const char* type, const char* id, const char*, xmlnode*,
                          void* data) {
  auto* host = static_cast<PurpleHost*>(data);
  const auto pending = id ? host->nicknameRequests_.find(id) : host->nicknameRequests_.end();
  if (pending == host->nicknameRequests_.end()) return FALSE;
  const PendingNickname published = std::move(pending->second);
  host->nicknameRequests_.erase(pending);
  PurpleAccount* account = published.where.account();
  if (!account) return TRUE;
  if (type && std::string(type) == "result") {
    rememberNickname(account, published.nickname);
    host->noticeHtml(published.where,
                     escapedHtml("Tessalune: " + host->nicknameNow()) + renderPlus(published.nickname));
  } else {
    host->noticeHtml(published.where,
                     escapedHtml("Tessalune: " + host->text(PurpleText::ServerRefusedNickname)));
  }
  return TRUE;
}

void PurpleHost::noticeHtml(const std::optional<ConversationAddress>& where, const std::string& html) {
  if (stopped_) return;
  purple_debug_info("tessalune", "%s\n", html.c_str());
  if (PurpleConversation* conversation = where ? where->conversation() : nullptr) {
    purple_conversation_write(conversation, nullptr, html.c_str(),
                              static_cast<PurpleMessageFlags>(PURPLE_MESSAGE_SYSTEM | PURPLE_MESSAGE_NO_LOG),
                              std::time(nullptr));
  } else {
    char* text = purple_markup_strip_html(html.c_str());
    purple_notify_info(handle_, "Tessalune", text, nullptr);
    g_free(text);
  }
}

std::string PurpleHost::text(PurpleText which, std::string_view argument) {
  texts_.follow(plugin_ ? plugin_->language() : std::nullopt);
  return texts_(which, argument);
}

std::string PurpleHost::nicknameNow() {
  texts_.follow(plugin_ ? plugin_->language() : std::nullopt);
  return texts_.nicknameNow();
}

bool PurpleHost::answerYes() const {
  return purple_prefs_get_bool(kAnswerPref);
}

std::string PurpleHost::friendlyName() const {
  PurpleAccount* account = current_ ? current_->account() : nullptr;
  return account ? accountNickname(account) : std::string();
}

}  // namespace tessalune::purple
