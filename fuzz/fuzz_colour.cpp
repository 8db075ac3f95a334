// Colours arbitrary text with a style chosen by the first input bytes, as a command with an
// argument does. Whatever the text, the conversion must never halt the plug-in (the markup
// always parses), a coded text that comes back must be valid UTF-8 within the limit, and the
// length reduction must give what its pass-by-pass reference gives, in as many passes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/direct_colouring.h"
#include "engine/utf8.h"
#include "fuzz_conversion.h"

using namespace tessalune;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const engine::EditorMode mode = data[0] & 1 ? engine::EditorMode::Text : engine::EditorMode::Nickname;
  engine::StylePreset preset;
  preset.FGtype = data[1] & 1 ? engine::StyleKind::Gradient : engine::StyleKind::Solid;
  preset.FGgradtype = engine::kGradientPresets[(data[1] >> 1) & 3];
  preset.FGcolor = 0x123456;
  preset.FGgrad1 = 0x0000FF;
  preset.FGgrad2 = 0xFF8000;
  preset.BGtype = static_cast<engine::StyleKind>(data[2] % 3);
  preset.BGgradtype = engine::kGradientPresets[(data[2] >> 2) & 3];
  preset.BGcolor = 0x00FFFF;
  preset.BGgrad1 = 0xFFFFFF;
  preset.BGgrad2 = 0x000000;
  const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);

  fuzz::Conversion conversion;
  engine::ConversionContext ctx = conversion.context(mode, (data[0] & 2) != 0);
  const std::string coded = engine::colourArgument(text, preset, conversion.autoBox, ctx);
  engine::ConversionContext reference = ctx;
  reference.referenceReduction = true;
  if (engine::colourArgument(text, preset, conversion.autoBox, reference) != coded ||
      reference.reductionPasses != ctx.reductionPasses) {
    std::fprintf(stderr, "the length reduction left its reference (%d passes against %d)\n",
                 ctx.reductionPasses, reference.reductionPasses);
    std::abort();
  }
  if (!engine::isValidUtf8(coded) ||
      engine::countChars(coded) > static_cast<std::size_t>(engine::lengthLimit(mode))) {
    std::fprintf(stderr, "coded text invalid or over the limit (%zu bytes)\n", coded.size());
    std::abort();
  }
  return 0;
}
