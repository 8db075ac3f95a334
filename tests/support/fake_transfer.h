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
};

class FakeServer;

// A transfer that plays a scripted response: the states 1, 3, 5 and 7, then 12, all inside
// request() as the real transfer delivers them, unless the server holds them back.
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
  void cancel() override { cancelled_ = true; }
  int httpStatus() const override { return status_; }
  bool failed() const override { return cancelled_; }

  // Delivers the states of the request made last (when the server holds them back).
  void play();

 protected:
  std::vector<std::uint8_t> readChunk(std::size_t max) override;

 private:
  FakeServer& server_;
  FakeResponse response_;
  std::size_t position_ = 0, reads_ = 0;
  int status_ = 0;
  bool cancelled_ = false;
};

// The addresses a test's server knows and the transfers made for it.
class FakeServer {
 public:
  std::map<std::string, FakeResponse> files;  // by full address; anything else is a 404
  bool holdStates = false;                    // request() only records; the test calls play()
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
    return it != files.end() ? it->second : FakeResponse{404, {}, "<html>Not Found</html>"};
  }
};

inline void FakeTransfer::request(const std::string& url) {
  response_ = server_.respond(url);
  position_ = reads_ = 0;
  status_ = 0;
  cancelled_ = false;
  if (!server_.holdStates) play();
}

inline void FakeTransfer::play() {
  for (update::TransferState state : {update::TransferState::Resolving, update::TransferState::Connecting,
                                      update::TransferState::Requesting}) {
    notify(state);
  }
  status_ = response_.status;
  notify(update::TransferState::Receiving);
  notify(update::TransferState::Completed);  // a cancel is not reported
}

inline std::vector<std::uint8_t> FakeTransfer::readChunk(std::size_t max) {
  pumpEvents(position_ > 0);
  if (server_.duringRead) server_.duringRead(*this, ++reads_);
  if (cancelled_ || position_ >= response_.body.size()) return {};
  const std::size_t n = std::min(max, response_.body.size() - position_);
  std::vector<std::uint8_t> chunk(response_.body.begin() + static_cast<std::ptrdiff_t>(position_),
                                  response_.body.begin() + static_cast<std::ptrdiff_t>(position_ + n));
  position_ += n;
  return chunk;
}

}  // namespace tessalune::testing
