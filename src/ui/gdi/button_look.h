#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "ui/control.h"
#include "ui/gdi/system_colours.h"

namespace tessalune::ui::gdi {

// How far a pressed button's moving elements sink: one pixel down and right.
inline constexpr int kPressOffset = 15;

// The colours of a button's four edge lines, as system colours.
struct EdgeColours {
  std::uint32_t left;
  std::uint32_t top;
  std::uint32_t right;
  std::uint32_t bottom;
  bool operator==(const EdgeColours&) const = default;
};
inline constexpr EdgeColours kRaisedEdges{k3DHighlight, k3DHighlight, kButtonShadow, kButtonShadow};
inline constexpr EdgeColours kSunkenEdges{kButtonShadow, kButtonShadow, k3DHighlight, k3DHighlight};

// The four one-pixel edge lines of a button, where the window has them as controls; a
// view that draws the edges itself leaves them null and reads ButtonParts::look.
struct ButtonEdges {
  Control* left = nullptr;
  Control* top = nullptr;
  Control* right = nullptr;
  Control* bottom = nullptr;
};

// What sinks when the button is pressed (its caption label, or the swatch inside a
// colour button) and where it rests, in twips.
struct MovingElement {
  Control* element;
  int restTop;
  int restLeft;
};

// The part list of an owner-drawn button: the face, the four edges and one to three
// moving elements with the rest positions they had when the list was made. As a flat list
// it has 8, 11 or 14 entries.
struct ButtonParts {
  Control* face = nullptr;
  ButtonEdges edges;
  std::vector<MovingElement> moving;
  EdgeColours look = kRaisedEdges;  // what the edges show now

  std::size_t entryCount() const { return 5 + 3 * moving.size(); }
  bool pressed() const { return look == kSunkenEdges; }
};

// A part list whose moving elements rest where they stand now. Throws std::invalid_argument
// unless there are one to three of them, none null.
ButtonParts buttonParts(Control& face, ButtonEdges edges, std::initializer_list<Control*> moving);

// The sunken look: left and top edges in button shadow, right and bottom in 3-D highlight,
// every moving element one pixel below and right of its rest.
void buttonPressLook(ButtonParts& parts);

// The raised look: the edges the other way round, every moving element exactly at its
// rest (never "current minus one pixel", so repeated presses cannot drift).
void buttonReleaseLook(ButtonParts& parts);

}  // namespace tessalune::ui::gdi
