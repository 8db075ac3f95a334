#include "lang/translation.h"

#include <utility>

#include "engine/utf8.h"
#include "errors/message_ids.h"
#include "platform/file_system.h"

namespace tessalune::lang {

namespace msg = errors::msg;

namespace {

// The editor's title in each mode, and the captions its frame and whole-text box take
// when no language file could be read.
constexpr std::string_view kNicknameTitle = "Tessalune";
constexpr std::string_view kTextTitle = "Ondrivela";
constexpr std::string_view kNickFrameBuiltIn = "Mon Pseudo";
constexpr std::string_view kNickAllBuiltIn = "Colorer l'intégralité du pseudo au lieu de la sélection";
constexpr std::string_view kTextFrameBuiltIn = "Mon message";
constexpr std::string_view kTextAllBuiltIn = "Colorer l'intégralité du texte au lieu de la sélection";

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

std::vector<std::string> translationLines(std::string_view bytes) {
  // The whole file decides the character set: UTF-8 when it is valid UTF-8, else Windows-1252.
  const std::string decoded = engine::decodeTextFile(bytes);
  std::string_view text = decoded;
  // A signature some editors write at the start of a UTF-8 file is not part of the first line.
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());

  std::vector<std::string> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty() || line.front() == '\'') continue;
    lines.emplace_back(line);
  }
  return lines;
}

Translation::Translation(std::filesystem::path pluginDir, const errors::MessageTexts& messages,
                         platform::Dialogs& dialogs)
    : pluginDir_(std::move(pluginDir)), messages_(messages), dialogs_(dialogs) {}

void Translation::loadLanguage(std::string_view name) {
  missing_ = false;
  lines_.clear();

  // A file that is missing, cannot be read, is no plain file or is larger than any
  // language file counts as missing.
  const platform::FileContents file =
      platform::readFile(platform::systemFileSystem(),
                         pluginDir_ / "Tessalune" / (std::string(name) + ".lng"), kMaxLanguageFileBytes);
  const bool complete = file.error == 0;
  std::string bytes = file.bytes;
  // A read that broke off keeps only the lines it finished.
  if (!complete) {
    const std::size_t lastEnd = bytes.find_last_of('\n');
    bytes.resize(lastEnd == std::string::npos ? 0 : lastEnd + 1);
  }

  lines_ = translationLines(bytes);

  if (!complete) {
    dialogs_.message(messages_.message(msg::kMissingTranslation) + std::string(name) + ".",
                     platform::Icon::Critical);
    missing_ = true;
  }
}

bool Translation::applyLanguage(const CaptionList& captions) const {
  if (missing_) return false;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    if (i >= lines_.size() || captions[i] == nullptr) {
      dialogs_.message(messages_.message(msg::kIncompleteTranslation), platform::Icon::Critical);
      return false;
    }
    captions[i]->setCaption(lines_[i]);
  }
  return true;
}

ModeCaptions Translation::modeCaptions(engine::EditorMode mode) const {
  const bool text = mode == engine::EditorMode::Text;
  return {std::string(text ? kTextTitle : kNicknameTitle),
          modeCaption(text ? kTextFrameLine : kNickFrameLine, text ? kTextFrameBuiltIn : kNickFrameBuiltIn),
          modeCaption(text ? kTextAllLine : kNickAllLine, text ? kTextAllBuiltIn : kNickAllBuiltIn)};
}

std::optional<std::string> Translation::line(std::size_t number) const {
  if (number == 0 || number > lines_.size()) return std::nullopt;
  return lines_[number - 1];
}

std::optional<std::string> Translation::modeCaption(std::size_t number, std::string_view builtIn) const {
  if (missing_) return std::string(builtIn);
  return line(number);
}

}  // namespace tessalune::lang
