#include "update/curl_transfer.h"

#include "update/curl_library.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/ascii.h"

namespace tessalune::update {

namespace {

// How long one wait for the network lasts before the host's events are let through.
constexpr int kPollMilliseconds = 10;

// The most body bytes held for the reader: past it the transfer pauses (no more is read from
// the network, nor decoded) until the reader has taken them all. A compressed body would
// otherwise be decoded whole as fast as it arrives.
constexpr std::size_t kHeldBodyBytes = 256u << 10;

// The states before the response, in the order a request passes them.
constexpr std::array<TransferState, 4> kProgressStates = {
    TransferState::Resolving, TransferState::Connecting, TransferState::Requesting, TransferState::Receiving};

std::string_view trim(std::string_view text) {
  const auto isSpace = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

// "scheme://host:port" of an address (the scheme's port when none is written), the host in
// lower case: a redirect is followed only there. A relative address is resolved
// against base. Empty when it is not an address.
std::string originOf(const std::string& address, const std::string& base = {}) {
  const CurlLibrary* curl = curlLibrary();
  CURLU* url = curl ? curl->url() : nullptr;
  if (!url) return {};
  std::string origin;
  char* scheme = nullptr;
  char* host = nullptr;
  char* port = nullptr;
  const bool parsed = (base.empty() || curl->url_set(url, CURLUPART_URL, base.c_str(), 0) == CURLUE_OK) &&
                      curl->url_set(url, CURLUPART_URL, address.c_str(), 0) == CURLUE_OK &&
                      curl->url_get(url, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK &&
                      curl->url_get(url, CURLUPART_HOST, &host, 0) == CURLUE_OK &&
                      curl->url_get(url, CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK;
  if (parsed) {
    origin = engine::asciiLowered(std::string(scheme) + "://" + host + ":" + port);
  }
  curl->free(scheme);
  curl->free(host);
  curl->free(port);
  curl->url_cleanup(url);
  return origin;
}

// The absolute form of an address, relative ones resolved against base; the address as
// written when it cannot be parsed.
std::string absoluteAddress(const std::string& address, const std::string& base) {
  const CurlLibrary* curl = curlLibrary();
  CURLU* url = curl ? curl->url() : nullptr;
  if (!url) return address;
  std::string absolute = address;
  char* full = nullptr;
  if ((base.empty() || curl->url_set(url, CURLUPART_URL, base.c_str(), 0) == CURLUE_OK) &&
      curl->url_set(url, CURLUPART_URL, address.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK &&
      curl->url_get(url, CURLUPART_URL, &full, 0) == CURLUE_OK) {
    absolute = full;
  }
  curl->free(full);
  curl->url_cleanup(url);
  return absolute;
}

// A server's address fit for a one-line message: control characters and bytes outside ASCII
// written as %XX, and at most 200 characters.
std::string printableAddress(std::string_view address) {
  constexpr std::size_t kMaxCharacters = 200;
  std::string out;
  for (const char c : address.substr(0, kMaxCharacters)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte > 0x20 && byte < 0x7F) {
      out += c;
    } else {
      constexpr std::string_view kHex = "0123456789ABCDEF";
      out += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
    }
  }
  if (address.size() > kMaxCharacters) out += "...";
  return out;
}

}  // namespace

// The library is loaded with the first transfer; without it no handle exists and every
// request fails, saying why.
struct CurlTransfer::Handles {
  const CurlLibrary* curl = curlLibrary();
  CURLM* multi = curl ? curl->multi_init() : nullptr;
  CURL* easy = nullptr;
  ~Handles() {
    if (multi) curl->multi_cleanup(multi);
  }
};

// libcurl calls these from inside curl_multi_perform; they only record what arrived. Nothing here calls the
// user's code, because the user may cancel, and a handle must not be removed from inside its own callback.
struct CurlCallbacks {
  static std::size_t onHeaderLine(char* data, std::size_t size, std::size_t count, void* self) {
    auto& t = *static_cast<CurlTransfer*>(self);
    const std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) {
      // A new header block: an interim response or a redirect replaces the previous block.
      t.headers_.clear();
      t.headersDone_ = false;
      t.queue(TransferState::Receiving);
    } else if (trim(line).empty()) {
      long code = 0;
      t.handles_->curl->easy_getinfo(t.handles_->easy, CURLINFO_RESPONSE_CODE, &code);
      const std::optional<std::string> location = code / 100 == 3 ? t.getHeader("Location") : std::nullopt;
      if (location) {
        // Followed only where the request went; returning less than the line aborts it.
        char* current = nullptr;
        t.handles_->curl->easy_getinfo(t.handles_->easy, CURLINFO_EFFECTIVE_URL, &current);
        if (originOf(*location, current ? current : "") != t.origin_) {
          t.refusal_ = "redirect to another address refused: " +
                       printableAddress(absoluteAddress(*location, current ? current : "")) +
                       " (HTTP status " + std::to_string(code) + ")";
          return 0;
        }
      }
      t.headersDone_ = code / 100 != 1 && !location;
    } else if (const auto colon = line.find(':'); colon != std::string_view::npos) {
      t.headers_.emplace_back(trim(line.substr(0, colon)), trim(line.substr(colon + 1)));
    }
    return size * count;
  }

  static std::size_t onBody(char* data, std::size_t size, std::size_t count, void* self) {
    auto& t = *static_cast<CurlTransfer*>(self);
    if (t.body_.size() - t.bodyStart_ >= kHeldBodyBytes) {
      t.paused_ = true;  // libcurl keeps this piece and hands it over again once resumed
      return CURL_WRITEFUNC_PAUSE;
    }
    t.bodyReceived_ += size * count;
    if (t.bodyReceived_ > t.maxBodyBytes()) {
      t.refusal_ = largerThanCause(t.maxBodyBytes());
      return 0;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    t.body_.insert(t.body_.end(), bytes, bytes + size * count);
    return size * count;
  }

  static int onSocketOpened(void* self, curl_socket_t /*socket*/, curlsocktype /*purpose*/) {
    static_cast<CurlTransfer*>(self)->queue(TransferState::Connecting);
    return CURL_SOCKOPT_OK;
  }

  static int onConnected(void* self, char* /*primaryIp*/, char* /*localIp*/, int /*primaryPort*/,
                         int /*localPort*/) {
    auto& t = *static_cast<CurlTransfer*>(self);
    t.connected_ = true;
    t.queue(TransferState::Requesting);
    return CURL_PREREQFUNC_OK;
  }
};

CurlTransfer::CurlTransfer(TransferLimits limits) : limits_(limits), handles_(std::make_unique<Handles>()) {}

CurlTransfer::~CurlTransfer() {
  release();
}

void CurlTransfer::request(const std::string& url) {
  // A new request abandons the previous one, its notifications and its cancel.
  release();
  ++generation_;
  pending_.clear();
  cancelRequested_ = false;
  failed_ = false;
  headersDone_ = false;
  headersHandled_ = false;
  status_ = 0;
  lastQueued_.reset();
  connected_ = false;
  paused_ = false;
  deadline_ = pace() == Pace::Whole ? std::chrono::steady_clock::now() + limits_.wholeFileDeadline
                                    : std::chrono::steady_clock::time_point::max();
  headers_.clear();
  body_.clear();
  bodyStart_ = 0;
  bodyReceived_ = 0;
  origin_ = originOf(url);
  refusal_.clear();
  setFailureCause({});

  CURL* easy = handles_->multi ? handles_->curl->easy_init() : nullptr;
  if (!easy) {
    setFailureCause(handles_->curl ? "the transfer could not be set up" : curlLoadError());
    failed_ = true;
    queue(TransferState::Error);
    deliverPending();
    return;
  }
  handles_->curl->easy_setopt(easy, CURLOPT_URL, url.c_str());
  handles_->curl->easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  handles_->curl->easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  handles_->curl->easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR,
                              origin_.starts_with("https:") ? "https" : "http");
  handles_->curl->easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
  handles_->curl->easy_setopt(easy, CURLOPT_MAXREDIRS, limits_.maxRedirects);
  handles_->curl->easy_setopt(easy, CURLOPT_FAILONERROR,
                              1L);  // a status of 400 or more never delivers a body
  if (maxBodyBytes() < SIZE_MAX) {  // an announced length over the limit fails at once
    handles_->curl->easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxBodyBytes()));
  }
  handles_->curl->easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  handles_->curl->easy_setopt(easy, CURLOPT_CONNECTTIMEOUT,
                              static_cast<long>(limits_.connectTimeout.count()));
  // A whole file has its deadline (checked between polls); a streamed one its minimum rate.
  if (pace() == Pace::Streamed) {
    handles_->curl->easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, limits_.minimumRate);
    handles_->curl->easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, static_cast<long>(limits_.rateWindow.count()));
  }
  handles_->curl->easy_setopt(easy, CURLOPT_USERAGENT, "Tessalune");
  // A body sent compressed (asked for or not) arrives as what was compressed.
  handles_->curl->easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "");
  handles_->curl->easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CurlCallbacks::onHeaderLine);
  handles_->curl->easy_setopt(easy, CURLOPT_HEADERDATA, this);
  handles_->curl->easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlCallbacks::onBody);
  handles_->curl->easy_setopt(easy, CURLOPT_WRITEDATA, this);
  handles_->curl->easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, &CurlCallbacks::onSocketOpened);
  handles_->curl->easy_setopt(easy, CURLOPT_SOCKOPTDATA, this);
  handles_->curl->easy_setopt(easy, CURLOPT_PREREQFUNCTION, &CurlCallbacks::onConnected);
  handles_->curl->easy_setopt(easy, CURLOPT_PREREQDATA, this);
  if (handles_->curl->multi_add_handle(handles_->multi, easy) != CURLM_OK) {
    handles_->curl->easy_cleanup(easy);
    failed_ = true;
    queue(TransferState::Error);
    deliverPending();
    return;
  }
  handles_->easy = easy;
  active_ = true;

  queue(TransferState::Resolving);
  const auto generation = generation_;
  driveUntil([this] { return headersHandled_; });
  if (generation == generation_) deliverPending();
}

std::optional<std::string> CurlTransfer::getHeader(const std::string& name) const {
  for (const auto& [key, value] : headers_) {
    if (engine::equalsIgnoringAsciiCase(key, name)) return value;
  }
  return std::nullopt;
}

void CurlTransfer::cancel() {
  cancelRequested_ = true;
  pending_.clear();
  if (!active_) return;
  failed_ = true;
  release();
  body_.clear();
  bodyStart_ = 0;
}

std::vector<std::uint8_t> CurlTransfer::readChunk(std::size_t max) {
  // Everything held has been read: the network may go on.
  if (paused_ && active_ && bodyStart_ == body_.size()) {
    paused_ = false;
    handles_->curl->easy_pause(handles_->easy, CURLPAUSE_CONT);
  }
  driveUntil([this] { return bodyStart_ < body_.size(); });
  const auto count = std::min(max, body_.size() - bodyStart_);
  const auto first = body_.begin() + static_cast<std::ptrdiff_t>(bodyStart_);
  std::vector<std::uint8_t> chunk(first, first + static_cast<std::ptrdiff_t>(count));
  bodyStart_ += count;
  if (bodyStart_ == body_.size()) {
    body_.clear();
    bodyStart_ = 0;
  }
  deliverPending();
  return chunk;
}

template <typename Done>
void CurlTransfer::driveUntil(Done done) {
  const auto generation = generation_;
  deliverPending();
  while (generation == generation_ && active_ && !done()) {
    step();
    if (active_ && pastDeadline()) {
      setFailureCause(noAnswerCause(limits_.wholeFileDeadline));
      fail();
    }
    deliverPending();
    if (generation != generation_ || !active_ || done()) break;
    handles_->curl->multi_poll(handles_->multi, nullptr, 0, kPollMilliseconds, nullptr);
    pumpEvents(bodyReceived_ > 0);
  }
}

// One turn of the network: move the data, then act on a complete header block and on the end of the transfer.
void CurlTransfer::step() {
  int running = 0;
  handles_->curl->multi_perform(handles_->multi, &running);
  std::optional<CURLcode> result;
  int left = 0;
  while (CURLMsg* message = handles_->curl->multi_info_read(handles_->multi, &left)) {
    if (message->msg == CURLMSG_DONE && message->easy_handle == handles_->easy) result = message->data.result;
  }
  if (active_ && headersDone_ && !headersHandled_) onHeadersComplete();
  if (active_ && result) finish(*result);
}

void CurlTransfer::onHeadersComplete() {
  headersHandled_ = true;
  long code = 0;
  handles_->curl->easy_getinfo(handles_->easy, CURLINFO_RESPONSE_CODE, &code);
  status_ = static_cast<int>(code);
  // A redirect that arrives as the final response had nowhere to lead (no Location).
  if (status_ >= 400 || status_ / 100 == 3) {
    setFailureCause(status_ >= 400 ? "HTTP status " + std::to_string(status_)
                                   : "redirect (HTTP status " + std::to_string(status_) + ") to nowhere");
    fail();
  } else {
    queue(TransferState::Completed);
  }
}

void CurlTransfer::finish(int curlResult) {
  if (curlResult == CURLE_OK) {
    if (!headersHandled_) onHeadersComplete();
    release();  // the rest of the body is held; the reads hand it out
    return;
  }
  if (status_ == 0) {
    long code = 0;
    handles_->curl->easy_getinfo(handles_->easy, CURLINFO_RESPONSE_CODE, &code);
    status_ = static_cast<int>(code);
  }
  if (!refusal_.empty()) {
    setFailureCause(refusal_);
  } else if (curlResult == CURLE_FILESIZE_EXCEEDED) {
    setFailureCause(largerThanCause(maxBodyBytes()));
  } else if (curlResult == CURLE_TOO_MANY_REDIRECTS) {
    setFailureCause("more than " + std::to_string(limits_.maxRedirects) + " redirects");
  } else if (status_ >= 400) {
    setFailureCause("HTTP status " + std::to_string(status_));
  } else if (curlResult == CURLE_OPERATION_TIMEDOUT) {
    // The connection's time limit, or a streamed body's rate; a whole file's deadline is ours.
    setFailureCause(connected_
                        ? tooSlowCause(limits_)
                        : "no connection within " + std::to_string(limits_.connectTimeout.count()) + " s");
  } else {
    setFailureCause(handles_->curl->easy_strerror(static_cast<CURLcode>(curlResult)));
  }
  fail();
}

bool CurlTransfer::pastDeadline() const {
  return std::chrono::steady_clock::now() >= deadline_;
}

// A failed transfer keeps nothing of its body: a short or broken body must never pass for a whole one.
void CurlTransfer::fail() {
  failed_ = true;
  release();
  body_.clear();
  bodyStart_ = 0;
  if (!cancelRequested_) queue(TransferState::Error);
}

void CurlTransfer::release() {
  if (handles_->easy) {
    handles_->curl->multi_remove_handle(handles_->multi, handles_->easy);
    handles_->curl->easy_cleanup(handles_->easy);
    handles_->easy = nullptr;
  }
  active_ = false;
}

// States only move forward; progress states that libcurl skipped (a reused connection opens no socket) are
// filled in, so that a listener always sees them in order.
void CurlTransfer::queue(TransferState state) {
  if (cancelRequested_) return;
  if (state == TransferState::Error) {
    pending_.push_back(state);
    lastQueued_ = state;
    return;
  }
  if (lastQueued_ && state <= *lastQueued_) return;
  for (const TransferState progress : kProgressStates) {
    if ((!lastQueued_ || progress > *lastQueued_) && progress < state) pending_.push_back(progress);
  }
  pending_.push_back(state);
  lastQueued_ = state;
}

void CurlTransfer::deliverPending() {
  if (delivering_) return;  // the handler being run gets the rest after it returns
  delivering_ = true;
  const auto generation = generation_;
  while (!pending_.empty() && generation == generation_) {
    const TransferState state = pending_.front();
    pending_.pop_front();
    notify(state);
  }
  delivering_ = false;
}

}  // namespace tessalune::update
