#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "engine/gradient.h"
#include "engine/style_preset.h"
#include "ui/control.h"
#include "ui/gdi/button_look.h"
#include "ui/gdi/image.h"
#include "ui/gdi/system_colours.h"
#include "ui/subscription.h"

namespace tessalune::ui::gdi {

// One entry of the button registry: the window, the button (its face) and the element that
// sinks when it is pressed.
struct ButtonSlot {
  std::string_view window;
  std::string_view button;
  std::string_view movingElement;
};

inline constexpr int kButtonCount = 40;

// The button registry in its fixed order; position p (1 to 40) is entry p - 1. A button's
// position selects its face buffer.
inline constexpr std::array<ButtonSlot, kButtonCount> kButtonRegistry{{
    {"frmAbout", "btnOK", "btnOK_label"},
    {"frmPrincipal", "btnOK", "btnOK_label"},
    {"frmPrincipal", "btnCancel", "btnCancel_label"},
    {"frmPrincipal", "btnBold", "btnBold_label"},
    {"frmPrincipal", "btnItalic", "btnItalic_label"},
    {"frmPrincipal", "btnUline", "btnUline_label"},
    {"frmPrincipal", "btnSO", "btnSO_label"},
    {"frmPrincipal", "btnCode", "btnCode_label"},
    {"frmPrincipal", "panelColorFG_grad1", "panelColorFG_grad1_rect"},
    {"frmPrincipal", "panelColorFG_grad2", "panelColorFG_grad2_rect"},
    {"frmPrincipal", "panelColorBG_grad1", "panelColorBG_grad1_rect"},
    {"frmPrincipal", "panelColorBG_grad2", "panelColorBG_grad2_rect"},
    {"frmPrefs", "btnClose", "btnClose_label"},
    {"frmPrefs", "btnUpd", "btnUpd_label"},
    {"frmQuickNick", "btnClose", "btnClose_label"},
    {"frmQuickNick", "btnAdd", "btnAdd_label"},
    {"frmQuickNick", "btnUse", "btnUse_label"},
    {"frmQuickNick", "btnSuppr", "btnSuppr_label"},
    {"frmQuickNick", "btnPrev", "btnPrev_label"},
    {"frmQuickNick", "btnNext", "btnNext_label"},
    {"frmUpd", "btnClose", "btnClose_label"},
    {"frmUpd", "btnCheck", "btnCheck_label"},
    {"frmUpd", "btnNews", "btnNews_label"},
    {"frmUpd", "btnDwld", "btnDwld_label"},
    {"frmPrefs", "btnSolid_nick", "btnSolid_nick_rect"},
    {"frmPrefs", "btn_grad1_nick", "btn_grad1_nick_rect"},
    {"frmPrefs", "btn_grad2_nick", "btn_grad2_nick_rect"},
    {"frmPrefs", "btnSolid_nickBG", "btnSolid_nickBG_rect"},
    {"frmPrefs", "btn_grad1_nickBG", "btn_grad1_nickBG_rect"},
    {"frmPrefs", "btn_grad2_nickBG", "btn_grad2_nickBG_rect"},
    {"frmPrincipal", "btnPrefs", "btnPrefs_label"},
    {"frmPrefs", "btnSolid_text", "btnSolid_text_rect"},
    {"frmPrefs", "btn_grad1_text", "btn_grad1_text_rect"},
    {"frmPrefs", "btn_grad2_text", "btn_grad2_text_rect"},
    {"frmPrefs", "btnSolid_textBG", "btnSolid_textBG_rect"},
    {"frmPrefs", "btn_grad1_textBG", "btn_grad1_textBG_rect"},
    {"frmPrefs", "btn_grad2_textBG", "btn_grad2_textBG_rect"},
    {"frmHelp", "btnClose", "btnClose_label"},
    {"frmPrefs", "btnImport", "btnImport_label"},
    {"frmPrefs", "btnExport", "btnExport_label"},
}};

// The registry position (1 to 40) of a window's button, 0 when it has none.
constexpr int buttonPosition(std::string_view window, std::string_view button) {
  for (int i = 0; i < kButtonCount; ++i) {
    const ButtonSlot& slot = kButtonRegistry[static_cast<std::size_t>(i)];
    if (slot.window == window && slot.button == button) return i + 1;
  }
  return 0;
}

// The windows with a banner (titleBar), in the banner registry's order.
enum class Banner { Editor, About, Update, QuickNick, Preferences };
inline constexpr int kBannerCount = 5;

// The editor's single buffers. The first five hold the vertical face gradient; the two
// style swatches (btnFG_rect, btnBG_rect) start empty and take the chosen preset.
enum class EditorBuffer {
  PanelBackground,   // size of panelColorFG; shown by panelColorFG and panelColorBG
  SmallFrame,        // size of panelColorFG_solid frame 1; shown by the palette frames 1 to 16
  CustomFrame,       // frame 0 of both panels
  OtherColourFrame,  // frame 99 of both panels
  PresetButtonFace,  // panelColorFG_grad button 1; shown by the four preset buttons of both panels
  TextStyleSwatch,
  BackgroundStyleSwatch,
};
inline constexpr int kEditorBufferCount = 7;

// The gradient panels whose four previews show presets 1 to 4 of the panel's two colours.
enum class PreviewSet { EditorText, EditorBackground, Nick, NickBackground, Text, TextBackground };
inline constexpr int kPreviewSetCount = 6;
inline constexpr std::array<std::string_view, kPreviewSetCount> kPreviewSetNames{
    "panelColorFG_grad_rect", "panelColorBG_grad_rect", "rect_grad_nick",
    "rect_grad_nickBG",       "rect_grad_text",         "rect_grad_textBG"};

// A control painted from a buffer of its own, with its size when the buffer is made.
struct DrawnElement {
  const Control* control = nullptr;
  TwipSize size;
};

// The editor's last text and background styles: a style swatch shows its buffer only for
// a gradient.
struct LastStyles {
  engine::LastStyle text{};
  engine::LastStyle background{};
};

// The owner-drawn controls of all windows: the button and banner registries, every paint
// buffer and the buffers-ready flag. The plug-in owns one; the windows register their
// controls into it at start-up, render() fills the buffers once, and the views ask
// imageFor() what to copy onto a control when it repaints.
//
// Registering an entry again replaces its controls (windows loaded anew register their new
// ones) and redraws nothing: the buffers keep the sizes they were rendered at.
class OwnerDrawing {
 public:
  explicit OwnerDrawing(SystemColours colours = {}) : colours_(colours) {}

  // A button at its registry position (1 to 40), with its face size and one moving element
  // whose rest position is read now. Throws std::out_of_range for another position and
  // std::invalid_argument when the face or the element is not the one the registry names.
  ButtonParts& registerButton(int position, Control& face, TwipSize faceSize, ButtonEdges edges,
                              Control& moving);
  ButtonParts& registerButton(int position, ButtonParts parts, TwipSize faceSize);
  void registerBanner(Banner banner, const Control& titleBar, TwipSize size);
  // The size the buffer is made at, and every control that shows it.
  void registerEditorBuffer(EditorBuffer buffer, TwipSize size, std::vector<const Control*> shownBy);
  // The four previews of a panel (preset 1 first) and the two swatches holding its colours.
  void registerPreviewSet(PreviewSet set, const std::array<DrawnElement, 4>& previews, const Control& colour1,
                          const Control& colour2);

  // The part list of a registered button, by position or by face; null when there is none.
  ButtonParts* button(int position);
  ButtonParts* buttonOf(const Control& face);

  // Creates and fills every buffer of what is registered, in this order: the preview sets
  // from their swatches' colours, the editor's single buffers, the banners, the button faces
  // (a face the size of an earlier one shares its image); then sets the buffers-ready flag.
  void render();
  // Redraws a panel's previews from its swatches' current colours, or from the two given
  // (colour numbers or system colours). Preset 1: colour1 to colour2, linear; 2: colour2 to
  // colour1, linear; 3 and 4 the same pairs mirrored; all horizontal.
  void renderPreviewSet(PreviewSet set);
  void renderPreviewSet(PreviewSet set, std::uint32_t colour1, std::uint32_t colour2);
  // Draws a preset into a style swatch's buffer: a horizontal gradient over its full size.
  // Other buffers, and buffers not yet created, are left alone.
  void drawStyleSwatch(EditorBuffer swatch, std::uint32_t colour1, std::uint32_t colour2,
                       engine::GradientKind kind);
  // Releases the banner and face buffers and clears the buffers-ready flag; the previews
  // and the editor's single buffers stay.
  void freeGraphics();

  // The screen's twips per pixel, which sizes every buffer; a new factor renders every
  // buffer again when they are ready. A factor below 1 is taken as 1.
  int twipsPerPixel() const { return twipsPerPixel_; }
  void setTwipsPerPixel(int twipsPerPixel);

  // Shows a registered button's sunken or raised look; does nothing for another control.
  void showPressed(const Control& face, bool pressed);

  // Views repaint when told: after a render, a preview set or style swatch drawn again,
  // and the buffers' release.
  Subscription subscribe(std::function<void()> observer) { return changed_.add(std::move(observer)); }

  bool buffersReady() const { return buffersReady_; }
  const SystemColours& systemColours() const { return colours_; }

  // The buffers as they stand, ready or not; null for one not created.
  const Image* faceImage(int position) const;
  const Image* bannerImage(Banner banner) const;
  const Image* editorImage(EditorBuffer buffer) const;
  const Image* previewImage(PreviewSet set, engine::GradientPreset preset) const;

  // What a repainting control shows: its face, banner, single or preview buffer. Null
  // before the buffers are ready, for a control drawn from none, and for a style swatch
  // whose last style is not a gradient (it shows its own back colour).
  const Image* imageFor(const Control& element, const LastStyles& styles = {}) const;

 private:
  struct ButtonEntry {
    std::optional<ButtonParts> parts;
    TwipSize faceSize;
    std::shared_ptr<const Image> face;  // shared with every face of the same pixel size
  };
  struct EditorEntry {
    TwipSize size;
    std::vector<const Control*> shownBy;
    std::optional<Image> image;
  };
  struct PreviewEntry {
    std::array<DrawnElement, 4> previews{};
    const Control* colour1 = nullptr;
    const Control* colour2 = nullptr;
    std::array<std::optional<Image>, 4> images;
  };
  struct BannerEntry {
    DrawnElement element;
    std::optional<Image> image;
  };

  Image verticalFace(TwipSize size) const;
  void renderFaces();

  SystemColours colours_;
  std::array<ButtonEntry, kButtonCount> buttons_;
  std::array<BannerEntry, kBannerCount> banners_;
  std::array<EditorEntry, kEditorBufferCount> editor_;
  std::array<PreviewEntry, kPreviewSetCount> previews_;
  bool buffersReady_ = false;
  int twipsPerPixel_ = kTwipsPerPixel;
  Observers<> changed_;
};

}  // namespace tessalune::ui::gdi
