#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "engine/conversion_context.h"
#include "engine/styled_text.h"
#include "lang/translation.h"
#include "platform/messenger.h"
#include "store/quicknick_state.h"
#include "store/quicknicks.h"
#include "store/setting_elements.h"
#include "store/store_context.h"
#include "ui/controls.h"
#include "ui/quicknick_view.h"
#include "ui/window.h"

namespace tessalune::ui {

// What the QuickNick manager works with; it owns none of it.
struct QuickNickDependencies {
  store::StoreContext& store;      // the configuration file, its messages and reports
  store::Settings& settings;       // the replace option, which this window shows and changes
  store::QuickNickState& state;    // the shown position and the number of entries
  platform::Messenger& messenger;  // the current nickname, which Add saves
  // A conversion context as every conversion of the plug-in gets one (the current editor
  // mode, the editor's suffix option, the scratch box); Add converts its preview with it.
  std::function<engine::ConversionContext()> conversionContext;
  // Given the Plus! text of the QuickNick chosen with Use.
  std::function<void(const std::string&)> chosen;
  // A failure on the way may have asked for a restart or a halt: the action then ends there.
  const errors::Lifecycle& lifecycle;
};

// frmQuickNick: browses the saved nicknames one at a time, saves the current nickname,
// gives the shown one a shortcut, deletes or uses it. The store's routines show the
// entries in its controls. Every button first commits the shortcut box; a refused commit
// leaves the button up and its action undone.
class QuickNickWindow : public Window {
 public:
  explicit QuickNickWindow(QuickNickDependencies deps);

  Control titleBar{"titleBar", ControlKind::Banner};
  Label lbl_ssTitre{"lbl_ssTitre"};
  Frame grp_quicknick{"grp_quicknick"};
  Label lbl_quicknick{"lbl_quicknick"};
  Label lbl_ex{"lbl_ex"};
  RichTextControl rtf_quicknick{"rtf_quicknick"};
  Label lbl_nbQN{"lbl_nbQN"};  // "index + 1 / count", "0 / 0" when there is no entry
  OwnerDrawnButton btnPrev{"btnPrev"}, btnNext{"btnNext"};
  Label lbl_shortcutTitle{"lbl_shortcutTitle"};
  TextBox txt_shortcut{"txt_shortcut"};
  Label lbl_prevSC{"lbl_prevSC"};  // hidden: the shortcut as last read or saved
  OwnerDrawnButton btnAdd{"btnAdd"}, btnUse{"btnUse"}, btnSuppr{"btnSuppr"};
  CheckBox chkReplaceQN{"chkReplaceQN"};
  OwnerDrawnButton btnClose{"btnClose"};

  // Shows the replace option when a load read it.
  void showSettings(const store::SettingSet& read);

  // Saves the current messenger nickname as a new last entry without shortcut and shows
  // it. A nickname that is empty, refused or declined by the conversion writes nothing
  // and leaves the window as it was.
  void addAction();

  // The save command: the current nickname stored under shortcut in one write (with the
  // replace option, in place of the entry that has it), then shown here. When another
  // entry has the shortcut (without replace), the entry is stored without one and the
  // shortcut box holds the refused text for the user to change.
  enum class SaveOutcome { Saved, ShortcutTaken, NotSaved };
  SaveOutcome saveNickname(std::string_view shortcut, bool replace);

  // Registers the buttons and the banner. A button looks pressed only once its press has
  // committed the shortcut box, and until it is released.
  void registerDrawing(gdi::OwnerDrawing& drawing);

  // The view and the context through which the store shows entries here.
  store::QuickNickView& storeView() { return storeView_; }
  store::QuickNickContext storeContext() { return {deps_.store, deps_.state, storeView_}; }
  store::QuickNickState& state() { return deps_.state; }

  // This window's entries of the caption list, in its order: the title, lbl_ssTitre, ...,
  // btnClose_label (11 entries).
  lang::CaptionList captionEntries();

 private:
  // What the last press of a button did with the shortcut box: its click acts only on a
  // commit that succeeded. A click that no press preceded commits by itself.
  struct ButtonState {
    explicit ButtonState(OwnerDrawnButton& b) : button(&b) {}
    OwnerDrawnButton* button;
    std::optional<bool> committed;
  };

  void registerControls();
  void layOut();
  void bindButton(ButtonState& state, std::function<void()> action);
  bool commitShortcut();
  void showCounter();
  void onCounterChanged();
  void previous();
  void next();
  void use();
  // The current nickname as the preview shows it and as markup with backgrounds kept; the
  // markup is "" when there is nothing to save.
  std::pair<engine::StyledText, std::string> nicknameAsMarkup();
  void showNewEntry(const store::SavedQuickNick& saved, const engine::StyledText& preview,
                    std::string_view shortcut);

  QuickNickDependencies deps_;
  QuickNickControlsView storeView_{lbl_nbQN, txt_shortcut, lbl_prevSC, rtf_quicknick};
  std::array<ButtonState, 6> buttons_{ButtonState{btnClose}, ButtonState{btnAdd},  ButtonState{btnUse},
                                      ButtonState{btnSuppr}, ButtonState{btnPrev}, ButtonState{btnNext}};
};

}  // namespace tessalune::ui
