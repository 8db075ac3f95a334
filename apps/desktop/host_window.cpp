#include "host_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDockWidget>
#include <QGuiApplication>
#include <QMenuBar>
#include <QResizeEvent>
#include <QSettings>
#include <QStatusBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include "app_icon.h"
#include "contrast.h"
#include "focus_ring.h"
#include "mnemonics.h"
#include "platform/ui_language.h"
#include "plugin/command_table.h"
#include "screen_fit.h"
#include "ui/editor_window.h"

namespace tessalune::desktop {

void ElidingLabel::setRichText(const QString& html) {
  full_ = html;
  QTextDocument document;
  document.setHtml(html);
  const QString plain = document.toPlainText();
  setToolTip(plain);
  setAccessibleDescription(plain);
  elide();
  updateGeometry();
}

QSize ElidingLabel::minimumSizeHint() const {
  // Room for an ellipsis: the text itself never widens what holds the label.
  const QSize hint = QLabel::minimumSizeHint();
  return {std::min(hint.width(), fontMetrics().horizontalAdvance(QString(3, QChar(0x2026)))), hint.height()};
}

void ElidingLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  elide();
}

void ElidingLabel::elide() {
  QTextDocument document;
  document.setDefaultFont(font());
  document.setDocumentMargin(0);
  document.setHtml(full_);
  const qreal room = contentsRect().width() - 2 * margin() - indent();
  if (document.idealWidth() <= room || full_.isEmpty()) return setText(full_);
  const QString plain = document.toPlainText();
  // The document of the text's first `kept` characters and an ellipsis.
  const auto cut = [&](int kept) {
    auto shortened = std::make_unique<QTextDocument>();
    shortened->setDefaultFont(font());
    shortened->setDocumentMargin(0);
    shortened->setHtml(full_);
    QTextCursor cursor(shortened.get());
    cursor.setPosition(kept);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.insertText(QString(QChar(0x2026)));
    return shortened;
  };
  // The longest start that fits, never ending between the halves of a surrogate pair.
  int fits = 0, tooLong = static_cast<int>(plain.size());
  while (tooLong - fits > 1) {
    const int middle = (fits + tooLong) / 2;
    (cut(middle)->idealWidth() <= room ? fits : tooLong) = middle;
  }
  if (fits > 0 && plain.at(fits - 1).isHighSurrogate()) --fits;
  setText(cut(fits)->toHtml());
}

HostWindow::HostWindow(const std::filesystem::path& pluginDir, std::string nickname)
    : pluginDir_(pluginDir), windows_(ViewContext{}), messenger_(std::move(nickname)) {
  fallbackMessages_.loadMessages();
  QApplication::setWindowIcon(applicationIcon());
  installFocusRings();
  createPlugin();
  dialogs_.fallbackParent = this;

  setWindowTitle(texts_(HostText::HostTitle));
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  nickname_ = new ElidingLabel(central);
  nickname_->setObjectName("nickname");
  nickname_->setTextFormat(Qt::RichText);
  conversation_ = new QTextBrowser(central);
  conversation_->setObjectName("conversation");
  input_ = new QLineEdit(central);
  input_->setObjectName("input");
  layout->addWidget(nickname_);
  layout->addWidget(conversation_, 1);
  layout->addWidget(input_);
  setCentralWidget(central);
  quickStyle_ = new QuickStylePanel(QuickStyleHost{dialogs_, texts_,
                                                   [this]() -> const errors::MessageTexts& {
                                                     // The plug-in's, in its language, while it has windows.
                                                     ui::EditorWindow* editor = plugin_->editor();
                                                     return editor ? editor->conversionContext().messages
                                                                   : fallbackMessages_;
                                                   },
                                                   [this](const std::string& result) { deliver(result); }});
  dock_ = new QDockWidget(this);
  dock_->setObjectName("quickStyleDock");
  dock_->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  dock_->setWidget(quickStyle_);
  addDockWidget(Qt::BottomDockWidgetArea, dock_);
  // The menu is there from the first frame, before any box of the plug-in's start asks.
  buildMenu();
  // A placeholder is the input lines' only label: it reads at 4.5:1 whatever the theme's.
  for (QLineEdit* line : {input_, quickStyle_->text()}) {
    QPalette palette = line->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
      palette.setColor(group, QPalette::PlaceholderText,
                       readableOn(palette.color(group, QPalette::PlaceholderText),
                                  palette.color(group, QPalette::Base), 4.5));
    }
    line->setPalette(palette);
  }
  input_->setFocus();  // the typing goes to the input line once the window is shown
  restoreGeometryOrFit();
  connect(input_, &QLineEdit::returnPressed, this, [this] {
    const QString line = input_->text();
    input_->clear();
    submit(line);
  });
}

// A plug-in object of its own, as a host that loads the module anew has one.
void HostWindow::createPlugin() {
  subscriptions_.clear();
  windows_.stopFollowing();
  plugin_.reset();
  const int twipsPerPixel = screenTwipsPerPixel();
  plugin_ = std::make_unique<plugin::Plugin>(plugin::HostServices{
      dialogs_, windows_, shell_, pluginDir_, platform::uiLanguage(), platform::systemFileSystem(),
      // A transfer waiting on the network keeps the windows alive, Cancel included.
      [](bool) { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); }, twipsPerPixel});
  windows_.follow(*plugin_, texts_, twipsPerPixel);
  subscriptions_.push_back(plugin_->subscribeWindows([this](plugin::Plugin::WindowsEvent event) {
    // Once the plug-in's call has returned: a halt is shown, and after a restart (an
    // import) the typing goes on where it was.
    QTimer::singleShot(0, this, [this, event] {
      followLanguage();
      if (event == plugin::Plugin::WindowsEvent::Loaded && !plugin_->halted() &&
          !QApplication::activeModalWidget() && isVisible()) {
        activateWindow();
        input_->setFocus(Qt::OtherFocusReason);
      }
    });
  }));
}

void HostWindow::start() {
  plugin_->Initialize(0, "", &messenger_);
  titleCommands();
  followLanguage();
  showNickname();
  quickStyle_->preview()->refresh();
  // The automatic update check waits for the host to be idle.
  QTimer::singleShot(0, this, [this] { runIdleWork(); });
}

void HostWindow::runIdleWork() {
  if (idleWorkRunning_) return;
  idleWorkRunning_ = true;
  plugin_->runPendingWork([this] { return waitingForPlugin_.empty(); });
  idleWorkRunning_ = false;
  for (const std::function<void()>& action : std::exchange(waitingForPlugin_, {})) action();
}

void HostWindow::whenPluginFree(std::function<void()> action) {
  if (idleWorkRunning_) {
    waitingForPlugin_.push_back(std::move(action));
  } else {
    action();
  }
}

// The window's size, and where the platform lets a program place its windows (X11) its
// position, are kept in the host's own settings, never in the plug-in's configuration.
void HostWindow::restoreGeometryOrFit() {
  QSettings settings;
  const QRect kept = settings.value("hostWindow/geometry").toRect();
  // On a small or scaled screen, as much as it has room for.
  if (kept.isEmpty()) return resizeToFit(*this, {640, 600});
  const QRect fitted = fittedToScreen(*this, kept);
  resize(fitted.size());
  if (QGuiApplication::platformName() == "xcb") move(fitted.topLeft());
}

void HostWindow::keepGeometry() const {
  QSettings settings;
  settings.setValue("hostWindow/geometry", QRect(pos(), size()));
}

void HostWindow::closeEvent(QCloseEvent* event) {
  keepGeometry();
  if (!idleWorkRunning_) return QMainWindow::closeEvent(event);
  event->ignore();
  whenPluginFree([this] { close(); });
}

HostWindow::~HostWindow() {
  subscriptions_.clear();
  if (plugin_->initialized()) plugin_->Uninitialize();
  windows_.stopFollowing();  // before the plug-in object goes
}

void HostWindow::buildMenu() {
  QMenu* menu = menu_ = menuBar()->addMenu(QString());
  for (const PublishedCommand& command : publishedCommands()) {
    const QString word = "/" + QString::fromStdString(command.value);
    QAction* action = menu->addAction(QString());  // titled once the plug-in has its messages
    commandActions_.push_back(action);
    connect(action, &QAction::triggered, this, [this, word, takesArgument = !command.help.empty()] {
      if (takesArgument) {
        input_->setText(word + " ");
        input_->setFocus();
      } else {
        submit(word);
      }
    });
  }
  menu->addSeparator();
  loadAgain_ = menu->addAction(QString());
  connect(loadAgain_, &QAction::triggered, this, [this] { whenPluginFree([this] { loadAgain(); }); });
  if (auto* dock = findChild<QDockWidget*>("quickStyleDock")) menu->addAction(dock->toggleViewAction());
  quit_ = menu->addAction(QString());
  // The desktop's Quit keys, Ctrl+Q among them, each once: a key that two shortcuts claim is
  // ambiguous and does nothing.
  QList<QKeySequence> quitKeys{QKeySequence(Qt::CTRL | Qt::Key_Q)};
  for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Quit)) {
    if (!key.isEmpty() && !quitKeys.contains(key)) quitKeys << key;
  }
  quit_->setShortcuts(quitKeys);
  quit_->setShortcutContext(Qt::ApplicationShortcut);
  connect(quit_, &QAction::triggered, this, &QWidget::close);
  // The desktop's Help menu: the plug-in's help and about windows, through their commands.
  helpMenu_ = menuBar()->addMenu(QString());
  for (const plugin::Command command : {plugin::Command::Help, plugin::Command::About}) {
    const std::string_view word = plugin::commandRow(command).word;
    QAction* action = helpMenu_->addAction(QString());
    action->setObjectName(command == plugin::Command::Help ? "tessaluneHelp" : "aboutTessalune");
    if (command == plugin::Command::Help) action->setShortcuts(QKeySequence::HelpContents);
    connect(action, &QAction::triggered, this,
            [this, line = "/" + QString::fromLatin1(word.data(), word.size())] { submit(line); });
  }
  titleMenus();
}

void HostWindow::titleCommands() {
  const std::vector<PublishedCommand> commands = publishedCommands();
  commandTitles_.clear();
  for (const PublishedCommand& command : commands) commandTitles_ << QString::fromStdString(command.title);
  titleMenus();
}

// The menus' titles, each with an access key of its own: the host's words carry theirs, the
// plug-in's command titles (its messages, in the system's language) get free ones here.
void HostWindow::titleMenus() {
  menu_->setTitle(texts_(HostText::Menu));
  helpMenu_->setTitle(texts_(HostText::HelpMenu));
  loadAgain_->setText(texts_(HostText::LoadAgain));
  quit_->setText(texts_(HostText::Quit));
  const QList<QAction*> help = helpMenu_->actions();
  help[0]->setText(texts_(HostText::TessaluneHelp));
  help[1]->setText(texts_(HostText::AboutTessalune));
  QStringList plain = commandTitles_;
  plain << dock_->windowTitle();
  const QStringList marked =
      withMnemonics(plain, {mnemonicOf(loadAgain_->text()), mnemonicOf(quit_->text())});
  for (qsizetype i = 0; i < commandTitles_.size() && i < static_cast<qsizetype>(commandActions_.size()); ++i)
    commandActions_[static_cast<std::size_t>(i)]->setText(marked[i]);
  dock_->toggleViewAction()->setText(marked.last());
}

// The host's words follow the plug-in's language, set at start-up and by its preferences.
void HostWindow::followLanguage() {
  const bool changed = texts_.follow(plugin_->language());
  if (!changed && !dock_->windowTitle().isEmpty()) return showHalt();
  input_->setPlaceholderText(texts_(HostText::Placeholder));
  input_->setAccessibleName(texts_(HostText::InputName));
  input_->setAccessibleDescription(texts_(HostText::Placeholder));
  conversation_->setAccessibleName(texts_(HostText::Conversation));
  dock_->setWindowTitle(texts_(HostText::QuickStyle));
  setWindowTitle(texts_(HostText::HostTitle));
  const std::string_view code = texts_.language().row().code;
  qtWords_.follow(QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size())));
  if (menu_) titleMenus();
  quickStyle_->retranslate();
  showHalt();
}

void HostWindow::showHalt() {
  const bool halted = plugin_->halted();
  for (QAction* action : commandActions_) action->setEnabled(!halted);
  if (loadAgain_) loadAgain_->setEnabled(halted);
  if (halted) {
    statusBar()->showMessage(texts_(HostText::StoppedUntilLoadedAgain));
  } else {
    statusBar()->clearMessage();
  }
}

// A halted plug-in object stays halted: the host loads a new one, as it would load the
// module again.
void HostWindow::loadAgain() {
  if (plugin_->initialized()) plugin_->Uninitialize();
  createPlugin();
  plugin_->Initialize(0, "", &messenger_);
  showHalt();
  showNickname();
}

std::vector<HostWindow::PublishedCommand> HostWindow::publishedCommands() const {
  std::string name;
  std::int32_t count = 0, tags = 0;
  plugin_->GetPublishInfo(name, count, tags);
  std::vector<PublishedCommand> commands;
  for (std::int32_t i = 1; i <= count; ++i) {
    PublishedCommand command;
    plugin_->GetPublishCommandInfo(i, command.title, command.value, command.help);
    commands.push_back(std::move(command));
  }
  return commands;
}

// The dispatcher's own match, so that a word it would refuse is sent as chat text.
bool HostWindow::isPluginCommand(const std::string& word) {
  return plugin::commandOf(word) != plugin::Command::None;
}

void HostWindow::submit(const QString& typed) {
  if (idleWorkRunning_) return whenPluginFree([this, typed] { submit(typed); });
  const std::string line = typed.toStdString();
  if (line.empty()) return;
  // A line the plug-in handles is replaced by its result (possibly nothing); any other line
  // is sent as typed.
  std::string result = line;
  if (line.front() == '/') {
    const std::size_t space = line.find(' ');
    const std::string command = line.substr(0, space);
    const std::string argument = space == std::string::npos ? "" : line.substr(space + 1);
    std::string replacement;
    // A halted plug-in's command is not sent as chat text: the status line says why.
    if (plugin_->halted() && isPluginCommand(command)) {
      showHalt();
      return;
    }
    if (plugin_->initialized() && plugin_->ParseCommand(command, argument, nullptr, replacement))
      result = replacement;
    followLanguage();  // the preferences may have changed it
  }
  deliver(result);
}

void HostWindow::deliver(const std::string& result) {
  if (result.empty()) return;
  if (result.starts_with("/nick2 ")) {
    messenger_.setFriendlyName(result.substr(7));
    showNickname();
    say("<i>" + texts_(HostText::NicknameNow).toHtmlEscaped() + "</i> " + plusToHtml(result.substr(7)));
  } else {
    say("<b>" + texts_(HostText::Sent).toHtmlEscaped() + "</b> " + plusToHtml(result));
  }
}

void HostWindow::showNickname() {
  nickname_->setRichText("<span style=\"font-size: 14pt\">" + plusToHtml(messenger_.friendlyName()) +
                         "</span>");
}

void HostWindow::say(const QString& html) {
  conversation_->append(html);
}

}  // namespace tessalune::desktop
