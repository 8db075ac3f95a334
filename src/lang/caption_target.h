#pragma once

#include <string>

namespace tessalune::lang {

// Something a language line captions: a control, or a window (whose caption is its title).
class CaptionTarget {
 public:
  virtual void setCaption(std::string caption) = 0;

 protected:
  ~CaptionTarget() = default;
};

}  // namespace tessalune::lang
