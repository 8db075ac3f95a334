#include "plugin/plugin.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "lang/message_catalogue.h"
#include "store/config_file.h"
#include "ui/about_window.h"
#include "ui/caption_list.h"
#include "ui/editor_window.h"
#include "ui/help_window.h"
#include "ui/prefs_window.h"
#include "ui/quicknick_window.h"
#include "ui/update_window.h"
#include "update/update_controller.h"

// The plug-in's entry points and its lifecycle: start-up, shut-down and the restarts,
// reloads and halts that routines ask for.
namespace tessalune::plugin {

namespace {

using platform::Icon;

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

}  // namespace tessalune::plugin
