// The document's binary data file: no header, little-endian numbers, length-prefixed texts in
// code page 932.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>

#include "chromiva/data/document.h"

namespace chromiva::data {

enum class DataFileError {
  kNone,
  kOpenFailed,           // the file cannot be opened or created
  kReadFailed,           // the system reported a read error
  kWriteFailed,          // the system reported a write error
  kTruncated,            // the file ends before the format is complete
  kCountBeyondCapacity,  // a count is negative or exceeds the document's tables
  kTextTooLong,          // a text length beyond 0x7FFFFFFF
  kTextNotConvertible,   // a text that is not valid code page 932 (or UTF-16 on reading)
  kInconsistentDocument  // storing: a count of the document itself is out of range
};

struct DataFileResult {
  DataFileError error = DataFileError::kNone;
  std::string message;  // names the problem and where it was found; empty on success
  bool ok() const { return error == DataFileError::kNone; }
};

// Writes the document in the data file format. Texts are converted to code page 932 first, so a
// text that cannot be converted fails the store before any byte is written.
DataFileResult StoreDataFile(const Ctintrose_mfDoc& document, std::ostream& out);

// Reads a data file into a fresh set of contents and, only when the whole file has been read,
// puts them into `document`. Fields that the file does not carry (recordTime, the sky
// background, mirrorCount, slots beyond the stored counts) keep their values. On failure the
// document is unchanged.
// `inputBytes`, when given, is the size of the input: the memory for the records is then
// committed ahead of the reading on a helper thread, never for more records than fit into it.
DataFileResult LoadDataFile(Ctintrose_mfDoc& document, std::istream& in,
                            std::optional<std::uint64_t> inputBytes = std::nullopt);

// Saves to `path` through a temporary file beside it that replaces the target only when
// complete. On success the title becomes the file name and the modified flag is cleared.
// `syncToDisk` makes the data durable before the rename.
DataFileResult SaveDataFile(Ctintrose_mfDoc& document, const std::filesystem::path& path,
                            bool syncToDisk = true);

// Opens and loads `path`; on success the title becomes the file name and the modified flag is
// cleared.
DataFileResult OpenDataFile(Ctintrose_mfDoc& document, const std::filesystem::path& path);

}  // namespace chromiva::data
