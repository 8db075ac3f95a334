#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "engine/limits.h"

namespace tessalune::targets {

// The codes a coloured text is written in: Messenger Plus! codes, and the codes other chat
// networks, forums, game servers and terminals read.
enum class Target { Plus, Irc, IrcHex, Html, Bbcode, Ansi, Minecraft, MiniMessage };

// What a target's limit counts: characters, or the UTF-8 bytes a line protocol carries.
enum class Unit { Characters, Utf8Bytes };

struct TargetInfo {
  Target target;
  std::string_view name;  // as the command line, the module, share links and saved styles name it
  Unit unit;
  int nicknameLimit;  // the longest result, in the unit; 0: no limit of the target's own
  int messageLimit;
  bool backgrounds;          // whether the target's codes can carry a background colour
  std::string_view summary;  // one line for lists of targets
};

// Every target, the default first. A line protocol's room (IRC's PRIVMSG line on common
// networks) and a game chat's line are the limits; pages and terminals have none.
inline constexpr TargetInfo kTargets[] = {
    {Target::Plus, "plus", Unit::Characters, engine::kNicknameLimit, engine::kTextLimit, true,
     "Messenger Plus! codes"},
    {Target::Irc, "irc", Unit::Utf8Bytes, 400, 400, true, "IRC colour codes, nearest of the 99 colours"},
    {Target::IrcHex, "irc-hex", Unit::Utf8Bytes, 400, 400, true, "IRC hexadecimal colour codes"},
    {Target::Html, "html", Unit::Characters, 0, 0, true, "HTML spans with CSS styles"},
    {Target::Bbcode, "bbcode", Unit::Characters, 0, 0, false, "forum BBCode"},
    {Target::Ansi, "ansi", Unit::Characters, 0, 0, true, "24-bit ANSI terminal codes"},
    {Target::Minecraft, "minecraft", Unit::Characters, 256, 256, false, "&#RRGGBB game server codes"},
    {Target::MiniMessage, "minimessage", Unit::Characters, 256, 256, false, "MiniMessage tags"},
};

const TargetInfo& targetInfo(Target target);

// The target of that name; nothing for a name no target has.
std::optional<Target> targetNamed(std::string_view name);

// The target's limit for a nickname or a message; 0 for none. A limit given by the user
// (a positive one) replaces it.
int targetLimit(Target target, engine::EditorMode mode, int userLimit = 0);

// The length of a target's text in its unit.
std::size_t measure(Unit unit, std::string_view text);

}  // namespace tessalune::targets
