#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "update/transfer.h"

namespace tessalune::update {

// A Transfer over libcurl's multi interface: nothing runs on another thread; the network is driven from
// request() and from the chunk reads, which wait in short polls and call the event pump between them.
// Redirects are followed only to the requested scheme and host (so never from https to http); a redirect
// elsewhere, one without a Location and a body over maxBodyBytes() fail the transfer.
class CurlTransfer : public Transfer {
 public:
  explicit CurlTransfer(TransferLimits limits = {});
  ~CurlTransfer() override;
  CurlTransfer(const CurlTransfer&) = delete;
  CurlTransfer& operator=(const CurlTransfer&) = delete;

  void request(const std::string& url) override;
  std::optional<std::string> getHeader(const std::string& name) const override;
  void cancel() override;
  int httpStatus() const override { return status_; }
  bool failed() const override { return failed_; }

 protected:
  std::vector<std::uint8_t> readChunk(std::size_t max) override;

 private:
  struct Handles;

  // Runs the network until `done` holds, the transfer has ended, or a newer request replaced this one.
  template <typename Done>
  void driveUntil(Done done);
  void step();
  void onHeadersComplete();
  void finish(int curlResult);
  bool pastDeadline() const;
  void fail();
  void release();
  void queue(TransferState state);
  void deliverPending();

  friend struct CurlCallbacks;  // libcurl's callbacks, which record what arrives

  TransferLimits limits_;
  std::unique_ptr<Handles> handles_;
  unsigned generation_ = 0;  // counts requests, so that a loop of an abandoned request stops
  bool active_ = false;      // a request is running in libcurl
  bool cancelRequested_ = false;
  bool failed_ = false;
  bool headersDone_ = false;     // the final header block has been received
  bool headersHandled_ = false;  // ...and its status has been acted upon
  int status_ = 0;
  std::optional<TransferState> lastQueued_;  // states only move forward
  bool connected_ = false;
  bool paused_ = false;  // the body held has reached its limit: libcurl waits for the reader
  std::chrono::steady_clock::time_point deadline_;  // a whole file's; the latest time point when streamed
  std::vector<std::pair<std::string, std::string>> headers_;
  std::string origin_;              // "scheme://host" of the request: where redirects may lead
  std::string refusal_;             // why a callback stopped the transfer
  std::size_t bodyReceived_ = 0;    // every body byte of this request, read or not
  std::vector<std::uint8_t> body_;  // received and not yet read, from bodyStart_
  std::size_t bodyStart_ = 0;
  std::deque<TransferState> pending_;  // states waiting to be notified
  bool delivering_ = false;
};

}  // namespace tessalune::update
