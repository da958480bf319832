#!/usr/bin/env python3
"""Loading a large data file into NumPy: chromiva.load against the C++ loader alone and
against the fastest plain-NumPy reader of the format (one numpy.fromfile, then views).

    /usr/bin/python3 bench/python_load.py [--build build/release] [--sensors 2]
        [--records 86399] [--runs 5] [--dir DIR]

Every timed load runs in a fresh process on a file in the page cache; the best of --runs is
taken for each. Printed: the seconds of each and the ratios (C++ / module: goal >= 90 %;
NumPy / module: goal > 100 %, that is the module faster).
"""
import argparse
import os
import subprocess
import sys
import tempfile

MODULE_RUN = """
import sys, time, chromiva
import numpy  # as the NumPy reader has it before its clock starts
start = time.perf_counter()
doc = chromiva.load(sys.argv[1])
arrays = [(s.raw, s.exposure, s.temperature) for s in doc.sensors]
print(time.perf_counter() - start)
"""

NUMPY_RUN = """
import sys, time
import numpy as np

def load(path):
    data = np.fromfile(path, dtype=np.uint8)
    at = 0

    def number(kind):
        nonlocal at
        value = data[at:at + np.dtype(kind).itemsize].view(kind)[0]
        at += np.dtype(kind).itemsize
        return int(value)

    def text():
        nonlocal at
        length = number("u1")
        if length == 0xFF:
            length = number("<u2")
            if length == 0xFFFF:
                length = number("<u4")
                if length == 0xFFFFFFFF:
                    length = number("<u8")
        at += length
        return bytes(data[at - length:at])

    def floats(count):
        nonlocal at
        values = data[at:at + 4 * count].view("<f4")
        at += 4 * count
        return values

    sensors = []
    for _ in range(number("<i4")):
        pixels = number("<i4")
        kind, serial, exposure = text(), text(), number("<i4")
        comp = data[at:at + 48].view("<f8"); at += 48
        dark = floats(21 * pixels).reshape(21, pixels)
        wavelengths = floats(pixels)
        tables = floats(3 * (pixels + 1)).reshape(pixels + 1, 3)
        sensors.append(dict(pixels=pixels, serial=serial, dark=dark, tables=tables))
    for _ in range(number("<i4")):
        at += 4 * number("<i4")
    for sensor in sensors:
        count, pixels = number("<i4"), sensor["pixels"]
        layout = np.dtype([("exposure", "<i4"), ("temperature", "<f4"),
                           ("spectra", "<f4", (pixels, 2))])
        records = data[at:at + count * layout.itemsize].view(layout)
        at += count * layout.itemsize
        sensor.update(raw=records["spectra"][:, :, 0], exposure=records["exposure"],
                      temperature=records["temperature"])
    text()
    return sensors

start = time.perf_counter()
sensors = load(sys.argv[1])
arrays = [(s["raw"], s["exposure"], s["temperature"]) for s in sensors]
print(time.perf_counter() - start)
"""

CHECK = """
import chromiva
doc = chromiva.load(sys.argv[1])
for mine, theirs in zip(sensors, doc.sensors):
    assert np.array_equal(mine["raw"], theirs.raw)
    assert np.array_equal(mine["exposure"], theirs.exposure)
"""


def best_of(runs, command, env=None):
    times = []
    for _ in range(runs):
        out = subprocess.run(command, capture_output=True, text=True, check=True, env=env)
        times.append(float(out.stdout.split()[-1]))
    return min(times)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build/release")
    parser.add_argument("--sensors", type=int, default=2)
    parser.add_argument("--records", type=int, default=86399)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--dir", default=None)
    options = parser.parse_args()
    helper = os.path.join(options.build, "bench", "bench_python_load")
    env = {**os.environ, "PYTHONPATH": os.path.join(options.build, "python")}
    with tempfile.TemporaryDirectory(dir=options.dir) as folder:
        path = os.path.join(folder, "large.cvdata")
        subprocess.run([helper, "--write", path, "--sensors", str(options.sensors),
                        "--records", str(options.records)], check=True)
        size = os.path.getsize(path) / 1e6
        # Both readers give the same arrays (untimed).
        subprocess.run([sys.executable, "-c", NUMPY_RUN.replace("print(", "(") + CHECK, path],
                       check=True, env=env)
        cpp = module = plain = float("inf")
        for _ in range(options.runs):  # interleaved, so that drift hits all three alike
            cpp = min(cpp, best_of(1, [helper, "--load", path]))
            module = min(module, best_of(1, [sys.executable, "-c", MODULE_RUN, path], env))
            plain = min(plain, best_of(1, [sys.executable, "-c", NUMPY_RUN, path], env))
    print(f"file: {options.sensors} sensors x {options.records} records, {size:.0f} MB; "
          f"best of {options.runs}")
    print(f"C++ loader alone     {cpp:8.3f} s")
    print(f"chromiva.load        {module:8.3f} s")
    print(f"numpy.fromfile+views {plain:8.3f} s")
    print(f"C++ / chromiva.load   {100 * cpp / module:6.1f} %   (goal >= 90 %)")
    print(f"NumPy / chromiva.load {100 * plain / module:6.1f} %   (goal > 100 %: the module faster)")


if __name__ == "__main__":
    main()
