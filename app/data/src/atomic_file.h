// Writes a file under a temporary name beside its target and renames it over the target only
// after every byte has been written, so that a failed or interrupted write never destroys the
// previous file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "byte_io.h"

namespace chromiva::data::detail {

// Removes the temporaries of AtomicFileWriter in `folder` whose process has ended (a save that
// was killed).
void RemoveStaleTemporaries(const std::filesystem::path& folder);

// `path` with its symbolic links followed to the file they name (which need not exist yet); no
// value, and the system's reason, for a loop or an unreadable link.
std::optional<std::filesystem::path> FollowLinks(std::filesystem::path path, std::string& reason);

class FdOutputBuffer : public std::streambuf {
 public:
  explicit FdOutputBuffer(int fd);
  bool failed() const { return failed_; }
  bool FlushAll();

 protected:
  int_type overflow(int_type ch) override;
  std::streamsize xsputn(const char* data, std::streamsize count) override;
  int sync() override;

 private:
  bool WriteFully(const char* data, std::size_t count);

  int fd_;
  bool failed_ = false;
  std::vector<char> buffer_;
};

class AtomicFileWriter final : public ByteSink {
 public:
  enum class Output {
    kStream,          // written through stream()
    kDirectBlocks,    // written with Append, past the page cache where the filesystem allows it
    kBufferedBlocks,  // written with Append, through the page cache
  };

  // A target that is a symbolic link is followed: the file it names is replaced. Messages name
  // `target` as given.
  explicit AtomicFileWriter(std::filesystem::path target);
  ~AtomicFileWriter();  // removes the temporary file unless committed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file; on failure `error()` explains why.
  bool Open(Output output = Output::kStream);
  // Only when opened for kStream.
  std::ostream& stream() { return *stream_; }

  // Only when opened for blocks: writes `count` bytes after those already written. Pieces
  // written past the page cache must start at addresses aligned to kDirectBlockBytes, and all
  // but the last must be whole blocks; the last is written as a zero-padded block and cut back
  // to its length at Commit. A piece the filesystem refuses to take that way (EINVAL) is
  // written, with the rest of the file, through the page cache.
  bool Append(const char* data, std::size_t count) override;
  // Whether the next block goes past the page cache.
  bool direct() const { return direct_; }
  // Writes the rest of the file through the page cache; false when the system refuses.
  bool StopDirect();

  // Flushes, optionally syncs to disk, closes and renames over the target.
  bool Commit(bool syncToDisk);
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& what);
  void Discard();
  bool WriteAt(const char* data, std::size_t count);
  std::string Named() const;

  std::filesystem::path named_;
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  int replacedFd_ = -1;  // the file being replaced, held until the rename
  std::unique_ptr<FdOutputBuffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
  bool blocks_ = false;
  bool direct_ = false;
  bool ended_ = false;              // the last, possibly partial, piece has been written
  std::uint64_t writtenBytes_ = 0;  // including the padding of a last partial block
  std::uint64_t fileBytes_ = 0;     // the length the file is to have
  std::string error_;
};

}  // namespace chromiva::data::detail
