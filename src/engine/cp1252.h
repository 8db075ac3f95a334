#pragma once

#include <optional>

namespace tessalune::engine {

// Windows-1252, the character set of the rich text the plug-in exchanges. The five
// bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1
// controls of the same value, as Windows itself maps them, so every byte round-trips.
char32_t cp1252ToUnicode(unsigned char byte);

// The byte that encodes c, or nothing when the code page lacks it.
std::optional<unsigned char> unicodeToCp1252(char32_t c);

}  // namespace tessalune::engine
