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
  return self.parent_path().parent_path() / "lib" / "libtessalune_plugin.so";
}

}  // namespace

PluginModule::PluginModule() {
  const std::filesystem::path path = modulePath();
  handle_ = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle_)
    throw std::runtime_error("cannot load the plug-in module " + path.string() + ": " + ::dlerror());
  create_ = resolve<decltype(tessalune_create)>("tessalune_create");
  destroy_ = resolve<decltype(tessalune_destroy)>("tessalune_destroy");
  initialize_ = resolve<decltype(tessalune_initialize)>("tessalune_initialize");
  uninitialize_ = resolve<decltype(tessalune_uninitialize)>("tessalune_uninitialize");
  publishInfo_ = resolve<decltype(tessalune_get_publish_info)>("tessalune_get_publish_info");
  commandInfo_ = resolve<decltype(tessalune_get_publish_command_info)>("tessalune_get_publish_command_info");
  parse_ = resolve<decltype(tessalune_parse_command)>("tessalune_parse_command");
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
  host_.context = this;
  host_.friendly_name = [](void* self) { return static_cast<PluginModule*>(self)->nickname.c_str(); };
  host_.message_box = nullptr;  // the module shows its boxes on the terminal
  if (!initialize_(plugin_, 0, "", &host_)) throw std::runtime_error("the plug-in could not be initialized");
}

bool PluginModule::parseCommand(const std::string& command, const std::string& argument,
                                std::string& result) {
  char* out = nullptr;
  const bool handled = parse_(plugin_, command.c_str(), argument.c_str(), result.c_str(), &out) != 0;
  result = take(out);
  return handled;
}

std::string PluginModule::pluginName() {
  char* name = nullptr;
  std::int32_t count = 0, tags = 0;
  publishInfo_(plugin_, &name, &count, &tags);
  return take(name);
}

std::int32_t PluginModule::commandCount() {
  char* name = nullptr;
  std::int32_t count = 0, tags = 0;
  publishInfo_(plugin_, &name, &count, &tags);
  take(name);
  return count;
}

PluginModule::Row PluginModule::commandRow(std::int32_t index) {
  char *name = nullptr, *value = nullptr, *help = nullptr;
  commandInfo_(plugin_, index, &name, &value, &help);
  return {take(name), take(value), take(help)};
}

}  // namespace tessalune::cli
