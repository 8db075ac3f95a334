#include "plugin_module.h"

#include <dlfcn.h>

#include <cstdlib>
#include <stdexcept>

namespace tessalune::cli {

namespace {

std::filesystem::path modulePath() {
  if (const char* path = std::getenv("TESSALUNE_MODULE"); path && *path) return path;
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  // The module of this host's interface version, by its soname, beside the program: in the
  // installation's library folder once installed, in lib/ in the build.
  const std::string soname = "libtessalune_plugin.so." + std::to_string(TESSALUNE_ABI_MAJOR);
  const std::filesystem::path prefix = self.parent_path().parent_path();
  const std::filesystem::path installed = prefix / TESSALUNE_LIBDIR / soname;
  return std::filesystem::exists(installed, error) ? installed : prefix / "lib" / soname;
}

}  // namespace

PluginModule::PluginModule() {
  const std::filesystem::path path = modulePath();
  handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_)
    throw std::runtime_error("cannot load the plug-in module " + path.string() + ": " + ::dlerror());
  // Only a module of the interface's major version this host was built for is usable.
  const std::uint32_t version = resolve<decltype(tessalune_abi_version)>("tessalune_abi_version")();
  if (version >> 16 != TESSALUNE_ABI_MAJOR) {
    ::dlclose(handle_);
    throw std::runtime_error("the plug-in module " + path.string() + " has interface version " +
                             std::to_string(version >> 16) + "." + std::to_string(version & 0xFFFF) +
                             ", this host needs " + std::to_string(TESSALUNE_ABI_MAJOR) + ".x");
  }
  create_ = resolve<decltype(tessalune_create)>("tessalune_create");
  destroy_ = resolve<decltype(tessalune_destroy)>("tessalune_destroy");
  initialize_ = resolve<decltype(tessalune_initialize)>("tessalune_initialize");
  uninitialize_ = resolve<decltype(tessalune_uninitialize)>("tessalune_uninitialize");
  publishInfo_ = resolve<decltype(tessalune_get_publish_info)>("tessalune_get_publish_info");
  commandInfo_ = resolve<decltype(tessalune_get_publish_command_info)>("tessalune_get_publish_command_info");
  parse_ = resolve<decltype(tessalune_parse_command)>("tessalune_parse_command");
  lastError_ = resolve<decltype(tessalune_last_error)>("tessalune_last_error");
  if ((version & 0xFFFF) >= 2) idle_ = resolve<decltype(tessalune_idle)>("tessalune_idle");
  free_ = resolve<decltype(tessalune_free)>("tessalune_free");
}

PluginModule::~PluginModule() {
  if (plugin_) {
    uninitialize_(plugin_);
    destroy_(plugin_);
  }
  if (handle_) ::dlclose(handle_);
}

template <typename F>
F* PluginModule::resolve(const char* name) {
  void* symbol = ::dlsym(handle_, name);
  if (!symbol) throw std::runtime_error(std::string("the plug-in module lacks ") + name);
  return reinterpret_cast<F*>(symbol);
}

int PluginModule::checked(int result, const char* call) {
  if (result != TESSALUNE_FAILED) return result;
  const std::string reason = take(lastError_(plugin_));
  throw std::runtime_error(std::string("the plug-in failed in ") + call + ": " +
                           (reason.empty() ? "no reason given" : reason));
}

std::string PluginModule::take(char* text) {
  std::string out = text ? text : "";
  free_(text);
  return out;
}

void PluginModule::start(const std::filesystem::path& pluginDir, const std::optional<std::string>& answer,
                         const std::optional<std::string>& script) {
  plugin_ =
      create_(pluginDir.c_str(), answer ? answer->c_str() : nullptr, script ? script->c_str() : nullptr);
  if (!plugin_) throw std::runtime_error("the plug-in could not be created (is the window script readable?)");
  host_.size = sizeof host_;
  host_.context = this;
  host_.friendly_name = [](void* self) { return static_cast<PluginModule*>(self)->nickname.c_str(); };
  host_.message_box = nullptr;                 // the module shows its boxes on the terminal
  host_.windows = TESSALUNE_WINDOWS_TERMINAL;  // and its windows, driven by the script or the person
  checked(initialize_(plugin_, 0, "", &host_), "Initialize");
}

bool PluginModule::parseCommand(const std::string& command, const std::string& argument,
                                std::string& result) {
  char* out = nullptr;
  const int handled =
      checked(parse_(plugin_, command.c_str(), argument.c_str(), result.c_str(), &out), "ParseCommand");
  result = take(out);
  return handled == 1;
}

void PluginModule::idle(const std::function<bool()>& keepWaiting) {
  if (!idle_) return;
  const auto ask = [](void* context) {
    return (*static_cast<const std::function<bool()>*>(context))() ? 1 : 0;
  };
  checked(idle_(plugin_, ask, const_cast<std::function<bool()>*>(&keepWaiting)), "idle");
}

std::string PluginModule::pluginName() {
  char* name = nullptr;
  std::int32_t count = 0, tags = 0;
  checked(publishInfo_(plugin_, &name, &count, &tags), "GetPublishInfo");
  return take(name);
}

std::int32_t PluginModule::commandCount() {
  char* name = nullptr;
  std::int32_t count = 0, tags = 0;
  checked(publishInfo_(plugin_, &name, &count, &tags), "GetPublishInfo");
  take(name);
  return count;
}

PluginModule::Row PluginModule::commandRow(std::int32_t index) {
  char *name = nullptr, *value = nullptr, *help = nullptr;
  checked(commandInfo_(plugin_, index, &name, &value, &help), "GetPublishCommandInfo");
  return {take(name), take(value), take(help)};
}

}  // namespace tessalune::cli
