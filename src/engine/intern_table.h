#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tessalune::engine {

// Values in order of first addition, each once, numbered from 0 and found again through an
// open-addressing hash table: a gradient gives nearly every character a value of its own,
// and the tables are looked up once a character. Eight bytes of index a value, where a
// node-based map would take several times that.
template <typename T, typename Hash>
class InternTable {
 public:
  // The number of value, added at the end when it is new.
  std::uint32_t add(const T& value) {
    if ((values_.size() + 1) * 2 > slots_.size()) grow();
    std::size_t slot = home(value);
    while (slots_[slot] != 0) {
      if (values_[slots_[slot] - 1] == value) return slots_[slot] - 1;
      slot = (slot + 1) & (slots_.size() - 1);
    }
    values_.push_back(value);
    slots_[slot] = static_cast<std::uint32_t>(values_.size());
    return slots_[slot] - 1;
  }
  // The number of value, if it is in the table.
  std::optional<std::uint32_t> find(const T& value) const {
    if (slots_.empty()) return std::nullopt;
    for (std::size_t slot = home(value); slots_[slot] != 0; slot = (slot + 1) & (slots_.size() - 1)) {
      if (values_[slots_[slot] - 1] == value) return slots_[slot] - 1;
    }
    return std::nullopt;
  }
  const T& operator[](std::size_t number) const { return values_[number]; }
  std::size_t size() const { return values_.size(); }
  bool empty() const { return values_.empty(); }
  const std::vector<T>& values() const { return values_; }

 private:
  std::size_t home(const T& value) const { return Hash{}(value) & (slots_.size() - 1); }
  void grow() {
    slots_.assign(slots_.empty() ? 64 : slots_.size() * 2, 0);
    for (std::size_t i = 0; i < values_.size(); ++i) {
      std::size_t slot = home(values_[i]);
      while (slots_[slot] != 0) slot = (slot + 1) & (slots_.size() - 1);
      slots_[slot] = static_cast<std::uint32_t>(i + 1);
    }
  }

  std::vector<T> values_;
  std::vector<std::uint32_t> slots_;  // 0: empty, else a position in values_ plus one
};

}  // namespace tessalune::engine
