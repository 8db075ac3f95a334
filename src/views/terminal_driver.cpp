#include "views/terminal_driver.h"

#include <utility>

#include <poll.h>

#include "views/terminal_commands.h"
#include "views/window_text.h"

namespace tessalune::views {

using ui::Window;

namespace {

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

// Whether a whole line waits on the terminal, without blocking.
bool lineTyped(std::istream& in, int fd) {
  if (in.rdbuf()->in_avail() > 0) return true;
  pollfd input{fd, POLLIN, 0};
  return ::poll(&input, 1, 0) > 0 && (input.revents & (POLLIN | POLLHUP)) != 0;
}

}  // namespace

void TerminalDriver::runModal(Window& window) {
  CommandContext ctx{window, out_, dialogs_, options_.mode};
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
      closeAsUser(ctx);
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
  CommandContext ctx{window, out_, dialogs_, options_.mode};
  const std::string line = std::move(*held_);
  held_.reset();
  pumping_ = true;
  const ScopeExit done([this] { pumping_ = false; });
  execute(ctx, line);
  out_ << std::flush;
}

}  // namespace tessalune::views
