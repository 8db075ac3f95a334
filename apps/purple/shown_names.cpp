#include "shown_names.h"

#include <algorithm>
#include <cmath>

#include "engine/plus_to_styled_text.h"
#include "engine/utf8.h"
#include "targets/html_render.h"

namespace tessalune::purple {

namespace {

constexpr std::string_view kColourCode = "\xC2\xB7$";
constexpr double kReadableContrast = 4.5;

double luminance(engine::ColourNumber c) {
  const auto channel = [](int value) {
    const double v = value / 255.0;
    return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(engine::redOf(c)) + 0.7152 * channel(engine::greenOf(c)) +
         0.0722 * channel(engine::blueOf(c));
}

engine::ColourNumber mix(engine::ColourNumber from, engine::ColourNumber to, double t) {
  const auto part = [t](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
  return engine::makeColour(part(engine::redOf(from), engine::redOf(to)),
                            part(engine::greenOf(from), engine::greenOf(to)),
                            part(engine::blueOf(from), engine::blueOf(to)));
}

// The colour itself when it reads on ground, else the nearest mix towards black or white
// (whichever reads better there) that does.
engine::ColourNumber readableOn(engine::ColourNumber colour, engine::ColourNumber ground) {
  if (contrastRatio(colour, ground) >= kReadableContrast) return colour;
  const engine::ColourNumber black = engine::makeColour(0, 0, 0), white = engine::makeColour(255, 255, 255);
  const engine::ColourNumber target =
      contrastRatio(black, ground) >= contrastRatio(white, ground) ? black : white;
  double low = 0, high = 1;
  for (int step = 0; step < 16; ++step) {
    const double t = (low + high) / 2;
    (contrastRatio(mix(colour, target, t), ground) >= kReadableContrast ? high : low) = t;
  }
  return mix(colour, target, high);
}

}  // namespace

double contrastRatio(engine::ColourNumber a, engine::ColourNumber b) {
  const double la = luminance(a), lb = luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::string plainName(std::string_view name) {
  if (name.find(kColourCode.substr(0, 2)) == std::string_view::npos) return std::string(name);
  std::string plain;
  for (const engine::StyledChar c : engine::plusToStyledText(std::string(name))) {
    if (!engine::isLineBreakChar(c.ch)) engine::appendUtf8(plain, c.ch);
  }
  return plain;
}

std::optional<std::string> renderNameLabel(std::string_view name, engine::ColourNumber background) {
  if (engine::countChars(name) > static_cast<std::size_t>(engine::kNicknameLimit)) return std::nullopt;
  if (name.find(kColourCode.substr(0, 2)) == std::string_view::npos) return std::nullopt;
  engine::StyledText text = engine::plusToStyledText(std::string(name));
  if (text.size() == engine::countChars(name)) return std::nullopt;
  const bool ownBackground = engine::hasBackgroundCode(name);
  text.changeFormats(0, text.size(), [&](engine::CharFormat& f) {
    if (!ownBackground) f.background.reset();
    if (f.textColour) f.textColour = readableOn(*f.textColour, f.background.value_or(background));
  });
  return targets::renderHtml(text, targets::HtmlMarkup::Pango);
}

const std::optional<std::string>& NameLabels::label(const std::string& contact, std::string_view name,
                                                    engine::ColourNumber background) {
  auto known = labels_.find(contact);
  if (known == labels_.end()) {
    known = labels_.emplace(contact, Rendered{std::string(name), background, {}}).first;
  } else if (known->second.name == name && known->second.background == background) {
    return known->second.label;
  } else {
    known->second.name = name;
    known->second.background = background;
  }
  known->second.label = renderNameLabel(name, background);
  return known->second.label;
}

}  // namespace tessalune::purple
