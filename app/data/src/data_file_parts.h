// The parts of saving and loading a data file below the public calls, reachable for the tests,
// the journal and the recovery files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <istream>
#include <optional>

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

// The file of SaveDataFile, synced to disk, without the document's title and modified flag.
DataFileResult WriteDataFile(const Ctintrose_mfDoc& document, const std::filesystem::path& path);

// LoadDataFile knowing the size of the input (OpenDataFile): the memory of the records is then
// committed on a helper thread ahead of the reading, never for more records than fit into it.
DataFileResult LoadDataFile(Ctintrose_mfDoc& document, std::istream& in,
                            std::optional<std::uint64_t> inputBytes);

}  // namespace chromiva::data::detail
