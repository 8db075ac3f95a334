#include "plugin/plugin.h"

#include <utility>

#include "ui/about_window.h"
#include "ui/editor_window.h"
#include "ui/help_window.h"
#include "ui/prefs_window.h"
#include "ui/quicknick_window.h"
#include "ui/update_window.h"
#include "update/curl_transfer.h"
#include "update/plugin_version.h"
#include "update/update_controller.h"

// The plug-in's windows: loading them with what their handlers need, unloading them, and
// showing them modally through the host.
namespace tessalune::plugin {

namespace {

// The preview set each colour group of the preferences draws.
ui::gdi::PreviewSet previewSetOf(ui::ColourGroup group) {
  constexpr ui::gdi::PreviewSet kSets[] = {ui::gdi::PreviewSet::Nick, ui::gdi::PreviewSet::NickBackground,
                                           ui::gdi::PreviewSet::Text, ui::gdi::PreviewSet::TextBackground};
  return kSets[static_cast<std::size_t>(group)];
}

}  // namespace

void Plugin::loadWindows() {
  settings_ = {};
  ui::EditorDependencies editor{services_.dialogs,
                                messages_,
                                failures_,
                                *this,
                                [this] {
                                  if (windows_.prefs) showModal(*windows_.prefs);
                                },
                                [this] {
                                  if (windows_.about) showModal(*windows_.about);
                                },
                                [this] {
                                  if (windows_.help && windows_.prefs) {
                                    ui::btnHelp_Click(*windows_.help, settings_.language, services_.pluginDir,
                                                      services_.dialogs, messages_, modalWindows_);
                                  }
                                },
                                &translation_,
                                &drawing_};
  windows_.editor = std::make_unique<ui::EditorWindow>(editor);
  windows_.about = std::make_unique<ui::AboutWindow>(
      services_.shell, ui::VersionCaptions{update::versionCaption(update::kPluginVersion),
                                           std::to_string(update::kPluginVersion.revision)});
  windows_.help = std::make_unique<ui::HelpWindow>();
  ui::PrefsDependencies prefs{
      store_,
      settings_,
      translation_,
      captions_,
      [this] {
        windows_.editor->languageApplied();
        if (const std::optional<lang::LanguageId> applied = language())
          windows_.about->followLanguage(*applied);
      },
      windows_.editor->chk_noEnd,
      windows_.editor->chk_all,
      *this,
      [this] {
        if (windows_.update) showModal(*windows_.update);
      },
      [this](ui::ColourGroup group) { drawing_.renderPreviewSet(previewSetOf(group)); }};
  windows_.prefs = std::make_unique<ui::PrefsWindow>(prefs);
  ui::QuickNickDependencies quickNicks{
      store_,
      settings_,
      quickNickState_,
      *messenger_,
      [this] { return windows_.editor->conversionContext(); },
      [this](const std::string& coded) { windows_.editor->setCodedResult(coded); },
      *this};
  windows_.quickNicks = std::make_unique<ui::QuickNickWindow>(quickNicks);
  windows_.update = std::make_unique<ui::UpdateWindow>();
  update::UpdateDependencies updates{*windows_.update,
                                     services_.dialogs,
                                     messages_,
                                     services_.shell,
                                     report_,
                                     services_.pluginDir,
                                     [this] { return settings_.language; },
                                     [this] {
                                       auto transfer =
                                           std::make_unique<update::CurlTransfer>(services_.transferLimits);
                                       transfer->setEventPump(services_.eventPump);
                                       return transfer;
                                     },
                                     [this] {
                                       if (windows_.update) showModal(*windows_.update);
                                     },
                                     update::baseAddress(update::processEnvironment)};
  windows_.updateController = std::make_unique<update::UpdateController>(std::move(updates));
  for (ui::Window* w : windows_.all()) w->setActionGate(this);
  windowObservers_.notify(WindowsEvent::Loaded);
}

Plugin::LoadedWindows::LoadedWindows() = default;
Plugin::LoadedWindows::LoadedWindows(LoadedWindows&&) noexcept = default;
Plugin::LoadedWindows& Plugin::LoadedWindows::operator=(LoadedWindows&&) noexcept = default;
Plugin::LoadedWindows::~LoadedWindows() = default;

void Plugin::unloadForms() {
  takeWindows();
}

std::array<ui::Window*, 6> Plugin::LoadedWindows::all() const {
  return {editor.get(), about.get(), help.get(), prefs.get(), quickNicks.get(), update.get()};
}

// Only when no window's routine runs: at the entry point, or in a start-up that failed.
Plugin::LoadedWindows Plugin::takeWindows() {
  LoadedWindows taken = std::exchange(windows_, {});
  bool any = false;
  for (ui::Window* w : taken.all()) {
    if (!w) continue;
    w->unload();
    w->setActionGate(nullptr);
    any = true;
  }
  captions_.clear();
  if (any) windowObservers_.notify(WindowsEvent::Unloaded);
  return taken;
}

void Plugin::hideWindows() {
  for (ui::Window* w : windows_.all()) {
    if (w) w->hide();
  }
}

// The four preview sets of the preferences, each drawn from its group's two colour swatches.
void Plugin::registerPreferencePreviews() {
  ui::PrefsWindow& p = *windows_.prefs;
  const auto previews = [](std::array<ui::Control, 4>& set) {
    std::array<ui::gdi::DrawnElement, 4> drawn;
    for (std::size_t k = 0; k < 4; ++k)
      drawn[k] = {&set[k], ui::gdi::TwipSize{set[k].width(), set[k].height()}};
    return drawn;
  };
  for (ui::ColourGroup id : ui::kColourGroups) {
    ui::PrefsColourGroup& g = p.group(id);
    drawing_.registerPreviewSet(previewSetOf(id), previews(g.previews), g.gradient1, g.gradient2);
  }
}

void Plugin::showModal(ui::Window& window) {
  if (!stopping()) window.showModal(modalWindows_);
}

void Plugin::ModalWindows::runModal(ui::Window& window) {
  if (!plugin_.stopping()) plugin_.services_.windows.runModal(window);
}

}  // namespace tessalune::plugin
