// tessalune-desktop: the plug-in's windows on the desktop, driven from a small chat window.
#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string_view>

#include <QStyleFactory>

#include "app_icon.h"
#include "host_window.h"
#include "palettes.h"
#include "plugin/plugin_folder.h"
#include "screenshots.h"
#include "update/plugin_version.h"

namespace {

constexpr int kUsageError = 2;  // a wrong command line; 1 is any other failure

// Whether the command line only asks for the help or the version, which need no display.
bool onlyAsksForText(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if (a == "--help" || a == "-h" || a == "--help-all" || a == "--version" || a == "-v") return true;
  }
  return false;
}

// Whether the windows have somewhere to go: a platform named for Qt, or a display.
bool hasDisplay(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "-platform") return true;
  }
  for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
    if (!qEnvironmentVariableIsEmpty(variable)) return true;
  }
  return false;
}

// While the application connects to the display, Qt's fatal error (a display that cannot be
// reached) ends the program with one line and status 1, not an abort; Qt's warnings on the way
// there would only repeat it.
void fatalsEndCleanly(QtMsgType type, const QMessageLogContext&, const QString&) {
  if (type != QtFatalMsg) return;
  const QByteArray display = qgetenv("DISPLAY");
  std::cerr << "tessalune-desktop: cannot open the display"
            << (display.isEmpty() ? std::string() : " " + display.toStdString())
            << " (set DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM)\n";
  std::_Exit(1);
}

}  // namespace

int main(int argc, char** argv) {
  // The help and the version are printed without a display: a plain application parses them,
  // as it does a command line that cannot show anything.
  const bool textOnly = onlyAsksForText(argc, argv);
  const bool display = hasDisplay(argc, argv);
  if (!textOnly && display) qInstallMessageHandler(fatalsEndCleanly);
  std::unique_ptr<QCoreApplication> app = textOnly || !display
                                              ? std::make_unique<QCoreApplication>(argc, argv)
                                              : std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(nullptr);
  QCoreApplication::setOrganizationName("tessalune");  // the host's own settings' folder
  QCoreApplication::setApplicationName("tessalune-desktop");
  QCoreApplication::setApplicationVersion(tessalune::update::kVersionText);
  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Colours nicknames and chat messages with Messenger Plus! codes.\n"
      "Exit status: 0 when closed, 1 on a failure (no display, a folder that cannot be used), 2 for a wrong "
      "command line.");
  parser.addHelpOption();
  parser.addVersionOption();
  // None where the user has no home folder: then --plugin-dir must say where.
  const std::optional<std::filesystem::path> defaultFolder = tessalune::plugin::defaultPluginDir();
  const QCommandLineOption pluginDir("plugin-dir", "The plug-in's folder.", "DIR",
                                     QString::fromStdString(defaultFolder.value_or("").string()));
  const QCommandLineOption nick("nick", "The starting nickname (may hold Plus! codes).", "TEXT", "Tessalune");
  const QCommandLineOption screenshots("screenshots", "Save every window as a PNG file in DIR, then quit.",
                                       "DIR");
  const QCommandLineOption dark("dark", "Show the windows in Fusion's dark colours.");
  parser.addOptions({pluginDir, nick, screenshots, dark});
  if (textOnly) parser.process(*app);
  if (!parser.parse(QCoreApplication::arguments())) {
    std::cerr << "tessalune-desktop: " << parser.errorText().toLocal8Bit().constData() << " (see --help)\n";
    return kUsageError;
  }
  if (!parser.positionalArguments().isEmpty()) {
    std::cerr << "tessalune-desktop: " << parser.positionalArguments().first().toLocal8Bit().constData()
              << ": takes no such argument (see --help)\n";
    return kUsageError;
  }
  if (!display) {
    std::cerr << "tessalune-desktop: no display to show the windows on (DISPLAY and WAYLAND_DISPLAY are "
                 "unset); --help and --version need none\n";
    return 1;
  }
  QApplication::setWindowIcon(tessalune::desktop::applicationIcon());
  if (parser.isSet(dark)) {
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QApplication::setPalette(tessalune::desktop::darkPalette());
  }

  if (parser.value(pluginDir).isEmpty()) {
    const std::string_view why = tessalune::plugin::kNoDefaultPluginDir;
    std::cerr << "tessalune-desktop: " << why << "\n";
    // Screenshots are taken with nobody there to close a box.
    if (qobject_cast<QApplication*>(app.get()) && !parser.isSet(screenshots)) {
      QMessageBox::critical(nullptr, "Tessalune",
                            QString::fromUtf8(why.data(), static_cast<qsizetype>(why.size())));
    }
    return 1;
  }
  const std::filesystem::path folder = parser.value(pluginDir).toStdString();
  try {
    if (tessalune::plugin::installDataFolder(folder)) {
      std::cerr << "tessalune-desktop: installed the data folder in " << (folder / "Tessalune").string()
                << "\n";
    }
  } catch (const std::exception& e) {
    std::cerr << "tessalune-desktop: " << folder.string() << ": " << e.what() << "\n";
    return 1;
  }
  tessalune::desktop::HostWindow host(folder, parser.value(nick).toStdString());
  if (parser.isSet(screenshots)) {
    // Nobody is there to answer: every box is printed and taken as Yes.
    host.dialogs().answerMessage = [](std::string_view text) {
      std::cerr << "tessalune-desktop: " << text << "\n";
      return tessalune::platform::Answer::Yes;
    };
  }
  if (parser.isSet(screenshots)) {
    host.start();
    return tessalune::desktop::saveScreenshots(host, parser.value(screenshots).toStdString()) ? 0 : 1;
  }
  host.show();  // first: the plug-in's first boxes open centred on it
  host.start();
  return app->exec();
}
