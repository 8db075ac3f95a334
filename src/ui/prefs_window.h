#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "errors/lifecycle.h"
#include "lang/translation.h"
#include "store/config_targets.h"
#include "store/setting_elements.h"
#include "store/store_context.h"
#include "ui/controls.h"
#include "ui/prefs_colour_group.h"
#include "ui/window.h"

namespace tessalune::ui {

class QuickNickWindow;

// What the preferences window works with; it owns none of it.
struct PrefsDependencies {
  store::StoreContext& store;         // writeConfig, the colour dialog, import and export
  store::Settings& settings;          // what the controls show and change
  lang::Translation& translation;     // the current language file
  const lang::CaptionList& captions;  // the plug-in's caption list, renewed by a language choice
  // Told once a language's captions are all applied: the editor in text mode then takes
  // its text-mode captions.
  std::function<void()> languageApplied;
  CheckBox& editorNoEnd;                                  // chk_noEnd of the editor, which mirrors ours
  CheckBox& editorAll;                                    // chk_all of the editor
  errors::Lifecycle& lifecycle;                           // the restart that follows an import
  std::function<void()> showUpdateWindow;                 // btnUpd: the update window, modally
  std::function<void(ColourGroup)> refreshPreviews = {};  // redraw a group's four previews
};

// frmPrefs: every setting of the configuration file except the QuickNicks and the replace
// option. The controls show the settings; each handler changes its one setting and writes
// it at once, and closing only hides.
class PrefsWindow : public Window {
 public:
  explicit PrefsWindow(PrefsDependencies deps);

  // Chrome and the automatic-colouring group with its two tabs.
  Control titleBar{"titleBar", ControlKind::Banner};
  Label lbl_ssTitre{"lbl_ssTitre"};
  OwnerDrawnButton btnClose{"btnClose"};
  Frame grp_default{"grp_default"};
  Label lbl_defaultInfo{"lbl_defaultInfo"};
  OwnerDrawnButton btnNick{"btnNick", ControlKind::Tab}, btnText{"btnText", ControlKind::Tab};
  CheckBox chkNick{"chkNick"}, chkText{"chkText"};
  Frame panelNick{"panelNick", ControlKind::Panel}, panelText{"panelText", ControlKind::Panel};
  Label lbl_nickFG{"lbl_nickFG"}, lbl_nickBG{"lbl_nickBG"}, lbl_textFG{"lbl_textFG"},
      lbl_textBG{"lbl_textBG"};

  // The colour groups of the two panels (the nickname's characters and background, then the
  // message's), in the order of ColourGroup.
  PrefsColourGroup& group(ColourGroup g) { return groups_[static_cast<std::size_t>(g)]; }
  const PrefsColourGroup& group(ColourGroup g) const { return groups_[static_cast<std::size_t>(g)]; }

  // The general group.
  Frame grp_opt{"grp_opt"};
  CheckBox chk_noEnd{"chk_noEnd"}, chk_all{"chk_all"}, chk_upd{"chk_upd"};
  Label lbl_lang{"lbl_lang"};
  ComboBox combo_lang;  // the six languages, in the order of lang::kLanguages
  OwnerDrawnButton btnUpd{"btnUpd"}, btnImport{"btnImport"}, btnExport{"btnExport"};

  // Tops of the chosen and of the other tab, in twips: the chosen one stands a pixel higher.
  static constexpr int kChosenTabTop = 825;
  static constexpr int kOtherTabTop = 840;

  // Loads the language file of list position index and renews every caption; writes
  // nothing. Positions outside the list do nothing.
  void applyLanguageAt(int index);

  // Enables each gradient group exactly while its type option gradient is selected;
  // writes nothing.
  void applyGradientRules();
  void applyGradientRule(ColourGroup group);

  // Shows those of the settings a load read and applies what a user's choice would: the
  // language, the gradient groups' enabling. Writes nothing back.
  void showSettings(const store::SettingSet& read);

  // Registers the owner-drawn buttons (and the banner) at their sizes now.
  void registerDrawing(gdi::OwnerDrawing& drawing);

  // This window's entries of the caption list, in its order: the title, lbl_ssTitre, ...,
  // btnClose_label (29 entries).
  lang::CaptionList captionEntries();

  // The editor's two check boxes that mirror chk_noEnd and chk_all.
  CheckBox& editorNoEnd() { return deps_.editorNoEnd; }
  CheckBox& editorAll() { return deps_.editorAll; }

  // Redraws a group's previews after one of its gradient colours changed.
  void setPreviewRefresh(std::function<void(ColourGroup)> refresh) {
    deps_.refreshPreviews = std::move(refresh);
  }

 private:
  void setContainers();
  void registerControls();
  void layOut();
  std::array<OwnerDrawnButton*, 4> captionButtons();

  struct CheckBoxBinding {
    CheckBox& box;
    store::Setting setting;
    CheckBox* editorCopy;  // the editor's box that mirrors this one, or none
  };
  std::array<CheckBoxBinding, 5> checkBoxBindings();
  void bindCheckBox(const CheckBoxBinding& binding);
  void bindGroup(ColourGroup g);
  void bindSwatch(OwnerDrawnButton& button, ColourSwatch& area, store::Setting setting,
                  std::optional<ColourGroup> previewsOf);
  void pickColour(ColourSwatch& area, store::Setting setting, std::optional<ColourGroup> previewsOf);
  void onLanguageClicked();
  void chooseTab(bool nickname);
  void showGroup(ColourGroup g, const store::SettingSet& read);
  void change(store::Setting setting, std::int64_t value);
  std::int64_t value(store::Setting setting) const { return store::settingValue(deps_.settings, setting); }

  PrefsDependencies deps_;
  std::array<PrefsColourGroup, 4> groups_;
};

// Where the configuration load puts the settings, which both windows then show (with the
// editor's two mirrors), and the manager's view of the current QuickNick.
store::ConfigTargets configTargets(store::Settings& settings, PrefsWindow& prefs, QuickNickWindow& quickNick);

}  // namespace tessalune::ui
