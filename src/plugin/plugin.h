#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "errors/lifecycle.h"
#include "errors/plugin_error_report.h"
#include "lang/languages.h"
#include "lang/message_variables.h"
#include "lang/translation.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/messenger.h"
#include "platform/shell.h"
#include "plugin/command_table.h"
#include "plugin/requests.h"
#include "store/quicknick_state.h"
#include "store/setting_elements.h"
#include "store/settings.h"
#include "store/store_context.h"
#include "ui/gdi/owner_drawing.h"
#include "ui/subscription.h"
#include "ui/window.h"
#include "update/transfer.h"

namespace tessalune::ui {
class EditorWindow;
class AboutWindow;
class HelpWindow;
class PrefsWindow;
class QuickNickWindow;
class UpdateWindow;
}  // namespace tessalune::ui

namespace tessalune::update {
class UpdateController;
}  // namespace tessalune::update

namespace tessalune::plugin {

// What the host gives the plug-in besides the messenger: how it shows message boxes and
// windows, opens documents, where the plug-in's folder is and the interface language.
struct HostServices {
  platform::Dialogs& dialogs;
  ui::WindowSystem& windows;
  platform::Shell& shell;
  std::filesystem::path pluginDir;
  int uiLanguage;
  // The configuration is read and written through it.
  platform::FileSystem& files = platform::systemFileSystem();
  // The host's message loop, run while a transfer waits for the network, so that its
  // windows stay responsive and a cancel reaches a running download; told whether the
  // response body has begun to arrive. May be empty.
  std::function<void(bool bodyStarted)> eventPump = {};
  // The screen's twips per pixel, at which the owner-drawn images are rendered.
  int twipsPerPixel = 15;
  // How long the update window's transfers may take.
  update::TransferLimits transferLimits = {};
};

// The plug-in as the host sees it: the six calls of its interface, and everything that
// lives as long as it is loaded (the settings, the windows that show them, the halt flag,
// the one-time tables).
//
// A restart, reload or halt that a routine asks for is carried out when control is back at
// the plug-in's entry point: when the host's call returns, or when an action on a window
// made outside any call (a view's, a script's) returns. No window or store routine is
// running then. One object is used from one thread at a time; the host's calls made from
// inside another of its calls (from a callback or a window's handler) are refused.
class Plugin : private errors::Lifecycle, private ui::ActionGate, private RequestTarget {
 public:
  explicit Plugin(HostServices services);
  ~Plugin() override;
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  // Keeps the messenger and starts the plug-in; true even when the start-up failed (the
  // plug-in is then halted). Throws std::logic_error when already initialized or called
  // from inside another call, std::invalid_argument for a missing messenger.
  bool Initialize(std::int32_t version, std::string_view userEmail, platform::Messenger* messenger);
  // These three throw std::logic_error before Initialize, after Uninitialize, or from inside
  // another call.
  void Uninitialize();
  void Configure();
  // Runs a typed command; false when it is not one of the plug-in's (or the plug-in is
  // halted), with result untouched.
  bool ParseCommand(std::string_view command, std::string_view argument, const void* conversationWindow,
                    std::string& result);
  bool GetPublishInfo(std::string& pluginName, std::int32_t& commandCount, std::int32_t& tagCount);
  void GetPublishCommandInfo(std::int32_t index, std::string& name, std::string& value, std::string& help);

  // Work that waits on the network and so is kept out of Initialize and out of every
  // command and window: the automatic update check, once after each start-up. The host calls
  // this when it is idle; keepWaiting, when given, is asked while the check waits, and the
  // check is abandoned when it says no (the user typed, or the host's time ran out). Does
  // nothing from inside another call or before Initialize.
  void runPendingWork(const std::function<bool()>& keepWaiting = {});

  // The screen's factor changed (another screen, another scale): every owner-drawn image
  // is rendered again at it, and views are told through the drawing's subscription.
  void setTwipsPerPixel(int twipsPerPixel) { drawing_.setTwipsPerPixel(twipsPerPixel); }
  ui::gdi::OwnerDrawing& drawing() { return drawing_; }

  bool initialized() const { return initialized_; }
  // The language the plug-in speaks (its /config/lang); none before a configuration named
  // one.
  std::optional<lang::LanguageId> language() const {
    return lang::LanguageId::atPosition(settings_.language);
  }
  bool halted() const { return halted_; }
  // The catalogue messages in the plug-in's language, as its own conversions show them.
  const errors::MessageTexts& messages() const { return messages_; }

  // A setting as the plug-in holds it, the way the file writes it: for a host's own list of
  // the settings (a client that shows no window).
  std::string settingText(store::Setting setting) const;
  // Changes a setting from a host's own list: the value is checked, written as its element
  // of the file, and the configuration loaded again, so that every window and the language
  // follow it. False, with nothing changed, for a value the element cannot hold or while
  // halted. Throws as ParseCommand does when called out of turn.
  bool changeSetting(store::Setting setting, std::string_view text);

  // Views are told when the windows are unloaded (a restart, an import, a halt, the end)
  // and when new ones exist; a view then binds to the new windows through the accessors.
  enum class WindowsEvent { Unloaded, Loaded };
  ui::Subscription subscribeWindows(std::function<void(WindowsEvent)> observer) {
    return windowObservers_.add(std::move(observer));
  }

  // Whether one of the windows is shown now, its modal loop running.
  bool windowShown() const;

  // The windows, for views and tests; null while unloaded.
  ui::EditorWindow* editor() { return windows_.editor.get(); }
  ui::PrefsWindow* prefs() { return windows_.prefs.get(); }
  ui::QuickNickWindow* quickNicks() { return windows_.quickNicks.get(); }
  ui::AboutWindow* about() { return windows_.about.get(); }
  ui::HelpWindow* help() { return windows_.help.get(); }
  ui::UpdateWindow* update() { return windows_.update.get(); }

 private:
  // The windows of one load. They are taken out whole and destroyed once nothing runs on
  // them; members go in reverse order: the update controller before its window, the editor last.
  struct LoadedWindows {
    std::unique_ptr<ui::EditorWindow> editor;
    std::unique_ptr<ui::HelpWindow> help;
    std::unique_ptr<ui::AboutWindow> about;
    std::unique_ptr<ui::QuickNickWindow> quickNicks;
    std::unique_ptr<ui::PrefsWindow> prefs;
    std::unique_ptr<ui::UpdateWindow> update;
    std::unique_ptr<update::UpdateController> updateController;

    // The six windows, any of them null while unloaded.
    std::array<ui::Window*, 6> all() const;

    LoadedWindows();
    LoadedWindows(LoadedWindows&&) noexcept;
    LoadedWindows& operator=(LoadedWindows&&) noexcept;
    ~LoadedWindows();
  };
  // The host's window system, which shows no window while a restart or a halt waits.
  class ModalWindows : public ui::WindowSystem {
   public:
    explicit ModalWindows(Plugin& plugin) : plugin_(plugin) {}
    void runModal(ui::Window& window) override;

   private:
    Plugin& plugin_;
  };
  // A call of the host's: the requests made during it are carried out as it returns.
  class EntryCall {
   public:
    explicit EntryCall(Plugin& plugin) : plugin_(plugin) { plugin_.enter(); }
    ~EntryCall() { plugin_.leave(); }
    EntryCall(const EntryCall&) = delete;
    EntryCall& operator=(const EntryCall&) = delete;

   private:
    Plugin& plugin_;
  };

  // Lifecycle: what routines ask of the plug-in.
  bool request(Request what) noexcept override;
  bool stopping() const override;
  // ActionGate: calls and actions nest; the outermost one carries out the requests.
  void enter() override {
    if (busy_++ == 0) requests_.entryBegins();
  }
  void leave() noexcept override;
  // RequestTarget: what carrying out the requests does here.
  void halt(bool unloadWindows) override;
  void startAgain() override;
  void reloadConfig() override;
  void startFailed(std::int32_t number, std::string_view description) noexcept override;
  // Refuses a call made from inside another or out of its turn.
  void checkEntry(bool needsInitialized) const;

  void initPlugin();
  void startUp();
  void loadConfig();
  void loadWindows();
  LoadedWindows takeWindows();
  void unloadForms();
  void hideWindows();
  void showModal(ui::Window& window);
  void freeGraphics();
  void registerPreferencePreviews();

  bool runCommand(Command which, std::string_view argument, std::string& result);
  bool colourOrEdit(bool nickname, std::string_view argument, std::string& result);
  void useQuickNick(std::string_view shortcut, std::string& result);
  void saveQuickNick(std::string_view shortcut);

  HostServices services_;
  platform::Messenger* messenger_ = nullptr;
  lang::MessageVariables messages_;
  errors::PluginErrorReport report_;
  errors::StepMarker step_;
  errors::FailureContext failures_{report_, step_};
  store::ConfigLock configLock_;
  store::StoreContext store_;
  lang::Translation translation_;
  lang::CaptionList captions_;
  // As the file holds them after the last load, and as the preferences changed them since;
  // back to a fresh plug-in's with every load of the windows.
  store::Settings settings_;
  store::QuickNickState quickNickState_;
  ui::gdi::OwnerDrawing drawing_;

  ModalWindows modalWindows_{*this};

  bool initialized_ = false;
  bool halted_ = false;
  int busy_ = 0;  // host calls and window actions running, one inside another
  Requests requests_;
  bool tablesBuilt_ = false;
  bool automaticCheckPending_ = false;

  LoadedWindows windows_;
  ui::Observers<WindowsEvent> windowObservers_;
};

}  // namespace tessalune::plugin
