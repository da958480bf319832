#include "commands.h"

namespace chromiva::cli {
namespace {

using Lines = std::vector<OptionHelp>;

// The CSV options that `export` and `measure --csv` share.
const Lines kCsvLines = {
    {"--format original|tidy",
     "original: the CSV dialog's layout (default); tidy: one row per record and wavelength, "
     "with a header, in UTF-8"},
    {"--start NM", "first wavelength (340 to 850, default 340)"},
    {"--end NM", "last wavelength (340 to 850, default 850)"},
    {"--step NM", "wavelength step (default 10)"},
    {"--target 0|1|2|3",
     "0 light source, 1 reflectance/transmittance, 2 white table, 3 transmission table"},
    {"--layout vertical|rows", "original format: a column (default) or a row per record"},
    {"--no-wave", "original format: without the wavelength column or row"},
    {"--no-temp", "original format: without the temperature line"},
    {"--no-exp", "original format: without the exposure line"}};

Lines Join(Lines before, const Lines& middle, const Lines& after) {
  before.insert(before.end(), middle.begin(), middle.end());
  before.insert(before.end(), after.begin(), after.end());
  return before;
}

const char* const kQuietLine = "hide the form's guidance lines (questions and refusals stay)";

}  // namespace

const std::vector<OptionHelp>& GlobalOptionTable() {
  static const std::vector<OptionHelp> table = {
      {"--language ja|en",
       "the language of the form's lines it prints and of plot's texts (default: as the "
       "environment's LANGUAGE, LC_ALL, LC_MESSAGES or LANG names it; C, POSIX or none: "
       "Japanese); chromiva-cli's own messages and all data stay the same"}};
  return table;
}

const std::vector<Command>& CommandTable() {
  static const std::vector<Command> table = {
      {"devices", "devices", "detects and lists every instrument", {}, RunDevices},
      {"measure",
       "measure [-o FILE] [--count N] [--exposure MS] [--average N] [--interval MS] "
       "[--mode 0|1|2] [--wave-comp] [--csv OUT [CSV options]] [--csv-auto DIR] "
       "[--csv-name fixed|time|number] [--csv-fixed NAME] [--csv-sensor K] [--quiet] [--yes]",
       "records passes until N are committed (or Ctrl-C, or a fault), then saves the data file",
       Join({{"-o FILE", "the data file to save (default: the document's title plus .cvdata)"},
             {"--count N", "passes to commit, 1 to 86399 (default 0: until Ctrl-C)"},
             {"--exposure MS", "exposure of every sensor in milliseconds (0 to 9500)"},
             {"--average N", "frames averaged per pass (1 to 100000)"},
             {"--interval MS", "interval mode: one pass every MS milliseconds"},
             {"--mode 0|1|2", "0 light source, 1 reflectance, 2 transmittance"},
             {"--wave-comp", "apply the sensitivity correction"},
             {"--csv OUT", "after the run, the CSV of sensor K's passes with their record times"}},
            kCsvLines,
            {{"--csv-auto DIR", "save each pass as CSV into DIR while recording"},
             {"--csv-name fixed|time|number", "how the automatic CSV files are named"},
             {"--csv-fixed NAME", "the name of the automatic CSV file for --csv-name fixed"},
             {"--csv-sensor K", "the sensor slot of --csv and --csv-auto (default 0)"},
             {"--quiet", kQuietLine},
             {"--yes", "answer the form's questions with OK"}}),
       RunMeasure},
      {"info",
       "info FILE [--json]",
       "sensors, LED units and the operation history of a data file",
       {{"--json", "as one JSON object"}},
       RunInfo},
      {"export",
       "export FILE -o OUT [--format original|tidy] [--sensor K|SERIAL] [--first N] [--last N] "
       "[--start NM] [--end NM] [--step NM] [--target 0|1|2|3] [--layout vertical|rows] "
       "[--no-wave] [--no-temp] [--no-exp] [--mode 0|1|2] [--wave-comp]",
       "CSV of a data file's records or reference tables, with the CSV dialog's rules",
       Join({{"-o OUT", "the CSV file to write"},
             {"--sensor K|SERIAL", "the sensor: slot number or serial number (default 0)"},
             {"--first N", "first data number, 1-based (default 1)"},
             {"--last N", "last data number (default: the sensor's last record)"}},
            kCsvLines,
            {{"--mode 0|1|2",
              "processing: 0 light source, 1 reflectance, 2 transmittance "
              "(default 1 for target 1, else 0)"},
             {"--wave-comp", "apply the sensitivity correction"}}),
       RunExport},
      {"resave",
       "resave IN OUT",
       "loads a data file and stores it again, byte for byte",
       {},
       RunResave},
      {"dark",
       "dark [--write] [--quiet] [--yes]",
       "the dark sequence on the detected spectrometers (shade them first)",
       {{"--write", "register the 21 dark steps in the instruments"},
        {"--quiet", kQuietLine},
        {"--yes", "answer the shading question with OK"}},
       RunDark},
      {"reference",
       "reference white|transmission [--exposure MS] [--average N] [--quiet] [--yes]",
       "one pass, then the white or 100 % transmission registration of the selected sensor",
       {{"--exposure MS", "exposure of every sensor in milliseconds (0 to 9500)"},
        {"--average N", "frames averaged per pass (1 to 100000)"},
        {"--quiet", kQuietLine},
        {"--yes", "answer the registration question with OK"}},
       RunReference},
      {"plot",
       "plot FILE -o OUT.png [--sensor K|SERIAL] [--record N] [--mode 0|1|2] [--wave-comp] "
       "[--colour] [--kind 0|1] [--selected-only] [--graph-max N] [--graph-min N] "
       "[--ratio-max N] [--ratio-min N] [--height HC]",
       "the picture of the graph frame for one data number",
       {{"-o OUT.png", "the picture to write"},
        {"--sensor K|SERIAL", "the sensor of the status line (default 0)"},
        {"--record N", "the data number, 1-based (default 1)"},
        {"--mode 0|1|2", "1 or 2 adds the reflectance or transmittance curves"},
        {"--wave-comp", "apply the sensitivity correction"},
        {"--colour", "draw the coloured columns"},
        {"--kind 0|1", "status line: 0 statistics, 1 CIE values"},
        {"--selected-only", "draw only sensor K"},
        {"--graph-max N", "top of the counts axis"},
        {"--graph-min N", "bottom of the counts axis"},
        {"--ratio-max N", "top of the percent axis"},
        {"--ratio-min N", "bottom of the percent axis"},
        {"--height HC", "the form's client height (default 563)"}},
       RunPlot},
      {"recover",
       "recover [JOURNAL] -o FILE | recover --list | recover JOURNAL --discard",
       "the records of a recording that ended without a save, from its journal",
       {{"-o FILE", "the data file to write (the journal then goes)"},
        {"--list", "show the unfinished journals"},
        {"--discard", "remove the journal"}},
       RunRecover},
  };
  return table;
}

}  // namespace chromiva::cli
