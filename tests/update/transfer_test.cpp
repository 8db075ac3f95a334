#include <gtest/gtest.h>

#include <algorithm>
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

// A binary body with NULs and every byte value, longer than several chunks and not a multiple of 1024.
std::string binaryBody(std::size_t size) {
  std::string body(size, '\0');
  for (std::size_t i = 0; i < size; ++i) body[i] = static_cast<char>(i % 3 == 0 ? 0 : (i * 7) % 256);
  return body;
}

// A transfer whose notifications are recorded, as a window would receive them.
struct RecordedTransfer {
  RecordedTransfer() {
    transfer.setStateHandler([this](int state) {
      states.push_back(state);
      if (onState) onState(state);
    });
  }
  // Reads the whole body as the update window's loops do: chunks until an empty one.
  std::string readAllBytes(std::size_t max = 1024) {
    std::string all;
    for (auto chunk = transfer.getChunkBytes(max); !chunk.empty(); chunk = transfer.getChunkBytes(max)) {
      EXPECT_LE(chunk.size(), max);
      chunkSizes.push_back(chunk.size());
      all.append(chunk.begin(), chunk.end());
    }
    return all;
  }
  CurlTransfer transfer;
  std::vector<int> states;
  std::vector<std::size_t> chunkSizes;
  std::function<void(int)> onState;
};

const std::vector<int> kSuccessfulStates = {1, 3, 5, 7, 12};

class TransferTest : public ::testing::Test {
 protected:
  HttpTestServer server;
  RecordedTransfer t;
};

// --- Successful transfers -------------------------------------------------------------------------------

TEST_F(TransferTest, DeliversTheStatesInOrderAndABinaryBodyByteForByteInChunksOf1024) {
  const auto body = binaryBody(5 * 1024 + 300);
  server.serveBody("/TLsetup.exe", body);
  std::string received;
  t.onState = [&](int state) {
    if (state == transfer_state::kCompleted) received = t.readAllBytes();
  };
  t.transfer.request(server.url("/TLsetup.exe"));
  EXPECT_EQ(t.states, kSuccessfulStates);
  EXPECT_EQ(received.size(), body.size());
  EXPECT_TRUE(received == body);
  EXPECT_EQ(t.chunkSizes.front(), 1024u);
  EXPECT_FALSE(t.transfer.failed());
  EXPECT_EQ(t.transfer.httpStatus(), 200);
  EXPECT_TRUE(t.transfer.getChunkBytes().empty()) << "the end stays the end";
}

TEST_F(TransferTest, ReadsTextInChunksOfTheAskedSize) {
  server.serveBody("/TLnewsEN", "Version 2.1: faster gradients.\nNew languages.", {}, "text/plain");
  t.transfer.request(server.url("/TLnewsEN"));
  ASSERT_EQ(t.states.back(), transfer_state::kCompleted);
  std::string text;
  for (auto chunk = t.transfer.getChunkText(8); !chunk.empty(); chunk = t.transfer.getChunkText(8)) {
    EXPECT_LE(chunk.size(), 8u);
    text += chunk;
  }
  EXPECT_EQ(text, "Version 2.1: faster gradients.\nNew languages.");
}

TEST_F(TransferTest, AnEmptyBodyCompletesAndReadsAsTheEnd) {
  server.serveBody("/empty", "");
  t.transfer.request(server.url("/empty"));
  EXPECT_EQ(t.states, kSuccessfulStates);
  EXPECT_EQ(t.transfer.getChunkText(), "");
  EXPECT_FALSE(t.transfer.failed());
}

TEST_F(TransferTest, ReadsAChunkedBodyWithoutContentLength) {
  const auto body = binaryBody(3000);
  server.serveChunked("/chunked", body);
  t.transfer.request(server.url("/chunked"));
  EXPECT_EQ(t.states, kSuccessfulStates);
  EXPECT_FALSE(t.transfer.getHeader("Content-length").has_value());
  EXPECT_TRUE(t.readAllBytes() == body);
  EXPECT_FALSE(t.transfer.failed());
}

TEST_F(TransferTest, ReadsResponseHeadersWithoutRegardToCase) {
  server.serveBody("/TLupdate", "2.1.000", {{"X-Mirror", "  local  "}});
  t.transfer.request(server.url("/TLupdate"));
  EXPECT_EQ(t.transfer.getHeader("Content-length"), "7");
  EXPECT_EQ(t.transfer.getHeader("CONTENT-LENGTH"), "7");
  EXPECT_EQ(t.transfer.getHeader("x-mirror"), "local");
  EXPECT_EQ(t.transfer.getHeader("X-Absent"), std::nullopt);
  EXPECT_EQ(t.transfer.getChunkText(), "2.1.000");
}

TEST_F(TransferTest, LetsTheHostsEventsThroughWhileAReadWaits) {
  server.serveSlowly("/slow", 100, 5, 30ms);
  int pumped = 0;
  t.transfer.setEventPump([&] { ++pumped; });
  t.transfer.request(server.url("/slow"));
  const auto before = pumped;
  EXPECT_EQ(t.readAllBytes().size(), 500u);
  EXPECT_GT(before, 0) << "while the request waits for the headers";
  EXPECT_GT(pumped, before) << "while the chunk reads wait for the body";
}

// --- Failures -------------------------------------------------------------------------------------------

TEST_F(TransferTest, AStatusOf400OrMoreIsAFailureAndNeverABody) {
  for (const int status : {400, 403, 404, 500, 503}) {
    const std::string path = "/status" + std::to_string(status);
    server.serveStatus(path, status, "<html>not the file</html>");
    t.states.clear();
    t.transfer.request(server.url(path));
    EXPECT_EQ(t.states.back(), transfer_state::kError) << status;
    EXPECT_EQ(std::count(t.states.begin(), t.states.end(), transfer_state::kCompleted), 0) << status;
    EXPECT_EQ(std::count(t.states.begin(), t.states.end(), transfer_state::kError), 1) << status;
    EXPECT_TRUE(t.transfer.failed()) << status;
    EXPECT_EQ(t.transfer.httpStatus(), status);
    EXPECT_EQ(t.transfer.getChunkText(), "") << status;
  }
}

TEST_F(TransferTest, ABodyShorterThanItsContentLengthFailsAfterTheHeaders) {
  server.serveShortBody("/TLsetup.exe", binaryBody(2000), 5000);
  std::string received;
  t.onState = [&](int state) {
    if (state == transfer_state::kCompleted) received = t.readAllBytes();
  };
  t.transfer.request(server.url("/TLsetup.exe"));
  EXPECT_EQ(t.transfer.getHeader("Content-Length"), "5000");
  EXPECT_TRUE(t.transfer.failed());
  EXPECT_LT(received.size(), 5000u);
  // The failure found by the reading loop inside the handler of 12 is notified once that handler returns.
  EXPECT_EQ(t.states, (std::vector<int>{1, 3, 5, 7, 12, 11}));
}

TEST_F(TransferTest, AConnectionClosedInTheMiddleOfTheBodyFails) {
  server.serveChunked("/cut", binaryBody(4000), /*closeBeforeEnd=*/true);
  t.transfer.request(server.url("/cut"));
  ASSERT_EQ(t.states.back(), transfer_state::kCompleted);
  EXPECT_FALSE(t.transfer.failed()) << "the body is still arriving";
  EXPECT_LE(t.readAllBytes().size(), 4000u);
  EXPECT_TRUE(t.transfer.failed());
  // Read outside any handler: the failure is notified before the read that found it returns.
  EXPECT_EQ(t.states, (std::vector<int>{1, 3, 5, 7, 12, 11}));
}

TEST_F(TransferTest, AServerThatIsNotThereFailsWithoutAResponse) {
  std::string url;
  {
    HttpTestServer gone;
    url = gone.url("/TLupdate");
  }
  t.transfer.request(url);
  EXPECT_TRUE(t.transfer.failed());
  EXPECT_EQ(t.states.back(), transfer_state::kError);
  EXPECT_EQ(std::count(t.states.begin(), t.states.end(), transfer_state::kCompleted), 0);
  EXPECT_EQ(t.transfer.httpStatus(), 0);
}

TEST_F(TransferTest, AnAddressThatIsNotHttpFails) {
  t.transfer.request("file:///etc/passwd");
  EXPECT_TRUE(t.transfer.failed());
  EXPECT_EQ(t.states.back(), transfer_state::kError);
  EXPECT_EQ(t.transfer.getChunkText(), "");
}

TEST(TransferLimitsTest, AStalledBodyIsAbandonedAsAFailure) {
  HttpTestServer server;
  server.serveSlowly("/TLsetup.exe", 100, 3, 1500ms);
  CurlTransfer transfer(TransferLimits{.lowSpeedTime = 1s});
  std::vector<int> states;
  transfer.setStateHandler([&](int state) { states.push_back(state); });
  const auto start = std::chrono::steady_clock::now();
  transfer.request(server.url("/TLsetup.exe"));
  while (!transfer.getChunkBytes().empty()) {
  }
  EXPECT_TRUE(transfer.failed());
  EXPECT_EQ(states.back(), transfer_state::kError);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 4s) << "well before the whole body would have come";
}

// --- Cancel ---------------------------------------------------------------------------------------------

TEST_F(TransferTest, ACancelFromTheEventPumpStopsTheReadingLoop) {
  server.serveSlowly("/TLsetup.exe", 1024, 200, 20ms);  // four seconds in all
  bool cancelButtonPressed = false;
  std::size_t received = 0;
  t.transfer.setEventPump([&] {
    if (received >= 3 * 1024 && !cancelButtonPressed) {
      cancelButtonPressed = true;
      t.transfer.cancel();
    }
  });
  const auto start = std::chrono::steady_clock::now();
  t.onState = [&](int state) {
    if (state != transfer_state::kCompleted) return;
    for (auto chunk = t.transfer.getChunkBytes(); !chunk.empty(); chunk = t.transfer.getChunkBytes()) {
      received += chunk.size();
    }
  };
  t.transfer.request(server.url("/TLsetup.exe"));
  EXPECT_TRUE(cancelButtonPressed);
  EXPECT_TRUE(t.transfer.failed());
  EXPECT_LT(received, 20u * 1024);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);
  EXPECT_EQ(t.states, kSuccessfulStates) << "a cancel is not notified as an error";
}

TEST_F(TransferTest, ACancelBeforeTheResponseEndsTheRequestWithoutFurtherStates) {
  server.serveBody("/TLupdate", "2.1.000");
  t.onState = [&](int state) {
    if (state == transfer_state::kConnecting) t.transfer.cancel();
  };
  t.transfer.request(server.url("/TLupdate"));
  EXPECT_EQ(t.states, (std::vector<int>{1, 3}));
  EXPECT_TRUE(t.transfer.failed());
  EXPECT_EQ(t.transfer.getChunkText(), "");
}

TEST_F(TransferTest, ARequestAfterACancelWorks) {
  server.serveSlowly("/slow", 1024, 100, 20ms);
  const auto body = binaryBody(4096 + 17);
  server.serveBody("/TLsetup.exe", body);
  t.transfer.request(server.url("/slow"));
  EXPECT_FALSE(t.transfer.getChunkBytes().empty());
  t.transfer.cancel();
  EXPECT_TRUE(t.transfer.getChunkBytes().empty());

  t.states.clear();
  t.transfer.request(server.url("/TLsetup.exe"));
  EXPECT_EQ(t.states, kSuccessfulStates);
  EXPECT_FALSE(t.transfer.failed());
  EXPECT_TRUE(t.readAllBytes() == body);
}

TEST_F(TransferTest, ANewRequestAbandonsOneStillRunning) {
  server.serveSlowly("/slow", 1024, 100, 20ms);
  server.serveBody("/TLupdate", "2.0.708");
  t.transfer.request(server.url("/slow"));
  t.transfer.request(server.url("/TLupdate"));
  EXPECT_EQ(t.transfer.getChunkText(), "2.0.708");
  EXPECT_EQ(t.transfer.getChunkText(), "");
  EXPECT_FALSE(t.transfer.failed());
}

TEST_F(TransferTest, TwoTransfersRunSideBySide) {
  server.serveBody("/TLnewsFR", "Nouvelles");
  server.serveBody("/TLsetup.exe", binaryBody(3000));
  RecordedTransfer news;
  t.transfer.request(server.url("/TLsetup.exe"));
  news.transfer.request(server.url("/TLnewsFR"));
  EXPECT_EQ(news.transfer.getChunkText(), "Nouvelles");
  EXPECT_TRUE(t.readAllBytes() == binaryBody(3000));
}

}  // namespace
}  // namespace tessalune::update
