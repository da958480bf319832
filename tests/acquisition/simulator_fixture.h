// A document, a test port and the form's logic over simulated instruments.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "../scoped_env.h"
#include "test_port.h"
#include "wrenlink.h"

namespace chromiva::acquisition::testing {

class SimulatorTest : public ::testing::Test {
 protected:
  // Put back after every test, however it ended; tests set the simulator list and the trace.
  chromiva::test::ScopedEnv speed_{"WRENLINK_SIM_SPEED", "1000"};
  chromiva::test::ScopedEnv tz_{"TZ", "UTC"};
  chromiva::test::ScopedEnv simulator_{"WRENLINK_SIMULATOR", nullptr};
  chromiva::test::ScopedEnv trace_{"WRENLINK_TRACE", nullptr};

  void SetUp() override { form = std::make_unique<FormLogic>(document, port); }

  void TearDown() override {
    form.reset();
    for (int index = 0; index < 10; ++index) CloseDevice(index);
  }

  void Plug(const char* list) { setenv("WRENLINK_SIMULATOR", list, 1); }

  void DetectWith(const char* list) {
    Plug(list);
    form->OnControlClicked(control::kDetect);
  }

  // Starts a measurement, stops it right after `passes` passes have finished (each finished
  // pass redraws the graph once) and lets the timers run out.
  void MeasurePasses(int passes) {
    const int drawsBefore = port.graphDraws;
    form->OnControlClicked(control::kStartStop);
    while (port.graphDraws - drawsBefore < passes) {
      ASSERT_TRUE(port.FireNext(*form));
      port.Settle(*form);
    }
    form->OnControlClicked(control::kStartStop);
    port.RunTimers(*form);
  }

  data::Ctintrose_mfDoc document;
  TestPort port;
  std::unique_ptr<FormLogic> form;
};

}  // namespace chromiva::acquisition::testing
