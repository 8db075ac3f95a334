#include "store/store_context.h"

#include <system_error>

namespace tessalune::store {

std::filesystem::path configFilePath(const std::filesystem::path& pluginDir) {
  return pluginDir / "Tessalune" / "tessalune.xml";
}

bool loadConfigDocument(platform::XmlDocument& doc, const std::filesystem::path& file, StoreContext& ctx,
                        std::string_view source) {
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (!error && size > kMaxConfigBytes) {
    ctx.failures.report.reportError("cfg", source, platform::kXmlFileTooLarge,
                                    "The file is larger than any configuration (over 64 MB).\r\n", 0, "0");
    return false;
  }
  if (doc.load(file)) return true;
  const platform::XmlParseError& e = doc.parseError();
  ctx.failures.report.reportError("cfg", source, e.code, e.reason,
                                  static_cast<std::int16_t>(std::min(e.line, 32767)),
                                  std::to_string(e.position));
  return false;
}

}  // namespace tessalune::store
