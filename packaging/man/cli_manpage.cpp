// Writes the manual page chromiva-cli(1) from the command table that `--help` prints.
#include "commands.h"
#include "environment.h"

namespace {

using chromiva::cli::Command;
using chromiva::cli::OptionHelp;
using chromiva::manpage::Page;

void WriteCommand(Page& page, const Command& command) {
  page.Subsection(command.name);
  page.Synopsis("chromiva-cli", command.usage);
  page.Paragraph();
  page.Text(command.summary);
  for (const OptionHelp& option : command.options) page.Item(option.option, option.text);
}

void WritePage(Page& page) {
  page.Title("chromiva-cli", CHROMIVA_VERSION);
  page.Section("NAME");
  page.Text("chromiva-cli - measure with USB spectrometers, export and plot data files");
  page.Section("SYNOPSIS");
  page.Synopsis("chromiva-cli", "[--language ja|en] COMMAND [OPTIONS]");
  page.Synopsis("chromiva-cli", "help COMMAND");
  page.Synopsis("chromiva-cli", "--version");
  page.Section("DESCRIPTION");
  page.Text(
      "The headless front end of Chromiva: it drives the window's form logic from the command "
      "line. Guidance lines go to standard error; questions are answered OK with --yes and "
      "Cancel otherwise. Ctrl-C or SIGTERM stops a run between transfers; a second one ends at "
      "once (measure saves what is committed first).");
  page.Section("GLOBAL OPTIONS");
  page.Text("Before or after the command's name.");
  for (const OptionHelp& option : chromiva::cli::GlobalOptionTable()) {
    page.Item(option.option, option.text);
  }
  page.Section("COMMANDS");
  for (const Command& command : chromiva::cli::CommandTable()) WriteCommand(page, command);
  chromiva::manpage::WriteEnvironmentAndFiles(page);
  page.Section("EXIT STATUS");
  for (const OptionHelp& status : chromiva::cli::ExitStatusTable()) {
    page.Item(status.option, status.text);
  }
  page.Section("SEE ALSO");
  page.Text("chromiva(1)");
}

}  // namespace

int main(int argc, char** argv) {
  return chromiva::manpage::WritePageFile(argc, argv, WritePage);
}
