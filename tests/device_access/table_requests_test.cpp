// The calibration-table requests of the public header, built by a C translation unit.
#include <gtest/gtest.h>

#include <vector>

#include "wrenlink.h"

extern "C" int TableReadFromC(unsigned char* request, int table, int number);
extern "C" int TableWriteFromC(unsigned char* request, int table, int step, int element,
                               float value);

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Sent(const unsigned char* request, int length) {
  return Bytes(request, request + length);
}

TEST(TableRequests, ReadsCarryTheLetterAndTheElementOrStep) {
  unsigned char request[WRENLINK_TABLE_REQUEST_BYTES];
  EXPECT_EQ(Sent(request, TableReadFromC(request, WRENLINK_TABLE_WAVELENGTH, 0x0123)),
            (Bytes{0x58, 0x04, 0x23, 0x01}));
  EXPECT_EQ(Sent(request, TableReadFromC(request, WRENLINK_TABLE_DARK, 20)),
            (Bytes{0x5A, 0x04, 20, 0}));
  Bytes white(64, 0);
  white[0] = 0x57;
  white[1] = 0x02;
  EXPECT_EQ(Sent(request, TableReadFromC(request, WRENLINK_TABLE_WHITE, 7)), white);
}

TEST(TableRequests, WritesUseTheLowerCaseLetter) {
  unsigned char request[WRENLINK_TABLE_REQUEST_BYTES];
  // 1.0f is 00 00 80 3F little-endian.
  EXPECT_EQ(Sent(request, TableWriteFromC(request, WRENLINK_TABLE_DARK, 3, 0x0120, 1.0F)),
            (Bytes{0x7A, 0x0A, 3, 0, 0x20, 0x01, 0x00, 0x00, 0x80, 0x3F}));
  Bytes sensitivity(64, 0);
  sensitivity = {0x79, 0x08, 0x20, 0x01, 0x00, 0x00, 0x80, 0x3F};
  sensitivity.resize(64, 0);
  EXPECT_EQ(Sent(request, TableWriteFromC(request, WRENLINK_TABLE_SENSITIVITY, 9, 0x0120, 1.0F)),
            sensitivity);
}

}  // namespace
