// Saves the input as a QuickNick: its first line is the shortcut, the rest the markup. A
// save either leaves the file as it was or writes one that a strict XML 1.0 reader takes,
// with the entries that were there before still first and unchanged.
#include <cstdint>

#include "fuzz_store.h"
#include "store/quicknicks.h"
#include "support/quicknick_fields.h"

using namespace tessalune;

namespace {

constexpr std::string_view kBefore =
    "<config>\r\n\t<quicknicks><quicknick shortcut=\"a\">one</quicknick><quicknick shortcut=\"b\"><b/>two"
    "</quicknick></quicknicks>\r\n</config>\r\n";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t lineEnd = input.find('\n');
  const std::string_view shortcut = input.substr(0, lineEnd == std::string_view::npos ? 0 : lineEnd);
  const std::string_view markup = lineEnd == std::string_view::npos ? input : input.substr(lineEnd + 1);

  fuzz::StoreSetup setup;
  testing::QuickNickFields view;
  store::QuickNickState state;
  store::QuickNickContext ctx{setup.context, state, view};

  for (int routine = 0; routine < 3; ++routine) {
    fuzz::writeWhole(fuzz::configFile(), kBefore);
    if (routine == 0) store::writeQN(markup, ctx);
    if (routine == 1) store::saveQN(markup, shortcut, ctx);
    if (routine == 2) store::replaceQN(markup, shortcut, ctx);
    const std::string after = fuzz::readWhole(fuzz::configFile()).value_or("");
    if (after == kBefore) continue;
    if (!fuzz::strictlyWellFormed(after)) fuzz::broken("a saved QuickNick made the file ill-formed");
    platform::XmlDocument doc;
    if (!doc.loadXml(after)) fuzz::broken("the file written does not load again");
    const auto entries = doc.selectNodes("/config/quicknicks/quicknick");
    const int replaced = routine != 2 ? -1 : shortcut == "a" ? 0 : shortcut == "b" ? 1 : -1;
    const bool kept =
        entries.size() == (replaced >= 0 ? 2u : 3u) &&
        (replaced == 0 || (entries[0].innerXml() == "one" && entries[0].attribute("shortcut") == "a")) &&
        (replaced == 1 || (entries[1].innerXml() == "<b/>two" && entries[1].attribute("shortcut") == "b"));
    if (!kept) fuzz::broken("a save changed the entries that were there before");
  }
  return 0;
}
