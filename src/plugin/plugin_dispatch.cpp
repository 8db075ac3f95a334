#include "plugin/plugin.h"

#include "engine/direct_colouring.h"
#include "engine/plus_to_styled_text.h"
#include "engine/xml2plus.h"
#include "errors/message_ids.h"
#include "store/quicknicks.h"
#include "ui/about_window.h"
#include "ui/editor_window.h"
#include "ui/prefs_window.h"
#include "ui/quicknick_window.h"

// The host's commands: the published table and the dispatcher.
namespace tessalune::plugin {

namespace {

namespace msg = errors::msg;
using platform::Icon;

constexpr std::string_view kPluginName = "Tessalune v2";

}  // namespace

bool Plugin::GetPublishInfo(std::string& pluginName, std::int32_t& commandCount, std::int32_t& tagCount) {
  pluginName = kPluginName;
  commandCount = kCommandCount;
  tagCount = 0;
  return true;
}

void Plugin::GetPublishCommandInfo(std::int32_t index, std::string& name, std::string& value,
                                   std::string& help) {
  if (index < 1 || index > kCommandCount) return;
  const CommandRow& row = kCommandTable[static_cast<std::size_t>(index - 1)];
  name = messages_.message(row.description);
  value = row.word;
  if (!row.help.empty()) help = row.help;
}

bool Plugin::ParseCommand(std::string_view command, std::string_view argument, const void*,
                          std::string& result) {
  checkEntry(true);
  const EntryCall call(*this);
  if (halted_) return false;
  const Command which = commandOf(command);
  if (which == Command::None) return false;
  if (!windows_.editor) return true;  // a start-up failed; nothing to act on

  // A command that asked for a restart or a halt on the way ends there and sends nothing.
  const bool handled = runCommand(which, argument, result);
  if (stopping() || halted_) result.clear();
  return handled;
}

bool Plugin::runCommand(Command which, std::string_view argument, std::string& result) {
  switch (which) {
    case Command::Nickname:
      return colourOrEdit(true, argument, result);
    case Command::Text:
      return colourOrEdit(false, argument, result);
    case Command::UseQuickNick:
      useQuickNick(argument, result);
      return true;
    case Command::SaveQuickNick:
      saveQuickNick(argument);
      result.clear();
      return true;
    case Command::Preferences:
      showModal(*windows_.prefs);
      result.clear();
      return true;
    case Command::About:
      showModal(*windows_.about);
      result.clear();
      return true;
    case Command::Help:
      windows_.editor->btnHelp_Click();
      result.clear();
      return true;
    case Command::None:
      break;
  }
  return false;
}

bool Plugin::colourOrEdit(bool nickname, std::string_view argument, std::string& result) {
  // The command's kind decides the mode before anything else, so limits and messages follow it.
  ui::EditorWindow& editor = *windows_.editor;
  editor.setMode(nickname ? engine::EditorMode::Nickname : engine::EditorMode::Text);
  // A result left over from an earlier command must not be sent again.
  editor.clearCodedResult();
  std::string coded;
  const engine::StylePreset& preset = settings_.preset(editor.mode());
  if (preset.enabled) {
    if (argument.empty()) {
      services_.dialogs.message(messages_.message(nickname ? msg::kTypeANick : msg::kTypeAMessage),
                                Icon::Critical);
      return true;
    }
    engine::ConversionContext ctx = editor.conversionContext();
    coded = engine::colourArgument(argument, preset, editor.rtf_auto.box(), ctx);
  } else {
    engine::RichTextBox& box = editor.currentEditorBox().box();
    if (!argument.empty()) {
      box.setText(argument);
    } else if (nickname) {
      box.setCharacters(engine::plusToStyledText(messenger_->friendlyName(), failures_), 0);
    }
    showModal(editor);
    // A restart on the way leaves no editor to ask.
    if (windows_.editor) coded = windows_.editor->codedResult();
  }
  if (!coded.empty()) result = nickname ? "/nick2 " + coded : coded;
  return true;
}

void Plugin::useQuickNick(std::string_view shortcut, std::string& result) {
  windows_.editor->clearCodedResult();
  if (shortcut.empty()) {
    showModal(*windows_.quickNicks);
    if (windows_.editor && !windows_.editor->codedResult().empty())
      result = "/nick2 " + windows_.editor->codedResult();
    return;
  }
  store::QuickNickContext ctx = windows_.quickNicks->storeContext();
  const std::string body = store::useQN(shortcut, ctx);
  if (!quickNickState_.shortcutMatched) return;
  windows_.editor->setCodedResult(engine::xml2plus(body, failures_));
  result = "/nick2 " + windows_.editor->codedResult();
}

// Success is said only after the entry and its shortcut were written, in one write.
void Plugin::saveQuickNick(std::string_view shortcut) {
  if (shortcut.empty()) {
    services_.dialogs.message(messages_.message(msg::kTypeAShortcut), Icon::Critical);
    return;
  }
  ui::QuickNickWindow& manager = *windows_.quickNicks;
  const bool replace = settings_.replaceQN;
  const auto outcome = manager.saveNickname(shortcut, replace);
  if (stopping() || halted_) return;  // a restart or a halt was asked for on the way
  if (outcome == ui::QuickNickWindow::SaveOutcome::Saved && !replace) {
    services_.dialogs.message(messages_.message(msg::kNicknameSaved), Icon::Information);
  } else if (outcome == ui::QuickNickWindow::SaveOutcome::ShortcutTaken) {
    showModal(manager);
  }
}

}  // namespace tessalune::plugin
