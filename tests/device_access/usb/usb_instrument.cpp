#include "usb_instrument.h"

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace wrenlink::usbtest {
namespace {

constexpr std::uint8_t kEndpointOut = 0x01;
constexpr std::uint8_t kEndpointIn = 0x81;

// Capabilities of a current Linux host: libusb then sends each transfer as one URB.
constexpr std::uint32_t kCapabilities =
    USBDEVFS_CAP_ZERO_PACKET | USBDEVFS_CAP_BULK_CONTINUATION | USBDEVFS_CAP_NO_PACKET_SIZE_LIM |
    USBDEVFS_CAP_BULK_SCATTER_GATHER | USBDEVFS_CAP_REAP_AFTER_DISCONNECT;

// Upper case: umockdev's parser of N: lines takes no other.
std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  char pair[3];
  for (std::uint8_t byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02X", byte);
    text += pair;
  }
  return text;
}

// A sysfs text attribute as the kernel writes it, ending in a newline. (A: lines of the
// record cannot carry that newline, and libusb warns about attributes without one.)
std::string TextAttribute(const std::string& name, const std::string& value) {
  std::string line = value + "\n";
  return "H: " + name + "=" + Hex(std::vector<std::uint8_t>(line.begin(), line.end())) + "\n";
}

void Complete(UMockdevIoctlClient* client, long result, int error) {
  umockdev_ioctl_client_complete(client, result, result < 0 ? error : 0);
}

// The memory the ioctl argument points to, `length` bytes of it; null when unreadable.
UMockdevIoctlData* ResolveArgument(UMockdevIoctlClient* client, std::size_t length) {
  GError* error = nullptr;
  UMockdevIoctlData* data =
      umockdev_ioctl_data_resolve(umockdev_ioctl_client_get_arg(client), 0, length, &error);
  if (error != nullptr) {
    g_printerr("usb instrument: cannot read an ioctl argument: %s\n", error->message);
    g_clear_error(&error);
  }
  return data;
}

// The unsigned int an ioctl argument points to (an interface or endpoint number).
bool ReadUnsignedArgument(UMockdevIoctlClient* client, unsigned& value) {
  UMockdevIoctlData* data = ResolveArgument(client, sizeof value);
  if (data == nullptr) return false;
  std::memcpy(&value, data->data, sizeof value);
  g_object_unref(data);
  return true;
}

}  // namespace

std::vector<std::uint8_t> InstrumentDescriptors(const std::array<std::uint8_t, 18>& device) {
  std::vector<std::uint8_t> bytes(device.begin(), device.end());
  // clang-format off
  const std::uint8_t configuration[] = {
      9, 2, 32, 0, 1, 1, 0, 0x80, 50,              // one interface, bus powered, 100 mA
      9, 4, 0, 0, 2, 0xFF, 0, 0, 0,                // interface 0: vendor-specific, 2 endpoints
      7, 5, kEndpointOut, 0x02, kMaxPacket, 0, 0,  // bulk OUT
      7, 5, kEndpointIn, 0x02, kMaxPacket, 0, 0,   // bulk IN
  };
  // clang-format on
  bytes.insert(bytes.end(), std::begin(configuration), std::end(configuration));
  return bytes;
}

std::string DeviceNode(int devnum) {
  char node[32];
  std::snprintf(node, sizeof node, "/dev/bus/usb/001/%03d", devnum);
  return node;
}

std::string DeviceRecord(int port, int devnum, const std::vector<std::uint8_t>& descriptors) {
  const std::string hex = Hex(descriptors);
  const std::string node = DeviceNode(devnum);
  char ids[16];
  std::snprintf(ids, sizeof ids, "%02x%02x:%02x%02x", descriptors[9], descriptors[8],
                descriptors[11], descriptors[10]);
  const std::string id(ids);
  std::ostringstream record;
  record << "P: /devices/pci0000:00/0000:00:14.0/usb1/1-" << port << "\n"
         << "N: " << node.substr(std::strlen("/dev/")) << "=" << hex << "\n"
         << "E: DEVNAME=" << node << "\n"
         << "E: DEVTYPE=usb_device\n"
         << "E: SUBSYSTEM=usb\n"
         << "E: BUSNUM=001\n"
         << "E: DEVNUM=" << node.substr(node.size() - 3) << "\n"
         << TextAttribute("busnum", "1") << TextAttribute("devnum", std::to_string(devnum))
         << TextAttribute("speed", "12") << TextAttribute("bConfigurationValue", "1")
         << TextAttribute("bNumInterfaces", " 1") << TextAttribute("idVendor", id.substr(0, 4))
         << TextAttribute("idProduct", id.substr(5)) << "H: descriptors=" << hex << "\n";
  return record.str();
}

void ReplyStream::Push(sim::Bytes reply) {
  replies_.push_back(std::move(reply));
}

int ReplyStream::Fill(std::uint8_t* buffer, int length, bool& overflow) {
  overflow = false;
  if (replies_.empty()) return 0;
  const sim::Bytes& reply = replies_.front();
  int filled = 0;
  while (offset_ < reply.size()) {
    int packet = static_cast<int>(std::min<std::size_t>(kMaxPacket, reply.size() - offset_));
    int copied = std::min(packet, length - filled);
    if (copied > 0) std::memcpy(buffer + filled, reply.data() + offset_, copied);
    filled += copied;
    offset_ += static_cast<std::size_t>(packet);
    if (copied < packet) {  // the rest of that packet is lost, as on the wire
      overflow = true;
      break;
    }
    if (packet < kMaxPacket || filled == length) break;
  }
  if (offset_ >= reply.size()) {
    replies_.pop_front();
    offset_ = 0;
  }
  return filled;
}

UsbInstrument::UsbInstrument(std::unique_ptr<sim::SimDevice> device) : device_(std::move(device)) {}

UsbInstrument::~UsbInstrument() {
  for (Urb& urb : urbs_) Release(urb);
  g_clear_object(&claimedBy_);
  if (handler_ != nullptr) {
    g_signal_handlers_disconnect_by_data(handler_, this);
    g_object_unref(handler_);
  }
}

bool UsbInstrument::Attach(UMockdevTestbed* testbed, const std::string& devnode, GError** error) {
  handler_ = umockdev_ioctl_base_new();
  g_signal_connect_data(handler_, "handle-ioctl", reinterpret_cast<GCallback>(&OnIoctl), this,
                        nullptr, static_cast<GConnectFlags>(0));
  return umockdev_testbed_attach_ioctl(testbed, devnode.c_str(), handler_, error);
}

gboolean UsbInstrument::OnIoctl(UMockdevIoctlBase*, UMockdevIoctlClient* client, gpointer self) {
  static_cast<UsbInstrument*>(self)->HandleIoctl(client);
  return TRUE;
}

void UsbInstrument::HandleIoctl(UMockdevIoctlClient* client) {
  DropVanishedClients();
  unsigned value = 0;
  const gulong request = umockdev_ioctl_client_get_request(client);
  switch (request) {
    case USBDEVFS_GET_CAPABILITIES: {
      UMockdevIoctlData* data = ResolveArgument(client, sizeof kCapabilities);
      if (data == nullptr) return Complete(client, -1, EFAULT);
      std::memcpy(data->data, &kCapabilities, sizeof kCapabilities);
      Complete(client, 0, 0);
      g_object_unref(data);
      return;
    }
    case USBDEVFS_CLAIMINTERFACE:
    case USBDEVFS_DISCONNECT_CLAIM:  // begins with the interface number
    case USBDEVFS_RELEASEINTERFACE:
      // The instrument has one interface; any other number is refused as the kernel does.
      if (!ReadUnsignedArgument(client, value)) return Complete(client, -1, EFAULT);
      if (value != 0) return Complete(client, -1, ENOENT);
      return Claim(client, request != USBDEVFS_RELEASEINTERFACE);
    case USBDEVFS_RESETEP:
    case USBDEVFS_CLEAR_HALT:
      if (!ReadUnsignedArgument(client, value)) return Complete(client, -1, EFAULT);
      return Complete(client, value == kEndpointOut || value == kEndpointIn ? 0 : -1, ENOENT);
    case USBDEVFS_SETCONFIGURATION:
    case USBDEVFS_SETINTERFACE:
    case USBDEVFS_RESET:
      return Complete(client, 0, 0);
    case USBDEVFS_GETDRIVER:
    case USBDEVFS_IOCTL:
      // No kernel driver is bound, so there is none to name, detach or reattach.
      return Complete(client, -1, ENODATA);
    case USBDEVFS_SUBMITURB:
      return Submit(client);
    case USBDEVFS_REAPURB:
    case USBDEVFS_REAPURBNDELAY:
      // libusb reaps only without waiting; a blocking reap gets the same answer.
      return Reap(client);
    case USBDEVFS_DISCARDURB:
      return Discard(client);
    default:
      return Complete(client, -1, ENOTTY);
  }
}

void UsbInstrument::Claim(UMockdevIoctlClient* client, bool claim) {
  if (claim) {
    if (claimedBy_ != nullptr && claimedBy_ != client) return Complete(client, -1, EBUSY);
    if (claimedBy_ == nullptr) {
      claimedBy_ = static_cast<UMockdevIoctlClient*>(g_object_ref(client));
    }
    return Complete(client, 0, 0);
  }
  if (claimedBy_ != client) return Complete(client, -1, EINVAL);
  g_clear_object(&claimedBy_);
  Complete(client, 0, 0);
}

void UsbInstrument::Submit(UMockdevIoctlClient* client) {
  if (!device_->Connected()) return Complete(client, -1, ENODEV);
  UMockdevIoctlData* header = ResolveArgument(client, sizeof(usbdevfs_urb));
  if (header == nullptr) return Complete(client, -1, EFAULT);
  auto* request = reinterpret_cast<usbdevfs_urb*>(header->data);
  Urb urb;
  urb.client = static_cast<UMockdevIoctlClient*>(g_object_ref(client));
  urb.header = header;
  urb.in = (request->endpoint & 0x80) != 0;
  const int length = std::max(request->buffer_length, 0);
  if (length > 0) {
    GError* error = nullptr;
    urb.buffer = umockdev_ioctl_data_resolve(header, offsetof(usbdevfs_urb, buffer),
                                             static_cast<gsize>(length), &error);
    if (urb.buffer == nullptr) {
      g_clear_error(&error);
      Release(urb);
      return Complete(client, -1, EFAULT);
    }
  }
  if (request->type != USBDEVFS_URB_TYPE_BULK ||
      (request->endpoint != kEndpointOut && request->endpoint != kEndpointIn)) {
    // Control requests and unknown pipes: the instrument stalls them.
    urb.finished = true;
    urb.status = -EPIPE;
  } else if (!urb.in) {
    const std::uint8_t* data = urb.buffer != nullptr ? urb.buffer->data : nullptr;
    if (!device_->Receive(data, static_cast<std::size_t>(length))) {
      Release(urb);
      return Complete(client, -1, ENODEV);
    }
    urb.finished = true;
    urb.actualLength = length;
  }
  urbs_.push_back(urb);
  Complete(client, 0, 0);
}

void UsbInstrument::DeliverReplies() {
  for (Urb& urb : urbs_) {
    if (!urb.in || urb.finished) continue;
    sim::Bytes reply;
    bool gone = false;
    while (replies_.Empty() && device_->TakeReply(reply, gone)) replies_.Push(std::move(reply));
    if (replies_.Empty()) {
      if (!gone) return;  // this and every later IN transfer wait
      urb.finished = true;
      urb.status = -ESHUTDOWN;
      continue;
    }
    bool overflow = false;
    int length = urb.buffer != nullptr ? urb.buffer->data_len : 0;
    urb.actualLength =
        urb.buffer != nullptr ? replies_.Fill(urb.buffer->data, length, overflow) : 0;
    urb.status = overflow ? -EOVERFLOW : 0;
    urb.finished = true;
  }
}

void UsbInstrument::Reap(UMockdevIoctlClient* client) {
  DeliverReplies();
  auto mine = [client](const Urb& urb) { return urb.client == client; };
  auto found = std::find_if(urbs_.begin(), urbs_.end(),
                            [&](const Urb& urb) { return mine(urb) && urb.finished; });
  if (found == urbs_.end()) {
    bool waiting = std::any_of(urbs_.begin(), urbs_.end(), mine);
    return Complete(client, -1, waiting || device_->Connected() ? EAGAIN : ENODEV);
  }
  UMockdevIoctlData* slot = ResolveArgument(client, sizeof(void*));
  if (slot == nullptr) return Complete(client, -1, EFAULT);
  Urb urb = *found;
  urbs_.erase(found);
  auto* header = reinterpret_cast<usbdevfs_urb*>(urb.header->data);
  header->status = urb.status;
  header->actual_length = urb.actualLength;
  // Points the client's URB pointer at its own URB; completing writes the URB and its
  // buffer back into the client.
  umockdev_ioctl_data_set_ptr(slot, 0, urb.header);
  Complete(client, 0, 0);
  g_object_unref(slot);
  Release(urb);
}

void UsbInstrument::Discard(UMockdevIoctlClient* client) {
  // The argument is the URB's address in the client.
  gulong address = 0;
  UMockdevIoctlData* arg = umockdev_ioctl_client_get_arg(client);
  std::memcpy(&address, arg->data, std::min<std::size_t>(sizeof address, arg->data_len));
  for (Urb& urb : urbs_) {
    if (urb.client != client || urb.header->client_addr != address) continue;
    if (urb.finished) break;  // too late to cancel; it is waiting to be reaped
    urb.finished = true;
    urb.status = -ENOENT;
    urb.actualLength = 0;
    return Complete(client, 0, 0);
  }
  Complete(client, -1, EINVAL);
}

void UsbInstrument::DropVanishedClients() {
  // Closing the device node ends its claim and its transfers.
  if (claimedBy_ != nullptr && !umockdev_ioctl_client_get_connected(claimedBy_)) {
    g_clear_object(&claimedBy_);
  }
  for (auto urb = urbs_.begin(); urb != urbs_.end();) {
    if (umockdev_ioctl_client_get_connected(urb->client)) {
      ++urb;
      continue;
    }
    Release(*urb);
    urb = urbs_.erase(urb);
  }
}

void UsbInstrument::Release(Urb& urb) {
  if (urb.buffer != nullptr) g_object_unref(urb.buffer);
  if (urb.header != nullptr) g_object_unref(urb.header);
  if (urb.client != nullptr) g_object_unref(urb.client);
  urb = Urb{};
}

}  // namespace wrenlink::usbtest
