// The kept length reduction against the reference that converts the whole document at every
// pass: the same Plus! text, the same passes and the same questions, on random texts and
// styles, fitted to the Plus! limit and to a limit in UTF-8 bytes. The seed is fixed; TESSALUNE_SEED gives
// another.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "engine/direct_colouring.h"
#include "support/english_messages.h"
#include "support/recording_error_report.h"
#include "support/recording_lifecycle.h"
#include "support/test_seed.h"

namespace tessalune::engine {
namespace {

// Answers every question yes and remembers what was said.
class RecordingDialogs : public platform::Dialogs {
 public:
  platform::Answer messageBox(std::string_view text, std::string_view, platform::Icon,
                              platform::Buttons) override {
    said.emplace_back(text);
    return platform::Answer::Yes;
  }
  std::optional<std::uint32_t> chooseColour(std::uint32_t) override { return std::nullopt; }
  std::string chooseFile(const platform::FileDialogRequest&) override { return {}; }
  std::vector<std::string> said;
};

struct Outcome {
  std::string coded;
  int passes = 0;
  std::vector<std::string> said;
  bool operator==(const Outcome&) const = default;
};

Outcome colour(const std::string& text, const StylePreset& preset, EditorMode mode, bool noEnd,
               bool reference, const LengthFit* fit) {
  RecordingDialogs dialogs;
  testing::EnglishMessages messages;
  testing::RecordingErrorReport report;
  errors::StepMarker step;
  errors::FailureContext failures{report, step};
  testing::RecordingLifecycle lifecycle;
  RichTextBox autoBox, scratch;
  ConversionContext ctx{mode, noEnd, dialogs, messages, failures, lifecycle, scratch};
  ctx.referenceReduction = reference;
  ctx.fit = fit;
  Outcome outcome;
  outcome.coded = colourArgument(text, preset, autoBox, ctx);
  outcome.passes = ctx.reductionPasses;
  outcome.said = dialogs.said;
  return outcome;
}

TEST(LengthReduction, KeepsTheReferencesResultsPassForPass) {
  const unsigned seed = testing::testSeed("length reduction");
  std::mt19937 random(seed);
  const auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const auto anyColour = [&] { return static_cast<ColourNumber>(pick(0, 0xFFFFFF)); };
  const std::string alphabet = "abcdefghij KLMNOP  0123:)(;-&<>\u00E9\u00B7";
  for (int round = 0; round < 200; ++round) {
    const EditorMode mode = round % 2 ? EditorMode::Text : EditorMode::Nickname;
    const int length = pick(1, mode == EditorMode::Text ? 1100 : 129);
    std::string text;
    for (int i = 0; i < length; ++i) {
      // Whole characters: the alphabet's last two are two bytes each in UTF-8.
      const int k = pick(0, static_cast<int>(alphabet.size()) - 5);
      text += alphabet[static_cast<std::size_t>(k)];
    }
    if (pick(0, 3) == 0) text += "\u00E9\u00B7$4";
    StylePreset preset;
    preset.FGtype = static_cast<StyleKind>(pick(1, 2));
    preset.FGgradtype = static_cast<GradientPreset>(pick(1, 4));
    preset.FGcolor = anyColour();
    preset.FGgrad1 = anyColour();
    preset.FGgrad2 = pick(0, 4) == 0 ? 0x0000FF : anyColour();  // a palette colour now and then
    preset.BGtype = static_cast<StyleKind>(pick(0, 2));
    preset.BGgradtype = static_cast<GradientPreset>(pick(1, 4));
    preset.BGcolor = anyColour();
    preset.BGgrad1 = anyColour();
    preset.BGgrad2 = anyColour();
    const bool noEnd = pick(0, 1) == 1;
    // Every other round fitted to a limit in bytes, as a line protocol counts.
    const LengthFit fit{LengthFit::Unit::Utf8Bytes, static_cast<std::size_t>(pick(length, 4 * length + 40)),
                        [](std::string_view plus) { return plus.size(); }};
    const LengthFit* fitted = round % 4 < 2 ? nullptr : &fit;
    const Outcome kept = colour(text, preset, mode, noEnd, false, fitted);
    const Outcome reference = colour(text, preset, mode, noEnd, true, fitted);
    ASSERT_EQ(kept, reference) << "round " << round << " of seed " << seed << ": " << kept.passes
                               << " passes against " << reference.passes << "\n"
                               << kept.coded << "\n"
                               << reference.coded;
  }
}

}  // namespace
}  // namespace tessalune::engine
