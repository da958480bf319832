#include <gtest/gtest.h>

#include <cstdlib>
#include <stdexcept>

#include "test_support.h"

namespace chromiva::data {
namespace {

using test::AddRecords;
using test::AddSensor;
using test::NewDocument;

class LocalTimeTokyo : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "JST-9", 1);
    tzset();
  }
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
