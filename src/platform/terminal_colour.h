#pragma once

namespace tessalune::platform {

// Whether what goes to a file descriptor may carry colour and other decorations.
// TESSALUNE_COLOR=always or never decides (the command line's --color sets it); else
// NO_COLOR, when set and not empty, turns colour off; else only a terminal gets it.
bool colourWanted(int fd);

}  // namespace tessalune::platform
