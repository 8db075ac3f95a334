#include "host_tools.h"

#include <poll.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <iostream>
#include <memory>
#include <optional>

#include "engine/plus_to_styled_text.h"
#include "exit_status.h"
#include "io.h"
#include "platform/embedded_resources.h"
#include "platform/terminal_colour.h"
#include "plugin/command_table.h"
#include "plugin/settings_session.h"
#include "plugin_module.h"
#include "targets/ansi_render.h"
#include "targets/html_render.h"

namespace tessalune::cli {

namespace {

struct HostOptions {
  // Empty where the user has no home folder: the command then fails, saying so.
  std::string pluginDir = plugin::defaultPluginDir().value_or("").string();
  std::string nick = "Tessalune";
  std::string answer;
  std::string script;
};

void addHostOptions(CLI::App* command, HostOptions& options) {
  command->add_option("--plugin-dir", options.pluginDir, "The plug-in's folder")->capture_default_str();
  command->add_option("--nick", options.nick, "The starting nickname (friendly name, may hold Plus! codes)")
      ->capture_default_str();
  command->add_option("--answer", options.answer, "Answer every question yes or no (default: ask, else yes)")
      ->check(CLI::IsMember({"yes", "no"}));
  command->add_option("--script", options.script, "Drive the plug-in's windows from this file of commands");
}

// As an installer would: a plug-in folder without its data folder gets the shipped one.
void installDataFolder(const std::filesystem::path& pluginDir) {
  if (plugin::installDataFolder(pluginDir)) {
    std::cerr << "Tessalune: installed the data folder in " << (pluginDir / "Tessalune").string() << "\n";
  }
}

// The plug-in module as the terminal host loads it: through its C interface, with the
// windows driven by a script or the terminal and message boxes on standard error.
class HostSession {
 public:
  explicit HostSession(const HostOptions& options) {
    const std::string pluginDir =
        options.pluginDir.empty() ? plugin::requireDefaultPluginDir().string() : options.pluginDir;
    installDataFolder(pluginDir);
    module_.nickname = options.nick;
    module_.start(pluginDir, options.answer.empty() ? std::nullopt : std::optional(options.answer),
                  options.script.empty() ? std::nullopt : std::optional(options.script));
  }

  PluginModule& plugin() { return module_; }
  void setNickname(std::string nickname) { module_.nickname = std::move(nickname); }
  const std::string& nickname() const { return module_.nickname; }

 private:
  PluginModule module_;
};

// The command word is the line up to its first space; the argument is the rest after that
// one space, untouched.
std::pair<std::string, std::string> splitLine(const std::string& line) {
  const std::size_t space = line.find(' ');
  if (space == std::string::npos) return {line, ""};
  return {line.substr(0, space), line.substr(space + 1)};
}

// Colour where the output may carry it (a terminal, unless NO_COLOR or --color says otherwise).
targets::AnsiMode decoration(int fd) {
  return platform::colourWanted(fd) ? targets::AnsiMode::Colour : targets::AnsiMode::Plain;
}

std::string renderPlus(const std::string& plus, targets::AnsiMode mode) {
  return targets::renderAnsi(engine::plusToStyledText(plus), mode);
}

void printCommands(PluginModule& plugin, std::ostream& out) {
  out << plugin.pluginName() << "\n";
  const std::int32_t count = plugin.commandCount();
  for (std::int32_t i = 1; i <= count; ++i) {
    const PluginModule::Row row = plugin.commandRow(i);
    out << "/" << row.value << (row.help.empty() ? "" : " <" + row.help + ">") << "\t" << row.name << "\n";
  }
}

// Whether a line (or the end of input) waits on standard input.
bool inputWaiting() {
  pollfd in{0, POLLIN, 0};
  return ::poll(&in, 1, 0) > 0;
}

// The plug-in's idle work (its automatic update check) after the host's own; its failure is
// told but is not the command's.
void giveIdleTime(HostSession& session, const std::function<bool()>& keepWaiting) {
  try {
    session.plugin().idle(keepWaiting);
  } catch (const std::exception& e) {
    std::cerr << "tessalune: " << e.what() << "\n";
  }
}

void chat(HostSession& session) {
  std::cout << "Nickname: " << renderPlus(session.nickname(), decoration(1)) << "\n"
            << "Type a message, a command (/help lists them), or an empty line to leave.\n";
  std::string line;
  // While the prompt waits for a line, the plug-in may use the time, until one comes.
  const auto idle = [&session] {
    if (!inputWaiting()) giveIdleTime(session, [] { return !inputWaiting(); });
    return true;
  };
  while (std::cout << "> " << std::flush, idle() && std::getline(std::cin, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) break;
    if (line == "/help") {
      printCommands(session.plugin(), std::cout);
      continue;
    }
    // A line the plug-in handles is replaced by its result (possibly nothing); any other
    // line is sent as typed.
    std::string result = line;
    if (line.front() == '/') {
      const auto [command, argument] = splitLine(line);
      std::string replacement;
      try {
        if (session.plugin().parseCommand(command, argument, replacement)) result = replacement;
      } catch (const std::exception& e) {
        std::cerr << "tessalune: " << e.what() << "; nothing was sent\n";
        continue;
      }
    }
    if (result.empty()) continue;
    if (result.starts_with("/nick2 ")) {
      session.setNickname(result.substr(7));
      std::cout << "Nickname: " << renderPlus(result.substr(7), decoration(1)) << "\n";
    } else {
      std::cout << "Sent: " << renderPlus(result, decoration(1)) << "\n";
    }
  }
}

template <typename Body>
void hostCallback(CLI::App* command, std::shared_ptr<HostOptions> options, int& exitCode, Body body) {
  command->callback([options, &exitCode, body] {
    try {
      HostSession session(*options);
      exitCode = body(session);
    } catch (const std::exception& e) {
      std::cerr << "tessalune: " << e.what() << "\n";
      exitCode = kFileOrNetwork;
    }
  });
}

}  // namespace

void addHostTools(CLI::App& app, int& exitCode) {
  auto runOptions = std::make_shared<HostOptions>();
  auto words = std::make_shared<std::vector<std::string>>();
  CLI::App* run =
      app.add_subcommand("run",
                         "Play one typed line to the plug-in as the chat host does and print its result "
                         "exactly. Exit status 0 when "
                         "the plug-in handled the line, 3 when it did not (not its command, or halted), 1 "
                         "when the call failed.");
  run->add_option(
         "LINE", *words,
         "The typed line, e.g. /" + std::string(plugin::commandRow(plugin::Command::Nickname).word) +
             " Hello; several words are joined with single spaces, one quoted argument passes exactly")
      ->required();
  addHostOptions(run, *runOptions);
  hostCallback(run, runOptions, exitCode, [words](HostSession& session) {
    std::string line;
    for (const std::string& word : *words) line += (line.empty() ? "" : " ") + word;
    const auto [command, argument] = splitLine(line);
    std::string result;
    const bool handled = session.plugin().parseCommand(command, argument, result);
    writeStandardOutput(result);
    // A person sees the result as it will look; standard output keeps the exact bytes.
    if (!result.empty() && ::isatty(1) && ::isatty(2)) {
      const bool nickname = result.starts_with("/nick2 ");
      std::cerr << (nickname ? "nickname: " : "sent: ")
                << renderPlus(nickname ? result.substr(7) : result, decoration(2)) << "\n";
    }
    std::cout.flush();
    // A one-shot run has no idle time: the automatic update check is for hosts that wait
    // for their user (chat, the desktop, the chat clients).
    return handled ? 0 : kNotHandled;
  });

  auto chatOptions = std::make_shared<HostOptions>();
  CLI::App* chatCommand = app.add_subcommand(
      "chat",
      "An interactive conversation: typed lines go to the plug-in, results set the nickname or are sent.");
  addHostOptions(chatCommand, *chatOptions);
  hostCallback(chatCommand, chatOptions, exitCode, [](HostSession& session) {
    chat(session);
    return 0;
  });

  auto commandOptions = std::make_shared<HostOptions>();
  CLI::App* commands = app.add_subcommand("commands", "Print the plug-in's published command table.");
  addHostOptions(commands, *commandOptions);
  hostCallback(commands, commandOptions, exitCode, [](HostSession& session) {
    printCommands(session.plugin(), std::cout);
    return 0;
  });

  auto html = std::make_shared<bool>(false);
  auto ansi = std::make_shared<bool>(false);
  CLI::App* render =
      app.add_subcommand("render", "Render Plus! text from standard input (ANSI colours, or HTML).");
  render->add_flag("--ansi", *ansi, "ANSI 24-bit colours on the terminal (the default)");
  render->add_flag("--html", *html, "An HTML fragment");
  // The callback holds both flags: CLI11 writes into them until the command line is parsed.
  render->callback([html, ansi] {
    // The input goes as soon as its RTF is written, the RTF once it is read.
    const engine::StyledText text = engine::plusToStyledText(readStandardInput());
    StandardOutput out;
    const auto write = [&out](std::string_view part) { out.write(part); };
    if (*html) {
      targets::renderHtml(text, write);
    } else {
      targets::renderAnsi(text, targets::AnsiMode::Colour, write);
    }
    out.finish();
  });
}

}  // namespace tessalune::cli
