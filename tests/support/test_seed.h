#pragma once

#include <cstdio>
#include <cstdlib>

namespace tessalune::testing {

// The seed of a randomized test: fixed, so that every run checks the same cases, unless
// TESSALUNE_SEED gives another to explore with. The seed is printed, so a failure found
// with another one can be repeated.
inline unsigned testSeed(const char* test) {
  constexpr unsigned kFixedSeed = 20261207;
  const char* given = std::getenv("TESSALUNE_SEED");
  const unsigned seed = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : kFixedSeed;
  std::printf("%s: TESSALUNE_SEED=%u\n", test, seed);
  return seed;
}

}  // namespace tessalune::testing
