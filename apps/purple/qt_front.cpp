#include "qt_front.h"

#include <dlfcn.h>
#include <xcb/xcb.h>

#include <QDialog>
#include <cstdlib>
#include <utility>

#include "app_icon.h"
#include "plugin/plugin.h"

namespace tessalune::purple {

namespace {

bool insidePidgin() {
  return dlsym(RTLD_DEFAULT, "pidgin_conversations_get_handle") != nullptr;
}

// Whether an X connection opens on the client's display.
bool displayAnswers() {
  const char* display = std::getenv("DISPLAY");
  if (!display || !*display) return false;
  xcb_connection_t* connection = xcb_connect(display, nullptr);
  const bool answers = connection && !xcb_connection_has_error(connection);
  if (connection) xcb_disconnect(connection);
  return answers;
}

// Qt picks its platform theme from the desktop these name: on GNOME and its kin the GTK 3
// one, which loads GTK 3 into a GTK 2 process. They are set aside while the application is
// made, and given back at once.
class DesktopNamesAside {
 public:
  DesktopNamesAside() {
    for (const char* name : kNames) {
      if (const char* value = std::getenv(name)) {
        kept_.emplace_back(name, value);
        unsetenv(name);
      }
    }
  }
  ~DesktopNamesAside() {
    for (const auto& [name, value] : kept_) setenv(name.c_str(), value.c_str(), 1);
  }
  DesktopNamesAside(const DesktopNamesAside&) = delete;
  DesktopNamesAside& operator=(const DesktopNamesAside&) = delete;

 private:
  static constexpr const char* kNames[] = {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION",
                                           "GNOME_DESKTOP_SESSION_ID", "KDE_FULL_SESSION",
                                           "QT_QPA_PLATFORMTHEME"};
  std::vector<std::pair<std::string, std::string>> kept_;
};

}  // namespace

std::unique_ptr<Front> QtFront::create() {
  // Another plug-in's application serves when it is one with widgets; a core one cannot.
  if (QCoreApplication::instance()) {
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return nullptr;
  } else if (!(insidePidgin() && displayAnswers())) {
    return nullptr;
  }
  return std::unique_ptr<Front>(new QtFront());
}

QtFront::QtFront() {
  if (!QCoreApplication::instance()) {
    // Pidgin draws with GTK 2 on X: Qt takes the same display, and its generic theme rather
    // than the GTK 3 one, which must not share a process with GTK 2.
    const DesktopNamesAside aside;
    arguments_ = {"tessalune", "-platform", "xcb", "-platformtheme", "generic"};
    for (std::string& argument : arguments_) argv_.push_back(argument.data());
    argv_.push_back(nullptr);
    argc_ = static_cast<int>(arguments_.size());
    application_ = std::make_unique<QApplication>(argc_, argv_.data());
    // Closing Tessalune's last window is not the end of the client.
    QApplication::setQuitOnLastWindowClosed(false);
  }
  QApplication::setWindowIcon(desktop::applicationIcon());
}

QtFront::~QtFront() {
  closeAll();
  subscriptions_.clear();
  windows_.stopFollowing();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // the views dropped
}

void QtFront::pump() {
  QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

int QtFront::twipsPerPixel() const {
  return desktop::screenTwipsPerPixel();
}

void QtFront::follow(plugin::Plugin& plugin) {
  plugin_ = &plugin;
  subscriptions_.clear();
  windows_.follow(plugin, texts_, twipsPerPixel());
  // The views' own words (the names a screen reader gives) follow the plug-in's language.
  const auto followLanguage = [this] { texts_.follow(plugin_->language()); };
  followLanguage();
  subscriptions_.push_back(
      plugin.subscribeWindows([followLanguage](plugin::Plugin::WindowsEvent) { followLanguage(); }));
}

void QtFront::closeAll() {
  if (closed_) return;
  closed_ = true;
  // Boxes first, then the windows they stand over, innermost first: each loop returns once
  // control is back in it, and what runs then finds the front closed.
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(widget);
    if (dialog && dialog->isVisible() && !dynamic_cast<desktop::WindowView*>(dialog)) dialog->reject();
  }
  const std::vector<desktop::WindowView*> shown = windows_.shownViews();
  for (auto view = shown.rbegin(); view != shown.rend(); ++view) {
    ui::Window& window = (*view)->window();
    window.userClose();
    if (window.visible()) window.hide();
  }
}

platform::Answer QtFront::Closable::messageBox(std::string_view text, std::string_view title,
                                               platform::Icon icon, platform::Buttons buttons) {
  if (front_.closed_) return buttons == platform::Buttons::Ok ? platform::Answer::Ok : platform::Answer::No;
  return front_.dialogs_.messageBox(text, title, icon, buttons);
}

std::optional<std::uint32_t> QtFront::Closable::chooseColour(std::uint32_t initial) {
  if (front_.closed_) return std::nullopt;
  return front_.dialogs_.chooseColour(initial);
}

std::string QtFront::Closable::chooseFile(const platform::FileDialogRequest& request) {
  if (front_.closed_) return {};
  return front_.dialogs_.chooseFile(request);
}

void QtFront::Closable::runModal(ui::Window& window) {
  if (!front_.closed_) front_.windows_.runModal(window);
}

}  // namespace tessalune::purple
