// The data-file handling that the file commands share: loading with its messages, keeping an
// output from being the input, and saving the records elsewhere when a save fails.
#pragma once

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

// Whether `output` names the file `input` (through links and other spellings).
bool SameFile(const std::filesystem::path& input, const std::filesystem::path& output);

// kExitRefused with a message when `output` is `input`, else kExitOk.
int RefuseOutputOverInput(const std::filesystem::path& input, const std::filesystem::path& output);

// Saves to `path` through the session, which writes the records to a recovery file when that
// fails; says where they went, or that every place failed and which journal keeps them.
int SaveOrRecover(acquisition::DocumentSession& session, const std::filesystem::path& path);

}  // namespace chromiva::cli
