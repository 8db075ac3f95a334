#include "ui/gdi/button_look.h"

#include <stdexcept>

namespace tessalune::ui::gdi {
namespace {

void showEdges(ButtonParts& parts, const EdgeColours& look) {
  parts.look = look;
  parts.face->setSunken(look == kSunkenEdges);
  const ButtonEdges& e = parts.edges;
  if (e.left) e.left->setBackColour(look.left);
  if (e.top) e.top->setBackColour(look.top);
  if (e.right) e.right->setBackColour(look.right);
  if (e.bottom) e.bottom->setBackColour(look.bottom);
}

void placeMoving(const ButtonParts& parts, int offset) {
  for (const MovingElement& m : parts.moving) m.element->move(m.restLeft + offset, m.restTop + offset);
}

}  // namespace

ButtonParts buttonParts(Control& face, ButtonEdges edges, std::initializer_list<Control*> moving) {
  if (moving.size() < 1 || moving.size() > 3) {
    throw std::invalid_argument("a button of " + face.name() + " needs one to three moving elements");
  }
  ButtonParts parts{&face, edges, {}, kRaisedEdges};
  for (Control* element : moving) {
    if (!element) throw std::invalid_argument("a null moving element on " + face.name());
    parts.moving.push_back({element, element->top(), element->left()});
  }
  return parts;
}

void buttonPressLook(ButtonParts& parts) {
  showEdges(parts, kSunkenEdges);
  placeMoving(parts, kPressOffset);
}

void buttonReleaseLook(ButtonParts& parts) {
  showEdges(parts, kRaisedEdges);
  placeMoving(parts, 0);
}

}  // namespace tessalune::ui::gdi
