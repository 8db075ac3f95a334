// Converts arbitrary bytes as styled-text markup to Plus! text; the result must be UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>

#include "engine/utf8.h"
#include "engine/xml2plus.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessalune::engine;
  const std::string_view input(reinterpret_cast<const char*>(data), size);

  std::string plus;
  try {
    plus = xml2plus(input);
  } catch (const std::bad_alloc&) {
    return 0;  // the one failure the conversion documents
  }
  if (!isValidUtf8(plus)) {
    std::fprintf(stderr, "xml2plus output is not valid UTF-8 (%zu bytes)\n", plus.size());
    std::abort();
  }
  return 0;
}
