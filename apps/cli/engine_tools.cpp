#include "engine_tools.h"

#include <iostream>
#include <memory>
#include <string>

#include "cli_session.h"
#include "engine/colour.h"
#include "engine/gradient.h"
#include "engine/plus2rtf.h"
#include "engine/rich_text_box.h"
#include "engine/xml2plus.h"
#include "exit_status.h"
#include "io.h"

namespace tessalune::cli {

namespace {

std::string validColour(const std::string& value) {
  return isColourText(value) ? std::string{} : "expected #RRGGBB";
}

struct GradientOptions {
  std::string text;
  std::string from = "#000080";
  std::string to = "#0080FF";
  int preset = 1;
  bool background = false;
};

void addGradientTool(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<GradientOptions>();
  CLI::App* gradient = app.add_subcommand(
      "gradient", "Paint a gradient preset over TEXT in a rich-text box and write the box's RTF.");
  gradient->add_option("TEXT", options->text, "The text to paint (UTF-8)")->required();
  gradient->add_option("--preset", options->preset, "Gradient preset: 1, 2 linear; 3, 4 mirrored")
      ->check(CLI::Range(1, 4));
  gradient->add_option("--from", options->from, "Colour 1 as #RRGGBB")->check(validColour);
  gradient->add_option("--to", options->to, "Colour 2 as #RRGGBB")->check(validColour);
  gradient->add_flag("--background", options->background, "Paint the background instead of the text colour");
  gradient->callback([options, &exitCode] {
    CliSession session(std::nullopt);
    engine::PaintContext paint{session.scratch, session.failures()};
    engine::RichTextBox& box = session.autoBox;
    box.setText(options->text);
    if (box.length() > engine::kMaxGradientEnd) {
      std::cerr << "tessalune gradient: TEXT has " << box.length()
                << " characters; a gradient paints at most " << engine::kMaxGradientEnd << "\n";
      exitCode = kUsage;
      return;
    }
    const engine::TwoColourGradient preset =
        engine::presetGradient(*engine::gradientPresetNumbered(options->preset),
                               engine::hex2rgb(options->from), engine::hex2rgb(options->to));
    engine::doGradient(box, 0, box.length(), preset.first, preset.second, box.length(), preset.kind,
                       options->background ? engine::PaintTarget::Background : engine::PaintTarget::Text,
                       paint);
    std::string rtf = box.textRtf();
    rtf.pop_back();  // the terminating NUL is not printable output
    writeStandardOutput(rtf);
    exitCode = session.failed() ? 1 : 0;
  });
}

}  // namespace

void addEngineTools(CLI::App& app, int& exitCode) {
  CLI::App* xml2plus =
      app.add_subcommand("xml2plus", "Read styled-text markup on standard input, write its Plus! text.");
  xml2plus->callback([&exitCode] {
    CliSession session(std::nullopt);
    writeStandardOutput(engine::xml2plus(readStandardInput(), session.failures()));
    exitCode = session.failed() ? 1 : 0;
  });

  CLI::App* plus2rtf = app.add_subcommand(
      "plus2rtf", "Read Plus! text on standard input, write the RTF document that shows it.");
  plus2rtf->callback([&exitCode] {
    CliSession session(std::nullopt);
    // The document is several times the size of its text: it goes out as it is made.
    StandardOutput out;
    engine::plus2rtf(readStandardInput(), session.failures(),
                     [&out](std::string_view part) { out.write(part); });
    out.finish();
    exitCode = session.failed() ? 1 : 0;
  });

  CLI::App* rtf = app.add_subcommand(
      "rtf",
      "Load the RTF on standard input into a rich-text box and write the box's own RTF (or its text).");
  auto plain = std::make_shared<bool>(false);
  rtf->add_flag("--plain", *plain, "Write the box's plain text instead");
  rtf->callback([plain] {
    engine::RichTextBox box;
    box.setTextRtf(readStandardInput());
    std::string out = *plain ? box.text() : box.textRtf();
    if (!*plain) out.pop_back();  // the terminating NUL is not printable output
    writeStandardOutput(out);
  });

  addGradientTool(app, exitCode);
}

}  // namespace tessalune::cli
