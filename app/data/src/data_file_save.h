// The parts of saving a data file below SaveDataFile, reachable for the tests.
#pragma once

#include <filesystem>

#include "byte_io.h"
#include "chromiva/data/data_file.h"

namespace chromiva::data::detail {

enum class Records {
  kCommitted,  // as the data file holds them
  kNone,       // every record count stored as 0: the sensor table, LED list and log alone
};

// Writes the document in the data file format to `sink`; StoreDataFile over a sink.
DataFileResult StoreDataFile(const Ctintrose_mfDoc& document, ByteSink& sink,
                             Records records = Records::kCommitted);

enum class SavePath {
  kDirectWhenPossible,  // past the page cache (O_DIRECT) where the filesystem allows it
  kBuffered,            // through the page cache
};

// SaveDataFile with the way the temporary file is written chosen by the caller.
DataFileResult SaveDataFile(Ctintrose_mfDoc& document, const std::filesystem::path& path,
                            bool syncToDisk, SavePath via);

// The file of SaveDataFile without the document's title and modified flag.
DataFileResult WriteDataFile(const Ctintrose_mfDoc& document, const std::filesystem::path& path,
                             bool syncToDisk, SavePath via);

}  // namespace chromiva::data::detail
