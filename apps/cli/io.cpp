#include "io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <iterator>
#include <streambuf>

#include "engine/colour.h"
#include "exit_status.h"

namespace tessalune::cli {

// Read in large blocks straight from the descriptor: a character at a time through the
// synchronised stream costs more than any conversion does.
std::string readStandardInput() {
  std::string text;
  // A file's size is known: room for it at once, instead of growing and copying.
  struct stat status {};
  if (::fstat(0, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
    text.reserve(static_cast<std::size_t>(status.st_size));
  }
  std::array<char, 1 << 16> block{};
  for (;;) {
    const ssize_t n = ::read(0, block.data(), block.size());
    if (n > 0) {
      text.append(block.data(), static_cast<std::size_t>(n));
    } else if (n == 0) {
      break;
    } else if (errno != EINTR) {
      throw InputError(std::string("standard input: ") + std::strerror(errno));
    }
  }
  return text;
}

void StandardOutput::write(std::string_view part) {
  std::cout.write(part.data(), static_cast<std::streamsize>(part.size()));
  if (part.empty()) return;
  wrote_ = true;
  last_ = part.back();
}

void StandardOutput::finish() {
  // A terminal gets its line ended; a pipe or file gets the exact bytes.
  if (wrote_ && last_ != '\n' && ::isatty(1)) std::cout << '\n';
  std::cout.flush();
}

void writeStandardOutput(const std::string& text) {
  StandardOutput out;
  out.write(text);
  out.finish();
}

// Writes to a descriptor through a buffer, straight with write(2) so that a failure is known
// with its errno. After the first failure nothing more is written. A reader that went away
// ends the process by SIGPIPE, as it conventionally does; only where the signal is ignored
// is a broken pipe a failure like the others.
class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int descriptor) : descriptor_(descriptor) {
    setp(block_.data(), block_.data() + block_.size());
  }

  // The errno of the first failed write, or 0.
  int failure() const { return failure_; }

 protected:
  int_type overflow(int_type c) override {
    if (!drain()) return traits_type::eof();
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
      *pptr() = traits_type::to_char_type(c);
      pbump(1);
    }
    return traits_type::not_eof(c);
  }

  std::streamsize xsputn(const char* text, std::streamsize count) override {
    const auto n = static_cast<std::size_t>(count);
    if (n > static_cast<std::size_t>(epptr() - pptr())) {
      if (!drain()) return 0;
      // A large piece goes out as it is, not through the buffer.
      if (n >= block_.size()) return writeAll(text, n) ? count : 0;
    }
    std::memcpy(pptr(), text, n);
    pbump(static_cast<int>(n));
    return count;
  }

  int sync() override { return drain() ? 0 : -1; }

 private:
  bool drain() {
    const bool written = writeAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
    setp(block_.data(), block_.data() + block_.size());
    return written;
  }

  bool writeAll(const char* text, std::size_t n) {
    while (failure_ == 0 && n > 0) {
      const ssize_t written = ::write(descriptor_, text, n);
      if (written > 0) {
        text += written;
        n -= static_cast<std::size_t>(written);
      } else if (written == 0) {
        failure_ = EIO;
      } else if (errno != EINTR) {
        failure_ = errno;
      }
    }
    return failure_ == 0;
  }

  int descriptor_;
  int failure_ = 0;
  std::array<char, 1 << 16> block_{};
};

namespace {

// A closed standard descriptor is opened on /dev/null for the other direction: reading or
// writing it fails as before, and a file opened later cannot take its number and receive
// output meant for the terminal.
void holdClosedDescriptors() {
  for (int descriptor : {0, 1, 2}) {
    if (::fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) continue;
    const int held = ::open("/dev/null", descriptor == 0 ? O_WRONLY : O_RDONLY);
    if (held >= 0 && held != descriptor) {
      ::dup2(held, descriptor);
      ::close(held);
    }
  }
}

}  // namespace

CheckedOutput::CheckedOutput() {
  holdClosedDescriptors();
  std::cout.flush();
  buffer_ = std::make_unique<DescriptorBuffer>(1);
  previous_ = std::cout.rdbuf(buffer_.get());
}

CheckedOutput::~CheckedOutput() {
  std::cout.flush();
  std::cout.rdbuf(previous_);
}

int CheckedOutput::finish(int status) {
  std::cout.flush();
  int failure = buffer_->failure();
  if (failure == 0 && !std::cout) failure = EIO;
  if (failure != 0) {
    std::cerr << "tessalune: standard output: " << std::strerror(failure) << "\n";
    status = kFileOrNetwork;
  }
  std::cerr.flush();
  if (!std::cerr || std::ferror(stderr)) status = kFileOrNetwork;
  return status;
}

bool isColourText(const std::string& text) {
  return engine::colourFromHex(text).has_value();
}

}  // namespace tessalune::cli
