#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "errors/lifecycle.h"
#include "errors/plugin_error_report.h"
#include "lang/message_variables.h"
#include "lang/translation.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/messenger.h"
#include "platform/shell.h"
#include "store/quicknick_state.h"
#include "store/store_context.h"
#include "ui/gdi/owner_drawing.h"
#include "ui/subscription.h"
#include "ui/window.h"

namespace tessalune::ui {
class EditorWindow;
class AboutWindow;
class HelpWindow;
class PrefsWindow;
class QuickNickWindow;
class UpdateWindow;
}  // namespace tessalune::ui

namespace tessalune::update {
class UpdateService;
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
};

// The plug-in as the host sees it: the six calls of its interface, and everything that
// lives as long as it is loaded (the windows, which hold the settings, the editor mode, the
// coded result, the halt flag, the one-time tables).
class Plugin : private errors::Lifecycle {
 public:
  explicit Plugin(HostServices services);
  ~Plugin() override;
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

  // Keeps the messenger and starts the plug-in; true even when the start-up failed (the
  // plug-in is then halted). A missing messenger is the host's error: throws.
  bool Initialize(std::int32_t version, std::string_view userEmail, platform::Messenger* messenger);
  void Uninitialize();
  void Configure();
  bool GetPublishInfo(std::string& pluginName, std::int32_t& commandCount, std::int32_t& tagCount);
  void GetPublishCommandInfo(std::int32_t index, std::string& name, std::string& value, std::string& help);
  // Runs a typed command; false when it is not one of the plug-in's (or the plug-in is
  // halted), with result untouched.
  bool ParseCommand(std::string_view command, std::string_view argument, const void* conversationWindow,
                    std::string& result);

  // Work that waits on the network and so is kept out of Initialize: the automatic update
  // check. Runs at the next command or Configure; a host may call it when it is idle.
  void runPendingWork();

  // The screen's factor changed (another screen, another scale): every owner-drawn image
  // is rendered again at it, and views are told through the drawing's subscription.
  void setTwipsPerPixel(int twipsPerPixel) { drawing_.setTwipsPerPixel(twipsPerPixel); }
  ui::gdi::OwnerDrawing& drawing() { return drawing_; }

  bool halted() const { return halted_; }
  int editorMode() const { return mode_; }
  const std::string& codedResult() const { return codedResult_; }

  // Views are told when the windows are unloaded (a restart, an import, a halt, the end)
  // and when new ones exist; a view then binds to the new windows through the accessors.
  enum class WindowsEvent { Unloaded, Loaded };
  ui::Subscription subscribeWindows(std::function<void(WindowsEvent)> observer) {
    return windowObservers_.add(std::move(observer));
  }

  // The windows, for views and tests; null while unloaded.
  ui::EditorWindow* editor() { return editor_.get(); }
  ui::PrefsWindow* prefs() { return prefs_.get(); }
  ui::QuickNickWindow* quickNicks() { return quickNicks_.get(); }
  ui::AboutWindow* about() { return about_.get(); }
  ui::HelpWindow* help() { return help_.get(); }
  ui::UpdateWindow* update() { return update_.get(); }

 private:
  // How the plug-in restarts, halts and recreates its configuration.
  void unloadForms() override;
  void setHalted() override { halted_ = true; }
  void initPlugin() override;
  void writeDefaultConfiguration() override;
  void loadConfig() override;

  void startUp();
  void loadWindows();
  void showModal(ui::Window& window);
  void freeGraphics();
  void releaseRetiredWindows();
  void registerPreferencePreviews();

  enum class Command { Nickname, Text, UseQuickNick, SaveQuickNick, Preferences, About, Help, None };
  static Command commandOf(std::string_view word);
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
  store::QuickNickState quickNickState_;
  ui::gdi::OwnerDrawing drawing_;

  bool halted_ = false;
  int mode_ = 1;
  ui::Control* currentBox_ = nullptr;
  std::string codedResult_;
  bool tablesBuilt_ = false;
  bool automaticCheckPending_ = false;
  std::uint32_t windowLoads_ = 0;  // counts loads of the windows: a command sees a restart by it

  std::unique_ptr<ui::EditorWindow> editor_;
  std::unique_ptr<ui::AboutWindow> about_;
  std::unique_ptr<ui::HelpWindow> help_;
  std::unique_ptr<ui::PrefsWindow> prefs_;
  std::unique_ptr<ui::QuickNickWindow> quickNicks_;
  std::unique_ptr<ui::UpdateWindow> update_;
  std::unique_ptr<update::UpdateService> updateService_;  // works on update_; goes before it
  // Windows unloaded while one of their own handlers may still run (a restart from a
  // button): they are kept until the plug-in next gets control.
  std::vector<std::unique_ptr<ui::Window>> retired_;
  ui::Observers<WindowsEvent> windowObservers_;
};

}  // namespace tessalune::plugin
