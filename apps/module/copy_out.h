#pragma once

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

namespace tessalune::abi {

// A string handed to the host: its own copy, released with tessalune_free.
inline char* copyOut(const std::string& text) {
  char* out = static_cast<char*>(std::malloc(text.size() + 1));
  if (!out) throw std::bad_alloc();
  std::memcpy(out, text.c_str(), text.size() + 1);
  return out;
}

}  // namespace tessalune::abi
