// Fails a test binary's run when any component wrote a control it does not own.
#include <gtest/gtest.h>

#include "chromiva/acquisition/control_owners.h"

namespace {

class RefusedWritesFail : public ::testing::Environment {
 public:
  void TearDown() override {
    EXPECT_EQ(chromiva::acquisition::TakeRefusedControlWrites(), 0)
        << "a component wrote a control it does not own";
  }
};

[[maybe_unused]] auto* const guard = ::testing::AddGlobalTestEnvironment(new RefusedWritesFail);

}  // namespace
