#include "engine/rtf2xml.h"

#include <array>
#include <charconv>
#include <optional>
#include <vector>

#include "engine/colour.h"
#include "engine/cp1252.h"
#include "engine/emoticons.h"
#include "engine/markup.h"
#include "engine/plus_length.h"
#include "engine/replace.h"
#include "engine/utf8.h"
#include "engine/xml2plus.h"
#include "errors/loop_watchdog.h"
#include "errors/message_ids.h"
#include "errors/titles.h"
#include "platform/xml_document.h"
#include "platform/xml_text.h"

namespace tessalune::engine {

namespace {

namespace msg = errors::msg;
using namespace std::string_view_literals;
using platform::Icon;

// A typed backslash travels through the replacements as this private-use character, so
// that it is never read as the start of a control word; the box's RTF never holds it
// (the writer escapes everything beyond ASCII).
constexpr std::string_view kTypedBackslash = "\uE000";

constexpr std::string_view kSpacePlaceholder = "-$$space$$-";
constexpr std::string_view kItalicPlaceholder = "-$$italic$$-";

class NoEntryInColourList : public errors::RuntimeFailure {
 public:
  NoEntryInColourList() : RuntimeFailure(errors::failure::kSubscriptOutOfRange, "Subscript out of range") {}
};

// --- protective recolouring, in the scratch box -------------------------------------

// Gives the characters [start, start + length) the text colour and the background of the
// first of them.
void unifyColours(RichTextBox& box, int start, int length) {
  box.select(start, 1);
  const BoxColour text = box.selColor();
  box.select(start, length);
  box.setSelColor(text);
  box.select(start, 1);
  const BoxColour background = GetSelBackColor(box);
  box.select(start, length);
  SetSelBackColor(background, box);
}

// Every occurrence of code in the box's text, as character positions; each search starts
// one character after the previous match.
std::vector<int> occurrences(const std::u32string& text, std::u32string_view code) {
  std::vector<int> found;
  for (std::size_t p = text.find(code); p != std::u32string::npos; p = text.find(code, p + 1)) {
    found.push_back(static_cast<int>(p));
  }
  return found;
}

template <std::size_t N>
void protectEmoticons(RichTextBox& scratch, const std::u32string& text,
                      const std::array<std::string_view, N>& codes) {
  for (std::string_view code : codes) {
    const std::u32string wide = decodeUtf8(code);
    for (int p : occurrences(text, wide)) unifyColours(scratch, p, static_cast<int>(wide.size()));
  }
}

void protectTypedCodes(RichTextBox& scratch, const std::u32string& text) {
  for (int p : occurrences(text, U"\u00B7")) {
    const std::size_t next = static_cast<std::size_t>(p) + 1;
    if (next < text.size() && std::u32string_view(U"#&@'0$").find(text[next]) != std::u32string_view::npos) {
      unifyColours(scratch, p, 2);
    }
  }
}

// A space takes the text colour of the character before it and becomes the space marker,
// so that no colour change is ever written in front of a space. A leading space stays.
// A line break shows no colour (the box's RTF gives it none of its own, so a copy leaves
// it the colour of the line above): a space that begins a line keeps its own colour, and
// the line's colour change stays in front of it instead of moving past it.
// One pass over the characters: the marker takes the space's format with the text colour
// of what now stands before it, which for a run of spaces is the previous marker.
void protectSpaces(RichTextBox& scratch) {
  const StyledText& chars = scratch.characters();
  const std::u32string marker = decodeUtf8(markup::kSpace);
  StyledText out;
  int caret = -1;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    if (i == 0 || chars[i].ch != U' ') {
      out.push_back(chars[i]);
      continue;
    }
    CharFormat format = chars[i].format;
    if (!isLineBreakChar(out.back().ch)) format.textColour = out.back().format.textColour;
    for (char32_t c : marker) out.push_back({c, format});
    caret = static_cast<int>(out.size());
  }
  if (caret >= 0) scratch.setCharacters(std::move(out), caret);
}

// --- the RTF text --------------------------------------------------------------------

std::string between(std::string_view entry, std::string_view from, std::string_view to) {
  const std::size_t start = entry.find(from);
  if (start == std::string_view::npos) return {};
  const std::size_t digits = start + from.size();
  const std::size_t end = to.empty() ? entry.size() : entry.find(to, digits);
  return std::string(
      entry.substr(digits, end == std::string_view::npos ? std::string_view::npos : end - digits));
}

int componentValue(const std::string& digits) {
  int value = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return std::clamp(value, 0, 255);
}

std::vector<std::string> colourList(std::string_view rtf) {
  std::vector<std::string> colours;
  const std::size_t word = rtf.find("colortbl");
  if (word == std::string_view::npos) return colours;
  std::string_view table = rtf.substr(word + "colortbl"sv.size());
  while (!table.empty() && table.front() == ' ') table.remove_prefix(1);
  if (!table.empty() && table.front() == ';') table.remove_prefix(1);
  const std::size_t brace = table.find('}');
  table = table.substr(0, brace == std::string_view::npos || brace < 1 ? 0 : brace - 1);
  while (!table.empty()) {
    const std::size_t end = table.find(';');
    const std::string_view entry = table.substr(0, end);
    colours.push_back(rgb2hex(makeColour(componentValue(between(entry, "\\red", "\\green")),
                                         componentValue(between(entry, "\\green", "\\blue")),
                                         componentValue(between(entry, "\\blue", "")))));
    if (end == std::string_view::npos) break;
    table.remove_prefix(end + 1);
  }
  return colours;
}

// Drops the header up to the body and the control's ten-character ending.
std::string bodyOf(std::string rtf, ConversionContext& ctx) {
  if (const std::size_t viewkind = rtf.find("\\viewkind"); viewkind != std::string::npos) {
    rtf.erase(0, std::min(rtf.size(), viewkind + 10));
  } else {
    ctx.dialogs.message("Error rtf->xml : can't found \"\\viewkind\" -> unexpected behaviour",
                        Icon::Critical);
  }
  if (const std::size_t lang = rtf.find("\\lang"); lang != std::string::npos) {
    rtf.erase(lang, "\\lang"sv.size() + 4);
  }
  rtf.resize(rtf.size() >= 10 ? rtf.size() - 10 : 0);
  return rtf;
}

bool endsWith(const std::string& text, std::string_view ending) {
  return std::string_view(text).ends_with(ending);
}

void stripTrailingOffWords(std::string& text) {
  if (endsWith(text, "\\b0")) text.resize(text.size() - 3);
  for (bool again = true; again;) {
    again = false;
    for (std::string_view word : {"\\i0"sv, "\\ulnone"sv, "\\strike0"sv, "\\cf0"sv, "\\highlight0"sv}) {
      if (!endsWith(text, word)) continue;
      text.resize(text.size() - word.size());
      if (endsWith(text, "\\b0")) text.resize(text.size() - 3);
      again = true;
      break;
    }
  }
}

void replaceToggles(std::string& text) {
  // A control word can only match where its first letter follows a backslash; the markers
  // that replace them hold none, so what is seen before the first replacement holds for all.
  std::array<bool, 256> followsBackslash{};
  for (std::size_t p = text.find('\\'); p != std::string::npos && p + 1 < text.size();
       p = text.find('\\', p + 1)) {
    followsBackslash[static_cast<unsigned char>(text[p + 1])] = true;
  }
  const auto replace = [&](std::string_view from, std::string_view to) {
    if (from.size() >= 2 && from[0] == '\\' && !followsBackslash[static_cast<unsigned char>(from[1])]) return;
    replaceAll(text, from, to);
  };
  const std::string c2(1, '\x02'), c5(1, '\x05'), c31(1, '\x1F'), c6(1, '\x06'), c15(1, '\x0F'),
      c3(1, '\x03');
  for (std::string_view from : {"\\b0 "sv, "\\b "sv, "\\b0"sv, "\\b"sv, std::string_view(c2), "\u00B7#"sv}) {
    replace(from, markup::kBold);
  }
  for (std::string_view from :
       {"\\i0 "sv, "\\i "sv, "\\i0"sv, "\\i"sv, std::string_view(c5), kItalicPlaceholder}) {
    replace(from, markup::kItalic);
  }
  for (std::string_view from : {"\\ul0 "sv, "\\ulnone "sv, "\\ul "sv, "\\ul0"sv, "\\ulnone"sv, "\\ul"sv,
                                std::string_view(c31), "\u00B7@"sv}) {
    replace(from, markup::kUnderline);
  }
  for (std::string_view from :
       {"\\strike0 "sv, "\\strike "sv, "\\strike0"sv, "\\strike"sv, std::string_view(c6), "\u00B7'"sv}) {
    replace(from, markup::kStrike);
  }
  for (std::string_view from : {std::string_view(c15), "\u00B70"sv}) replace(from, markup::kReset);
  for (std::string_view from : {std::string_view(c3), "\u00B7$"sv}) replace(from, ""sv);
}

// "\cf" and "\highlight" with a colour number (1 to 4 digits, not starting with 0, and
// the space that may follow) become a marker of the list's colour, or nothing.
void replaceColourWords(std::string& text, std::string_view word, const std::vector<std::string>& colours,
                        std::optional<std::string_view> markerOpen) {
  std::size_t p = text.find(word);
  if (p == std::string::npos) return;
  // Each search starts one character after the last match, in the text as rewritten so far.
  // A marker holds no control word, so that is where the source goes on after the word; a
  // word replaced by nothing leaves the next character of the source there, which the
  // search passes over.
  Rewrite<char> rewrite(text, false);
  const std::string& source = rewrite.source();
  for (; p != std::string::npos; p = source.find(word, p + 1)) {
    const std::size_t digits = p + word.size();
    if (digits >= source.size() || source[digits] < '1' || source[digits] > '9') continue;
    std::size_t end = digits;
    while (end < source.size() && end - digits < 4 && source[end] >= '0' && source[end] <= '9') ++end;
    const std::size_t index = static_cast<std::size_t>(std::stoi(source.substr(digits, end - digits)));
    if (end < source.size() && source[end] == ' ') ++end;
    if (index > colours.size()) throw NoEntryInColourList();
    rewrite.keepUpTo(p);
    rewrite.replace(end - p, ""sv);
    if (markerOpen) {
      rewrite.write(*markerOpen);
      rewrite.write(colours[index - 1]);
      rewrite.write(markup::kMarkerClose);
    }
    p = markerOpen ? end - 1 : end;
  }
  rewrite.finish();
}

// "\'hh" becomes the Windows-1252 character and "\uN?" the Unicode one (a surrogate pair
// in two words), and the placeholder of a typed backslash becomes the backslash. In the
// same pass, so that a typed U+E000 stays itself. Control characters and the other
// characters XML cannot hold are dropped: they have no place in a nickname and would
// make the markup unparseable.
std::string decodeCharacterEscapes(const std::string& text) {
  std::string out;
  out.reserve(text.size());
  char16_t highSurrogate = 0;
  const auto hex = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '\\' && text[i] != kTypedBackslash.front()) {
      highSurrogate = 0;
      out.push_back(text[i++]);
      continue;
    }
    if (text.compare(i, kTypedBackslash.size(), kTypedBackslash) == 0) {
      out.push_back('\\');
      i += kTypedBackslash.size();
      continue;
    }
    if (text.compare(i, 2, "\\'") == 0 && i + 3 < text.size() && hex(text[i + 2]) >= 0 &&
        hex(text[i + 3]) >= 0) {
      const int byte = hex(text[i + 2]) * 16 + hex(text[i + 3]);
      if (byte >= 0x20) appendUtf8(out, cp1252ToUnicode(static_cast<unsigned char>(byte)));
      i += 4;
      continue;
    }
    if (text.compare(i, 2, "\\u") == 0) {
      std::size_t end = i + 2;
      if (end < text.size() && text[end] == '-') ++end;
      const std::size_t digits = end;
      while (end < text.size() && end - digits < 6 && text[end] >= '0' && text[end] <= '9') ++end;
      if (end > digits && end < text.size() && text[end] == '?') {
        const int value = std::stoi(text.substr(i + 2, end - i - 2));
        const auto unit = static_cast<char16_t>(value);
        if (unit >= 0xD800 && unit <= 0xDBFF) {
          highSurrogate = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
          if (highSurrogate) appendUtf8(out, 0x10000 + ((highSurrogate - 0xD800) << 10) + (unit - 0xDC00));
          highSurrogate = 0;
        } else if (platform::isXmlChar(unit) && unit != 0x9 && unit != 0xA && unit != 0xD) {
          appendUtf8(out, unit);
        }
        i = end + 1;
        continue;
      }
    }
    highSurrogate = 0;
    out.push_back(text[i]);
    ++i;
  }
  return out;
}

// The body of the box's RTF, made into the markup document's text.
std::string markupText(std::string rtf, std::int16_t backgroundFlag, ConversionContext& ctx) {
  errors::StepMarker& step = ctx.failures.step;
  step.advance();
  const std::vector<std::string> colours = colourList(rtf);

  step.advance();
  std::string text = bodyOf(std::move(rtf), ctx);
  replaceAll(text, "\\\\"sv, kTypedBackslash);

  step.advance();
  for (std::string_view word : {"\\uc1"sv, "\\pard"sv, "\\fs20 "sv, "\\fs20"sv}) replaceAll(text, word, ""sv);
  replaceAll(text, "\\par "sv, markup::kLine);
  replaceAll(text, "\\par"sv, markup::kLine);
  replaceAll(text, markup::kSpace, kSpacePlaceholder);
  replaceAll(text, "\\'b7"sv, "\u00B7"sv);
  replaceAll(text, "\u00B7&"sv, kItalicPlaceholder);

  // The text is escaped for XML here, the line markers with it.
  step.advance();
  replaceAll(text, "&"sv, "&amp;"sv);
  replaceAll(text, "<"sv, "&lt;"sv);
  replaceAll(text, ">"sv, "&gt;"sv);
  replaceAll(text, kSpacePlaceholder, markup::kSpace);

  // The legacy single-character codes, in either case of hex digits.
  step.advance();
  for (const auto& [escape, code] :
       {std::pair{"02"sv, '\x02'}, std::pair{"03"sv, '\x03'}, std::pair{"05"sv, '\x05'},
        std::pair{"1f"sv, '\x1F'}, std::pair{"1F"sv, '\x1F'}, std::pair{"06"sv, '\x06'},
        std::pair{"0f"sv, '\x0F'}, std::pair{"0F"sv, '\x0F'}}) {
    replaceAll(text, "\\'" + std::string(escape), std::string(1, code));
  }
  replaceAll(text, "\\{"sv, "{"sv);
  replaceAll(text, "\\}"sv, "}"sv);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  stripTrailingOffWords(text);

  step.advance();
  replaceToggles(text);
  replaceColourWords(text, "\\cf", colours, markup::kFgOpen);
  replaceColourWords(text, "\\highlight", colours,
                     backgroundFlag == 1 ? std::optional(markup::kBgOpen) : std::nullopt);
  const std::string_view defaultBackground = backgroundFlag == 1 ? markup::kDefaultBackground : ""sv;
  replaceAll(text, "\\highlight0 "sv, defaultBackground);
  replaceAll(text, "\\highlight0"sv, defaultBackground);
  replaceAll(text, "\\cf0 "sv, markup::kDefaultText);
  replaceAll(text, "\\cf0"sv, markup::kDefaultText);

  step.advance();
  text = decodeCharacterEscapes(text);

  if (ctx.mode == EditorMode::Nickname && !ctx.noEnd) text += markup::kEnd;
  return std::string(markup::kRootOpen) + "\r\n" + text + "\r\n" + std::string(markup::kRootClose);
}

// --- length reduction ---------------------------------------------------------------

enum class Dropped { None = 0, SomeKind = 1, AllColours = 2 };

// Whether the Plus! text of the document fits: within the mode's limit, or within the fit's
// limit once written in the fit's codes.
bool fitsAsIs(const platform::XmlDocument& doc, ConversionContext& ctx) {
  if (!ctx.fit) return plusLength(doc) <= static_cast<std::size_t>(lengthLimit(ctx.mode));
  return ctx.fit->limit == 0 || ctx.fit->measure(xml2plus(doc.xml())) <= ctx.fit->limit;
}

// Thins the colour markers until the Plus! form fits: the first marker of each kind stays,
// every second one goes in a sweep, and a sweep that reaches the end starts over, so
// gradients get coarser step by step. This version converts the whole document and selects
// the markers again at every pass: the reference the kept version below is held to.
Dropped reduceLengthByPasses(platform::XmlDocument& doc, ConversionContext& ctx) {
  errors::LoopWatchdog watchdog(static_cast<int>(ctx.mode), ctx.dialogs, ctx.messages);
  std::size_t fgCursor = 1, bgCursor = 1;
  Dropped dropped = Dropped::None;
  for (ctx.reductionPasses = 1;; ++ctx.reductionPasses) {
    if (fitsAsIs(doc, ctx)) break;
    if (!watchdog.mayGoOn()) break;

    std::vector<platform::XmlNode> fg = doc.selectNodes("/nick/FG");
    std::vector<platform::XmlNode> bg = doc.selectNodes("/nick/BG");
    const bool onText = fg.size() >= bg.size();
    std::vector<platform::XmlNode>& markers = onText ? fg : bg;
    std::size_t& cursor = onText ? fgCursor : bgCursor;
    platform::XmlNode root = doc.documentElement();
    if (!markers.empty()) {
      if (cursor <= markers.size() - 1) {
        root.removeChild(markers[cursor]);
        markers.erase(markers.begin() + static_cast<std::ptrdiff_t>(cursor));
        ++cursor;
      } else {
        cursor = 1;
      }
      if (markers.size() == 1) {
        root.removeChild(markers.front());
        markers.clear();
        dropped = Dropped::SomeKind;
      }
    }

    // With no colour left, the text is refused only if it still does not fit: a text that
    // fits once uncoloured is offered to the user instead.
    if (doc.selectNodes("/nick/FG").empty() && doc.selectNodes("/nick/BG").empty()) {
      if (!fitsAsIs(doc, ctx)) dropped = Dropped::AllColours;
      break;
    }
    watchdog.endPass();
  }
  return dropped;
}

// The passes of the thinning above on marker lists kept instead of selected again. Which
// markers a pass removes depends on the markers alone, never on the length, so the same
// passes can be made on a copy of the document to look ahead.
class Thinning {
 public:
  explicit Thinning(const platform::XmlDocument& doc)
      : fg_(doc.selectNodes("/nick/FG")), bg_(doc.selectNodes("/nick/BG")), root_(doc.documentElement()) {}

  // Removes the markers of one pass, each told to `removing` just before it goes; false when
  // no colour marker is left.
  template <typename Removing>
  bool pass(Removing&& removing) {
    const bool onText = fg_.size() >= bg_.size();
    std::vector<platform::XmlNode>& markers = onText ? fg_ : bg_;
    std::size_t& cursor = onText ? fgCursor_ : bgCursor_;
    const auto remove = [&](const platform::XmlNode& marker) {
      removing(marker);
      root_.removeChild(marker);
    };
    if (!markers.empty()) {
      if (cursor <= markers.size() - 1) {
        remove(markers[cursor]);
        markers.erase(markers.begin() + static_cast<std::ptrdiff_t>(cursor));
        ++cursor;
      } else {
        cursor = 1;
      }
      if (markers.size() == 1) {
        remove(markers.front());
        markers.clear();
        droppedAKind_ = true;
      }
    }
    return !fg_.empty() || !bg_.empty();
  }

  // Whether every marker of one kind has gone.
  bool droppedAKind() const { return droppedAKind_; }

 private:
  std::vector<platform::XmlNode> fg_, bg_;
  platform::XmlNode root_;
  std::size_t fgCursor_ = 1, bgCursor_ = 1;
  bool droppedAKind_ = false;
};

constexpr auto kUnmeasured = [](const platform::XmlNode&) {};

// The same thinning, pass for pass, with the Plus! length kept up to date as markers go: a
// pass costs no conversion.
Dropped reduceToPlusLimit(platform::XmlDocument& doc, ConversionContext& ctx) {
  const std::size_t limit = static_cast<std::size_t>(lengthLimit(ctx.mode));
  errors::LoopWatchdog watchdog(static_cast<int>(ctx.mode), ctx.dialogs, ctx.messages);
  Dropped dropped = Dropped::None;
  PlusLength length(doc);
  Thinning thinning(doc);
  for (ctx.reductionPasses = 1;; ++ctx.reductionPasses) {
    if (length.value() <= limit) break;
    if (!watchdog.mayGoOn()) break;
    const bool left = thinning.pass([&](const platform::XmlNode& marker) { length.removing(marker); });
    if (thinning.droppedAKind()) dropped = Dropped::SomeKind;
    if (!left) {
      if (length.value() > limit) dropped = Dropped::AllColours;
      break;
    }
    watchdog.endPass();
  }
  return dropped;
}

// Whether the document, after `passes` passes of the thinning, fits the fit's limit; the
// document itself is left as it is.
bool fitsAfter(const std::string& markup, int passes, const LengthFit& fit) {
  platform::XmlDocument copy;
  copy.loadXml(markup);
  Thinning thinning(copy);
  for (int p = 0; p < passes && thinning.pass(kUnmeasured); ++p) {
  }
  return fit.measure(xml2plus(copy.xml())) <= fit.limit;
}

// The same thinning fitted to another target's limit. A target's length is known only by
// writing the whole text, so instead of measuring after every pass the first pass after which
// the text fits is searched for: each pass takes colour changes away, so a text that fits
// after some pass fits after every later one, and the search ends on a pass after which the
// text fits right after one after which it does not. The passes are then made on the
// document as the loop above makes them, the watchdog's questions with them.
Dropped reduceToFit(platform::XmlDocument& doc, ConversionContext& ctx) {
  const LengthFit& fit = *ctx.fit;
  std::optional<int> first;  // passes after which the text first fits; none when it never does
  if (fitsAsIs(doc, ctx)) {
    first = 0;
  } else {
    const std::string markup = doc.xml();
    int all = 0;  // passes after which no colour marker is left
    {
      platform::XmlDocument copy;
      copy.loadXml(markup);
      Thinning count(copy);
      for (all = 1; count.pass(kUnmeasured); ++all) {
      }
    }
    if (fitsAfter(markup, all, fit)) {
      int fails = 0, fits = all;
      while (fits - fails > 1) {
        const int middle = fails + (fits - fails) / 2;
        (fitsAfter(markup, middle, fit) ? fits : fails) = middle;
      }
      first = fits;
    }
  }

  errors::LoopWatchdog watchdog(static_cast<int>(ctx.mode), ctx.dialogs, ctx.messages);
  Dropped dropped = Dropped::None;
  Thinning thinning(doc);
  for (ctx.reductionPasses = 1;; ++ctx.reductionPasses) {
    if (first && ctx.reductionPasses - 1 == *first) break;
    if (!watchdog.mayGoOn()) break;
    const bool left = thinning.pass(kUnmeasured);
    if (thinning.droppedAKind()) dropped = Dropped::SomeKind;
    if (!left) {
      if (!first) dropped = Dropped::AllColours;
      break;
    }
    watchdog.endPass();
  }
  return dropped;
}

Dropped reduceLength(platform::XmlDocument& doc, ConversionContext& ctx) {
  if (ctx.referenceReduction) return reduceLengthByPasses(doc, ctx);
  return ctx.fit ? reduceToFit(doc, ctx) : reduceToPlusLimit(doc, ctx);
}

// Another target than Plus! codes has its own limit in its own unit or, without one, the
// reach of a gradient in characters.
std::size_t fitLimit(const LengthFit& fit) {
  return fit.limit != 0 ? fit.limit : static_cast<std::size_t>(kMaxGradientEnd);
}

// The refusal of a text over the fit's limit, naming the limit.
std::string tooLongForFit(const ConversionContext& ctx) {
  const bool bytes = ctx.fit->limit != 0 && ctx.fit->unit == LengthFit::Unit::Utf8Bytes;
  return errors::withValue(ctx.messages.message(bytes ? msg::kTooLongForTargetBytes : msg::kTooLongForTarget),
                           std::to_string(fitLimit(*ctx.fit)));
}

std::string withoutFinalStop(std::string text) {
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

std::string convert(RichTextBox& box, std::int16_t backgroundFlag, ConversionContext& ctx) {
  errors::StepMarker& step = ctx.failures.step;
  step.reset();
  const bool nickname = ctx.mode == EditorMode::Nickname;

  // Refusals: nothing typed, or more characters than the limit.
  step.advance();
  if (box.length() == 0) {
    ctx.dialogs.message(ctx.messages.message(nickname ? msg::kTypeANick : msg::kTypeAMessage),
                        Icon::Critical);
    box.setFocus();
    return {};
  }
  if (refuseTooLong(box, ctx)) return {};

  // Protective recolouring happens in the scratch box; the box itself stays as it is.
  step.advance();
  ctx.scratch.copyTextRtfFrom(box);
  const std::u32string text = decodeUtf8(ctx.scratch.text());
  protectEmoticons(ctx.scratch, text, kEmoticons5);
  protectEmoticons(ctx.scratch, text, kEmoticons4);
  protectEmoticons(ctx.scratch, text, kEmoticons3);
  protectEmoticons(ctx.scratch, text, kEmoticons2);
  protectTypedCodes(ctx.scratch, text);
  protectSpaces(ctx.scratch);

  const std::string document = markupText(ctx.scratch.textRtf(), backgroundFlag, ctx);
  if (ctx.firstMarkup) *ctx.firstMarkup = document;

  step.advance();
  platform::XmlDocument doc;
  if (!doc.loadXml(document)) {
    ctx.dialogs.message(
        "XML Error: " + doc.parseError().reason + "\r\n\r\n" +
            ctx.messages.message(nickname ? msg::kNicknameNotCreated : msg::kMessageNotCreated),
        Icon::Critical, errors::kFatalTitle);
    ctx.lifecycle.request(errors::Lifecycle::Request::Halt);
    return {};
  }

  step.advance();
  switch (reduceLength(doc, ctx)) {
    case Dropped::AllColours: {
      // Fitted to another target, the refusal names that target's limit.
      const std::string notice = ctx.fit ? withoutFinalStop(tooLongForFit(ctx)) +
                                               ctx.messages.message(msg::kOrChangeFormatting) + "."
                                 : nickname ? ctx.messages.message(msg::kNicknameTooLong) +
                                                  ctx.messages.message(msg::kOrChangeFormatting) + "."
                                            : withoutFinalStop(ctx.messages.message(msg::kMessageTooLong)) +
                                                  ctx.messages.message(msg::kOrChangeFormatting) + ".";
      ctx.dialogs.message(notice, Icon::Exclamation);
      return {};
    }
    case Dropped::SomeKind:
      if (!ctx.dialogs.ask(
              ctx.messages.message(nickname ? msg::kKeepNicknameUncoloured : msg::kSendMessageUncoloured),
              Icon::Question))
        return {};
      return doc.xml();
    case Dropped::None:
      return doc.xml();
  }
  return {};
}

}  // namespace

bool refuseTooLong(const RichTextBox& box, ConversionContext& ctx) {
  if (ctx.fit) {
    const std::size_t limit = fitLimit(*ctx.fit);
    const std::size_t length = ctx.fit->limit != 0 && ctx.fit->unit == LengthFit::Unit::Utf8Bytes
                                   ? box.text().size()
                                   : static_cast<std::size_t>(box.length());
    if (length <= limit) return false;
    ctx.dialogs.message(tooLongForFit(ctx), Icon::Exclamation);
    return true;
  }
  if (box.length() <= lengthLimit(ctx.mode)) return false;
  ctx.dialogs.message(ctx.mode == EditorMode::Nickname ? ctx.messages.message(msg::kNicknameTooLong) + "."
                                                       : ctx.messages.message(msg::kMessageTooLong),
                      Icon::Exclamation);
  return true;
}

std::string rtf2xml(RichTextBox& box, std::int16_t backgroundFlag, ConversionContext& ctx) {
  return errors::guardRoutine(ctx.failures, "rtf2xml", std::string{},
                              [&] { return convert(box, backgroundFlag, ctx); });
}

std::string rtf2plus(RichTextBox& box, std::int16_t backgroundFlag, ConversionContext& ctx) {
  const std::string markup = rtf2xml(box, backgroundFlag, ctx);
  if (markup.empty()) return {};
  return xml2plus(markup, ctx.failures);
}

}  // namespace tessalune::engine
