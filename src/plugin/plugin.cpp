#include "plugin/plugin.h"

#include <algorithm>
#include <stdexcept>

#include "engine/direct_colouring.h"
#include "engine/plus2rtf.h"
#include "engine/rtf2xml.h"
#include "engine/xml2plus.h"
#include "lang/message_catalogue.h"
#include "store/config_file.h"
#include "store/quicknicks.h"
#include "ui/about_window.h"
#include "ui/caption_list.h"
#include "ui/editor_window.h"
#include "ui/help_window.h"
#include "ui/prefs_window.h"
#include "ui/quicknick_window.h"
#include "ui/update_window.h"
#include "update/curl_transfer.h"
#include "update/update_service.h"

namespace tessalune::plugin {

namespace {

using platform::Icon;

constexpr std::string_view kPluginName = "Tessalune v2";
constexpr std::int32_t kCommandCount = 8;

struct PublishedCommand {
  int message;
  std::string_view value;
  std::string_view help;  // empty: left untouched
};

constexpr PublishedCommand kCommands[kCommandCount] = {
    {901, "xtessalune", "nickname"},     {902, "xondrivela", "text"}, {903, "xquicknick", "shortcut"},
    {904, "xquicknicksave", "shortcut"}, {905, "xquicknick", ""},     {906, "xtessalunecfg", ""},
    {907, "xtessaluneabout", ""},        {908, "xtessalunehelp", ""}};

// The start-up failure message, in both languages since the catalogue may be what failed.
std::string startUpFailure(std::int32_t number, std::string_view source, std::string_view description) {
  return "Une erreur est survenue lors du chargement de Tessalune:\r\nAn error happened while loading "
         "Tessalune:\r\n"
         "\r\ncode: " +
         std::to_string(number) + "\r\nsource: " + std::string(source) +
         "\r\ndescription: " + std::string(description);
}

}  // namespace

Plugin::Plugin(HostServices services)
    : services_(std::move(services)),
      messages_(lang::MessageCatalogue(services_.uiLanguage)),
      report_(services_.dialogs, messages_, *this),
      store_{services_.pluginDir, services_.dialogs, messages_, failures_, configLock_, services_.files},
      translation_(services_.pluginDir, messages_, services_.dialogs) {}

Plugin::~Plugin() {
  // Windows go before what their handlers refer to; the update service before its window.
  updateService_.reset();
  retired_.clear();
  update_.reset();
  prefs_.reset();
  quickNicks_.reset();
  about_.reset();
  help_.reset();
  editor_.reset();
}

bool Plugin::Initialize(std::int32_t, std::string_view, platform::Messenger* messenger) {
  if (messenger == nullptr) throw std::invalid_argument("Initialize: the host gave no messenger");
  messenger_ = messenger;
  initPlugin();
  return true;
}

void Plugin::Uninitialize() {
  freeGraphics();
  unloadForms();
  retired_.clear();
}

void Plugin::Configure() {
  releaseRetiredWindows();
  runPendingWork();
  if (prefs_) showModal(*prefs_);
}

void Plugin::runPendingWork() {
  if (!automaticCheckPending_ || halted_ || !updateService_) return;
  automaticCheckPending_ = false;
  updateService_->startAutomaticCheck();
}

bool Plugin::GetPublishInfo(std::string& pluginName, std::int32_t& commandCount, std::int32_t& tagCount) {
  pluginName = kPluginName;
  commandCount = kCommandCount;
  tagCount = 0;
  return true;
}

void Plugin::GetPublishCommandInfo(std::int32_t index, std::string& name, std::string& value,
                                   std::string& help) {
  if (index < 1 || index > kCommandCount) return;
  const PublishedCommand& row = kCommands[index - 1];
  name = messages_.message(row.message);
  value = row.value;
  if (!row.help.empty()) help = row.help;
}

// --- start-up and shut-down ---------------------------------------------------------

void Plugin::initPlugin() {
  try {
    startUp();
  } catch (const errors::RuntimeFailure& f) {
    services_.dialogs.message(startUpFailure(f.number(), "initPlugin", f.what()), Icon::Critical);
    unloadForms();
    halted_ = true;
  } catch (const std::exception& f) {
    services_.dialogs.message(startUpFailure(errors::failure::kInvalidCall, "initPlugin", f.what()),
                              Icon::Critical);
    unloadForms();
    halted_ = true;
  }
}

void Plugin::startUp() {
  messages_.loadMessages();
  loadWindows();
  mode_ = 1;
  currentBox_ = &editor_->rtf_nick;
  // The caption list and the drawing registrations point at the controls of the windows
  // just loaded, so they are made anew with every load of the windows.
  captions_ = ui::captionList(*editor_, *about_, *prefs_, *update_, *quickNicks_, *help_);
  ui::applyBuiltInCaptions(captions_);
  loadConfig();
  if (!editor_) return;  // the load met a fatal configuration error and unloaded the windows
  // Every load of the windows renders their buffers again: a second Initialize on the
  // same plug-in shows its windows drawn, as the first did.
  editor_->registerDrawing();
  about_->registerDrawing(drawing_);
  prefs_->registerDrawing(drawing_);
  quickNicks_->registerDrawing(drawing_);
  update_->registerDrawing(drawing_);
  help_->registerDrawing(drawing_);
  registerPreferencePreviews();
  drawing_.setTwipsPerPixel(services_.twipsPerPixel);
  drawing_.render();
  updateService_->writeVersionLabel();
  editor_->blackenBoxes();
  // The check waits on the network: it runs when the host next gives the plug-in control,
  // so that Initialize returns at once.
  automaticCheckPending_ = prefs_->chk_upd.checked();
  tablesBuilt_ = true;
}

void Plugin::loadWindows() {
  ++windowLoads_;
  ui::EditorDependencies editor{services_.dialogs,
                                messages_,
                                failures_,
                                *this,
                                codedResult_,
                                mode_,
                                currentBox_,
                                [this] {
                                  if (prefs_) showModal(*prefs_);
                                },
                                [this] {
                                  if (about_) showModal(*about_);
                                },
                                [this] {
                                  if (help_ && prefs_) {
                                    ui::btnHelp_Click(*help_, prefs_->combo_lang.listIndex(),
                                                      services_.pluginDir, services_.dialogs, messages_,
                                                      services_.windows);
                                  }
                                },
                                &translation_,
                                &drawing_};
  editor_ = std::make_unique<ui::EditorWindow>(editor);
  about_ = std::make_unique<ui::AboutWindow>(services_.shell);
  help_ = std::make_unique<ui::HelpWindow>();
  ui::PrefsDependencies prefs{store_,
                              translation_,
                              captions_,
                              editor_->modeView(),
                              editor_->chk_noEnd,
                              editor_->chk_all,
                              *this,
                              [this] {
                                if (update_) showModal(*update_);
                              },
                              [this](ui::ColourGroup group) {
                                constexpr ui::gdi::PreviewSet kSets[] = {
                                    ui::gdi::PreviewSet::Nick, ui::gdi::PreviewSet::NickBackground,
                                    ui::gdi::PreviewSet::Text, ui::gdi::PreviewSet::TextBackground};
                                drawing_.renderPreviewSet(kSets[static_cast<int>(group)]);
                              }};
  prefs_ = std::make_unique<ui::PrefsWindow>(prefs);
  ui::QuickNickDependencies quickNicks{store_, quickNickState_, *messenger_,
                                       [this] { return editor_->conversionContext(); }, codedResult_};
  quickNicks_ = std::make_unique<ui::QuickNickWindow>(quickNicks);
  update_ = std::make_unique<ui::UpdateWindow>();
  update::UpdateDependencies updates{*update_,
                                     services_.dialogs,
                                     messages_,
                                     services_.shell,
                                     report_,
                                     services_.pluginDir,
                                     [this] { return prefs_ ? prefs_->combo_lang.listIndex() : -1; },
                                     [this] {
                                       auto transfer = std::make_unique<update::CurlTransfer>();
                                       transfer->setEventPump(services_.eventPump);
                                       return transfer;
                                     },
                                     [this] {
                                       if (update_) showModal(*update_);
                                     },
                                     update::baseAddress(update::processEnvironment)};
  updateService_ = std::make_unique<update::UpdateService>(std::move(updates));
  windowObservers_.notify(WindowsEvent::Loaded);
}

void Plugin::unloadForms() {
  // Unloaded in this order; a window whose handler is running is kept until it returns.
  updateService_.reset();
  bool any = false;
  const auto retire = [this, &any](auto& window) {
    if (!window) return;
    window->unload();
    retired_.push_back(std::move(window));
    any = true;
  };
  retire(update_);
  retire(prefs_);
  retire(quickNicks_);
  retire(about_);
  retire(help_);
  retire(editor_);
  currentBox_ = nullptr;
  captions_.clear();
  if (any) windowObservers_.notify(WindowsEvent::Unloaded);
}

void Plugin::releaseRetiredWindows() {
  retired_.clear();
}

// The four preview sets of the preferences, each drawn from its group's two colour swatches.
void Plugin::registerPreferencePreviews() {
  ui::PrefsWindow& p = *prefs_;
  const auto previews = [](std::array<ui::Control, 4>& set) {
    std::array<ui::gdi::DrawnElement, 4> drawn;
    for (std::size_t k = 0; k < 4; ++k)
      drawn[k] = {&set[k], ui::gdi::TwipSize{set[k].width(), set[k].height()}};
    return drawn;
  };
  drawing_.registerPreviewSet(ui::gdi::PreviewSet::Nick, previews(p.rect_grad_nick), p.btn_grad1_nick_rect,
                              p.btn_grad2_nick_rect);
  drawing_.registerPreviewSet(ui::gdi::PreviewSet::NickBackground, previews(p.rect_grad_nickBG),
                              p.btn_grad1_nickBG_rect, p.btn_grad2_nickBG_rect);
  drawing_.registerPreviewSet(ui::gdi::PreviewSet::Text, previews(p.rect_grad_text), p.btn_grad1_text_rect,
                              p.btn_grad2_text_rect);
  drawing_.registerPreviewSet(ui::gdi::PreviewSet::TextBackground, previews(p.rect_grad_textBG),
                              p.btn_grad1_textBG_rect, p.btn_grad2_textBG_rect);
}

void Plugin::freeGraphics() {
  drawing_.freeGraphics();
}

void Plugin::writeDefaultConfiguration() {
  store::writeDefaultConfiguration(store_, services_.uiLanguage);
}

void Plugin::loadConfig() {
  if (!prefs_ || !quickNicks_) return;
  store::ConfigTargets targets = ui::configTargets(*prefs_, *quickNicks_);
  store::loadConfig(targets, store_);
}

void Plugin::showModal(ui::Window& window) {
  window.showModal(services_.windows);
}

// --- commands --------------------------------------------------------------------

// The command words in the order they are tried; the comparison ignores case and is over
// the whole word.
Plugin::Command Plugin::commandOf(std::string_view word) {
  std::string lower(word);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) {
    return c < 0x80 ? static_cast<char>(std::tolower(c)) : static_cast<char>(c);
  });
  constexpr std::pair<std::string_view, Command> kWords[] = {
      {"/xtessalune", Command::Nickname},       {"/xondrivela", Command::Text},
      {"/xquicknick", Command::UseQuickNick},   {"/xquicknicksave", Command::SaveQuickNick},
      {"/xtessalunecfg", Command::Preferences}, {"/xtessaluneabout", Command::About},
      {"/xtessalunehelp", Command::Help}};
  for (const auto& [literal, command] : kWords) {
    if (lower == literal) return command;
  }
  return Command::None;
}

bool Plugin::ParseCommand(std::string_view command, std::string_view argument, const void*,
                          std::string& result) {
  if (halted_) return false;
  runPendingWork();
  if (halted_) return false;
  const Command which = commandOf(command);
  if (which == Command::None) return false;
  releaseRetiredWindows();
  if (!editor_) return true;  // the windows are being reloaded; nothing to act on

  // A command whose report restarted or halted the plug-in ends there and sends nothing.
  const std::uint32_t loads = windowLoads_;
  const bool handled = runCommand(which, argument, result);
  if (windowLoads_ != loads || halted_) result.clear();
  return handled;
}

bool Plugin::runCommand(Command which, std::string_view argument, std::string& result) {
  switch (which) {
    case Command::Nickname:
      return colourOrEdit(true, argument, result);
    case Command::Text:
      return colourOrEdit(false, argument, result);
    case Command::UseQuickNick:
      useQuickNick(argument, result);
      return true;
    case Command::SaveQuickNick:
      saveQuickNick(argument);
      result.clear();
      return true;
    case Command::Preferences:
      showModal(*prefs_);
      result.clear();
      return true;
    case Command::About:
      showModal(*about_);
      result.clear();
      return true;
    case Command::Help:
      editor_->btnHelp_Click();
      result.clear();
      return true;
    case Command::None:
      break;
  }
  return false;
}

bool Plugin::colourOrEdit(bool nickname, std::string_view argument, std::string& result) {
  // The command's kind decides the mode before anything else, so limits and messages follow it.
  if ((nickname && mode_ == 2) || (!nickname && mode_ == 1)) translation_.switchMode(editor_->modeView());
  // A result left over from an earlier command must not be sent again.
  codedResult_.clear();
  const bool presetEnabled = nickname ? prefs_->chkNick.checked() : prefs_->chkText.checked();
  if (presetEnabled) {
    if (argument.empty()) {
      services_.dialogs.message(messages_.message(nickname ? 116 : 117), Icon::Critical);
      return true;
    }
    engine::ConversionContext ctx = editor_->conversionContext();
    codedResult_ = engine::colourArgument(argument, nickname ? prefs_->nickStyle() : prefs_->textStyle(),
                                          editor_->rtf_auto.box(), ctx);
  } else {
    engine::RichTextBox& box = editor_->currentEditorBox().box();
    if (!argument.empty()) {
      box.setText(argument);
    } else if (nickname) {
      box.setTextRtf(engine::plus2rtf(messenger_->friendlyName(), failures_));
    }
    showModal(*editor_);
  }
  if (!codedResult_.empty()) result = nickname ? "/nick2 " + codedResult_ : codedResult_;
  return true;
}

void Plugin::useQuickNick(std::string_view shortcut, std::string& result) {
  codedResult_.clear();
  if (shortcut.empty()) {
    showModal(*quickNicks_);
    if (!codedResult_.empty()) result = "/nick2 " + codedResult_;
    return;
  }
  store::QuickNickContext ctx = quickNicks_->storeContext();
  const std::string body = store::useQN(shortcut, ctx);
  if (!quickNickState_.shortcutMatched) return;
  codedResult_ = engine::xml2plus(body, failures_);
  result = "/nick2 " + codedResult_;
}

// Success is said only after the entry and its shortcut were written, in one write.
void Plugin::saveQuickNick(std::string_view shortcut) {
  if (shortcut.empty()) {
    services_.dialogs.message(messages_.message(148), Icon::Critical);
    return;
  }
  ui::QuickNickWindow& manager = *quickNicks_;
  const bool replace = manager.chkReplaceQN.checked();
  const auto outcome = manager.saveNickname(shortcut, replace);
  if (manager.unloaded() || halted_) return;  // restarted or halted on the way
  if (outcome == ui::QuickNickWindow::SaveOutcome::Saved && !replace) {
    services_.dialogs.message(messages_.message(149), Icon::Information);
  } else if (outcome == ui::QuickNickWindow::SaveOutcome::ShortcutTaken) {
    showModal(manager);
  }
}

}  // namespace tessalune::plugin
