#include "ui/gdi/owner_drawing.h"

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

#include "ui/gdi/gradient_fill.h"

namespace tessalune::ui::gdi {
namespace {

std::size_t index(auto e) {
  return static_cast<std::size_t>(e);
}

std::size_t slotOf(int position) {
  if (position < 1 || position > kButtonCount) {
    throw std::out_of_range("no button at registry position " + std::to_string(position));
  }
  return static_cast<std::size_t>(position - 1);
}

}  // namespace

ButtonParts& OwnerDrawing::registerButton(int position, Control& face, TwipSize faceSize, ButtonEdges edges,
                                          Control& moving) {
  return registerButton(position, buttonParts(face, edges, {&moving}), faceSize);
}

ButtonParts& OwnerDrawing::registerButton(int position, ButtonParts parts, TwipSize faceSize) {
  const std::size_t slot = slotOf(position);
  const ButtonSlot& expected = kButtonRegistry[slot];
  if (!parts.face || parts.face->name() != expected.button || parts.moving.empty() ||
      parts.moving.front().element->name() != expected.movingElement) {
    throw std::invalid_argument("registry position " + std::to_string(position) + " is " +
                                std::string(expected.window) + "." + std::string(expected.button) +
                                " moving " + std::string(expected.movingElement));
  }
  ButtonEntry& entry = buttons_[slot];
  entry.parts = std::move(parts);
  entry.faceSize = faceSize;
  return *entry.parts;
}

void OwnerDrawing::registerBanner(Banner banner, const Control& titleBar, TwipSize size) {
  banners_[index(banner)].element = {&titleBar, size};
}

void OwnerDrawing::registerEditorBuffer(EditorBuffer buffer, TwipSize size,
                                        std::vector<const Control*> shownBy) {
  EditorEntry& entry = editor_[index(buffer)];
  entry.size = size;
  entry.shownBy = std::move(shownBy);
}

void OwnerDrawing::registerPreviewSet(PreviewSet set, const std::array<DrawnElement, 4>& previews,
                                      const Control& colour1, const Control& colour2) {
  PreviewEntry& entry = previews_[index(set)];
  entry.previews = previews;
  entry.colour1 = &colour1;
  entry.colour2 = &colour2;
}

ButtonParts* OwnerDrawing::button(int position) {
  ButtonEntry& entry = buttons_[slotOf(position)];
  return entry.parts ? &*entry.parts : nullptr;
}

ButtonParts* OwnerDrawing::buttonOf(const Control& face) {
  for (ButtonEntry& entry : buttons_) {
    if (entry.parts && entry.parts->face == &face) return &*entry.parts;
  }
  return nullptr;
}

Image OwnerDrawing::verticalFace(TwipSize size) const {
  Image image(pixelSize(size, twipsPerPixel_));
  fillGradientRect(colours_.translate(k3DHighlight), colours_.translate(kButtonFace), image, image.width(),
                   image.height(), engine::GradientKind::Linear, FillDirection::Vertical);
  return image;
}

void OwnerDrawing::render() {
  // The previews, from the colours their swatches hold now.
  for (int set = 0; set < kPreviewSetCount; ++set) renderPreviewSet(static_cast<PreviewSet>(set));

  // The editor's panel, frames and preset face; the style swatches stay empty until a
  // preset is applied.
  for (int b = 0; b < kEditorBufferCount; ++b) {
    EditorEntry& entry = editor_[static_cast<std::size_t>(b)];
    if (entry.shownBy.empty()) continue;
    const auto buffer = static_cast<EditorBuffer>(b);
    if (buffer == EditorBuffer::TextStyleSwatch || buffer == EditorBuffer::BackgroundStyleSwatch) {
      entry.image.emplace(pixelSize(entry.size, twipsPerPixel_));
    } else {
      entry.image = verticalFace(entry.size);
    }
  }

  // The banners, from highlight at the left to face at the right.
  for (BannerEntry& banner : banners_) {
    if (!banner.element.control) continue;
    Image& image = banner.image.emplace(pixelSize(banner.element.size, twipsPerPixel_));
    fillGradientRect(colours_.translate(k3DHighlight), colours_.translate(kButtonFace), image, image.width(),
                     image.height(), engine::GradientKind::Linear, FillDirection::Horizontal);
  }

  renderFaces();
  buffersReady_ = true;
  changed_.notify();
}

void OwnerDrawing::setTwipsPerPixel(int twipsPerPixel) {
  twipsPerPixel = std::max(twipsPerPixel, 1);
  if (twipsPerPixel == twipsPerPixel_) return;
  twipsPerPixel_ = twipsPerPixel;
  if (buffersReady_) render();
}

void OwnerDrawing::showPressed(const Control& face, bool pressed) {
  ButtonParts* parts = buttonOf(face);
  if (!parts) return;
  if (pressed) {
    buttonPressLook(*parts);
  } else {
    buttonReleaseLook(*parts);
  }
}

// In registry order, each face reuses the image of the first earlier face of the same
// pixel size, or gets one of its own.
void OwnerDrawing::renderFaces() {
  for (ButtonEntry& entry : buttons_) entry.face.reset();
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    ButtonEntry& entry = buttons_[i];
    if (!entry.parts) continue;
    const PixelSize size = pixelSize(entry.faceSize, twipsPerPixel_);
    for (std::size_t earlier = 0; earlier < i && !entry.face; ++earlier) {
      if (buttons_[earlier].face && buttons_[earlier].face->size() == size)
        entry.face = buttons_[earlier].face;
    }
    if (!entry.face) entry.face = std::make_shared<const Image>(verticalFace(entry.faceSize));
  }
}

void OwnerDrawing::renderPreviewSet(PreviewSet set) {
  const PreviewEntry& entry = previews_[index(set)];
  if (!entry.colour1 || !entry.colour2) return;
  renderPreviewSet(set, entry.colour1->backColour(), entry.colour2->backColour());
}

void OwnerDrawing::renderPreviewSet(PreviewSet set, std::uint32_t colour1, std::uint32_t colour2) {
  PreviewEntry& entry = previews_[index(set)];
  const ColourNumber first = colours_.translate(colour1);
  const ColourNumber second = colours_.translate(colour2);
  for (std::size_t i = 0; i < 4; ++i) {
    if (!entry.previews[i].control) continue;
    const engine::TwoColourGradient preset =
        engine::presetGradient(engine::kGradientPresets[i], first, second);
    Image& image = entry.images[i].emplace(pixelSize(entry.previews[i].size, twipsPerPixel_));
    fillGradientRect(preset.first, preset.second, image, image.width(), image.height(), preset.kind,
                     FillDirection::Horizontal);
  }
  changed_.notify();
}

void OwnerDrawing::drawStyleSwatch(EditorBuffer swatch, std::uint32_t colour1, std::uint32_t colour2,
                                   engine::GradientKind kind) {
  if (swatch != EditorBuffer::TextStyleSwatch && swatch != EditorBuffer::BackgroundStyleSwatch) return;
  std::optional<Image>& image = editor_[index(swatch)].image;
  if (!image) return;
  fillGradientRect(colours_.translate(colour1), colours_.translate(colour2), *image, image->width(),
                   image->height(), kind, FillDirection::Horizontal);
  changed_.notify();
}

void OwnerDrawing::freeGraphics() {
  for (BannerEntry& banner : banners_) banner.image.reset();
  for (ButtonEntry& entry : buttons_) entry.face.reset();
  buffersReady_ = false;
  changed_.notify();
}

const Image* OwnerDrawing::faceImage(int position) const {
  return buttons_[slotOf(position)].face.get();
}

const Image* OwnerDrawing::bannerImage(Banner banner) const {
  const std::optional<Image>& image = banners_[index(banner)].image;
  return image ? &*image : nullptr;
}

const Image* OwnerDrawing::editorImage(EditorBuffer buffer) const {
  const std::optional<Image>& image = editor_[index(buffer)].image;
  return image ? &*image : nullptr;
}

const Image* OwnerDrawing::previewImage(PreviewSet set, engine::GradientPreset preset) const {
  if (!engine::isGradientPreset(preset)) return nullptr;
  const std::optional<Image>& image =
      previews_[index(set)].images[static_cast<std::size_t>(engine::presetNumber(preset) - 1)];
  return image ? &*image : nullptr;
}

const Image* OwnerDrawing::imageFor(const Control& element, const LastStyles& styles) const {
  if (!buffersReady_) return nullptr;
  for (const ButtonEntry& entry : buttons_) {
    if (entry.parts && entry.parts->face == &element) return entry.face.get();
  }
  for (const BannerEntry& banner : banners_) {
    if (banner.element.control == &element) return banner.image ? &*banner.image : nullptr;
  }
  for (int b = 0; b < kEditorBufferCount; ++b) {
    const EditorEntry& entry = editor_[static_cast<std::size_t>(b)];
    if (std::find(entry.shownBy.begin(), entry.shownBy.end(), &element) == entry.shownBy.end()) continue;
    const auto buffer = static_cast<EditorBuffer>(b);
    if ((buffer == EditorBuffer::TextStyleSwatch && !styles.text.preset()) ||
        (buffer == EditorBuffer::BackgroundStyleSwatch && !styles.background.preset())) {
      return nullptr;
    }
    return entry.image ? &*entry.image : nullptr;
  }
  for (const PreviewEntry& set : previews_) {
    for (std::size_t i = 0; i < 4; ++i) {
      if (set.previews[i].control == &element) return set.images[i] ? &*set.images[i] : nullptr;
    }
  }
  return nullptr;
}

}  // namespace tessalune::ui::gdi
