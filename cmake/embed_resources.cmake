# Writes OUT: a C++ source holding every file under ROOT (messages/, config/, Tessalune/)
# as a byte array, byte for byte, looked up by its path relative to ROOT.
# DIRS may name fewer of those folders (the web build takes only messages).
if(NOT DEFINED DIRS)
  set(DIRS messages config Tessalune)
endif()
set(globs "")
foreach(dir IN LISTS DIRS)
  list(APPEND globs ${ROOT}/${dir}/*)
endforeach()
file(GLOB_RECURSE files RELATIVE ${ROOT} ${globs})
list(SORT files)
set(arrays "")
set(entries "")
set(index 0)
foreach(path IN LISTS files)
  file(READ ${ROOT}/${path} hex HEX)
  string(LENGTH "${hex}" hexLength)
  math(EXPR size "${hexLength} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "constexpr unsigned char kData${index}[] = {${bytes}0x00};\n")
  string(APPEND entries "    {\"${path}\", kData${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUT}.tmp "// Generated from resources/ at build time; do not edit.
#include \"platform/embedded_resources.h\"

namespace tessalune::platform {

namespace {

${arrays}
struct Entry {
  std::string_view path;
  const unsigned char* data;
  std::size_t size;
};

constexpr Entry kEntries[] = {
${entries}};

std::string_view bytesOf(const Entry& e) { return {reinterpret_cast<const char*>(e.data), e.size}; }

}  // namespace

std::optional<std::string_view> embeddedResource(std::string_view path) {
  for (const Entry& e : kEntries) {
    if (e.path == path) return bytesOf(e);
  }
  return std::nullopt;
}

std::vector<std::string_view> embeddedResourcePaths(std::string_view folder) {
  std::vector<std::string_view> paths;
  for (const Entry& e : kEntries) {
    if (e.path.starts_with(folder)) paths.push_back(e.path);
  }
  return paths;
}

}  // namespace tessalune::platform
")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUT}.tmp)
