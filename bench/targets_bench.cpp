// Writing a long gradient message in each target's codes: the length-reduction loop writes the
// text once per pass, so a writer's cost is paid many times over.
#include <benchmark/benchmark.h>

#include "engine/styled_text.h"
#include "targets/bbcode_writer.h"
#include "targets/irc_writer.h"
#include "targets/minecraft_writer.h"
#include "targets/minimessage_writer.h"

namespace tessalune::targets {
namespace {

// 1100 characters, text and background each a gradient, every fourth character bold.
engine::StyledText gradientMessage() {
  engine::StyledText text;
  for (int i = 0; i < 1100; ++i) {
    const int step = i * 255 / 1099;
    text.push_back(
        {U'a' + static_cast<char32_t>(i % 26),
         {engine::makeColour(step, 0, 255 - step), engine::makeColour(255, step, step), i % 4 == 0}});
  }
  return text;
}

void BM_WriteIrc1100(benchmark::State& state) {
  const engine::StyledText text = gradientMessage();
  for (auto _ : state) benchmark::DoNotOptimize(writeIrc(text, IrcColours::Palette, TextEnd::Reset));
}
BENCHMARK(BM_WriteIrc1100)->Unit(benchmark::kMicrosecond);

void BM_WriteIrcHex1100(benchmark::State& state) {
  const engine::StyledText text = gradientMessage();
  for (auto _ : state) benchmark::DoNotOptimize(writeIrc(text, IrcColours::Hex, TextEnd::Reset));
}
BENCHMARK(BM_WriteIrcHex1100)->Unit(benchmark::kMicrosecond);

void BM_WriteBbcode1100(benchmark::State& state) {
  const engine::StyledText text = gradientMessage();
  for (auto _ : state) benchmark::DoNotOptimize(writeBbcode(text));
}
BENCHMARK(BM_WriteBbcode1100)->Unit(benchmark::kMicrosecond);

void BM_WriteMinecraft1100(benchmark::State& state) {
  const engine::StyledText text = gradientMessage();
  for (auto _ : state) benchmark::DoNotOptimize(writeMinecraft(text, TextEnd::Reset));
}
BENCHMARK(BM_WriteMinecraft1100)->Unit(benchmark::kMicrosecond);

void BM_WriteMiniMessage1100(benchmark::State& state) {
  const engine::StyledText text = gradientMessage();
  for (auto _ : state) benchmark::DoNotOptimize(writeMiniMessage(text, TextEnd::Reset));
}
BENCHMARK(BM_WriteMiniMessage1100)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace tessalune::targets
