#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "engine/editor_mode.h"
#include "engine/limits.h"
#include "engine/rich_text_box.h"
#include "errors/lifecycle.h"
#include "errors/message_texts.h"
#include "errors/routine_guard.h"
#include "platform/dialogs.h"

namespace tessalune::engine {

// The limit of the codes a result is written in when they are not Plus! codes, and how a
// result is measured in them: the length reduction thins colours until the measure of the
// Plus! text is within the limit.
struct LengthFit {
  enum class Unit { Characters, Utf8Bytes };
  Unit unit = Unit::Characters;
  std::size_t limit = 0;  // in the unit; 0: none but the gradient's reach
  // The length, in the unit, of the text the Plus! text is written as.
  std::function<std::size_t(std::string_view plus)> measure;
};

// What the conversion from rich text needs besides the box.
struct ConversionContext {
  EditorMode mode;
  bool noEnd;                            // the suffix option: no end marker after a nickname
  platform::Dialogs& dialogs;            // every message box and question
  const errors::MessageTexts& messages;  // the catalogue messages
  errors::FailureContext& failures;      // trapped failures are reported here
  errors::Lifecycle& lifecycle;          // a fatal conversion error asks for a halt
  RichTextBox& scratch;                  // the hidden box in which protective recolouring happens
  int reductionPasses = 0;               // set by each conversion: passes of its length reduction
  // The length reduction converts the whole document at every pass, as the reference the
  // faster one is held to; for tests and benchmarks.
  bool referenceReduction = false;
  // When set, receives the markup as first written, before any colour is thinned; for
  // benchmarks, which compare the reduction with one conversion of it.
  std::string* firstMarkup = nullptr;
  // When set, the result is fitted to this instead of the mode's limit in Plus! codes.
  const LengthFit* fit = nullptr;
};

}  // namespace tessalune::engine
