// The data-file handling that the file commands share: loading with its messages, keeping an
// output from being the input, and saving the records elsewhere when a save fails.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "arguments.h"
#include "chromiva/acquisition/document_session.h"
#include "chromiva/data/document.h"

namespace chromiva::cli {

// Loads `path`; prints a warning for ignored trailing bytes. Returns kExitOk, or kExitRefused
// after printing the reason.
int LoadDataFileOrFail(data::Ctintrose_mfDoc& document, const std::string& path);

// The sensor slot named by --sensor (default 0): a serial number, as stored or as shown, or a
// slot number. No value, and `error` set, for one the document does not have.
std::optional<int> ChooseSensor(const data::Ctintrose_mfDoc& document, const Arguments& arguments,
                                std::string& error);

// Whether `a` and `b` name the same file (through links and other spellings), also when one
// or both do not exist yet.
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// kExitRefused with a message when `output` is `input`, else kExitOk.
int RefuseOutputOverInput(const std::filesystem::path& input, const std::filesystem::path& output);

// What a file was when a run began: whether it existed, and its identity, size and time.
struct FileStamp {
  bool exists = false;
  dev_t device = 0;
  ino_t inode = 0;
  off_t bytes = 0;
  std::int64_t modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::filesystem::path& path);

// Saves to `path` through the session; when that fails, or when `path` is no longer what
// `before` recorded (another run wrote it meanwhile), the session writes the records to a
// recovery file (temporary folder, the user's data folder, the current folder). Says where they
// went, or that every place failed and what the journal keeps of them.
int SaveOrRecover(acquisition::DocumentSession& session, const std::filesystem::path& path,
                  const FileStamp* before = nullptr);

}  // namespace chromiva::cli
