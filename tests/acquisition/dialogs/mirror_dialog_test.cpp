// The mirror dialog: 16-bit position, the step buttons and "set".
#include <gtest/gtest.h>

#include <vector>

#include "chromiva/acquisition/dialogs/mirror_dialog.h"

namespace chromiva::acquisition::dialogs {
namespace {

using namespace mirror_ids;

class MirrorDialogTest : public ::testing::Test {
 protected:
  MirrorDialog dialog{7, [this](int index, int position) {
                        EXPECT_EQ(index, 7);
                        sent.push_back(position);
                      }};
  std::vector<int> sent;
};

TEST_F(MirrorDialogTest, OpensAtZeroAndStepsDown) {
  EXPECT_EQ(dialog.controls().Text(kPosition), "0");
  dialog.Clicked(kMinus);
  EXPECT_EQ(dialog.controls().Text(kPosition), "-1000");
  EXPECT_EQ(sent, std::vector<int>{64536});
}

TEST_F(MirrorDialogTest, StepsUpWrapPastTheSignedRange) {
  for (int press = 0; press < 33; ++press) dialog.Clicked(kPlus);
  EXPECT_EQ(dialog.controls().Text(kPosition), "-32536");
  EXPECT_EQ(sent.back(), 33000);
}

TEST_F(MirrorDialogTest, SetSendsTheLow16BitsAndKeepsThePosition) {
  dialog.EditChanged("5000");
  dialog.Clicked(kSet);
  dialog.Clicked(kPlus);
  dialog.EditChanged("70000");
  dialog.Clicked(kSet);
  dialog.EditChanged("x");
  dialog.Clicked(kSet);
  dialog.Clicked(kOk);
  EXPECT_EQ(sent, (std::vector<int>{5000, 1000, 4464, 0}));
}

TEST(MirrorDialogRules, ReadingTheEditAndTheDeviceList) {
  EXPECT_EQ(ParseLeadingInteger("  -12abc"), -12);
  EXPECT_EQ(ParseLeadingInteger("+7"), 7);
  EXPECT_EQ(ParseLeadingInteger("abc"), 0);
  EXPECT_EQ(ParseLeadingInteger("99999999999999999999"), 2147483647);
  EXPECT_TRUE(OpensMirrorDialog("M-MIRROR"));
  EXPECT_FALSE(OpensMirrorDialog("LED16ch"));
}

}  // namespace
}  // namespace chromiva::acquisition::dialogs
