#pragma once

#include <functional>

#include "platform/dialogs.h"
#include "platform/shell.h"
#include "ui/window.h"

namespace tessalune::plugin {
class Plugin;
}

namespace tessalune::purple {

// How the plug-in's boxes and windows reach the person: as notices in the conversation
// when the client has no display, or as Qt windows in the client's own process.
class Front {
 public:
  virtual ~Front() = default;
  virtual platform::Dialogs& dialogs() = 0;
  virtual ui::WindowSystem& windows() = 0;
  virtual platform::Shell& shell() = 0;
  // Runs the client's loop for a while, so that it stays alive while a transfer waits.
  virtual void pump() = 0;
  virtual int twipsPerPixel() const { return 15; }
  // Whether the plug-in's windows can open.
  virtual bool showsWindows() const { return true; }
  // Views follow the plug-in object's windows from now on.
  virtual void follow(plugin::Plugin&) {}
  // Every open window and box closes as Cancel, and none opens any more.
  virtual void closeAll() = 0;
};

}  // namespace tessalune::purple
