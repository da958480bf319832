// A virtual instrument on an emulated USB bus: umockdev provides the sysfs entry and the
// /dev/bus/usb node, and this class answers the usbdevfs ioctls that libusb issues on that
// node. Bulk OUT transfers to 0x01 go to the instrument model as requests; bulk IN transfers
// from 0x81 are completed with its replies, packet by packet as a full-speed device sends
// them. An IN transfer with no reply to give stays pending until libusb discards it, which is
// how a silent instrument makes the client's transfers time out.
#pragma once

#include <umockdev.h>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "sim_device.h"

namespace wrenlink::usbtest {

inline constexpr int kMaxPacket = 64;  // bulk endpoints of a full-speed device

// The device descriptor followed by one configuration holding one vendor-specific interface
// with bulk endpoints 0x01 (OUT) and 0x81 (IN).
std::vector<std::uint8_t> InstrumentDescriptors(const std::array<std::uint8_t, 18>& device);

// The umockdev-record text of a full-speed device on bus 1 at root port `port`, with USB
// device number `devnum`.
std::string DeviceRecord(int port, int devnum, const std::vector<std::uint8_t>& descriptors);

// The device node that DeviceRecord creates for `devnum`.
std::string DeviceNode(int devnum);

// Splits replies into the transfers a bulk IN endpoint delivers: a transfer takes whole
// packets until it is full or a reply ends (the instrument ends every reply with a short or
// zero-length packet). A packet larger than the room left overflows the transfer; what is
// left of a reply after a full transfer waits for the next one.
class ReplyStream {
 public:
  void Push(sim::Bytes reply);
  bool Empty() const { return replies_.empty(); }
  // Fills at most `length` bytes; returns the count and sets `overflow`.
  int Fill(std::uint8_t* buffer, int length, bool& overflow);

 private:
  std::deque<sim::Bytes> replies_;
  std::size_t offset_ = 0;  // into replies_.front()
};

class UsbInstrument {
 public:
  explicit UsbInstrument(std::unique_ptr<sim::SimDevice> device);
  ~UsbInstrument();
  UsbInstrument(const UsbInstrument&) = delete;
  UsbInstrument& operator=(const UsbInstrument&) = delete;

  const sim::SimDevice& Device() const { return *device_; }

  // Answers the ioctls on `devnode` of `testbed` from now on.
  bool Attach(UMockdevTestbed* testbed, const std::string& devnode, GError** error);

 private:
  // One submitted URB, held until the client reaps it. The objects are references of ours.
  struct Urb {
    UMockdevIoctlClient* client = nullptr;
    UMockdevIoctlData* header = nullptr;  // the struct usbdevfs_urb
    UMockdevIoctlData* buffer = nullptr;  // its data; null for an empty transfer
    bool in = false;
    bool finished = false;
    int status = 0;
    int actualLength = 0;
  };

  static gboolean OnIoctl(UMockdevIoctlBase* base, UMockdevIoctlClient* client, gpointer self);
  void HandleIoctl(UMockdevIoctlClient* client);
  void Submit(UMockdevIoctlClient* client);
  void Reap(UMockdevIoctlClient* client);
  void Discard(UMockdevIoctlClient* client);
  // Claims and releases interface 0 for one open file, refusing a second as the kernel does.
  void Claim(UMockdevIoctlClient* client, bool claim);
  // Completes waiting IN transfers, oldest first, from the instrument's replies.
  void DeliverReplies();
  void DropVanishedClients();
  static void Release(Urb& urb);

  std::unique_ptr<sim::SimDevice> device_;
  UMockdevIoctlBase* handler_ = nullptr;
  // Touched only on umockdev's ioctl thread, which serves every device of the testbed.
  std::deque<Urb> urbs_;
  ReplyStream replies_;
  UMockdevIoctlClient* claimedBy_ = nullptr;  // a reference of ours
};

}  // namespace wrenlink::usbtest
