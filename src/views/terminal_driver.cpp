#include "views/terminal_driver.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include <poll.h>

#include "engine/ascii.h"
#include "engine/colour.h"
#include "engine/utf8.h"
#include "ui/controls.h"

namespace tessalune::views {

// The driver shows the window models' controls.
using ui::CheckBox;
using ui::ComboBox;
using ui::Control;
using ui::ControlKind;
using ui::Frame;
using ui::Label;
using ui::OptionButton;
using ui::OwnerDrawnButton;
using ui::RichTextControl;
using ui::TextBox;
using ui::Window;

namespace {

// Showing a window ---------------------------------------------------------------------

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

bool isRich(const Control* c) {
  return c && c->kind() == ControlKind::RichTextBox;
}
bool isTextBox(const Control* c) {
  return c && c->kind() == ControlKind::TextBox;
}

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

std::string quoted(std::string_view text) {
  return "\"" + oneLine(text) + "\"";
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

// Commands -----------------------------------------------------------------------------

// Why a command cannot be carried out.
class Refusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Context {
  Window& window;
  std::ostream& out;
  platform::TerminalDialogs& dialogs;
  AnsiMode mode;
  Control* current = nullptr;  // the box that select or type last acted on
};

// The words of a command line, taken one at a time.
class Args {
 public:
  explicit Args(std::string_view text) : text_(text) {}

  void setUsage(std::string_view usage) { usage_ = usage; }
  Refusal usage() const { return Refusal("usage: " + std::string(usage_)); }

  // The next word; a missing one is a usage error.
  std::string_view word() {
    const std::string_view w = next();
    if (w.empty()) throw usage();
    return w;
  }
  // The next word without taking it; empty at the end of the line.
  std::string_view peek() const {
    Args copy = *this;
    return copy.next();
  }
  // Every word left.
  std::vector<std::string_view> words() {
    std::vector<std::string_view> all;
    for (std::string_view w = next(); !w.empty(); w = next()) all.push_back(w);
    return all;
  }
  // The line after the one space that follows the last word taken, as typed.
  std::string_view rest() const { return text_.empty() ? text_ : text_.substr(1); }
  // Nothing may follow.
  void end() const {
    if (!peek().empty()) throw usage();
  }

 private:
  std::string_view next() {
    const std::size_t start = text_.find_first_not_of(" \t");
    if (start == std::string_view::npos) {
      text_ = {};
      return {};
    }
    const std::size_t stop = text_.find_first_of(" \t", start);
    const std::string_view w = text_.substr(start, stop - start);
    text_ = stop == std::string_view::npos ? std::string_view{} : text_.substr(stop);
    return w;
  }

  std::string_view text_;
  std::string_view usage_;
};

std::string_view trimmed(std::string_view text) {
  const std::size_t start = text.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  return text.substr(start, text.find_last_not_of(" \t") - start + 1);
}

std::optional<int> toNumber(std::string_view word) {
  int value = 0;
  const char* end = word.data() + word.size();
  const auto [stop, error] = std::from_chars(word.data(), end, value);
  if (word.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

int number(std::string_view word) {
  if (const std::optional<int> n = toNumber(word)) return *n;
  throw Refusal(quoted(word) + " is not a number");
}

// "#RRGGBB" (the # may be left out) as a colour number.
engine::ColourNumber colourNumber(std::string_view word) {
  std::string_view digits = word;
  if (!digits.empty() && digits.front() == '#') digits.remove_prefix(1);
  if (digits.size() != 6 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos) {
    throw Refusal(quoted(word) + " is not a colour #RRGGBB");
  }
  return engine::hex2rgb(digits);
}

// Typed text with \n as a line break (CR LF), \t as a tab and \\ as a backslash.
std::string unescaped(std::string_view typed) {
  std::string text;
  for (std::size_t i = 0; i < typed.size(); ++i) {
    const char next = i + 1 < typed.size() ? typed[i + 1] : '\0';
    if (typed[i] == '\\' && (next == 'n' || next == 't' || next == '\\')) {
      text += next == 'n' ? "\r\n" : next == 't' ? "\t" : "\\";
      ++i;
    } else {
      text += typed[i];
    }
  }
  return text;
}

// The control a caption names: a button's caption lies on its label, which stands for it.
Control* byCaption(const Window& window, std::string_view caption) {
  const std::string wanted = engine::asciiLowered(caption);
  for (Control* c : window.controls()) {
    if (c->caption().empty() || engine::asciiLowered(c->caption()) != wanted) continue;
    Control* holder = c->container();
    if (c->kind() == ControlKind::Label && holder && holder->kind() == ControlKind::OwnerDrawnButton)
      return holder;
    return c;
  }
  return nullptr;
}

// A control by its name, or its name in any case, or its caption in any case.
Control& named(const Context& ctx, std::string_view name) {
  if (Control* c = ctx.window.find(std::string(name))) return *c;
  const std::string wanted = engine::asciiLowered(name);
  for (Control* c : ctx.window.controls()) {
    if (engine::asciiLowered(c->name()) == wanted) return *c;
  }
  if (Control* c = byCaption(ctx.window, name)) return *c;
  throw Refusal(ctx.window.name() + " has no control " + std::string(name) + " (show lists them)");
}

// The control a command's rest of line names: one word, or a caption of several words.
Control& namedByRest(const Context& ctx, Args& args) {
  std::string_view rest = trimmed(args.rest());
  if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
  if (rest.find_first_of(" \t\"") == std::string_view::npos && rest == trimmed(args.rest())) {
    Control& c = named(ctx, args.word());
    args.end();
    return c;
  }
  Control& c = named(ctx, rest);
  args.words();
  return c;
}

// A control the user can reach: shown and enabled, its containers too.
Control& usable(Control& c) {
  if (!c.shown()) throw Refusal(c.name() + " is hidden");
  if (!c.usable()) throw Refusal(c.name() + " is disabled");
  return c;
}

template <typename Model>
Model& as(Control& c, ControlKind kind, std::string_view kindName) {
  if (c.kind() == kind) return static_cast<Model&>(c);
  throw Refusal(c.name() + " is not a " + std::string(kindName));
}

// The rich-text box that select acts on when none is named: the last one acted on while it
// is shown, else the focused one, else the first one shown.
RichTextControl& selectionBox(Context& ctx) {
  if (isRich(ctx.current) && ctx.current->shown()) return static_cast<RichTextControl&>(*ctx.current);
  RichTextControl* first = nullptr;
  for (Control* c : ctx.window.controls()) {
    if (!isRich(c) || !c->shown()) continue;
    auto* rich = static_cast<RichTextControl*>(c);
    if (rich->box().hasFocus()) return *rich;
    if (!first) first = rich;
  }
  if (!first) throw Refusal(ctx.window.name() + " shows no rich-text box");
  return *first;
}

// The box that type acts on when none is named: the last one acted on while it is shown,
// else the focused rich-text box, else the first one shown that takes typing, else the
// first text box that does.
Control& typingBox(Context& ctx) {
  if (ctx.current && ctx.current->shown()) return *ctx.current;
  const auto takesTyping = [](const Control& c) {
    return c.acceptsUser() && (!isRich(&c) || !static_cast<const RichTextControl&>(c).box().locked());
  };
  RichTextControl* firstRich = nullptr;
  TextBox* firstText = nullptr;
  for (Control* c : ctx.window.controls()) {
    if (!takesTyping(*c)) continue;
    if (isRich(c)) {
      auto* rich = static_cast<RichTextControl*>(c);
      if (rich->box().hasFocus()) return *rich;
      if (!firstRich) firstRich = rich;
    } else if (isTextBox(c) && !firstText) {
      firstText = static_cast<TextBox*>(c);
    }
  }
  if (firstRich) return *firstRich;
  if (firstText) return *firstText;
  throw Refusal(ctx.window.name() + " has no box to type into");
}

// A list position by number (-1 for none) or by the entry's text.
int listPosition(const ComboBox& list, std::string_view what) {
  const int count = static_cast<int>(list.entries().size());
  if (const std::optional<int> position = toNumber(what)) {
    if (*position < -1 || *position >= count) {
      throw Refusal(list.name() + " has positions 0 to " + std::to_string(count - 1) + " (-1 for none)");
    }
    return *position;
  }
  const auto entry = std::find(list.entries().begin(), list.entries().end(), what);
  if (entry == list.entries().end()) throw Refusal(list.name() + " has no entry " + quoted(what));
  return static_cast<int>(entry - list.entries().begin());
}

void clickCommand(Context& ctx, Args& args) {
  if (trimmed(args.rest()).empty()) throw args.usage();
  usable(namedByRest(ctx, args)).userStroke();
}

void pressCommand(Context& ctx, Args& args) {
  if (trimmed(args.rest()).empty()) throw args.usage();
  usable(namedByRest(ctx, args)).userPress();
}

void releaseCommand(Context& ctx, Args& args) {
  if (trimmed(args.rest()).empty()) throw args.usage();
  usable(namedByRest(ctx, args)).userRelease();
}

void checkCommand(Context& ctx, Args& args) {
  CheckBox& box = as<CheckBox>(named(ctx, args.word()), ControlKind::CheckBox, "check box");
  const std::string_view state = args.word();
  args.end();
  if (state != "on" && state != "off") throw args.usage();
  usable(box);
  box.userCheck(state == "on");
}

// A list takes a position or an entry's text; a control array (opt_grad_nick(0) to (4))
// takes the number of the element to click.
void chooseCommand(Context& ctx, Args& args) {
  const std::string name(args.word());
  const std::string_view what = trimmed(args.rest());
  if (what.empty()) throw args.usage();
  Control* c = ctx.window.find(name);
  if (c && c->kind() == ControlKind::Combo) {
    auto& list = static_cast<ComboBox&>(*c);
    usable(list);
    const int position = listPosition(list, what);
    if (position < 0) {
      list.choose(position);  // no entry: only a script asks for that
    } else {
      list.userChoose(position);
    }
    return;
  }
  if (c) throw Refusal(name + " is not a list");
  const std::string element = name + "(";
  const bool isArray = std::any_of(ctx.window.controls().begin(), ctx.window.controls().end(),
                                   [&](const Control* e) { return e->name().starts_with(element); });
  if (!isArray) throw Refusal(ctx.window.name() + " has no control " + name);
  const int index = number(what);
  Control* chosen = ctx.window.find(element + std::to_string(index) + ")");
  if (!chosen) throw Refusal(name + " has no element " + std::to_string(index));
  usable(*chosen).userStroke();
}

void selectCommand(Context& ctx, Args& args) {
  const std::vector<std::string_view> words = args.words();
  if (words.size() != 2 && words.size() != 3) throw args.usage();
  RichTextControl& rich =
      words.size() == 3 ? as<RichTextControl>(named(ctx, words[0]), ControlKind::RichTextBox, "rich-text box")
                        : selectionBox(ctx);
  const int start = number(words[words.size() - 2]);
  const int length = number(words.back());
  usable(rich);
  rich.box().select(start, length);
  ctx.current = &rich;
}

// The first word names the box when it is a box of the window; the text is the rest of the
// line, as typed.
void typeCommand(Context& ctx, Args& args) {
  Control* target = ctx.window.find(std::string(args.peek()));
  if (isRich(target) || isTextBox(target)) {
    args.word();
  } else {
    target = &typingBox(ctx);
  }
  const std::string text = unescaped(args.rest());
  usable(*target);
  if (isRich(target)) {
    auto* rich = static_cast<RichTextControl*>(target);
    if (rich->box().locked()) throw Refusal(rich->name() + " is read-only");
    rich->box().replaceSelection(text);
  } else {
    static_cast<TextBox*>(target)->userType(text);
  }
  ctx.current = target;
}

// The colour waits in the dialogs' queue for the dialog that the click opens.
void colourCommand(Context& ctx, Args& args) {
  Control& c = named(ctx, args.word());
  const engine::ColourNumber colour = colourNumber(args.word());
  args.end();
  usable(c);
  ctx.dialogs.queueColour(colour);
  c.userStroke();
}

void fileCommand(Context& ctx, Args& args) {
  const std::string_view path = trimmed(args.rest());
  if (path.empty()) throw args.usage();
  ctx.dialogs.queueFile(std::string(path));
}

void showCommand(Context& ctx, Args& args) {
  const std::string_view what = args.peek();
  if (!what.empty() && what != "--all") throw args.usage();
  ctx.out << (what == "--all" ? describeWindow(ctx.window, ctx.mode) : describeActions(ctx.window, ctx.mode));
}

void helpCommand(Context& ctx, Args& args) {
  args.end();
  ctx.out << terminalDriverHelp();
}

// As the title bar's close box: the model decides what closing does.
void closeCommand(Context& ctx, Args& args) {
  args.end();
  ctx.window.userClose();
}

struct Command {
  std::string_view name;
  std::string_view usage;
  std::string_view what;
  void (*run)(Context&, Args&);
};

constexpr std::array<Command, 12> kCommands{{
    {"click", "click CONTROL", "press, release and click it, as the mouse does", clickCommand},
    {"press", "press CONTROL", "press the mouse button on it", pressCommand},
    {"release", "release CONTROL", "release the mouse button on it", releaseCommand},
    {"check", "check CONTROL on|off", "tick or untick a check box", checkCommand},
    {"choose", "choose CONTROL INDEX",
     "choose a list position (or an entry by its text), or click element INDEX of an array such as "
     "opt_grad_nick",
     chooseCommand},
    {"select", "select [BOX] START LENGTH", "select characters of a rich-text box", selectCommand},
    {"type", "type [BOX] TEXT",
     "replace the box's selection with TEXT, or set a text box's text (\\n: line break)", typeCommand},
    {"colour", "colour CONTROL #RRGGBB", "click CONTROL and answer its colour dialog", colourCommand},
    {"file", "file PATH", "answer the next file dialog with PATH", fileCommand},
    {"show", "show [--all]", "what a person can act on now (--all: every control shown)", showCommand},
    {"help", "help", "list the commands", helpCommand},
    {"close", "close", "close the window as its Close or Cancel button does", closeCommand},
}};

void execute(Context& ctx, std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  Args args(line);
  const std::string_view name = args.peek();
  if (name.empty() || name.front() == '#') return;
  try {
    args.word();
    const auto* command = std::find_if(kCommands.begin(), kCommands.end(),
                                       [name](const Command& command) { return command.name == name; });
    if (command == kCommands.end()) throw Refusal("unknown command " + quoted(name) + " (help lists them)");
    args.setUsage(command->usage);
    command->run(ctx, args);
  } catch (const Refusal& refusal) {
    ctx.out << "error: " << refusal.what() << "\n";
  }
}

// Runs its action when the scope ends, however it ends.
template <typename Action>
class ScopeExit {
 public:
  explicit ScopeExit(Action action) : action_(std::move(action)) {}
  ~ScopeExit() { action_(); }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

 private:
  Action action_;
};

// Whether a script line is a click or a close that the window can act on at once: only
// such a line is taken while a transfer runs, the others wait for the transfer's end.
bool actsNow(const Window& window, std::string_view line) {
  Args args(line);
  const std::vector<std::string_view> words = args.words();
  if (words.size() == 1 && words[0] == "close") {
    const Control* button = window.cancelButton();
    return button && button->acceptsUser();
  }
  if (words.size() != 2 || words[0] != "click") return false;
  const Control* control = window.find(std::string(words[1]));
  return control && control->acceptsUser();
}

// Whether a whole line waits on the terminal, without blocking.
bool lineTyped(std::istream& in, int fd) {
  if (in.rdbuf()->in_avail() > 0) return true;
  pollfd input{fd, POLLIN, 0};
  return ::poll(&input, 1, 0) > 0 && (input.revents & (POLLIN | POLLHUP)) != 0;
}

}  // namespace

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

namespace {

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

}  // namespace

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

std::string terminalDriverHelp() {
  std::string out = "Commands (CONTROL and BOX are names, as show lists them):\n";
  for (const Command& command : kCommands) {
    std::string line = "  " + std::string(command.usage);
    line.resize(29, ' ');
    out += line + std::string(command.what) + "\n";
  }
  return out;
}

void TerminalDriver::runModal(Window& window) {
  Context ctx{window, out_, dialogs_, options_.mode};
  modal_.push_back(&window);
  const ScopeExit leave([this] { modal_.pop_back(); });
  if (options_.showOnOpen) {
    out_ << describeActions(window, options_.mode)
         << "Act on it by name or caption (click OK, type Hello, check chkNick on); help lists the commands, "
            "show shows it again, close leaves.\n";
  }
  std::string line;
  while (window.visible()) {
    if (options_.prompt) out_ << window.name() << "> " << std::flush;
    if (held_) {
      line = std::move(*held_);
      held_.reset();
    } else if (!std::getline(in_, line)) {
      // The end of the input leaves the window as its Close or Cancel button would.
      if (options_.prompt) out_ << "\n";
      Args none("");
      closeCommand(ctx, none);
      if (window.visible()) window.hide();
      break;
    }
    const std::string before = options_.prompt ? boxTexts(window, options_.mode) : std::string();
    execute(ctx, line);
    // A person sees what an action did to the text.
    if (options_.prompt && window.visible()) {
      const std::string after = boxTexts(window, options_.mode);
      if (after != before) out_ << after;
    }
  }
  out_ << std::flush;
}

void TerminalDriver::pumpEvents(bool bodyStarted) {
  if (modal_.empty() || pumping_) return;
  const bool person = options_.terminalFd >= 0;
  if (!held_) {
    if (person ? !lineTyped(in_, options_.terminalFd) : !bodyStarted) return;
    std::string line;
    if (!std::getline(in_, line)) return;  // the window's own loop meets the end
    held_ = std::move(line);
  }
  Window& window = *modal_.back();
  if (!person && !actsNow(window, *held_)) return;
  Context ctx{window, out_, dialogs_, options_.mode};
  const std::string line = std::move(*held_);
  held_.reset();
  pumping_ = true;
  const ScopeExit done([this] { pumping_ = false; });
  execute(ctx, line);
  out_ << std::flush;
}

}  // namespace tessalune::views
