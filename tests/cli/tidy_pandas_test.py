"""Reads chromiva-cli's tidy export with pandas.read_csv and no options, and checks it against
the original format of the same records. Exits 77 (skipped) without python3-pandas."""
import csv
import os
import subprocess
import sys
import tempfile

try:
    import pandas
except ImportError:
    print("skipped: python3-pandas is not installed (scripts/install-deps.sh installs it)")
    sys.exit(77)

cli = sys.argv[1]
env = dict(os.environ, WRENLINK_SIMULATOR="spectrometer:serial=AB123456",
           WRENLINK_SIM_SPEED="100")
with tempfile.TemporaryDirectory() as folder:
    env["XDG_DATA_HOME"] = folder

    def run(*words):
        subprocess.run([cli, *words], cwd=folder, env=env, check=True, capture_output=True)

    run("measure", "--count", "3", "-o", "run.cvdata", "--csv", "run.csv", "--format", "tidy")
    run("export", "run.cvdata", "-o", "tidy.csv", "--format", "tidy", "--step", "50")
    run("export", "run.cvdata", "-o", "original.csv", "--step", "50")

    tidy = pandas.read_csv(os.path.join(folder, "tidy.csv"))
    assert list(tidy.columns) == ["data_number", "sensor_serial", "date", "time",
                                  "wavelength_nm", "value", "temperature_c", "exposure_ms"]
    assert tidy.shape == (3 * 11, 8), tidy.shape
    assert (tidy["sensor_serial"] == "AB123456").all()
    assert tidy["date"].isna().all()  # a data file keeps no record times

    with open(os.path.join(folder, "original.csv"), newline="") as text:
        rows = list(csv.reader(text))
    temperatures = rows[2][1:4]
    for row in rows[4:]:  # wavelength, then one value per data number
        for number in (1, 2, 3):
            cell = tidy[(tidy["wavelength_nm"] == int(row[0])) & (tidy["data_number"] == number)]
            assert float(cell["value"].iloc[0]) == float(row[number]), (row, number)
            assert float(cell["temperature_c"].iloc[0]) == float(temperatures[number - 1])

    timed = pandas.read_csv(os.path.join(folder, "run.csv"))
    assert timed.shape == (3 * 52, 8), timed.shape
    assert timed["date"].notna().all() and timed["time"].str.match(r"^\d\d:\d\d:\d\d$").all()
print("tidy export read by pandas matches the original format")
