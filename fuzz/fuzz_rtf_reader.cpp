// Loads arbitrary bytes as RTF into a rich-text box, reads the box back as RTF and as
// text, and checks that the box's own RTF loads back to the same text. The same bytes, read
// as characters with formats, check that copying a box directly gives what its RTF gives,
// and that formats set over ranges read back as a plain list of characters has them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/rich_text_box.h"

namespace {

using namespace tessalune::engine;

void checkDirectCopy(const RichTextBox& box) {
  RichTextBox viaRtf, direct;
  viaRtf.setTextRtf(box.textRtf());
  direct.copyTextRtfFrom(box);
  if (direct.characters() != viaRtf.characters()) {
    std::fprintf(stderr, "the direct copy left the RTF round trip\n  rtf: [%s]\n", box.textRtf().c_str());
    std::abort();
  }
}

// Four bytes a character: a code point from the first two and a small range of the third,
// a format from the fourth (colours beyond 24 bits included).
StyledText charactersOf(const std::uint8_t* data, std::size_t size) {
  static constexpr ColourNumber kColours[] = {0x000000, 0x0000FF, 0xFFFFFF, 0x80000008};
  StyledText text;
  for (std::size_t i = 0; i + 4 <= size; i += 4) {
    const char32_t ch = (static_cast<char32_t>(data[i + 2] % 0x12) << 16) | (data[i] << 8) | data[i + 1];
    const std::uint8_t f = data[i + 3];
    CharFormat format;
    if (f & 1) format.textColour = kColours[(f >> 1) & 3];
    if (f & 8) format.background = kColours[(f >> 4) & 3];
    format.bold = (f & 0x40) != 0;
    format.strike = (f & 0x80) != 0;
    text.push_back({ch, format});
  }
  return text;
}

// Formats set over ranges chosen by the bytes, through the box and on a plain list of
// characters side by side: the box, which stores each format once, must read back the list.
void checkFormatEdits(RichTextBox& box, const std::uint8_t* data, std::size_t size) {
  std::vector<StyledChar> expected(box.characters().begin(), box.characters().end());
  const int length = box.length();
  for (std::size_t i = 0; length > 0 && i + 3 <= size; i += 3) {
    const int start = data[i] % length, count = data[i + 1] % (length - start + 1);
    const std::uint8_t how = data[i + 2];
    box.select(start, count);
    const ColourNumber colour = how * 0x010203u;
    for (int k = start; k < start + count; ++k) {
      CharFormat& format = expected[static_cast<std::size_t>(k)].format;
      if (how & 1) format.textColour = colour;
      if (how & 2) format.background = colour;
      if (how & 4) format.italic = (how & 8) != 0;
    }
    if (how & 1) box.setSelColor(colour);
    if (how & 2) box.setSelBackColor(colour);
    if (how & 4) box.setSelItalic((how & 8) != 0);
  }
  if (!std::equal(expected.begin(), expected.end(), box.characters().begin(), box.characters().end())) {
    std::fprintf(stderr, "the box's formats left those set on the list\n");
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  RichTextBox box;
  box.setTextRtf(input);
  const std::string rtf = box.textRtf();
  const std::string text = box.text();

  RichTextBox again;
  again.setTextRtf(rtf);
  const std::string textAgain = again.text();
  if (textAgain != text) {
    std::fprintf(stderr, "round trip changed the text\n  text:  [%s]\n  again: [%s]\n  rtf:   [%s]\n",
                 text.c_str(), textAgain.c_str(), rtf.c_str());
    std::abort();
  }
  checkDirectCopy(box);

  RichTextBox styled;
  styled.setCharacters(charactersOf(data, size), 0);
  checkDirectCopy(styled);
  checkFormatEdits(styled, data, size);
  return 0;
}
