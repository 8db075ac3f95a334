#include "ui/quicknick_view.h"

#include <utility>

namespace tessalune::ui {

void QuickNickControlsView::setCounter(std::string text) {
  counter_.setCaption(std::move(text));
}

std::string QuickNickControlsView::shortcut() const {
  return shortcut_.text();
}

void QuickNickControlsView::setShortcut(std::string shortcut) {
  shortcut_.setText(shortcut);  // copied: GCC 12 mistakes a moved string for an uninitialized one here
}

std::string QuickNickControlsView::previousShortcut() const {
  return previousShortcut_.caption();
}

void QuickNickControlsView::setPreviousShortcut(std::string shortcut) {
  previousShortcut_.setCaption(std::move(shortcut));
}

engine::RichTextBox& QuickNickControlsView::preview() {
  return preview_.box();
}

}  // namespace tessalune::ui
