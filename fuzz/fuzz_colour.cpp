// Colours arbitrary text with a style chosen by the first input bytes, as a command with an
// argument does. Whatever the text, the conversion must never halt the plug-in (the markup
// always parses), a coded text that comes back must be valid UTF-8 within the limit, and the
// length reduction must give what its pass-by-pass reference gives, in as many passes.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/direct_colouring.h"
#include "engine/utf8.h"

namespace {

using namespace tessalune;

class YesDialogs : public platform::Dialogs {
 public:
  platform::Answer messageBox(std::string_view, std::string_view, platform::Icon,
                              platform::Buttons) override {
    return platform::Answer::Yes;
  }
  std::optional<std::uint32_t> chooseColour(std::uint32_t) override { return std::nullopt; }
  std::string chooseFile(const platform::FileDialogRequest&) override { return {}; }
};

class NoMessages : public errors::MessageTexts {
 public:
  std::string message(int) const override { return {}; }
};

class FailOnReport : public errors::ErrorReport {
 public:
  void reportError(std::string_view kind, std::string_view source, std::int32_t number,
                   std::string_view description, std::int16_t, std::string_view) override {
    std::fprintf(stderr, "%.*s failure in %.*s (%d): %.*s\n", static_cast<int>(kind.size()), kind.data(),
                 static_cast<int>(source.size()), source.data(), number, static_cast<int>(description.size()),
                 description.data());
    std::abort();
  }
};

class FailOnHalt : public errors::Lifecycle {
 public:
  void unloadForms() override {}
  void setHalted() override {
    std::fprintf(stderr, "the conversion halted the plug-in\n");
    std::abort();
  }
  void initPlugin() override {}
  void writeDefaultConfiguration() override {}
  void loadConfig() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int mode = data[0] & 1 ? engine::editor_mode::kText : engine::editor_mode::kNickname;
  engine::StylePreset preset;
  preset.FGtype = 1 + (data[1] & 1);
  preset.FGgradtype = 1 + ((data[1] >> 1) & 3);
  preset.FGcolor = 0x123456;
  preset.FGgrad1 = 0x0000FF;
  preset.FGgrad2 = 0xFF8000;
  preset.BGtype = data[2] % 3;
  preset.BGgradtype = 1 + ((data[2] >> 2) & 3);
  preset.BGcolor = 0x00FFFF;
  preset.BGgrad1 = 0xFFFFFF;
  preset.BGgrad2 = 0x000000;
  const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);

  YesDialogs dialogs;
  NoMessages messages;
  FailOnReport report;
  errors::StepMarker step;
  errors::FailureContext failures{report, step};
  FailOnHalt lifecycle;
  engine::RichTextBox autoBox, scratch;
  engine::ConversionContext ctx{mode, (data[0] & 2) != 0, dialogs, messages, failures, lifecycle, scratch};
  const std::string coded = engine::colourArgument(text, preset, autoBox, ctx);
  engine::ConversionContext reference = ctx;
  reference.referenceReduction = true;
  if (engine::colourArgument(text, preset, autoBox, reference) != coded ||
      reference.reductionPasses != ctx.reductionPasses) {
    std::fprintf(stderr, "the length reduction left its reference (%d passes against %d)\n",
                 ctx.reductionPasses, reference.reductionPasses);
    std::abort();
  }
  if (!engine::isValidUtf8(coded) ||
      engine::countChars(coded) > static_cast<std::size_t>(engine::lengthLimit(mode))) {
    std::fprintf(stderr, "coded text invalid or over the limit (%zu bytes)\n", coded.size());
    std::abort();
  }
  return 0;
}
