#pragma once

#include <map>
#include <memory>

#include "control_widgets.h"
#include "ui/subscription.h"
#include "ui/window.h"
#include "window_view.h"

namespace tessalune::plugin {
class Plugin;
}

namespace tessalune::desktop {

// Shows the plug-in's windows modally as Qt dialogs. A window gets its view the first time
// it is shown; when the plug-in replaces its windows (a restart, an import) the views of the
// old ones go, and the new windows get new views when they are shown. The views are owned
// here alone: each is a top-level window with no Qt parent, stacked over the window it was
// opened from as its transient child, so no other widget's end takes a view with it.
class QtWindowSystem : public ui::WindowSystem {
 public:
  explicit QtWindowSystem(ViewContext context) : context_(std::move(context)) {}
  ~QtWindowSystem() override;

  void runModal(ui::Window& window) override;
  void setContext(ViewContext context) { context_ = std::move(context); }
  // Shows the windows of this plug-in object from now on, painted from its images at the
  // screen's factor, the editor with its preview; views go when it unloads its windows.
  void follow(plugin::Plugin& plugin, const HostTexts& texts, int twipsPerPixel);
  // Before the plug-in object goes: its views go too.
  void stopFollowing();

  // The view of a window, made now if it has none yet.
  WindowView& viewOf(ui::Window& window);
  // The view of the window shown modally last, innermost first; null when none is shown.
  WindowView* activeView() const { return active_.empty() ? nullptr : active_.back(); }
  // Every view shown modally now, outermost first.
  const std::vector<WindowView*>& shownViews() const { return active_; }
  // Drops every view: their windows were unloaded.
  void dropViews();
  void repaintDrawn();

  // Called with each view as its window is shown (tests and screenshots act through it).
  std::function<void(WindowView&)> onShown;
  // Called with each view once it is made, before it is first shown.
  std::function<void(WindowView&)> onCreated;

 private:
  ViewContext context_;
  std::map<const ui::Window*, std::unique_ptr<WindowView>> views_;
  std::vector<WindowView*> active_;
  std::vector<ui::Subscription> subscriptions_;  // to the plug-in object followed
};

}  // namespace tessalune::desktop
