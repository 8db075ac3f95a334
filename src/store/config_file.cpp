#include "store/config_file.h"

#include <optional>
#include <string>

#include "errors/failure.h"
#include "errors/message_ids.h"
#include "platform/embedded_resources.h"
#include "platform/ui_language.h"
#include "platform/xml_document.h"
#include "platform/xml_text.h"
#include "store/quicknicks.h"
#include "store/setting_elements.h"

namespace tessalune::store {

namespace msg = errors::msg;

namespace {

using platform::XmlDocument;
using platform::XmlNode;

// Reads each value element into a copy of the settings, counted as one step each, and
// commits them together: a failure half-way changes nothing. An element missing or
// malformed marks the file as having a missing section.
bool readSettings(const XmlDocument& doc, Settings& settings, SettingSet& read, errors::StepMarker& step) {
  Settings loaded = settings;
  bool missing = false;
  for (Setting s : kAllSettings) {
    step.advance();
    const XmlNode node = doc.selectSingleNode(settingPath(s));
    if (!node) {
      missing = true;
      continue;
    }
    const TextRead outcome = readSettingText(loaded, s, node.text());
    if (outcome != TextRead::Refused) read.add(s);
    missing = missing || outcome != TextRead::Taken;
  }
  settings = loaded;
  return !missing;
}

// The manager shows the first entry, or its empty state: a reload (a configuration
// recreated mid-session) must not leave it showing entries the file no longer has.
void loadQuickNicks(const XmlDocument& doc, ConfigTargets& t, StoreContext& ctx) {
  ctx.failures.step.advance();
  const std::vector<XmlNode> entries = quickNickEntries(doc);
  if (entries.size() > static_cast<std::size_t>(INT16_MAX)) errors::raiseOverflow();
  t.quickNickState.index = 0;
  t.quickNickState.count = static_cast<std::int16_t>(entries.size());
  if (!t.quickNicks) return;
  QuickNickView& view = *t.quickNicks;
  view.setCounter(counterText(t.quickNickState));
  if (entries.empty()) {
    view.preview().setText("");
    view.setShortcut("");
    view.setPreviousShortcut("");
    return;
  }
  QuickNickContext qn{ctx, t.quickNickState, view};
  showQuickNick(entries.front(), qn);
}

void applySettings(const XmlDocument& doc, ConfigTargets& t, StoreContext& ctx) {
  SettingSet read;
  const bool complete = readSettings(doc, t.settings, read, ctx.failures.step);
  if (t.show) t.show(read);

  loadQuickNicks(doc, t, ctx);

  if (!complete) {
    ctx.dialogs.message(ctx.messages.message(msg::kSectionsMissing), platform::Icon::Exclamation);
  }
}

}  // namespace

void loadConfig(ConfigTargets& t, StoreContext& ctx) {
  // A default configuration that cannot be written where none was found is the
  // start-up's failure: it passes the trap; every other failure is the load's own.
  std::exception_ptr startUpFailure;
  errors::guardProcedure(ctx.failures, "loadConfig", [&] {
    try {
      ctx.failures.step.reset();
      ConfigSession config(ctx);
      if (!config.load("loadConfig")) return;
      // The document is in memory: applying it shows boxes (a language, message 107),
      // so the lock is given up first.
      config.release();
      applySettings(config.doc(), t, ctx);
    } catch (const errors::DefaultConfigurationFailure&) {
      startUpFailure = std::current_exception();
    }
  });
  if (startUpFailure) std::rethrow_exception(startUpFailure);
}

void writeConfig(std::string_view path, std::string_view value, StoreContext& ctx) {
  errors::guardProcedure(ctx.failures, "writeConfig", [&] {
    ctx.failures.step.reset();
    ConfigSession config(ctx);
    if (!config.load("writeConfig")) return;
    ctx.failures.step.advance();
    if (const auto problem = platform::xmlTextProblem(value)) {
      throw errors::RuntimeFailure(errors::failure::kInvalidCall,
                                   "Invalid procedure call: the value holds " + *problem +
                                       ", which the configuration file cannot hold");
    }
    XmlNode node = config.doc().selectSingleNode(path);
    if (!node)
      throw errors::RuntimeFailure(errors::failure::kObjectNotSet,
                                   "Object variable or With block variable not set");
    node.setText(value);
    config.save();
  });
}

std::string defaultConfiguration(int languageId) {
  auto resource = platform::embeddedResource("config/" + std::to_string(languageId) + ".xml");
  if (!resource) resource = platform::embeddedResource("config/1033.xml");
  const std::string_view bytes = resource.value_or("");
  return std::string(bytes.substr(0, bytes.find('\0')));
}

void writeDefaultConfiguration(const std::filesystem::path& pluginDir, int languageId) {
  platform::writeFileAtomically(platform::systemFileSystem(), configFilePath(pluginDir),
                                defaultConfiguration(languageId) + "\r\n");
}

void writeDefaultConfiguration(StoreContext& ctx, int languageId) {
  ConfigSession config(ctx);
  // Another process may have created the file since it was found missing; what it
  // wrote is kept.
  // A dangling symbolic link counts as missing: the default is written to its target.
  std::error_code error;
  if (std::filesystem::status(configFilePath(ctx.pluginDir), error).type() !=
      std::filesystem::file_type::not_found) {
    return;
  }
  ctx.lock.requireForWriting();
  platform::writeFileAtomically(ctx.files, configFilePath(ctx.pluginDir),
                                defaultConfiguration(languageId) + "\r\n");
}

}  // namespace tessalune::store
