#include "atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "background_sink.h"
#include "byte_io.h"
#include "test_support.h"

namespace chromiva::data::detail {
namespace {

std::string Pattern(std::size_t count, unsigned seed) {
  std::string bytes(count, '\0');
  for (std::size_t i = 0; i < count; ++i) {
    bytes[i] = static_cast<char>((i * 131 + seed * 7 + i / 4093) & 0xFF);
  }
  return bytes;
}

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Records every piece a ByteWriter hands over, with whether it was aligned.
class RecordingSink final : public ByteSink {
 public:
  bool Append(const char* data, std::size_t count) override {
    pieces.push_back({count, reinterpret_cast<std::uintptr_t>(data) % kDirectBlockBytes == 0});
    // A slow sink gives a writer that refills a piece too early the time to spoil it.
    if (slow) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    bytes.append(data, count);
    return pieces.size() != failAt;
  }
  struct Piece {
    std::size_t count;
    bool aligned;
  };
  std::vector<Piece> pieces;
  std::string bytes;
  std::size_t failAt = 0;  // 1-based piece that is refused; 0: none
  bool slow = false;
};

// Mixed reservations, single values and a text longer than a chunk; returns what was written.
std::string WriteMixedContent(ByteWriter& writer) {
  const std::string large = Pattern(kIoChunkBytes + 5000, 1);
  const std::string record = Pattern(2312, 2);
  std::string expected;
  for (int i = 0; i < 3000; ++i) {
    std::memcpy(writer.Reserve(record.size()), record.data(), record.size());
    expected += record;
    writer.Put(static_cast<std::uint8_t>(i));
    expected += static_cast<char>(static_cast<std::uint8_t>(i));
  }
  writer.PutBytes(large.data(), large.size());
  expected += large;
  writer.Put(std::uint16_t{0xBEEF});
  expected += "\xEF\xBE";
  return expected;
}

void ExpectAlignedWholeBlocksAndThenTheRest(const RecordingSink& sink) {
  ASSERT_GE(sink.pieces.size(), 3u);
  for (std::size_t i = 0; i < sink.pieces.size(); ++i) {
    EXPECT_TRUE(sink.pieces[i].aligned) << i;
    if (i + 1 < sink.pieces.size()) {
      EXPECT_EQ(sink.pieces[i].count % kDirectBlockBytes, 0u) << i;
    }
  }
  EXPECT_NE(sink.pieces.back().count % kDirectBlockBytes, 0u);
}

// The sink sees the bytes in order, in aligned whole blocks except for the last piece.
TEST(ByteWriter, HandsOverAlignedWholeBlocksAndThenTheRest) {
  RecordingSink sink;
  ByteWriter writer(sink);
  const std::string expected = WriteMixedContent(writer);
  ASSERT_TRUE(writer.Finish());
  EXPECT_TRUE(sink.bytes == expected);  // no dump of megabytes on failure
  ExpectAlignedWholeBlocksAndThenTheRest(sink);
}

// Through a helper thread and a slow sink: no piece is refilled before the sink has it all.
TEST(ByteWriter, AHelperThreadPassesOnTheSamePiecesUnspoiled) {
  RecordingSink sink;
  sink.slow = true;
  BackgroundSink background(sink);
  ByteWriter writer(background);
  const std::string expected = WriteMixedContent(writer);
  ASSERT_TRUE(writer.Finish());
  EXPECT_TRUE(sink.bytes == expected);
  ExpectAlignedWholeBlocksAndThenTheRest(sink);
}

TEST(ByteWriter, APieceRefusedBehindAHelperThreadFailsAndStopsTheOutput) {
  RecordingSink sink;
  sink.failAt = 2;
  BackgroundSink background(sink);
  ByteWriter writer(background);
  const std::string bytes = Pattern(6 * kIoChunkBytes, 4);
  writer.PutBytes(bytes.data(), bytes.size());
  EXPECT_FALSE(writer.Finish());
  EXPECT_EQ(sink.pieces.size(), 2u);
  EXPECT_FALSE(background.Append(bytes.data(), kDirectBlockBytes));
}

TEST(ByteWriter, ARefusedPieceFailsTheFinishAndStopsTheOutput) {
  RecordingSink sink;
  sink.failAt = 1;
  ByteWriter writer(sink);
  const std::string bytes = Pattern(3 * kIoChunkBytes, 3);
  writer.PutBytes(bytes.data(), bytes.size());
  EXPECT_FALSE(writer.Finish());
  EXPECT_EQ(sink.pieces.size(), 1u);
}

using AtomicFileOnDisk = chromiva::data::test::TempDirTest;

// Writes `bytes` in pieces of `blocks` whole blocks from an aligned buffer, the rest last.
bool WriteInBlocks(AtomicFileWriter& file, const std::string& bytes, std::size_t blocks,
                   bool stopDirectHalfway = false) {
  const std::size_t piece = blocks * kDirectBlockBytes;
  AlignedBuffer buffer = MakeAlignedBuffer(piece);
  for (std::size_t at = 0; at < bytes.size(); at += piece) {
    if (stopDirectHalfway && at >= bytes.size() / 2 && !file.StopDirect()) return false;
    const std::size_t count = std::min(piece, bytes.size() - at);
    std::memcpy(buffer.get(), bytes.data() + at, count);
    if (!file.Append(buffer.get(), count)) return false;
  }
  return true;
}

// Every way of writing blocks gives the file exactly the bytes handed over, whether its length
// is a whole number of blocks or not, and whether it replaces a longer file or not.
TEST_F(AtomicFileOnDisk, BlocksGiveTheExactBytesInEveryMode) {
  const auto path = dir_ / "blocks.bin";
  std::ofstream(path, std::ios::binary) << Pattern(3 * kIoChunkBytes, 9);
  using Output = AtomicFileWriter::Output;
  for (Output output : {Output::kDirectBlocks, Output::kBufferedBlocks}) {
    for (std::size_t size :
         {std::size_t{0}, std::size_t{1}, kDirectBlockBytes - 1, kDirectBlockBytes,
          kDirectBlockBytes + 1, 5 * kDirectBlockBytes + 17}) {
      for (bool stop : {false, true}) {
        const std::string bytes = Pattern(size, static_cast<unsigned>(size));
        AtomicFileWriter file(path);
        ASSERT_TRUE(file.Open(output)) << file.error();
        if (output == Output::kBufferedBlocks) {
          EXPECT_FALSE(file.direct());
        }
        ASSERT_TRUE(WriteInBlocks(file, bytes, 2, stop)) << file.error();
        ASSERT_TRUE(file.Commit(size % 2 == 0)) << file.error();
        ASSERT_EQ(ReadAll(path), bytes) << size << " " << stop;
      }
    }
  }
  EXPECT_EQ(FilesInDir(), 1u);
}

// A piece from an address the disk cannot take directly is refused by the system (EINVAL);
// it and the rest of the file go through the page cache with the same bytes.
TEST_F(AtomicFileOnDisk, AMisalignedPieceFallsBackToThePageCache) {
  const auto path = dir_ / "fallback.bin";
  AtomicFileWriter file(path);
  ASSERT_TRUE(file.Open(AtomicFileWriter::Output::kDirectBlocks)) << file.error();
  if (!file.direct()) GTEST_SKIP() << "the temporary folder's filesystem writes no blocks directly";
  const std::string bytes = Pattern(6 * kDirectBlockBytes + 100, 4);
  AlignedBuffer buffer = MakeAlignedBuffer(bytes.size() + 1);
  std::memcpy(buffer.get(), bytes.data(), 2 * kDirectBlockBytes);
  ASSERT_TRUE(file.Append(buffer.get(), 2 * kDirectBlockBytes));
  EXPECT_TRUE(file.direct());
  std::memcpy(buffer.get() + 1, bytes.data() + 2 * kDirectBlockBytes, 2 * kDirectBlockBytes);
  ASSERT_TRUE(file.Append(buffer.get() + 1, 2 * kDirectBlockBytes)) << file.error();
  EXPECT_FALSE(file.direct());
  const std::size_t rest = bytes.size() - 4 * kDirectBlockBytes;
  std::memcpy(buffer.get(), bytes.data() + 4 * kDirectBlockBytes, rest);
  ASSERT_TRUE(file.Append(buffer.get(), rest));
  ASSERT_TRUE(file.Commit(true)) << file.error();
  EXPECT_EQ(ReadAll(path), bytes);
}

TEST_F(AtomicFileOnDisk, NothingFollowsALastPartialBlockAndTheOldFileSurvives) {
  const auto path = dir_ / "kept.bin";
  std::ofstream(path, std::ios::binary) << "previous";
  {
    AtomicFileWriter file(path);
    ASSERT_TRUE(file.Open(AtomicFileWriter::Output::kDirectBlocks));
    AlignedBuffer buffer = MakeAlignedBuffer(kDirectBlockBytes);
    std::memset(buffer.get(), 'x', kDirectBlockBytes);
    ASSERT_TRUE(file.Append(buffer.get(), 10));
    EXPECT_FALSE(file.Append(buffer.get(), kDirectBlockBytes));
    EXPECT_NE(file.error().find("after its last block"), std::string::npos);
    EXPECT_FALSE(file.Commit(true));
  }
  {
    AtomicFileWriter file(path);  // abandoned without a commit
    ASSERT_TRUE(file.Open(AtomicFileWriter::Output::kDirectBlocks));
    AlignedBuffer buffer = MakeAlignedBuffer(kDirectBlockBytes);
    ASSERT_TRUE(file.Append(buffer.get(), kDirectBlockBytes));
  }
  EXPECT_EQ(ReadAll(path), "previous");
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(AtomicFileOnDisk, TheReplacedFilesPermissionsCarryOver) {
  const auto path = dir_ / "private.bin";
  std::ofstream(path, std::ios::binary) << "old";
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  AtomicFileWriter file(path);
  ASSERT_TRUE(file.Open(AtomicFileWriter::Output::kDirectBlocks));
  ASSERT_TRUE(WriteInBlocks(file, Pattern(kDirectBlockBytes + 3, 5), 1));
  ASSERT_TRUE(file.Commit(false));
  struct stat status {};
  ASSERT_EQ(::stat(path.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
}

// Descriptors of this process on `path` (also once it was replaced: "path (deleted)"). Counting
// only these keeps the helper threads that earlier tests left closing their files out of it.
std::size_t OpenDescriptors(const std::filesystem::path& path) {
  const std::string wanted = std::filesystem::weakly_canonical(path).string();
  std::size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code error;
    const std::string target = std::filesystem::read_symlink(entry.path(), error).string();
    if (!error && (target == wanted || target == wanted + " (deleted)")) ++count;
  }
  return count;
}

// The replaced file is held across the rename and let go of afterwards, on both outcomes.
TEST_F(AtomicFileOnDisk, TheReplacedFileIsLetGoOfWhetherOrNotTheSaveCompletes) {
  const auto path = dir_ / "data.bin";
  std::ofstream(path, std::ios::binary) << "old";
  const std::size_t before = OpenDescriptors(path);
  {
    AtomicFileWriter abandoned(path);
    ASSERT_TRUE(abandoned.Open(AtomicFileWriter::Output::kBufferedBlocks));
    EXPECT_EQ(OpenDescriptors(path), before + 1);  // held until the rename
  }
  EXPECT_EQ(OpenDescriptors(path), before);
  EXPECT_EQ(ReadAll(path), "old");

  AtomicFileWriter file(path);
  ASSERT_TRUE(file.Open(AtomicFileWriter::Output::kBufferedBlocks));
  ASSERT_TRUE(file.Append("new", 3));
  ASSERT_TRUE(file.Commit(false));
  EXPECT_EQ(ReadAll(path), "new");
  EXPECT_EQ(FilesInDir(), 1u);
  for (int wait = 0; wait < 200 && OpenDescriptors(path) != before; ++wait) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(OpenDescriptors(path), before);
}

}  // namespace
}  // namespace chromiva::data::detail
