#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "engine/style_preset.h"
#include "errors/lifecycle.h"
#include "lang/translation.h"
#include "store/config_targets.h"
#include "store/store_context.h"
#include "ui/controls.h"
#include "ui/window.h"

namespace tessalune::ui {

class QuickNickWindow;

// The four colour groups of the preferences, each with its type options, its gradient
// group of four presets and previews, and its three swatches.
enum class ColourGroup { NickFG, NickBG, TextFG, TextBG };

// What the preferences window works with; it owns none of it.
struct PrefsDependencies {
  store::StoreContext& store;         // writeConfig, the colour dialog, import and export
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

// frmPrefs: every setting of the configuration file except the QuickNicks. The controls
// hold the settings; each handler writes its one value at once, and closing only hides.
class PrefsWindow : public Window {
  // Option buttons are selected one per group: the type options of a colour group form one
  // group, its four presets (elements 1 to 4 of the array, inside the container) another.
  OptionGroup nickFGType_, nickFGPreset_, nickBGType_, nickBGPreset_;
  OptionGroup textFGType_, textFGPreset_, textBGType_, textBGPreset_;

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

  // Nickname panel, characters. opt_grad_nick[0] is the gradient type; [1] to [4] are the
  // presets, beside their previews rect_grad_nick(1) to (4), held here at 0 to 3.
  OptionButton opt_solid_nick{"opt_solid_nick", nickFGType_};
  std::array<OptionButton, 5> opt_grad_nick{
      OptionButton{"opt_grad_nick(0)", nickFGType_}, OptionButton{"opt_grad_nick(1)", nickFGPreset_},
      OptionButton{"opt_grad_nick(2)", nickFGPreset_}, OptionButton{"opt_grad_nick(3)", nickFGPreset_},
      OptionButton{"opt_grad_nick(4)", nickFGPreset_}};
  Frame cnt_grad_nick{"cnt_grad_nick"};
  std::array<Control, 4> rect_grad_nick{Control{"rect_grad_nick(1)", ControlKind::GradientPreview},
                                        Control{"rect_grad_nick(2)", ControlKind::GradientPreview},
                                        Control{"rect_grad_nick(3)", ControlKind::GradientPreview},
                                        Control{"rect_grad_nick(4)", ControlKind::GradientPreview}};
  OwnerDrawnButton btnSolid_nick{"btnSolid_nick"}, btn_grad1_nick{"btn_grad1_nick"},
      btn_grad2_nick{"btn_grad2_nick"};
  ColourSwatch btnSolid_nick_rect{"btnSolid_nick_rect"}, btn_grad1_nick_rect{"btn_grad1_nick_rect"},
      btn_grad2_nick_rect{"btn_grad2_nick_rect"};

  // Nickname panel, background.
  OptionButton opt_none_nickBG{"opt_none_nickBG", nickBGType_};
  OptionButton opt_solid_nickBG{"opt_solid_nickBG", nickBGType_};
  std::array<OptionButton, 5> opt_grad_nickBG{
      OptionButton{"opt_grad_nickBG(0)", nickBGType_}, OptionButton{"opt_grad_nickBG(1)", nickBGPreset_},
      OptionButton{"opt_grad_nickBG(2)", nickBGPreset_}, OptionButton{"opt_grad_nickBG(3)", nickBGPreset_},
      OptionButton{"opt_grad_nickBG(4)", nickBGPreset_}};
  Frame cnt_grad_nickBG{"cnt_grad_nickBG"};
  std::array<Control, 4> rect_grad_nickBG{Control{"rect_grad_nickBG(1)", ControlKind::GradientPreview},
                                          Control{"rect_grad_nickBG(2)", ControlKind::GradientPreview},
                                          Control{"rect_grad_nickBG(3)", ControlKind::GradientPreview},
                                          Control{"rect_grad_nickBG(4)", ControlKind::GradientPreview}};
  OwnerDrawnButton btnSolid_nickBG{"btnSolid_nickBG"}, btn_grad1_nickBG{"btn_grad1_nickBG"},
      btn_grad2_nickBG{"btn_grad2_nickBG"};
  ColourSwatch btnSolid_nickBG_rect{"btnSolid_nickBG_rect"}, btn_grad1_nickBG_rect{"btn_grad1_nickBG_rect"},
      btn_grad2_nickBG_rect{"btn_grad2_nickBG_rect"};

  // Text panel, characters.
  OptionButton opt_solid_text{"opt_solid_text", textFGType_};
  std::array<OptionButton, 5> opt_grad_text{
      OptionButton{"opt_grad_text(0)", textFGType_}, OptionButton{"opt_grad_text(1)", textFGPreset_},
      OptionButton{"opt_grad_text(2)", textFGPreset_}, OptionButton{"opt_grad_text(3)", textFGPreset_},
      OptionButton{"opt_grad_text(4)", textFGPreset_}};
  Frame cnt_grad_text{"cnt_grad_text"};
  std::array<Control, 4> rect_grad_text{Control{"rect_grad_text(1)", ControlKind::GradientPreview},
                                        Control{"rect_grad_text(2)", ControlKind::GradientPreview},
                                        Control{"rect_grad_text(3)", ControlKind::GradientPreview},
                                        Control{"rect_grad_text(4)", ControlKind::GradientPreview}};
  OwnerDrawnButton btnSolid_text{"btnSolid_text"}, btn_grad1_text{"btn_grad1_text"},
      btn_grad2_text{"btn_grad2_text"};
  ColourSwatch btnSolid_text_rect{"btnSolid_text_rect"}, btn_grad1_text_rect{"btn_grad1_text_rect"},
      btn_grad2_text_rect{"btn_grad2_text_rect"};

  // Text panel, background.
  OptionButton opt_none_textBG{"opt_none_textBG", textBGType_};
  OptionButton opt_solid_textBG{"opt_solid_textBG", textBGType_};
  std::array<OptionButton, 5> opt_grad_textBG{
      OptionButton{"opt_grad_textBG(0)", textBGType_}, OptionButton{"opt_grad_textBG(1)", textBGPreset_},
      OptionButton{"opt_grad_textBG(2)", textBGPreset_}, OptionButton{"opt_grad_textBG(3)", textBGPreset_},
      OptionButton{"opt_grad_textBG(4)", textBGPreset_}};
  Frame cnt_grad_textBG{"cnt_grad_textBG"};
  std::array<Control, 4> rect_grad_textBG{Control{"rect_grad_textBG(1)", ControlKind::GradientPreview},
                                          Control{"rect_grad_textBG(2)", ControlKind::GradientPreview},
                                          Control{"rect_grad_textBG(3)", ControlKind::GradientPreview},
                                          Control{"rect_grad_textBG(4)", ControlKind::GradientPreview}};
  OwnerDrawnButton btnSolid_textBG{"btnSolid_textBG"}, btn_grad1_textBG{"btn_grad1_textBG"},
      btn_grad2_textBG{"btn_grad2_textBG"};
  ColourSwatch btnSolid_textBG_rect{"btnSolid_textBG_rect"}, btn_grad1_textBG_rect{"btn_grad1_textBG_rect"},
      btn_grad2_textBG_rect{"btn_grad2_textBG_rect"};

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

  // Shows the settings a load read (the QuickNick manager's replace option included) and
  // applies what a user's choice would: the language, the gradient groups' enabling.
  // Writes nothing back.
  void applyStoredSettings(const store::StoredSettings& stored, CheckBox& replaceQN);

  // The preset as the controls hold it, for direct colouring: type 1 solid or 2 gradient
  // for the characters, 0 none, 1 solid or 2 gradient for the background, presets 1 to 4
  // (0 when none is selected), colours from the swatch areas.
  engine::StylePreset nickStyle() const;
  engine::StylePreset textStyle() const;

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
  struct GroupControls {
    OptionButton* none;  // background groups only
    OptionButton& solid;
    std::array<OptionButton, 5>& gradient;
    Frame& container;
    std::array<Control, 4>& previews;
    ColourSwatch& solidColour;
    ColourSwatch& gradient1;
    ColourSwatch& gradient2;
  };
  const GroupControls& group(ColourGroup g) const { return groups_[static_cast<std::size_t>(g)]; }

  void setContainers();
  void registerControls();
  void layOut();
  std::array<OwnerDrawnButton*, 4> captionButtons();
  std::array<ColourSwatch*, 12> swatchAreas();
  // The swatch button a colour area lies in.
  static OwnerDrawnButton& buttonOf(ColourSwatch& area);
  void bindCheckBox(CheckBox& box, std::string path, CheckBox* editorCopy);
  void bindGroup(ColourGroup g, const std::string& prefs, const std::string& side);
  void bindSwatch(OwnerDrawnButton& button, ColourSwatch& area, std::string path,
                  std::optional<ColourGroup> previewsOf);
  void pickColour(ColourSwatch& area, std::string_view path, std::optional<ColourGroup> previewsOf);
  void onLanguageClicked();
  void chooseTab(bool nickname);
  void applyStoredPreset(const store::StoredPreset& stored, CheckBox& enabled, ColourGroup fg,
                         ColourGroup bg);
  void write(std::string_view path, std::string_view value);
  engine::StylePreset style(ColourGroup fg, ColourGroup bg, const CheckBox& enabled) const;

  PrefsDependencies deps_;
  // In the order of ColourGroup.
  std::array<GroupControls, 4> groups_{{
      {nullptr, opt_solid_nick, opt_grad_nick, cnt_grad_nick, rect_grad_nick, btnSolid_nick_rect,
       btn_grad1_nick_rect, btn_grad2_nick_rect},
      {&opt_none_nickBG, opt_solid_nickBG, opt_grad_nickBG, cnt_grad_nickBG, rect_grad_nickBG,
       btnSolid_nickBG_rect, btn_grad1_nickBG_rect, btn_grad2_nickBG_rect},
      {nullptr, opt_solid_text, opt_grad_text, cnt_grad_text, rect_grad_text, btnSolid_text_rect,
       btn_grad1_text_rect, btn_grad2_text_rect},
      {&opt_none_textBG, opt_solid_textBG, opt_grad_textBG, cnt_grad_textBG, rect_grad_textBG,
       btnSolid_textBG_rect, btn_grad1_textBG_rect, btn_grad2_textBG_rect},
  }};
};

// Where the configuration load puts the settings: the controls of both windows and the
// editor's two mirrors, and the manager's view of the current QuickNick.
store::ConfigTargets configTargets(PrefsWindow& prefs, QuickNickWindow& quickNick);

}  // namespace tessalune::ui
