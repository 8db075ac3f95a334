#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/http_test_server.h"
#include "update/curl_transfer.h"

namespace tessalune::update {
namespace {

using namespace std::chrono_literals;
using test::HttpTestServer;

// NULs and every byte value, several chunks and not a multiple of 1024.
std::string binaryBody(std::size_t size) {
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>(i % 3 == 0 ? 0 : (i * 7) % 256);
  return body;
}

using enum TransferState;
const std::vector<TransferState> kSuccessfulStates = {Resolving, Connecting, Requesting, Receiving,
                                                      Completed};

class TransferTest : public ::testing::Test {
 protected:
  TransferTest() {
    transfer.setStateHandler([this](TransferState state) {
      states.push_back(state);
      if (onState) onState(state);
    });
  }
  // Chunks until an empty one, as the update window's loops read.
  std::string readAllBytes() {
    std::string all;
    for (auto chunk = transfer.getChunkBytes(1024); !chunk.empty(); chunk = transfer.getChunkBytes(1024)) {
      EXPECT_LE(chunk.size(), 1024u);
      all.append(chunk.begin(), chunk.end());
    }
    return all;
  }
  HttpTestServer server;
  CurlTransfer transfer;
  std::vector<TransferState> states;
  std::function<void(TransferState)> onState;
};

TEST_F(TransferTest, DeliversTheStatesAndBinaryBodiesByteForByteInChunksOf1024) {
  const auto body = binaryBody(5 * 1024 + 300);
  server.serveBody("/TLsetup.exe", body);
  server.serveChunked("/chunked", binaryBody(3000));
  server.serveBody("/empty", "");
  std::string received;
  onState = [&](TransferState state) {
    if (state == TransferState::Completed) received = readAllBytes();
  };
  transfer.request(server.url("/TLsetup.exe"));
  EXPECT_EQ(states, kSuccessfulStates);
  EXPECT_TRUE(received == body);
  EXPECT_FALSE(transfer.failed());
  EXPECT_EQ(transfer.httpStatus(), 200);
  EXPECT_TRUE(transfer.getChunkBytes().empty()) << "the end stays the end";
  for (const auto& [path, expected] :
       std::vector<std::pair<std::string, std::string>>{{"/chunked", binaryBody(3000)}, {"/empty", ""}}) {
    states.clear();
    transfer.request(server.url(path));
    EXPECT_EQ(states, kSuccessfulStates) << path;
    EXPECT_TRUE(received == expected) << path;
    EXPECT_FALSE(transfer.failed()) << path;
  }
}

TEST_F(TransferTest, ReadsResponseHeadersWithoutRegardToCase) {
  server.serveBody("/TLupdate", "2.1.000", {{"X-Mirror", "  local  "}});
  transfer.request(server.url("/TLupdate"));
  EXPECT_EQ(transfer.getHeader("Content-length"), "7");
  EXPECT_EQ(transfer.getHeader("CONTENT-LENGTH"), "7");
  EXPECT_EQ(transfer.getHeader("x-mirror"), "local");
  EXPECT_EQ(transfer.getHeader("X-Absent"), std::nullopt);
  EXPECT_EQ(transfer.getChunkText(), "2.1.000");
}

TEST_F(TransferTest, LetsTheHostsEventsThroughWhileAReadWaits) {
  server.serveSlowly("/slow", 100, 5, 30ms);
  int pumped = 0;
  bool bodyStartedBeforeHeaders = false;
  transfer.setEventPump([&](bool bodyStarted) {
    ++pumped;
    bodyStartedBeforeHeaders = bodyStartedBeforeHeaders || (bodyStarted && transfer.httpStatus() == 0);
  });
  transfer.request(server.url("/slow"));
  const auto before = pumped;
  EXPECT_EQ(readAllBytes().size(), 500u);
  EXPECT_GT(before, 0) << "while the request waits for the headers";
  EXPECT_GT(pumped, before) << "while the chunk reads wait for the body";
  EXPECT_FALSE(bodyStartedBeforeHeaders);
}

TEST_F(TransferTest, AStatusOf400OrMoreIsOneErrorAndNeverABody) {
  for (const int status : {400, 403, 404, 500, 503}) {
    const std::string path = "/status" + std::to_string(status);
    server.serveStatus(path, status, "<html>not the file</html>");
    states.clear();
    transfer.request(server.url(path));
    EXPECT_EQ(states.back(), TransferState::Error) << status;
    EXPECT_EQ(std::count(states.begin(), states.end(), TransferState::Completed), 0) << status;
    EXPECT_EQ(std::count(states.begin(), states.end(), TransferState::Error), 1) << status;
    EXPECT_TRUE(transfer.failed()) << status;
    EXPECT_EQ(transfer.httpStatus(), status);
    EXPECT_EQ(transfer.getChunkText(), "") << status;
  }
}

// A short body read inside the handler of 12 is notified once it returns; a closed
// connection read outside any handler, before the read that found it returns.
TEST_F(TransferTest, AShortBodyOrAClosedConnectionFailsAfterCompletion) {
  server.serveShortBody("/short", binaryBody(2000), 5000);
  std::atomic<bool> letCut = false;
  server.serveCutChunked("/cut", binaryBody(4000), &letCut);
  for (const bool inHandler : {true, false}) {
    states.clear();
    std::string received;
    onState = [&](TransferState state) {
      if (inHandler && state == TransferState::Completed) received = readAllBytes();
    };
    transfer.request(server.url(inHandler ? "/short" : "/cut"));
    if (!inHandler) {
      EXPECT_FALSE(transfer.failed()) << "the body is still arriving";
      letCut = true;
      received = readAllBytes();
    }
    EXPECT_TRUE(transfer.failed()) << inHandler;
    EXPECT_LT(received.size(), inHandler ? 5000u : 4001u);
    EXPECT_EQ(states,
              (std::vector<TransferState>{Resolving, Connecting, Requesting, Receiving, Completed, Error}))
        << inHandler;
  }
}

TEST_F(TransferTest, ACancelFromTheEventPumpStopsTheReadingLoopWithoutAnError) {
  server.serveSlowly("/TLsetup.exe", 1024, 200, 20ms);  // four seconds in all
  bool pressed = false;
  std::size_t received = 0;
  transfer.setEventPump([&](bool) {
    if (received >= 3 * 1024 && !pressed) {
      pressed = true;
      transfer.cancel();
    }
  });
  onState = [&](TransferState state) {
    if (state != TransferState::Completed) return;
    for (auto chunk = transfer.getChunkBytes(); !chunk.empty(); chunk = transfer.getChunkBytes()) {
      received += chunk.size();
    }
  };
  transfer.request(server.url("/TLsetup.exe"));
  EXPECT_TRUE(pressed);
  EXPECT_TRUE(transfer.failed());
  EXPECT_LT(received, 20u * 1024);
  EXPECT_EQ(states, kSuccessfulStates) << "a cancel is not notified as an error";
}

TEST_F(TransferTest, ARequestAfterACancelWorks) {
  server.serveSlowly("/slow", 1024, 100, 20ms);
  const auto body = binaryBody(4096 + 17);
  server.serveBody("/TLsetup.exe", body);
  transfer.request(server.url("/slow"));
  EXPECT_FALSE(transfer.getChunkBytes().empty());
  transfer.cancel();
  EXPECT_TRUE(transfer.getChunkBytes().empty());
  states.clear();
  transfer.request(server.url("/TLsetup.exe"));
  EXPECT_EQ(states, kSuccessfulStates);
  EXPECT_FALSE(transfer.failed());
  EXPECT_TRUE(readAllBytes() == body);
}

// A file read whole ends by its deadline however slowly the server drips it; a streamed one
// may take longer, but not below its minimum rate. The failures say which limit it was.
TEST(TransferLimitsTest, EndTransfersThatDripOrCrawl) {
  HttpTestServer server;
  // The slow ones last several times their limit, so that a loaded machine cannot let them
  // finish before the limit is seen; the steady one outlasts the whole-file deadline but has a
  // rate window so long that no stall of a loaded machine brings it under the minimum rate.
  server.serveSlowly("/drip", 1, 20, 400ms);       // 2.5 bytes a second, for 8 s
  server.serveSlowly("/crawl", 100, 40, 250ms);    // 400 bytes a second, for 10 s
  server.serveSlowly("/steady", 2048, 15, 100ms);  // 20 KB a second, for 1.5 s
  const TransferLimits tight{.wholeFileDeadline = 1s, .rateWindow = 1s};
  const TransferLimits patient{.wholeFileDeadline = 1s, .rateWindow = 20s};
  struct Case {
    std::string path;
    Transfer::Pace pace;
    TransferLimits limits;
    std::string cause;  // empty: the whole body arrives
  };
  for (const Case& c :
       std::vector<Case>{{"/drip", Transfer::Pace::Whole, tight, "no answer within 1 s"},
                         {"/crawl", Transfer::Pace::Streamed, tight, "slower than 1 KB/s for 1 s"},
                         {"/steady", Transfer::Pace::Streamed, patient, ""}}) {
    CurlTransfer transfer(c.limits);
    transfer.setPace(c.pace);
    std::size_t received = 0;
    transfer.request(server.url(c.path));
    for (auto chunk = transfer.getChunkBytes(); !chunk.empty(); chunk = transfer.getChunkBytes()) {
      received += chunk.size();
    }
    EXPECT_EQ(transfer.failed(), !c.cause.empty()) << c.path;
    EXPECT_EQ(transfer.failureCause(), c.cause) << c.path;
    if (c.cause.empty()) {
      EXPECT_EQ(received, 2048u * 15);
    }
  }
}

// Redirects stay on the requested host and scheme; one elsewhere, one without a Location
// and a body longer than allowed are failures, never bodies, and each says why.
TEST_F(TransferTest, RedirectsStayOnTheHostAndBodiesWithinTheirLimit) {
  test::HttpTestServer other;  // the same host on another port is another origin
  other.serveBody("/file", "another body");
  const std::string localhost = "http://localhost:" + std::to_string(server.port()) + "/file";
  server.serveBody("/file", "the body");
  server.serveRedirect("/here", "/file");
  server.serveRedirect("/elsewhere", localhost);
  server.serveRedirect("/otherport", other.url("/file"));
  server.serveRedirect("/local-file", "file:///etc/passwd");
  server.serveRedirect("/gopher", "gopher://127.0.0.1:" + std::to_string(server.port()) + "/");
  server.serveRedirect("/nowhere", std::nullopt);
  server.serveChunked("/unannounced", std::string(5000, 'x'));
  server.serveBody("/announced", std::string(5000, 'x'));
  const auto refused = [](const std::string& url) {
    return "failed: redirect to another address refused: " + url + " (HTTP status 302)";
  };
  const auto fetch = [&](const std::string& path) {
    states.clear();
    transfer.request(server.url(path));
    const std::string body = readAllBytes();
    return transfer.failed() ? "failed: " + transfer.failureCause() : body;
  };
  transfer.setMaxBodyBytes(4096);
  for (const auto& [path, expected] : std::vector<std::pair<std::string, std::string>>{
           {"/here", "the body"},
           {"/elsewhere", refused(localhost)},
           {"/otherport", refused(other.url("/file"))},
           {"/local-file", refused("file:///etc/passwd")},
           {"/gopher", refused("gopher://127.0.0.1:" + std::to_string(server.port()) + "/")},
           {"/nowhere", "failed: redirect (HTTP status 302) to nowhere"},
           {"/unannounced", "failed: the file is larger than 4 KB"},
           {"/announced", "failed: the file is larger than 4 KB"}}) {
    EXPECT_EQ(fetch(path), expected) << path;
    if (expected.starts_with("failed")) {
      EXPECT_EQ(states.back(), TransferState::Error) << path;
    }
  }
}

}  // namespace
}  // namespace tessalune::update
