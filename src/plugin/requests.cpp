#include "plugin/requests.h"

#include <exception>
#include <utility>

#include "errors/failure.h"

namespace tessalune::plugin {

bool Requests::record(Request what) noexcept {
  switch (what) {
    case Request::ReloadConfig:
      reloadConfig_ = true;
      break;
    case Request::Restart:
      if (startingUp_ && startUpRestarts_++ > 0) return false;
      startAgain_ = true;
      break;
    case Request::StartAgain:
      startAgain_ = true;
      break;
    case Request::Halt:
      halt_ = unloadOnHalt_ = true;
      break;
    case Request::HaltKeepingWindows:
      halt_ = true;
      break;
  }
  return true;
}

bool Requests::dropAll() noexcept {
  const bool halt = halt_;
  reloadConfig_ = startAgain_ = halt_ = unloadOnHalt_ = false;
  return halt;
}

// Takes one round's requests out of the value, so that what the round asks for waits for
// the next.
class RequestRounds {
 public:
  struct Round {
    bool reloadConfig, startAgain, halt, unloadOnHalt;
  };
  static Round take(Requests& r) noexcept {
    const Round round{r.reloadConfig_, r.startAgain_, r.halt_, r.unloadOnHalt_};
    r.dropAll();
    return round;
  }
};

void carryOut(Requests& requests, RequestTarget& target) noexcept {
  try {
    while (requests.any()) {
      const RequestRounds::Round asked = RequestRounds::take(requests);
      if (asked.halt) target.halt(asked.unloadOnHalt && !asked.startAgain);
      if (asked.startAgain) {
        target.startAgain();
      } else if (asked.reloadConfig && !asked.halt) {
        target.reloadConfig();
      }
    }
  } catch (const errors::RuntimeFailure& f) {
    target.startFailed(f.number(), f.what());
  } catch (const std::exception& f) {
    target.startFailed(errors::failure::kInvalidCall, f.what());
  } catch (...) {
    target.startFailed(errors::failure::kInvalidCall, "unknown failure");
  }
}

void loadConfiguration(Requests& requests, const std::function<void()>& load) {
  load();
  if (!requests.takeReload()) return;
  load();
  if (requests.takeReload()) {
    throw errors::DefaultConfigurationFailure("the configuration is still missing after it was recreated");
  }
}

std::string startUpFailure(std::int32_t number, std::string_view source, std::string_view description) {
  return "Une erreur est survenue lors du chargement de Tessalune:\r\nAn error happened while loading "
         "Tessalune:\r\n"
         "\r\ncode: " +
         std::to_string(number) + "\r\nsource: " + std::string(source) +
         "\r\ndescription: " + std::string(description);
}

}  // namespace tessalune::plugin
