// What the fuzz targets share: a plug-in folder of their own, a strict XML 1.0 reader to
// hold written files to, and a way to stop on a broken invariant with a reason.
#pragma once

#include <libxml/parser.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>

#include "errors/kept_report.h"
#include "platform/embedded_resources.h"

namespace tessalune::fuzz {

// Reports go nowhere: a target checks what was written, not what was said.
// Reports that go nowhere: kept for the one input, never looked at.
using SilentReport = errors::KeptReport;

// Stops the run: libFuzzer keeps the input that broke the invariant.
[[noreturn]] inline void broken(std::string_view invariant) {
  std::fprintf(stderr, "invariant broken: %.*s\n", static_cast<int>(invariant.size()), invariant.data());
  std::abort();
}

// A plug-in folder for this process, with the shipped data folder in it.
inline const std::filesystem::path& pluginFolder() {
  static const std::filesystem::path folder = [] {
    const auto path =
        std::filesystem::temp_directory_path() / ("tessalune-fuzz-" + std::to_string(::getpid()));
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path / "Tessalune");
    for (std::string_view file : platform::embeddedResourcePaths("Tessalune/")) {
      std::ofstream(path / file, std::ios::binary) << *platform::embeddedResource(file);
    }
    std::atexit([] { std::filesystem::remove_all(pluginFolder()); });
    return path;
  }();
  return folder;
}

inline std::filesystem::path configFile() {
  return pluginFolder() / "Tessalune" / "tessalune.xml";
}

inline std::optional<std::string> readWhole(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

inline void writeWhole(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Read by libxml2 itself, as other XML tools would read the file.
inline bool strictlyWellFormed(const std::string& text) {
  xmlParserCtxtPtr context = xmlNewParserCtxt();
  if (!context) return false;
  xmlDocPtr doc = xmlCtxtReadMemory(context, text.data(), static_cast<int>(text.size()), nullptr, "UTF-8",
                                    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  const bool wellFormed = doc && context->wellFormed;
  if (doc) xmlFreeDoc(doc);
  xmlFreeParserCtxt(context);
  return wellFormed;
}

}  // namespace tessalune::fuzz
