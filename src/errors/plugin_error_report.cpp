#include "errors/plugin_error_report.h"

#include <string>

#include "errors/failure.h"
#include "errors/message_ids.h"

#include "errors/titles.h"

namespace tessalune::errors {

using platform::Icon;

void PluginErrorReport::reportError(ErrorKind kind, std::string_view source, std::int32_t number,
                                    std::string_view description, std::int16_t line,
                                    std::string_view column) {
  if (kind == ErrorKind::Unknown) {
    const std::string text = messages_.message(msg::kUnknownErrorStart) + std::to_string(number) +
                             messages_.message(msg::kUnknownErrorEnd) + "\r\n\r\n" +
                             messages_.message(msg::kErrorWas) + std::to_string(line) + " @ " +
                             std::string(source) + " -> " + std::string(description);
    if (dialogs_.ask(text, Icon::Critical, messages_.message(msg::kUnknownErrorTitle))) restartPlugin();
  } else if (kind == ErrorKind::Config && number == kDocumentNotFound) {
    // The store writes the default configuration once this returns; it is loaded again
    // when control is back at the entry point.
    dialogs_.message(messages_.message(msg::kConfigMissing), Icon::Critical);
    lifecycle_.request(Lifecycle::Request::ReloadConfig);
  } else if (kind == ErrorKind::Config) {
    // The parser's reason is followed by its position on a line of its own.
    std::string reason(description);
    if (reason.empty() || reason.back() != '\n') reason += "\r\n";
    haltAfter("XML error: " + reason + "Line: " + std::to_string(line) + " : " + std::string(column) +
              "\r\n\r\n" + messages_.message(msg::kConfigUnloadable));
  } else if (kind == ErrorKind::Xml) {
    haltAfter(withLineBreaks(messages_.message(msg::kXmlComponentMissing)));
  }
}

void PluginErrorReport::haltAfter(std::string_view text) {
  dialogs_.message(text, Icon::Critical, kFatalTitle);
  lifecycle_.request(Lifecycle::Request::Halt);
}

void PluginErrorReport::restartPlugin() {
  try {
    if (lifecycle_.request(Lifecycle::Request::Restart)) {
      dialogs_.message(messages_.message(msg::kRestarted), Icon::Information);
      return;
    }
  } catch (...) {
    // A box that cannot be shown fails the restart as a refused request does.
  }
  dialogs_.message(messages_.message(msg::kNotRestarted), Icon::Critical, kFatalTitle);
  lifecycle_.request(Lifecycle::Request::HaltKeepingWindows);
}

}  // namespace tessalune::errors
