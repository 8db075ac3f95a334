#include "update_tools.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <memory>

#include "cli_session.h"
#include "exit_status.h"
#include "lang/languages.h"
#include "lang/message_variables.h"
#include "platform/terminal_dialogs.h"
#include "platform/ui_language.h"
#include "plugin/settings_session.h"
#include "store/store_context.h"
#include "system_shell.h"
#include "ui/update_window.h"
#include "update/curl_transfer.h"
#include "update/update_controller.h"

namespace tessalune::cli {

namespace {

struct UpdateOptions {
  std::string action = "check";
  // Empty where the user has no home folder: the command then fails, saying so.
  std::string pluginDir = plugin::defaultPluginDir().value_or("").string();
  std::string answer;
};

int languageIndexOf(int catalogueId) {
  return lang::LanguageId::ofCatalogue(catalogueId).value_or(lang::LanguageId::fallback()).position();
}

// The news comes in the language the preferences name, as the update window's News button
// asks for it; in the interface's language while the folder has no configuration.
int newsLanguage(const std::string& pluginDir, int interfaceLanguage) {
  std::error_code error;
  if (!std::filesystem::exists(store::configFilePath(pluginDir), error)) return interfaceLanguage;
  plugin::SettingsSession session(pluginDir, std::nullopt, plugin::SettingsSession::Failures::Tool);
  session.load();
  const int index = session.settings().language;
  return session.failed() || index < 0 ? interfaceLanguage : index;
}

// The download's progress on standard error, redrawn whenever the window's bar or its label
// changes: on a terminal a bar on one line, elsewhere a plain line at each quarter.
class ProgressPrinter {
 public:
  explicit ProgressPrinter(const ui::UpdateWindow& window) : window_(window), terminal_(::isatty(2) == 1) {}

  void update() {
    if (!window_.cnt_dwld.visible()) return;
    constexpr int kCells = 30;
    const int inner = std::max(1, window_.progressInnerWidth());
    const int filled = std::clamp(window_.progressBar.width() * kCells / inner, 0, kCells);
    if (terminal_) {
      std::cerr << "\r[" << std::string(static_cast<std::size_t>(filled), '#')
                << std::string(static_cast<std::size_t>(kCells - filled), ' ') << "] "
                << window_.lbl_progress.caption() << "   " << std::flush;
      drawn_ = true;
      return;
    }
    const int quarter = filled * 4 / kCells;
    if (quarter <= quarter_) return;
    quarter_ = quarter;
    std::cerr << "progress\t" << window_.lbl_progress.caption() << "\n";
  }
  // Ends the bar's line.
  void finish() {
    if (drawn_) std::cerr << "\n";
  }

 private:
  const ui::UpdateWindow& window_;
  bool terminal_;
  bool drawn_ = false;
  int quarter_ = 0;
};

void printLabels(const ui::UpdateWindow& window) {
  std::cout << "version\t" << window.lbl_majVer.caption() << "\n"
            << "result\t" << window.lbl_majInfo.caption() << "\n"
            << "status\t" << window.lbl_status.caption() << "\n";
  if (!window.lbl_progress.caption().empty())
    std::cout << "progress\t" << window.lbl_progress.caption() << "\n";
}

int runUpdate(const UpdateOptions& options) {
  if (plugin::installDataFolder(options.pluginDir)) {
    std::cerr << "tessalune: installed the data folder in "
              << (std::filesystem::path(options.pluginDir) / "Tessalune").string() << "\n";
  }
  platform::TerminalDialogs dialogs(
      std::cerr, options.answer.empty() ? std::nullopt : std::optional(options.answer == "yes"));
  lang::MessageVariables messages{lang::MessageCatalogue(platform::uiLanguage())};
  messages.loadMessages();
  ToolLifecycle lifecycle;
  errors::PluginErrorReport report(dialogs, messages, lifecycle);
  // Remembers whether the installer could be started.
  struct InstallerShell : SystemShell {
    std::optional<std::string> startMinimized(const std::string& program) override {
      std::optional<std::string> failure = SystemShell::startMinimized(program);
      started = !failure;
      return failure;
    }
    bool started = false;
  } shell;
  ui::UpdateWindow window;
  const int interfaceLanguage = languageIndexOf(messages.catalogue().languageId());
  update::UpdateDependencies deps{window,
                                  dialogs,
                                  messages,
                                  shell,
                                  report,
                                  options.pluginDir,
                                  [&] { return newsLanguage(options.pluginDir, interfaceLanguage); },
                                  [] { return std::make_unique<update::CurlTransfer>(); },
                                  {},
                                  update::baseAddress(update::processEnvironment)};
  update::UpdateController service(std::move(deps));
  ProgressPrinter progress(window);
  const auto redraw = [&progress](ui::Control&, ui::Property) { progress.update(); };
  const ui::Subscription bar = window.progressBar.subscribe(redraw);
  const ui::Subscription label = window.lbl_progress.subscribe(redraw);

  service.btnCheck_Click();
  if (options.action == "news" && service.newer()) service.btnNews_Click();
  if ((options.action == "download" || options.action == "install") && service.newer()) {
    service.btnDwld_Click();
    progress.finish();
    if (options.action == "install" && service.finished())
      service.btnCancel_Click();  // now the install button
  }
  printLabels(window);
  // A failed search or download is the network's or a file's failure, which is not the same
  // as finding nothing newer; the window's texts stay as they are, the cause has its line.
  if (!service.failureCause().empty()) {
    std::cerr << "tessalune: " << update::baseAddress(update::processEnvironment) << ": "
              << service.failureCause() << "\n";
  }
  if (window.lbl_majInfo.foreColour() == ui::UpdateWindow::kRed) return kFileOrNetwork;
  if (options.action == "check") return service.newer() ? kSuccess : kNotDone;
  if (options.action == "news" && service.news().empty())
    return service.failureCause().empty() ? kNotDone : kFileOrNetwork;
  if (options.action == "news") return kSuccess;
  if (!service.newer()) return kNotDone;
  if (!service.finished()) return kFileOrNetwork;  // the download failed
  if (options.action == "install" && !shell.started) {
    std::cerr << "tessalune: " << service.installerPath().string()
              << ": the installer could not be started\n";
    return kFileOrNetwork;
  }
  return kSuccess;
}

}  // namespace

void addUpdateTools(CLI::App& app, int& exitCode) {
  auto options = std::make_shared<UpdateOptions>();
  CLI::App* command = app.add_subcommand(
      "update",
      "Look for a new version, show its news, download or install it, as the update window does "
      "(base address: TESSALUNE_UPDATE_URL, else the project's server). Exit status 1 when there is no newer "
      "version or the step did not happen, 4 when the network or a file failed.");
  command->add_option("ACTION", options->action, "check, news, download or install")
      ->check(CLI::IsMember({"check", "news", "download", "install"}))
      ->capture_default_str();
  command
      ->add_option("--plugin-dir", options->pluginDir,
                   "The plug-in's folder (the installer goes to Tessalune/)")
      ->capture_default_str();
  command->add_option("--answer", options->answer, "Answer every question yes or no")
      ->check(CLI::IsMember({"yes", "no"}));
  command->callback([options, &exitCode] {
    try {
      if (options->pluginDir.empty()) options->pluginDir = plugin::requireDefaultPluginDir().string();
      exitCode = runUpdate(*options);
    } catch (const std::exception& e) {
      std::cerr << "tessalune: " << e.what() << "\n";
      exitCode = kFileOrNetwork;
    }
  });
}

}  // namespace tessalune::cli
