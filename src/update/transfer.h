#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tessalune::update {

// The states a transfer reports, in the order a request passes them, numbered as the
// transfer control numbers them.
enum class TransferState : int {
  Resolving = 1,   // looking up the server's address
  Connecting = 3,  // opening the connection
  Requesting = 5,  // connected, sending the request
  Receiving = 7,   // the response has started to arrive
  Error = 11,      // the transfer failed (network, HTTP status of 400 or more, broken body)
  Completed = 12,  // the response headers are in and the body can be read in chunks
};

// How long a transfer may take. A file read whole (the version file, the news) ends within
// wholeFileDeadline whatever the server sends; a streamed one (the installer) may take as long as
// it keeps its average rate at minimumRate bytes a second or more over every rateWindow, not
// counting the time its reader is busy with what has arrived.
struct TransferLimits {
  std::chrono::seconds connectTimeout{10};
  std::chrono::seconds wholeFileDeadline{30};
  long minimumRate = 1024;
  std::chrono::seconds rateWindow{30};
  long maxRedirects = 5;
};

// The words a failed transfer gives for the limit it ran into.
std::string sizeText(std::size_t bytes);  // "64 MB", "4 KB", "100 bytes"
std::string largerThanCause(std::size_t limit);
std::string noAnswerCause(std::chrono::seconds deadline);
std::string tooSlowCause(const TransferLimits& limits);

// An HTTP GET transfer that reports its progress as state notifications and hands its body out in chunks,
// all on the caller's thread. While it waits for the network it calls the host's event pump, so that the
// host's events (a cancel button in particular) are handled during a request or a chunk read.
//
// Notifications are never nested: a state raised while a notification is being handled (for example a failure
// found by a chunk read inside the handler of kCompleted) is delivered after that handler returns. A failure
// found by a chunk read outside any handler is delivered before the read returns. A cancel is not notified.
class Transfer {
 public:
  using StateHandler = std::function<void(TransferState state)>;
  // Told whether the response body has begun to arrive, so that a host driven by a script
  // can hold its next line until then and stay deterministic.
  using EventPump = std::function<void(bool bodyStarted)>;

  virtual ~Transfer() = default;

  // Where the state notifications go; may be empty.
  void setStateHandler(StateHandler handler) { stateHandler_ = std::move(handler); }
  // Called repeatedly while the transfer waits for the network; may be empty.
  void setEventPump(EventPump pump) { eventPump_ = std::move(pump); }
  const EventPump& eventPump() const { return eventPump_; }
  // The most body bytes the next requests accept: a longer body fails the transfer.
  void setMaxBodyBytes(std::size_t max) { maxBodyBytes_ = max; }
  std::size_t maxBodyBytes() const { return maxBodyBytes_; }
  // Whether the next requests are read whole, within a deadline, or streamed at a minimum rate.
  enum class Pace { Whole, Streamed };
  void setPace(Pace pace) { pace_ = pace; }
  Pace pace() const { return pace_; }

  // Starts a GET request for `url`, abandoning a transfer still running, and runs it until its response
  // headers are in (Completed) or it fails (Error) or is cancelled.
  virtual void request(const std::string& url) = 0;
  // The value of a header of the response, the name compared without regard to case.
  virtual std::optional<std::string> getHeader(const std::string& name) const = 0;
  // Stops the transfer; later chunk reads return nothing and failed() is true.
  virtual void cancel() = 0;
  // The HTTP status of the response, 0 before any response.
  virtual int httpStatus() const = 0;
  // True once the transfer has failed or has been cancelled.
  virtual bool failed() const = 0;
  // Why the last request failed, in words a person can act on ("Could not resolve host
  // name", "HTTP status 404"); empty while it has not failed, and after a cancel.
  const std::string& failureCause() const { return failureCause_; }

  // The next piece of the body, at most `max` bytes; empty at the end of the body or after a failure.
  std::string getChunkText(std::size_t max = 1024) {
    const auto bytes = readChunk(max);
    return {bytes.begin(), bytes.end()};
  }
  std::vector<std::uint8_t> getChunkBytes(std::size_t max = 1024) { return readChunk(max); }

 protected:
  // Waits (calling the event pump) until body bytes are available or the transfer has ended.
  virtual std::vector<std::uint8_t> readChunk(std::size_t max) = 0;

  void notify(TransferState state) const {
    if (stateHandler_) stateHandler_(state);
  }
  void setFailureCause(std::string cause) { failureCause_ = std::move(cause); }
  void pumpEvents(bool bodyStarted) const {
    if (eventPump_) eventPump_(bodyStarted);
  }

 private:
  StateHandler stateHandler_;
  EventPump eventPump_;
  std::size_t maxBodyBytes_ = SIZE_MAX;
  Pace pace_ = Pace::Whole;
  std::string failureCause_;
};

}  // namespace tessalune::update
