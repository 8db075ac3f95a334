#include "views/terminal_commands.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <vector>

#include "engine/ascii.h"
#include "engine/colour.h"
#include "ui/controls.h"
#include "views/window_text.h"

namespace tessalune::views {

// The commands act on the window models' controls.
using ui::CheckBox;
using ui::ComboBox;
using ui::Control;
using ui::ControlKind;
using ui::OptionButton;
using ui::OwnerDrawnButton;
using ui::RichTextControl;
using ui::TextBox;
using ui::Window;
using Context = CommandContext;

namespace {

// Why a command cannot be carried out.
class Refusal : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
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
    rich->userReplaceSelection(text);
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

}  // namespace

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

void closeAsUser(CommandContext& ctx) {
  Args none("");
  closeCommand(ctx, none);
}

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

std::string terminalDriverHelp() {
  std::string out = "Commands (CONTROL and BOX are names, as show lists them):\n";
  for (const Command& command : kCommands) {
    std::string line = "  " + std::string(command.usage);
    line.resize(29, ' ');
    out += line + std::string(command.what) + "\n";
  }
  return out;
}

}  // namespace tessalune::views
