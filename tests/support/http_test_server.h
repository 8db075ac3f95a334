#pragma once

// A small HTTP server on 127.0.0.1 with a port chosen by the system, for tests of the transfers. It runs on
// its own thread from construction to destruction and serves the routes set on it: fixed bodies, error
// statuses, bodies shorter than their Content-Length, connections closed in the middle of a body, and slow
// bodies. A route that waits for the test (a cut, a silence) waits on a flag the test sets, never on a time.

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace tessalune::test {

class HttpTestServer {
 public:
  HttpTestServer() {
    server_.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
      Route route;
      {
        const std::lock_guard lock(mutex_);
        ++requests_;
        const auto found = routes_.find(request.path);
        if (found == routes_.end()) {
          response.status = 404;
          response.set_content("not found", "text/plain");
          return;
        }
        route = found->second;
      }
      route(response);
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    if (port_ <= 0) throw std::runtime_error("the test server could not bind a port on 127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!server_.is_running()) {
      if (std::chrono::steady_clock::now() > deadline) {
        server_.stop();
        thread_.join();
        throw std::runtime_error("the test server did not start");
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  ~HttpTestServer() {
    stopping_ = true;
    server_.stop();
    if (thread_.joinable()) thread_.join();
  }

  HttpTestServer(const HttpTestServer&) = delete;
  HttpTestServer& operator=(const HttpTestServer&) = delete;

  int port() const { return port_; }
  // The address of a path on this server, for example url("/TLupdate").
  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  int requestCount() const {
    const std::lock_guard lock(mutex_);
    return requests_;
  }

  // A complete body with its Content-Length and optional extra headers.
  void serveBody(const std::string& path, std::string body, std::map<std::string, std::string> headers = {},
                 const std::string& contentType = "application/octet-stream") {
    setRoute(path, [body = std::move(body), headers = std::move(headers), contentType](httplib::Response& r) {
      for (const auto& [name, value] : headers) r.set_header(name, value);
      r.set_content(body, contentType);
    });
  }

  // A 302 to location, or without any Location header.
  void serveRedirect(const std::string& path, std::optional<std::string> location) {
    setRoute(path, [location = std::move(location)](httplib::Response& r) {
      r.status = 302;
      if (location) r.set_header("Location", *location);
    });
  }

  // A status with a body, for example 404 with an error page.
  void serveStatus(const std::string& path, int status, std::string body = "error page") {
    setRoute(path, [status, body = std::move(body)](httplib::Response& r) {
      r.status = status;
      r.set_content(body, "text/html");
    });
  }

  // Announces `announcedLength` bytes, sends `body` (shorter) and closes the connection.
  void serveShortBody(const std::string& path, std::string body, std::size_t announcedLength) {
    setRoute(path, [body = std::move(body), announcedLength](httplib::Response& r) {
      r.set_content_provider(announcedLength, "application/octet-stream",
                             [body](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                               if (offset >= body.size()) return false;  // closes the connection
                               sink.write(body.data() + offset, body.size() - offset);
                               return true;
                             });
    });
  }

  // A body without Content-Length (chunked), its end properly encoded.
  void serveChunked(const std::string& path, std::string body) {
    setRoute(path, [body = std::move(body)](httplib::Response& r) {
      r.set_chunked_content_provider("application/octet-stream",
                                     [body, sent = false](std::size_t, httplib::DataSink& sink) mutable {
                                       if (sent) {
                                         sink.done();
                                         return true;
                                       }
                                       sent = true;
                                       return sink.write(body.data(), body.size());
                                     });
    });
  }

  // A chunked body whose connection is closed after `body` instead of ending the encoding: at
  // once, or, with `cutWhen`, only once the test sets it (so the client is known to be reading).
  void serveCutChunked(const std::string& path, std::string body,
                       const std::atomic<bool>* cutWhen = nullptr) {
    setRoute(path, [this, body = std::move(body), cutWhen](httplib::Response& r) {
      r.set_chunked_content_provider(
          "application/octet-stream",
          [this, body, cutWhen, sent = false](std::size_t, httplib::DataSink& sink) mutable {
            if (sent) {
              if (cutWhen) waitFor(*cutWhen);
              return false;  // closes the connection
            }
            sent = true;
            return sink.write(body.data(), body.size());
          });
    });
  }

  // `count` pieces of `pieceSize` bytes, one every `delay`, with their Content-Length announced; stops early
  // when the client goes away or the server stops.
  void serveSlowly(const std::string& path, std::size_t pieceSize, std::size_t count,
                   std::chrono::milliseconds delay) {
    setRoute(path, [this, pieceSize, count, delay](httplib::Response& r) {
      r.set_content_provider(
          pieceSize * count, "application/octet-stream",
          [this, pieceSize, delay](std::size_t offset, std::size_t, httplib::DataSink& sink) {
            if (stopping_) return false;
            std::this_thread::sleep_for(delay);
            const std::string piece(pieceSize, static_cast<char>('a' + offset / pieceSize % 26));
            return sink.write(piece.data(), piece.size());
          });
    });
  }

  // `body` with its Content-Length announced, one byte every `delay`; stops early when the
  // client goes away or the server stops.
  void serveDripping(const std::string& path, std::string body, std::chrono::milliseconds delay) {
    setRoute(path, [this, body = std::move(body), delay](httplib::Response& r) {
      r.set_content_provider(body.size(), "text/plain",
                             [this, body, delay](std::size_t offset, std::size_t, httplib::DataSink& sink) {
                               if (stopping_) return false;
                               std::this_thread::sleep_for(delay);
                               return sink.write(body.data() + offset, 1);
                             });
    });
  }

  // Takes the request and answers nothing until `speak` is set (or the server stops), then
  // `body`. silencesHeld() counts the requests it is holding.
  void serveSilence(const std::string& path, const std::atomic<bool>& speak, std::string body = "") {
    setRoute(path, [this, &speak, body = std::move(body)](httplib::Response& r) {
      ++silencesHeld_;
      waitFor(speak);
      --silencesHeld_;
      r.set_content(body, "text/plain");
    });
  }
  int silencesHeld() const { return silencesHeld_; }

 private:
  using Route = std::function<void(httplib::Response&)>;

  // Far beyond any wait a passing test makes: a test that never sets a flag fails on its own
  // expectations instead of hanging the server's thread.
  static constexpr std::chrono::seconds kPatience{60};

  // Waits until `flag` is set, the server stops or the patience runs out.
  void waitFor(const std::atomic<bool>& flag) const {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!stopping_ && !flag && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  void setRoute(const std::string& path, Route route) {
    const std::lock_guard lock(mutex_);
    routes_[path] = std::move(route);
  }

  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> silencesHeld_{0};
  mutable std::mutex mutex_;
  std::map<std::string, Route> routes_;
  int requests_ = 0;
};

// A server on 127.0.0.1 that never answers: connections wait in its queue, never read, and
// connectionsHeld() takes those that came and counts them.
class SilentServer {
 public:
  SilentServer() {
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd_, 16) != 0 || ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      throw std::runtime_error("the silent server could not listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
  }
  ~SilentServer() {
    for (const int connection : accepted_) ::close(connection);
    ::close(fd_);
  }
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;

  std::string url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }
  std::size_t connectionsHeld() {
    for (int connection; (connection = ::accept4(fd_, nullptr, nullptr, SOCK_CLOEXEC)) >= 0;) {
      accepted_.push_back(connection);
    }
    return accepted_.size();
  }

 private:
  int fd_ = -1;
  int port_ = 0;
  std::vector<int> accepted_;
};

}  // namespace tessalune::test
