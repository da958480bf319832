#include "commands.h"

namespace chromiva::cli {

const std::vector<Command>& CommandTable() {
  static const std::vector<Command> table = {
      {"devices", "devices", RunDevices},
      {"measure",
       "measure [-o FILE] [--count N] [--exposure MS] [--average N] [--interval MS] "
       "[--mode 0|1|2] [--wave-comp] [--csv-auto DIR] [--csv-name fixed|time|number] "
       "[--csv-fixed NAME] [--csv-sensor K] [--yes]",
       RunMeasure},
      {"info", "info FILE [--json]", RunInfo},
      {"export",
       "export FILE -o OUT [--sensor K|SERIAL] [--first N] [--last N] [--start NM] [--end NM] "
       "[--step NM] [--target 0|1|2|3] [--layout vertical|rows] [--no-wave] [--no-temp] "
       "[--no-exp] [--mode 0|1|2] [--wave-comp]",
       RunExport},
      {"resave", "resave IN OUT", RunResave},
      {"dark", "dark [--write] [--yes]", RunDark},
      {"reference", "reference white|transmission [--exposure MS] [--average N] [--yes]",
       RunReference},
      {"plot",
       "plot FILE -o OUT.png [--sensor K|SERIAL] [--record N] [--mode 0|1|2] [--wave-comp] "
       "[--colour] [--kind 0|1] [--selected-only] [--graph-max N] [--graph-min N] "
       "[--ratio-max N] [--ratio-min N] [--height HC]",
       RunPlot},
      {"recover", "recover [JOURNAL] -o FILE | recover --list | recover JOURNAL --discard",
       RunRecover},
  };
  return table;
}

}  // namespace chromiva::cli
