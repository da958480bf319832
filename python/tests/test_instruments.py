"""Instruments on the simulator: detection, measuring against the wire trace, faults, Ctrl-C."""
import os
import signal
import subprocess
import sys
import textwrap
import time

import numpy as np
import pytest

import chromiva


def traced_frames(trace):
    """The 288-sample frames the instruments sent, in order, as float32 rows."""
    frames = []
    for line in trace.read_text().splitlines():
        words = line.split()
        if words[0] == "IN" and len(words) == 4 and len(words[3]) == 4 * 288:
            frames.append(np.frombuffer(bytes.fromhex(words[3]), "<i2").astype(np.float32))
    return frames


def test_detect_lists_what_the_cli_lists(cli, simulator):
    simulator("spectrometer:exposure=30000,led16,mirror")
    found = chromiva.detect()
    listed = cli("devices").stdout.splitlines()
    assert [(d.index, d.kind) for d in found] == [(0, 33), (1, 13), (2, 34)]
    assert found[0].serial == "SP000001" and found[0].exposure_us == 30000
    for device, line in zip(found, listed):
        assert line.split()[:3] == [str(device.index), "kind", str(device.kind)]
        assert device.name in line and device.version in line


def test_detect_leaves_an_open_spectrometer_open(simulator):
    simulator("spectrometer,spectrometer")
    with chromiva.Spectrometer() as first:
        with chromiva.Spectrometer() as second:
            assert [d.serial for d in chromiva.detect()] == ["SP000001", "SP000002"]
            assert second.index == 1
        assert first.spectrum().shape == (288,)


def test_spectrum_is_the_average_of_the_traced_frames(simulator):
    trace = simulator("spectrometer,spectrometer:serial=AB123456")
    with chromiva.Spectrometer(serial="AB123456") as spec:
        assert spec.index == 1 and spec.wavelengths.shape == (288,)
        spec.exposure_ms = 15
        trace.write_text("")
        counts = spec.spectrum(average=3)
        assert 15 <= spec.temperature <= 35
    frames = traced_frames(trace)
    assert len(frames) == 3
    expected = (frames[0] + frames[1] + frames[2]) / np.float32(3)
    np.testing.assert_array_equal(counts, expected)


def test_processed_is_on_the_grid_with_a_ratio_in_modes_1_and_2(simulator):
    simulator("spectrometer")
    with chromiva.Spectrometer() as spec:
        light = spec.processed(mode=0)
        reflectance = spec.processed(average=2, mode=1, wave_comp=True)
    assert light.spectrum.shape == (511,) and light.ratio is None
    assert light.wavelengths[0] == 340 and light.wavelengths[-1] == 850
    assert reflectance.ratio.shape == (511,) and np.isfinite(reflectance.ratio).all()


def test_exposure_is_validated_and_sent(simulator):
    trace = simulator("spectrometer")
    with chromiva.Spectrometer() as spec:
        for value, error in [(-1, ValueError), (9501, ValueError), (12.5, TypeError),
                             (True, TypeError), ("5", TypeError)]:
            with pytest.raises(error):
                spec.exposure_ms = value
        trace.write_text("")
        spec.exposure_ms = 40
        assert spec.exposure_ms == 40
    assert trace.read_text().startswith("OUT 0 ")
    with pytest.raises(ValueError, match="closed"):
        spec.spectrum()


def requests_to_open(trace):
    """The number of requests that opening a spectrometer sends."""
    with chromiva.Spectrometer():
        pass
    return sum(1 for line in trace.read_text().splitlines() if line.startswith("OUT"))


@pytest.mark.parametrize("option, reason", [("disconnect={n}", "unplugged"),
                                            ("noreply={n}", "no answer"),
                                            ("short=100", "short answer")])
def test_a_fault_raises_naming_sensor_and_reason(simulator, recwarn, option, reason):
    trace = simulator("spectrometer")
    option = option.format(n=requests_to_open(trace))
    simulator(f"spectrometer:{option}", timeout_ms=300)
    with chromiva.Spectrometer() as spec, pytest.raises(chromiva.InstrumentFault) as raised:
        spec.spectrum()
    assert raised.value.reason == reason and raised.value.serial == "SP000001"
    assert "SP000001" in str(raised.value) and reason in str(raised.value)


def test_ctrl_c_ends_a_long_measurement(tmp_path):
    script = textwrap.dedent("""
        import chromiva, sys
        with chromiva.Spectrometer() as spec:
            spec.exposure_ms = 200
            print("measuring", flush=True)
            try:
                spec.spectrum(average=1000)
            except KeyboardInterrupt:
                print("interrupted", flush=True)
    """)
    env = {**os.environ, "WRENLINK_SIMULATOR": "spectrometer", "WRENLINK_SIM_SPEED": "1"}
    child = subprocess.Popen([sys.executable, "-c", script], stdout=subprocess.PIPE, text=True,
                             env=env)
    assert child.stdout.readline() == "measuring\n"
    time.sleep(0.5)
    child.send_signal(signal.SIGINT)
    out, _ = child.communicate(timeout=60)  # the whole run would take 200 s
    assert out == "interrupted\n" and child.returncode == 0
