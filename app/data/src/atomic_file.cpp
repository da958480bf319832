#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace chromiva::data::detail {

namespace {

constexpr std::size_t kBufferBytes = 1 << 20;

std::string ErrnoText() {
  return std::strerror(errno);
}

std::filesystem::path TemporaryNameFor(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::string name = "." + target.filename().string() + ".tmp-" + std::to_string(getpid()) + "-" +
                     std::to_string(counter.fetch_add(1));
  return target.parent_path() / name;
}

// The contents about to be replaced need not stay in memory beside the new ones: dropping their
// cached pages first lets the new file reuse that memory instead of taking fresh pages. The
// file itself is untouched, so a failed save still leaves it complete.
void DropCachedContents(const std::filesystem::path& file) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return;
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

}  // namespace

FdOutputBuffer::FdOutputBuffer(int fd) : fd_(fd), buffer_(kBufferBytes) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool FdOutputBuffer::WriteFully(const char* data, std::size_t count) {
  while (count > 0 && !failed_) {
    const ssize_t written = ::write(fd_, data, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      failed_ = true;
      break;
    }
    data += written;
    count -= static_cast<std::size_t>(written);
  }
  return !failed_;
}

bool FdOutputBuffer::FlushAll() {
  const bool ok = WriteFully(pbase(), static_cast<std::size_t>(pptr() - pbase()));
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return ok;
}

FdOutputBuffer::int_type FdOutputBuffer::overflow(int_type ch) {
  if (!FlushAll()) return traits_type::eof();
  if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
  *pptr() = traits_type::to_char_type(ch);
  pbump(1);
  return ch;
}

std::streamsize FdOutputBuffer::xsputn(const char* data, std::streamsize count) {
  const auto size = static_cast<std::size_t>(count);
  if (size <= static_cast<std::size_t>(epptr() - pptr())) {
    std::memcpy(pptr(), data, size);
    pbump(static_cast<int>(size));
    return count;
  }
  if (!FlushAll() || !WriteFully(data, size)) return 0;
  return count;
}

int FdOutputBuffer::sync() {
  return FlushAll() ? 0 : -1;
}

AtomicFileWriter::AtomicFileWriter(std::filesystem::path target) : target_(std::move(target)) {}

AtomicFileWriter::~AtomicFileWriter() {
  Discard();
}

bool AtomicFileWriter::Fail(const std::string& what) {
  error_ = what;
  Discard();
  return false;
}

void AtomicFileWriter::Discard() {
  stream_.reset();
  buffer_.reset();
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
    ::unlink(temporary_.c_str());
  }
}

bool AtomicFileWriter::Open() {
  if (target_.empty() || !target_.has_filename()) return Fail("no file name given");
  temporary_ = TemporaryNameFor(target_);
  fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd_ < 0) return Fail("cannot create " + temporary_.string() + ": " + ErrnoText());
  struct stat existing {};
  if (::stat(target_.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    ::fchmod(fd_, existing.st_mode & 07777);
    DropCachedContents(target_);
  }
  buffer_ = std::make_unique<FdOutputBuffer>(fd_);
  stream_ = std::make_unique<std::ostream>(buffer_.get());
  return true;
}

bool AtomicFileWriter::Commit(bool syncToDisk) {
  if (fd_ < 0) return Fail(error_.empty() ? "file was not opened" : error_);
  stream_->flush();
  if (!stream_->good() || !buffer_->FlushAll() || buffer_->failed()) {
    return Fail("cannot write " + target_.string() + ": " + ErrnoText());
  }
  if (syncToDisk && ::fsync(fd_) != 0) return Fail("cannot sync " + target_.string());
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    ::unlink(temporary_.c_str());
    return Fail("cannot close " + target_.string() + ": " + ErrnoText());
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    const std::string reason = ErrnoText();
    ::unlink(temporary_.c_str());
    return Fail("cannot replace " + target_.string() + ": " + reason);
  }
  return true;
}

}  // namespace chromiva::data::detail
