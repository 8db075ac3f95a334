#include "store/config_file.h"

#include <array>
#include <string>

#include "engine/colour.h"
#include "engine/utf8.h"
#include "errors/failure.h"
#include "lang/languages.h"
#include "platform/embedded_resources.h"
#include "platform/ui_language.h"
#include "platform/xml_document.h"
#include "platform/xml_text.h"
#include "store/quicknicks.h"

namespace tessalune::store {

namespace {

using platform::XmlDocument;
using platform::XmlNode;

constexpr int kSectionsMissing = 107;

// Applies the loaded text of each element to its control; returns false when the section
// is malformed (and the control then takes the default the rule names).
class SettingsLoader {
 public:
  SettingsLoader(const XmlDocument& doc, errors::StepMarker& step) : doc_(doc), step_(step) {}

  bool sectionMissing() const { return missing_; }

  void onOff(std::string_view path, ui::CheckBox& control, ui::CheckBox* editorCopy = nullptr) {
    const auto text = next(path);
    if (!text) return;
    control.setChecked(*text == "1");
    if (editorCopy) editorCopy->setChecked(*text == "1");
  }

  std::optional<std::string> language(std::string_view path) { return next(path); }

  void foregroundType(std::string_view path, PresetControls& p) {
    const auto text = next(path);
    if (!text) return;
    if (*text == "2") {
      p.fgGradient[0]->setSelected();
    } else {
      p.fgSolid.setSelected();
      missing_ = missing_ || *text != "1";
    }
  }

  void backgroundType(std::string_view path, PresetControls& p) {
    const auto text = next(path);
    if (!text) return;
    if (*text == "1") {
      p.bgSolid.setSelected();
    } else if (*text == "2") {
      p.bgGradient[0]->setSelected();
    } else {
      p.bgNone.setSelected();
      missing_ = missing_ || *text != "0";
    }
  }

  void gradientPreset(std::string_view path, const std::array<ui::OptionButton*, 5>& options) {
    const auto text = next(path);
    if (!text) return;
    const bool valid = text->size() == 1 && (*text)[0] >= '1' && (*text)[0] <= '4';
    options[valid ? static_cast<std::size_t>((*text)[0] - '0') : 1]->setSelected();
    missing_ = missing_ || !valid;
  }

  void colour(std::string_view path, ui::ColourSwatch& swatch) {
    const auto text = next(path);
    if (!text) return;
    if (engine::countChars(*text) == 7 && text->front() == '#') {
      swatch.setBackColour(engine::hex2rgb(*text));
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

void loadPreset(SettingsLoader& load, const std::string& root, PresetControls& p) {
  load.onOff(root + "/enabled", p.enabled);
  load.foregroundType(root + "/FGtype", p);
  load.backgroundType(root + "/BGtype", p);
  load.gradientPreset(root + "/FGgradtype", p.fgGradient);
  load.gradientPreset(root + "/BGgradtype", p.bgGradient);
  load.colour(root + "/FGcolor", p.fgColor);
  load.colour(root + "/FGgrad1", p.fgGrad1);
  load.colour(root + "/FGgrad2", p.fgGrad2);
  load.colour(root + "/BGcolor", p.bgColor);
  load.colour(root + "/BGgrad1", p.bgGrad1);
  load.colour(root + "/BGgrad2", p.bgGrad2);
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
    t.quickNicks.counter.setCaption("0 / 0");
    t.quickNicks.preview.box().setText("");
    t.quickNicks.shortcut.setText("");
    t.quickNicks.previousShortcut.setCaption("");
    return;
  }
  t.quickNicks.counter.setCaption("1 / " + std::to_string(entries.size()));
  QuickNickContext qn{ctx, t.quickNickState, t.quickNicks};
  showQuickNick(entries.front(), qn);
}

void applySettings(const XmlDocument& doc, ConfigTargets& t, StoreContext& ctx) {
  SettingsLoader load(doc, ctx.failures.step);
  load.onOff("/config/suffix", t.suffix, &t.editorSuffix);
  load.onOff("/config/all", t.all, &t.editorAll);
  load.onOff("/config/update", t.update);
  if (const auto code = load.language("/config/lang")) {
    const int index = lang::languageIndex(*code);
    t.lang.setListIndex(index);
    if (t.languageChosen) t.languageChosen(index);
  }
  load.onOff("/config/replaceQN", t.replaceQN);
  loadPreset(load, "/config/nickprefs", t.nick);
  loadPreset(load, "/config/textprefs", t.text);
  if (t.typesChanged) t.typesChanged();

  loadQuickNicks(doc, t, ctx);

  if (load.sectionMissing()) {
    ctx.dialogs.message(ctx.messages.message(kSectionsMissing), platform::Icon::Exclamation);
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
  platform::writeFileAtomically(ctx.files, configFilePath(ctx.pluginDir),
                                defaultConfiguration(languageId) + "\r\n");
}

}  // namespace tessalune::store
