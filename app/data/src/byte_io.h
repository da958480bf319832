// Buffered little-endian byte reading and writing.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <istream>
#include <memory>
#include <new>
#include <ostream>
#include <type_traits>
#include <vector>

#include "store_switches.h"

namespace chromiva::data::detail {

static_assert(std::endian::native == std::endian::little,
              "the data file is little-endian and is copied in host order");

// Large enough that the file moves in few system calls.
inline constexpr std::size_t kIoChunkBytes = std::size_t{4} << 20;

// The reader's buffer: small enough to stay in the core's own cache between the kernel's copy
// into it and the decoding out of it.
inline constexpr std::size_t kReadChunkBytes = std::size_t{256} << 10;

// The alignment of memory, file offsets and sizes that writing past the page cache (O_DIRECT)
// asks for on the disks and filesystems in use.
inline constexpr std::size_t kDirectBlockBytes = 4096;

// Where a ByteWriter's bytes go. Every piece but the last is a whole number of
// kDirectBlockBytes and each starts at an address aligned to kDirectBlockBytes, so that a file
// opened with O_DIRECT can take the pieces as they are.
class ByteSink {
 public:
  virtual bool Append(const char* data, std::size_t count) = 0;
  // How many pieces the sink may still be reading when Append returns: the memory of a piece
  // must stay unchanged until that many further Appends, or a Drain, have returned.
  virtual std::size_t piecesHeld() const { return 0; }
  // Returns once no piece is being read any more; true when every piece was taken.
  virtual bool Drain() { return true; }

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

struct AlignedDelete {
  void operator()(char* memory) const {
    ::operator delete[](memory, std::align_val_t{kDirectBlockBytes});
  }
};

using AlignedBuffer = std::unique_ptr<char[], AlignedDelete>;

inline AlignedBuffer MakeAlignedBuffer(std::size_t bytes) {
  return AlignedBuffer(
      static_cast<char*>(::operator new[](bytes, std::align_val_t{kDirectBlockBytes})));
}

// Fills blocks for a sink; when the sink holds on to pieces, each piece is filled in a buffer
// of its own from a ring, so that filling goes on while the sink reads the earlier ones.
class ByteWriter {
 public:
  explicit ByteWriter(ByteSink& sink)
      : sink_(sink),
        chunk_(Switches().bigBlocks ? kIoChunkBytes : std::size_t{64} << 10),
        capacity_(chunk_ + kDirectBlockBytes) {
    for (std::size_t i = 0; i <= sink.piecesHeld(); ++i) {
      buffers_.push_back(MakeAlignedBuffer(capacity_));
    }
    buffer_ = buffers_.front().get();
  }
  ~ByteWriter() { sink_.Drain(); }  // the buffers go with the writer
  ByteWriter(const ByteWriter&) = delete;
  ByteWriter& operator=(const ByteWriter&) = delete;

  // Room for `count` (at most kIoChunkBytes) contiguous bytes, to be filled by the caller.
  char* Reserve(std::size_t count) {
    if (used_ + count > capacity_) FlushBlocks();
    char* at = buffer_ + used_;
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
      const std::size_t part = count < chunk_ ? count : chunk_;
      std::memcpy(Reserve(part), data, part);
      data += part;
      count -= part;
    }
  }

  // Hands over everything still buffered as the last piece; true when every piece was taken.
  bool Finish() {
    if (used_ > 0 && ok_) ok_ = sink_.Append(buffer_, used_);
    used_ = 0;
    if (!sink_.Drain()) ok_ = false;
    return ok_;
  }

 private:
  // A block's worth beyond the chunk: the tail kept back by FlushBlocks never shrinks the room
  // for a reservation below kIoChunkBytes.

  // Hands over the whole blocks and keeps the partial one at the start of the buffer that is
  // filled next (the same one when the sink holds no pieces). That buffer may still be read
  // by the sink until the Append returns, so the partial block waits aside meanwhile.
  void FlushBlocks() {
    const std::size_t whole = used_ - used_ % kDirectBlockBytes;
    const std::size_t partial = used_ - whole;
    std::array<char, kDirectBlockBytes> kept;
    std::memcpy(kept.data(), buffer_ + whole, partial);
    if (whole > 0 && ok_) ok_ = sink_.Append(buffer_, whole);
    next_ = (next_ + 1) % buffers_.size();
    buffer_ = buffers_[next_].get();
    std::memcpy(buffer_, kept.data(), partial);
    used_ = partial;
  }

  ByteSink& sink_;
  std::size_t chunk_;
  std::size_t capacity_;
  std::vector<AlignedBuffer> buffers_;
  std::size_t next_ = 0;
  char* buffer_ = nullptr;
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
