#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <utility>

#include "platform/embedded_resources.h"
#include "platform/messenger.h"
#include "platform/scripted_dialogs.h"
#include "platform/shell.h"
#include "platform/ui_language.h"
#include "plugin/plugin.h"
#include "plugin/silent_conversion.h"
#include "store/config_file.h"
#include "ui/editor_window.h"

namespace {

using namespace tessalune;

// How many distinct text colours and backgrounds the box shows: what a benchmark's clicks
// repaint.
double distinctColours(const engine::RichTextBox& box) {
  std::set<std::pair<engine::BoxColour, engine::BoxColour>> seen;
  for (const engine::StyledChar& c : box.characters()) seen.emplace(c.format.textColour, c.format.background);
  return static_cast<double>(seen.size());
}

// Runs the benchmark while the window is shown, as a person's clicks happen.
class BenchWindows : public ui::WindowSystem {
 public:
  void runModal(ui::Window& window) override {
    if (whileShown) whileShown(window);
  }
  std::function<void(ui::Window&)> whileShown;
};

// The editor of a plug-in on a folder of its own, opened by the message command on an
// 1100-character message, with chk_all ticked and both gradients on: every click below
// repaints or converts the whole message.
class EditorBench {
 public:
  EditorBench() {
    std::filesystem::create_directories(dir_ / "Tessalune");
    for (std::string_view path : platform::embeddedResourcePaths("Tessalune/")) {
      std::ofstream(dir_ / path, std::ios::binary) << *platform::embeddedResource(path);
    }
    store::writeDefaultConfiguration(dir_, platform::language::kEnglish);
    plugin_.Initialize(0, "", &messenger_);
  }
  ~EditorBench() { std::filesystem::remove_all(dir_); }

  // Opens the editor on the message and runs `act` while it is shown.
  void whileEditing(const std::function<void(ui::EditorWindow&)>& act) {
    windows_.whileShown = [&](ui::Window&) {
      ui::EditorWindow& editor = *plugin_.editor();
      editor.chk_BG.userClick();
      editor.chk_all.userClick();
      editor.btnBG.userClick();
      editor.panelColorBG_grad[1].userClick();
      editor.btnFG.userClick();
      editor.panelColorFG_grad[2].userClick();
      act(editor);
    };
    std::string result;
    plugin_.ParseCommand("/xondrivela", message(), nullptr, result);
  }

 private:
  static std::string message() {
    std::string text;
    for (int i = 0; i < 1100; ++i) text.push_back(static_cast<char>('a' + i % 26));
    return text;
  }

  std::filesystem::path dir_ = std::filesystem::temp_directory_path() / "tessalune-bench-editor";
  platform::ScriptedDialogs dialogs_;
  BenchWindows windows_;
  platform::RecordingShell shell_;
  platform::HostMessenger messenger_{"Neo"};
  plugin::Plugin plugin_{
      plugin::HostServices{dialogs_, windows_, shell_, dir_, platform::language::kEnglish}};
};

void BM_EditorPresetClickChkAll1100(benchmark::State& state) {
  EditorBench bench;
  bench.whileEditing([&](ui::EditorWindow& editor) {
    int preset = 0;
    for (auto _ : state) editor.panelColorFG_grad[static_cast<std::size_t>(preset++ % 4)].userClick();
    state.counters["colours"] = distinctColours(editor.currentEditorBox().box());
  });
}
BENCHMARK(BM_EditorPresetClickChkAll1100)->Unit(benchmark::kMillisecond);

void BM_EditorCodeViewAndBack1100(benchmark::State& state) {
  EditorBench bench;
  bench.whileEditing([&](ui::EditorWindow& editor) {
    state.counters["colours"] = distinctColours(editor.currentEditorBox().box());
    for (auto _ : state) {
      editor.btnCode.userClick();
      editor.btnCode.userClick();
    }
  });
}
BENCHMARK(BM_EditorCodeViewAndBack1100)->Unit(benchmark::kMillisecond);

// The desktop editor's preview: a copy of the message converted silently, as OK would with
// every answer yes.
void BM_EditorPreview1100(benchmark::State& state) {
  EditorBench bench;
  bench.whileEditing([&](ui::EditorWindow& editor) {
    const engine::ConversionContext ctx = editor.conversionContext();
    plugin::SilentConversion conversion(ctx.messages, {ctx.mode, ctx.noEnd, true, true});
    std::size_t coded = 0;
    for (auto _ : state) coded = conversion.convert(editor.currentEditorBox().box(), true).size();
    state.counters["coded_bytes"] = static_cast<double>(coded);
  });
}
BENCHMARK(BM_EditorPreview1100)->Unit(benchmark::kMillisecond);

// OK converts the gradient-on-gradient message, thinning its colours, and closes the
// window; it is shown again, untimed, for the next click.
void BM_EditorOk1100(benchmark::State& state) {
  EditorBench bench;
  bench.whileEditing([&](ui::EditorWindow& editor) {
    state.counters["colours"] = distinctColours(editor.currentEditorBox().box());
    for (auto _ : state) {
      editor.btnOK.userClick();
      state.PauseTiming();
      editor.setVisible(true);
      state.ResumeTiming();
    }
  });
}
BENCHMARK(BM_EditorOk1100)->Unit(benchmark::kMillisecond);

}  // namespace
