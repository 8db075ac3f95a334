#include "screenshots.h"

#include <QApplication>
#include <iostream>

#include "ui/update_window.h"

namespace tessalune::desktop {

namespace {

bool save(QWidget& widget, const std::filesystem::path& file) {
  QApplication::processEvents();
  if (widget.grab().save(QString::fromStdString(file.string()), "PNG")) return true;
  std::cerr << "tessalune-desktop: cannot write " << file.string() << "\n";
  return false;
}

void stroke(ui::Control* control) {
  if (!control) return;
  control->userPress();
  control->userRelease();
  control->userClick();
}

}  // namespace

bool saveScreenshots(HostWindow& host, const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  bool saved = true;
  host.windows().onShown = [&](WindowView& view) {
    saved = save(view, folder / (view.window().name() + ".png")) && saved;
    // The editor colours the nickname with its third preset, as the host's picture shows.
    if (view.window().name() == "frmPrincipal") {
      stroke(view.window().find("panelColorFG_grad(3)"));
      stroke(view.window().defaultButton());
    }
    view.window().hide();
  };
  for (const char* command :
       {"/xtessalune", "/xtessalunecfg", "/xtessaluneabout", "/xtessalunehelp", "/xquicknick"}) {
    host.submit(command);
  }
  host.plugin().update()->showModal(host.windows());
  host.windows().onShown = nullptr;
  host.submit("Hello! The nickname above was coloured in the editor.");
  host.show();
  return save(host, folder / "host.png") && saved;
}

}  // namespace tessalune::desktop
