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

// Merges colour pairs and opens the colour markers. A background marker that starts right
// where a text-colour marker ends (21 characters after its start) belongs to the same
// colour change: its opening becomes the "," of a combined code, whose position in the
// result goes to `commas`. Other markers open as codes of their own. No opening contains
// a "," or a second "<", so what one replacement leaves never makes or breaks another.
void openColourMarkers(std::string& text, std::vector<std::size_t>& commas) {
  Rewrite<char> rewrite(text, true);
  const std::string_view source = rewrite.source();
  std::vector<std::size_t> merged;  // ascending: each lies past the marker that found it
  std::size_t nextMerged = 0;
  for (std::size_t p = source.find('<'); p != std::string_view::npos; p = source.find('<', p + 1)) {
    if (startsWithAt(source, p, markup::kFgOpen)) {
      const std::size_t background = p + byteLengthOfChars(source.substr(p), markup::kColourMarkerLength);
      if (startsWithAt(source, background, markup::kBgOpen)) merged.push_back(background);
      rewrite.keepUpTo(p);
      rewrite.replace(markup::kFgOpen.size(), plus::kColour);
    } else if (startsWithAt(source, p, markup::kBgOpen)) {
      while (nextMerged < merged.size() && merged[nextMerged] < p) ++nextMerged;
      rewrite.keepUpTo(p);
      if (nextMerged < merged.size() && merged[nextMerged] == p) {
        commas.push_back(rewrite.written().size());
        rewrite.replace(markup::kBgOpen.size(), ","sv);
      } else {
        rewrite.replace(markup::kBgOpen.size(), plus::kBackgroundOnly);
      }
    }
  }
  rewrite.finish();
}

// Where the colour values of the codes start: after every "·$", after the "," of a
// background-only "·$,", and after each combining comma; ascending, each once.
std::vector<std::size_t> colourValueStarts(std::string_view text, const std::vector<std::size_t>& commas) {
  std::vector<std::size_t> starts;
  starts.reserve(commas.size());
  for (std::size_t p = text.find(plus::kColour); p != std::string_view::npos;
       p = text.find(plus::kColour, p + 1)) {
    std::size_t value = p + plus::kColour.size();
    if (value < text.size() && text[value] == ',') ++value;
    starts.push_back(value);
  }
  const auto afterCodes = static_cast<std::ptrdiff_t>(starts.size());
  for (std::size_t comma : commas) starts.push_back(comma + 1);
  std::inplace_merge(starts.begin(), starts.begin() + afterCodes, starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  return starts;
}

// Colour values equal to a palette colour become its index, and the ends of the markers go.
// A palette colour holds no character of a marker end, so neither change affects the other.
void nameColoursAndCloseMarkers(std::string& text, const std::vector<std::size_t>& commas) {
  constexpr std::size_t kValueLength = 7;
  const std::vector<std::size_t> starts = colourValueStarts(text, commas);
  Rewrite<char> rewrite(text, true);
  const std::string_view source = rewrite.source();
  std::size_t nextClose = source.find(markup::kMarkerClose);
  const auto keepUpTo = [&](std::size_t end) {
    for (; nextClose < end; nextClose = source.find(markup::kMarkerClose, rewrite.read())) {
      rewrite.keepUpTo(nextClose);
      rewrite.replace(markup::kMarkerClose.size(), ""sv);
    }
    rewrite.keepUpTo(end);
  };
  for (std::size_t start : starts) {
    if (start < rewrite.read() || start + kValueLength > source.size()) continue;
    const auto index = paletteIndexOf(source.substr(start, kValueLength));
    if (!index) continue;
    keepUpTo(start);
    rewrite.replace(kValueLength, kPaletteIndexTexts[static_cast<std::size_t>(*index)]);
  }
  keepUpTo(source.size());
  rewrite.finish();
}

// Entities are unescaped in one pass ("&amp;" yields an "&" after the scan has passed it, so
// a typed "&lt;", stored as "&amp;lt;", survives), and every line marker that results,
// element or unescaped text, becomes a line break as soon as its ">" is written.
void unescapeAndBreakLines(std::string& text) {
  Rewrite<char> rewrite(text, true);
  const std::string_view source = rewrite.source();
  const auto wrote = [&](std::size_t length, char c) {
    rewrite.replace(length, std::string_view(&c, 1));
    if (c == '>' && rewrite.written().ends_with(markup::kLine)) {
      rewrite.unwrite(markup::kLine.size());
      rewrite.write("\r\n"sv);
    }
  };
  for (std::size_t i = 0; i < source.size(); i = rewrite.read()) {
    while (i < source.size() && source[i] != '&' && source[i] != '>') ++i;
    rewrite.keepUpTo(i);
    if (i == source.size()) break;
    if (source[i] == '>') {
      wrote(1, '>');
    } else if (startsWithAt(source, i, "&lt;"sv)) {
      wrote(4, '<');
    } else if (startsWithAt(source, i, "&gt;"sv)) {
      wrote(4, '>');
    } else if (startsWithAt(source, i, "&amp;"sv)) {
      wrote(5, '&');
    } else {
      wrote(1, '&');
    }
  }
  rewrite.finish();
}

}  // namespace

std::string xml2plus(std::string_view markup) {
  std::string text = ensureUtf8(markup);

  // Layout of the serialized document carries no meaning: line breaks travel as markers.
  replaceAll(text, "\r\n"sv, ""sv);
  replaceAll(text, "\t"sv, ""sv);
  // Found by their "k", which no other marker holds.
  replaceAll(text, markup::kRootOpen, ""sv, markup::kRootOpen.find('k'));
  replaceAll(text, markup::kRootClose, ""sv, markup::kRootClose.find('k'));

  // Toggles, reset, spaces and the end marker. Each marker starts with its only "<" and
  // no replacement contains one, so one pass does what the replacements in turn would.
  replaceEach(text, '<', markup::kSimpleMarkerCodes);

  // Every step from here on shortens the text, so each rewrites it in place.
  std::vector<std::size_t> commas;
  openColourMarkers(text, commas);
  nameColoursAndCloseMarkers(text, commas);
  unescapeAndBreakLines(text);
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
