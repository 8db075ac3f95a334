#pragma once

#include <string>

#include "engine/editor_mode.h"
#include "engine/limits.h"
#include "engine/rich_text_box.h"
#include "errors/lifecycle.h"
#include "errors/message_texts.h"
#include "errors/routine_guard.h"
#include "platform/dialogs.h"

namespace tessalune::engine {

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
};

}  // namespace tessalune::engine
