#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "errors/message_ids.h"

namespace tessalune::plugin {

// What a typed command does; None for a word that is not one of the plug-in's.
enum class Command { Nickname, Text, UseQuickNick, SaveQuickNick, Preferences, About, Help, None };

// One row of the published command table: the word as the host publishes it (without its
// slash, in lower case), what it does, the catalogue message that describes it, and the
// name of its argument (empty: the host's help text is left as it is).
struct CommandRow {
  std::string_view word;
  Command command;
  int description;
  std::string_view help;
};

// The one place the command words are spelled. The host lists the rows in this order; the
// dispatcher tries the words in this order too. "xquicknick" is published twice: with an
// argument it uses a QuickNick, without one it opens the manager.
inline constexpr std::array<CommandRow, 8> kCommandTable{{
    {"xtessalune", Command::Nickname, errors::msg::kCreateColouredNickname, "nickname"},
    {"xondrivela", Command::Text, errors::msg::kCreateColouredText, "text"},
    {"xquicknick", Command::UseQuickNick, errors::msg::kUseQuickNick, "shortcut"},
    {"xquicknicksave", Command::SaveQuickNick, errors::msg::kSaveCurrentNick, "shortcut"},
    {"xquicknick", Command::UseQuickNick, errors::msg::kQuickNicksManagement, ""},
    {"xtessalunecfg", Command::Preferences, errors::msg::kConfiguration, ""},
    {"xtessaluneabout", Command::About, errors::msg::kAbout, ""},
    {"xtessalunehelp", Command::Help, errors::msg::kHelp, ""},
}};

inline constexpr std::int32_t kCommandCount = static_cast<std::int32_t>(kCommandTable.size());

// Whether a row is the first with its word: a word published twice is one command of the
// dispatcher and of a host that registers words.
constexpr bool firstOfItsWord(std::size_t row) {
  for (std::size_t i = 0; i < row; ++i) {
    if (kCommandTable[i].word == kCommandTable[row].word) return false;
  }
  return true;
}

namespace detail {

constexpr std::size_t countWords() {
  std::size_t count = 0;
  for (std::size_t i = 0; i < kCommandTable.size(); ++i) count += firstOfItsWord(i) ? 1 : 0;
  return count;
}

constexpr auto distinctWords() {
  std::array<std::string_view, countWords()> words{};
  std::size_t next = 0;
  for (std::size_t i = 0; i < kCommandTable.size(); ++i) {
    if (firstOfItsWord(i)) words[next++] = kCommandTable[i].word;
  }
  return words;
}

constexpr bool tableIsConsistent() {
  for (std::size_t i = 0; i < kCommandTable.size(); ++i) {
    const CommandRow& row = kCommandTable[i];
    // The catalogue numbers the descriptions in the table's order.
    if (row.description != errors::msg::kCreateColouredNickname + static_cast<int>(i)) return false;
    if (row.word.empty() || row.command == Command::None) return false;
    // The dispatcher compares the typed word lower-cased.
    for (char c : row.word) {
      if (c >= 'A' && c <= 'Z') return false;
    }
    // A word published twice does one thing.
    for (std::size_t j = 0; j < i; ++j) {
      if (kCommandTable[j].word == row.word && kCommandTable[j].command != row.command) return false;
    }
  }
  // Every command has a row.
  for (int c = 0; c < static_cast<int>(Command::None); ++c) {
    bool found = false;
    for (const CommandRow& row : kCommandTable) found = found || row.command == static_cast<Command>(c);
    if (!found) return false;
  }
  return true;
}

}  // namespace detail

static_assert(detail::tableIsConsistent(),
              "command rows: lower-case words, one command per word and a row per command, "
              "descriptions in catalogue order");

// The command words, each once, in the order the dispatcher tries them.
inline constexpr auto kCommandWords = detail::distinctWords();

// The row of a command (its first, for a word published twice).
constexpr const CommandRow& commandRow(Command command) {
  for (const CommandRow& row : kCommandTable) {
    if (row.command == command) return row;
  }
  throw std::invalid_argument("not a command of the table");
}

// The command a typed word selects: the word with its slash, compared ignoring the case of
// ASCII letters and over the whole word ("/XQUICKNICK" selects it, "/xtessalune2" nothing).
Command commandOf(std::string_view typed);

}  // namespace tessalune::plugin
