#include "store/config_file.h"

#include <optional>
#include <string>

#include "engine/colour.h"
#include "engine/utf8.h"
#include "errors/failure.h"
#include "errors/message_ids.h"
#include "lang/languages.h"
#include "platform/embedded_resources.h"
#include "platform/ui_language.h"
#include "platform/xml_document.h"
#include "platform/xml_text.h"
#include "store/quicknicks.h"

namespace tessalune::store {

namespace msg = errors::msg;

namespace {

using platform::XmlDocument;
using platform::XmlNode;

// Reads each element into the settings; an element whose text is malformed takes the
// default its rule names and marks the file as having a missing section.
class SettingsReader {
 public:
  SettingsReader(const XmlDocument& doc, errors::StepMarker& step) : doc_(doc), step_(step) {}

  bool sectionMissing() const { return missing_; }

  void onOff(std::string_view path, std::optional<bool>& setting) {
    if (const auto text = next(path)) setting = *text == "1";
  }

  void language(std::string_view path, std::optional<int>& setting) {
    if (const auto code = next(path)) setting = lang::languageIndex(*code);
  }

  void foregroundType(std::string_view path, std::optional<int>& setting) {
    const auto text = next(path);
    if (!text) return;
    setting = *text == "2" ? 2 : 1;
    missing_ = missing_ || (*text != "1" && *text != "2");
  }

  void backgroundType(std::string_view path, std::optional<int>& setting) {
    const auto text = next(path);
    if (!text) return;
    setting = *text == "1" ? 1 : *text == "2" ? 2 : 0;
    missing_ = missing_ || (*text != "0" && *text != "1" && *text != "2");
  }

  void gradientPreset(std::string_view path, std::optional<int>& setting) {
    const auto text = next(path);
    if (!text) return;
    const bool valid = text->size() == 1 && (*text)[0] >= '1' && (*text)[0] <= '4';
    setting = valid ? (*text)[0] - '0' : 1;
    missing_ = missing_ || !valid;
  }

  void colour(std::string_view path, std::optional<std::uint32_t>& setting) {
    const auto text = next(path);
    if (!text) return;
    if (engine::countChars(*text) == 7 && text->front() == '#') {
      setting = engine::hex2rgb(*text);
    } else {
      missing_ = true;
    }
  }

 private:
  // The text of the element at path, counted as one step; nothing (and the section
  // marked missing) when there is no such element.
  std::optional<std::string> next(std::string_view path) {
    step_.advance();
    const XmlNode node = doc_.selectSingleNode(path);
    if (!node) {
      missing_ = true;
      return std::nullopt;
    }
    return node.text();
  }

  const XmlDocument& doc_;
  errors::StepMarker& step_;
  bool missing_ = false;
};

void readPreset(SettingsReader& read, const std::string& root, StoredPreset& p) {
  read.onOff(root + "/enabled", p.enabled);
  read.foregroundType(root + "/FGtype", p.fgType);
  read.backgroundType(root + "/BGtype", p.bgType);
  read.gradientPreset(root + "/FGgradtype", p.fgGradient);
  read.gradientPreset(root + "/BGgradtype", p.bgGradient);
  read.colour(root + "/FGcolor", p.fgColor);
  read.colour(root + "/FGgrad1", p.fgGrad1);
  read.colour(root + "/FGgrad2", p.fgGrad2);
  read.colour(root + "/BGcolor", p.bgColor);
  read.colour(root + "/BGgrad1", p.bgGrad1);
  read.colour(root + "/BGgrad2", p.bgGrad2);
}

// The manager shows the first entry, or its empty state: a reload (a configuration
// recreated mid-session) must not leave it showing entries the file no longer has.
void loadQuickNicks(const XmlDocument& doc, ConfigTargets& t, StoreContext& ctx) {
  ctx.failures.step.advance();
  const std::vector<XmlNode> entries = doc.selectNodes("/config/quicknicks/quicknick");
  if (entries.size() > static_cast<std::size_t>(INT16_MAX)) errors::raiseOverflow();
  t.quickNickState.index = 0;
  t.quickNickState.count = static_cast<std::int16_t>(entries.size());
  if (entries.empty()) {
    t.quickNicks.setCounter("0 / 0");
    t.quickNicks.preview().setText("");
    t.quickNicks.setShortcut("");
    t.quickNicks.setPreviousShortcut("");
    return;
  }
  t.quickNicks.setCounter("1 / " + std::to_string(entries.size()));
  QuickNickContext qn{ctx, t.quickNickState, t.quickNicks};
  showQuickNick(entries.front(), qn);
}

void applySettings(const XmlDocument& doc, ConfigTargets& t, StoreContext& ctx) {
  SettingsReader read(doc, ctx.failures.step);
  StoredSettings settings;
  read.onOff("/config/suffix", settings.suffix);
  read.onOff("/config/all", settings.all);
  read.onOff("/config/update", settings.update);
  read.language("/config/lang", settings.language);
  read.onOff("/config/replaceQN", settings.replaceQN);
  readPreset(read, "/config/nickprefs", settings.nick);
  readPreset(read, "/config/textprefs", settings.text);
  if (t.apply) t.apply(settings);

  loadQuickNicks(doc, t, ctx);

  if (read.sectionMissing()) {
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
