#include "engine/xml2plus.h"

#include <algorithm>
#include <vector>

#include "engine/markup.h"
#include "engine/palette.h"
#include "engine/replace.h"
#include "engine/utf8.h"

namespace tessalune::engine {

namespace {

using namespace std::string_view_literals;

// A background marker that starts right where a text-colour marker ends (21 characters
// after its start) belongs to the same colour change: it loses its opening part, which
// becomes the "," of a combined code. Returns the positions of those combining commas.
std::vector<std::size_t> mergeColourPairs(std::string& text) {
  std::vector<std::size_t> merged;
  for (std::size_t fg = text.find(markup::kFgOpen); fg != std::string::npos;
       fg = text.find(markup::kFgOpen, fg + 1)) {
    const std::string_view rest = std::string_view(text).substr(fg);
    const std::size_t bg = fg + byteLengthOfChars(rest, markup::kColourMarkerLength);
    if (text.compare(bg, markup::kBgOpen.size(), markup::kBgOpen) == 0) merged.push_back(bg);
  }
  if (merged.empty()) return merged;
  std::string out;
  out.reserve(text.size());
  std::vector<std::size_t> commas;
  commas.reserve(merged.size());
  std::size_t done = 0;
  for (std::size_t bg : merged) {
    out.append(text, done, bg - done);
    commas.push_back(out.size());
    out.push_back(',');
    done = bg + markup::kBgOpen.size();
  }
  out.append(text, done, std::string::npos);
  text.swap(out);
  return commas;
}

// Where the colour values of the codes start: after every "·$", after the "," of a
// background-only "·$,", and after each combining comma.
std::vector<std::size_t> colourValueStarts(const std::string& text, const std::vector<std::size_t>& commas) {
  std::vector<std::size_t> starts;
  for (std::size_t p = text.find(plus::kColour); p != std::string::npos;
       p = text.find(plus::kColour, p + 1)) {
    std::size_t value = p + plus::kColour.size();
    if (value < text.size() && text[value] == ',') ++value;
    starts.push_back(value);
  }
  for (std::size_t comma : commas) starts.push_back(comma + 1);
  std::sort(starts.begin(), starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  return starts;
}

// Colour values equal to a palette colour become its index; text elsewhere is kept.
void nameColoursByIndex(std::string& text, const std::vector<std::size_t>& starts) {
  constexpr std::size_t kValueLength = 7;
  std::string out;
  out.reserve(text.size());
  std::size_t done = 0;
  for (std::size_t start : starts) {
    if (start < done || start + kValueLength > text.size()) continue;
    const auto index = paletteIndexOf(std::string_view(text).substr(start, kValueLength));
    if (!index) continue;
    out.append(text, done, start - done);
    out.append(std::to_string(*index));
    done = start + kValueLength;
  }
  if (done == 0) return;
  out.append(text, done, std::string::npos);
  text.swap(out);
}

}  // namespace

std::string xml2plus(std::string_view markup) {
  std::string text = ensureUtf8(markup);

  // Layout of the serialized document carries no meaning: line breaks travel as markers.
  replaceAll(text, "\r\n"sv, ""sv);
  replaceAll(text, "\t"sv, ""sv);
  replaceAll(text, markup::kRootOpen, ""sv);
  replaceAll(text, markup::kRootClose, ""sv);

  // Toggles, reset, spaces and the end marker. Each marker starts with its only "<" and
  // no replacement contains one, so one pass does what the replacements in turn would.
  replaceEach(text, '<', markup::kSimpleMarkerCodes);

  // Colour pairs are merged before the markers are opened, which erases the evidence.
  const std::vector<std::size_t> commas = mergeColourPairs(text);
  std::vector<std::size_t> shiftedCommas;
  {
    // Opening the markers shortens the text before each comma; track where they move.
    std::string out;
    out.reserve(text.size());
    std::size_t done = 0;
    std::size_t nextComma = 0;
    shiftedCommas.reserve(commas.size());
    auto copyUpTo = [&](std::size_t end) {
      while (nextComma < commas.size() && commas[nextComma] < end) {
        shiftedCommas.push_back(out.size() + (commas[nextComma] - done));
        ++nextComma;
      }
      out.append(text, done, end - done);
    };
    for (std::size_t p = text.find('<'); p != std::string::npos; p = text.find('<', p)) {
      const std::string_view rest = std::string_view(text).substr(p);
      if (rest.starts_with(markup::kFgOpen)) {
        copyUpTo(p);
        out.append(plus::kColour);
        done = p = p + markup::kFgOpen.size();
      } else if (rest.starts_with(markup::kBgOpen)) {
        copyUpTo(p);
        out.append(plus::kBackgroundOnly);
        done = p = p + markup::kBgOpen.size();
      } else {
        ++p;
      }
    }
    copyUpTo(text.size());
    text.swap(out);
  }

  nameColoursByIndex(text, colourValueStarts(text, shiftedCommas));
  replaceAll(text, markup::kMarkerClose, ""sv);

  // Entities, in one pass: "&amp;" yields an "&" after the scan has passed it, so a typed
  // "&lt;" (stored as "&amp;lt;") survives, as when "&amp;" is replaced last.
  replaceEach(text, '&', {{"&lt;"sv, "<"sv}, {"&gt;"sv, ">"sv}, {"&amp;"sv, "&"sv}});
  replaceAll(text, markup::kLine, "\r\n"sv);
  return text;
}

std::string xml2plus(std::string_view markup, errors::FailureContext& ctx) {
  return errors::guardRoutine(ctx, "xml2plus", std::string{}, [&] {
    ctx.step.reset();
    ctx.step.advance();
    return xml2plus(markup);
  });
}

}  // namespace tessalune::engine
