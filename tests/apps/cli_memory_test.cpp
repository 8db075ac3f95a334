#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "support/http_test_server.h"

extern char** environ;

namespace {

constexpr std::size_t kInputBytes = 4 << 20;

// The peak resident memory, in bytes, of the built command reading input on its standard input,
// with variables ("NAME=value") added to its environment.
std::size_t peakMemoryOf(const std::vector<std::string>& arguments, const std::string& input,
                         const std::vector<std::string>& variables = {}) {
  const std::filesystem::path inputFile =
      std::filesystem::temp_directory_path() / ("tessalune-memory-" + std::to_string(::getpid()) + ".in");
  std::ofstream(inputFile, std::ios::binary) << input;
  std::vector<char*> argv{const_cast<char*>(TESSALUNE_CLI)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (char** v = environ; *v; ++v) envp.push_back(*v);
  for (const std::string& variable : variables) envp.push_back(const_cast<char*>(variable.c_str()));
  envp.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    const int in = ::open(inputFile.c_str(), O_RDONLY), out = ::open("/dev/null", O_WRONLY);
    ::dup2(in, 0), ::dup2(out, 1), ::dup2(out, 2);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  ::wait4(child, &status, 0, &usage);
  std::filesystem::remove(inputFile);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 127);
  return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
}

// Repeats a pattern, each copy made different by a counter, up to the size of the input.
template <typename Piece>
std::string fill(Piece piece, std::size_t bytes = kInputBytes) {
  std::string text;
  for (std::uint32_t n = 0; text.size() < bytes; ++n) text += piece(n * 2654435761u);
  return text;
}

std::string hexColour(std::uint32_t n) {
  char colour[8];
  std::snprintf(colour, sizeof colour, "#%06X", n >> 8);
  return colour;
}

// Every command that reads a whole text holds it a few times over, not once per character
// as styled characters would: megabytes of input need megabytes, not hundreds of them.
TEST(CliMemory, ToolsHoldAFewBytesForEachByteOfInput) {
#ifdef TESSALUNE_SANITIZED
  GTEST_SKIP() << "the sanitizers' shadow memory is not the program's";
#endif
  // The hardest cases: a colour of its own for every character, a text of single-byte characters.
  const std::string plusPerCharacter =
      fill([](std::uint32_t n) { return "\u00B7$" + hexColour(n) + static_cast<char>('a' + n % 26); });
  const std::string plainText =
      fill([](std::uint32_t n) { return std::string("text ") + char('a' + n % 26); });
  const std::string markup =
      "<nick>" + fill([](std::uint32_t n) { return "<FG color=\"" + hexColour(n) + "\"/>x<b/>y<space/>"; }) +
      "</nick>";
  const std::string rtfPerCharacter =
      "{\\rtf1{\\colortbl ;" +
      fill([](std::uint32_t n) {
        return "\\red" + std::to_string(n & 0xFF) + "\\green" + std::to_string(n >> 8 & 0xFF) + "\\blue0;";
      }).substr(0, kInputBytes / 2) +
      "}" + fill([](std::uint32_t n) {
              return "\\cf" + std::to_string(n % 60000) + " a";
            }).substr(0, kInputBytes / 2) +
      "}";
  const std::string rtfPlain = "{\\rtf1 " + plainText + "}";
  // A colour pair of its own for every character makes an RTF document four times the input:
  // large enough that the document must be written as it is made, not held.
  const std::string plusPairPerCharacter = fill(
      [](std::uint32_t n) {
        return "\u00B7$" + hexColour(n) + "," + hexColour(~n) + static_cast<char>('a' + n % 26);
      },
      12 << 20);
  struct Case {
    std::vector<std::string> arguments;
    const std::string& input;
  };
  for (const Case& c : std::vector<Case>{
           {{"render", "--ansi"}, plusPerCharacter},
           {{"render", "--html"}, plusPerCharacter},
           {{"plus2rtf"}, plusPerCharacter},
           {{"plus2rtf"}, plusPairPerCharacter},
           {{"xml2plus"}, markup},
           {{"rtf2xml", "--text", "--answer", "yes"}, rtfPerCharacter},
           {{"rtf2xml", "--text", "--answer", "yes"}, rtfPlain},
           {{"colour", "--text", "--fg", "rainbow", "--bg", "grad:#000000:#FFFFFF:#00FF00", "-"}, plainText},
           {{"colour", "--text", "--fg", "solid:#102030", "-"}, plainText}}) {
    const std::size_t peak = peakMemoryOf(c.arguments, c.input);
    std::string command;
    for (const std::string& argument : c.arguments) command += argument + " ";
    EXPECT_LE(peak, 4 * c.input.size() + (40u << 20)) << command << c.input.size() << " bytes";
  }
}

// 60 MB of zeros with each 4 KB block numbered: it compresses as far as gzip goes, so that
// one read from the network decodes to as much as it can.
std::string installerBytes() {
  constexpr std::size_t kInstallerBytes = 60u << 20;
  std::string installer(kInstallerBytes, '\0');
  for (std::size_t block = 0; block < kInstallerBytes / 4096; ++block) {
    const std::string number = std::to_string(block);
    installer.replace(block * 4096, number.size(), number);
  }
  return installer;
}

std::string gzipped(std::string data) {
  std::string gzip(data.size() / 8, '\0');
  z_stream zs{};
  deflateInit2(&zs, Z_BEST_SPEED, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  zs.next_in = reinterpret_cast<Bytef*>(data.data());
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = reinterpret_cast<Bytef*>(gzip.data());
  zs.avail_out = static_cast<uInt>(gzip.size());
  EXPECT_EQ(deflate(&zs, Z_FINISH), Z_STREAM_END);
  gzip.resize(zs.total_out);
  deflateEnd(&zs);
  return std::string(gzip);  // only what it holds: the child starts as a copy of this process
}

// A download goes to its file as it arrives, encoded or not: an installer sent gzip-encoded
// never lies whole in memory, decoded.
TEST(CliMemory, ADownloadStreamsAnEncodedInstallerToItsFile) {
#ifdef TESSALUNE_SANITIZED
  GTEST_SKIP() << "the sanitizers' shadow memory is not the program's";
#endif
  tessalune::test::HttpTestServer server;
  server.serveBody("/TLupdate", "2.1.000");
  server.serveBody("/TLsetup.exe", gzipped(installerBytes()), {{"Content-Encoding", "gzip"}});
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessalune-memory-download-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "Tessalune");
  const std::size_t peak = peakMemoryOf({"update", "download", "--plugin-dir", dir.string()}, "",
                                        {"TESSALUNE_UPDATE_URL=" + server.url("/")});
  std::ifstream saved(dir / "Tessalune" / "TLsetup.exe", std::ios::binary);
  EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(saved), {}) == installerBytes()) << "saved whole";
  EXPECT_LT(peak, 40u << 20);
  std::filesystem::remove_all(dir);
}

}  // namespace
