#pragma once

#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "front.h"
#include "host_texts.h"
#include "qt_services.h"
#include "qt_window_system.h"

namespace tessalune::purple {

// Tessalune's windows and boxes in the client's own process, as the desktop host shows them:
// Qt runs on the client's glib loop. Once closed (the client quits, the plug-in unloads),
// every open window and box is cancelled and none opens any more.
class QtFront : public Front {
 public:
  // Null unless the client is Pidgin and its display takes a connection: without one Qt
  // would abort the whole client.
  static std::unique_ptr<Front> create();
  ~QtFront() override;

  platform::Dialogs& dialogs() override { return closable_; }
  ui::WindowSystem& windows() override { return closable_; }
  platform::Shell& shell() override { return shell_; }
  void pump() override;
  int twipsPerPixel() const override;
  void follow(plugin::Plugin& plugin) override;
  void closeAll() override;

 private:
  QtFront();

  // The dialogs and window system, refusing once the front is closed.
  class Closable : public platform::Dialogs, public ui::WindowSystem {
   public:
    explicit Closable(QtFront& front) : front_(front) {}
    platform::Answer messageBox(std::string_view text, std::string_view title, platform::Icon icon,
                                platform::Buttons buttons) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
    std::string chooseFile(const platform::FileDialogRequest& request) override;
    void runModal(ui::Window& window) override;

   private:
    QtFront& front_;
  };

  // The application's arguments live as long as it does.
  int argc_ = 0;
  std::vector<std::string> arguments_;
  std::vector<char*> argv_;
  std::unique_ptr<QApplication> application_;  // when the process had none
  desktop::HostTexts texts_;
  desktop::QtDialogs dialogs_;
  desktop::QtShell shell_;
  desktop::QtWindowSystem windows_{desktop::ViewContext{}};
  Closable closable_{*this};
  plugin::Plugin* plugin_ = nullptr;
  std::vector<ui::Subscription> subscriptions_;
  bool closed_ = false;
};

}  // namespace tessalune::purple
