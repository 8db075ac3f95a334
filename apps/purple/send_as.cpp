#include "send_as.h"

#include "plugin/target_conversion.h"
#include "targets/write_target.h"

namespace tessalune::purple {

namespace {

constexpr std::string_view kIrc = "prpl-irc";
constexpr std::string_view kXmpp = "prpl-jabber";

void escapeName(std::string& out, std::string_view name) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')) {
      out += c;
    } else {
      out += '_';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    }
  }
}

}  // namespace

SendAs defaultSendAs(std::string_view protocolId) {
  return protocolId == kIrc ? SendAs::NetworkFormatting : SendAs::PlusCodes;
}

std::string sendAsPreference(std::string_view branch, std::string_view protocolId,
                             std::string_view username) {
  std::string name(branch);
  name += '/';
  escapeName(name, protocolId);
  name += "__";
  escapeName(name, username);
  return name;
}

Outgoing inNetworkFormatting(std::string_view protocolId, const std::string& plus,
                             const errors::MessageTexts& messages, bool keepWhenThinned) {
  Outgoing out;
  if (protocolId != kIrc && protocolId != kXmpp) {
    out.text = plus;
    return out;
  }
  // XMPP's formatted text has no limit of its own: the fitting keeps the result's colours
  // within the gradient's reach, and the HTML is written from the fitted Plus! text.
  const targets::Target target = protocolId == kIrc ? targets::Target::Irc : targets::Target::Html;
  const plugin::TargetConversion converted =
      plugin::convertPlusTo(target, plus, messages, {engine::EditorMode::Text, false, keepWhenThinned, 0});
  out.question = converted.question;
  if (converted.plus.empty()) {
    out.message = converted.message;
    return out;
  }
  if (target == targets::Target::Irc) {
    out.text = converted.text;
  } else {
    out.text = targets::writeChatHtml(converted.plus);
    out.html = true;
  }
  return out;
}

}  // namespace tessalune::purple
