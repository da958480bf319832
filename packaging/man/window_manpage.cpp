// Writes the manual page chromiva(1) from the option table that `chromiva --help` prints.
#include "application.h"
#include "environment.h"

namespace {

using chromiva::manpage::Page;
using chromiva::ui::StartOptionHelp;

void WritePage(Page& page) {
  page.Title("chromiva", CHROMIVA_VERSION);
  page.Section("NAME");
  page.Text("chromiva - measure, record and export spectra of USB spectrometers");
  page.Section("SYNOPSIS");
  const std::string usage = chromiva::ui::kStartUsage;
  page.Synopsis("chromiva", usage.substr(usage.find(' ') + 1));
  page.Section("DESCRIPTION");
  page.Text(
      "Opens the measurement window: detect up to ten spectrometers, measure once, continuously "
      "or at an interval, see the corrected spectrum with statistics or CIE colour, browse the "
      "records, save data files and export CSV. One instance runs per user and display; a "
      "second start ends at once. The settings live in ~/.config/Chromiva/chromiva.ini.");
  page.Section("OPTIONS");
  for (const StartOptionHelp& option : chromiva::ui::StartOptionTable()) {
    page.Item(option.option, option.text);
  }
  chromiva::manpage::WriteEnvironmentAndFiles(page);
  page.Section("EXIT STATUS");
  for (const StartOptionHelp& status : chromiva::ui::StartExitStatusTable()) {
    page.Item(status.option, status.text);
  }
  page.Section("SEE ALSO");
  page.Text("chromiva-cli(1)");
}

}  // namespace

int main(int argc, char** argv) {
  return chromiva::manpage::WritePageFile(argc, argv, WritePage);
}
