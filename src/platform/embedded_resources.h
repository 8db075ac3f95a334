#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace tessalune::platform {

// The files of resources/ compiled into the binary, by path relative to that folder
// ("messages/1033.txt", "Tessalune/english.lng"). The bytes are exactly the file's.
std::optional<std::string_view> embeddedResource(std::string_view path);

// The paths of the embedded files whose path starts with folder.
std::vector<std::string_view> embeddedResourcePaths(std::string_view folder);

}  // namespace tessalune::platform
