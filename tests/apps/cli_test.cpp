#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/http_test_server.h"

namespace {

std::string readFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Everything a command started with popen writes.
std::string readAll(FILE* pipe) {
  std::string out;
  std::array<char, 4096> buffer{};
  for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
    out.append(buffer.data(), n);
  return out;
}

struct CliRun {
  std::string out;
  int status;
};

// Runs the built command with input on its standard input; with errors, what it writes on
// standard error follows its standard output. Redirections of its own come last.
CliRun runCli(const std::string& arguments, const std::string& input = "",
              const std::string& environment = "", bool errors = false,
              const std::string& redirections = "") {
  const std::filesystem::path inputFile =
      std::filesystem::temp_directory_path() / ("tessalune-cli-" + std::to_string(::getpid()) + ".in");
  std::ofstream(inputFile, std::ios::binary) << input;
  const std::string command = environment + " " + std::string(TESSALUNE_CLI) + " " + arguments + " < " +
                              inputFile.string() + (errors ? " 2>&1" : " 2>/dev/null") + " " + redirections;
  FILE* pipe = ::popen(command.c_str(), "r");
  CliRun run{readAll(pipe), -1};
  run.status = WEXITSTATUS(::pclose(pipe));
  std::filesystem::remove(inputFile);
  return run;
}

TEST(Cli, ToolsFilterStandardInputExactly) {
  const CliRun run =
      runCli("xml2plus", "<nick>\r\n<b/><FG color=\"#000080\"/>a<FG color=\"#0080FF\"/>b<end/>\r\n</nick>");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "\u00B7#\u00B7$2a\u00B7$#0080FFb\u00B70");
  EXPECT_EQ(runCli("plus2rtf", "\u00B7$4x").out,
            "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
            "{\\colortbl ;\\red255\\green255\\blue255;\\red255\\green0\\blue0;}\r\n"
            "\\viewkind4\\uc1\\pard\\lang1033\\fs20\\cf0\\highlight1 \\cf2 x\\cf0\\highlight0\r\n\\par }");
  EXPECT_EQ(runCli("rtf --plain", "{\\rtf1 a\\par b\\par }").out, "a\r\nb");
  const std::string rtf = "{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;}\\cf1 a b}";
  EXPECT_EQ(runCli("rtf2xml --plus", rtf).out, "\u00B7$4a b\u00B70");
  EXPECT_EQ(runCli("rtf2xml --text", rtf).out, "<nick>\r\n<FG color=\"#FF0000\"/>a<space/>b\r\n</nick>");
  EXPECT_EQ(runCli("render", "\u00B7#\u00B7$4a\u00B70b").out,
            "\x1b[1;38;2;255;0;0;48;2;255;255;255ma\x1b[22mb\x1b[0m");
  EXPECT_EQ(runCli("render --html", "\u00B7$4<").out,
            "<span style=\"color:#FF0000;background-color:#FFFFFF;\">&lt;</span>");
}

// The statuses --help lists: 2 for usage and invalid values, 4 for a file that failed; each
// error is one line naming what it concerns, and nothing goes through the plug-in's boxes.
TEST(Cli, ConventionalStatusesAndOneLineErrors) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessalune-cli-usage-" + std::to_string(::getpid()));
  const std::string at = " --plugin-dir " + dir.string();
  const struct {
    std::string arguments;
    int status;
    std::string said;
  } cases[] = {
      {"nosuchcommand", 2, "tessalune: unknown subcommand \"nosuchcommand\"; the subcommands are run, chat"},
      {"", 2, "tessalune: A subcommand is required"},
      {"help", 0, "Usage: tessalune"},
      {"--version", 0, "tessalune 2.0.708\n"},
      {"gradient --from red abc", 2, "tessalune: "},
      {"config show" + at, 0, "/config/nickprefs/FGgrad2\t#0080FF\n"},  // a fresh folder is installed first
      {"config set" + at + " nickprefs/enabled banana", 2,
       "tessalune: /config/nickprefs/enabled: \"banana\" is not a valid value (allowed: 0 or 1)\n"},
      {"config set" + at + " /config/nickprefs 1", 2, "tessalune: /config/nickprefs: no such setting"},
      {"config set" + at + " '//*' X", 2, "tessalune: //*: no such setting"},
      {"config set" + at + " lang xx", 2, "(allowed: fr, en, nl, es, ca or it)"},
      {"config set" + at + " textprefs/FGcolor '#ff8000'", 0, ""},
      {"config import" + at + " " + (dir / "missing.xml").string(), 4,
       "tessalune: " + (dir / "missing.xml").string() + ": no such file\n"},
      {"config export" + at + " /nonexistent/x.xml", 4, "tessalune: /nonexistent/x.xml: "},
  };
  for (const auto& c : cases) {
    const CliRun run = runCli(c.arguments, "", "", true);
    EXPECT_EQ(run.status, c.status) << c.arguments << "\n" << run.out;
    EXPECT_NE(run.out.find(c.said), std::string::npos) << c.arguments << "\n" << run.out;
    EXPECT_EQ(run.out.find("restart"), std::string::npos) << c.arguments;
  }
  EXPECT_NE(runCli("config show" + at).out.find("/config/textprefs/FGcolor\t#FF8000\n"), std::string::npos);
  // "-" and /dev/stdout are the pipe the command writes to: it gets the configuration's bytes.
  for (const char* out : {" -", " /dev/stdout"}) {
    const CliRun run = runCli("config export" + at + out);
    EXPECT_EQ(run.status, 0) << out;
    EXPECT_EQ(run.out, readFile(dir / "Tessalune" / "tessalune.xml")) << out;
  }
  // Standard input that cannot be read is a failure with its reason, never an empty text.
  for (const char* tool : {"plus2rtf", "xml2plus", "render --ansi"}) {
    const std::string command = std::string(TESSALUNE_CLI) + " " + tool + " </ >/dev/null 2>&1";
    EXPECT_EQ(WEXITSTATUS(std::system(command.c_str())), 4) << tool;
  }

  // A damaged data folder: a missing guide comes back, a changed language file only with --force.
  const std::string config = readFile(dir / "Tessalune" / "tessalune.xml");
  std::filesystem::remove(dir / "Tessalune" / "readme.rtf");
  std::ofstream(dir / "Tessalune" / "english.lng") << "mine";
  const CliRun repair = runCli("repair" + at);
  EXPECT_EQ(repair.status, 1);
  EXPECT_EQ(repair.out,
            "restored\tTessalune/readme.rtf\nchanged\tTessalune/english.lng (--force replaces it)\n");
  EXPECT_EQ(runCli("repair --force" + at).out,
            "replaced\tTessalune/english.lng (the old one is Tessalune/english.lng.bak)\n");
  EXPECT_EQ(readFile(dir / "Tessalune" / "english.lng.bak"), "mine");
  EXPECT_EQ(readFile(dir / "Tessalune" / "tessalune.xml"), config);
  // A shipped file cut short or emptied is damage, restored without --force; a backup is a
  // new file, never written through a link standing at its name.
  const std::string guide = readFile(dir / "Tessalune" / "readme.rtf");
  std::ofstream(dir / "Tessalune" / "readme.rtf", std::ios::binary) << guide.substr(0, guide.size() / 2);
  std::ofstream(dir / "Tessalune" / "leeme.rtf", std::ios::binary | std::ios::trunc);
  EXPECT_EQ(runCli("repair" + at).out, "restored\tTessalune/leeme.rtf\nrestored\tTessalune/readme.rtf\n");
  EXPECT_EQ(readFile(dir / "Tessalune" / "readme.rtf"), guide);
  std::ofstream(dir / "victim") << "untouched";
  std::filesystem::create_symlink(dir / "victim", dir / "Tessalune" / "french.lng.bak");
  std::ofstream(dir / "Tessalune" / "french.lng") << "mine too";
  runCli("repair --force" + at);
  EXPECT_EQ(readFile(dir / "victim"), "untouched");
  EXPECT_EQ(readFile(dir / "Tessalune" / "french.lng.bak"), "mine too");
  std::filesystem::remove_all(dir);
}

// Output that cannot be written fails the command, whichever command wrote it: one line names
// the stream and the system's reason, and the status is 4. A reader that went away ends the
// command by SIGPIPE, as a pipe's writer conventionally ends.
TEST(Cli, OutputThatCannotBeWrittenIsAFailure) {
  tessalune::test::HttpTestServer server;
  server.serveBody("/TLupdate", "2.1.000");
  const std::string updates = "TESSALUNE_UPDATE_URL=" + server.url("/");
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessalune-cli-output-" + std::to_string(::getpid()));
  const std::string at = " --plugin-dir " + dir.string();
  // A folder ready beforehand, with a QuickNick to list, so that nothing else is said.
  ASSERT_EQ(runCli("config set" + at + " update 0").status, 0);
  ASSERT_EQ(runCli("run" + at + " --nick Neo '/xquicknicksave w'").status, 0);
  const struct {
    std::string arguments;
    std::string input;
  } cases[] = {
      {"colour Tessalune", ""},
      {"plus2rtf", "\u00B7$4x"},
      {"render --html", "\u00B7$4x"},
      {"xml2plus", "<nick>a</nick>"},
      {"config show" + at, ""},
      {"quicknick list" + at, ""},
      {"commands" + at, ""},
      {"completion bash", ""},
      {"--version", ""},
      {"--help", ""},
      {"update check" + at, ""},
  };
  for (const auto& [redirection, reason] :
       {std::pair{">/dev/full", "No space left on device"}, std::pair{">&-", "Bad file descriptor"}}) {
    for (const auto& c : cases) {
      const CliRun run = runCli(c.arguments, c.input, updates, true, redirection);
      EXPECT_EQ(run.status, 4) << c.arguments << " " << redirection;
      EXPECT_EQ(run.out, std::string("tessalune: standard output: ") + reason + "\n")
          << c.arguments << " " << redirection;
    }
  }
  std::filesystem::remove_all(dir);

  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::close(ends[0]);
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGPIPE, SIG_DFL);
    ::dup2(ends[1], 1);
    ::execl(TESSALUNE_CLI, TESSALUNE_CLI, "completion", "bash", nullptr);
    ::_exit(127);
  }
  ::close(ends[1]);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGPIPE) << status;
}

TEST(CliColour, ColoursWithTheDefaultStyleAndReportsRefusals) {
  EXPECT_EQ(runCli("colour Hello").out, "\u00B7$1Hello\u00B70");
  EXPECT_EQ(runCli("colour --no-end --fg solid:#ff0000 --bg solid:#0000FF Hi").out, "\u00B7$4,12Hi");
  EXPECT_EQ(runCli("colour --text --fg grad1:#000080:#0080FF -", "ab\n").out, "\u00B7$2a\u00B7$#0080FFb");
  EXPECT_EQ(runCli("colour --bold --strike --fg solid:#FF0000 Hi").out, "\u00B7$4\u00B7#\u00B7'Hi\u00B70");
  const CliRun refused = runCli("colour " + std::string(130, 'x'));
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(runCli("colour --fg grad5:#000000:#FFFFFF x").status, 0);
  EXPECT_NE(runCli("colour --fg none x").status, 0);
  // A text that fits once uncoloured: --answer says whether to keep it.
  const std::string fits(125, 'n');
  EXPECT_EQ(runCli("colour --fg solid:#123456 --answer no " + fits).status, 1);
  EXPECT_EQ(runCli("colour --fg solid:#123456 --answer yes " + fits).out, fits + "\u00B70");
}

// A result written in a target's codes: the same colours as the Plus! text shows, fitted to
// the target's limit or the user's; plus is the Plus! text itself; a wrong target or limit
// is one line naming it.
TEST(CliColour, WritesATargetsCodesWithinItsLimit) {
  const std::string red = runCli("colour --fg solid:#FF0000 Hi").out;
  const std::string html = runCli("render --html", red).out;
  const std::string gradient(60, 'g');
  const std::string fitted =
      runCli("colour --as html --limit 2000 --answer yes --fg grad1:#000000:#0000FF " + gradient).out;
  const struct {
    std::string arguments;
    std::string out;  // with standard error after it
    int status;
  } cases[] = {
      {"colour --as plus --fg solid:#FF0000 Hi", red, 0},
      {"colour --as html --fg solid:#FF0000 Hi", html, 0},
      {"convert --from plus --as plus '\u00B7$4Hi'", "\u00B7$4Hi\u00B70", 0},
      {"convert --as plus --no-end '\u00B7$4,12Hi'", "\u00B7$4,12Hi", 0},
      {"convert --from plus --as html --no-end '\u00B7$4Hi'", html, 0},
      {"colour --as bbcode --fg solid:#FF0000 --bg solid:#00FF00 Hi",
       "tessalune: bbcode has no background colours: the text's were left out\n[color=#FF0000]Hi[/color]", 0},
      {"colour --as irc --text --limit 5 \u00E9\u00E9\u00E9",
       "Tessalune: The text is too long for this target (more than 5 bytes).\n", 1},
      {"colour --as html --limit 4 Hello",
       "Tessalune: The text is too long for this target (more than 4 characters).\n", 1},
      {"convert --as plus --limit 4 Hello",
       "Tessalune: The text is too long for this target (more than 4 characters).\n", 1},
      {"colour --as irc2 x",
       "tessalune: --as: 'irc2' is not a target (tessalune colour --help lists them) (tessalune --help)\n",
       2},
      {"colour --as html --limit 0 x",
       "tessalune: --limit: '0' is not a limit (a whole number above 0) (tessalune --help)\n", 2},
      {"convert --from rtf --as html x", "", 2},
  };
  for (const auto& c : cases) {
    const CliRun run = runCli(c.arguments, "", "", true);
    if (!c.out.empty()) {
      EXPECT_EQ(run.out, c.out) << c.arguments;
    }
    EXPECT_EQ(run.status, c.status) << c.arguments << ": " << run.out;
  }
  EXPECT_NE(fitted.find("<span"), std::string::npos) << fitted;
  EXPECT_LE(fitted.size(), 2000u) << fitted;
  EXPECT_GT(fitted.size(), 1000u) << fitted;  // thinned, not bare
  const std::string help = runCli("colour --help").out;
  for (const char* target :
       {"plus", "irc", "irc-hex", "html", "bbcode", "ansi", "minecraft", "minimessage"}) {
    EXPECT_NE(help.find(std::string(target) + " ("), std::string::npos) << target;
  }
}

// Gradients through stops: the rainbow renders its seven colours in order; one colour, or a
// colour that is not one, is a usage error named on one line.
TEST(CliColour, GradientsThroughStops) {
  const std::string rainbow = runCli("colour --fg rainbow Rainbow").out;
  const std::string shown = runCli("render --ansi", rainbow).out;
  std::size_t at = 0;
  for (const char* rgb :
       {"255;0;0", "255;127;0", "255;255;0", "0;255;0", "0;0;255", "75;0;130", "148;0;211"}) {
    at = shown.find(std::string("[38;2;") + rgb, at);  // the text colour, then its background or "m"
    ASSERT_NE(at, std::string::npos) << rgb << " in " << shown;
    EXPECT_FALSE(std::isdigit(static_cast<unsigned char>(shown[at + 6 + std::strlen(rgb)]))) << rgb;
  }
  EXPECT_EQ(runCli("colour --fg mirror:#FF0000:#00FF00:#0000FF --bg grad:#FFFFFF:#000000 abc").out,
            "\u00B7$4,0a\u00B7$12,#7F7F7Fb\u00B7$4,1c\u00B70");
  for (const char* wrong : {"grad:#FF0000", "grad:#FF0000:#00FF0"}) {
    const CliRun run = runCli(std::string("colour --fg ") + wrong + " x", "", "", true);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
  }
}

// Without a home folder (no HOME, and a user the password database does not know) there is
// no default plug-in folder: each command that needs one fails on one line, and nothing is
// created in the current directory.
TEST(CliConfig, WithoutAHomeFolderNothingIsCreated) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can run the command as an unknown user";
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessalune-cli-homeless-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::filesystem::permissions(dir, std::filesystem::perms::all);
  const std::string homeless = "cd " + dir.string() +
                               " && TESSALUNE_UPDATE_URL=http://127.0.0.1:1/ setpriv --reuid=54321 "
                               "--regid=54321 --clear-groups env -u HOME -u XDG_DATA_HOME";
  for (const char* command : {"config show", "repair", "run /xfoo", "update check"}) {
    const CliRun run = runCli(command, "", homeless, true);
    EXPECT_EQ(run.status, 4) << command << "\n" << run.out;
    EXPECT_EQ(run.out,
              "tessalune: no plug-in folder: no home folder was found (HOME is unset or relative and the "
              "password database has none); give --plugin-dir DIR\n")
        << command;
    EXPECT_TRUE(std::filesystem::is_empty(dir)) << command;
  }
  std::filesystem::remove_all(dir);
}

TEST(CliConfig, ImportsAndListsTheQuickNicksOfAPluginFolder) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessalune-cli-config-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "Tessalune");
  const std::string at = " --plugin-dir " + dir.string();
  std::ofstream(dir / "in.xml") << "<config><quicknicks><quicknick shortcut=\"w\"><b/>x</quicknick>"
                                   "<quicknick>y</quicknick></quicknicks></config>";
  EXPECT_EQ(runCli("config import" + at + " " + (dir / "in.xml").string()).status, 0);
  EXPECT_EQ(runCli("quicknick list" + at).out, "w\t\u00B7#x\n(no shortcut)\ty\n");
  // A foreign document is imported, and the restart's load says what it lacks, as after the
  // preferences' import.
  std::ofstream(dir / "other.xml") << "<other/>";
  const CliRun foreign =
      runCli("config import" + at + " " + (dir / "other.xml").string(), "", "LANG=C", true);
  EXPECT_EQ(foreign.status, 0);
  EXPECT_NE(
      foreign.out.find("Config was imported successfully. Tessalune will now be restarted.\n"
                       "Tessalune: Config corrupted: one or more sections are missing in tessalune.xml"),
      std::string::npos)
      << foreign.out;
  std::filesystem::remove_all(dir);
}

TEST(CliHost, PlaysTypedLinesToThePlugin) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessalune-cli-host-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  const std::string at = " --plugin-dir " + dir.string();
  const std::filesystem::path script = dir.string() + ".script";
  std::ofstream(script) << "click panelColorFG_grad(1)\nclick btnOK\n";
  // First run installs the data folder; the editor opens on the argument, the script
  // applies the first gradient preset and presses OK.
  const CliRun edited = runCli("run" + at + " --script " + script.string() + " '/xtessalune ab'");
  EXPECT_EQ(edited.status, 0);
  EXPECT_EQ(edited.out, "/nick2 \u00B7$2a\u00B7$#0080FFb\u00B70");
  EXPECT_TRUE(std::filesystem::exists(dir / "Tessalune" / "readme.rtf"));
  // The typical request: the nickname preset on, gradient 1 from navy to light blue.
  EXPECT_EQ(runCli("config set" + at + " /config/nickprefs/enabled 1").status, 0);
  EXPECT_EQ(runCli("config set" + at + " /config/nickprefs/FGtype 2").status, 0);
  EXPECT_EQ(runCli("run" + at + " '/xtessalune Hello'").out,
            "/nick2 " + runCli("colour --fg grad1:#000080:#0080FF Hello").out);
  // A QuickNick saved from the current nickname comes back by its shortcut.
  EXPECT_EQ(runCli("run" + at + " --nick 'Neo' '/xquicknicksave w'").out, "");
  EXPECT_EQ(runCli("run" + at + " '/xquicknick w'").out, "/nick2 \u00B7$,0Neo\u00B70");
  EXPECT_EQ(runCli("run" + at + " '/xfoo x'").status, 3);
  const std::string chat = runCli("chat --color always" + at, "hello\n/xtessalunecfg\nclose\n/xfoo\n\n").out;
  EXPECT_NE(chat.find("Sent: \x1b[38;2;0;0;0;48;2;255;255;255mhello"), std::string::npos) << chat;
  EXPECT_NE(chat.find("Sent: \x1b[38;2;0;0;0;48;2;255;255;255m/xfoo"), std::string::npos) << chat;
  EXPECT_EQ(chat.find("/xtessalunecfg"), std::string::npos) << chat;
  // In a pipe there is no colour unless asked for, and NO_COLOR yields to --color.
  EXPECT_EQ(runCli("chat" + at, "hello\n\n").out.find('\x1b'), std::string::npos);
  EXPECT_NE(runCli("--color always chat" + at, "hello\n\n", "NO_COLOR=1").out.find('\x1b'),
            std::string::npos);
  // Several words make one line, as they were typed.
  EXPECT_EQ(runCli("run" + at + " /xfoo a  b").status, 3);
  EXPECT_NE(runCli("commands" + at).out.find("/xquicknicksave <shortcut>\tSave current nick\n"),
            std::string::npos);
  // A configuration that does not parse halts the plug-in: nothing is handled.
  std::ofstream(dir / "Tessalune" / "tessalune.xml") << "<config><lang>";
  EXPECT_EQ(runCli("run" + at + " '/xtessalunecfg'").status, 3);
  std::filesystem::remove_all(dir);
  std::filesystem::remove(script);
}

// On a terminal (a pseudo-terminal here) the window listing and the result are coloured,
// unless NO_COLOR or --color never says otherwise.
TEST(CliHost, ColourOnATerminalFollowsNoColorAndTheOption) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessalune-cli-tty-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "script.txt") << "show\ntype Hi\nclick btnOK\n";
  const std::string line =
      "run --plugin-dir " + dir.string() + " --script " + (dir / "script.txt").string() + " /xtessalune";
  const auto onTerminal = [&](const std::string& environment, const std::string& options) {
    const std::string command =
        environment + " script -qec \"" + std::string(TESSALUNE_CLI) + options + " " + line + "\" /dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    const std::string out = readAll(pipe);
    ::pclose(pipe);
    return out;
  };
  const std::string coloured = onTerminal("", "");
  EXPECT_NE(coloured.find("\x1b["), std::string::npos) << coloured;
  EXPECT_NE(coloured.find("nickname: "), std::string::npos) << coloured;
  EXPECT_EQ(onTerminal("NO_COLOR=1", "").find('\x1b'), std::string::npos);
  EXPECT_EQ(onTerminal("", " --color never").find('\x1b'), std::string::npos);
  std::filesystem::remove_all(dir);
}

// Saves started together on one folder are all kept, each under its shortcut: every
// store routine reads, changes and writes the file under one lock.
TEST(CliHost, ConcurrentSavesAreAllKept) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessalune-cli-concurrent-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  const std::string at = " --plugin-dir " + dir.string();
  runCli("run" + at + " '/xquicknicksave first'");
  const std::string saves = "for i in $(seq 1 20); do " + std::string(TESSALUNE_CLI) + " run" + at +
                            " \"/xquicknicksave par$i\" >/dev/null 2>&1 & done; wait";
  ASSERT_EQ(std::system(saves.c_str()), 0);
  const std::string list = runCli("quicknick list" + at).out;
  for (int i = 1; i <= 20; ++i)
    EXPECT_NE(list.find("par" + std::to_string(i) + "\t"), std::string::npos) << i;
  EXPECT_EQ(std::count(list.begin(), list.end(), '\n'), 21) << list;
  std::filesystem::remove_all(dir);
}

TEST(CliUpdate, ChecksAndDownloadsFromTheServer) {
  tessalune::test::HttpTestServer server;
  server.serveBody("/TLupdate", "2.1.000");
  const std::string installer(70000, '\x7f');
  server.serveBody("/TLsetup.exe", installer);
  server.serveBody("/TLnewsEN", "English news");
  server.serveBody("/TLnewsFR", "Nouvelles");
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessalune-cli-update-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "Tessalune");
  const CliRun run =
      runCli("update download --plugin-dir " + dir.string(), "", "TESSALUNE_UPDATE_URL=" + server.url("/"));
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("result\tNew version available ! (2.1.0)\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("status\tFinished\n"), std::string::npos) << run.out;
  // The news follows the language setting, not the interface's.
  runCli("config set --plugin-dir " + dir.string() + " lang fr");
  const CliRun news = runCli("update news --plugin-dir " + dir.string(), "",
                             "LANG=C TESSALUNE_UPDATE_URL=" + server.url("/"), true);
  EXPECT_NE(news.out.find("Nouvelles"), std::string::npos) << news.out;
  std::ifstream saved(dir / "Tessalune" / "TLsetup.exe", std::ios::binary);
  EXPECT_TRUE(std::string(std::istreambuf_iterator<char>(saved), {}) == installer);
  // An installer that cannot be started, a server that cannot be reached and a redirect
  // refused are failures with their cause on a line of their own.
  const CliRun install = runCli("update install --plugin-dir " + dir.string(), "",
                                "TESSALUNE_UPDATE_URL=" + server.url("/"), true);
  EXPECT_EQ(install.status, 4);
  EXPECT_NE(install.out.find("TLsetup.exe: the installer could not be started\n"), std::string::npos)
      << install.out;
  const CliRun unreachable = runCli("update check --plugin-dir " + dir.string(), "",
                                    "TESSALUNE_UPDATE_URL=http://127.0.0.1:1/", true);
  EXPECT_EQ(unreachable.status, 4);
  EXPECT_NE(unreachable.out.find("tessalune: http://127.0.0.1:1/: Couldn't connect"), std::string::npos)
      << unreachable.out;
  tessalune::test::HttpTestServer redirecting;
  redirecting.serveBody("/TLupdate", "2.1.000");
  redirecting.serveRedirect("/TLnewsFR", "file:///etc/passwd");
  const CliRun refused = runCli("update news --plugin-dir " + dir.string(), "",
                                "TESSALUNE_UPDATE_URL=" + redirecting.url("/"), true);
  EXPECT_EQ(refused.status, 4);
  EXPECT_NE(refused.out.find("tessalune: " + redirecting.url("/") +
                             ": redirect to another address refused: file:///etc/passwd (HTTP status 302)\n"),
            std::string::npos)
      << refused.out;
  std::filesystem::remove_all(dir);
}

// A one-shot run is a host without idle time: its result is the whole of it, and the
// automatic update check, however due, never opens a connection.
TEST(CliHost, ARunLeavesTheAutomaticCheckToHostsWithIdleTime) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("tessalune-cli-idle-" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  const std::string at = " --plugin-dir " + dir.string();
  ASSERT_EQ(runCli("config set" + at + " update 1").status, 0);
  tessalune::test::SilentServer server;
  const CliRun run = runCli("run" + at + " --nick Neo '/xquicknicksave w'", "",
                            "TESSALUNE_UPDATE_URL=" + server.url("/"), true);
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.out.find("saved"), std::string::npos) << run.out;
  EXPECT_EQ(server.connectionsHeld(), 0u);
  std::filesystem::remove_all(dir);
}

}  // namespace
