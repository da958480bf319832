#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "transport/transport.h"

namespace wrenlink {

// Real instruments through libusb. An instrument is an interface with a bulk OUT endpoint
// 0x01 and a bulk IN endpoint 0x81 on a device that is either listed by vendor:product id
// (WRENLINK_USB_IDS, /etc/wrenlink/devices.conf, ~/.config/wrenlink/devices.conf) or announces
// the instruments' device-interface GUID in its Microsoft OS descriptors. Interfaces are
// numbered in bus, port-path and interface order; the device path reads
// "usb:<bus>-<port.port...>:<interface> <vendor>:<product>".
Transport& LibusbTransport();

using UsbId = std::pair<std::uint16_t, std::uint16_t>;

// Parses "vvvv:pppp" entries separated by commas, blanks or line ends; '#' starts a comment.
// Malformed entries are skipped.
std::set<UsbId> ParseUsbIdList(const std::string& text);

// Whether `blob` holds `text` as UTF-16LE, ignoring the case of ASCII letters.
bool ContainsUtf16Text(const std::vector<std::uint8_t>& blob, const std::string& text);

inline constexpr const char* kDeviceInterfaceGuid = "0FAF8E02-A6B6-489A-9D26-58BDE8BE15AC";

}  // namespace wrenlink
