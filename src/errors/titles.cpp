#include "errors/titles.h"

namespace tessalune::errors {

namespace {

std::string replaced(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  std::size_t done = 0;
  for (std::size_t found = text.find(from); found != std::string_view::npos; found = text.find(from, done)) {
    out.append(text.substr(done, found - done));
    out.append(to);
    done = found + from.size();
  }
  out.append(text.substr(done));
  return out;
}

}  // namespace

std::string withLineBreaks(std::string_view catalogueText) {
  return replaced(catalogueText, "\\n", "\r\n");
}

std::string withValue(std::string_view text, std::string_view value) {
  return replaced(text, "%1", value);
}

}  // namespace tessalune::errors
