#pragma once

// A folder of the test's own under the temporary directory, made with mkdtemp so that no two
// runs share it, and removed with what it holds when the test ends.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace tessalune::testing {

class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix = "tessalune-test") {
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (!::mkdtemp(pattern.data()))
      throw std::runtime_error("cannot make a temporary folder from " + pattern);
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace tessalune::testing
