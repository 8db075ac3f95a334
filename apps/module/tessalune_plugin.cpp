// The plug-in module's C interface over the Plugin object.
#include "tessalune_plugin.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "copy_out.h"
#include "lang/host_words.h"
#include "lang/message_variables.h"
#include "platform/messenger.h"
#include "platform/terminal_colour.h"
#include "platform/terminal_dialogs.h"
#include "platform/ui_language.h"
#include "plugin/plugin.h"
#include "views/terminal_driver.h"

namespace {

using namespace tessalune;
using tessalune::abi::copyOut;

// Message boxes to the host's callback when it has one, else on standard error.
class HostDialogs : public platform::TerminalDialogs {
 public:
  HostDialogs(std::optional<bool> answer) : TerminalDialogs(std::cerr, answer) {}
  platform::Answer messageBox(std::string_view text, std::string_view title, platform::Icon icon,
                              platform::Buttons buttons) override {
    if (!host || !host->message_box) return TerminalDialogs::messageBox(text, title, icon, buttons);
    const int answer = host->message_box(host->context, std::string(text).c_str(), std::string(title).c_str(),
                                         static_cast<int>(icon), buttons == platform::Buttons::YesNo ? 1 : 0);
    if (buttons == platform::Buttons::Ok) return platform::Answer::Ok;
    return answer == TESSALUNE_ANSWER_NO ? platform::Answer::No : platform::Answer::Yes;
  }
  const tessalune_host* host = nullptr;
};

class HostMessengerAdapter : public platform::Messenger {
 public:
  std::string friendlyName() const override {
    if (!host || !host->friendly_name) return {};
    const char* name = host->friendly_name(host->context);
    return name ? name : "";
  }
  const tessalune_host* host = nullptr;
};

// The windows as the host chose to have them shown: each one a box that says it cannot
// show, as in a client without a display; driven by the window script alone; or on the
// terminal. The terminal driver reads the script when one was given, else standard input;
// a scripted host without a script has its windows read an empty one.
class HostWindows : public ui::WindowSystem {
 public:
  HostWindows(HostDialogs& dialogs, const char* script)
      : dialogs_(dialogs), script_(script ? std::make_optional<std::ifstream>(script) : std::nullopt) {
    if (script_ && !*script_) throw std::runtime_error("cannot read the window script");
    // A person at a terminal sees the windows and a prompt; a script drives them silently.
    const bool person = !script_ && ::isatty(0);
    terminal_ = std::make_unique<views::TerminalDriver>(
        script_ ? static_cast<std::istream&>(*script_) : std::cin, std::cerr, dialogs,
        views::TerminalDriverOptions{
            platform::colourWanted(2) ? targets::AnsiMode::Colour : targets::AnsiMode::Plain, person, person,
            person ? 0 : -1});
  }

  // From the host's structure, at each start-up.
  void choose(int windows, std::function<std::optional<lang::LanguageId>()> pluginLanguage) {
    windows_ = windows;
    pluginLanguage_ = std::move(pluginLanguage);
    dialogs_.useTerminal(windows == TESSALUNE_WINDOWS_TERMINAL);
  }

  void runModal(ui::Window& window) override {
    if (windows_ == TESSALUNE_WINDOWS_REFUSED) {
      lang::HostWords words;
      words.follow(pluginLanguage_ ? pluginLanguage_() : std::nullopt);
      dialogs_.message(words(lang::HostWord::WindowWithoutDisplay, window.caption()),
                       platform::Icon::Information);
      return;
    }
    driver().runModal(window);
  }

  // The host's event pump while a transfer waits.
  void pump(bool bodyStarted) {
    if (windows_ != TESSALUNE_WINDOWS_REFUSED) driver().pumpEvents(bodyStarted);
  }

 private:
  views::TerminalDriver& driver() {
    if (windows_ == TESSALUNE_WINDOWS_TERMINAL || script_) return *terminal_;
    if (!unscripted_) {
      unscripted_ = std::make_unique<views::TerminalDriver>(
          noScript_, std::cerr, dialogs_,
          views::TerminalDriverOptions{targets::AnsiMode::Plain, false, false, -1});
    }
    return *unscripted_;
  }

  HostDialogs& dialogs_;
  int windows_ = TESSALUNE_WINDOWS_TERMINAL;
  std::function<std::optional<lang::LanguageId>()> pluginLanguage_;
  std::optional<std::ifstream> script_;
  std::istringstream noScript_;
  std::unique_ptr<views::TerminalDriver> terminal_;
  std::unique_ptr<views::TerminalDriver> unscripted_;
};

class NoShell : public platform::Shell {
 public:
  bool open(const std::string&) override { return false; }
  std::optional<std::string> startMinimized(const std::string&) override {
    return "this host starts no programs";
  }
};

}  // namespace

namespace {

// Why each thread's last call on the object failed: a call refused on one thread must not
// overwrite what another thread's call said.
class LastErrors {
 public:
  void set(std::optional<std::string> why) {
    const std::lock_guard lock(mutex_);
    if (why) {
      byThread_[std::this_thread::get_id()] = std::move(*why);
    } else {
      byThread_.erase(std::this_thread::get_id());
    }
  }
  std::optional<std::string> get() const {
    const std::lock_guard lock(mutex_);
    const auto found = byThread_.find(std::this_thread::get_id());
    if (found == byThread_.end()) return std::nullopt;
    return found->second;
  }

 private:
  mutable std::mutex mutex_;
  std::map<std::thread::id, std::string> byThread_;
};

}  // namespace

struct tessalune_plugin {
  tessalune_plugin(const char* pluginDir, std::optional<bool> answer, const char* script)
      : dialogs(answer), windows(dialogs, script) {
    plugin = std::make_unique<plugin::Plugin>(plugin::HostServices{
        dialogs, windows, shell, pluginDir, platform::uiLanguage(), platform::systemFileSystem(),
        [this](bool bodyStarted) { windows.pump(bodyStarted); }});
  }

  tessalune_host host{};
  LastErrors lastErrors;
  // The thread whose call runs on the object, if any; a call from inside one of its
  // callbacks comes on the same thread.
  std::atomic<std::thread::id> running{};
  bool destroyWhenDone = false;  // destroyed from inside a callback: at the end of the call
  HostDialogs dialogs;
  HostWindows windows;
  HostMessengerAdapter messenger;
  NoShell shell;
  std::unique_ptr<plugin::Plugin> plugin;
};

namespace {

// Every entry point runs its body through here: a failure of any kind becomes
// TESSALUNE_FAILED and the plug-in's last error; nothing crosses into the host.
template <typename Body>
int guarded(tessalune_plugin* plugin, Body&& body) {
  plugin->lastErrors.set(std::nullopt);
  try {
    return body();
  } catch (const std::exception& e) {
    plugin->lastErrors.set(e.what());
  } catch (...) {
    plugin->lastErrors.set("an unknown failure");
  }
  return TESSALUNE_FAILED;
}

// Which calls may come from inside a callback of the same object: those that only read.
enum class Nesting { Refused, Allowed };

// A call of the host's on the object: refused while another thread's call runs, and, for
// the calls that change the plug-in, from inside a callback of the object's own call. The
// outermost call destroys an object that a callback asked to destroy.
template <typename Body>
int entered(tessalune_plugin* plugin, Nesting nesting, Body&& body) {
  if (!plugin) return TESSALUNE_FAILED;
  const std::thread::id self = std::this_thread::get_id();
  std::thread::id idle{};
  if (!plugin->running.compare_exchange_strong(idle, self)) {
    if (idle != self) {
      plugin->lastErrors.set("in use by another thread");
      return TESSALUNE_FAILED;
    }
    if (nesting == Nesting::Refused) {
      plugin->lastErrors.set("called from inside a callback");
      return TESSALUNE_FAILED;
    }
    return guarded(plugin, body);
  }
  const int result = guarded(plugin, body);
  plugin->running.store(std::thread::id{});
  if (plugin->destroyWhenDone) delete plugin;
  return result;
}

void require(bool condition, const char* what) {
  if (!condition) throw std::invalid_argument(what);
}

// The host's structure as far as the host's size says it goes; a smaller one than the
// first version's lacks the friendly name, and one from before the choice of windows has
// them on the terminal.
tessalune_host copyHost(const tessalune_host* host) {
  require(host != nullptr, "no host was given");
  constexpr std::size_t kFirstVersion = offsetof(tessalune_host, message_box) + sizeof(host->message_box);
  constexpr std::size_t kWithWindows = offsetof(tessalune_host, windows) + sizeof(host->windows);
  require(host->size >= kFirstVersion, "the host structure is smaller than any version of it");
  tessalune_host copy{};
  std::memcpy(&copy, host, std::min(host->size, sizeof copy));
  require(copy.friendly_name != nullptr, "the host gave no friendly name");  // no messenger
  if (host->size < kWithWindows) copy.windows = TESSALUNE_WINDOWS_TERMINAL;
  if (copy.windows != TESSALUNE_WINDOWS_REFUSED && copy.windows != TESSALUNE_WINDOWS_SCRIPTED &&
      copy.windows != TESSALUNE_WINDOWS_TERMINAL) {
    throw std::invalid_argument("unknown windows value " + std::to_string(copy.windows));
  }
  return copy;
}

}  // namespace

extern "C" {

uint32_t tessalune_abi_version(void) {
  return (static_cast<uint32_t>(TESSALUNE_ABI_MAJOR) << 16) | TESSALUNE_ABI_MINOR;
}

tessalune_plugin* tessalune_create(const char* plugin_dir, const char* answer, const char* window_script) {
  if (!plugin_dir) return nullptr;
  std::optional<bool> fixed;
  if (answer) fixed = std::strcmp(answer, "no") != 0;
  try {
    return new tessalune_plugin(plugin_dir, fixed, window_script);
  } catch (...) {
    return nullptr;
  }
}

void tessalune_destroy(tessalune_plugin* plugin) {
  if (!plugin) return;
  // From inside a callback the call that runs still needs the object: it goes afterwards.
  if (plugin->running.load() == std::this_thread::get_id()) {
    plugin->destroyWhenDone = true;
    return;
  }
  try {
    delete plugin;
  } catch (...) {
    // Nothing is left to tell: the plug-in is gone.
  }
}

int tessalune_initialize(tessalune_plugin* plugin, int32_t version, const char* user_email,
                         const tessalune_host* host) {
  return entered(plugin, Nesting::Refused, [&] {
    plugin->host = copyHost(host);
    plugin->dialogs.host = &plugin->host;
    plugin->messenger.host = &plugin->host;
    plugin->windows.choose(plugin->host.windows, [plugin] { return plugin->plugin->language(); });
    return plugin->plugin->Initialize(version, user_email ? user_email : "", &plugin->messenger) ? 1 : 0;
  });
}

int tessalune_uninitialize(tessalune_plugin* plugin) {
  return entered(plugin, Nesting::Refused, [&] {
    plugin->plugin->Uninitialize();
    return 1;
  });
}

int tessalune_configure(tessalune_plugin* plugin) {
  return entered(plugin, Nesting::Refused, [&] {
    plugin->plugin->Configure();
    return 1;
  });
}

int tessalune_idle(tessalune_plugin* plugin, int (*keep_waiting)(void* context), void* context) {
  return entered(plugin, Nesting::Refused, [&] {
    std::function<bool()> keepWaiting;
    if (keep_waiting) keepWaiting = [keep_waiting, context] { return keep_waiting(context) != 0; };
    plugin->plugin->runPendingWork(keepWaiting);
    return 1;
  });
}

int tessalune_get_publish_info(tessalune_plugin* plugin, char** name, int32_t* command_count,
                               int32_t* tag_count) {
  return entered(plugin, Nesting::Allowed, [&] {
    require(name && command_count && tag_count, "an out-parameter is NULL");
    std::string pluginName;
    const bool ok = plugin->plugin->GetPublishInfo(pluginName, *command_count, *tag_count);
    *name = copyOut(pluginName);
    return ok ? 1 : 0;
  });
}

int tessalune_get_publish_command_info(tessalune_plugin* plugin, int32_t index, char** name, char** value,
                                       char** help) {
  return entered(plugin, Nesting::Allowed, [&] {
    require(name && value && help, "an out-parameter is NULL");
    // Markers tell which strings the row set: the plug-in never writes a NUL itself.
    const std::string untouched(1, '\0');
    std::string n = untouched, v = untouched, h = untouched;
    plugin->plugin->GetPublishCommandInfo(index, n, v, h);
    *name = n == untouched ? nullptr : copyOut(n);
    *value = v == untouched ? nullptr : copyOut(v);
    *help = h == untouched ? nullptr : copyOut(h);
    return 1;
  });
}

int tessalune_parse_command(tessalune_plugin* plugin, const char* command, const char* argument,
                            const char* result_in, char** result_out) {
  if (result_out) *result_out = nullptr;
  return entered(plugin, Nesting::Refused, [&] {
    require(command && result_out, "the command or the result is NULL");
    std::string result = result_in ? result_in : "";
    const bool handled = plugin->plugin->ParseCommand(command, argument ? argument : "", nullptr, result);
    *result_out = copyOut(result);
    return handled ? 1 : 0;
  });
}

char* tessalune_last_error(tessalune_plugin* plugin) {
  if (!plugin) return nullptr;
  const std::optional<std::string> why = plugin->lastErrors.get();
  return why ? copyOut(*why) : nullptr;
}

}  // extern "C"
