#include "platform/terminal_colour.h"

#include <unistd.h>

#include <cstdlib>
#include <string_view>

namespace tessalune::platform {

bool colourWanted(int fd) {
  if (const char* choice = std::getenv("TESSALUNE_COLOR")) {
    if (std::string_view(choice) == "always") return true;
    if (std::string_view(choice) == "never") return false;
  }
  if (const char* noColour = std::getenv("NO_COLOR"); noColour && *noColour) return false;
  return ::isatty(fd) == 1;
}

}  // namespace tessalune::platform
