#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>
#include <utility>
#include <vector>

#include "../scoped_env.h"
#include "test_support.h"

namespace chromiva::data {
namespace {

using test::AddRecords;
using test::AddSensor;
using test::NewDocument;

class LocalTimeTokyo : public ::testing::Test {
 protected:
  chromiva::test::ScopedEnv tz_{"TZ", "JST-9"};
};

constexpr std::time_t kMay10At140322Tokyo = 1557464602;

TEST(Document, NewDocumentStartsEmpty) {
  auto doc = NewDocument();
  EXPECT_EQ(doc->sensorTable.sensorCount, 0);
  EXPECT_EQ(doc->Sensor(9).pixelCount, 288);
  EXPECT_EQ(doc->sensorTable.ledChannels[9], 32);
  EXPECT_EQ(doc->title, "無題");
  EXPECT_FALSE(doc->Record(9, kRecordSlots - 1).spectra);
  EXPECT_EQ(doc->RecordTime(kRecordSlots - 1), 0);
  EXPECT_THROW(doc->Record(0, kRecordSlots), std::out_of_range);
  EXPECT_THROW(doc->Record(kMaxSensors, 0), std::out_of_range);
}

TEST(Document, SlotsKeepTheirArraysUntilCleared) {
  auto doc = NewDocument();
  AddSensor(*doc, "A");
  AddRecords(*doc, 0, 2);
  const RecordSpectra* first = &doc->EnsureSpectra(0, 1);
  EXPECT_EQ(&doc->EnsureSpectra(0, 1), first);
  doc->RecordTime(1) = 77;
  doc->ClearRecords();
  EXPECT_EQ(doc->recordCount[0], 0);
  EXPECT_FALSE(doc->Record(0, 0).spectra);
  EXPECT_EQ(doc->RecordTime(1), 77);
  EXPECT_EQ(doc->Record(0, 1).recordExposureUs, 200000);
  EXPECT_EQ(doc->Sensor(0).serialNo, "A");
  EXPECT_EQ(doc->EnsureSpectra(0, 0).rawSpectrum[0], 0.0f);  // allocated anew, zeroed
}

// Each slot's arrays have a place of their own: filling one record completely, up to the last
// slot of the last sensor, leaves its neighbours zero, and a slot keeps its place until cleared.
TEST(Document, RecordArraysDoNotOverlapAndKeepTheirPlace) {
  auto doc = NewDocument();
  const int last = kRecordSlots - 1;
  for (const auto& [k, r] : {std::pair{0, 0}, {0, 2}, {kMaxSensors - 1, last}}) {
    RecordSpectra& spectra = doc->EnsureSpectra(k, r);
    spectra.rawSpectrum.fill(1.0f);
    spectra.processedSpectrum.fill(2.0f);
  }
  const RecordSpectra& between = doc->EnsureSpectra(0, 1);
  EXPECT_EQ(between.rawSpectrum.front(), 0.0f);
  EXPECT_EQ(between.processedSpectrum.back(), 0.0f);
  EXPECT_EQ(doc->EnsureSpectra(kMaxSensors - 1, last - 1).processedSpectrum.back(), 0.0f);
  EXPECT_EQ(doc->EnsureSpectra(1, 0).rawSpectrum.front(), 0.0f);  // other sensor, same record
  EXPECT_EQ(doc->Record(0, 2).spectra, &doc->EnsureSpectra(0, 2));
  EXPECT_EQ(doc->Record(0, 2).spectra->processedSpectrum.back(), 2.0f);
  EXPECT_EQ(doc->EnsureSpectra(kMaxSensors - 1, last).processedSpectrum.back(), 2.0f);

  doc->ClearRecords();
  EXPECT_EQ(doc->EnsureSpectra(0, 2).rawSpectrum.front(), 0.0f);
  EXPECT_EQ(doc->EnsureSpectra(kMaxSensors - 1, last).processedSpectrum.back(), 0.0f);
}

TEST(Document, ReplacedRecordsTakeTheirArenaAndLaterSlotsKeepTheirArrays) {
  auto doc = NewDocument();
  doc->EnsureSpectra(0, 0).rawSpectrum[0] = 5.0f;
  doc->EnsureSpectra(0, 3).rawSpectrum[0] = 8.0f;  // beyond the replaced records
  RecordArena arena;
  std::vector<RecordSlot> loaded(2);
  loaded[1].recordExposureUs = 42;
  loaded[1].spectra = arena.Place(1);
  loaded[1].spectra->processedSpectrum.fill(3.0f);
  doc->ReplaceRecords(0, loaded, std::move(arena));
  EXPECT_FALSE(doc->Record(0, 0).spectra);
  EXPECT_EQ(doc->Record(0, 1).recordExposureUs, 42);
  EXPECT_EQ(doc->Record(0, 1).spectra->processedSpectrum.back(), 3.0f);
  EXPECT_EQ(doc->Record(0, 3).spectra->rawSpectrum[0], 8.0f);
  EXPECT_EQ(&doc->EnsureSpectra(0, 3), doc->Record(0, 3).spectra);
  EXPECT_EQ(doc->EnsureSpectra(0, 0).rawSpectrum[0], 0.0f);  // allocated anew
  doc->ReplaceRecords(0, {}, RecordArena{});                 // nothing loaded: all stays
  EXPECT_EQ(doc->Record(0, 3).spectra->rawSpectrum[0], 8.0f);
}

TEST_F(LocalTimeTokyo, UntitledDocumentIsNamedAfterSerialsAndTime) {
  auto doc = NewDocument();
  AddSensor(*doc, "A");
  AddSensor(*doc, "B");
  doc->NameUntitledDocument(kMay10At140322Tokyo);
  EXPECT_EQ(doc->title, "A_B_20190510_140322");
  doc->title = "untitled-3";
  doc->NameUntitledDocument(kMay10At140322Tokyo);
  EXPECT_EQ(doc->title, "A_B_20190510_140322");
  doc->title = "run5";
  doc->NameUntitledDocument(kMay10At140322Tokyo);
  EXPECT_EQ(doc->title, "run5");
}

}  // namespace
}  // namespace chromiva::data
