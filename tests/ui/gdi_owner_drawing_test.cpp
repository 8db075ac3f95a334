#include "ui/gdi/owner_drawing.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>
#include <tuple>

#include "platform/scripted_dialogs.h"
#include "ui/controls.h"
#include "ui/gdi/gradient_fill.h"
#include "ui/gdi/swatch_colour.h"

namespace tessalune::ui::gdi {
namespace {

constexpr SystemColours kColours{.buttonFace = 0x404040, .buttonShadow = 0x808080, .highlight3D = 0xFFFFFF};

// Pressing sinks the moving elements one pixel (15 twips) however often it comes; releasing
// puts them back at the rest recorded at start-up, wherever they went meanwhile.
TEST(GdiButtonLook, PressSinksOnePixelAndReleaseReturnsToTheRecordedRest) {
  OwnerDrawnButton button{"btnOK"};
  Control left{"l"}, top{"t"}, right{"r"}, bottom{"b"};
  button.label().move(90, 30);
  ButtonParts parts = buttonParts(button, {&left, &top, &right, &bottom}, {&button.label()});
  EXPECT_EQ(parts.entryCount(), 8U);
  buttonPressLook(parts);
  buttonPressLook(parts);
  EXPECT_EQ(button.label().left(), 105);
  EXPECT_EQ(button.label().top(), 45);
  EXPECT_TRUE(left.backColour() == kButtonShadow && top.backColour() == kButtonShadow);
  EXPECT_TRUE(right.backColour() == k3DHighlight && bottom.backColour() == k3DHighlight);
  EXPECT_TRUE(parts.pressed());

  button.label().move(500, 500);
  buttonReleaseLook(parts);
  buttonReleaseLook(parts);
  EXPECT_EQ(button.label().left(), 90);
  EXPECT_EQ(button.label().top(), 30);
  EXPECT_TRUE(left.backColour() == k3DHighlight && bottom.backColour() == kButtonShadow);
  EXPECT_EQ(parts.look, kRaisedEdges);

  // Three moving elements (14 entries) all move; edges drawn by the view: only the look is kept.
  Control face{"f"}, a{"a"}, b{"b"}, c{"c"}, d{"d"};
  c.move(30, 40);
  ButtonParts three = buttonParts(face, {}, {&a, &b, &c});
  EXPECT_EQ(three.entryCount(), 14U);
  buttonPressLook(three);
  EXPECT_EQ(three.look, kSunkenEdges);
  EXPECT_TRUE(c.left() == 45 && c.top() == 55 && a.left() == 15);
  buttonReleaseLook(three);
  EXPECT_TRUE(c.left() == 30 && c.top() == 40 && a.left() == 0);
  EXPECT_THROW(buttonParts(face, {}, {}), std::invalid_argument);
  EXPECT_THROW(buttonParts(face, {}, {&a, &b, &c, &d}), std::invalid_argument);
}

class OwnerDrawingTest : public ::testing::Test {
 protected:
  ButtonParts& add(int position, OwnerDrawnButton& button, TwipSize size) {
    return drawing.registerButton(position, button, size, {}, button.label());
  }

  OwnerDrawing drawing{kColours};
  OwnerDrawnButton aboutOK{"btnOK"}, editorOK{"btnOK"}, cancel{"btnCancel"}, bold{"btnBold"};
};

TEST_F(OwnerDrawingTest, RegistrationChecksPositionAndNames) {
  EXPECT_THROW(add(0, aboutOK, {}), std::out_of_range);
  EXPECT_THROW(add(41, aboutOK, {}), std::out_of_range);
  EXPECT_THROW(add(3, aboutOK, {}), std::invalid_argument);  // position 3 is btnCancel
  Control stray{"btnCancel_caption"};
  EXPECT_THROW(drawing.registerButton(3, cancel, {}, {}, stray), std::invalid_argument);
  ButtonParts& parts = add(3, cancel, {});
  EXPECT_EQ(drawing.button(3), &parts);
  EXPECT_EQ(drawing.buttonOf(cancel), &parts);
  EXPECT_EQ(drawing.button(4), nullptr);
}

// Faces of the same pixel size share one image, which resizing does not re-render; faces
// are vertical and banners horizontal gradients from the 3-D highlight; freeing the graphics
// releases faces and banners only.
TEST_F(OwnerDrawingTest, FacesAndBannersAreRenderedOnceAndFreedAtShutDown) {
  Control titleBar{"titleBar"}, fgPanel{"panelColorFG"}, bgPanel{"panelColorBG"};
  add(1, aboutOK, {1200, 375});
  add(2, editorOK, {1205, 370});  // 80.3 x 24.7 pixels: the same 80 x 25
  add(3, cancel, {1500, 375});
  add(4, bold, {1200, 375});
  drawing.registerBanner(Banner::About, titleBar, {4500, 600});
  drawing.registerEditorBuffer(EditorBuffer::PanelBackground, {3000, 3000}, {&fgPanel, &bgPanel});
  EXPECT_EQ(drawing.imageFor(aboutOK), nullptr);  // nothing before the buffers are ready

  drawing.render();
  const Image* face = drawing.imageFor(aboutOK);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->size(), (PixelSize{80, 25}));
  EXPECT_TRUE(drawing.imageFor(editorOK) == face && drawing.imageFor(bold) == face);
  EXPECT_EQ(drawing.imageFor(cancel)->size(), (PixelSize{100, 25}));
  EXPECT_EQ(face->pixel(40, 0), kColours.highlight3D);
  EXPECT_NE(face->pixel(40, 24), kColours.highlight3D);
  const Image* banner = drawing.imageFor(titleBar);
  ASSERT_NE(banner, nullptr);
  EXPECT_EQ(banner->pixel(0, 39), kColours.highlight3D);
  EXPECT_NE(banner->pixel(299, 0), kColours.highlight3D);
  EXPECT_EQ(drawing.imageFor(bgPanel), drawing.editorImage(EditorBuffer::PanelBackground));
  EXPECT_EQ(drawing.imageFor(editorOK.label()), nullptr);  // a caption has no buffer

  editorOK.resize(3000, 600);  // a resize after start-up does not reach the face
  EXPECT_EQ(drawing.imageFor(editorOK), face);
  int changes = 0;
  const Subscription view = drawing.subscribe([&] { ++changes; });
  drawing.setTwipsPerPixel(30);  // another screen: every buffer again, at its size there
  EXPECT_GT(changes, 0);
  EXPECT_EQ(drawing.imageFor(editorOK)->size(), (PixelSize{40, 12}));  // 12.33, and 12.5 to even
  EXPECT_EQ(drawing.imageFor(editorOK), drawing.imageFor(aboutOK));

  drawing.freeGraphics();
  EXPECT_FALSE(drawing.buffersReady());
  EXPECT_EQ(drawing.imageFor(fgPanel), nullptr);
  EXPECT_EQ(drawing.faceImage(1), nullptr);
  EXPECT_EQ(drawing.bannerImage(Banner::About), nullptr);
  EXPECT_NE(drawing.editorImage(EditorBuffer::PanelBackground), nullptr);
}

TEST_F(OwnerDrawingTest, StyleSwatchesStartEmptyAndShowOnlyAGradient) {
  Control fgRect{"btnFG_rect"};
  drawing.registerEditorBuffer(EditorBuffer::TextStyleSwatch, {600, 300}, {&fgRect});
  drawing.render();
  const Image* swatch = drawing.editorImage(EditorBuffer::TextStyleSwatch);
  ASSERT_NE(swatch, nullptr);
  EXPECT_EQ(*swatch, Image(40, 20));
  EXPECT_EQ(drawing.imageFor(fgRect), nullptr);
  using engine::GradientPreset;
  using engine::LastStyle;
  EXPECT_EQ(drawing.imageFor(fgRect, {.text = LastStyle::gradient(GradientPreset::Grad3)}), swatch);
  EXPECT_EQ(drawing.imageFor(fgRect, {.text = LastStyle::solid(),
                                      .background = LastStyle::gradient(GradientPreset::Grad1)}),
            nullptr);

  drawing.drawStyleSwatch(EditorBuffer::TextStyleSwatch, 0x0000FF, 0xFF0000, engine::GradientKind::Mirrored);
  EXPECT_EQ(swatch->pixel(0, 0), 0x0000FFU);
  EXPECT_EQ(swatch->pixel(20, 19), 0xFF0000U);
}

TEST_F(OwnerDrawingTest, PreviewsShowTheFourPresetsOfTheirSwatchesColours) {
  std::array<Control, 4> previews{Control{"rect_grad_nick(1)"}, Control{"rect_grad_nick(2)"},
                                  Control{"rect_grad_nick(3)"}, Control{"rect_grad_nick(4)"}};
  ColourSwatch first{"btn_grad1_nick_rect"}, second{"btn_grad2_nick_rect"};
  first.setBackColour(0x0000FF);
  second.setBackColour(kButtonShadow);  // a system colour is drawn as its role's colour
  std::array<DrawnElement, 4> elements;
  for (std::size_t i = 0; i < 4; ++i) elements[i] = {&previews[i], {1575, 150}};
  drawing.registerPreviewSet(PreviewSet::Nick, elements, first, second);
  drawing.render();

  // Preset 1 and 3 start with the first colour, 2 and 4 with the second; 3 and 4 are mirrored,
  // 105 pixels wide with the middle at 52.
  const auto at = [&](int preset, int x) { return drawing.imageFor(previews[preset - 1])->pixel(x, 9); };
  const std::uint32_t blue = 0x0000FF, shadow = kColours.buttonShadow;
  EXPECT_EQ((std::array{at(1, 0), at(2, 0), at(3, 0), at(3, 52), at(4, 0), at(4, 52)}),
            (std::array{blue, shadow, blue, shadow, shadow, blue}));

  drawing.renderPreviewSet(PreviewSet::Nick, 0x00FF00, 0x00FF00);
  EXPECT_EQ(at(2, 60), 0x00FF00U);
}

}  // namespace
}  // namespace tessalune::ui::gdi
