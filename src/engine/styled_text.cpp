#include "engine/styled_text.h"

#include <algorithm>
#include <limits>

#include "engine/utf8.h"

namespace tessalune::engine {

void FormatIds::set(std::size_t i, std::uint32_t id) {
  if (!wide_ && id > std::numeric_limits<std::uint16_t>::max()) widen();
  if (wide_) {
    wideIds_[i] = id;
  } else {
    narrowIds_[i] = static_cast<std::uint16_t>(id);
  }
}

void FormatIds::pushBack(std::uint32_t id) {
  if (!wide_ && id > std::numeric_limits<std::uint16_t>::max()) widen();
  if (wide_) {
    wideIds_.push_back(id);
  } else {
    narrowIds_.push_back(static_cast<std::uint16_t>(id));
  }
}

void FormatIds::erase(std::size_t start, std::size_t count) {
  const auto cut = [&](auto& ids) {
    const auto first = ids.begin() + static_cast<std::ptrdiff_t>(start);
    ids.erase(first, first + static_cast<std::ptrdiff_t>(count));
  };
  if (wide_) {
    cut(wideIds_);
  } else {
    cut(narrowIds_);
  }
}

void FormatIds::insert(std::size_t at, const std::vector<std::uint32_t>& ids) {
  const bool fitsNarrow = std::all_of(ids.begin(), ids.end(), [](std::uint32_t id) {
    return id <= std::numeric_limits<std::uint16_t>::max();
  });
  if (!wide_ && !fitsNarrow) widen();
  if (wide_) {
    wideIds_.insert(wideIds_.begin() + static_cast<std::ptrdiff_t>(at), ids.begin(), ids.end());
  } else {
    narrowIds_.insert(narrowIds_.begin() + static_cast<std::ptrdiff_t>(at), ids.begin(), ids.end());
  }
}

void FormatIds::truncate(std::size_t size) {
  if (wide_) {
    wideIds_.resize(size);
  } else {
    narrowIds_.resize(size);
  }
}

void FormatIds::reserve(std::size_t size) {
  if (wide_) {
    wideIds_.reserve(size);
  } else {
    narrowIds_.reserve(size);
  }
}

void FormatIds::widen() {
  wideIds_.reserve(narrowIds_.capacity());
  wideIds_.assign(narrowIds_.begin(), narrowIds_.end());
  narrowIds_ = {};
  wide_ = true;
}

std::size_t StyledText::FormatHash::operator()(const CharFormat& f) const {
  const auto colour = [](const BoxColour& c) { return c ? std::uint64_t{*c} | (std::uint64_t{1} << 32) : 0; };
  const std::uint64_t flags =
      (f.bold ? 1u : 0u) | (f.italic ? 2u : 0u) | (f.underline ? 4u : 0u) | (f.strike ? 8u : 0u);
  const std::uint64_t mixed =
      colour(f.textColour) * 0x9E3779B97F4A7C15ull ^ (colour(f.background) << 4 | flags);
  return static_cast<std::size_t>(mixed ^ (mixed >> 29));
}

StyledText::StyledText(std::size_t count, const StyledChar& c) {
  for (std::size_t i = 0; i < count; ++i) push_back(c);
}

StyledText::StyledText(std::initializer_list<StyledChar> chars) {
  for (const StyledChar& c : chars) push_back(c);
}

std::vector<char32_t>& StyledText::ownChars() {
  if (!chars_) {
    chars_ = std::make_shared<std::vector<char32_t>>();
  } else if (chars_.use_count() > 1) {
    chars_ = std::make_shared<std::vector<char32_t>>(*chars_);
  }
  return *chars_;
}

StyledText::FormatTable& StyledText::ownTable() {
  if (!table_) {
    table_ = std::make_shared<FormatTable>();
  } else if (table_.use_count() > 1) {
    table_ = std::make_shared<FormatTable>(*table_);
  }
  return *table_;
}

std::uint32_t StyledText::idOf(const CharFormat& format, bool mayCleanUp) {
  if (table_) {
    // A shared table is copied only when a format is new to it.
    if (const std::optional<std::uint32_t> id = table_->find(format)) return *id;
    if (mayCleanUp && table_->size() >= nextCleanUp_) dropUnusedFormats();
  }
  return ownTable().add(format);
}

// Formats are only ever added, so a box recoloured again and again would keep every
// format it ever had: now and then the ones no character uses any more are let go.
void StyledText::dropUnusedFormats() {
  std::vector<bool> used(table_->size(), false);
  for (std::size_t i = 0; i < ids_.size(); ++i) used[ids_[i]] = true;
  auto kept = std::make_shared<FormatTable>();
  std::vector<std::uint32_t> renumbered(table_->size(), 0);
  for (std::size_t id = 0; id < table_->size(); ++id) {
    if (used[id]) renumbered[id] = kept->add((*table_)[id]);
  }
  for (std::size_t i = 0; i < ids_.size(); ++i) ids_.set(i, renumbered[ids_[i]]);
  table_ = std::move(kept);
  nextCleanUp_ = std::max(kFirstCleanUp, 2 * table_->size());
}

void StyledText::push_back(const StyledChar& c) {
  const std::uint32_t id = idOf(c.format);
  ownChars().push_back(c.ch);
  ids_.pushBack(id);
}

void StyledText::reserve(std::size_t size) {
  ownChars().reserve(size);
  ids_.reserve(size);
}

void StyledText::setFormat(std::size_t i, const CharFormat& format) {
  if (formatAt(i) == format) return;
  ids_.set(i, idOf(format));
}

void StyledText::replace(std::size_t start, std::size_t count, StyledText inserted) {
  if (start == 0 && count == size()) {
    *this = std::move(inserted);
    return;
  }
  // The inserted characters' numbers are held until all are taken, so the clean-up, which
  // renumbers and lets go of formats no stored character uses, runs before the first.
  if (table_ && table_->size() >= nextCleanUp_) dropUnusedFormats();
  std::vector<std::uint32_t> insertedIds;
  insertedIds.reserve(inserted.size());
  for (std::size_t k = 0; k < inserted.size(); ++k) insertedIds.push_back(idOf(inserted.formatAt(k), false));
  std::vector<char32_t>& chars = ownChars();
  const auto first = chars.begin() + static_cast<std::ptrdiff_t>(start);
  const auto at = chars.erase(first, first + static_cast<std::ptrdiff_t>(count));
  if (inserted.chars_) chars.insert(at, inserted.chars_->begin(), inserted.chars_->end());
  ids_.erase(start, count);
  ids_.insert(start, insertedIds);
}

void StyledText::truncate(std::size_t size) {
  if (size >= this->size()) return;
  ownChars().resize(size);
  ids_.truncate(size);
}

void StyledText::swap(StyledText& other) noexcept {
  std::swap(*this, other);
}

bool StyledText::operator==(const StyledText& other) const {
  if (size() != other.size()) return false;
  for (std::size_t i = 0; i < size(); ++i) {
    if ((*this)[i] != other[i]) return false;
  }
  return true;
}

void LineBreakNormaliser::add(char32_t c, const CharFormat& format) {
  const bool pairsWithCr = c == U'\n' && afterCr_;
  afterCr_ = c == U'\r';
  if (pairsWithCr) return;
  if (!isLineBreakChar(c)) {
    text_.push_back({c, format});
    return;
  }
  text_.push_back({U'\r', format});
  text_.push_back({U'\n', format});
}

void LineBreakNormaliser::addText(std::string_view utf8, const CharFormat& format) {
  text_.reserve(text_.size() + utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t c = 0;
    i += decodeUtf8At(utf8, i, c);
    add(c, format);
  }
}

}  // namespace tessalune::engine
