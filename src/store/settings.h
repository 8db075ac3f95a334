#pragma once

#include "engine/colour.h"
#include "engine/editor_mode.h"
#include "engine/style_preset.h"

namespace tessalune::store {

// A preset as a fresh preferences window shows it before any load: solid black characters
// with the blue gradient colours, no background but light blue ones ready.
constexpr engine::StylePreset designPreset() {
  engine::StylePreset preset;
  preset.FGcolor = engine::makeColour(0x00, 0x00, 0x00);
  preset.FGgrad1 = engine::makeColour(0x00, 0x00, 0x80);
  preset.FGgrad2 = engine::makeColour(0x00, 0x80, 0xFF);
  preset.BGcolor = engine::makeColour(0xAE, 0xD7, 0xFF);
  preset.BGgrad1 = engine::makeColour(0x55, 0xAA, 0xFF);
  preset.BGgrad2 = engine::makeColour(0xD5, 0xEA, 0xFF);
  return preset;
}

// Every setting the configuration file holds but the QuickNicks, as values. A load puts
// what the file holds over them and leaves what it lacks; the preferences show them and
// change them one element at a time.
struct Settings {
  bool suffix = false;     // no end code after the text
  bool all = false;        // style the whole text
  bool update = false;     // check for updates at start-up
  int language = -1;       // position in lang::kLanguages; -1 while no load has named one
  bool replaceQN = false;  // the save command replaces an entry with the same shortcut
  engine::StylePreset nick = designPreset();
  engine::StylePreset text = designPreset();

  // The preset a command of that mode colours its argument with.
  const engine::StylePreset& preset(engine::EditorMode mode) const {
    return mode == engine::EditorMode::Nickname ? nick : text;
  }
  bool operator==(const Settings&) const = default;
};

}  // namespace tessalune::store
