// Polled readouts of the simulated spectrometer on the real clock, counted on the wire: the
// status polls of a 100 ms exposure against the fixed 10 ms cadence, and the waits of an
// instrument whose exposures run 100 times faster.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../scoped_env.h"
#include "transport/sim_transport.h"
#include "wrenlink.h"

namespace wrenlink::testing {
namespace {

// The simulator with a tap: it counts the status requests and records the library's waits.
class TappedSimulator : public Transport {
 public:
  TappedSimulator() { SetTransportOverride(this); }
  ~TappedSimulator() override {
    CloseDevice(0);
    SetTransportOverride(nullptr);
  }
  TappedSimulator(const TappedSimulator&) = delete;
  TappedSimulator& operator=(const TappedSimulator&) = delete;

  int statusPolls = 0;
  std::vector<int> sleepsMs;

  FindResult FindDevicePath(int n, std::string& path) override {
    return SimulatorTransport().FindDevicePath(n, path);
  }
  std::unique_ptr<Connection> Open(const std::string& path) override {
    auto inner = SimulatorTransport().Open(path);
    if (!inner) return nullptr;
    return std::make_unique<Tap>(std::move(inner), statusPolls);
  }
  void SleepMs(int milliseconds) override {
    sleepsMs.push_back(milliseconds);
    SimulatorTransport().SleepMs(milliseconds);
  }

 private:
  class Tap : public Connection {
   public:
    Tap(std::unique_ptr<Connection> inner, int& statusPolls)
        : inner_(std::move(inner)), statusPolls_(statusPolls) {}
    int ReadDeviceDescriptor(std::uint8_t* buffer, int length) override {
      return inner_->ReadDeviceDescriptor(buffer, length);
    }
    int BulkWrite(const std::uint8_t* data, int length, int timeoutMs) override {
      if (length == 2 && data[0] == 0x53) ++statusPolls_;
      return inner_->BulkWrite(data, length, timeoutMs);
    }
    int BulkRead(std::uint8_t* buffer, int length, int timeoutMs) override {
      return inner_->BulkRead(buffer, length, timeoutMs);
    }
    double ExposureSpeed() const override { return inner_->ExposureSpeed(); }

   private:
    std::unique_ptr<Connection> inner_;
    int& statusPolls_;
  };
};

struct Readout {
  int received = 0;
  int statusPolls = 0;
  int sleptMs = 0;
};

// One readout of a spectrometer of `serial` (its own instance, made at the current speed);
// the exposure is set through the library first unless it is negative.
Readout ReadOnce(const char* serial, double exposureUs) {
  const std::string list = std::string("spectrometer:exposure=100000:serial=") + serial;
  chromiva::test::ScopedEnv simulator("WRENLINK_SIMULATOR", list.c_str());
  TappedSimulator bus;
  EXPECT_EQ(DetectDevice(0), 1);
  if (exposureUs >= 0) SetDeviceExposure(0, exposureUs);
  std::vector<std::uint8_t> samples(576);
  Readout readout;
  readout.received = GetDeviceData(0, samples.data());
  readout.statusPolls = bus.statusPolls;
  for (int ms : bus.sleepsMs) readout.sleptMs += ms;
  return readout;
}

TEST(ReadoutPace, HundredMillisecondExposureCostsNoMorePollsThanTheTenMsCadence) {
  chromiva::test::ScopedEnv speed("WRENLINK_SIM_SPEED", "1");
  Readout before;
  {
    chromiva::test::ScopedEnv cadence("WRENLINK_TEN_MS_POLL", "1");
    before = ReadOnce("PACE0001", 100000);
  }
  const Readout set = ReadOnce("PACE0001", 100000);
  const Readout unknown = ReadOnce("PACE0002", -1);  // its power-up exposure, 100 ms
  for (const Readout& r : {before, set, unknown}) EXPECT_EQ(r.received, 576);
  EXPECT_GE(before.statusPolls, 9);
  EXPECT_LE(set.statusPolls, before.statusPolls);
  EXPECT_LE(unknown.statusPolls, before.statusPolls + 4);
}

TEST(ReadoutPace, SimulatorAtSpeedHundredIsNotSlowedDown) {
  chromiva::test::ScopedEnv speed("WRENLINK_SIM_SPEED", "100");
  const Readout readout = ReadOnce("PACE0100", 1000000);  // 1 s: 10 ms on the clock
  EXPECT_EQ(readout.received, 576);
  EXPECT_LE(readout.statusPolls, 3);
  EXPECT_GE(readout.sleptMs, 10);
  EXPECT_LE(readout.sleptMs, 12);
}

}  // namespace
}  // namespace wrenlink::testing
