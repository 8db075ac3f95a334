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

}  // namespace

Plugin::Plugin(HostServices services)
    : services_(std::move(services)),
      messages_(lang::MessageCatalogue(services_.uiLanguage)),
      report_(services_.dialogs, messages_, *this),
      store_{services_.pluginDir, services_.dialogs, messages_,           failures_,
             configLock_,         services_.files,   services_.uiLanguage},
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
  if (requests_.dropAll()) halted_ = true;
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

bool Plugin::request(Request what) noexcept {
  return requests_.record(what);
}

bool Plugin::stopping() const {
  return requests_.stopping();
}

void Plugin::leave() noexcept {
  // A restart or a halt ends every modal loop, so that control goes back to the entry point.
  if (requests_.stopping()) hideWindows();
  if (--busy_ > 0 || !requests_.any()) return;
  ++busy_;
  carryOut(requests_, *this);
  --busy_;
}

void Plugin::halt(bool unloadWindows) {
  halted_ = true;
  if (unloadWindows) takeWindows();
}

// The windows taken out are destroyed after the new ones exist.
void Plugin::startAgain() {
  const LoadedWindows outgoing = takeWindows();
  initPlugin();
}

void Plugin::reloadConfig() {
  loadConfig();
}

// --- start-up and shut-down ---------------------------------------------------------

void Plugin::initPlugin() {
  requests_.startUpBegins();
  try {
    startUp();
    requests_.startUpEnds();
  } catch (const errors::RuntimeFailure& f) {
    startFailed(f.number(), f.what());
  } catch (const std::exception& f) {
    startFailed(errors::failure::kInvalidCall, f.what());
  }
}

void Plugin::startFailed(std::int32_t number, std::string_view description) noexcept {
  requests_.startUpEnds();
  try {
    services_.dialogs.message(startUpFailure(number, "initPlugin", description), Icon::Critical);
  } catch (...) {
    // The plug-in halts whether or not the box could be shown.
  }
  requests_.dropAll();
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

// A configuration that the load found missing and recreated is loaded once more, now that
// the load has returned.
void Plugin::loadConfig() {
  if (!windows_.prefs || !windows_.quickNicks) return;
  store::ConfigTargets targets = ui::configTargets(settings_, *windows_.prefs, *windows_.quickNicks);
  loadConfiguration(requests_, [&] { store::loadConfig(targets, store_); });
}

}  // namespace tessalune::plugin
