#include <benchmark/benchmark.h>

#include <optional>
#include <string>

#include "engine/direct_colouring.h"
#include "engine/xml2plus.h"
#include "errors/kept_report.h"
#include "errors/lifecycle.h"
#include "lang/message_variables.h"
#include "platform/scripted_dialogs.h"
#include "platform/ui_language.h"
#include "targets/length_fit.h"

namespace {

using namespace tessalune;

enum class Timed { Kept, Reference, FirstMarkupToPlus };

// Direct colouring of a text long enough that its colours must be thinned; reports the
// passes of the length-reduction loop. FirstMarkupToPlus times one xml2plus of the markup as
// first written instead: the floor of any reduction that converts it.
void colourLongText(benchmark::State& state, engine::EditorMode mode, int length,
                    engine::GradientPreset fgPreset, engine::GradientPreset bgPreset,
                    Timed timed = Timed::Kept, const engine::LengthFit* fit = nullptr) {
  platform::ScriptedDialogs dialogs;
  lang::MessageVariables messages{lang::MessageCatalogue(platform::language::kEnglish)};
  messages.loadMessages();
  errors::KeptReport report;
  errors::StepMarker step;
  errors::FailureContext failures{report, step};
  errors::NoLifecycle lifecycle;
  engine::RichTextBox autoBox, scratch;
  engine::ConversionContext ctx{mode, false, dialogs, messages, failures, lifecycle, scratch};
  ctx.referenceReduction = timed == Timed::Reference;
  ctx.fit = fit;
  engine::StylePreset preset;
  preset.FGtype = engine::StyleKind::Gradient;
  preset.FGgradtype = fgPreset;
  preset.FGgrad1 = 0x800000;
  preset.FGgrad2 = 0x00FFFF;
  preset.BGtype = engine::StyleKind::Gradient;
  preset.BGgradtype = bgPreset;
  preset.BGgrad1 = 0xFFFFFF;
  preset.BGgrad2 = 0x000000;
  std::string text;
  for (int i = 0; i < length; ++i) text.push_back(static_cast<char>('a' + i % 26));
  std::size_t coded = 0;
  if (timed == Timed::FirstMarkupToPlus) {
    std::string markup;
    ctx.firstMarkup = &markup;
    engine::colourArgument(text, preset, autoBox, ctx);
    for (auto _ : state) coded = engine::xml2plus(markup).size();
    state.counters["markup_bytes"] = static_cast<double>(markup.size());
  } else {
    for (auto _ : state) coded = engine::colourArgument(text, preset, autoBox, ctx).size();
    state.counters["passes"] = ctx.reductionPasses;
  }
  state.counters["coded_bytes"] = static_cast<double>(coded);
}

void BM_ColourNickname129Grad3OnGrad1(benchmark::State& state) {
  colourLongText(state, engine::EditorMode::Nickname, 129, engine::GradientPreset::Grad3,
                 engine::GradientPreset::Grad1);
}
BENCHMARK(BM_ColourNickname129Grad3OnGrad1)->Unit(benchmark::kMillisecond);

void BM_ColourMessage1100Grad1OnGrad2(benchmark::State& state) {
  colourLongText(state, engine::EditorMode::Text, 1100, engine::GradientPreset::Grad1,
                 engine::GradientPreset::Grad2);
}
BENCHMARK(BM_ColourMessage1100Grad1OnGrad2)->Unit(benchmark::kMillisecond);

// The kept length reduction beside its pass-by-pass reference and beside one xml2plus of its
// first markup, gradient on gradient: the longest nickname and messages of 300 to 1100
// characters.
void reduction(benchmark::State& state, Timed timed) {
  const bool nickname = state.range(0) == 129;
  colourLongText(state, nickname ? engine::EditorMode::Nickname : engine::EditorMode::Text,
                 static_cast<int>(state.range(0)), engine::GradientPreset::Grad3,
                 engine::GradientPreset::Grad1, timed);
}
void BM_ReductionKept(benchmark::State& state) {
  reduction(state, Timed::Kept);
}
void BM_ReductionReference(benchmark::State& state) {
  reduction(state, Timed::Reference);
}
void BM_ReductionFloorXml2Plus(benchmark::State& state) {
  reduction(state, Timed::FirstMarkupToPlus);
}
// The longest nickname and messages of 300 to 1100 characters, in milliseconds.
void reductionSizes(benchmark::internal::Benchmark* b) {
  for (int length : {129, 300, 600, 900, 1100}) b->Arg(length);
  b->Unit(benchmark::kMillisecond);
}
BENCHMARK(BM_ReductionKept)->Apply(reductionSizes);
BENCHMARK(BM_ReductionReference)->Apply(reductionSizes);
BENCHMARK(BM_ReductionFloorXml2Plus)->Apply(reductionSizes);

// Fitted to another target: the whole text is written in the target's codes to be measured,
// so the reduction searches for the first pass that fits instead of measuring every pass.
// A 400-character IRC message (400 bytes) and a 1000-character message as HTML within
// 5000 characters, gradient on gradient, fast and against the pass-by-pass reference.
void fitted(benchmark::State& state, targets::Target target, int length, int limit, Timed timed) {
  const std::optional<engine::LengthFit> fit = targets::lengthFit(target, engine::EditorMode::Text, limit);
  colourLongText(state, engine::EditorMode::Text, length, engine::GradientPreset::Grad3,
                 engine::GradientPreset::Grad1, timed, &*fit);
}
void BM_FitIrc400(benchmark::State& state) {
  fitted(state, targets::Target::Irc, 400, 0, static_cast<Timed>(state.range(0)));
}
void BM_FitHtml5000(benchmark::State& state) {
  fitted(state, targets::Target::Html, 1000, 5000, static_cast<Timed>(state.range(0)));
}
BENCHMARK(BM_FitIrc400)
    ->Arg(static_cast<int>(Timed::Kept))
    ->Arg(static_cast<int>(Timed::Reference))
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FitHtml5000)
    ->Arg(static_cast<int>(Timed::Kept))
    ->Arg(static_cast<int>(Timed::Reference))
    ->Unit(benchmark::kMillisecond);

}  // namespace
