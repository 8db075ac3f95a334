#include "qt_window_system.h"

#include <QApplication>
#include <QEventLoop>
#include <QPointer>

namespace tessalune::desktop {

QtWindowSystem::~QtWindowSystem() {
  for (auto& [window, view] : views_) delete view;
}

WindowView& QtWindowSystem::viewOf(ui::Window& window) {
  WindowView*& view = views_[&window];
  if (!view) {
    view = new WindowView(window, context_, QApplication::activeWindow());
    if (onCreated) onCreated(*view);
  }
  return *view;
}

void QtWindowSystem::runModal(ui::Window& window) {
  QPointer<WindowView> view = &viewOf(window);
  QEventLoop loop;
  const ui::Subscription hidden = window.subscribe([&loop, &window](ui::Control&, ui::Property p) {
    if (p == ui::Property::Visible && !window.visible()) loop.quit();
  });
  active_.push_back(view);
  view->show();
  view->raise();
  view->activateWindow();
  if (onShown) onShown(*view);
  if (window.visible()) loop.exec();
  active_.pop_back();
  if (view) view->hide();  // gone when a restart replaced the windows meanwhile
}

void QtWindowSystem::dropViews() {
  // A view whose window is still in its modal loop goes once the loop has returned.
  for (auto& [window, view] : views_) view->deleteLater();
  views_.clear();
}

void QtWindowSystem::repaintDrawn() {
  for (auto& [window, view] : views_) view->repaintDrawn();
}

}  // namespace tessalune::desktop
