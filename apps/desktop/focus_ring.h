#pragma once

namespace tessalune::desktop {

// Draws a ring around whatever has the keyboard focus in any of the application's windows,
// whatever the style draws of its own: two pixels just outside the widget, in the
// palette's highlight made dark or light enough to stand at 3:1 at least against what lies
// around it. Installed once; later calls do nothing.
void installFocusRings();

}  // namespace tessalune::desktop
