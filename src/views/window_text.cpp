#include "views/window_text.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "engine/colour.h"
#include "engine/utf8.h"
#include "ui/controls.h"

namespace tessalune::views {

// The text shows the window models' controls.
using targets::actsOnTerminal;
using targets::AnsiMode;
using targets::renderAnsi;
using ui::CheckBox;
using ui::ComboBox;
using ui::Control;
using ui::ControlKind;
using ui::Label;
using ui::OptionButton;
using ui::RichTextControl;
using ui::TextBox;
using ui::Window;

bool isRich(const Control* c) {
  return c && c->kind() == ControlKind::RichTextBox;
}
bool isTextBox(const Control* c) {
  return c && c->kind() == ControlKind::TextBox;
}

std::string quoted(std::string_view text) {
  return "\"" + oneLine(text) + "\"";
}

std::optional<int> toNumber(std::string_view word) {
  int value = 0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  if (word.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

namespace {

const char* kindOf(const Control& c) {
  switch (c.kind()) {
    case ControlKind::RichTextBox:
      return "richtext";
    case ControlKind::OwnerDrawnButton:
    case ControlKind::PushButton:
      return "button";
    case ControlKind::Tab:
      return "tab";
    case ControlKind::Combo:
    case ControlKind::List:
      return "list";
    case ControlKind::TextBox:
      return "textbox";
    case ControlKind::Option:
      return "option";
    case ControlKind::CheckBox:
      return "checkbox";
    case ControlKind::Swatch:
      return "swatch";
    case ControlKind::Frame:
    case ControlKind::Panel:
      return "frame";
    case ControlKind::Label:
    case ControlKind::Link:
      return "label";
    default:
      return "control";
  }
}

// A back colour that is a colour number, as #RRGGBB and, in colour, a patch of it; nothing
// for a system colour.
std::string colourOf(const Control& c, AnsiMode mode) {
  const std::uint32_t colour = c.backColour();
  if (ui::isSystemColour(colour)) return {};
  std::string text = engine::rgb2hex(colour);
  if (mode == AnsiMode::Colour) {
    engine::CharFormat patchFormat;
    patchFormat.background = colour & engine::kRgbMask;
    const engine::StyledText patch(2, engine::StyledChar{U' ', patchFormat});
    text += " " + renderAnsi(patch);
  }
  return text;
}

// What the line of a control shows after its kind.
std::vector<std::string> stateOf(const Control& c, AnsiMode mode) {
  std::vector<std::string> parts;
  if (c.kind() == ControlKind::CheckBox) {
    parts.emplace_back(static_cast<const CheckBox&>(c).checked() ? "[x]" : "[ ]");
  }
  if (c.kind() == ControlKind::Option) {
    parts.emplace_back(static_cast<const OptionButton&>(c).selected() ? "(*)" : "( )");
  }
  if (c.kind() == ControlKind::TextBox) {
    parts.push_back(quoted(static_cast<const TextBox&>(c).text()));
  } else if (c.kind() == ControlKind::Combo) {
    const auto& list = static_cast<const ComboBox&>(c);
    const int count = static_cast<int>(list.entries().size());
    const int position = list.listIndex();
    if (position >= 0 && position < count) {
      parts.push_back(quoted(list.entries()[static_cast<std::size_t>(position)]));
      parts.push_back("position " + std::to_string(position) + " of " + std::to_string(count));
    } else {
      parts.push_back("no selection of " + std::to_string(count));
    }
  } else if (c.kind() == ControlKind::RichTextBox) {
    const engine::RichTextBox& box = static_cast<const RichTextControl&>(c).box();
    parts.push_back("selection " + std::to_string(box.selStart()) + "+" + std::to_string(box.selLength()));
    if (box.locked()) parts.emplace_back("read-only");
    if (box.hasFocus()) parts.emplace_back("focused");
  } else if (!c.caption().empty()) {
    parts.push_back(quoted(c.caption()));
  }
  if (std::string colour = colourOf(c, mode); !colour.empty()) parts.push_back(std::move(colour));
  if (!c.enabled()) parts.emplace_back("disabled");
  return parts;
}

// The characters of a box cut at its line breaks.
std::vector<engine::StyledText> linesOf(const engine::StyledText& text) {
  std::vector<engine::StyledText> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!engine::isLineBreakChar(text[i].ch)) {
      lines.back().push_back(text[i]);
      continue;
    }
    if (text[i].ch == U'\r' && i + 1 < text.size() && text[i + 1].ch == U'\n') ++i;
    lines.emplace_back();
  }
  return lines;
}

}  // namespace

// Text kept on one line: line breaks as \n, tabs as \t, nothing that acts on the terminal.
std::string oneLine(std::string_view text) {
  const std::u32string chars = engine::decodeUtf8(text);
  std::string out;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const char32_t c = chars[i];
    if (engine::isLineBreakChar(c)) {
      out += "\\n";
      if (c == U'\r' && i + 1 < chars.size() && chars[i + 1] == U'\n') ++i;
    } else if (c == U'\t') {
      out += "\\t";
    } else {
      engine::appendUtf8(out, actsOnTerminal(c) ? U'\uFFFD' : c);
    }
  }
  return out;
}

std::string describeWindow(const Window& window, AnsiMode mode) {
  std::string out = "== ";
  if (!window.caption().empty()) out += oneLine(window.caption()) + " ";
  out += "[" + window.name() + "] ==\n";
  std::size_t width = 0;
  for (const Control* c : window.controls()) {
    if (c->shownWithin(window)) width = std::max(width, c->name().size());
  }
  for (const Control* c : window.controls()) {
    if (!c->shownWithin(window)) continue;
    std::string line = c->name();
    line.resize(width + 2, ' ');
    line += kindOf(*c);
    for (const std::string& part : stateOf(*c, mode)) {
      line.resize(std::max(line.size(), width + 10), ' ');
      line += "  " + part;
    }
    out += line + "\n";
    if (isRich(c)) {
      for (const engine::StyledText& text :
           linesOf(static_cast<const RichTextControl*>(c)->box().characters())) {
        out += "    | " + renderAnsi(text, mode) + "\n";
      }
    }
  }
  return out;
}

// The text of the rich-text boxes shown, a line per line of text.
std::string boxTexts(const Window& window, AnsiMode mode) {
  std::string out;
  for (const Control* c : window.controls()) {
    if (!isRich(c) || !c->shownWithin(window)) continue;
    for (const engine::StyledText& text :
         linesOf(static_cast<const RichTextControl*>(c)->box().characters())) {
      out += c->name() + " | " + renderAnsi(text, mode) + "\n";
    }
  }
  return out;
}

namespace {

// The frame or panel a control lies in, or the window.
const Control* groupOf(const Control& c, const Window& window) {
  const Control* holder = c.container();
  while (holder && holder != &window && holder->kind() != ControlKind::Frame &&
         holder->kind() != ControlKind::Panel)
    holder = holder->container();
  return holder ? holder : &window;
}

// "0-16, 99" for the indexes of a control array's elements.
std::string indexRanges(const std::vector<int>& indexes) {
  std::string out;
  for (std::size_t i = 0; i < indexes.size();) {
    std::size_t j = i;
    while (j + 1 < indexes.size() && indexes[j + 1] == indexes[j] + 1) ++j;
    out += (out.empty() ? "" : ", ") + std::to_string(indexes[i]) +
           (j > i ? "-" + std::to_string(indexes[j]) : "");
    i = j + 1;
  }
  return out;
}

std::string actionLine(const Window& window, const Control& c, AnsiMode mode) {
  std::string line = "  " + c.name();
  line.resize(std::max<std::size_t>(line.size() + 2, 26), ' ');
  std::string caption = c.caption();
  if (caption.empty()) {
    if (const Control* label = window.find(c.name() + "_label")) caption = label->caption();
  }
  if (!caption.empty() && c.kind() != ControlKind::TextBox) line += quoted(caption) + "  ";
  for (const std::string& part : stateOf(c, mode)) {
    if (part != quoted(caption)) line += part + "  ";
  }
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line + "\n";
}

}  // namespace

// A person's view: the text of the rich-text boxes shown, then what can be acted on now,
// the window's own controls first, then each frame's or panel's under its caption; the
// elements of a control array make one line.
std::string describeActions(const Window& window, AnsiMode mode) {
  std::string out = "== ";
  if (!window.caption().empty()) out += oneLine(window.caption()) + " ";
  out += "[" + window.name() + "] ==\n" + boxTexts(window, mode);
  std::vector<const Control*> groups{&window};
  for (const Control* c : window.controls()) {
    if (c->kind() == ControlKind::Frame || c->kind() == ControlKind::Panel) groups.push_back(c);
  }
  for (const Control* group : groups) {
    std::string lines;
    std::vector<std::string> arraysDone;
    for (const Control* c : window.controls()) {
      if (!actsForAPerson(*c) || !c->shownWithin(window) || !c->usable() || groupOf(*c, window) != group)
        continue;
      const std::size_t paren = c->name().find('(');
      if (c->index() < 0 || paren == std::string::npos) {
        lines += actionLine(window, *c, mode);
        continue;
      }
      const std::string base = c->name().substr(0, paren);
      if (std::find(arraysDone.begin(), arraysDone.end(), base) != arraysDone.end()) continue;
      arraysDone.push_back(base);
      std::vector<int> indexes;
      for (const Control* e : window.controls()) {
        if (e->name().starts_with(base + "(") && actsForAPerson(*e) && e->shownWithin(window) && e->usable())
          indexes.push_back(toNumber(e->name().substr(paren + 1, e->name().size() - paren - 2)).value_or(-1));
      }
      lines += "  " + base + "(" + indexRanges(indexes) + ")\n";
    }
    if (lines.empty()) continue;
    if (group != &window) out += oneLine(group->caption().empty() ? group->name() : group->caption()) + ":\n";
    out += lines;
  }
  return out;
}

}  // namespace tessalune::views
