#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kInputBytes = 4 << 20;

// The peak resident memory, in bytes, of the built command reading input on its standard input.
std::size_t peakMemoryOf(const std::vector<std::string>& arguments, const std::string& input) {
  const std::filesystem::path inputFile =
      std::filesystem::temp_directory_path() / ("tessalune-memory-" + std::to_string(::getpid()) + ".in");
  std::ofstream(inputFile, std::ios::binary) << input;
  std::vector<char*> argv{const_cast<char*>(TESSALUNE_CLI)};
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    const int in = ::open(inputFile.c_str(), O_RDONLY), out = ::open("/dev/null", O_WRONLY);
    ::dup2(in, 0), ::dup2(out, 1), ::dup2(out, 2);
    ::execv(argv[0], argv.data());
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
std::string fill(Piece piece) {
  std::string text;
  for (std::uint32_t n = 0; text.size() < kInputBytes; ++n) text += piece(n * 2654435761u);
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
  struct Case {
    std::vector<std::string> arguments;
    const std::string& input;
  };
  for (const Case& c : std::vector<Case>{
           {{"render", "--ansi"}, plusPerCharacter},
           {{"render", "--html"}, plusPerCharacter},
           {{"plus2rtf"}, plusPerCharacter},
           {{"xml2plus"}, markup},
           {{"rtf2xml", "--text", "--answer", "yes"}, rtfPerCharacter},
           {{"rtf2xml", "--text", "--answer", "yes"}, rtfPlain},
           {{"colour", "--text", "--fg", "rainbow", "--bg", "grad:#000000:#FFFFFF:#00FF00", "-"}, plainText},
           {{"colour", "--text", "--fg", "solid:#102030", "-"}, plainText}}) {
    const std::size_t peak = peakMemoryOf(c.arguments, c.input);
    EXPECT_LE(peak, 4 * c.input.size() + (40u << 20)) << c.arguments[0] << " " << c.arguments[1];
  }
}

}  // namespace
