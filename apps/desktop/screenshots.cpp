#include "screenshots.h"

#include <QApplication>
#include <iostream>
#include <string>

#include "editor_preview.h"
#include "plugin/command_table.h"
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
  if (control) control->userStroke();
}

}  // namespace

bool saveScreenshots(HostWindow& host, const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  bool saved = true;
  host.windows().onShown = [&](WindowView& view) {
    // The editor colours the nickname with its third preset, as the host's picture shows,
    // and its preview shows what OK will give.
    const bool editor = view.window().name() == "frmPrincipal";
    if (editor) {
      stroke(view.window().find("panelColorFG_grad(3)"));
      if (auto* preview = view.findChild<PlusPreview*>("preview")) preview->refresh();
    }
    saved = save(view, folder / (view.window().name() + ".png")) && saved;
    if (editor) stroke(view.window().defaultButton());
    view.window().hide();
  };
  using plugin::Command;
  for (Command command :
       {Command::Nickname, Command::Preferences, Command::About, Command::Help, Command::UseQuickNick}) {
    host.submit(QString::fromUtf8("/" + std::string(plugin::commandRow(command).word)));
  }
  host.plugin().update()->showModal(host.windows());
  host.windows().onShown = nullptr;
  host.submit("Hello! The nickname above was coloured in the editor.");
  // The quick style panel with a gradient through three colours, written in IRC's codes and
  // counted in bytes; the host's picture has it in Plus! codes, as it opens.
  QuickStylePanel& quick = *host.quickStyle();
  quick.text()->setText("Tessalune quick style");
  quick.addStop();
  quick.setStop(1, 0x00D7FF);  // gold, between red and blue
  quick.setPurpose(QuickStylePanel::Purpose::Message);
  quick.setCodes(targets::Target::Irc);
  quick.preview()->refresh();
  host.show();
  saved = save(quick, folder / "quick_style.png") && saved;
  quick.setCodes(targets::Target::Plus);
  quick.preview()->refresh();
  return save(host, folder / "host.png") && saved;
}

}  // namespace tessalune::desktop
