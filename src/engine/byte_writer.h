#pragma once

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace tessalune::engine {

// Writes a text through a pointer into a string grown ahead in large steps. The writers
// put a few bytes at a time, thousands of times per text; through std::string::append
// each piece would check the capacity and call memcpy.
class ByteWriter {
 public:
  explicit ByteWriter(std::size_t expected) {
    buffer_.resize(std::max<std::size_t>(expected, 64));
    next_ = buffer_.data();
    end_ = next_ + buffer_.size();
  }

  void put(char c) {
    room(1);
    *next_++ = c;
  }
  void put(std::string_view piece) {
    const std::size_t n = piece.size();
    room(n);
    // Short pieces as two fixed-size copies that overlap in the middle: each is one move,
    // where a copy of a size known only now would be a library call.
    const char* from = piece.data();
    if (n >= 8 && n <= 16) {
      std::memcpy(next_, from, 8);
      std::memcpy(next_ + n - 8, from + n - 8, 8);
    } else if (n >= 4 && n < 8) {
      std::memcpy(next_, from, 4);
      std::memcpy(next_ + n - 4, from + n - 4, 4);
    } else if (n < 4) {
      for (std::size_t i = 0; i < n; ++i) next_[i] = from[i];
    } else {
      std::memcpy(next_, from, n);
    }
    next_ += n;
  }

  std::size_t size() const { return static_cast<std::size_t>(next_ - buffer_.data()); }
  std::string_view written() const { return {buffer_.data(), size()}; }
  // Drops what was written from `from` on.
  // Replaces `length` bytes at `at`, within what was written, by `with`.
  void replace(std::size_t at, std::size_t length, std::string_view with) {
    room(with.size());
    char* const start = buffer_.data() + at;
    const std::size_t after = static_cast<std::size_t>(next_ - start) - length;
    std::memmove(start + with.size(), start + length, after);
    std::memcpy(start, with.data(), with.size());
    next_ = start + with.size() + after;
  }

  std::string take() && {
    buffer_.resize(size());
    return std::move(buffer_);
  }

 private:
  void room(std::size_t n) {
    if (static_cast<std::size_t>(end_ - next_) < n) grow(n);
  }
  [[gnu::noinline]] void grow(std::size_t n) {
    const std::size_t used = size();
    buffer_.resize(std::max(buffer_.size() * 2, used + n));
    next_ = buffer_.data() + used;
    end_ = buffer_.data() + buffer_.size();
  }

  std::string buffer_;
  char* next_;
  char* end_;
};

}  // namespace tessalune::engine
