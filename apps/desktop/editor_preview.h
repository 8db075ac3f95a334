#pragma once

#include <vector>

#include "plus_preview.h"
#include "ui/editor_window.h"
#include "ui/subscription.h"

namespace tessalune::desktop {

// Under the editor's box: what OK would give for the current text and styles with every
// answer yes, the question OK would ask, or where its loop would stop to ask. Worked out on
// a copy of the box in a silent conversion: the editor, its boxes, the coded result and the
// plug-in are left as they are.
class EditorPreview : public PlusPreview {
 public:
  EditorPreview(ui::EditorWindow& editor, const HostTexts& texts, QWidget* parent = nullptr);

 private:
  std::vector<ui::Subscription> subscriptions_;
};

}  // namespace tessalune::desktop
