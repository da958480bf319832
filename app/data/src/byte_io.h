// Buffered little-endian byte reading and writing.
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

// The reader's buffer: small enough to stay in the core's own cache between the kernel's copy
// into it and the decoding out of it.
inline constexpr std::size_t kReadChunkBytes = std::size_t{256} << 10;

// The writer's buffer; larger blocks saved nothing measurable (bench/data.md).
inline constexpr std::size_t kWriteChunkBytes = std::size_t{64} << 10;

// Where a ByteWriter's bytes go.
class ByteSink {
 public:
  virtual bool Append(const char* data, std::size_t count) = 0;

 protected:
  ~ByteSink() = default;
};

class StreamSink final : public ByteSink {
 public:
  explicit StreamSink(std::ostream& out) : out_(out) {}
  bool Append(const char* data, std::size_t count) override {
    return static_cast<bool>(out_.write(data, static_cast<std::streamsize>(count)));
  }

 private:
  std::ostream& out_;
};

// Fills a buffer and hands it to a sink whenever it is full.
class ByteWriter {
 public:
  explicit ByteWriter(ByteSink& sink)
      : sink_(sink), buffer_(std::make_unique_for_overwrite<char[]>(kWriteChunkBytes)) {}

  // Room for `count` (at most kWriteChunkBytes) contiguous bytes, to be filled by the caller.
  char* Reserve(std::size_t count) {
    if (used_ + count > kWriteChunkBytes) Flush();
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
    while (count > 0) {
      const std::size_t part = count < kWriteChunkBytes ? count : kWriteChunkBytes;
      std::memcpy(Reserve(part), data, part);
      data += part;
      count -= part;
    }
  }

  // Hands over everything still buffered; true when the sink took every byte.
  bool Finish() {
    Flush();
    return ok_;
  }

 private:
  void Flush() {
    if (used_ > 0 && ok_) ok_ = sink_.Append(buffer_.get(), used_);
    used_ = 0;
  }

  ByteSink& sink_;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
  bool ok_ = true;
};

class ByteReader {
 public:
  explicit ByteReader(std::istream& in)
      : in_(in), buffer_(std::make_unique_for_overwrite<char[]>(kReadChunkBytes)) {}

  // `count` (at most kReadChunkBytes) contiguous bytes, or nullptr when the input ends first.
  const char* View(std::size_t count) {
    if (end_ - begin_ < count && !Refill(count)) return nullptr;
    const char* at = buffer_.get() + begin_;
    begin_ += count;
    consumed_ += count;
    return at;
  }

  bool GetBytes(char* destination, std::size_t count) {
    while (count > 0) {
      const std::size_t part = count < kReadChunkBytes ? count : kReadChunkBytes;
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

  // Reads the input to its end; returns how many bytes were left.
  std::uint64_t SkipToEnd() {
    std::uint64_t skipped = end_ - begin_;
    begin_ = end_ = 0;
    while (in_) {
      in_.read(buffer_.get(), static_cast<std::streamsize>(kReadChunkBytes));
      skipped += static_cast<std::uint64_t>(in_.gcount());
    }
    consumed_ += skipped;
    return skipped;
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
      in_.read(buffer_.get() + end_, static_cast<std::streamsize>(kReadChunkBytes - end_));
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
