#include "transport/sim_transport.h"

#include <chrono>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "env.h"
#include "instrument_factory.h"
#include "log.h"
#include "sim_device.h"

namespace wrenlink {
namespace {

using sim::SimDevice;

class SimConnection : public Connection {
 public:
  explicit SimConnection(std::shared_ptr<SimDevice> device) : device_(std::move(device)) {}

  int ReadDeviceDescriptor(std::uint8_t* buffer, int length) override {
    if (!device_->Connected()) return 0;
    auto descriptor = device_->Descriptor();
    int count = std::min(length, static_cast<int>(descriptor.size()));
    std::memcpy(buffer, descriptor.data(), static_cast<std::size_t>(count));
    return count;
  }

  int BulkWrite(const std::uint8_t* data, int length, int) override {
    return device_->Receive(data, static_cast<std::size_t>(length)) ? length : 0;
  }

  int BulkRead(std::uint8_t* buffer, int length, int timeoutMs) override {
    sim::Bytes reply;
    bool gone = false;
    if (!device_->TakeReply(reply, gone)) {
      // A silent instrument makes the read wait out its timeout; a vanished one fails at once.
      if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(timeoutMs));
      return 0;
    }
    int count = std::min(length, static_cast<int>(reply.size()));
    if (count > 0) std::memcpy(buffer, reply.data(), static_cast<std::size_t>(count));
    return count;
  }

  double ExposureSpeed() const override { return device_->ExposureSpeed(); }

 private:
  std::shared_ptr<SimDevice> device_;
};

class SimTransport : public Transport {
 public:
  FindResult FindDevicePath(int n, std::string& path) override {
    std::lock_guard<std::mutex> lock(mutex_);
    auto specs = sim::ParseInstrumentList(EnvText("WRENLINK_SIMULATOR").value_or(""));
    std::set<std::string> listed;
    for (const auto& spec : specs) listed.insert(KeyOf(spec));
    for (auto& [key, device] : devices_) device->SetPresent(listed.count(key) != 0);
    int present = 0;
    for (const auto& spec : specs) {
      std::string key = KeyOf(spec);
      auto device = DeviceFor(key, spec);
      if (!device || !device->Connected()) continue;
      if (present++ == n) {
        path = "sim:" + key;
        return FindResult::kFound;
      }
    }
    return FindResult::kNoDevice;
  }

  std::unique_ptr<Connection> Open(const std::string& path) override {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = devices_.find(path.substr(4));
    if (path.rfind("sim:", 0) != 0 || found == devices_.end()) return nullptr;
    return std::make_unique<SimConnection>(found->second);
  }

  void SleepMs(int milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }

 private:
  // An instrument is known by its name and serial number (or its place among namesakes when
  // it has none) and by its other options, so a list that changes an option plugs in a
  // different instrument.
  static std::string KeyOf(const sim::InstrumentSpec& spec) {
    std::string key = spec.name + "/";
    key += spec.HasOption("serial") ? spec.Option("serial") : std::to_string(spec.occurrence);
    for (const auto& [name, value] : spec.options) {
      if (name != "serial") key += ":" + name + (value.empty() ? "" : "=" + value);
    }
    return key;
  }

  std::shared_ptr<SimDevice> DeviceFor(const std::string& key, const sim::InstrumentSpec& spec) {
    auto found = devices_.find(key);
    if (found != devices_.end()) return found->second;
    auto instrument = sim::CreateInstrument(spec);  // reports what it cannot make
    if (!instrument) return nullptr;
    auto device =
        std::make_shared<SimDevice>(std::move(instrument), sim::FaultOptions::FromSpec(spec));
    devices_.emplace(key, device);
    return device;
  }

  std::mutex mutex_;
  std::map<std::string, std::shared_ptr<SimDevice>> devices_;
};

}  // namespace

Transport& SimulatorTransport() {
  // Never destroyed: open slots may still hold connections when the process exits.
  static auto* transport = [] {
    sim::SetProblemSink([](const std::string& text) { WarnOnce("sim", "%s", text.c_str()); });
    return new SimTransport;
  }();
  return *transport;
}

}  // namespace wrenlink
