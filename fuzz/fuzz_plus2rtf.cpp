// Converts arbitrary bytes as Plus! text to RTF, then loads that RTF into a rich-text box.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/plus2rtf.h"
#include "engine/rich_text_box.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessalune::engine;
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  const std::string rtf = plus2rtf(input);
  RichTextBox box;
  box.setTextRtf(rtf);
  (void)box.text();
  (void)box.textRtf();
  return 0;
}
