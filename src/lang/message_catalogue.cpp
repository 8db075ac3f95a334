#include "lang/message_catalogue.h"

#include <charconv>
#include <string_view>

#include "platform/embedded_resources.h"
#include "platform/ui_language.h"

namespace tessalune::lang {

namespace {

// A table is "NUMBER<TAB>TEXT" lines; lines starting with "#" are comments.
std::map<int, std::string> readTable(int languageId) {
  std::map<int, std::string> table;
  const auto data = platform::embeddedResource("messages/" + std::to_string(languageId) + ".txt");
  if (!data) return table;
  std::string_view rest = *data;
  while (!rest.empty()) {
    const std::size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t tab = line.find('\t');
    if (line.empty() || line.front() == '#' || tab == std::string_view::npos) continue;
    int id = 0;
    const auto [ptr, error] = std::from_chars(line.data(), line.data() + tab, id);
    if (error != std::errc{} || ptr != line.data() + tab) continue;
    table[id] = std::string(line.substr(tab + 1));
  }
  return table;
}

}  // namespace

MessageCatalogue::MessageCatalogue(int languageId)
    : languageId_(languageId),
      table_(readTable(languageId)),
      english_(readTable(platform::language::kEnglish)) {
  if (table_.empty()) languageId_ = platform::language::kEnglish;
}

std::string MessageCatalogue::text(int id) const {
  if (const auto found = table_.find(id); found != table_.end()) return found->second;
  if (const auto found = english_.find(id); found != english_.end()) return found->second;
  return {};
}

}  // namespace tessalune::lang
