#pragma once

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "update/transfer.h"

namespace tessalune::testing {

// What the scripted server answers for one address.
struct FakeResponse {
  int status = 200;
  std::map<std::string, std::string> headers;  // names as the server writes them
  std::string body;
  bool connectionFails = false;  // the transfer fails (state 11) before any response
  // The connection closes after this many body bytes: reads end there and the transfer has failed.
  std::optional<std::size_t> closeAfter;
  // A status of 400 or more reported as a failure (state 11) rather than as a completed response.
  bool errorStatusAsFailure = false;
};

class FakeServer;

// A transfer that plays a scripted response: the states 1, 3, 5 and 7, then 12 (or 11), all
// inside request() as the real transfer delivers them, unless the server holds them back.
class FakeTransfer : public update::Transfer {
 public:
  explicit FakeTransfer(FakeServer& server) : server_(server) {}

  void request(const std::string& url) override;
  std::optional<std::string> getHeader(const std::string& name) const override {
    for (const auto& [key, value] : response_.headers) {
      if (std::equal(key.begin(), key.end(), name.begin(), name.end(),
                     [](char a, char b) { return std::tolower(a) == std::tolower(b); })) {
        return value;
      }
    }
    return std::nullopt;
  }
  void cancel() override {
    cancelled_ = true;
    ++cancels;
  }
  int httpStatus() const override { return status_; }
  bool failed() const override { return failed_ || cancelled_; }

  // Delivers the states of the request made last (when the server holds them back).
  void play();
  void raise(int state) { notify(state); }

  std::size_t reads = 0;  // chunk reads so far, of the current request
  std::size_t largestRead = 0;
  int cancels = 0;

 protected:
  std::vector<std::uint8_t> readChunk(std::size_t max) override;

 private:
  FakeServer& server_;
  FakeResponse response_;
  std::size_t position_ = 0;
  int status_ = 0;
  bool failed_ = false;
  bool cancelled_ = false;
};

// The addresses a test's server knows, the transfers made for it and what was requested.
class FakeServer {
 public:
  std::map<std::string, FakeResponse> files;  // by full address; anything else is a 404
  std::vector<std::string> requests;
  bool holdStates = false;  // request() only records; the test calls play()
  // Runs while a chunk read "waits": the host's events, a click on cancel for example.
  std::function<void(FakeTransfer& transfer, std::size_t read)> duringRead;
  std::vector<FakeTransfer*> transfers;

  std::function<std::unique_ptr<update::Transfer>()> factory() {
    return [this] {
      auto transfer = std::make_unique<FakeTransfer>(*this);
      transfers.push_back(transfer.get());
      return transfer;
    };
  }
  FakeResponse respond(const std::string& url) const {
    const auto it = files.find(url);
    if (it != files.end()) return it->second;
    FakeResponse missing;
    missing.status = 404;
    missing.body = "<html>Not Found</html>";
    return missing;
  }
};

inline void FakeTransfer::request(const std::string& url) {
  server_.requests.push_back(url);
  response_ = server_.respond(url);
  position_ = 0;
  status_ = 0;
  failed_ = false;
  cancelled_ = false;
  reads = 0;
  if (!server_.holdStates) play();
}

inline void FakeTransfer::play() {
  for (int state : {update::transfer_state::kResolving, update::transfer_state::kConnecting}) notify(state);
  if (response_.connectionFails) {
    failed_ = true;
    notify(update::transfer_state::kError);
    return;
  }
  notify(update::transfer_state::kRequesting);
  status_ = response_.status;
  notify(update::transfer_state::kReceiving);
  if (status_ >= 400 && response_.errorStatusAsFailure) {
    failed_ = true;
    notify(update::transfer_state::kError);
    return;
  }
  notify(update::transfer_state::kCompleted);
  // As the real transfer does: a failure found by a read inside the completion handler is
  // reported once that handler has returned. A cancel is not reported.
  if (failed_) notify(update::transfer_state::kError);
}

inline std::vector<std::uint8_t> FakeTransfer::readChunk(std::size_t max) {
  ++reads;
  largestRead = std::max(largestRead, max);
  pumpEvents();
  if (server_.duringRead) server_.duringRead(*this, reads);
  if (cancelled_ || failed_) return {};
  std::size_t end = response_.body.size();
  if (response_.closeAfter) end = std::min(end, *response_.closeAfter);
  if (position_ >= end) {
    if (end < response_.body.size()) failed_ = true;  // the connection closed early
    return {};
  }
  const std::size_t n = std::min(max, end - position_);
  std::vector<std::uint8_t> chunk(response_.body.begin() + static_cast<std::ptrdiff_t>(position_),
                                  response_.body.begin() + static_cast<std::ptrdiff_t>(position_ + n));
  position_ += n;
  return chunk;
}

}  // namespace tessalune::testing
