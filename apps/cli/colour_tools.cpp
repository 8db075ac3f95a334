#include "colour_tools.h"

#include <memory>
#include <optional>
#include <string>

#include "cli_session.h"
#include "engine/colour.h"
#include "engine/rtf2xml.h"
#include "engine/side_style.h"
#include "engine/xml2plus.h"
#include "io.h"

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

struct ColourOptions {
  std::string text;
  bool textMode = false;
  std::string fg = "solid:#000000";
  std::string bg = "none";
  bool noEnd = false;
  engine::WholeTextFormats formats;
  std::string answer;
};

void addColourTool(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<ColourOptions>();
  CLI::App* colour = app.add_subcommand(
      "colour",
      "Colour TEXT with a style, as a command with an argument does, and write its Plus! text. "
      "Exit status 1 when the text is refused or declined.");
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
  colour->callback([options, &exitCode] {
    CliSession session(answerOf(options->answer));
    const std::string text = options->text == "-" ? withoutFinalLineEnd(readStandardInput()) : options->text;
    engine::ConversionContext ctx = session.conversion(
        options->textMode ? engine::EditorMode::Text : engine::EditorMode::Nickname, options->noEnd);
    const std::string coded = engine::colourWithStyles(
        text, *engine::parseSideStyle(options->fg, false).style,
        *engine::parseSideStyle(options->bg, true).style, session.autoBox, ctx, options->formats);
    writeStandardOutput(coded);
    exitCode = coded.empty() ? 1 : 0;
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

}  // namespace

void addColourTools(CLI::App& app, int& exitCode) {
  addColourTool(app, exitCode);
  addRtf2XmlTool(app, exitCode);
}

}  // namespace tessalune::cli
