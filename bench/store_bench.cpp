#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/embedded_resources.h"
#include "plugin/settings_session.h"
#include "store/config_file.h"
#include "store/quicknicks.h"
#include "store/setting_elements.h"
#include "ui/quicknick_view.h"

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
  state.counters["count"] = session.quickNicks().count;
}
BENCHMARK(BM_LoadConfig32767QuickNicks)->Unit(benchmark::kMillisecond);

void BM_WriteConfig32767QuickNicks(benchmark::State& state) {
  plugin::SettingsSession session(pluginDir(), true);
  store::Settings settings;
  for (auto _ : state) {
    settings.suffix = !settings.suffix;
    store::writeSetting(store::Setting::Suffix, settings, session.store());
  }
}
BENCHMARK(BM_WriteConfig32767QuickNicks)->Unit(benchmark::kMillisecond);

void BM_UseLastOf32767QuickNicks(benchmark::State& state) {
  plugin::SettingsSession session(pluginDir(), true);
  session.load();
  // The manager's controls, which a use leaves alone.
  ui::Label counter{"lbl_nbQN"}, previousShortcut{"lbl_prevSC"};
  ui::TextBox shortcut{"txt_shortcut"};
  ui::RichTextControl preview{"rtf_quicknick"};
  ui::QuickNickControlsView view(counter, shortcut, previousShortcut, preview);
  store::QuickNickState quickNicks = session.quickNicks();
  store::QuickNickContext ctx{session.store(), quickNicks, view};
  for (auto _ : state) benchmark::DoNotOptimize(store::useQN("qn32766", ctx));
}
BENCHMARK(BM_UseLastOf32767QuickNicks)->Unit(benchmark::kMillisecond);

}  // namespace
