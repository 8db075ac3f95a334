#pragma once

#include <string>
#include <string_view>

#include "engine/editor_mode.h"
#include "errors/message_texts.h"
#include "targets/target_table.h"

namespace tessalune::plugin {

// Plus! text written in a target's codes, fitted to the target's limit: the text is loaded
// into a box as the editor loads it and converted again, its colour changes thinned until
// the target's text fits, without showing anything (a SilentConversion). Every host that
// turns a Plus! result into another network's or program's codes goes through here.
struct TargetConversion {
  struct Options {
    engine::EditorMode mode = engine::EditorMode::Nickname;
    bool noEnd = false;
    bool keepWhenThinned = true;  // the answer to "keep the text with fewer colours?"
    int limit = 0;                // the user's limit in the target's unit; 0: the target's own
  };

  std::string plus;      // the fitted Plus! text; empty when refused or declined
  std::string text;      // the same in the target's codes
  std::string message;   // the refusal or notice the conversion would have shown
  std::string question;  // the question it asked when every change of a kind had to go
};

TargetConversion convertPlusTo(targets::Target target, std::string_view plus,
                               const errors::MessageTexts& messages,
                               const TargetConversion::Options& options);

}  // namespace tessalune::plugin
