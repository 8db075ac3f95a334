// Parses arbitrary text as a side style, as the colour tool and the C interface do. A style
// that parses has 2 to 10 stops when it is a gradient through stops, gives one colour per
// character, and colours a word without a failure or a halt; one that does not says why.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/side_style.h"
#include "fuzz_conversion.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessalune;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (bool background : {false, true}) {
    const engine::ParsedSideStyle parsed = engine::parseSideStyle(text, background);
    if (parsed.style.has_value() == !parsed.error.empty()) {
      std::fprintf(stderr, "a style must parse or say why, not both or neither\n");
      std::abort();
    }
    if (!parsed.style) continue;
    const engine::SideStyle& style = *parsed.style;
    if (style.kind == engine::SideStyle::Kind::Stops &&
        (style.gradient.stops.size() < engine::kMinGradientStops ||
         style.gradient.stops.size() > engine::kMaxGradientStops ||
         engine::stopGradientColours(37, style.gradient).size() != 37)) {
      std::fprintf(stderr, "a gradient through %zu stops\n", style.gradient.stops.size());
      std::abort();
    }
    // Coloured as the text or the background of a word, in nickname mode.
    fuzz::Conversion conversion;
    engine::ConversionContext ctx = conversion.context(engine::EditorMode::Nickname, false);
    const engine::SideStyle plain =
        *engine::parseSideStyle(background ? "solid:#000000" : "none", !background).style;
    const engine::SideStyle& fg = background ? plain : style;
    const engine::SideStyle& bg = background ? style : plain;
    if (engine::colourWithStyles("Tessalune", fg, bg, conversion.autoBox, ctx).empty()) {
      std::fprintf(stderr, "a word coloured with a style that parses was refused\n");
      std::abort();
    }
  }
  return 0;
}
