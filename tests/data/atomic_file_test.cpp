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

// Records every piece a ByteWriter hands over.
class RecordingSink final : public ByteSink {
 public:
  bool Append(const char* data, std::size_t count) override {
    ++pieces;
    bytes.append(data, count);
    return pieces != failAt;
  }
  std::size_t pieces = 0;
  std::string bytes;
  std::size_t failAt = 0;  // 1-based piece that is refused; 0: none
};

// Mixed reservations, single values and a text longer than a chunk: the sink sees the bytes in
// order.
TEST(ByteWriter, HandsOverTheBytesInOrder) {
  RecordingSink sink;
  ByteWriter writer(sink);
  const std::string large = Pattern(3 * kWriteChunkBytes + 5000, 1);
  const std::string record = Pattern(2312, 2);
  std::string expected;
  for (int i = 0; i < 300; ++i) {
    std::memcpy(writer.Reserve(record.size()), record.data(), record.size());
    expected += record;
    writer.Put(static_cast<std::uint8_t>(i));
    expected += static_cast<char>(static_cast<std::uint8_t>(i));
  }
  writer.PutBytes(large.data(), large.size());
  expected += large;
  writer.Put(std::uint16_t{0xBEEF});
  expected += "\xEF\xBE";
  ASSERT_TRUE(writer.Finish());
  EXPECT_TRUE(sink.bytes == expected);  // no dump of megabytes on failure
}

TEST(ByteWriter, ARefusedPieceFailsTheFinishAndStopsTheOutput) {
  RecordingSink sink;
  sink.failAt = 1;
  ByteWriter writer(sink);
  const std::string bytes = Pattern(3 * kWriteChunkBytes, 3);
  writer.PutBytes(bytes.data(), bytes.size());
  EXPECT_FALSE(writer.Finish());
  EXPECT_EQ(sink.pieces, 1u);
}

using AtomicFileOnDisk = chromiva::data::test::TempDirTest;

// Appended pieces and stream output mix in order, and an abandoned write leaves the old file.
TEST_F(AtomicFileOnDisk, AppendedAndStreamedBytesLandInOrderOnlyOnCommit) {
  const auto path = dir_ / "kept.bin";
  std::ofstream(path, std::ios::binary) << Pattern(100000, 9);
  {
    AtomicFileWriter abandoned(path);
    ASSERT_TRUE(abandoned.Open());
    ASSERT_TRUE(abandoned.Append("x", 1));
  }
  EXPECT_EQ(ReadAll(path), Pattern(100000, 9));
  AtomicFileWriter file(path);
  ASSERT_TRUE(file.Open()) << file.error();
  file.stream() << "head";
  const std::string bytes = Pattern(5000, 4);
  ASSERT_TRUE(file.Append(bytes.data(), bytes.size())) << file.error();
  file.stream() << "tail";
  ASSERT_TRUE(file.Commit(true)) << file.error();
  EXPECT_EQ(ReadAll(path), "head" + bytes + "tail");
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(AtomicFileOnDisk, TheReplacedFilesPermissionsCarryOver) {
  const auto path = dir_ / "private.bin";
  std::ofstream(path, std::ios::binary) << "old";
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  AtomicFileWriter file(path);
  ASSERT_TRUE(file.Open());
  ASSERT_TRUE(file.Append("new", 3));
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
    ASSERT_TRUE(abandoned.Open());
    EXPECT_EQ(OpenDescriptors(path), before + 1);  // held until the rename
  }
  EXPECT_EQ(OpenDescriptors(path), before);
  EXPECT_EQ(ReadAll(path), "old");

  AtomicFileWriter file(path);
  ASSERT_TRUE(file.Open());
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
