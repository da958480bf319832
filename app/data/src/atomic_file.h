// Writes a file under a temporary name beside its target and renames it over the target only
// after every byte has been written, so that a failed or interrupted write never destroys the
// previous file.
#pragma once

#include <filesystem>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace chromiva::data::detail {

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

class AtomicFileWriter {
 public:
  explicit AtomicFileWriter(std::filesystem::path target);
  ~AtomicFileWriter();  // removes the temporary file unless committed
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Creates the temporary file; on failure `error()` explains why.
  bool Open();
  std::ostream& stream() { return *stream_; }
  // Flushes, optionally syncs to disk, closes and renames over the target.
  bool Commit(bool syncToDisk);
  const std::string& error() const { return error_; }

 private:
  bool Fail(const std::string& what);
  void Discard();

  std::filesystem::path target_;
  std::filesystem::path temporary_;
  int fd_ = -1;
  std::unique_ptr<FdOutputBuffer> buffer_;
  std::unique_ptr<std::ostream> stream_;
  std::string error_;
};

}  // namespace chromiva::data::detail
