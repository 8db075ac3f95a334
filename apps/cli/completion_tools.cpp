#include "completion_tools.h"

#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "exit_status.h"

namespace tessalune::cli {

namespace {

struct Command {
  std::string name;
  std::string description;
  std::vector<std::string> words;  // its subcommands and long options
};

std::vector<Command> commandsOf(const CLI::App& app) {
  std::vector<Command> commands;
  for (const CLI::App* sub : app.get_subcommands({})) {
    Command command{sub->get_name(), sub->get_description(), {}};
    for (const CLI::App* nested : sub->get_subcommands({})) command.words.push_back(nested->get_name());
    for (const CLI::Option* option : sub->get_options()) {
      for (const std::string& name : option->get_lnames()) command.words.push_back("--" + name);
    }
    commands.push_back(std::move(command));
  }
  return commands;
}

std::string joined(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
  return out;
}

// A description on one line without the quotes the shells' syntax uses.
std::string firstSentence(const std::string& text) {
  std::string out = text.substr(0, text.find(". "));
  for (char& c : out) {
    if (c == '\'' || c == '"' || c == '\n' || c == ':') c = ' ';
  }
  return out;
}

std::string bash(const std::vector<Command>& commands) {
  std::vector<std::string> names;
  for (const Command& c : commands) names.push_back(c.name);
  std::string out =
      "# bash completion for tessalune\n_tessalune() {\n  local cur=${COMP_WORDS[COMP_CWORD]}\n"
      "  if [ \"$COMP_CWORD\" -eq 1 ]; then\n    COMPREPLY=($(compgen -W \"" +
      joined(names) +
      " --help --version --color\" -- \"$cur\"))\n    return\n  fi\n  case ${COMP_WORDS[1]} in\n";
  for (const Command& c : commands)
    out += "    " + c.name + ") COMPREPLY=($(compgen -W \"" + joined(c.words) + "\" -- \"$cur\")) ;;\n";
  return out + "  esac\n}\ncomplete -o default -F _tessalune tessalune\n";
}

std::string zsh(const std::vector<Command>& commands) {
  std::string out = "#compdef tessalune\n_tessalune() {\n  local -a commands\n  commands=(\n";
  for (const Command& c : commands) out += "    '" + c.name + ":" + firstSentence(c.description) + "'\n";
  out +=
      "  )\n  if (( CURRENT == 2 )); then\n    _describe 'command' commands\n    return\n  fi\n  case "
      "$words[2] in\n";
  for (const Command& c : commands) out += "    " + c.name + ") compadd -- " + joined(c.words) + " ;;\n";
  return out + "  esac\n  _files\n}\n_tessalune \"$@\"\n";
}

std::string fish(const std::vector<Command>& commands) {
  std::string out = "# fish completion for tessalune\ncomplete -c tessalune -f\n";
  for (const Command& c : commands) {
    out += "complete -c tessalune -n __fish_use_subcommand -a " + c.name + " -d '" +
           firstSentence(c.description) + "'\n";
    if (!c.words.empty())
      out += "complete -c tessalune -n '__fish_seen_subcommand_from " + c.name + "' -a '" + joined(c.words) +
             "'\n";
  }
  return out;
}

}  // namespace

void addCompletionTools(CLI::App& app, int& exitCode) {
  auto shell = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand("completion", "Print a completion script for bash, zsh or fish.");
  command->add_option("SHELL", *shell, "bash, zsh or fish")
      ->required()
      ->check(CLI::IsMember({"bash", "zsh", "fish"}));
  command->callback([shell, &app, &exitCode] {
    const std::vector<Command> commands = commandsOf(app);
    std::cout << (*shell == "bash" ? bash(commands) : *shell == "zsh" ? zsh(commands) : fish(commands));
    exitCode = kSuccess;
  });
}

}  // namespace tessalune::cli
