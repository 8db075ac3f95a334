// Imports the input as a configuration file. An import either leaves the configuration as
// it was or replaces it by a file that a strict XML 1.0 reader takes; a file that no strict
// reader takes is never imported.
#include <cstdint>

#include "fuzz_store.h"
#include "store/config_file.h"
#include "store/import_export.h"

using namespace tessalune;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::filesystem::path chosen = fuzz::pluginFolder() / "import.xml";
  fuzz::writeWhole(chosen, input);
  static const std::string before = store::defaultConfiguration(1033) + "\r\n";
  fuzz::writeWhole(fuzz::configFile(), before);

  fuzz::StoreSetup setup;
  store::importConfig(chosen, setup.context);

  const std::string after = fuzz::readWhole(fuzz::configFile()).value_or("");
  if (after == before) return 0;
  if (!fuzz::strictlyWellFormed(input)) fuzz::broken("a file no strict reader takes was imported");
  if (!fuzz::strictlyWellFormed(after)) fuzz::broken("an import wrote an ill-formed configuration");
  return 0;
}
