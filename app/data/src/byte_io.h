// Buffered little-endian byte reading and writing over standard streams.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <istream>
#include <memory>
#include <ostream>
#include <type_traits>

namespace chromiva::data::detail {

static_assert(std::endian::native == std::endian::little,
              "the data file is little-endian and is copied in host order");

// Large enough that the file moves in few system calls and, when writing, bypasses the
// stream's own buffer.
inline constexpr std::size_t kIoChunkBytes = std::size_t{4} << 20;

class ByteWriter {
 public:
  explicit ByteWriter(std::ostream& out)
      : out_(out), buffer_(std::make_unique_for_overwrite<char[]>(kIoChunkBytes)) {}

  // Room for `count` (at most kIoChunkBytes) contiguous bytes, to be filled by the caller.
  char* Reserve(std::size_t count) {
    if (used_ + count > kIoChunkBytes) Flush();
    char* at = buffer_.get() + used_;
    used_ += count;
    return at;
  }

  template <typename T>
  void Put(T value) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::memcpy(Reserve(sizeof value), &value, sizeof value);
  }

  void PutBytes(const char* data, std::size_t count) {
    if (count <= kIoChunkBytes) {
      std::memcpy(Reserve(count), data, count);
      return;
    }
    Flush();
    out_.write(data, static_cast<std::streamsize>(count));
  }

  bool Flush() {
    if (used_ > 0) out_.write(buffer_.get(), static_cast<std::streamsize>(used_));
    used_ = 0;
    return static_cast<bool>(out_);
  }

 private:
  std::ostream& out_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
};

class ByteReader {
 public:
  explicit ByteReader(std::istream& in)
      : in_(in), buffer_(std::make_unique_for_overwrite<char[]>(kIoChunkBytes)) {}

  // `count` (at most kIoChunkBytes) contiguous bytes, or nullptr when the input ends first.
  const char* View(std::size_t count) {
    if (end_ - begin_ < count && !Refill(count)) return nullptr;
    const char* at = buffer_.get() + begin_;
    begin_ += count;
    consumed_ += count;
    return at;
  }

  bool GetBytes(char* destination, std::size_t count) {
    while (count > 0) {
      const std::size_t part = count < kIoChunkBytes ? count : kIoChunkBytes;
      const char* at = View(part);
      if (at == nullptr) return false;
      std::memcpy(destination, at, part);
      destination += part;
      count -= part;
    }
    return true;
  }

  template <typename T>
  bool Get(T& value) {
    static_assert(std::is_trivially_copyable_v<T>);
    const char* at = View(sizeof value);
    if (at == nullptr) return false;
    std::memcpy(&value, at, sizeof value);
    return true;
  }

  std::uint64_t offset() const { return consumed_; }
  bool readError() const { return in_.bad(); }

 private:
  bool Refill(std::size_t count) {
    const std::size_t kept = end_ - begin_;
    std::memmove(buffer_.get(), buffer_.get() + begin_, kept);
    begin_ = 0;
    end_ = kept;
    while (end_ < count && in_) {
      in_.read(buffer_.get() + end_, static_cast<std::streamsize>(kIoChunkBytes - end_));
      end_ += static_cast<std::size_t>(in_.gcount());
    }
    return end_ >= count;
  }

  std::istream& in_;
  std::unique_ptr<char[]> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  std::uint64_t consumed_ = 0;
};

}  // namespace chromiva::data::detail
