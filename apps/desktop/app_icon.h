#pragma once

#include <QIcon>

namespace tessalune::desktop {

// The program's icon, drawn at the sizes a desktop asks for: the "T" of Tessalune on the
// blue of the editor's gradient, which every window and dialog shows in its title bar.
QIcon applicationIcon();

}  // namespace tessalune::desktop
