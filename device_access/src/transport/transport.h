// The platform operations that Wrenlink needs, behind one small interface: find the n-th
// instrument interface, open it, read its device descriptor, move bulk transfers on the fixed
// endpoints 0x01 and 0x81, close it (by destroying the connection), sleep and tell the time.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace wrenlink {

inline constexpr std::uint8_t kEndpointOut = 0x01;
inline constexpr std::uint8_t kEndpointIn = 0x81;
inline constexpr int kDeviceDescriptorLength = 18;

enum class FindResult { kFound, kNoDevice, kFailed };

class Connection {
 public:
  virtual ~Connection() = default;
  // Copies up to `length` bytes of the device descriptor; returns the count received.
  virtual int ReadDeviceDescriptor(std::uint8_t* buffer, int length) = 0;
  // One bulk OUT transfer to 0x01; returns the bytes moved (0 on failure or timeout).
  virtual int BulkWrite(const std::uint8_t* data, int length, int timeoutMs) = 0;
  // One bulk IN transfer of at most `length` bytes from 0x81; returns the bytes received.
  // A transfer that times out counts 0 bytes.
  virtual int BulkRead(std::uint8_t* buffer, int length, int timeoutMs) = 0;
  // How many times faster than its nominal length an exposure of this instrument elapses
  // (simulated instruments may run faster); the readiness poll scales its waits by it.
  virtual double ExposureSpeed() const { return 1.0; }
};

class Transport {
 public:
  virtual ~Transport() = default;
  // Takes a fresh look at the present instruments and gives the path of the n-th one.
  virtual FindResult FindDevicePath(int n, std::string& path) = 0;
  // Opens the instrument at `path`; null when it cannot be opened.
  virtual std::unique_ptr<Connection> Open(const std::string& path) = 0;
  virtual void SleepMs(int milliseconds) = 0;
  // Microseconds on a monotonic clock: the readiness poll measures its waits with it.
  virtual std::int64_t ClockUs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::microseconds>(now).count();
  }
};

// The transport that a detection uses: the test override when one is set, the simulator
// when WRENLINK_SIMULATOR is set, otherwise libusb.
Transport& TransportForDetection();

// Makes every later detection use `transport` (null restores the normal choice). For tests.
void SetTransportOverride(Transport* transport);

}  // namespace wrenlink
