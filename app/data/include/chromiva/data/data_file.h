// The document's binary data file: no header, little-endian numbers, length-prefixed texts in
// code page 932, kept in the document as the very bytes of the file.
#pragma once

#include <filesystem>
#include <iosfwd>
#include <string>
#include <string_view>

#include "chromiva/data/document.h"

namespace chromiva::data {

enum class DataFileError {
  kNone,
  kOpenFailed,           // the file cannot be opened or created, or is not a regular file
  kReadFailed,           // the system reported a read error
  kWriteFailed,          // the system reported a write error
  kTruncated,            // the file ends before the format is complete
  kCountBeyondCapacity,  // a count is negative or exceeds the document's tables
  kTextTooLong,          // a text length beyond 0x7FFFFFFF
  kTextNotConvertible,   // a UTF-16 text that code page 932 cannot hold
  kInconsistentDocument  // storing: a count of the document itself is out of range
};

struct DataFileResult {
  DataFileError error = DataFileError::kNone;
  std::string message;  // names the problem and where it was found; empty on success
  std::string warning;  // on success: what was read but left out of the document
  bool ok() const { return error == DataFileError::kNone; }
};

// Writes the document in the data file format, its texts with exactly their stored bytes.
DataFileResult StoreDataFile(const Ctintrose_mfDoc& document, std::ostream& out);

// Reads a data file into a fresh set of contents and, only when the whole file has been read,
// puts them into `document`. Fields that the file does not carry (recordTime, the sky
// background, mirrorCount, slots beyond the stored counts) keep their values. On failure the
// document is unchanged. Bytes after the operation log are left out and named in `warning`.
DataFileResult LoadDataFile(Ctintrose_mfDoc& document, std::istream& in);

// Saves to `path` through a temporary file beside it that replaces the target only when
// complete; a symbolic link is followed and the file it points to is replaced. Temporaries that
// a dead process left in that folder are removed first. On success the title becomes the file
// name and the modified flag is cleared. The data is synced to disk before the rename and the
// folder after it, so that a crash leaves the old file or the new one whole; the replaced
// file's permissions carry over. Messages name `path` as given and the reason the system gave.
DataFileResult SaveDataFile(Ctintrose_mfDoc& document, const std::filesystem::path& path);

// Writes `bytes` to `path` as SaveDataFile writes a data file: through a temporary file that
// replaces the target only when complete, a symbolic link followed, synced to disk.
DataFileResult SaveBytesFile(const std::filesystem::path& path, std::string_view bytes);

// Opens and loads `path`, which must be a regular file (a device, a FIFO or a folder is refused
// without reading it); on success the title becomes the file name and the modified flag is
// cleared. Messages start with `path` as given.
DataFileResult OpenDataFile(Ctintrose_mfDoc& document, const std::filesystem::path& path);

}  // namespace chromiva::data
