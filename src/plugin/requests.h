#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "errors/lifecycle.h"

namespace tessalune::plugin {

// What routines asked of a plug-in since control last came back to its entry point.
// Recording a request never throws and acts on nothing; the owner carries the requests out
// together, with carryOut, once no window's or the store's routine is running.
class Requests {
 public:
  using Request = errors::Lifecycle::Request;

  // Records a request. A start-up may ask for one restart (its failure offers it); a
  // second one asked for by the start-up that restart runs is refused (false), since it
  // would fail the same way without end.
  bool record(Request what) noexcept;

  // A start again, restart or halt waits: no window opens and no result is sent meanwhile.
  bool stopping() const { return startAgain_ || halt_; }
  bool any() const { return reloadConfig_ || stopping(); }
  // Takes a reload that a load asked for, so that the load that follows does it.
  bool takeReload() noexcept { return std::exchange(reloadConfig_, false); }
  // Forgets what was asked for (the plug-in ends or its start-up failed); whether a halt
  // was among it.
  bool dropAll() noexcept;

  // The outermost entry begins: the restarts start-ups asked for are counted anew.
  void entryBegins() noexcept { startUpRestarts_ = 0; }
  // A start-up runs between these two.
  void startUpBegins() noexcept { startingUp_ = true; }
  void startUpEnds() noexcept { startingUp_ = false; }

 private:
  friend class RequestRounds;

  bool reloadConfig_ = false;
  bool startAgain_ = false;  // a start again or a restart
  bool halt_ = false;
  bool unloadOnHalt_ = false;
  bool startingUp_ = false;
  int startUpRestarts_ = 0;
};

// What carrying out the requests does to their owner.
class RequestTarget {
 public:
  // Every command is ignored from now on; the windows are unloaded when asked.
  virtual void halt(bool unloadWindows) = 0;
  // The windows are unloaded and the start-up runs again, which traps its own failures.
  virtual void startAgain() = 0;
  // The configuration, recreated by the store, is loaded again (see loadConfiguration).
  virtual void reloadConfig() = 0;
  // A failure that escaped the work above: it ends as a failed start-up does.
  virtual void startFailed(std::int32_t number, std::string_view description) noexcept = 0;

 protected:
  ~RequestTarget() = default;
};

// Carries out what was asked, round by round until nothing more is: a halt first, then a
// start again (an import that failed starts again halted), else the reload of a recreated
// configuration. What a round asks for is done in the next. No failure escapes.
void carryOut(Requests& requests, RequestTarget& target) noexcept;

// Runs a load of the configuration, and once more when it asked for a reload (it recreated
// a missing file). A reload asked for again means the recreated file is missing too: that
// throws errors::DefaultConfigurationFailure, which fails the start-up.
void loadConfiguration(Requests& requests, const std::function<void()>& load);

// The failed start-up's message, in both languages since the catalogue may be what failed.
std::string startUpFailure(std::int32_t number, std::string_view source, std::string_view description);

}  // namespace tessalune::plugin
