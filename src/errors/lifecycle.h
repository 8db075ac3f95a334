#pragma once

namespace tessalune::errors {

// What a failure or an import asks of the running plug-in. A request is recorded and the
// caller goes on; the plug-in carries it out once control is back at its entry point (the
// host's call, or the dispatch of a user action), never while a window's or the store's
// routine is still running. Until then the work in progress sees stopping() and ends
// without acting.
class Lifecycle {
 public:
  enum class Request {
    ReloadConfig,        // load the configuration file again (it has just been recreated)
    StartAgain,          // unload the windows and run the start-up again (an import)
    Restart,             // the same, after an unknown failure
    Halt,                // unload the windows and ignore every command until loaded anew
    HaltKeepingWindows,  // ignore every command; the windows could not be unloaded
  };

  virtual ~Lifecycle() = default;

  // Records what is to happen and returns at once: it never throws and acts on no window.
  // False when the request is refused: a restart that the start-up under way asks for
  // again, which would fail the same way without end.
  virtual bool request(Request what) noexcept = 0;
  // A start again, restart or halt waits: no window opens and no result is sent meanwhile.
  virtual bool stopping() const = 0;
};

// A lifecycle for work done outside any running plug-in (a preview, a benchmark, a library
// call): what a failure would make the plug-in do concerns nothing here.
class NoLifecycle : public Lifecycle {
 public:
  bool request(Request) noexcept override { return true; }
  bool stopping() const override { return false; }
};

}  // namespace tessalune::errors
