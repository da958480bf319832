// The environment variables and files that both programs' manual pages describe.
#pragma once

#include <iterator>

#include "roff.h"

namespace chromiva::manpage {

struct Entry {
  const char* term;
  const char* text;
};

inline constexpr Entry kEnvironment[] = {
    {"WRENLINK_SIMULATOR",
     "use simulated instruments instead of USB: a comma-separated list in index order, such as "
     "spectrometer,spectrometer,led16,mirror; each entry may carry colon-separated options "
     "(serial=, exposure=, light=on|off, noreply=, short=, disconnect=)"},
    {"WRENLINK_SIM_SPEED",
     "simulated exposures elapse this many times faster (0.001 to 1000000, default 1)"},
    {"WRENLINK_SIM_STATE",
     "a folder where the simulated instruments keep their EEPROM and calibration tables "
     "between runs"},
    {"WRENLINK_TIMEOUT_MS",
     "the USB transfer timeout in milliseconds (1 to 3600000, default 12000)"},
    {"WRENLINK_TRACE", "a file to which one line per USB transfer is appended"},
    {"WRENLINK_LOG", "diagnostics of the device library: 1 for standard error, or a file name"},
    {"WRENLINK_USB_IDS", "more vvvv:pppp ids of instruments to accept on USB"},
    {"XDG_DATA_HOME",
     "the data folder: the journals of running recordings are kept in "
     "$XDG_DATA_HOME/chromiva/journals (default ~/.local/share/chromiva/journals)"},
    {"XDG_CONFIG_HOME", "the folder of the user's settings (default ~/.config)"},
    {"QT_QPA_PLATFORM", "offscreen: draw without a display"}};

inline constexpr Entry kFiles[] = {
    {"/etc/wrenlink/devices.conf",
     "the vendor:product ids of the instruments accepted on USB, for all users"},
    {"~/.config/wrenlink/devices.conf", "more ids, for one user"},
    {"/usr/lib/udev/rules.d/70-wrenlink.rules",
     "gives the listed instruments to the logged-in user and the plugdev group"}};

inline void WriteEntries(Page& page, const char* section, const Entry* begin, const Entry* end) {
  page.Section(section);
  for (const Entry* entry = begin; entry != end; ++entry) page.Item(entry->term, entry->text);
}

inline void WriteEnvironmentAndFiles(Page& page) {
  WriteEntries(page, "ENVIRONMENT", std::begin(kEnvironment), std::end(kEnvironment));
  WriteEntries(page, "FILES", std::begin(kFiles), std::end(kFiles));
}

}  // namespace chromiva::manpage
