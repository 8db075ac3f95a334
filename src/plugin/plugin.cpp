#include "plugin/plugin.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "engine/direct_colouring.h"
#include "engine/plus_to_styled_text.h"
#include "engine/rtf2xml.h"
#include "engine/xml2plus.h"
#include "errors/message_ids.h"
#include "lang/message_catalogue.h"
#include "store/config_file.h"
#include "store/quicknicks.h"
#include "ui/about_window.h"
#include "ui/caption_list.h"
#include "ui/editor_window.h"
#include "ui/help_window.h"
#include "ui/prefs_window.h"
#include "ui/quicknick_window.h"
#include "ui/update_window.h"
#include "update/curl_transfer.h"
#include "update/plugin_version.h"
#include "update/update_controller.h"

namespace tessalune::plugin {

namespace {

// The preview set each colour group of the preferences draws.
ui::gdi::PreviewSet previewSetOf(ui::ColourGroup group) {
  constexpr ui::gdi::PreviewSet kSets[] = {ui::gdi::PreviewSet::Nick, ui::gdi::PreviewSet::NickBackground,
                                           ui::gdi::PreviewSet::Text, ui::gdi::PreviewSet::TextBackground};
  return kSets[static_cast<std::size_t>(group)];
}

namespace msg = errors::msg;
using platform::Icon;

constexpr std::string_view kPluginName = "Tessalune v2";

// The start-up failure message, in both languages since the catalogue may be what failed.
std::string startUpFailure(std::int32_t number, std::string_view source, std::string_view description) {
  return "Une erreur est survenue lors du chargement de Tessalune:\r\nAn error happened while loading "
         "Tessalune:\r\n"
         "\r\ncode: " +
         std::to_string(number) + "\r\nsource: " + std::string(source) +
         "\r\ndescription: " + std::string(description);
}

}  // namespace

Plugin::Plugin(HostServices services)
    : services_(std::move(services)),
      messages_(lang::MessageCatalogue(services_.uiLanguage)),
      report_(services_.dialogs, messages_, *this),
      store_{services_.pluginDir, services_.dialogs, messages_, failures_, configLock_, services_.files},
      translation_(services_.pluginDir, messages_, services_.dialogs) {}

Plugin::~Plugin() {
  // Windows go before what their handlers refer to.
  takeWindows();
}

void Plugin::checkEntry(bool needsInitialized) const {
  if (busy_ > 0) throw std::logic_error("called from inside a callback");
  if (needsInitialized && !initialized_) throw std::logic_error("not initialized");
}

bool Plugin::Initialize(std::int32_t, std::string_view, platform::Messenger* messenger) {
  checkEntry(false);
  if (initialized_) throw std::logic_error("already initialized");
  if (messenger == nullptr) throw std::invalid_argument("Initialize: the host gave no messenger");
  messenger_ = messenger;
  const EntryCall call(*this);
  initialized_ = true;
  initPlugin();
  return true;
}

void Plugin::Uninitialize() {
  checkEntry(true);
  initialized_ = false;
  freeGraphics();
  // What was asked for and not yet done ends with the windows; a halt stays.
  if (requests_.halt) halted_ = true;
  requests_ = {};
  unloadForms();
}

void Plugin::Configure() {
  checkEntry(true);
  const EntryCall call(*this);
  if (windows_.prefs) showModal(*windows_.prefs);
}

bool Plugin::windowShown() const {
  return std::ranges::any_of(windows_.all(), [](const ui::Window* w) { return w && w->visible(); });
}

std::string Plugin::settingText(store::Setting setting) const {
  return store::settingText(settings_, setting);
}

bool Plugin::changeSetting(store::Setting setting, std::string_view text) {
  checkEntry(true);
  const EntryCall call(*this);
  const std::optional<std::string> checked = store::checkedSettingText(setting, text);
  if (halted_ || !checked) return false;
  store::writeConfig(store::settingPath(setting), *checked, store_);
  request(Request::ReloadConfig);
  return true;
}

void Plugin::runPendingWork(const std::function<bool()>& keepWaiting) {
  if (busy_ > 0 || !initialized_) return;
  const EntryCall call(*this);
  if (!automaticCheckPending_ || halted_ || !windows_.updateController) return;
  automaticCheckPending_ = false;
  windows_.updateController->startAutomaticCheck(keepWaiting);
}

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

// --- requests ---------------------------------------------------------------------

void Plugin::request(Request what) {
  switch (what) {
    case Request::ReloadConfig:
      requests_.reloadConfig = true;
      return;  // the windows stay open on a reload
    case Request::StartAgain:
      requests_.startAgain = true;
      break;
    case Request::Restart:
      // A start-up that fails again after the restart its failure asked for would fail the
      // same way without end: that restart is refused, and the report halts.
      if (startingUp_ && startUpRestarts_++ > 0) throw std::runtime_error("the start-up failed again");
      requests_.startAgain = true;
      break;
    case Request::Halt:
      requests_.halt = requests_.unloadOnHalt = true;
      break;
    case Request::HaltKeepingWindows:
      requests_.halt = true;
      break;
  }
  // Every modal loop ends, so that control goes back to the entry point.
  hideWindows();
}

bool Plugin::stopping() const {
  return requests_.startAgain || requests_.halt;
}

void Plugin::leave() noexcept {
  if (--busy_ == 0 && requests_.any()) carryOutRequests();
}

// A halt first, then the start again (an import that failed starts again halted), else the
// reload of a recreated configuration. A start-up may ask for more, which the next round
// does. The windows taken out are destroyed after the new ones exist.
void Plugin::carryOutRequests() noexcept {
  ++busy_;
  try {
    while (requests_.any()) {
      const Requests asked = std::exchange(requests_, {});
      LoadedWindows outgoing;
      if (asked.halt) halted_ = true;
      if ((asked.halt && asked.unloadOnHalt) || asked.startAgain) outgoing = takeWindows();
      if (asked.startAgain) {
        initPlugin();
      } else if (asked.reloadConfig && !asked.halt) {
        loadConfig();
      }
    }
  } catch (const errors::RuntimeFailure& f) {
    failedStart(f.number(), f.what());
  } catch (const std::exception& f) {
    failedStart(errors::failure::kInvalidCall, f.what());
  } catch (...) {
    halted_ = true;
  }
  --busy_;
}

// --- start-up and shut-down ---------------------------------------------------------

void Plugin::initPlugin() {
  startingUp_ = true;
  try {
    startUp();
    startingUp_ = false;
  } catch (const errors::RuntimeFailure& f) {
    failedStart(f.number(), f.what());
  } catch (const std::exception& f) {
    failedStart(errors::failure::kInvalidCall, f.what());
  }
}

void Plugin::failedStart(std::int32_t number, std::string_view description) {
  startingUp_ = false;
  try {
    services_.dialogs.message(startUpFailure(number, "initPlugin", description), Icon::Critical);
  } catch (...) {
    // The plug-in halts whether or not the box could be shown.
  }
  requests_ = {};
  unloadForms();
  halted_ = true;
}

void Plugin::startUp() {
  messages_.loadMessages();
  loadWindows();
  // The caption list and the drawing registrations point at the controls of the windows
  // just loaded, so they are made anew with every load of the windows.
  captions_ = ui::captionList(*windows_.editor, *windows_.about, *windows_.prefs, *windows_.update,
                              *windows_.quickNicks, *windows_.help);
  ui::applyBuiltInCaptions(captions_);
  loadConfig();
  if (stopping()) return;  // the load met a fatal configuration error, or asked for a restart
  // Every load of the windows renders their buffers again: a second Initialize on the
  // same plug-in shows its windows drawn, as the first did.
  windows_.editor->registerDrawing();
  windows_.about->registerDrawing(drawing_);
  windows_.prefs->registerDrawing(drawing_);
  windows_.quickNicks->registerDrawing(drawing_);
  windows_.update->registerDrawing(drawing_);
  windows_.help->registerDrawing(drawing_);
  registerPreferencePreviews();
  drawing_.setTwipsPerPixel(services_.twipsPerPixel);
  drawing_.render();
  windows_.updateController->writeVersionLabel();
  windows_.editor->blackenBoxes();
  // The check waits on the network: it runs when the host next gives the plug-in control,
  // so that Initialize returns at once.
  automaticCheckPending_ = settings_.update;
  tablesBuilt_ = true;
}

void Plugin::loadWindows() {
  settings_ = {};
  ui::EditorDependencies editor{services_.dialogs,
                                messages_,
                                failures_,
                                *this,
                                [this] {
                                  if (windows_.prefs) showModal(*windows_.prefs);
                                },
                                [this] {
                                  if (windows_.about) showModal(*windows_.about);
                                },
                                [this] {
                                  if (windows_.help && windows_.prefs) {
                                    ui::btnHelp_Click(*windows_.help, settings_.language, services_.pluginDir,
                                                      services_.dialogs, messages_, modalWindows_);
                                  }
                                },
                                &translation_,
                                &drawing_};
  windows_.editor = std::make_unique<ui::EditorWindow>(editor);
  windows_.about = std::make_unique<ui::AboutWindow>(
      services_.shell, ui::VersionCaptions{update::versionCaption(update::kPluginVersion),
                                           update::buildCaption(update::kPluginVersion)});
  windows_.help = std::make_unique<ui::HelpWindow>();
  ui::PrefsDependencies prefs{
      store_,
      settings_,
      translation_,
      captions_,
      [this] { windows_.editor->languageApplied(); },
      windows_.editor->chk_noEnd,
      windows_.editor->chk_all,
      *this,
      [this] {
        if (windows_.update) showModal(*windows_.update);
      },
      [this](ui::ColourGroup group) { drawing_.renderPreviewSet(previewSetOf(group)); }};
  windows_.prefs = std::make_unique<ui::PrefsWindow>(prefs);
  ui::QuickNickDependencies quickNicks{
      store_,
      settings_,
      quickNickState_,
      *messenger_,
      [this] { return windows_.editor->conversionContext(); },
      [this](const std::string& coded) { windows_.editor->setCodedResult(coded); },
      *this};
  windows_.quickNicks = std::make_unique<ui::QuickNickWindow>(quickNicks);
  windows_.update = std::make_unique<ui::UpdateWindow>();
  update::UpdateDependencies updates{*windows_.update,
                                     services_.dialogs,
                                     messages_,
                                     services_.shell,
                                     report_,
                                     services_.pluginDir,
                                     [this] { return settings_.language; },
                                     [this] {
                                       auto transfer =
                                           std::make_unique<update::CurlTransfer>(services_.transferLimits);
                                       transfer->setEventPump(services_.eventPump);
                                       return transfer;
                                     },
                                     [this] {
                                       if (windows_.update) showModal(*windows_.update);
                                     },
                                     update::baseAddress(update::processEnvironment)};
  windows_.updateController = std::make_unique<update::UpdateController>(std::move(updates));
  for (ui::Window* w : windows_.all()) w->setActionGate(this);
  windowObservers_.notify(WindowsEvent::Loaded);
}

Plugin::LoadedWindows::LoadedWindows() = default;
Plugin::LoadedWindows::LoadedWindows(LoadedWindows&&) noexcept = default;
Plugin::LoadedWindows& Plugin::LoadedWindows::operator=(LoadedWindows&&) noexcept = default;
Plugin::LoadedWindows::~LoadedWindows() = default;

void Plugin::unloadForms() {
  takeWindows();
}

std::array<ui::Window*, 6> Plugin::LoadedWindows::all() const {
  return {editor.get(), about.get(), help.get(), prefs.get(), quickNicks.get(), update.get()};
}

// Only when no window's routine runs: at the entry point, or in a start-up that failed.
Plugin::LoadedWindows Plugin::takeWindows() {
  LoadedWindows taken = std::exchange(windows_, {});
  bool any = false;
  for (ui::Window* w : taken.all()) {
    if (!w) continue;
    w->unload();
    w->setActionGate(nullptr);
    any = true;
  }
  captions_.clear();
  if (any) windowObservers_.notify(WindowsEvent::Unloaded);
  return taken;
}

void Plugin::hideWindows() {
  for (ui::Window* w : windows_.all()) {
    if (w) w->hide();
  }
}

// The four preview sets of the preferences, each drawn from its group's two colour swatches.
void Plugin::registerPreferencePreviews() {
  ui::PrefsWindow& p = *windows_.prefs;
  const auto previews = [](std::array<ui::Control, 4>& set) {
    std::array<ui::gdi::DrawnElement, 4> drawn;
    for (std::size_t k = 0; k < 4; ++k)
      drawn[k] = {&set[k], ui::gdi::TwipSize{set[k].width(), set[k].height()}};
    return drawn;
  };
  for (ui::ColourGroup id : ui::kColourGroups) {
    ui::PrefsColourGroup& g = p.group(id);
    drawing_.registerPreviewSet(previewSetOf(id), previews(g.previews), g.gradient1, g.gradient2);
  }
}

void Plugin::freeGraphics() {
  drawing_.freeGraphics();
}

void Plugin::writeDefaultConfiguration() {
  store::writeDefaultConfiguration(store_, services_.uiLanguage);
}

// A configuration that the load found missing and recreated is loaded once more, now that
// the load has returned; missing again, the recreation has failed.
void Plugin::loadConfig() {
  if (!windows_.prefs || !windows_.quickNicks) return;
  store::ConfigTargets targets = ui::configTargets(settings_, *windows_.prefs, *windows_.quickNicks);
  store::loadConfig(targets, store_);
  if (!std::exchange(requests_.reloadConfig, false)) return;
  store::loadConfig(targets, store_);
  if (requests_.reloadConfig) {
    throw errors::DefaultConfigurationFailure("the configuration is still missing after it was recreated");
  }
}

void Plugin::showModal(ui::Window& window) {
  if (!stopping()) window.showModal(modalWindows_);
}

void Plugin::ModalWindows::runModal(ui::Window& window) {
  if (!plugin_.stopping()) plugin_.services_.windows.runModal(window);
}

// --- commands --------------------------------------------------------------------

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
