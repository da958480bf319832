"""Data files: loading into arrays, the atomic save, processing and the tidy table."""
import os
import subprocess
import sys

import numpy as np
import pandas as pd
import pytest

import chromiva


def test_sensors_tables_and_records_as_arrays(recorded):
    doc = chromiva.load(recorded)
    assert [s.serial for s in doc.sensors] == ["SP000001", "AB123456"]
    sensor = doc.sensors[1]
    assert sensor.serial_bytes == b"AB123456" and sensor.kind == "C12880MA"
    shapes = {"raw": (5, 288), "exposure": (5,), "temperature": (5,), "times": (5,),
              "wavelengths": (288,), "dark": (21, 288), "sensitivity": (289,), "white": (289,),
              "transmission": (289,), "comp": (6,)}
    for name, shape in shapes.items():
        assert getattr(sensor, name).shape == shape, name
    assert sensor.raw.dtype == np.float32 and not sensor.raw.flags.writeable
    assert (sensor.exposure == 20000).all() and sensor.exposure_us == 20000
    assert np.isnat(sensor.times).all()  # data files keep no record times
    assert any("計測開始" in line for line in doc.history)


def test_save_gives_back_the_loaded_bytes_also_after_processing(recorded, tmp_path):
    doc = chromiva.load(str(recorded))
    doc.processed(0, mode=1, wave_comp=True)
    doc.to_pandas(1, target=1)
    copy = tmp_path / "copy.cvdata"
    chromiva.save(doc, copy)
    assert copy.read_bytes() == recorded.read_bytes()


@pytest.mark.parametrize("mode, wave_comp, target", [(0, False, 0), (0, True, 0), (1, False, 1),
                                                     (2, True, 1)])
def test_processed_equals_the_export_cell_for_cell(cli, recorded, tmp_path, mode, wave_comp,
                                                   target):
    out = tmp_path / "export.csv"
    cli("export", recorded, "-o", out, "--sensor", 1, "--step", 1, "--layout", "rows",
        "--no-wave", "--no-temp", "--no-exp", "--mode", mode, "--target", target,
        *(["--wave-comp"] if wave_comp else []))
    rows = [line.rstrip(",").split(",") for line in out.read_text().splitlines()]
    exported = [row for row in rows if len(row) == 511]
    result = chromiva.load(str(recorded)).processed(1, mode=mode, wave_comp=wave_comp)
    values = result.ratio if target == 1 else result.spectrum
    assert (result.ratio is None) == (mode == 0)
    assert exported == [["%6.1f" % v for v in row] for row in values]


def test_to_pandas_is_the_tidy_export(cli, recorded, tmp_path):
    out = tmp_path / "tidy.csv"
    grid = ["--start", 400, "--end", 700, "--step", 7, "--first", 2, "--last", 4]
    cli("export", recorded, "-o", out, "--format", "tidy", "--target", 1, "--mode", 2, *grid)
    expected = pd.read_csv(out)
    table = chromiva.load(str(recorded)).to_pandas(0, target=1, mode=2, start=400, end=700,
                                                     step=7, first=2, last=4)
    assert list(table.columns) == list(expected.columns)
    exact = ["data_number", "sensor_serial", "wavelength_nm", "exposure_ms"]
    pd.testing.assert_frame_equal(table[exact], expected[exact], check_dtype=False)
    for column in ["value", "temperature_c"]:  # the CSV prints one decimal
        assert np.abs(table[column] - expected[column]).max() <= 0.05 + 1e-6
    assert table["date"].isna().all() and table["time"].isna().all()


def test_refused_files_raise_with_the_cli_message(cli, recorded, tmp_path):
    whole = recorded.read_bytes()
    cases = {"truncated": whole[:5000], "too many sensors": (11).to_bytes(4, "little") + whole[4:]}
    for name, content in cases.items():
        path = tmp_path / f"{name}.cvdata"
        path.write_bytes(content)
        with pytest.raises(chromiva.FileFormatError) as raised:
            chromiva.load(str(path))
        said = cli("info", path, check=False)
        assert said.returncode == 2 and str(raised.value) in said.stderr, name
    with pytest.raises(FileNotFoundError):
        chromiva.load(str(tmp_path / "missing.cvdata"))
    trailing = tmp_path / "trailing.cvdata"
    trailing.write_bytes(whole + b"extra")
    with pytest.warns(UserWarning, match="trailing.cvdata"):
        assert chromiva.load(trailing).sensors[0].record_count == 5


def test_arrays_outlive_the_document(recorded):
    raw = chromiva.load(str(recorded)).sensors[0].raw
    assert raw.shape == (5, 288) and float(raw.sum()) > 0


def test_bad_arguments_raise(recorded):
    doc = chromiva.load(str(recorded))
    for call, error in [(lambda: doc.processed(2), IndexError),
                        (lambda: doc.processed(0, mode=3), ValueError),
                        (lambda: doc.to_pandas(0, target=2), ValueError),
                        (lambda: doc.to_pandas(0, step=0), ValueError)]:
        with pytest.raises(error):
            call()


def test_the_installed_module_is_found_in_its_prefix(recorded, tmp_path):
    if "CHROMIVA_BUILD_DIR" not in os.environ:
        pytest.skip("CHROMIVA_BUILD_DIR is not set")
    subprocess.run([os.environ["CHROMIVA_CMAKE"], "--install", os.environ["CHROMIVA_BUILD_DIR"],
                    "--prefix", tmp_path], check=True, capture_output=True)
    site = tmp_path / os.environ["CHROMIVA_PYTHON_INSTALL_DIR"]
    script = "import chromiva, sys; print(chromiva.__file__, chromiva.load(sys.argv[1]).sensors[0].raw.shape)"
    done = subprocess.run([sys.executable, "-c", script, recorded], capture_output=True, text=True,
                          env={**os.environ, "PYTHONPATH": str(site)}, cwd=tmp_path, check=True)
    assert done.stdout.startswith(str(site)) and done.stdout.endswith(" (5, 288)\n")
