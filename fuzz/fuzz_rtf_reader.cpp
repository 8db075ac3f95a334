// Loads arbitrary bytes as RTF into a rich-text box, reads the box back as RTF and as
// text, and checks that the box's own RTF loads back to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/rich_text_box.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using tessalune::engine::RichTextBox;
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
  return 0;
}
