#pragma once

namespace tessalune::engine {

// The editor's two modes: what is being styled decides the length limit, the messages,
// the watchdog's patience and which of the editor's boxes is shown.
enum class EditorMode { Nickname = 1, Text = 2 };

}  // namespace tessalune::engine
