// Writes a file under a temporary name beside its target and renames it over the target only
// after every byte has been written, so that a failed or interrupted write never destroys the
// previous file.
#pragma once

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
  // Writes what is buffered, then `count` bytes straight from `data`.
  bool Write(const char* data, std::size_t count) { return FlushAll() && WriteFully(data, count); }

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
  // A target that is a symbolic link is followed: the file it names is replaced. Messages name
  // `target` as given.
  explicit AtomicFileWriter(std::filesystem::path target);
  ~AtomicFileWriter();  // removes the temporary file unless committed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file; on failure `error()` explains why.
  bool Open();
  // The file as a stream, for writing in small pieces.
  std::ostream& stream() { return *stream_; }
  // Writes `count` bytes after those already written, straight to the file.
  bool Append(const char* data, std::size_t count) override;

  // Flushes, optionally syncs to disk, closes and renames over the target.
  bool Commit(bool syncToDisk);
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& what);
  void Discard();
  std::string Named() const;

  std::filesystem::path named_;
  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  int replacedFd_ = -1;  // the file being replaced, held until the rename
  std::unique_ptr<FdOutputBuffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
  std::string error_;
};

}  // namespace chromiva::data::detail
