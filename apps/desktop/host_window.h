#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QTextBrowser>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "host_texts.h"
#include "lang/message_variables.h"
#include "platform/messenger.h"
#include "plugin/plugin.h"
#include "qt_services.h"
#include "qt_translations.h"
#include "qt_window_system.h"
#include "quick_style_panel.h"

class QDockWidget;
class QMenu;

namespace tessalune::desktop {

// A line of rich text that never asks for more width than it is given: what does not fit ends
// in an ellipsis, and the whole text is the tooltip and the accessible description.
class ElidingLabel : public QLabel {
 public:
  using QLabel::QLabel;
  void setRichText(const QString& html);
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void elide();
  QString full_;
};

// The chat host's stand-in: the nickname at the top, the conversation of sent messages, an
// input line whose lines go to the plug-in as a chat host sends them ("/nick2 " results set
// the nickname, other results are sent), and a menu of the plug-in's published commands.
class HostWindow : public QMainWindow {
 public:
  HostWindow(const std::filesystem::path& pluginDir, std::string nickname);
  ~HostWindow() override;

  // Starts the plug-in (its Initialize): its first boxes may open, through dialogs().
  void start();

  // A typed line, as Enter in the input line sends it.
  void submit(const QString& line);
  // Gives the plug-in the host's idle time (its automatic update check); anything the user
  // does meanwhile makes it give up, and is carried out once it has.
  void runIdleWork();
  // What a command gave, as a chat host takes it: "/nick2 " and a nickname sets the
  // nickname, anything else is sent.
  void deliver(const std::string& result);

  plugin::Plugin& plugin() { return *plugin_; }
  QtWindowSystem& windows() { return windows_; }
  QtDialogs& dialogs() { return dialogs_; }
  QLineEdit* input() const { return input_; }
  QuickStylePanel* quickStyle() const { return quickStyle_; }
  QTextBrowser* conversation() const { return conversation_; }
  QAction* loadAgainAction() const { return loadAgain_; }
  std::string nickname() const { return messenger_.friendlyName(); }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Runs action now, or once the plug-in's idle work has given up: the plug-in takes no
  // call while that runs.
  void whenPluginFree(std::function<void()> action);
  void createPlugin();
  void buildMenu();
  // Gives the menu's commands their titles in the plug-in's messages.
  void titleCommands();
  void titleMenus();
  void restoreGeometryOrFit();
  void keepGeometry() const;
  // Shows whether the plug-in has halted: a status line, its commands greyed, the action
  // that loads it again.
  void showHalt();
  void loadAgain();
  // The plug-in's published commands: the menu's title, the command word, its help.
  struct PublishedCommand {
    std::string title, value, help;
  };
  std::vector<PublishedCommand> publishedCommands() const;
  static bool isPluginCommand(const std::string& word);
  void showNickname();
  // Takes the plug-in's language for the host's own words, when it changed.
  void followLanguage();
  void say(const QString& html);

  std::filesystem::path pluginDir_;
  HostTexts texts_;
  QtTranslations qtWords_;  // Qt's dialogs in the host's language
  QtDialogs dialogs_;
  QtShell shell_;
  QtWindowSystem windows_;
  platform::HostMessenger messenger_;
  lang::MessageVariables fallbackMessages_{
      lang::MessageCatalogue(lang::LanguageId::fallback().catalogueId())};
  std::unique_ptr<plugin::Plugin> plugin_;
  std::vector<ui::Subscription> subscriptions_;
  ElidingLabel* nickname_ = nullptr;
  QTextBrowser* conversation_ = nullptr;
  QLineEdit* input_ = nullptr;
  QuickStylePanel* quickStyle_ = nullptr;
  std::vector<QAction*> commandActions_;  // the plug-in's commands in the menu
  QAction* loadAgain_ = nullptr;
  QAction* quit_ = nullptr;
  QMenu* menu_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  QStringList commandTitles_;  // the plug-in's, as it gives them
  QDockWidget* dock_ = nullptr;
  bool idleWorkRunning_ = false;
  std::vector<std::function<void()>> waitingForPlugin_;
};

}  // namespace tessalune::desktop
