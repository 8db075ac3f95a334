// The editor's form: what it holds, where each control sits and the state it is created in.
#include "ui/editor_window.h"

#include <initializer_list>
#include <string>
#include <utility>

#include "engine/palette.h"

namespace tessalune::ui {

namespace {

constexpr std::string_view kNicknameTitle = "Tessalune";
constexpr std::string_view kNicknameText = "Tessalune";
constexpr std::string_view kMessageText = "Ondrivela";

// The gradient colours a new window starts with, per side.
struct GradientPair {
  std::string_view colour1;
  std::string_view colour2;
};
constexpr GradientPair kTextGradient{"#000080", "#0080FF"};
constexpr GradientPair kBackgroundGradient{"#55AAFF", "#D5EAFF"};

// Captions before a language file is applied: the English ones.
constexpr std::array<std::string_view, 24> kDesignCaptions = {
    "About",
    "Help",
    "My nickname",
    "Bold",
    "Italic",
    "Underline",
    "Strike",
    "Show code",
    "Text color",
    "Background",
    "Colored background",
    "Text color",
    "Background color",
    "Solid color",
    "Solid color",
    "Gradient",
    "Gradient",
    "Other color...",
    "Other color...",
    "No end code",
    "Color the whole nickname instead of the selection",
    "Preferences",
    "Cancel",
    "OK"};

// Controls named like the elements of a control array: base(index).
template <typename T, std::size_t N, typename... Extra, std::size_t... I>
std::array<T, N> namedArray(std::string_view base, const std::array<int, N>& indexes,
                            std::index_sequence<I...>, Extra... extra) {
  return {T{std::string(base) + "(" + std::to_string(indexes[I]) + ")", extra...}...};
}
template <typename T, std::size_t N, typename... Extra>
std::array<T, N> namedArray(std::string_view base, const std::array<int, N>& indexes, Extra... extra) {
  return namedArray<T, N>(base, indexes, std::make_index_sequence<N>{}, extra...);
}

constexpr std::array<int, 18> kFrameIndexes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 99};
constexpr std::array<int, 17> kSwatchIndexes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
constexpr std::array<int, 4> kPresetIndexes{1, 2, 3, 4};

}  // namespace

EditorWindow::EditorWindow(EditorDependencies deps)
    : Window("frmPrincipal"),
      panelColorFG_solid(namedArray<Control>("panelColorFG_solid", kFrameIndexes)),
      panelColorFG_solid_rect(namedArray<ColourSwatch>("panelColorFG_solid_rect", kSwatchIndexes)),
      panelColorFG_grad(namedArray<Control>("panelColorFG_grad", kPresetIndexes)),
      panelColorFG_grad_rect(
          namedArray<Control>("panelColorFG_grad_rect", kPresetIndexes, ControlKind::GradientPreview)),
      panelColorBG_solid(namedArray<Control>("panelColorBG_solid", kFrameIndexes)),
      panelColorBG_solid_rect(namedArray<ColourSwatch>("panelColorBG_solid_rect", kSwatchIndexes)),
      panelColorBG_grad(namedArray<Control>("panelColorBG_grad", kPresetIndexes)),
      panelColorBG_grad_rect(
          namedArray<Control>("panelColorBG_grad_rect", kPresetIndexes, ControlKind::GradientPreview)),
      deps_(std::move(deps)),
      sides_{
          {{ColourSide::Text, btnFG, btnFG_rect, panelColorFG, panelColorFG_lblTitle, panelColorFG_lblUni,
            panelColorFG_lblGrad, panelColorFG_lbl_rightArrow, panelColorFG_solid_label, panelColorFG_solid,
            panelColorFG_solid_rect, panelColorFG_grad1, panelColorFG_grad2, panelColorFG_grad1_rect,
            panelColorFG_grad2_rect, panelColorFG_grad, panelColorFG_grad_rect},
           {ColourSide::Background, btnBG, btnBG_rect, panelColorBG, panelColorBG_lblTitle,
            panelColorBG_lblUni, panelColorBG_lblGrad, panelColorBG_lbl_rightArrow, panelColorBG_solid_label,
            panelColorBG_solid, panelColorBG_solid_rect, panelColorBG_grad1, panelColorBG_grad2,
            panelColorBG_grad1_rect, panelColorBG_grad2_rect, panelColorBG_grad, panelColorBG_grad_rect}}} {
  setContainers();  // before the registration, which puts the rest on the window
  registerControls();
  setKeyButtons(&btnOK, &btnCancel);
  layOut();
  setDesignState();
  bindHandlers();
}

// The order of registration is the order Tab follows: the banner, the box, the row of tabs,
// the colour panel in front with its ready-made choices (the swatches, then the gradient
// presets) before the gradient's own ends, the format buttons beside it, then the options
// and the window's buttons. Keyboard users reach a colour in a few keys.
void EditorWindow::registerControls() {
  for (Control* c : std::initializer_list<Control*>{&titleBar, &lbl_titre, &btnAbout, &btnHelp, &grp_nick,
                                                    &rtf_nick, &rtf_text, &rtf_mask, &rtf_auto}) {
    add(*c);
  }
  for (Side& s : sides_) {
    add(s.tab);
    add(s.tab.label());
    add(s.styleSwatch);
  }
  for (Side& s : sides_) {
    for (Control* c :
         std::initializer_list<Control*>{&s.panel, &s.title, &s.solidHeading, &s.gradientHeading}) {
      add(*c);
    }
    for (Control& frame : s.solidFrames) add(frame);
    for (ColourSwatch& swatch : s.solidSwatches) add(swatch);
    add(s.otherColour);
    for (Control& preset : s.presets) add(preset);
    for (Control& preview : s.previews) add(preview);
    // The gradient colour buttons show a swatch, not a caption: their labels are not registered.
    for (Control* c :
         std::initializer_list<Control*>{&s.gradient1, &s.colour1, &s.arrow, &s.gradient2, &s.colour2}) {
      add(*c);
    }
  }
  for (Control* c : std::initializer_list<Control*>{
           &btnBold, &btnBold.label(), &btnItalic, &btnItalic.label(), &btnUline, &btnUline.label(), &btnSO,
           &btnSO.label(), &btnCode, &btnCode.label(), &chk_BG, &chk_all, &chk_noEnd, &btnPrefs,
           &btnPrefs.label(), &btnCancel, &btnCancel.label(), &btnOK, &btnOK.label()}) {
    add(*c);
  }
}

// What holds what, as the layout places them: the boxes lie in grp_nick, a side's swatch on
// its tab, its controls on its panel, each swatch or preview in its frame or button.
void EditorWindow::setContainers() {
  for (Control* c : std::initializer_list<Control*>{&lbl_titre, &btnAbout, &btnHelp})
    c->setContainer(&titleBar);
  rtf_nick.setContainer(&grp_nick);
  rtf_text.setContainer(&grp_nick);
  rtf_text.setMultiLine(true);  // a message may hold line breaks
  for (Side& s : sides_) {
    s.styleSwatch.setContainer(&s.tab);
    for (Control* c : std::initializer_list<Control*>{&s.title, &s.solidHeading, &s.gradientHeading,
                                                      &s.gradient1, &s.arrow, &s.gradient2}) {
      c->setContainer(&s.panel);
    }
    for (std::size_t i = 0; i < s.solidFrames.size(); ++i) {
      s.solidFrames[i].setContainer(&s.panel);
      s.solidFrames[i].setIndex(i == kOtherColourFrame ? 99 : static_cast<int>(i));
      if (i < s.solidSwatches.size()) {
        s.solidSwatches[i].setContainer(&s.solidFrames[i]);
        s.solidSwatches[i].setIndex(static_cast<int>(i));
      }
    }
    s.otherColour.setContainer(&s.solidFrames[kOtherColourFrame]);
    s.colour1.setContainer(&s.gradient1);
    s.colour2.setContainer(&s.gradient2);
    for (std::size_t k = 0; k < s.presets.size(); ++k) {
      s.presets[k].setContainer(&s.panel);
      s.previews[k].setContainer(&s.presets[k]);
      s.presets[k].setIndex(static_cast<int>(k));
      s.previews[k].setIndex(static_cast<int>(k));
    }
  }
}

// Positions are relative to the container: the window, the frame grp_nick, a tab, a panel,
// or the swatch frame or button a swatch sits in. The caption labels fill their faces.
void EditorWindow::layOut() {
  resize(6615, 5895);
  titleBar.place(0, 0, 6615, 615);
  lbl_titre.place(180, 150, 3000, 315);
  btnAbout.place(5280, 105, 1200, 195);
  btnHelp.place(5280, 330, 1200, 195);
  grp_nick.place(120, 690, 6375, 930);
  rtf_nick.place(120, 240, 6135, 570);
  rtf_text.place(120, 240, 6135, 570);
  rtf_mask.place(0, 0, 6135, 570);
  rtf_auto.place(0, 0, 6135, 570);

  int top = 1935;
  for (OwnerDrawnButton* b : {&btnBold, &btnItalic, &btnUline, &btnSO}) {
    b->place(4575, top, 1920, 375);
    top += 435;
  }
  btnCode.place(4575, 4050, 1920, 375);

  // A tab ends where the panel begins, 15 twips lower when it stands in front.
  btnFG.place(120, kFrontTabTop, 2100, 255);
  btnBG.place(2235, kOtherTabTop, 2100, 255);
  for (Side& s : sides_) {
    s.styleSwatch.place(1800, 45, 225, 165);
    s.panel.place(120, 1935, 4335, 2490);
    s.title.place(120, 60, 2400, 240);
    s.solidHeading.place(240, 660, 1800, 225);
    for (std::size_t i = 1; i <= 16; ++i) {
      const int row = static_cast<int>(i - 1) / 4, column = static_cast<int>(i - 1) % 4;
      s.solidFrames[i].place(240 + 255 * column, 930 + 255 * row, 255, 255);
      s.solidSwatches[i].place(kPaletteSwatchRest, kPaletteSwatchRest, 165, 165);
    }
    s.solidFrames[0].place(1320, 930, 405, 285);
    s.solidSwatches[0].place(kInnerSwatchLeft, kInnerSwatchTop, 165, 165);
    s.solidFrames[kOtherColourFrame].place(240, 1995, 1740, 255);
    s.otherColour.place(0, kOtherColourLabelTop, 1710, 225);
    s.gradientHeading.place(2040, 660, 2100, 225);
    s.gradient1.place(2040, 930, 405, 285);
    s.colour1.place(kInnerSwatchLeft, kInnerSwatchTop, 165, 165);
    s.arrow.place(2505, 960, 285, 225);
    s.gradient2.place(2850, 930, 405, 285);
    s.colour2.place(kInnerSwatchLeft, kInnerSwatchTop, 165, 165);
    for (std::size_t k = 0; k < 4; ++k) {
      s.presets[k].place(2040, 1305 + 285 * static_cast<int>(k), 2175, 255);
      s.previews[k].place(kInnerSwatchLeft, kInnerSwatchTop, 1935, 135);
    }
  }

  chk_BG.place(120, 4515, 3000, 255);
  chk_all.place(120, 4800, 6375, 255);
  chk_noEnd.place(120, 5085, 3000, 255);
  btnPrefs.place(120, 5400, 1500, 375);
  btnCancel.place(3630, 5400, 1350, 375);
  btnOK.place(5100, 5400, 1395, 375);
  for (OwnerDrawnButton* b :
       {&btnBold, &btnItalic, &btnUline, &btnSO, &btnCode, &btnPrefs, &btnCancel, &btnOK}) {
    b->label().place(0, OwnerDrawnButton::kLabelTop, b->width(), b->height() - OwnerDrawnButton::kLabelTop);
  }
  // A tab's caption stops short of its style swatch.
  for (OwnerDrawnButton* tab : {&btnFG, &btnBG}) tab->label().place(60, 30, 1695, 210);
}

void EditorWindow::setDesignState() {
  setCaption(std::string(kNicknameTitle));
  lbl_titre.setCaption(std::string(kNicknameTitle));
  const lang::CaptionList captions = captionEntries();
  for (std::size_t i = 0; i < captions.size(); ++i) captions[i]->setCaption(std::string(kDesignCaptions[i]));
  panelColorFG_lbl_rightArrow.setCaption("->");
  panelColorBG_lbl_rightArrow.setCaption("->");

  for (Side& s : sides_) {
    s.solidSwatches[0].setBackColour(engine::hex2rgb("#FFFFFF"));
    for (std::size_t i = 1; i <= 16; ++i)
      s.solidSwatches[i].setBackColour(engine::hex2rgb(engine::kEditorSwatches[i - 1]));
    const GradientPair& pair = s.id == ColourSide::Text ? kTextGradient : kBackgroundGradient;
    s.colour1.setBackColour(engine::hex2rgb(pair.colour1));
    s.colour2.setBackColour(engine::hex2rgb(pair.colour2));
    s.styleSwatch.setBackColour(engine::hex2rgb("#000000"));
  }

  // The boxes: the nickname box shown, both hidden working boxes.
  rtf_nick.box().setText(kNicknameText);
  rtf_text.box().setText(kMessageText);
  rtf_mask.box().setText(kNicknameText);
  for (RichTextControl* hidden : {&rtf_text, &rtf_mask, &rtf_auto}) hidden->setVisible(false);
  blackenBoxes();

  // Background colouring off: its tab cannot be chosen; the text tab is in front.
  btnBG.setEnabled(false);
  btnBG.label().setEnabled(false);
  chooseTab(ColourSide::Text);
}

}  // namespace tessalune::ui
