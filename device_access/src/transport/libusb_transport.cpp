#include "transport/libusb_transport.h"

#include <libusb.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "env.h"
#include "log.h"

namespace wrenlink {
namespace {

struct Candidate {
  std::uint8_t bus = 0;
  std::vector<std::uint8_t> ports;
  int interfaceNumber = 0;
  std::string path;
};

std::string FormatPath(std::uint8_t bus, const std::vector<std::uint8_t>& ports, int iface,
                       const libusb_device_descriptor& descriptor) {
  std::string path = "usb:" + std::to_string(bus) + "-";
  for (std::size_t i = 0; i < ports.size(); ++i) {
    if (i > 0) path += ".";
    path += std::to_string(ports[i]);
  }
  char ids[16];
  std::snprintf(ids, sizeof ids, " %04x:%04x", descriptor.idVendor, descriptor.idProduct);
  return path + ":" + std::to_string(iface) + ids;
}

// Interfaces whose first alternate setting has bulk endpoints 0x01 (OUT) and 0x81 (IN).
std::vector<int> InstrumentInterfaces(libusb_device* device) {
  std::vector<int> found;
  libusb_config_descriptor* config = nullptr;
  if (libusb_get_active_config_descriptor(device, &config) != 0 &&
      libusb_get_config_descriptor(device, 0, &config) != 0) {
    return found;
  }
  for (int i = 0; i < config->bNumInterfaces; ++i) {
    if (config->interface[i].num_altsetting < 1) continue;
    const libusb_interface_descriptor& alt = config->interface[i].altsetting[0];
    bool out = false, in = false;
    for (int e = 0; e < alt.bNumEndpoints; ++e) {
      const libusb_endpoint_descriptor& ep = alt.endpoint[e];
      if ((ep.bmAttributes & 0x03) != LIBUSB_TRANSFER_TYPE_BULK) continue;
      out = out || ep.bEndpointAddress == kEndpointOut;
      in = in || ep.bEndpointAddress == kEndpointIn;
    }
    if (out && in) found.push_back(alt.bInterfaceNumber);
  }
  libusb_free_config_descriptor(config);
  return found;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::set<UsbId> ConfiguredIds() {
  std::string text = EnvText("WRENLINK_USB_IDS").value_or("");
  text += "\n" + ReadTextFile("/etc/wrenlink/devices.conf");
  if (auto config = EnvText("XDG_CONFIG_HOME")) {
    text += "\n" + ReadTextFile(*config + "/wrenlink/devices.conf");
  } else if (auto home = EnvText("HOME")) {
    text += "\n" + ReadTextFile(*home + "/.config/wrenlink/devices.conf");
  }
  return ParseUsbIdList(text);
}

// The MS OS 2.0 descriptor set, found through the platform capability of the BOS descriptor.
std::vector<std::uint8_t> MsOs20DescriptorSet(libusb_device_handle* handle) {
  static const std::uint8_t kMsOs20Uuid[16] = {0xDF, 0x60, 0xDD, 0xD8, 0x89, 0x45, 0xC7, 0x4C,
                                               0x9C, 0xD2, 0x65, 0x9D, 0x9E, 0x64, 0x8A, 0x9F};
  std::vector<std::uint8_t> set;
  libusb_bos_descriptor* bos = nullptr;
  if (libusb_get_bos_descriptor(handle, &bos) != 0) return set;
  for (int i = 0; i < bos->bNumDeviceCaps && set.empty(); ++i) {
    const libusb_bos_dev_capability_descriptor* cap = bos->dev_capability[i];
    // Platform capability: reserved byte, UUID, Windows version, set length, vendor code.
    if (cap->bDevCapabilityType != 0x05 || cap->bLength < 28) continue;
    const std::uint8_t* data = cap->dev_capability_data;
    if (std::memcmp(data + 1, kMsOs20Uuid, 16) != 0) continue;
    std::uint16_t length = static_cast<std::uint16_t>(data[21] | (data[22] << 8));
    set.resize(length);
    int got = libusb_control_transfer(handle, 0xC0, data[23], 0, 7, set.data(), length, 1000);
    set.resize(static_cast<std::size_t>(std::max(got, 0)));
  }
  libusb_free_bos_descriptor(bos);
  return set;
}

// The MS OS 1.0 extended properties of an interface, found through string descriptor 0xEE.
std::vector<std::uint8_t> MsOs10Properties(libusb_device_handle* handle, int iface) {
  std::uint8_t signature[18] = {};
  int got = libusb_get_string_descriptor(handle, 0xEE, 0, signature, sizeof signature);
  std::vector<std::uint8_t> properties;
  const std::vector<std::uint8_t> raw(signature, signature + std::max(got, 0));
  if (got < 17 || !ContainsUtf16Text(raw, "MSFT100")) return properties;
  properties.resize(4096);
  got = libusb_control_transfer(handle, 0xC1, signature[16], static_cast<std::uint16_t>(iface << 8),
                                5, properties.data(), 4096, 1000);
  properties.resize(static_cast<std::size_t>(std::max(got, 0)));
  return properties;
}

bool AnnouncesInterfaceGuid(libusb_device* device, int iface) {
  libusb_device_handle* handle = nullptr;
  if (libusb_open(device, &handle) != 0) return false;
  bool announces = ContainsUtf16Text(MsOs20DescriptorSet(handle), kDeviceInterfaceGuid) ||
                   ContainsUtf16Text(MsOs10Properties(handle, iface), kDeviceInterfaceGuid);
  libusb_close(handle);
  return announces;
}

class LibusbConnection : public Connection {
 public:
  LibusbConnection(libusb_device_handle* handle, int iface, libusb_device_descriptor descriptor)
      : handle_(handle), interface_(iface), descriptor_(descriptor) {}
  ~LibusbConnection() override {
    libusb_release_interface(handle_, interface_);
    libusb_close(handle_);
  }
  LibusbConnection(const LibusbConnection&) = delete;
  LibusbConnection& operator=(const LibusbConnection&) = delete;

  int ReadDeviceDescriptor(std::uint8_t* buffer, int length) override {
    // The operating system keeps the descriptor it read when the device was attached.
    static_assert(sizeof(libusb_device_descriptor) == kDeviceDescriptorLength);
    int count = std::min(length, kDeviceDescriptorLength);
    std::memcpy(buffer, &descriptor_, static_cast<std::size_t>(count));
    return count;
  }

  int BulkWrite(const std::uint8_t* data, int length, int timeoutMs) override {
    return Transfer(kEndpointOut, const_cast<std::uint8_t*>(data), length, timeoutMs);
  }

  int BulkRead(std::uint8_t* buffer, int length, int timeoutMs) override {
    return Transfer(kEndpointIn, buffer, length, timeoutMs);
  }

 private:
  int Transfer(std::uint8_t endpoint, std::uint8_t* data, int length, int timeoutMs) {
    int moved = 0;
    int result = libusb_bulk_transfer(handle_, endpoint, data, length, &moved,
                                      static_cast<unsigned>(std::max(timeoutMs, 1)));
    if (result == 0 || result == LIBUSB_ERROR_OVERFLOW) return moved;
    Log("libusb", "transfer on 0x%02x: %s", endpoint, libusb_error_name(result));
    return 0;  // a timed-out or failed transfer counts 0 bytes
  }

  libusb_device_handle* handle_;
  int interface_;
  libusb_device_descriptor descriptor_;
};

class UsbTransport : public Transport {
 public:
  FindResult FindDevicePath(int n, std::string& path) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!Initialise()) return FindResult::kFailed;
    auto candidates = Enumerate(nullptr, nullptr);
    if (n < 0 || n >= static_cast<int>(candidates.size())) return FindResult::kNoDevice;
    path = candidates[static_cast<std::size_t>(n)].path;
    return FindResult::kFound;
  }

  std::unique_ptr<Connection> Open(const std::string& path) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!Initialise()) return nullptr;
    libusb_device* device = nullptr;
    libusb_device** list = nullptr;
    auto candidates = Enumerate(&list, &device, &path);
    std::unique_ptr<Connection> connection;
    if (device != nullptr) connection = OpenInterface(device, chosenInterface_);
    if (list != nullptr) libusb_free_device_list(list, 1);
    return connection;
  }

  void SleepMs(int milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }

 private:
  bool Initialise() {
    if (context_ != nullptr) return true;
    int result = libusb_init(&context_);
    if (result != 0) {
      Log("libusb", "cannot initialise: %s", libusb_error_name(result));
      context_ = nullptr;
      return false;
    }
    return true;
  }

  // Lists the instrument interfaces in bus, port and interface order. With `wanted`, also
  // finds the device behind that path (the list stays allocated for the caller to free).
  std::vector<Candidate> Enumerate(libusb_device*** keepList, libusb_device** match,
                                   const std::string* wanted = nullptr) {
    libusb_device** list = nullptr;
    ssize_t count = libusb_get_device_list(context_, &list);
    if (count < 0) {
      Log("libusb", "cannot list devices: %s", libusb_error_name(static_cast<int>(count)));
      return {};
    }
    std::vector<Candidate> candidates;
    std::vector<libusb_device*> owners;
    const auto ids = ConfiguredIds();
    for (ssize_t i = 0; i < count; ++i) AddCandidates(list[i], ids, candidates, owners);
    std::vector<std::size_t> order(candidates.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      const Candidate& x = candidates[a];
      const Candidate& y = candidates[b];
      return std::tie(x.bus, x.ports, x.interfaceNumber) <
             std::tie(y.bus, y.ports, y.interfaceNumber);
    });
    std::vector<Candidate> sorted;
    for (std::size_t i : order) {
      if (wanted != nullptr && match != nullptr && candidates[i].path == *wanted) {
        *match = owners[i];
        chosenInterface_ = candidates[i].interfaceNumber;
      }
      sorted.push_back(candidates[i]);
    }
    if (keepList != nullptr) {
      *keepList = list;
    } else if (list != nullptr) {
      libusb_free_device_list(list, 1);
    }
    return sorted;
  }

  void AddCandidates(libusb_device* device, const std::set<UsbId>& ids,
                     std::vector<Candidate>& candidates, std::vector<libusb_device*>& owners) {
    libusb_device_descriptor descriptor{};
    if (libusb_get_device_descriptor(device, &descriptor) != 0) return;
    bool listed = ids.count({descriptor.idVendor, descriptor.idProduct}) != 0;
    std::uint8_t ports[8] = {};
    int depth = libusb_get_port_numbers(device, ports, sizeof ports);
    for (int iface : InstrumentInterfaces(device)) {
      if (!listed && !AnnouncesInterfaceGuid(device, iface)) continue;
      Candidate candidate;
      candidate.bus = libusb_get_bus_number(device);
      candidate.ports.assign(ports, ports + std::max(depth, 0));
      candidate.interfaceNumber = iface;
      candidate.path = FormatPath(candidate.bus, candidate.ports, iface, descriptor);
      candidates.push_back(std::move(candidate));
      owners.push_back(device);
    }
  }

  std::unique_ptr<Connection> OpenInterface(libusb_device* device, int iface) {
    libusb_device_descriptor descriptor{};
    libusb_get_device_descriptor(device, &descriptor);
    libusb_device_handle* handle = nullptr;
    int result = libusb_open(device, &handle);
    if (result != 0) {
      Log("libusb", "open: %s", libusb_error_name(result));
      return nullptr;
    }
    libusb_set_auto_detach_kernel_driver(handle, 1);
    result = libusb_claim_interface(handle, iface);
    if (result != 0) {
      Log("libusb", "claim interface %d: %s", iface, libusb_error_name(result));
      libusb_close(handle);
      return nullptr;
    }
    return std::make_unique<LibusbConnection>(handle, iface, descriptor);
  }

  std::mutex mutex_;
  libusb_context* context_ = nullptr;
  int chosenInterface_ = 0;
};

}  // namespace

std::set<UsbId> ParseUsbIdList(const std::string& text) {
  std::set<UsbId> ids;
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    line = line.substr(0, line.find('#'));
    for (char& c : line) {
      if (c == ',' || c == '\t' || c == '\r') c = ' ';
    }
    std::istringstream words(line);
    std::string word;
    while (words >> word) {
      unsigned vendor = 0, product = 0;
      char extra = 0;
      if (word.size() == 9 &&
          std::sscanf(word.c_str(), "%4x:%4x%c", &vendor, &product, &extra) == 2) {
        ids.insert({static_cast<std::uint16_t>(vendor), static_cast<std::uint16_t>(product)});
      }
    }
  }
  return ids;
}

bool ContainsUtf16Text(const std::vector<std::uint8_t>& blob, const std::string& text) {
  const std::size_t span = text.size() * 2;
  if (text.empty() || blob.size() < span) return false;
  for (std::size_t start = 0; start + span <= blob.size(); ++start) {
    bool same = true;
    for (std::size_t i = 0; i < text.size() && same; ++i) {
      auto low = static_cast<unsigned char>(blob[start + 2 * i]);
      same = blob[start + 2 * i + 1] == 0 &&
             std::toupper(low) == std::toupper(static_cast<unsigned char>(text[i]));
    }
    if (same) return true;
  }
  return false;
}

Transport& LibusbTransport() {
  // Never destroyed: open slots may still hold device handles when the process exits.
  static auto* transport = new UsbTransport;
  return *transport;
}

}  // namespace wrenlink
