#include "targets/nested_tags.h"

#include <algorithm>

namespace tessalune::targets {

namespace {

// The format's tags, in the order they are opened.
std::vector<Tag> tagsOf(const engine::CharFormat& format) {
  std::vector<Tag> tags;
  if (format.bold) tags.push_back({TagKind::Bold});
  if (format.italic) tags.push_back({TagKind::Italic});
  if (format.underline) tags.push_back({TagKind::Underline});
  if (format.strike) tags.push_back({TagKind::Strike});
  if (format.textColour) tags.push_back({TagKind::Colour, *format.textColour});
  return tags;
}

}  // namespace

std::string NestedTags::change(const engine::CharFormat& format) {
  const std::vector<Tag> wanted = tagsOf(format);
  const auto isWanted = [&](const Tag& tag) {
    return std::find(wanted.begin(), wanted.end(), tag) != wanted.end();
  };
  // The open tags that stay: the outermost ones, up to the first that must close.
  std::size_t keep = 0;
  while (keep < open_.size() && isWanted(open_[keep])) ++keep;
  std::string out;
  while (open_.size() > keep) {
    out += text_(open_.back(), true);
    open_.pop_back();
  }
  for (const Tag& tag : wanted) {
    if (std::find(open_.begin(), open_.end(), tag) != open_.end()) continue;
    out += text_(tag, false);
    open_.push_back(tag);
  }
  return out;
}

std::string NestedTags::closeAll() {
  std::string out;
  while (!open_.empty()) {
    out += text_(open_.back(), true);
    open_.pop_back();
  }
  return out;
}

}  // namespace tessalune::targets
