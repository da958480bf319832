#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "data_file_parts.h"
#include "test_support.h"

namespace chromiva::data {
namespace {

using namespace std::string_literals;

using test::AddRecords;
using test::AddSensor;
using test::Load;
using test::NewDocument;
using test::Store;

constexpr std::size_t kRecordBytes = 8 + kMaxPixels * 8;

template <typename T>
T At(const std::string& bytes, std::size_t offset) {
  T value{};
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

std::string LogOfLength(std::size_t n) {
  return std::string(n, 'a');
}

// Stored bytes of an empty document whose log is the given (code page 932) text.
std::string StoreWithLog(const std::string& log) {
  auto doc = NewDocument();
  doc->operationLog = log;
  return Store(*doc);
}

TEST(DataFile, NewDocumentIsNineBytes) {
  auto doc = NewDocument();
  EXPECT_EQ(Store(*doc), std::string("\0\0\0\0\0\0\0\0\0", 9));
}

TEST(DataFile, SensorSectionLayout) {
  auto doc = NewDocument();
  AddSensor(*doc, "S1");
  const std::string bytes = Store(*doc);
  EXPECT_EQ(At<int32_t>(bytes, 0), 1);
  EXPECT_EQ(At<int32_t>(bytes, 4), 288);
  EXPECT_EQ(bytes.substr(8, 9), std::string("\x08") + "C12880MA");
  EXPECT_EQ(bytes.substr(17, 3), "\x02S1");
  EXPECT_EQ(At<int32_t>(bytes, 20), 100000);
  EXPECT_EQ(At<double>(bytes, 24 + 8), 1.0);  // c1
  const std::size_t dark = 24 + 48;
  EXPECT_EQ(At<float>(bytes, dark + 4 * (288 * 19 + 5)), 195.0f);  // step 19, pixel 5
  const std::size_t wavelengths = dark + 21 * 288 * 4;
  EXPECT_EQ(At<float>(bytes, wavelengths + 4 * 10), 320.0f);
  const std::size_t interleaved = wavelengths + 288 * 4;
  EXPECT_EQ(At<float>(bytes, interleaved + 12 * 3 + 4), 1003.0f);      // white[3]
  EXPECT_EQ(At<float>(bytes, interleaved + 12 * 288 + 8), 200000.0f);  // transmission exposure
  const std::size_t leds = interleaved + 289 * 12;
  EXPECT_EQ(At<int32_t>(bytes, leds), 0);
  EXPECT_EQ(bytes.size(), leds + 4 + 4 + 1);  // LED count, record count 0, empty log
}

TEST(DataFile, RecordSectionHoldsCommittedRecordsOnly) {
  auto doc = NewDocument();
  AddSensor(*doc, "A");
  AddSensor(*doc, "B");
  const std::size_t empty = Store(*doc).size();
  AddRecords(*doc, 0, 3);
  AddRecords(*doc, 1, 3);
  doc->EnsureSpectra(0, 3);  // working slot: never stored
  const std::string bytes = Store(*doc);
  EXPECT_EQ(bytes.size() - empty, 2 * 3 * kRecordBytes);
  const std::size_t section = bytes.size() - 1 - 2 * (4 + 3 * kRecordBytes);
  EXPECT_EQ(At<int32_t>(bytes, section), 3);
  EXPECT_EQ(At<int32_t>(bytes, section + 4), 100000);          // exposure of record 0
  EXPECT_EQ(At<float>(bytes, section + 12 + 8 * 4), 1004.0f);  // raw[4]
  EXPECT_EQ(At<float>(bytes, section + 16 + 8 * 4), -1.0f);    // processed[4]
}

TEST(DataFile, RoundTripKeepsEveryStoredField) {
  auto doc = NewDocument();
  AddSensor(*doc, "SER00001");
  AddSensor(*doc, "SER00002", 200);
  AddRecords(*doc, 0, 4);
  AddRecords(*doc, 1, 2);
  doc->sensorTable.ledCount = 2;
  doc->sensorTable.ledChannels = {16, 8};
  doc->sensorTable.ledValues[1][7] = -42;
  doc->operationLog = "2019/05/10 14:03:22 検出 ＳＥＲ\r\n測定開始\r\n";
  const std::string bytes = Store(*doc);

  auto loaded = NewDocument();
  ASSERT_TRUE(Load(*loaded, bytes).ok());
  EXPECT_EQ(Store(*loaded), bytes);
  EXPECT_EQ(loaded->operationLog, doc->operationLog);
  EXPECT_EQ(loaded->Sensor(1).serialNo, "SER00002");
  EXPECT_EQ(loaded->Sensor(1).pixelCount, 200);
  EXPECT_EQ(loaded->recordCount[0], 4);
  EXPECT_EQ(loaded->Record(1, 1).spectra->rawSpectrum[199], 1202.0f);
  EXPECT_EQ(loaded->sensorTable.ledValues[1][7], -42);
}

// Bytes of every kind that the instruments' systems write: NEC row 13 and IBM extensions
// (which code page 932 decodes to characters it encodes otherwise), half-width katakana, and
// bytes it maps to no character (0x80, 0xA0, 0xFD-0xFF, a lead byte without a trail byte).
const std::string kEveryKindOfByte = "\x87\x90\xED\x40\xFA\x5C\xB1\xB2\x80\xA0\xFD\xFE\xFF\x81";

TEST(DataFile, TextsKeepTheirBytesThroughLoadAndStore) {
  auto doc = NewDocument();
  AddSensor(*doc, kEveryKindOfByte);
  doc->Sensor(0).kindName = "\xFF\xFF" + kEveryKindOfByte;
  doc->operationLog = "\x8C\x9F\x8F\x6F " + kEveryKindOfByte + "\r\n";
  const std::string bytes = Store(*doc);
  EXPECT_NE(bytes.find("\x0E" + kEveryKindOfByte), std::string::npos);
  auto loaded = NewDocument();
  ASSERT_TRUE(Load(*loaded, bytes).ok());
  EXPECT_EQ(loaded->Sensor(0).serialNo, kEveryKindOfByte);
  EXPECT_EQ(loaded->Sensor(0).kindName, doc->Sensor(0).kindName);
  EXPECT_EQ(loaded->operationLog, doc->operationLog);
  EXPECT_EQ(Store(*loaded), bytes);
}

TEST(DataFile, BytesAfterTheLogAreLeftOutWithAWarning) {
  const std::string bytes = StoreWithLog("log");
  auto doc = NewDocument();
  const DataFileResult result = Load(*doc, bytes + "junk");
  ASSERT_TRUE(result.ok()) << result.message;
  EXPECT_NE(result.warning.find("4 byte(s) after the end of the operation log"), std::string::npos)
      << result.warning;
  EXPECT_EQ(doc->operationLog, "log");
  EXPECT_EQ(Store(*doc), bytes);
  EXPECT_TRUE(Load(*doc, bytes).warning.empty());
}

TEST(DataFile, LengthPrefixFormsOnWriting) {
  EXPECT_EQ(StoreWithLog(LogOfLength(254)).substr(8, 1), "\xFE");
  EXPECT_EQ(StoreWithLog(LogOfLength(255)).substr(8, 3), "\xFF\xFF\x00"s);
  EXPECT_EQ(StoreWithLog(LogOfLength(65533)).substr(8, 3), "\xFF\xFD\xFF");
  EXPECT_EQ(StoreWithLog(LogOfLength(65534)).substr(8, 7), "\xFF\xFF\xFF\xFE\xFF\x00\x00"s);
  for (std::size_t n : {254u, 255u, 65533u, 65534u, 70000u}) {
    auto doc = NewDocument();
    ASSERT_TRUE(Load(*doc, StoreWithLog(LogOfLength(n))).ok()) << n;
    EXPECT_EQ(doc->operationLog.size(), n);
  }
}

std::string EmptyHeader() {
  return std::string(8, '\0');
}

TEST(DataFile, ReaderAcceptsLongAndWideForms) {
  struct Case {
    std::string prefixAndText;
    std::string expected;
  };
  const Case cases[] = {
      {"\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x02\0\0\0\0\0\0\0ok"s, "ok"},  // 64-bit length
      {"\xFF\xFF\xFF\x02\0\0\0ok"s, "ok"},                          // 32-bit below 65534
      {"\xFF\xFE\xFF\x03\xC6\x30\xB9\x30\xC8\x30"s, "\x83\x65\x83\x58\x83\x67"},  // テスト
      {"\xFF\xFE\xFF\xFF\x01\x00\x41\x00"s, "A"},  // wide, 16-bit count
  };
  for (const Case& c : cases) {
    auto doc = NewDocument();
    const DataFileResult result = Load(*doc, EmptyHeader() + c.prefixAndText);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(doc->operationLog, c.expected);
  }
}

TEST(DataFile, RefusesBadTexts) {
  struct Case {
    std::string tail;
    DataFileError error;
  };
  const Case cases[] = {
      {"\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x00\0\0\x80\0\0\0\0"s, DataFileError::kTextTooLong},
      {"\xFF\xFE\xFF\x01\x3D\xD8"s, DataFileError::kTextNotConvertible},  // lone surrogate
      {"\xFF\xFE\xFF\x03\x3D\xD8\x00\xDE"s, DataFileError::kTruncated},   // 3 units announced
      {"\xFF\xFE\xFF\x02\x3D\xD8\x00\xDE"s, DataFileError::kTextNotConvertible},  // emoji
      {"\x05"
       "abc"s,
       DataFileError::kTruncated},
      {"\xFF\x10"s, DataFileError::kTruncated},
  };
  for (const Case& c : cases) {
    auto doc = NewDocument();
    doc->operationLog = "before";
    const DataFileResult result = Load(*doc, EmptyHeader() + c.tail);
    EXPECT_EQ(result.error, c.error) << result.message;
    EXPECT_FALSE(result.message.empty());
    EXPECT_EQ(doc->operationLog, "before");
  }
}

TEST(DataFile, RefusesCountsBeyondCapacity) {
  auto doc = NewDocument();
  AddSensor(*doc, "A");
  const std::string good = Store(*doc);
  const std::size_t leds = good.size() - 9;
  auto patched = [&](std::size_t offset, int32_t value) {
    std::string bytes = good;
    std::memcpy(bytes.data() + offset, &value, 4);
    return bytes;
  };
  const std::pair<std::string, std::string> cases[] = {
      {patched(0, 11), "sensor count 11"},
      {patched(0, -1), "sensor count -1"},
      {patched(4, 289), "pixel count of sensor 0"},
      {patched(leds, 11), "LED unit count 11"},
      {patched(leds + 4, 86400), "record count of sensor 0"},
      {patched(leds + 4, -3), "record count of sensor 0"},
      {std::string(4, '\0') + "\x01\0\0\0\x21\0\0\0"s, "channel count of LED unit 0 33"},
  };
  for (const auto& [bytes, words] : cases) {
    auto target = NewDocument();
    const DataFileResult result = Load(*target, bytes);
    EXPECT_EQ(result.error, DataFileError::kCountBeyondCapacity) << words;
    EXPECT_NE(result.message.find(words), std::string::npos) << result.message;
    EXPECT_EQ(target->sensorTable.sensorCount, 0);
  }
}

TEST(DataFile, EveryTruncationIsRefusedAndLeavesTheDocumentAsItWas) {
  auto source = NewDocument();
  AddSensor(*source, "NEW", 4);
  AddRecords(*source, 0, 2);
  source->sensorTable.ledCount = 1;
  source->sensorTable.ledChannels[0] = 2;
  source->operationLog = "ログ";
  const std::string bytes = Store(*source);

  auto doc = NewDocument();
  AddSensor(*doc, "OLD");
  AddRecords(*doc, 0, 1);
  doc->operationLog = "old log";
  const std::string before = Store(*doc);
  for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
    const DataFileResult result = Load(*doc, bytes.substr(0, cut));
    ASSERT_EQ(result.error, DataFileError::kTruncated) << cut << ": " << result.message;
  }
  EXPECT_EQ(Store(*doc), before);
  EXPECT_TRUE(Load(*doc, bytes).ok());
  EXPECT_EQ(Store(*doc), bytes);
}

// A store larger than one read block (4 MiB), with a pixel count that the four-pixel steps do
// not divide and bit patterns that arithmetic would alter, comes back byte for byte; cuts
// around the first block boundary are still refused.
TEST(DataFile, LargeStoresRoundTripAcrossReadBlocks) {
  auto doc = NewDocument();
  AddSensor(*doc, "A", 7);
  AddSensor(*doc, "B");
  AddRecords(*doc, 0, 3);
  AddRecords(*doc, 1, 2000);  // about 4.6 MB
  const float quietNan = std::bit_cast<float>(0x7FC01234u);
  const float signallingNan = std::bit_cast<float>(0x7F800001u);
  doc->Record(0, 2).spectra->rawSpectrum[6] = signallingNan;
  doc->Record(1, 1999).spectra->processedSpectrum[287] = quietNan;
  doc->Record(1, 0).spectra->rawSpectrum[5] = -0.0f;
  const std::string bytes = Store(*doc);
  ASSERT_GT(bytes.size(), std::size_t{4} << 20);

  auto loaded = NewDocument();
  ASSERT_TRUE(Load(*loaded, bytes).ok());
  EXPECT_EQ(Store(*loaded), bytes);
  EXPECT_EQ(loaded->Record(0, 2).spectra->rawSpectrum[7], 0.0f);  // beyond the pixels

  const std::string before = Store(*loaded);
  for (std::size_t cut : {std::size_t{4} << 20, (std::size_t{4} << 20) + 1, bytes.size() - 2}) {
    ASSERT_EQ(Load(*loaded, bytes.substr(0, cut)).error, DataFileError::kTruncated) << cut;
  }
  EXPECT_EQ(Store(*loaded), before);
}

// With the input's size known, record memory is committed ahead of the reading on a helper
// thread; the loaded contents must be the same, and a cut or lying size must still refuse the
// file with the document unchanged (the helper stopped before the arenas are released).
DataFileResult LoadWithSize(Ctintrose_mfDoc& doc, const std::string& bytes, std::uint64_t size) {
  std::istringstream in(bytes);
  return detail::LoadDataFile(doc, in, size);
}

std::unique_ptr<Ctintrose_mfDoc> LargeDocument() {
  auto doc = NewDocument();
  AddSensor(*doc, "A", 7);
  AddSensor(*doc, "B");
  AddSensor(*doc, "C");
  AddRecords(*doc, 0, 1200);
  AddRecords(*doc, 1, 2500);
  AddRecords(*doc, 2, 1500);
  doc->Record(1, 2499).spectra->processedSpectrum[287] = std::bit_cast<float>(0x7FC01234u);
  return doc;
}

TEST(DataFileKnownSize, RoundTripsByteForByte) {
  const std::string bytes = Store(*LargeDocument());
  auto loaded = NewDocument();
  ASSERT_TRUE(LoadWithSize(*loaded, bytes, bytes.size()).ok());
  EXPECT_EQ(Store(*loaded), bytes);
  auto unsized = NewDocument();  // a size too small only commits less ahead
  ASSERT_TRUE(LoadWithSize(*unsized, bytes, 10).ok());
  EXPECT_EQ(Store(*unsized), bytes);
}

TEST(DataFileKnownSize, CutsAndLyingSizesAreRefusedWithTheDocumentUnchanged) {
  const std::string bytes = Store(*LargeDocument());
  auto doc = NewDocument();
  AddSensor(*doc, "OLD");
  AddRecords(*doc, 0, 3);
  const std::string before = Store(*doc);
  const std::size_t secondSensorRecords = bytes.size() - 1500 * kRecordBytes - 2500 * kRecordBytes;
  for (std::size_t cut : {secondSensorRecords, secondSensorRecords + 7, bytes.size() / 2,
                          bytes.size() - kRecordBytes, bytes.size() - 1}) {
    const std::string part = bytes.substr(0, cut);
    ASSERT_EQ(LoadWithSize(*doc, part, part.size()).error, DataFileError::kTruncated) << cut;
    ASSERT_EQ(LoadWithSize(*doc, part, bytes.size()).error, DataFileError::kTruncated) << cut;
  }
  EXPECT_EQ(Store(*doc), before);
}

// A count far beyond the data is refused; the memory committed ahead is bounded by the input's
// size, not by the count.
TEST(DataFileKnownSize, CountBeyondTheDataIsRefused) {
  auto source = NewDocument();
  AddSensor(*source, "A");
  AddRecords(*source, 0, 2000);
  std::string bytes = Store(*source);
  const std::size_t countAt = bytes.size() - 2000 * kRecordBytes - 5;
  const int32_t claimed = kMaxCommittedRecords;
  std::memcpy(bytes.data() + countAt, &claimed, 4);
  auto doc = NewDocument();
  EXPECT_EQ(LoadWithSize(*doc, bytes, bytes.size()).error, DataFileError::kTruncated);
  EXPECT_EQ(doc->sensorTable.sensorCount, 0);
}

TEST(DataFile, LoadingKeepsTheWorkingSlotsArrays) {
  auto doc = NewDocument();
  AddSensor(*doc, "A");
  AddRecords(*doc, 0, 1);
  doc->EnsureSpectra(0, 1).rawSpectrum[3] = 77.0f;  // working slot
  auto other = NewDocument();
  AddSensor(*other, "B");
  AddRecords(*other, 0, 1);
  ASSERT_TRUE(Load(*doc, Store(*other)).ok());
  EXPECT_EQ(doc->Record(0, 0).spectra->rawSpectrum[0], 1000.0f);
  EXPECT_EQ(doc->Record(0, 1).spectra->rawSpectrum[3], 77.0f);
}

TEST(DataFile, FieldsOutsideTheFileKeepTheirValues) {
  auto doc = NewDocument();
  AddSensor(*doc, "A");
  AddRecords(*doc, 0, 3);
  doc->RecordTime(0) = 1557464602;
  doc->skyBgdTable[0][5] = 7.0f;
  doc->sensorTable.mirrorCount = 2;
  auto other = NewDocument();
  AddSensor(*other, "B");
  AddRecords(*other, 0, 1);
  ASSERT_TRUE(Load(*doc, Store(*other)).ok());
  EXPECT_EQ(doc->RecordTime(0), 1557464602);
  EXPECT_EQ(doc->skyBgdTable[0][5], 7.0f);
  EXPECT_EQ(doc->sensorTable.mirrorCount, 2);
  EXPECT_EQ(doc->recordCount[0], 1);
  EXPECT_EQ(doc->Sensor(0).serialNo, "B");
  ASSERT_TRUE(doc->Record(0, 2).spectra);  // slot beyond the file's records is untouched
  EXPECT_EQ(doc->Record(0, 2).recordExposureUs, 300000);
}

TEST(DataFile, StoreRefusesAnInconsistentDocumentBeforeWriting) {
  auto doc = NewDocument();
  doc->sensorTable.sensorCount = kMaxSensors + 1;
  std::ostringstream out;
  const DataFileResult result = StoreDataFile(*doc, out);
  EXPECT_EQ(result.error, DataFileError::kInconsistentDocument);
  EXPECT_TRUE(out.str().empty());
}

using DataFileOnDisk = test::TempDirTest;

TEST_F(DataFileOnDisk, SaveAndOpenSetTitleAndModifiedFlag) {
  auto doc = NewDocument();
  AddSensor(*doc, "A");
  doc->modified = true;
  const auto path = dir_ / "run5.cvdata";
  ASSERT_TRUE(SaveDataFile(*doc, path).ok());
  EXPECT_FALSE(doc->modified);
  EXPECT_EQ(doc->title, "run5.cvdata");
  auto opened = NewDocument();
  opened->modified = true;
  ASSERT_TRUE(OpenDataFile(*opened, path).ok());
  EXPECT_EQ(opened->title, "run5.cvdata");
  EXPECT_FALSE(opened->modified);
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(DataFileOnDisk, FailedSaveKeepsThePreviousFile) {
  auto doc = NewDocument();
  doc->operationLog = "first";
  const auto path = dir_ / "keep.cvdata";
  ASSERT_TRUE(SaveDataFile(*doc, path).ok());
  doc->recordCount[0] = -1;
  doc->sensorTable.sensorCount = 1;
  doc->modified = true;
  EXPECT_FALSE(SaveDataFile(*doc, path).ok());
  EXPECT_TRUE(doc->modified);
  auto reread = NewDocument();
  ASSERT_TRUE(OpenDataFile(*reread, path).ok());
  EXPECT_EQ(reread->operationLog, "first");
  EXPECT_EQ(FilesInDir(), 1u);  // no temporary file left behind
}

TEST_F(DataFileOnDisk, OpenOfALargeFileRoundTripsAndRefusesACutCopy) {
  auto doc = LargeDocument();
  const auto path = dir_ / "large.cvdata";
  ASSERT_TRUE(SaveDataFile(*doc, path).ok());
  ASSERT_TRUE(SaveDataFile(*doc, path).ok());  // replacing the previous file
  auto opened = NewDocument();
  ASSERT_TRUE(OpenDataFile(*opened, path).ok());
  const std::string bytes = Store(*doc);
  EXPECT_EQ(Store(*opened), bytes);
  std::filesystem::resize_file(path, bytes.size() - 3);
  auto refused = NewDocument();
  EXPECT_EQ(OpenDataFile(*refused, path).error, DataFileError::kTruncated);
  EXPECT_EQ(refused->sensorTable.sensorCount, 0);
  EXPECT_EQ(FilesInDir(), 1u);
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Lengthens the operation log until the stored document is `bytes` long.
void SetStoredSize(Ctintrose_mfDoc& doc, std::size_t bytes) {
  doc.operationLog.clear();
  const std::size_t bare = Store(doc).size();
  ASSERT_GE(bytes, bare + 0xFF + 2);
  doc.operationLog = LogOfLength(bytes - bare - 2);  // the two-byte length form
  ASSERT_EQ(Store(doc).size(), bytes);
}

// A saved file holds exactly what StoreDataFile writes to a stream, whether it ends just
// before, at or just after a write-chunk boundary; saving over a longer file leaves nothing of
// it behind.
TEST_F(DataFileOnDisk, SavedFilesEqualTheStoredStreamAroundBlockBoundaries) {
  auto doc = NewDocument();
  AddSensor(*doc, "A");
  AddRecords(*doc, 0, 1790);
  doc->Record(0, 1789).spectra->processedSpectrum[287] = std::bit_cast<float>(0x7FC01234u);
  const auto path = dir_ / "boundaries.cvdata";
  std::vector<std::size_t> sizes;
  for (std::size_t boundary :
       {64 * detail::kWriteChunkBytes, 64 * detail::kWriteChunkBytes + 20000}) {
    for (std::size_t size : {boundary - 1, boundary, boundary + 1}) sizes.push_back(size);
  }
  for (std::size_t size : sizes) {
    SetStoredSize(*doc, size);
    ASSERT_TRUE(SaveDataFile(*doc, path).ok()) << size;
    ASSERT_EQ(ReadFile(path), Store(*doc)) << size;
  }
  auto small = NewDocument();
  for (std::size_t size : {std::size_t{4095}, std::size_t{4096}, std::size_t{4097}}) {
    SetStoredSize(*small, size);
    ASSERT_TRUE(SaveDataFile(*small, path).ok()) << size;
    ASSERT_EQ(ReadFile(path), Store(*small)) << size;
  }
  EXPECT_EQ(FilesInDir(), 1u);
}

TEST_F(DataFileOnDisk, MissingFilesAndFoldersAreReported) {
  auto doc = NewDocument();
  EXPECT_EQ(SaveDataFile(*doc, dir_ / "no" / "x.cvdata").error, DataFileError::kOpenFailed);
  EXPECT_EQ(OpenDataFile(*doc, dir_ / "absent.cvdata").error, DataFileError::kOpenFailed);
  std::ofstream(dir_ / "short.cvdata") << "\x01";
  const DataFileResult result = OpenDataFile(*doc, dir_ / "short.cvdata");
  EXPECT_EQ(result.error, DataFileError::kTruncated);
  EXPECT_NE(result.message.find("short.cvdata"), std::string::npos);
  EXPECT_EQ(doc->title, kUntitledTitle);
}

}  // namespace
}  // namespace chromiva::data
