#include "store/store_context.h"

#include <algorithm>
#include <exception>
#include <string>

#include "errors/failure.h"
#include "errors/titles.h"
#include "store/config_file.h"

namespace tessalune::store {

std::filesystem::path configFilePath(const std::filesystem::path& pluginDir) {
  return pluginDir / "Tessalune" / "tessalune.xml";
}

ConfigSession::ConfigSession(StoreContext& ctx) : ctx_(ctx) {
  ctx_.lock.acquire(ctx_.pluginDir);
  held_ = true;
}

void ConfigSession::release() {
  if (!held_) return;
  held_ = false;
  ctx_.lock.release();
}

bool ConfigSession::load(std::string_view source) {
  return load(configFilePath(ctx_.pluginDir), source);
}

bool ConfigSession::load(const std::filesystem::path& file, std::string_view source) {
  if (doc_.load(file, ctx_.files)) return true;
  reportLoadFailure(source);
  return false;
}

void ConfigSession::reportLoadFailure(std::string_view source) {
  release();
  const platform::XmlParseError& e = doc_.parseError();
  ctx_.failures.report.reportError(errors::ErrorKind::Config, source, e.code, e.reason,
                                   static_cast<std::int16_t>(std::min(e.line, 32767)),
                                   std::to_string(e.position));
  if (e.code != errors::kDocumentNotFound || !ctx_.defaultLanguage) return;
  try {
    writeDefaultConfiguration(ctx_, *ctx_.defaultLanguage);
  } catch (const std::exception& failure) {
    throw errors::DefaultConfigurationFailure(failure.what());
  }
}

}  // namespace tessalune::store
