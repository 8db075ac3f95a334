#include "colour_tools.h"

#include <charconv>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cli_session.h"
#include "engine/colour.h"
#include "engine/plus2rtf.h"
#include "engine/plus_to_styled_text.h"
#include "engine/rtf2xml.h"
#include "engine/side_style.h"
#include "engine/xml2plus.h"
#include "exit_status.h"
#include "io.h"
#include "targets/length_fit.h"
#include "targets/write_target.h"

namespace tessalune::cli {

namespace {

std::optional<bool> answerOf(const std::string& answer) {
  if (answer.empty()) return std::nullopt;
  return answer == "yes";
}

// Text from standard input loses the one line end that closes it, as in the shell.
std::string withoutFinalLineEnd(std::string text) {
  if (text.ends_with("\r\n")) {
    text.resize(text.size() - 2);
  } else if (text.ends_with('\n')) {
    text.pop_back();
  }
  return text;
}

// Every target with its limits, for --help: the table is the one list.
std::string targetList() {
  std::string list;
  for (const targets::TargetInfo& info : targets::kTargets) {
    if (!list.empty()) list += "; ";
    list += std::string(info.name) + " (" + std::string(info.summary) + ", ";
    const char* unit = info.unit == targets::Unit::Utf8Bytes ? " bytes" : " characters";
    if (info.nicknameLimit == 0 && info.messageLimit == 0) {
      list += "no limit";
    } else if (info.nicknameLimit == info.messageLimit) {
      list += std::to_string(info.messageLimit) + unit;
    } else {
      list += std::to_string(info.nicknameLimit) + "/" + std::to_string(info.messageLimit) + unit;
    }
    list += ")";
  }
  return list;
}

// A result written in a target's codes, fitted to the target's limit or the user's.
struct TargetOptions {
  std::string target = "plus";
  int limit = 0;
};

void addTargetOptions(CLI::App& command, TargetOptions& options) {
  command
      .add_option("--as", options.target,
                  "The codes to write the result in, fitted to their limit: " + targetList())
      ->check([](const std::string& name) {
        return targets::targetNamed(name)
                   ? std::string()
                   : "'" + name + "' is not a target (tessalune colour --help lists them)";
      })
      ->capture_default_str();
  command
      .add_option("--limit", options.limit,
                  "The longest result in the target's unit, instead of the target's own limit")
      ->check([](const std::string& value) {
        int n = 0;
        const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
        return error == std::errc() && end == value.data() + value.size() && n > 0
                   ? std::string()
                   : "'" + value + "' is not a limit (a whole number above 0)";
      });
}

// Writes the fitted Plus! text in the target's codes; a target without backgrounds says once
// that the text's were left out.
int writeAs(targets::Target target, const std::string& coded) {
  if (coded.empty()) return kNotDone;
  if (!targets::targetInfo(target).backgrounds && engine::hasBackgroundCode(coded)) {
    std::cerr << "tessalune: " << targets::targetInfo(target).name
              << " has no background colours: the text's were left out\n";
  }
  writeStandardOutput(targets::writeTarget(target, coded));
  return kSuccess;
}

// What colour and convert share: the text (or standard input), a session answering the
// questions, and a conversion in the options' mode fitted to their target; convert makes the
// Plus! text, which is then written in the target's codes. Returns the exit status.
template <typename Options, typename Convert>
int convertFitted(const Options& options, const Convert& convert) {
  CliSession session(answerOf(options.answer));
  const std::string text = options.text == "-" ? withoutFinalLineEnd(readStandardInput()) : options.text;
  const engine::EditorMode mode = options.textMode ? engine::EditorMode::Text : engine::EditorMode::Nickname;
  engine::ConversionContext ctx = session.conversion(mode, options.noEnd);
  const targets::Target target = *targets::targetNamed(options.as.target);
  const std::optional<engine::LengthFit> fit = targets::lengthFit(target, mode, options.as.limit);
  if (fit) ctx.fit = &*fit;
  return writeAs(target, convert(text, session, ctx));
}

struct ColourOptions {
  std::string text;
  bool textMode = false;
  std::string fg = "solid:#000000";
  std::string bg = "none";
  bool noEnd = false;
  engine::WholeTextFormats formats;
  std::string answer;
  TargetOptions as;
};

void addColourTool(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ColourOptions>();
  CLI::App* colour = app.add_subcommand(
      "colour",
      "Colour TEXT with a style, as a command with an argument does, and write its Plus! text (or the "
      "target's text, fitted to its limit). Exit status 1 when the text is refused or declined.");
  colour
      ->add_option("TEXT", options->text, "The text (UTF-8); - reads standard input, less its final line end")
      ->required();
  colour->add_flag("--text", options->textMode,
                   "Message mode (1100 characters) instead of nickname mode (129)");
  colour->add_option("--fg", options->fg, "Text style: " + std::string(engine::kSideStyleForms))
      ->check([](const std::string& v) { return engine::parseSideStyle(v, false).error; })
      ->capture_default_str();
  colour->add_option("--bg", options->bg, "Background style: none, " + std::string(engine::kSideStyleForms))
      ->check([](const std::string& v) { return engine::parseSideStyle(v, true).error; })
      ->capture_default_str();
  colour->add_flag("--no-end", options->noEnd, "No end code after a nickname (the suffix option)");
  colour->add_flag("--bold", options->formats.bold, "Bold over the whole text, as the editor's Bold button");
  colour->add_flag("--italic", options->formats.italic, "Italic over the whole text");
  colour->add_flag("--underline", options->formats.underline, "Underline over the whole text");
  colour->add_flag("--strike", options->formats.strike, "Strike-through over the whole text");
  colour->add_option("--answer", options->answer, "Answer every question yes or no (default: ask, else yes)")
      ->check(CLI::IsMember({"yes", "no"}));
  addTargetOptions(*colour, options->as);
  colour->callback([options, &exitCode] {
    exitCode = convertFitted(
        *options, [&](const std::string& text, CliSession& session, engine::ConversionContext& ctx) {
          return engine::colourWithStyles(text, *engine::parseSideStyle(options->fg, false).style,
                                          *engine::parseSideStyle(options->bg, true).style, session.autoBox,
                                          ctx, options->formats);
        });
  });
}

struct Rtf2XmlOptions {
  bool textMode = false;
  bool background = false;
  bool noEnd = false;
  bool plus = false;
  std::string answer;
};

void addRtf2XmlTool(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<Rtf2XmlOptions>();
  CLI::App* tool = app.add_subcommand(
      "rtf2xml",
      "Load the RTF on standard input into a rich-text box and write its styled-text markup (or Plus! text). "
      "Exit status 1 when the text is refused or declined.");
  tool->add_flag("--text", options->textMode,
                 "Message mode (1100 characters) instead of nickname mode (129)");
  tool->add_flag("--background", options->background, "Convert background colours too");
  tool->add_flag("--no-end", options->noEnd, "No end marker after a nickname (the suffix option)");
  tool->add_flag("--plus", options->plus, "Write the Plus! text of the markup");
  tool->add_option("--answer", options->answer, "Answer every question yes or no (default: ask, else yes)")
      ->check(CLI::IsMember({"yes", "no"}));
  tool->callback([options, &exitCode] {
    CliSession session(answerOf(options->answer));
    engine::ConversionContext ctx = session.conversion(
        options->textMode ? engine::EditorMode::Text : engine::EditorMode::Nickname, options->noEnd);
    engine::RichTextBox box("rtf_nick");
    box.setTextRtf(readStandardInput());
    const std::int16_t flag = options->background ? 1 : 0;
    const std::string out =
        options->plus ? engine::rtf2plus(box, flag, ctx) : engine::rtf2xml(box, flag, ctx);
    writeStandardOutput(out);
    exitCode = out.empty() ? 1 : 0;
  });
}

struct ConvertOptions {
  std::string text;
  std::string from = "plus";
  bool textMode = false;
  bool noEnd = false;
  std::string answer;
  TargetOptions as;
};

void addConvertTool(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ConvertOptions>();
  CLI::App* convert = app.add_subcommand(
      "convert",
      "Load Plus! TEXT into a box as the editor does and write it in a target's codes, its colours thinned "
      "to fit the target's limit as a conversion thins them. Exit status 1 when the text is refused or "
      "declined.");
  convert
      ->add_option("TEXT", options->text,
                   "The Plus! text (UTF-8); - reads standard input, less its final line end")
      ->required();
  convert->add_option("--from", options->from, "The codes TEXT is in")
      ->check(CLI::IsMember({"plus"}))
      ->capture_default_str();
  convert->add_flag("--message", options->textMode, "Message mode (its limits) instead of nickname mode");
  convert->add_flag("--no-end", options->noEnd, "No end code after a nickname (the suffix option)");
  convert->add_option("--answer", options->answer, "Answer every question yes or no (default: ask, else yes)")
      ->check(CLI::IsMember({"yes", "no"}));
  addTargetOptions(*convert, options->as);
  convert->callback([options, &exitCode] {
    exitCode = convertFitted(
        *options, [](const std::string& text, CliSession& session, engine::ConversionContext& ctx) {
          engine::RichTextBox box("rtf_nick");
          box.setTextRtf(engine::plus2rtf(text, session.failures()));
          // Backgrounds are converted when the text has some: the box shows white under every
          // other character, which is no background of the text's.
          return engine::rtf2plus(box, engine::hasBackgroundCode(text) ? 1 : 0, ctx);
        });
  });
}

}  // namespace

void addColourTools(CLI::App& app, int& exitCode) {
  addColourTool(app, exitCode);
  addConvertTool(app, exitCode);
  addRtf2XmlTool(app, exitCode);
}

}  // namespace tessalune::cli
