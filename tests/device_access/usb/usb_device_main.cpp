// Runs a client program against virtual instruments on an emulated USB bus.
//
//   wrenlink_usb_device <instrument list> <client> [client arguments...]
//
// The instrument list has the simulator's form ("spectrometer:serial=AB000001,spectrometer");
// the instruments sit on bus 1 at root ports 1, 2, ... in list order. The client runs with
// umockdev's preload library, sees only the emulated bus, finds the instruments through
// WRENLINK_USB_IDS and never the simulator. The exit status is the client's (128 + signal
// when it was killed); a client still running after the deadline is killed and fails.
#include <spawn.h>
#include <sys/wait.h>
#include <umockdev.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "instrument_factory.h"
#include "sim_options.h"
#include "usb_instrument.h"

extern char** environ;

namespace {

using wrenlink::usbtest::UsbInstrument;

constexpr int kFirstDeviceNumber = 2;  // 1 is the root hub
constexpr auto kClientDeadline = std::chrono::seconds(120);
constexpr const char* kPreload = "libumockdev-preload.so.0";

std::string UsbIdText(const std::array<std::uint8_t, 18>& descriptor) {
  char text[16];
  std::snprintf(text, sizeof text, "%02x%02x:%02x%02x", descriptor[9], descriptor[8],
                descriptor[11], descriptor[10]);
  return text;
}

// The client's environment: ours, with the preload library first in LD_PRELOAD, the
// instruments' ids in WRENLINK_USB_IDS and no simulator. A client built with AddressSanitizer
// must then accept that its runtime is not the first library loaded.
std::vector<std::string> ClientEnvironment(const std::string& usbIds) {
  std::vector<std::string> entries;
  std::string preload = kPreload;
  std::string asanOptions = "verify_asan_link_order=0";
  for (char** entry = environ; *entry != nullptr; ++entry) {
    std::string text = *entry;
    std::string name = text.substr(0, text.find('='));
    std::string value = text.substr(std::min(text.size(), name.size() + 1));
    if (name == "LD_PRELOAD") {
      if (!value.empty()) preload += " " + value;
    } else if (name == "ASAN_OPTIONS") {
      if (!value.empty()) asanOptions = value + ":" + asanOptions;
    } else if (name != "WRENLINK_SIMULATOR" && name != "WRENLINK_USB_IDS") {
      entries.push_back(text);
    }
  }
  entries.push_back("LD_PRELOAD=" + preload);
  entries.push_back("ASAN_OPTIONS=" + asanOptions);
  entries.push_back("WRENLINK_USB_IDS=" + usbIds);
  return entries;
}

int RunClient(char** argv, const std::vector<std::string>& environment) {
  std::vector<char*> envp;
  for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
  envp.push_back(nullptr);
  pid_t pid = 0;
  int failed = posix_spawn(&pid, argv[0], nullptr, nullptr, argv, envp.data());
  if (failed != 0) {
    std::fprintf(stderr, "usb device: cannot start %s: %s\n", argv[0], std::strerror(failed));
    return 1;
  }
  const auto deadline = std::chrono::steady_clock::now() + kClientDeadline;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      std::fprintf(stderr, "usb device: %s still running after %lld s, killing it\n", argv[0],
                   static_cast<long long>(kClientDeadline.count()));
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s <instrument list> <client> [client arguments...]\n", argv[0]);
    return 2;
  }
  // The instruments start from their factory state, whatever the caller's environment keeps.
  unsetenv("WRENLINK_SIM_STATE");
  auto specs = wrenlink::sim::ParseInstrumentList(argv[1]);
  if (specs.empty()) {
    std::fprintf(stderr, "usb device: no instruments in \"%s\"\n", argv[1]);
    return 2;
  }
  std::vector<std::unique_ptr<UsbInstrument>> instruments;
  std::set<std::string> ids;
  for (const auto& spec : specs) {
    auto model = wrenlink::sim::CreateInstrument(spec);
    if (!model) {
      std::fprintf(stderr, "usb device: unknown instrument \"%s\"\n", spec.name.c_str());
      return 2;
    }
    auto device = std::make_unique<wrenlink::sim::SimDevice>(
        std::move(model), wrenlink::sim::FaultOptions::FromSpec(spec));
    ids.insert(UsbIdText(device->Descriptor()));
    instruments.push_back(std::make_unique<UsbInstrument>(std::move(device)));
  }

  // The testbed must exist before the client initialises libusb.
  UMockdevTestbed* testbed = umockdev_testbed_new();
  int result = 1;
  bool ready = true;
  // Added last port first, so that the order the client reports comes from its sorting.
  for (std::size_t i = instruments.size(); i-- > 0 && ready;) {
    const int devnum = kFirstDeviceNumber + static_cast<int>(i);
    const auto descriptors =
        wrenlink::usbtest::InstrumentDescriptors(instruments[i]->Device().Descriptor());
    const std::string record =
        wrenlink::usbtest::DeviceRecord(static_cast<int>(i) + 1, devnum, descriptors);
    GError* error = nullptr;
    ready = umockdev_testbed_add_from_string(testbed, record.c_str(), &error) &&
            instruments[i]->Attach(testbed, wrenlink::usbtest::DeviceNode(devnum), &error);
    if (!ready) {
      std::fprintf(stderr, "usb device: cannot emulate instrument %zu: %s\n", i,
                   error != nullptr ? error->message : "unknown error");
      g_clear_error(&error);
    }
  }
  if (ready) {
    std::string idList;
    for (const std::string& id : ids) idList += (idList.empty() ? "" : ",") + id;
    result = RunClient(argv + 2, ClientEnvironment(idList));
  }
  g_object_unref(testbed);
  return result;
}
