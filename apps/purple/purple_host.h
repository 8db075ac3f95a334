#pragma once

#include <purple.h>

#include <array>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "contact_names.h"
#include "conversation_address.h"
#include "front.h"
#include "pidgin_page.h"
#include "platform/messenger.h"
#include "plugin/plugin.h"
#include "purple_texts.h"
#include "send_as.h"
#include "settings_frame.h"
#include "shown_names.h"
#include "shown_writer.h"

namespace tessalune::purple {

// The plug-in's preferences in the client.
inline constexpr const char* kPrefsRoot = "/plugins/core/tessalune";
inline constexpr const char* kRenderPref = "/plugins/core/tessalune/render";  // bool: show codes in colour
inline constexpr const char* kAnswerPref = "/plugins/core/tessalune/answer_yes";  // bool, without a display
// Each account's choice of how results go out, below this branch: on for the network's formatting.
inline constexpr const char* kSendAsBranch = "/plugins/core/tessalune/send_as";

// Makes the front that shows windows, when the client has a display; else null.
using WindowedFront = std::function<std::unique_ptr<Front>()>;

// Tessalune in a libpurple client, as a chat host has it: the command words of the plug-in
// in every conversation, results sent there ("/nick2 " ones publish the account's
// nickname), received Plus! text shown in colour.
//
// A typed command is only queued: it runs from the main loop once the client's own code has
// returned, since a window it opens runs a loop of its own, during which the conversation,
// the account or the whole client may go. Afterwards both are looked up again by name and
// nothing is sent to what is gone; once the client quits or unloads the plug-in, nothing
// touches the client any more.
class PurpleHost : private platform::Messenger {
 public:
  explicit PurpleHost(PurplePlugin* handle, const WindowedFront& windowed = {});
  ~PurpleHost() override;
  PurpleHost(const PurpleHost&) = delete;
  PurpleHost& operator=(const PurpleHost&) = delete;

  // The client unloads the plug-in: its windows close as Cancel. Destroys this host now, or
  // once the running command has returned.
  static void unload(PurpleHost* host);

  // The plug-in's page of the client's plug-in preferences: the rendering switch, and where
  // the client shows no window, the answer to questions and the settings' list.
  void fillPreferences(PurplePluginPrefFrame* frame);
  // The same page as Pidgin shows it, with a button that opens the preferences window.
  void* pidginPage();

 private:
  struct PendingCommand {
    ConversationAddress where;
    std::string command;  // with its slash
    std::string argument;
  };

  std::string friendlyName() const override;

  void registerCommands();
  // A command's help as /help shows it, in the plug-in's language.
  std::string usageWord(const std::string& help);
  void connectSignals();
  void stop();
  void scheduleRun();
  void runQueued();
  void run(const PendingCommand& command);
  void queueSettingChange(store::Setting setting, std::string text);
  void applySettingChanges();
  void openAskedPreferences();
  // The plug-in list's summary and description in the plug-in's language, and back.
  void describe();
  void undescribe();
  void deliver(const ConversationAddress& where, const std::string& result);
  // The account's choice of how a result goes out, and the client's preference that holds it.
  static SendAs sendAsOf(PurpleAccount* account);
  static std::string sendAsPreferenceOf(PurpleAccount* account);
  void addSendAsChoices(PurplePluginPrefFrame* frame);
  // A message result written as the account sends it: nothing when the person declined the
  // thinning, or the conversion refused it (the person is told why).
  std::optional<Outgoing> outgoing(const ConversationAddress& where, PurpleAccount* account,
                                   const std::string& result);
  void keepUnsent(const ConversationAddress& where, const std::string& result);
  void publish(const ConversationAddress& where, PurpleAccount* account, const std::string& nickname);
  // A text for the person, in the conversation where the command was typed when it is
  // still open, else as the client's notification.
  void notice(const std::string& text) { noticeHtml(current_, escapedHtml(text)); }
  void noticeHtml(const std::optional<ConversationAddress>& where, const std::string& html);
  static std::string escapedHtml(const std::string& text);
  bool answerYes() const;
  // The chat plug-in's own words in the language the plug-in speaks.
  std::string text(PurpleText which, std::string_view argument = {});
  std::string nicknameNow();

  static PurpleCmdRet onCommand(PurpleConversation* conversation, const gchar* command, gchar** args,
                                gchar** error, void* host);
  // Renders the Plus! codes of a message as it is shown, when rendering is on.
  static void renderShown(char** message, PurpleMessageFlags flags);
  static gboolean onShowing(PurpleAccount* account, const char* who, char** message,
                            PurpleConversation* conversation, PurpleMessageFlags flags, void* host);
  static char* onDrawingBuddy(PurpleBuddy* buddy, void* host);
  static void onQuitting(void* host);
  static void onReceivingXml(PurpleConnection* connection, xmlnode** stanza, void* host);
  // Has the client draw every contact again, once the plug-in changed how names show.
  static void redrawContacts();
  static gboolean onIq(PurpleConnection* connection, const char* type, const char* id, const char* from,
                       xmlnode* iq, void* host);

  PurplePlugin* handle_;
  std::filesystem::path pluginDir_;
  std::unique_ptr<Front> front_;
  std::unique_ptr<ShownWriter> shownWriter_;  // where the client has no showing signal
  std::unique_ptr<plugin::Plugin> plugin_;
  PurpleTexts texts_;
  ContactNames contactNames_;
  NameLabels nameLabels_;
  engine::ColourNumber background_;  // what the client draws names on
  std::vector<PurpleCmdId> commands_;
  std::deque<PendingCommand> queue_;
  std::deque<std::pair<store::Setting, std::string>> settingChanges_;
  SettingsFrame settingsFrame_{
      [this](store::Setting setting, std::string text) { queueSettingChange(setting, std::move(text)); }};
  PidginPage pidginPage_;
  bool preferencesAsked_ = false;  // by the page's button
  std::string summary_, description_;
  std::optional<std::pair<char*, char*>> describedBefore_;  // the summary and description of before
  std::optional<ConversationAddress> current_;              // where the running command was typed
  // Nicknames the server has yet to take, by the request that publishes them.
  struct PendingNickname {
    ConversationAddress where;
    std::string nickname;
  };
  std::map<std::string, PendingNickname> nicknameRequests_;
  int nextRequest_ = 1;
  guint idle_ = 0;
  bool running_ = false;
  bool started_ = false;  // Initialize has run
  bool stopped_ = false;  // the client quits or unloads the plug-in
  bool deleteWhenReturned_ = false;
  bool idleWorkDone_ = false;
};

}  // namespace tessalune::purple
