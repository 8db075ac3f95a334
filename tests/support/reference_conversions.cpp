#include "support/reference_conversions.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "engine/colour.h"
#include "engine/conversion_context.h"
#include "engine/cp1252.h"
#include "engine/emoticons.h"
#include "engine/markup.h"
#include "engine/palette.h"
#include "engine/utf8.h"
#include "platform/xml_document.h"
#include "platform/xml_text.h"

namespace tessalune::testing {

namespace {

using namespace std::string_view_literals;
using engine::RichTextBox;

// Replaces every occurrence from left to right, going on after each replacement.
template <typename Char>
void replaceEvery(std::basic_string<Char>& text, std::basic_string_view<Char> from,
                  std::basic_string_view<Char> to) {
  for (std::size_t p = text.find(from); p != std::basic_string<Char>::npos;
       p = text.find(from, p + to.size())) {
    text.replace(p, from.size(), to);
  }
}
void replaceEvery(std::string& text, std::string_view from, std::string_view to) {
  replaceEvery<char>(text, from, to);
}
void replaceEvery(std::u32string& text, std::u32string_view from, std::u32string_view to) {
  replaceEvery<char32_t>(text, from, to);
}

std::u32string widen(std::string_view text) {
  return engine::decodeUtf8(text);
}

// --- plus2rtf ----------------------------------------------------------------------------

// The steps before plus2rtf's scan, as whole-text replacements in their order.
std::u32string plus2rtfReplacements(std::u32string text) {
  replaceEvery(text, U"\\"sv, U"\\\\"sv);
  replaceEvery(text, U"{"sv, U"\\{"sv);
  replaceEvery(text, U"}"sv, U"\\}"sv);
  replaceEvery(text, U"\r\n"sv, U"\r\n\\par "sv);
  for (int k = 15; k >= 0; --k) {
    const std::u32string index = widen(std::to_string(k));
    const std::u32string colour = widen(engine::kPalette[static_cast<std::size_t>(k)]);
    replaceEvery(text, U"\u00B7$" + index, U"\u00B7$" + colour);
    replaceEvery(text, U"\u00B7$," + index, U"\u00B7$," + colour);
  }
  for (std::size_t p = text.find(U"\u00B7$#"); p != std::u32string::npos; p = text.find(U"\u00B7$#", p + 1)) {
    if (p + 9 >= text.size() || text[p + 9] != U',') continue;
    for (int k = 15; k >= 0; --k) {
      const std::u32string index = widen(std::to_string(k));
      if (text.compare(p + 10, index.size(), index) != 0) continue;
      text.replace(p + 10, index.size(), widen(engine::kPalette[static_cast<std::size_t>(k)]));
      break;
    }
  }
  return text;
}

// --- rtf2xml -----------------------------------------------------------------------------

// Gives the characters [start, start + length) the text colour and the background of the
// first of them, through the selection.
void unifyColours(RichTextBox& box, std::size_t start, std::size_t length) {
  const int at = static_cast<int>(start), count = static_cast<int>(length);
  box.select(at, 1);
  const engine::BoxColour text = box.selColor();
  box.select(at, count);
  box.setSelColor(text);
  box.select(at, 1);
  const engine::BoxColour background = engine::GetSelBackColor(box);
  box.select(at, count);
  engine::SetSelBackColor(background, box);
}

template <std::size_t N>
void protectEmoticons(RichTextBox& scratch, const std::array<std::string_view, N>& codes) {
  for (std::string_view code : codes) {
    const std::u32string wide = widen(code);
    for (std::size_t p = widen(scratch.text()).find(wide); p != std::u32string::npos;
         p = widen(scratch.text()).find(wide, p + 1)) {
      unifyColours(scratch, p, wide.size());
    }
  }
}

void protectTypedCodes(RichTextBox& scratch) {
  const std::u32string text = widen(scratch.text());
  for (std::size_t p = text.find(U'\u00B7'); p != std::u32string::npos; p = text.find(U'\u00B7', p + 1)) {
    if (p + 1 < text.size() && U"#&@'0$"sv.find(text[p + 1]) != std::u32string_view::npos) {
      unifyColours(scratch, p, 2);
    }
  }
}

// Every space but a leading one takes the text colour of the character before it and
// becomes the space marker; a line break shows no colour, so a space after one keeps its own.
void protectSpaces(RichTextBox& scratch) {
  for (std::size_t p = widen(scratch.text()).find(U' ', 1); p != std::u32string::npos;
       p = widen(scratch.text()).find(U' ', p + 1)) {
    const char32_t before = widen(scratch.text())[p - 1];
    if (before != U'\r' && before != U'\n') {
      scratch.select(static_cast<int>(p) - 1, 1);
      const engine::BoxColour colour = scratch.selColor();
      scratch.select(static_cast<int>(p), 1);
      scratch.setSelColor(colour);
    }
    scratch.select(static_cast<int>(p), 1);
    scratch.replaceSelection(engine::markup::kSpace);
  }
}

std::vector<std::string> colourList(const std::string& rtf) {
  std::vector<std::string> colours;
  const std::size_t word = rtf.find("colortbl");
  if (word == std::string::npos) return colours;
  std::string table = rtf.substr(word + "colortbl"sv.size());
  table.erase(0, std::min(table.size(), table.find_first_not_of(' ')));
  if (table.starts_with(';')) table.erase(0, 1);
  const std::size_t brace = table.find('}');
  table.resize(brace == std::string::npos || brace < 1 ? 0 : brace - 1);
  const auto component = [](const std::string& entry, std::string_view from, std::string_view to) {
    const std::size_t start = entry.find(from) + from.size();
    return std::stoi(entry.substr(start, to.empty() ? std::string::npos : entry.find(to) - start));
  };
  for (std::size_t start = 0; !table.empty() && start <= table.size();) {
    const std::size_t end = std::min(table.find(';', start), table.size());
    const std::string entry = table.substr(start, end - start);
    colours.push_back(engine::rgb2hex(engine::makeColour(component(entry, "\\red", "\\green"),
                                                         component(entry, "\\green", "\\blue"),
                                                         component(entry, "\\blue", ""))));
    start = end + 1;
  }
  return colours;
}

void stripTrailingOffWords(std::string& text) {
  for (bool again = true; again;) {
    again = false;
    if (text.ends_with("\\b0")) text.resize(text.size() - 3);
    for (std::string_view word : {"\\i0"sv, "\\ulnone"sv, "\\strike0"sv, "\\cf0"sv, "\\highlight0"sv}) {
      if (!text.ends_with(word)) continue;
      text.resize(text.size() - word.size());
      again = true;
      break;
    }
  }
}

void replaceToggles(std::string& text) {
  const std::vector<std::pair<std::vector<std::string>, std::string_view>> groups = {
      {{"\\b0 ", "\\b ", "\\b0", "\\b", "\x02", "\u00B7#"}, engine::markup::kBold},
      {{"\\i0 ", "\\i ", "\\i0", "\\i", "\x05", "-$$italic$$-"}, engine::markup::kItalic},
      {{"\\ul0 ", "\\ulnone ", "\\ul ", "\\ul0", "\\ulnone", "\\ul", "\x1F", "\u00B7@"},
       engine::markup::kUnderline},
      {{"\\strike0 ", "\\strike ", "\\strike0", "\\strike", "\x06", "\u00B7'"}, engine::markup::kStrike},
      {{"\x0F", "\u00B70"}, engine::markup::kReset},
      {{"\x03", "\u00B7$"}, ""}};
  for (const auto& [variants, marker] : groups) {
    for (const std::string& variant : variants) replaceEvery(text, variant, marker);
  }
}

// "\cf" or "\highlight" with 1 to 4 digits (the first not 0) and one optional space becomes
// a marker of the list's colour, or nothing; each search starts one character after the
// last match. False when a number is beyond the list.
bool replaceColourWords(std::string& text, std::string_view word, const std::vector<std::string>& colours,
                        std::optional<std::string_view> markerOpen) {
  for (std::size_t p = text.find(word); p != std::string::npos; p = text.find(word, p + 1)) {
    const std::size_t digits = p + word.size();
    if (digits >= text.size() || text[digits] < '1' || text[digits] > '9') continue;
    std::size_t end = digits;
    while (end < text.size() && end - digits < 4 && text[end] >= '0' && text[end] <= '9') ++end;
    const std::size_t index = std::stoul(text.substr(digits, end - digits));
    if (end < text.size() && text[end] == ' ') ++end;
    if (index > colours.size()) return false;
    const std::string marker =
        markerOpen ? std::string(*markerOpen) + colours[index - 1] + std::string(engine::markup::kMarkerClose)
                   : "";
    text.replace(p, end - p, marker);
  }
  return true;
}

// "\'hh" becomes its Windows-1252 character and "\uN?" its Unicode one (a surrogate pair
// in two words); what XML cannot hold, control characters among it, is dropped.
void decodeCharacterEscapes(std::string& text) {
  const auto hexDigit = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
  for (std::size_t p = text.find("\\'"); p != std::string::npos; p = text.find("\\'", p)) {
    if (p + 3 >= text.size() || !hexDigit(text[p + 2]) || !hexDigit(text[p + 3])) {
      ++p;
      continue;
    }
    const auto byte = static_cast<unsigned char>(std::stoi(text.substr(p + 2, 2), nullptr, 16));
    std::string character;
    if (byte >= 0x20) engine::appendUtf8(character, engine::cp1252ToUnicode(byte));
    text.replace(p, 4, character);
    p += character.size();
  }
  // The unit of the "\uN?" word at p and the position after it, if one stands there.
  const auto unitAt = [&text](std::size_t p) -> std::optional<std::pair<char16_t, std::size_t>> {
    if (text.compare(p, 2, "\\u") != 0) return std::nullopt;
    std::size_t end = p + 2;
    if (end < text.size() && text[end] == '-') ++end;
    const std::size_t digits = end;
    while (end < text.size() && end - digits < 6 && std::isdigit(static_cast<unsigned char>(text[end])))
      ++end;
    if (end == digits || end >= text.size() || text[end] != '?') return std::nullopt;
    return std::pair{static_cast<char16_t>(std::stoi(text.substr(p + 2, end - p - 2))), end + 1};
  };
  for (std::size_t p = text.find("\\u"); p != std::string::npos; p = text.find("\\u", p)) {
    const auto unit = unitAt(p);
    if (!unit) {
      ++p;
      continue;
    }
    std::size_t end = unit->second;
    char32_t character = unit->first;
    if (unit->first >= 0xD800 && unit->first <= 0xDBFF) {
      const auto low = unitAt(end);
      character = 0;
      if (low && low->first >= 0xDC00 && low->first <= 0xDFFF) {
        character = 0x10000 + ((unit->first - 0xD800) << 10) + (low->first - 0xDC00);
        end = low->second;
      }
    }
    std::string replacement;
    if (platform::isXmlChar(character) && character != 0x9 && character != 0xA && character != 0xD &&
        (character < 0xD800 || character > 0xDFFF)) {
      engine::appendUtf8(replacement, character);
    }
    text.replace(p, end - p, replacement);
    p += replacement.size();
  }
}

// The scratch box's RTF made into the markup document's text; nullopt on a failure.
std::optional<std::string> markupText(std::string text, const ReferenceOptions& options) {
  const std::vector<std::string> colours = colourList(text);
  if (const std::size_t viewkind = text.find("\\viewkind"); viewkind != std::string::npos) {
    text.erase(0, std::min(text.size(), viewkind + 10));
  }
  if (const std::size_t lang = text.find("\\lang"); lang != std::string::npos) text.erase(lang, 9);
  text.resize(text.size() >= 10 ? text.size() - 10 : 0);
  // A typed backslash is held as the RTF's own escape of it until the escapes are decoded,
  // so that it never starts a control word.
  replaceEvery(text, "\\\\"sv, "\\u92?"sv);

  for (std::string_view word : {"\\uc1"sv, "\\pard"sv, "\\fs20 "sv, "\\fs20"sv})
    replaceEvery(text, word, ""sv);
  replaceEvery(text, "\\par "sv, engine::markup::kLine);
  replaceEvery(text, "\\par"sv, engine::markup::kLine);
  replaceEvery(text, engine::markup::kSpace, "-$$space$$-"sv);
  replaceEvery(text, "\\'b7"sv, "\u00B7"sv);
  replaceEvery(text, "\u00B7&"sv, "-$$italic$$-"sv);
  replaceEvery(text, "&"sv, "&amp;"sv);
  replaceEvery(text, "<"sv, "&lt;"sv);
  replaceEvery(text, ">"sv, "&gt;"sv);
  replaceEvery(text, "-$$space$$-"sv, engine::markup::kSpace);
  // The legacy codes, in the writer's lower-case hexadecimal digits as well.
  for (const auto& [escape, code] :
       {std::pair{"02"sv, "\x02"sv}, std::pair{"03"sv, "\x03"sv}, std::pair{"05"sv, "\x05"sv},
        std::pair{"1F"sv, "\x1F"sv}, std::pair{"1f"sv, "\x1F"sv}, std::pair{"06"sv, "\x06"sv},
        std::pair{"0F"sv, "\x0F"sv}, std::pair{"0f"sv, "\x0F"sv}}) {
    replaceEvery(text, "\\'" + std::string(escape), code);
  }
  replaceEvery(text, "\\{"sv, "{"sv);
  replaceEvery(text, "\\}"sv, "}"sv);
  while (text.ends_with(' ')) text.pop_back();
  stripTrailingOffWords(text);
  replaceToggles(text);
  if (!replaceColourWords(text, "\\cf", colours, engine::markup::kFgOpen)) return std::nullopt;
  if (!replaceColourWords(
          text, "\\highlight", colours,
          options.backgroundFlag == 1 ? std::optional(engine::markup::kBgOpen) : std::nullopt)) {
    return std::nullopt;
  }
  const std::string_view defaultBackground =
      options.backgroundFlag == 1 ? engine::markup::kDefaultBackground : "";
  replaceEvery(text, "\\highlight0 "sv, defaultBackground);
  replaceEvery(text, "\\highlight0"sv, defaultBackground);
  replaceEvery(text, "\\cf0 "sv, engine::markup::kDefaultText);
  replaceEvery(text, "\\cf0"sv, engine::markup::kDefaultText);
  decodeCharacterEscapes(text);
  if (options.mode == engine::EditorMode::Nickname && !options.noEnd) text += engine::markup::kEnd;
  return std::string(engine::markup::kRootOpen) + "\r\n" + text + "\r\n" +
         std::string(engine::markup::kRootClose);
}

std::size_t plusLength(const platform::XmlDocument& doc) {
  return widen(xml2plusBySteps(doc.xml())).size();
}

}  // namespace

std::string plus2rtfBySteps(std::string_view plus) {
  const std::u32string text = plus2rtfReplacements(widen(plus));
  std::vector<engine::ColourNumber> table = {0xFFFFFF};
  const auto index = [&](std::size_t from) {
    const engine::ColourNumber colour =
        engine::hex2rgb(std::u32string_view(text).substr(std::min(from, text.size()), 7));
    if (std::find(table.begin(), table.end(), colour) == table.end()) table.push_back(colour);
    return std::to_string(std::find(table.begin(), table.end(), colour) - table.begin() + 1) + " ";
  };
  const auto at = [&](std::size_t i) { return i < text.size() ? text[i] : U'\0'; };
  constexpr std::u32string_view kToggles = U"#&@'";
  const std::array<std::string, 4> on = {"\\b ", "\\i ", "\\ul ", "\\strike "};
  const std::array<std::string, 4> off = {"\\b0", "\\i0", "\\ul0", "\\strike0"};
  std::array<bool, 4> flags{};
  std::string body;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != U'\u00B7') {
      engine::appendUtf8(body, text[i++]);
    } else if (const std::size_t t = kToggles.find(at(i + 1)); t != std::u32string_view::npos) {
      body += flags[t] ? off[t] + " " : on[t];
      flags[t] = !flags[t];
      i += 2;
    } else if (at(i + 1) == U'0') {
      for (std::size_t f = 0; f < 4; ++f) body += flags[f] ? off[f] + " " : "";
      flags = {};
      i += 2;
    } else if (at(i + 1) == U'$' && at(i + 2) == U'#' && at(i + 9) == U',' && at(i + 10) == U'#') {
      body += "\\cf" + index(i + 2);
      body += "\\highlight" + index(i + 10);
      i += 17;
    } else if (at(i + 1) == U'$' && at(i + 2) == U'#') {
      body += "\\cf" + index(i + 2);
      i += 9;
    } else if (at(i + 1) == U'$' && at(i + 2) == U',' && at(i + 3) == U'#') {
      body += "\\highlight" + index(i + 3);
      i += 10;
    } else {
      ++i;
    }
  }
  for (std::size_t f = 0; f < 4; ++f) body += flags[f] ? off[f] : "";
  std::string colours = "{\\colortbl ;";
  for (engine::ColourNumber c : table) {
    colours += "\\red" + std::to_string(engine::redOf(c)) + "\\green" + std::to_string(engine::greenOf(c)) +
               "\\blue" + std::to_string(engine::blueOf(c)) + ";";
  }
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n" + colours +
         "}\r\n\\viewkind4\\uc1\\pard\\lang1033\\fs20\\cf0\\highlight1 " + body +
         "\\cf0\\highlight0\r\n\\par }";
}

// The background markers that merge are marked with a private character until the palette
// step has seen their commas.
std::string xml2plusBySteps(std::string text) {
  namespace markup = engine::markup;
  namespace plus = engine::plus;
  constexpr std::u32string_view kMergedMark = U"\uE001";
  for (std::string_view gone : {"\r\n"sv, "\t"sv, markup::kRootOpen, markup::kRootClose})
    replaceEvery(text, gone, ""sv);
  for (const engine::Replacement& r : markup::kSimpleMarkerCodes) replaceEvery(text, r.from, r.to);
  std::u32string wide = widen(text);
  const std::u32string fg = widen(markup::kFgOpen), bg = widen(markup::kBgOpen);
  std::vector<std::size_t> merged;
  for (std::size_t p = wide.find(fg); p != std::u32string::npos; p = wide.find(fg, p + 1)) {
    const std::size_t next = p + markup::kColourMarkerLength;
    if (next <= wide.size() && wide.compare(next, bg.size(), bg) == 0) merged.push_back(next);
  }
  for (auto p = merged.rbegin(); p != merged.rend(); ++p) wide.replace(*p, bg.size(), kMergedMark);
  text = engine::encodeUtf8(wide);
  replaceEvery(text, markup::kFgOpen, plus::kColour);
  replaceEvery(text, markup::kBgOpen, plus::kBackgroundOnly);
  for (std::size_t k = 0; k < engine::kPalette.size(); ++k) {
    for (const std::string& opening :
         {std::string(plus::kColour), std::string(plus::kBackgroundOnly), engine::encodeUtf8(kMergedMark)}) {
      replaceEvery(text, opening + std::string(engine::kPalette[k]), opening + std::to_string(k));
    }
  }
  replaceEvery(text, engine::encodeUtf8(kMergedMark), ","sv);
  replaceEvery(text, markup::kMarkerClose, ""sv);
  replaceEvery(text, "&lt;"sv, "<"sv);
  replaceEvery(text, "&gt;"sv, ">"sv);
  replaceEvery(text, "&amp;"sv, "&"sv);
  replaceEvery(text, markup::kLine, "\r\n"sv);
  return text;
}

std::string rtf2xmlBySteps(const RichTextBox& box, const ReferenceOptions& options) {
  const std::size_t limit = static_cast<std::size_t>(engine::lengthLimit(options.mode));
  if (box.text().empty() || static_cast<std::size_t>(box.length()) > limit) return {};

  RichTextBox scratch("rtf_mask");
  scratch.setTextRtf(box.textRtf());
  protectEmoticons(scratch, engine::kEmoticons5);
  protectEmoticons(scratch, engine::kEmoticons4);
  protectEmoticons(scratch, engine::kEmoticons3);
  protectEmoticons(scratch, engine::kEmoticons2);
  protectTypedCodes(scratch);
  protectSpaces(scratch);

  const std::optional<std::string> text = markupText(scratch.textRtf(), options);
  platform::XmlDocument doc;
  if (!text || !doc.loadXml(*text)) return {};

  // Thinning: every pass converts the whole document and selects the markers again.
  std::size_t fgCursor = 1, bgCursor = 1;
  for (;;) {
    if (plusLength(doc) <= limit) return doc.xml();
    const bool onText = doc.selectNodes("/nick/FG").size() >= doc.selectNodes("/nick/BG").size();
    const char* path = onText ? "/nick/FG" : "/nick/BG";
    std::size_t& cursor = onText ? fgCursor : bgCursor;
    std::vector<platform::XmlNode> markers = doc.selectNodes(path);
    if (!markers.empty()) {
      if (cursor <= markers.size() - 1) {
        doc.documentElement().removeChild(markers[cursor]);
        ++cursor;
      } else {
        cursor = 1;
      }
      markers = doc.selectNodes(path);
      if (markers.size() == 1) doc.documentElement().removeChild(markers.front());
    }
    // With no colour left, a text that fits is offered (and kept: every answer is yes).
    if (doc.selectNodes("/nick/FG").empty() && doc.selectNodes("/nick/BG").empty()) {
      return plusLength(doc) <= limit ? doc.xml() : std::string();
    }
  }
}

}  // namespace tessalune::testing
