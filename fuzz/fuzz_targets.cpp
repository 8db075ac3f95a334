// Writes arbitrary bytes, as Plus! text, in every target's codes: a writer must take whatever
// the Plus! text shows, and its fitted length must be measurable.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "targets/target_table.h"
#include "targets/write_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tessalune::targets;
  const std::string_view plus(reinterpret_cast<const char*>(data), size);
  for (const TargetInfo& target : kTargets) {
    const std::string written = writeTarget(target.target, plus);
    (void)measure(target.unit, written);
  }
  return 0;
}
