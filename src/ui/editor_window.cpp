#include "ui/editor_window.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/gradient.h"
#include "engine/palette.h"
#include "engine/rtf2xml.h"
#include "errors/message_ids.h"
#include "ui/gdi/button_look.h"
#include "ui/gdi/swatch_colour.h"
#include "ui/gdi/system_colours.h"

namespace tessalune::ui {

namespace msg = errors::msg;

namespace {

constexpr std::size_t kShowCodeLine = 8;

constexpr int kPressOffset = gdi::kPressOffset;

// Selects the whole text of a box.
void selectAll(engine::RichTextBox& box) {
  box.select(0, box.length());
}

}  // namespace

void EditorWindow::blackenBoxes() {
  for (RichTextControl* c : {&rtf_nick, &rtf_text}) {
    selectAll(c->box());
    c->box().setSelColor(engine::ColourNumber{0});
  }
  rtf_nick.box().setSelStart(0);
  rtf_text.box().setSelStart(0);
}

void EditorWindow::bindHandlers() {
  btnOK.setClickHandler([this] { onOK(); });
  btnCancel.setClickHandler([this] { onCancel(); });
  btnCode.setClickHandler([this] { onCode(); });
  btnBold.setClickHandler(
      [this] { onFormatToggle(&engine::RichTextBox::selBold, &engine::RichTextBox::setSelBold); });
  btnItalic.setClickHandler(
      [this] { onFormatToggle(&engine::RichTextBox::selItalic, &engine::RichTextBox::setSelItalic); });
  btnUline.setClickHandler(
      [this] { onFormatToggle(&engine::RichTextBox::selUnderline, &engine::RichTextBox::setSelUnderline); });
  btnSO.setClickHandler([this] {
    onFormatToggle(&engine::RichTextBox::selStrikeThru, &engine::RichTextBox::setSelStrikeThru);
  });
  for (OwnerDrawnButton* b :
       {&btnOK, &btnCancel, &btnBold, &btnItalic, &btnUline, &btnSO, &btnCode, &btnPrefs, &panelColorFG_grad1,
        &panelColorFG_grad2, &panelColorBG_grad1, &panelColorBG_grad2}) {
    bindButtonLook(*b);
  }

  for (Side& s : sides_) bindSide(s);

  chk_BG.setClickHandler([this] { onBackgroundCheck(); });
  chk_all.setClickHandler([this] {
    if (chk_all.checked()) ReapplyStyles();
  });
  chk_noEnd.setClickHandler([this] { onNoEnd(); });
  rtf_nick.box().setChangeHandler([this] { onBoxChanged(rtf_nick); });
  rtf_text.box().setChangeHandler([this] { onBoxChanged(rtf_text); });

  btnPrefs.setClickHandler([this] {
    if (deps_.showPrefs) deps_.showPrefs();
  });
  btnAbout.setClickHandler([this] {
    if (deps_.showAbout) deps_.showAbout();
  });
  btnHelp.setClickHandler([this] { btnHelp_Click(); });
}

// A side's tab, palette, other colour, gradient colours and presets. What sits in the
// panel acts only while the panel is enabled, as a disabled container's content does.
void EditorWindow::bindSide(Side& s) {
  const ColourSide id = s.id;
  s.tab.setPressHandler([this, id] { chooseTab(id); });
  s.styleSwatch.setPressHandler([&s] { s.tab.press(); });  // part of its tab

  for (std::size_t i = 0; i < s.solidFrames.size(); ++i) {
    Control& frame = s.solidFrames[i];
    frame.setClickHandler([this, id, i] {
      if (contained(id)) onSolid(id, i);
    });
    if (i == kOtherColourFrame) {
      bindFrame(frame, s.otherColour, 0, kOtherColourLabelTop);
    } else {
      const int rest = i == 0 ? kInnerSwatchLeft : kPaletteSwatchRest;
      bindFrame(frame, s.solidSwatches[i], rest, i == 0 ? kInnerSwatchTop : kPaletteSwatchRest);
    }
  }

  for (const auto& pair : {std::pair{&s.gradient1, &s.colour1}, std::pair{&s.gradient2, &s.colour2}}) {
    OwnerDrawnButton* face = pair.first;
    ColourSwatch* swatch = pair.second;
    face->setClickHandler([this, id, swatch] {
      if (contained(id)) onGradientColour(id, *swatch);
    });
    swatch->setPressHandler([face] { face->press(); });
    swatch->setReleaseHandler([face] { face->release(); });
    swatch->setClickHandler([face] { face->click(); });
  }

  for (std::size_t k = 0; k < 4; ++k) {
    const engine::GradientPreset preset = engine::kGradientPresets[k];
    s.presets[k].setClickHandler([this, id, preset] {
      if (contained(id)) onGradientPreset(id, preset);
    });
    bindFrame(s.presets[k], s.previews[k], kInnerSwatchLeft, kInnerSwatchTop);
  }
}

// What sits in a swatch frame or preset button acts as the frame itself; a press sinks it
// by a pixel and a release puts it back at its rest.
void EditorWindow::bindFrame(Control& frame, Control& inner, int restLeft, int restTop) {
  frame.setPressHandler([&frame, &inner, restLeft, restTop] {
    frame.setSunken(true);
    inner.move(restLeft + kPressOffset, restTop + kPressOffset);
  });
  frame.setReleaseHandler([&frame, &inner, restLeft, restTop] {
    frame.setSunken(false);
    inner.move(restLeft, restTop);
  });
  inner.setPressHandler([&frame] { frame.press(); });
  inner.setReleaseHandler([&frame] { frame.release(); });
  inner.setClickHandler([&frame] { frame.click(); });
}

void EditorWindow::setMode(engine::EditorMode mode) {
  if (mode == mode_) return;
  mode_ = mode;
  const bool text = mode == engine::EditorMode::Text;
  rtf_nick.setVisible(!text);
  rtf_text.setVisible(text);
  chk_noEnd.setVisible(!text);
  showModeCaptions();
}

void EditorWindow::languageApplied() {
  if (mode_ == engine::EditorMode::Text) showModeCaptions();
}

void EditorWindow::showModeCaptions() {
  if (!deps_.translation) return;
  const lang::ModeCaptions captions = deps_.translation->modeCaptions(mode_);
  setCaption(captions.title);
  lbl_titre.setCaption(captions.title);
  if (captions.frame) grp_nick.setCaption(*captions.frame);
  if (captions.all) chk_all.setCaption(*captions.all);
}

engine::ConversionContext EditorWindow::conversionContext() {
  return {mode_,          chk_noEnd.checked(), deps_.dialogs, deps_.messages,
          deps_.failures, deps_.lifecycle,     rtf_mask.box()};
}

void EditorWindow::focusCurrentBox() {
  RichTextControl& current = currentEditorBox();
  rtf_nick.box().setFocus(&current == &rtf_nick);
  rtf_text.box().setFocus(&current == &rtf_text);
}

// OK converts the styled text, never the codes on show: the code view is left first.
void EditorWindow::onOK() {
  if (codeView_) leaveCodeView();
  engine::ConversionContext ctx = conversionContext();
  const std::string result = engine::rtf2plus(currentEditorBox().box(), backgroundFlag(), ctx);
  codedResult_ = result;
  focusCurrentBox();
  // An empty result leaves the window open so that the user can correct the text.
  if (!result.empty()) hide();
}

void EditorWindow::onCancel() {
  if (codeView_) leaveCodeView();
  codedResult_.clear();
  focusCurrentBox();
  hide();
}

void EditorWindow::onCode() {
  if (codeView_) {
    leaveCodeView();
  } else {
    enterCodeView();
  }
}

// The box shows, black on white and locked, exactly the Plus! text OK would give; when the
// conversion gives nothing (it has said why), nothing changes.
void EditorWindow::enterCodeView() {
  OwnWrite write(ownWrites_);
  engine::RichTextBox& box = currentEditorBox().box();
  const std::string saved = box.textRtf();
  engine::ConversionContext ctx = conversionContext();
  const std::string code = engine::rtf2plus(box, backgroundFlag(), ctx);
  engine::RichTextBox& mask = rtf_mask.box();
  mask.setText(code);
  if (mask.text().empty()) return;

  codeView_ = true;
  savedRtf_ = saved;
  selectAll(mask);
  mask.setSelColor(engine::ColourNumber{0});
  mask.setSelBold(false);
  mask.setSelItalic(false);
  mask.setSelUnderline(false);
  mask.setSelStrikeThru(false);
  engine::SetSelBackColor(engine::ColourNumber{0xFFFFFF}, mask);
  box.setLocked(true);
  box.copyTextRtfFrom(mask);

  codeCaption_ = btnCode.label().caption();
  btnCode.label().setCaption(
      deps_.messages.message(mode_ == engine::EditorMode::Text ? msg::kShowMessage : msg::kShowNickname));
  setCodeViewControlsEnabled(false);
}

void EditorWindow::leaveCodeView() {
  OwnWrite write(ownWrites_);
  codeView_ = false;
  engine::RichTextBox& box = currentEditorBox().box();
  box.setTextRtf(savedRtf_);
  box.setLocked(false);
  std::optional<std::string> caption;
  if (deps_.translation) caption = deps_.translation->line(kShowCodeLine);
  btnCode.label().setCaption(caption.value_or(codeCaption_));
  setCodeViewControlsEnabled(true);
}

// The formatting controls: the four toggles, the text side, chk_BG, and the background
// side while background colouring is on.
void EditorWindow::setCodeViewControlsEnabled(bool enabled) {
  for (OwnerDrawnButton* b : {&btnBold, &btnItalic, &btnUline, &btnSO}) {
    b->setEnabled(enabled);
    b->label().setEnabled(enabled);
  }
  chk_BG.setEnabled(enabled);
  for (Side& s : sides_) {
    if (s.id == ColourSide::Background && !chk_BG.checked()) continue;
    s.tab.setEnabled(enabled);
    s.tab.label().setEnabled(enabled);
    for (Control* c : std::initializer_list<Control*>{&s.panel, &s.title, &s.solidHeading, &s.gradientHeading,
                                                      &s.arrow, &s.otherColour}) {
      c->setEnabled(enabled);
    }
  }
}

// True stays true only when all of it is: true becomes false, false and mixed become true.
// A selection is widened to whole clusters first. With nothing selected the whole text
// changes, through the scratch box; chk_all plays no part.
void EditorWindow::onFormatToggle(engine::Tristate (engine::RichTextBox::*read)() const,
                                  void (engine::RichTextBox::*write)(bool)) {
  OwnWrite own(ownWrites_);
  engine::RichTextBox& box = currentEditorBox().box();
  if (!box.selectedText().empty()) {
    box.selectWholeClusters();
    (box.*write)((box.*read)() != engine::Tristate::True);
    return;
  }
  const int savedStart = box.selStart();
  engine::RichTextBox& mask = rtf_mask.box();
  mask.copyTextRtfFrom(box);
  selectAll(mask);
  (mask.*write)((mask.*read)() != engine::Tristate::True);
  box.copyTextRtfFrom(mask);
  box.setSelStart(savedStart);
}

// The chosen tab's panel in front, the tab a pixel higher and lighter.
void EditorWindow::chooseTab(ColourSide chosen) {
  for (Side& s : sides_) {
    const bool front = s.id == chosen;
    s.panel.setVisible(front);
    s.tab.move(s.tab.left(), front ? kFrontTabTop : kOtherTabTop);
    s.tab.setBackColour(front ? system_colour::k3DHighlight : system_colour::kButtonFace);
  }
}

// A solid colour goes to the whole text when nothing is selected or chk_all is ticked,
// else to the selection, widened to whole clusters.
void EditorWindow::applyColour(ColourSide s, engine::ColourNumber colour) {
  OwnWrite own(ownWrites_);
  engine::RichTextBox& box = currentEditorBox().box();
  const auto target = s == ColourSide::Text ? engine::PaintTarget::Text : engine::PaintTarget::Background;
  if (box.selectedText().empty() || chk_all.checked()) {
    engine::PaintContext paint{rtf_mask.box(), deps_.failures};
    engine::applySolidStyle(box, colour, target, paint);
  } else {
    box.selectWholeClusters();
    if (target == engine::PaintTarget::Text) {
      box.setSelColor(colour);
    } else {
      engine::SetSelBackColor(colour, box);
    }
  }
}

// Swatches 0 to 16 give their colour; frame 99 first lets the user choose swatch 0's.
void EditorWindow::onSolid(ColourSide id, std::size_t frame) {
  Side& s = side(id);
  std::size_t swatch = frame;
  if (frame == kOtherColourFrame) {
    swatch = 0;
    if (!gdi::pickSwatchColour(deps_.dialogs, s.solidSwatches[0])) {
      focusCurrentBox();
      return;
    }
  }
  if (swatch < s.solidSwatches.size()) {
    lastStyle(id) = engine::LastStyle::solid();
    s.styleSwatch.setBackColour(s.solidSwatches[swatch].backColour());
    applyColour(id, s.styleSwatch.backColour() & engine::kRgbMask);
  }
  focusCurrentBox();
}

// A preset of the side's two colours over the selection (widened to whole clusters), or
// over the whole text when nothing is selected or chk_all is ticked.
void EditorWindow::onGradientPreset(ColourSide id, engine::GradientPreset gradient) {
  OwnWrite own(ownWrites_);
  Side& s = side(id);
  lastStyle(id) = engine::LastStyle::gradient(gradient);
  const engine::TwoColourGradient preset = engine::presetGradient(
      gradient, s.colour1.backColour() & engine::kRgbMask, s.colour2.backColour() & engine::kRgbMask);
  if (deps_.drawing) {
    deps_.drawing->drawStyleSwatch(id == ColourSide::Text ? gdi::EditorBuffer::TextStyleSwatch
                                                          : gdi::EditorBuffer::BackgroundStyleSwatch,
                                   preset.first, preset.second, preset.kind);
  }

  engine::RichTextBox& box = currentEditorBox().box();
  const engine::PaintTarget target =
      id == ColourSide::Text ? engine::PaintTarget::Text : engine::PaintTarget::Background;
  engine::PaintContext paint{rtf_mask.box(), deps_.failures};
  // The box repaints on every change, so a text too long for a gradient's 16-bit positions
  // keeps its colours without a word; OK then refuses it as too long.
  if (box.selectedText().empty() || chk_all.checked()) {
    const int n = box.length();
    if (n > engine::kMaxGradientEnd) return;
    engine::doGradient(box, 0, n, preset.first, preset.second, n, preset.kind, target, paint);
  } else {
    box.selectWholeClusters();
    const int start = box.selStart(), length = box.selLength();
    if (start + length > engine::kMaxGradientEnd) return;
    engine::doGradient(box, start, start + length, preset.first, preset.second, length, preset.kind, target,
                       paint);
  }
}

// A new gradient colour redraws the side's four previews; the text keeps its colours
// until the next preset is applied.
void EditorWindow::onGradientColour(ColourSide id, ColourSwatch& swatch) {
  if (!gdi::pickSwatchColour(deps_.dialogs, swatch)) return;
  if (deps_.drawing) {
    deps_.drawing->renderPreviewSet(id == ColourSide::Text ? gdi::PreviewSet::EditorText
                                                           : gdi::PreviewSet::EditorBackground);
  }
}

// Background colouring on: its tab can be chosen. Off: the text tab comes to the front and
// every background colour goes, the whole text taking the window background.
void EditorWindow::onBackgroundCheck() {
  const bool on = chk_BG.checked();
  btnBG.setEnabled(on);
  btnBG.label().setEnabled(on);
  if (on) {
    if (chk_all.checked()) ReapplyStyles();
    return;
  }
  chooseTab(ColourSide::Text);
  OwnWrite own(ownWrites_);
  const gdi::SystemColours colours = deps_.drawing ? deps_.drawing->systemColours() : gdi::SystemColours{};
  engine::PaintContext paint{rtf_mask.box(), deps_.failures};
  engine::applySolidStyle(currentEditorBox().box(), colours.translate(gdi::kWindowBackground),
                          engine::PaintTarget::Background, paint);
}

// The codes on show follow the suffix option at once.
void EditorWindow::onNoEnd() {
  if (!codeView_) return;
  leaveCodeView();
  enterCodeView();
}

// Typing with chk_all ticked keeps the whole text in the last styles. The window's own
// writes, re-application included, do not count as typing.
void EditorWindow::onBoxChanged(const RichTextControl& box) {
  if (ownWrites_ > 0 || &box != &currentEditorBox()) return;
  if (chk_all.checked() && !codeView_) ReapplyStyles();
}

void EditorWindow::ReapplyStyles() {
  if (reapplying_) return;
  reapplying_ = true;
  OwnWrite own(ownWrites_);
  for (ColourSide id : {ColourSide::Text, ColourSide::Background}) {
    if (id == ColourSide::Background && !chk_BG.checked()) break;
    const engine::LastStyle style = lastStyle(id);
    if (style.kind() == engine::StyleKind::Solid) {
      engine::PaintContext paint{rtf_mask.box(), deps_.failures};
      engine::applySolidStyle(
          currentEditorBox().box(), side(id).styleSwatch.backColour() & engine::kRgbMask,
          id == ColourSide::Text ? engine::PaintTarget::Text : engine::PaintTarget::Background, paint);
    } else if (const std::optional<engine::GradientPreset> preset = style.preset()) {
      onGradientPreset(id, *preset);
    }
  }
  reapplying_ = false;
}

void EditorWindow::btnHelp_Click() {
  if (deps_.showHelp) deps_.showHelp();
}

gdi::LastStyles EditorWindow::paintStyles() const {
  return {lastStyle_[0], lastStyle_[1]};
}

lang::CaptionList EditorWindow::captionEntries() {
  return {&btnAbout,
          &btnHelp,
          &grp_nick,
          &btnBold.label(),
          &btnItalic.label(),
          &btnUline.label(),
          &btnSO.label(),
          &btnCode.label(),
          &btnFG.label(),
          &btnBG.label(),
          &chk_BG,
          &panelColorFG_lblTitle,
          &panelColorBG_lblTitle,
          &panelColorFG_lblUni,
          &panelColorBG_lblUni,
          &panelColorFG_lblGrad,
          &panelColorBG_lblGrad,
          &panelColorFG_solid_label,
          &panelColorBG_solid_label,
          &chk_noEnd,
          &chk_all,
          &btnPrefs.label(),
          &btnCancel.label(),
          &btnOK.label()};
}

void EditorWindow::registerDrawing() {
  if (!deps_.drawing) return;
  gdi::OwnerDrawing& drawing = *deps_.drawing;
  attachDrawing(drawing);
  const auto size = [](const Control& c) { return gdi::TwipSize{c.width(), c.height()}; };
  registerButtons({&btnOK, &btnCancel, &btnBold, &btnItalic, &btnUline, &btnSO, &btnCode, &btnPrefs});
  for (Side& s : sides_) {
    for (auto [button, swatch] : {std::pair{&s.gradient1, &s.colour1}, std::pair{&s.gradient2, &s.colour2}}) {
      drawing.registerButton(gdi::buttonPosition(name(), button->name()), *button, size(*button), {},
                             *swatch);
    }
  }
  drawing.registerBanner(gdi::Banner::Editor, titleBar, size(titleBar));

  std::vector<const Control*> palette, custom, other, presets;
  for (Side& s : sides_) {
    for (std::size_t i = 1; i <= 16; ++i) palette.push_back(&s.solidFrames[i]);
    custom.push_back(&s.solidFrames[0]);
    other.push_back(&s.solidFrames[kOtherColourFrame]);
    for (Control& preset : s.presets) presets.push_back(&preset);
  }
  drawing.registerEditorBuffer(gdi::EditorBuffer::PanelBackground, size(panelColorFG),
                               {&panelColorFG, &panelColorBG});
  drawing.registerEditorBuffer(gdi::EditorBuffer::SmallFrame, size(panelColorFG_solid[1]), palette);
  drawing.registerEditorBuffer(gdi::EditorBuffer::CustomFrame, size(panelColorFG_solid[0]), custom);
  drawing.registerEditorBuffer(gdi::EditorBuffer::OtherColourFrame,
                               size(panelColorFG_solid[kOtherColourFrame]), other);
  drawing.registerEditorBuffer(gdi::EditorBuffer::PresetButtonFace, size(panelColorFG_grad[0]), presets);
  drawing.registerEditorBuffer(gdi::EditorBuffer::TextStyleSwatch, size(btnFG_rect), {&btnFG_rect});
  drawing.registerEditorBuffer(gdi::EditorBuffer::BackgroundStyleSwatch, size(btnBG_rect), {&btnBG_rect});

  for (Side& s : sides_) {
    std::array<gdi::DrawnElement, 4> previews;
    for (std::size_t k = 0; k < 4; ++k) previews[k] = {&s.previews[k], size(s.previews[k])};
    drawing.registerPreviewSet(
        s.id == ColourSide::Text ? gdi::PreviewSet::EditorText : gdi::PreviewSet::EditorBackground, previews,
        s.colour1, s.colour2);
  }
}

}  // namespace tessalune::ui
