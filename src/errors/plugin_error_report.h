#pragma once

#include "errors/error_report.h"
#include "errors/lifecycle.h"
#include "errors/message_texts.h"
#include "platform/dialogs.h"

namespace tessalune::errors {

// The plug-in's one error report. Unknown failures offer a restart; a missing
// configuration file is announced, recreated from the default by the store and loaded
// again; a configuration that does not parse, or an XML component that cannot be created,
// stops the plug-in until it is loaded anew. The restart, reload and halt are requests the
// plug-in carries out once the reporting routine has returned.
class PluginErrorReport : public ErrorReport {
 public:
  PluginErrorReport(platform::Dialogs& dialogs, const MessageTexts& messages, Lifecycle& lifecycle)
      : dialogs_(dialogs), messages_(messages), lifecycle_(lifecycle) {}

  void reportError(ErrorKind kind, std::string_view source, std::int32_t number, std::string_view description,
                   std::int16_t line, std::string_view column) override;

  // Asks for the restart and says it is done (the windows close and the start-up runs
  // again when the plug-in gets control back); when the request is refused, says the
  // restart failed and halts.
  void restartPlugin();

 private:
  void haltAfter(std::string_view text);

  platform::Dialogs& dialogs_;
  const MessageTexts& messages_;
  Lifecycle& lifecycle_;
};

}  // namespace tessalune::errors
