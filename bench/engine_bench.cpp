#include <benchmark/benchmark.h>

#include <string>

#include "engine/gradient.h"
#include "engine/plus2rtf.h"
#include "engine/rich_text_box.h"
#include "engine/xml2plus.h"
#include "errors/kept_report.h"

namespace {

using namespace tessalune;

// Markup as the converter writes it for a gradient: a colour change before most
// characters, spaces as markers, a few toggles and a line break now and then.
std::string markupOfSize(std::size_t bytes) {
  std::string markup = "<nick>\r\n";
  for (int i = 0; markup.size() < bytes; ++i) {
    if (i % 3 == 0) markup += "<FG color=\"#" + std::string(i % 2 ? "0080FF" : "000080") + "\"/>";
    if (i % 17 == 0) markup += "<BG color=\"#FFFF00\"/>";
    if (i % 11 == 0) markup += "<b/>";
    markup += i % 7 == 0 ? "<space/>" : i % 53 == 0 ? "&lt;line/&gt;" : "a&amp;\u00E9";
  }
  return markup + "<end/>\r\n</nick>";
}

std::string plusOfSize(std::size_t bytes) {
  std::string plus;
  for (int i = 0; plus.size() < bytes; ++i) {
    plus += i % 4 == 0 ? "\u00B7$4,12" : i % 4 == 1 ? "\u00B7$#0080FF" : "\u00B7#";
    plus += "ab\u00E9 {x}";
  }
  return plus;
}

void BM_Xml2Plus1MB(benchmark::State& state) {
  const std::string markup = markupOfSize(1 << 20);
  for (auto _ : state) benchmark::DoNotOptimize(engine::xml2plus(markup));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * markup.size()));
}
BENCHMARK(BM_Xml2Plus1MB)->Unit(benchmark::kMillisecond);

void BM_Plus2Rtf100KB(benchmark::State& state) {
  const std::string plus = plusOfSize(100 << 10);
  for (auto _ : state) benchmark::DoNotOptimize(engine::plus2rtf(plus));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * plus.size()));
}
BENCHMARK(BM_Plus2Rtf100KB)->Unit(benchmark::kMillisecond);

// Large inputs in which nearly every colour is new: the writers' colour lookups must not
// grow with the number of colours met.
std::string distinctColour(int i) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  const unsigned value = static_cast<unsigned>(i) * 104729u % 0xFFFFFFu;
  std::string text = "#";
  for (int shift = 20; shift >= 0; shift -= 4) text += kHex[(value >> shift) & 0xF];
  return text;
}

void BM_Plus2Rtf3MBDistinctColours(benchmark::State& state) {
  std::string plus;
  for (int i = 0; plus.size() < (3u << 20); ++i) plus += "\u00B7$" + distinctColour(i) + "xy";
  for (auto _ : state) benchmark::DoNotOptimize(engine::plus2rtf(plus));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * plus.size()));
}
BENCHMARK(BM_Plus2Rtf3MBDistinctColours)->Unit(benchmark::kMillisecond);

void BM_Xml2Plus8MBDistinctColours(benchmark::State& state) {
  std::string markup = "<nick>\r\n";
  for (int i = 0; markup.size() < (8u << 20); ++i) {
    const std::string colour = distinctColour(i);
    markup += "<FG color=\"" + colour + "\"/>ab<BG color=\"" + colour + "\"/>c";
  }
  markup += "\r\n</nick>";
  for (auto _ : state) benchmark::DoNotOptimize(engine::xml2plus(markup));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * markup.size()));
}
BENCHMARK(BM_Xml2Plus8MBDistinctColours)->Unit(benchmark::kMillisecond);

engine::RichTextBox rainbowBox(int length) {
  engine::RichTextBox box;
  box.setText(std::string(static_cast<std::size_t>(length), 'x'));
  for (int i = 0; i < length; ++i) {
    box.select(i, 1);
    box.setSelColor(engine::makeColour(i % 256, (i * 7) % 256, (i * 13) % 256));
  }
  return box;
}

void BM_RtfWriteRead1100Colours(benchmark::State& state) {
  const engine::RichTextBox box = rainbowBox(1100);
  engine::RichTextBox copy;
  for (auto _ : state) {
    copy.setTextRtf(box.textRtf());
    benchmark::DoNotOptimize(copy.length());
  }
}
BENCHMARK(BM_RtfWriteRead1100Colours)->Unit(benchmark::kMicrosecond);

void BM_DoGradient1100(benchmark::State& state) {
  errors::KeptReport report;
  errors::StepMarker step;
  errors::FailureContext failures{report, step};
  engine::RichTextBox box;
  engine::RichTextBox scratch;
  engine::PaintContext paint{scratch, failures};
  box.setText(std::string(1100, 'x'));
  for (auto _ : state) {
    engine::doGradient(box, 0, 1100, 0x800000, 0xFF8000, 1100,
                       static_cast<engine::GradientKind>(state.range(0)), engine::PaintTarget::Text, paint);
  }
}
BENCHMARK(BM_DoGradient1100)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace
