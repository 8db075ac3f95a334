#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/embedded_resources.h"
#include "plugin/settings_session.h"
#include "store/config_file.h"
#include "store/quicknicks.h"

namespace {

using namespace tessalune;

// A plug-in folder whose configuration holds the most QuickNicks the store can count.
std::filesystem::path fullPluginDir() {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tessalune-bench-32767";
  std::filesystem::create_directories(dir / "Tessalune");
  std::string config = store::defaultConfiguration(1033);
  std::string entries;
  for (int i = 0; i < 32767; ++i) {
    entries += "<quicknick shortcut=\"qn" + std::to_string(i) +
               "\"><FG color=\"#FF0000\"/>Nick<BG color=\"#FFFF00\"/>name<i/>" + std::to_string(i) +
               "</quicknick>";
  }
  config.replace(config.find("\t</quicknicks>"), 0, entries);
  std::ofstream(dir / "Tessalune" / "tessalune.xml", std::ios::binary) << config;
  for (std::string_view path : platform::embeddedResourcePaths("Tessalune/")) {
    std::ofstream(dir / path, std::ios::binary) << *platform::embeddedResource(path);
  }
  return dir;
}

const std::filesystem::path& pluginDir() {
  static const std::filesystem::path dir = fullPluginDir();
  return dir;
}

void BM_LoadConfig32767QuickNicks(benchmark::State& state) {
  plugin::SettingsSession session(pluginDir(), true);
  for (auto _ : state) session.load();
  state.counters["count"] = std::stod(session.quickNicks().lbl_nbQN.caption().substr(4));
}
BENCHMARK(BM_LoadConfig32767QuickNicks)->Unit(benchmark::kMillisecond);

void BM_WriteConfig32767QuickNicks(benchmark::State& state) {
  plugin::SettingsSession session(pluginDir(), true);
  bool on = false;
  for (auto _ : state) store::writeConfig("/config/suffix", (on = !on) ? "1" : "0", session.store());
}
BENCHMARK(BM_WriteConfig32767QuickNicks)->Unit(benchmark::kMillisecond);

void BM_UseLastOf32767QuickNicks(benchmark::State& state) {
  plugin::SettingsSession session(pluginDir(), true);
  session.load();
  ui::QuickNickWindow& window = session.quickNicks();
  store::QuickNickContext ctx = window.storeContext();
  for (auto _ : state) benchmark::DoNotOptimize(store::useQN("qn32766", ctx));
}
BENCHMARK(BM_UseLastOf32767QuickNicks)->Unit(benchmark::kMillisecond);

}  // namespace
