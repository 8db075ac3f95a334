#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/colour.h"
#include "engine/conversion_context.h"
#include "errors/lifecycle.h"
#include "errors/message_texts.h"
#include "errors/routine_guard.h"
#include "lang/translation.h"
#include "platform/dialogs.h"
#include "ui/controls.h"
#include "ui/gdi/owner_drawing.h"
#include "ui/window.h"

namespace tessalune::ui {

// What the editor works with; it owns none of it.
struct EditorDependencies {
  platform::Dialogs& dialogs;            // the conversion's messages and the colour dialog
  const errors::MessageTexts& messages;  // 124 and 125 for the code button, the conversion's own
  errors::FailureContext& failures;      // conversions and gradients report here
  errors::Lifecycle& lifecycle;          // a fatal conversion error asks for a halt
  std::function<void()> showPrefs = {};  // btnPrefs: the preferences window, modally
  std::function<void()> showAbout = {};  // btnAbout: the about window, modally
  std::function<void()> showHelp = {};   // btnHelp_Click: the help
  // The current language file, whose line 8 is the show-code caption (without it the code
  // button gets back the caption it had before the code view) and which gives the captions
  // that follow the mode (without it they stay as they are).
  const lang::Translation* translation = nullptr;
  // The paint buffers of the style swatches and previews; without them nothing is drawn.
  gdi::OwnerDrawing* drawing = nullptr;
};

// The two colour sides of the editor: the text colour panel and tab (FG) and the
// background ones (BG).
enum class ColourSide { Text, Background };

// frmPrincipal: styles a nickname (mode 1, rtf_nick) or a message (mode 2, rtf_text) by
// hand and converts it to Plus! text on OK. Whole-text operations are done in the hidden
// scratch box rtf_mask and copied back in one step. The window is hidden, never closed,
// between uses: colours, last styles and check boxes persist.
class EditorWindow : public Window {
 public:
  explicit EditorWindow(EditorDependencies deps);

  // Banner.
  Control titleBar{"titleBar", ControlKind::Banner};
  Label lbl_titre{"lbl_titre"};
  Label btnAbout{"btnAbout", ControlKind::Link},
      btnHelp{"btnHelp", ControlKind::Link};  // at the banner's right

  // The boxes: the shown one of the mode, the scratch box and the direct colouring box.
  Frame grp_nick{"grp_nick"};
  RichTextControl rtf_nick{"rtf_nick"}, rtf_text{"rtf_text"};
  RichTextControl rtf_mask{"rtf_mask"}, rtf_auto{"rtf_auto"};  // both hidden

  OwnerDrawnButton btnBold{"btnBold"}, btnItalic{"btnItalic"}, btnUline{"btnUline"}, btnSO{"btnSO"};
  OwnerDrawnButton btnCode{"btnCode"};

  // The two tabs with the swatch that shows the side's current style.
  OwnerDrawnButton btnFG{"btnFG", ControlKind::Tab}, btnBG{"btnBG", ControlKind::Tab};
  ColourSwatch btnFG_rect{"btnFG_rect"}, btnBG_rect{"btnBG_rect"};

  // Text colour panel. panelColorFG_solid holds frames 0 to 16 at 0 to 16 and frame 99 at
  // kOtherColourFrame; panelColorFG_solid_rect the swatches 0 (custom) to 16 (palette).
  // panelColorFG_grad and panelColorFG_grad_rect hold presets 1 to 4 at 0 to 3.
  Frame panelColorFG{"panelColorFG", ControlKind::Panel};
  Label panelColorFG_lblTitle{"panelColorFG_lblTitle"}, panelColorFG_lblUni{"panelColorFG_lblUni"},
      panelColorFG_lblGrad{"panelColorFG_lblGrad"};
  std::array<Control, 18> panelColorFG_solid;
  std::array<ColourSwatch, 17> panelColorFG_solid_rect;
  Label panelColorFG_solid_label{"panelColorFG_solid_label"};
  OwnerDrawnButton panelColorFG_grad1{"panelColorFG_grad1"}, panelColorFG_grad2{"panelColorFG_grad2"};
  ColourSwatch panelColorFG_grad1_rect{"panelColorFG_grad1_rect"},
      panelColorFG_grad2_rect{"panelColorFG_grad2_rect"};
  Label panelColorFG_lbl_rightArrow{"panelColorFG_lbl_rightArrow"};
  std::array<Control, 4> panelColorFG_grad;
  std::array<Control, 4> panelColorFG_grad_rect;

  // Background panel, the same controls with BG in their names.
  Frame panelColorBG{"panelColorBG", ControlKind::Panel};
  Label panelColorBG_lblTitle{"panelColorBG_lblTitle"}, panelColorBG_lblUni{"panelColorBG_lblUni"},
      panelColorBG_lblGrad{"panelColorBG_lblGrad"};
  std::array<Control, 18> panelColorBG_solid;
  std::array<ColourSwatch, 17> panelColorBG_solid_rect;
  Label panelColorBG_solid_label{"panelColorBG_solid_label"};
  OwnerDrawnButton panelColorBG_grad1{"panelColorBG_grad1"}, panelColorBG_grad2{"panelColorBG_grad2"};
  ColourSwatch panelColorBG_grad1_rect{"panelColorBG_grad1_rect"},
      panelColorBG_grad2_rect{"panelColorBG_grad2_rect"};
  Label panelColorBG_lbl_rightArrow{"panelColorBG_lbl_rightArrow"};
  std::array<Control, 4> panelColorBG_grad;
  std::array<Control, 4> panelColorBG_grad_rect;

  CheckBox chk_BG{"chk_BG"}, chk_all{"chk_all"}, chk_noEnd{"chk_noEnd"};
  OwnerDrawnButton btnPrefs{"btnPrefs"}, btnCancel{"btnCancel"}, btnOK{"btnOK"};

  // Where frame 99 (the other-colour frame) sits in the panels' solid arrays.
  static constexpr std::size_t kOtherColourFrame = 17;
  // Tops of the front and of the other tab, in twips: the front one stands a pixel higher.
  static constexpr int kFrontTabTop = 1665;
  static constexpr int kOtherTabTop = 1680;
  // Where a pressed swatch frame's content rests, inside its frame (twips); pressed, it sits
  // a pixel lower and further right.
  static constexpr int kPaletteSwatchRest = 45;
  static constexpr int kInnerSwatchLeft = 120;  // custom swatch, gradient colour swatches, previews
  static constexpr int kInnerSwatchTop = 60;
  static constexpr int kOtherColourLabelTop = 15;

  // The editor's mode: nickname (rtf_nick current) or text (rtf_text current).
  engine::EditorMode mode() const { return mode_; }
  // Puts the editor in a mode: the mode's box becomes the current one and is shown, the
  // other hidden, the no-end box shown in nickname mode only, and the captions that follow
  // the mode are taken from the language. Nothing happens in the mode it is in already.
  void setMode(engine::EditorMode mode);
  // After a language's caption list was applied (it holds the nickname-mode captions): in
  // text mode the text-mode captions take their place.
  void languageApplied();

  // What OK gave (the Plus! text); "" after Cancel, and after clearCodedResult.
  // The QuickNick manager's Use sets it too.
  const std::string& codedResult() const { return codedResult_; }
  void setCodedResult(std::string result) { codedResult_ = std::move(result); }
  void clearCodedResult() { codedResult_.clear(); }

  // A conversion context as every conversion of the plug-in gets one: the current editor
  // mode, the suffix option chk_noEnd and rtf_mask as the scratch box.
  engine::ConversionContext conversionContext();

  // The box of the current mode.
  RichTextControl& currentEditorBox() { return mode_ == engine::EditorMode::Text ? rtf_text : rtf_nick; }
  // The styled text OK converts, as RTF: the current box's, or in the code view the text
  // the codes on show stand for.
  std::string styledTextRtf() { return codeView_ ? savedRtf_ : currentEditorBox().box().textRtf(); }
  // Whether OK converts backgrounds too (chk_BG), as the flag the conversion takes.
  std::int16_t backgroundFlag() const { return chk_BG.checked() ? 1 : 0; }

  // Re-applies the last text style and, when chk_BG is ticked, the last background style
  // to the current editor box. Does nothing while it runs already.
  void ReapplyStyles();

  // The help action, also run by the dispatcher for the help command.
  void btnHelp_Click();

  // Selects the whole text of rtf_nick and of rtf_text, makes it black and puts the caret
  // at the start (the start-up state).
  void blackenBoxes();

  bool codeView() const { return codeView_; }
  engine::LastStyle lastTextStyle() const { return lastStyle_[0]; }
  engine::LastStyle lastBackgroundStyle() const { return lastStyle_[1]; }
  // The last styles as the style swatches are painted from them.
  gdi::LastStyles paintStyles() const;

  // This window's entries of the caption list, in its order: btnAbout, btnHelp, grp_nick,
  // ..., btnOK_label (24 entries).
  lang::CaptionList captionEntries();

  // Registers the owner-drawn buttons, banner, single buffers and previews of this window
  // into deps.drawing (nothing without one).
  void registerDrawing();

 private:
  // One side's panel and tab, so that both sides share their handlers.
  struct Side {
    ColourSide id;
    OwnerDrawnButton& tab;
    ColourSwatch& styleSwatch;
    Frame& panel;
    Label& title;
    Label& solidHeading;
    Label& gradientHeading;
    Label& arrow;
    Label& otherColour;
    std::array<Control, 18>& solidFrames;
    std::array<ColourSwatch, 17>& solidSwatches;
    OwnerDrawnButton& gradient1;
    OwnerDrawnButton& gradient2;
    ColourSwatch& colour1;
    ColourSwatch& colour2;
    std::array<Control, 4>& presets;
    std::array<Control, 4>& previews;
  };
  Side& side(ColourSide s) { return sides_[static_cast<std::size_t>(s)]; }
  engine::LastStyle& lastStyle(ColourSide s) { return lastStyle_[static_cast<std::size_t>(s)]; }

  // Marks the window's own writes into the editor boxes, whose change notifications must
  // not re-apply the styles.
  class OwnWrite {
   public:
    explicit OwnWrite(int& depth) : depth_(depth) { ++depth_; }
    ~OwnWrite() { --depth_; }
    OwnWrite(const OwnWrite&) = delete;
    OwnWrite& operator=(const OwnWrite&) = delete;

   private:
    int& depth_;
  };

  void registerControls();
  void setContainers();
  void layOut();
  void setDesignState();
  void bindHandlers();
  void bindSide(Side& s);
  void bindFrame(Control& frame, Control& inner, int restLeft, int restTop);

  void onOK();
  void onCancel();
  void onCode();
  void enterCodeView();
  void leaveCodeView();
  void setCodeViewControlsEnabled(bool enabled);
  void onFormatToggle(engine::Tristate (engine::RichTextBox::*read)() const,
                      void (engine::RichTextBox::*write)(bool));
  void chooseTab(ColourSide s);
  void applyColour(ColourSide s, engine::ColourNumber colour);
  void onSolid(ColourSide s, std::size_t frame);
  void onGradientPreset(ColourSide s, engine::GradientPreset preset);
  void onGradientColour(ColourSide s, ColourSwatch& swatch);
  void onBackgroundCheck();
  void onNoEnd();
  void onBoxChanged(const RichTextControl& box);
  void focusCurrentBox();
  void showModeCaptions();
  bool contained(ColourSide s) { return side(s).panel.enabled(); }

  EditorDependencies deps_;
  engine::EditorMode mode_ = engine::EditorMode::Nickname;
  std::string codedResult_;
  bool codeView_ = false;
  std::string savedRtf_;                        // the styled text while the code view shows the codes
  std::string codeCaption_;                     // the code button's caption before the code view
  std::array<engine::LastStyle, 2> lastStyle_;  // text, background
  int ownWrites_ = 0;
  bool reapplying_ = false;
  std::array<Side, 2> sides_;
};

}  // namespace tessalune::ui
