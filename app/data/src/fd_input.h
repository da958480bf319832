// An input stream buffer over a file descriptor that remembers the system's read error.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <streambuf>
#include <vector>

namespace chromiva::data::detail {

class FdInputBuffer : public std::streambuf {
 public:
  explicit FdInputBuffer(int fd) : fd_(fd), buffer_(64 << 10) {}
  // errno of the failed read, 0 when every read succeeded.
  int error() const { return error_; }

 protected:
  int_type underflow() override {
    const std::streamsize got = ReadSome(buffer_.data(), buffer_.size());
    if (got <= 0) return traits_type::eof();
    setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
    return traits_type::to_int_type(buffer_.front());
  }

  // Large reads go straight to the caller's memory.
  std::streamsize xsgetn(char* data, std::streamsize count) override {
    std::streamsize done = 0;
    const std::streamsize buffered = egptr() - gptr();
    if (buffered > 0) {
      done = buffered < count ? buffered : count;
      traits_type::copy(data, gptr(), static_cast<std::size_t>(done));
      gbump(static_cast<int>(done));
    }
    while (done < count) {
      const std::streamsize got = ReadSome(data + done, static_cast<std::size_t>(count - done));
      if (got <= 0) break;
      done += got;
    }
    return done;
  }

 private:
  std::streamsize ReadSome(char* data, std::size_t count) {
    for (;;) {
      const ssize_t got = ::read(fd_, data, count);
      if (got >= 0) return got;
      if (errno == EINTR) continue;
      error_ = errno;
      return -1;
    }
  }

  int fd_;
  int error_ = 0;
  std::vector<char> buffer_;
};

}  // namespace chromiva::data::detail
