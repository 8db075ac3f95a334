// The plug-in's page in the client's plug-in preferences.
#include "purple_host.h"

#include <tuple>
#include <utility>

namespace tessalune::purple {

void PurpleHost::fillPreferences(PurplePluginPrefFrame* frame) {
  texts_.follow(plugin_->language());
  purple_plugin_pref_frame_add(frame, purple_plugin_pref_new_with_name_and_label(
                                          kRenderPref, texts_(PurpleText::PrefShowCodes).c_str()));
  addSendAsChoices(frame);
  // With a display the preferences window holds the rest.
  if (front_->showsWindows()) return;

  purple_plugin_pref_frame_add(
      frame, purple_plugin_pref_new_with_name_and_label(kAnswerPref, texts_(PurpleText::PrefAnswer).c_str()));
  // Before the start-up the plug-in holds the defaults: the configuration is not read yet.
  if (!started_) return;
  settingsFrame_.addTo(
      frame, [this](store::Setting s) { return plugin_->settingText(s); }, texts_);
}

// Each account's choice of how the plug-in's results go out, where the person sets the
// plug-in's other client preferences; it is kept with them, by account, as the client keeps
// the plug-in's preferences. A check box each: one row of Finch's page, which must fit a
// terminal of 24 rows.
void PurpleHost::addSendAsChoices(PurplePluginPrefFrame* frame) {
  for (GList* node = purple_accounts_get_all(); node; node = node->next) {
    auto* account = static_cast<PurpleAccount*>(node->data);
    const std::string name = sendAsPreferenceOf(account);
    purple_prefs_add_bool(name.c_str(), sendAsOf(account) == SendAs::NetworkFormatting);
    const std::string label =
        texts_(PurpleText::PrefSendAs, std::string(purple_account_get_username(account)) + " (" +
                                           purple_account_get_protocol_name(account) + ")");
    purple_plugin_pref_frame_add(frame,
                                 purple_plugin_pref_new_with_name_and_label(name.c_str(), label.c_str()));
  }
}

void* PurpleHost::pidginPage() {
  PurplePluginPrefFrame* frame = purple_plugin_pref_frame_new();
  fillPreferences(frame);
  return pidginPage_.build(
      frame, texts_(PurpleText::PreferencesButton).c_str(),
      [](void* host) {
        auto* self = static_cast<PurpleHost*>(host);
        self->preferencesAsked_ = true;
        self->scheduleRun();
      },
      this);
}

// The window opens once the client's own code has returned, as a command's does.
void PurpleHost::openAskedPreferences() {
  if (std::exchange(preferencesAsked_, false) && !stopped_) plugin_->Configure();
}

std::string PurpleHost::usageWord(const std::string& help) {
  for (const auto& [word, usage] :
       {std::pair{"nickname", PurpleText::UsageNickname}, std::pair{"text", PurpleText::UsageText},
        std::pair{"shortcut", PurpleText::UsageShortcut}}) {
    if (help == word) return text(usage);
  }
  return help;
}

void PurpleHost::queueSettingChange(store::Setting setting, std::string text) {
  settingChanges_.emplace_back(setting, std::move(text));
  scheduleRun();
}

// Settings changed in the client's list, as the plug-in takes them; the list's branch of
// the client's preferences goes once they are taken.
void PurpleHost::applySettingChanges() {
  if (settingChanges_.empty()) return;
  while (!stopped_ && !settingChanges_.empty()) {
    const auto [setting, value] = std::move(settingChanges_.front());
    settingChanges_.pop_front();
    if (!plugin_->changeSetting(setting, value)) {
      notice("Tessalune: " + text(PurpleText::ValueRefused, value) + " " +
             store::allowedSettingValues(setting));
    }
  }
  settingsFrame_.forget();
  // /help speaks the language chosen.
  if (!stopped_) {
    for (PurpleCmdId id : commands_) purple_cmd_unregister(id);
    commands_.clear();
    registerCommands();
    describe();
  }
}

void PurpleHost::describe() {
  texts_.follow(plugin_->language());
  summary_ = texts_(PurpleText::PluginSummary);
  description_ = texts_.description();
  if (!describedBefore_) describedBefore_ = {handle_->info->summary, handle_->info->description};
  handle_->info->summary = summary_.data();
  handle_->info->description = description_.data();
}

void PurpleHost::undescribe() {
  if (!describedBefore_) return;
  std::tie(handle_->info->summary, handle_->info->description) = *describedBefore_;
  describedBefore_.reset();
}

}  // namespace tessalune::purple
