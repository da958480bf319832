#!/usr/bin/env python3
"""Peer timing for bench_data_csv: writes the same matrix with pandas.DataFrame.to_csv.

    data_csv_pandas.py <matrix.f32> <rows> <cols> <out-dir>

The matrix holds rows x cols float32 values (one record per row, one grid wavelength per
column). Prints "rows <seconds> <bytes>" for the record-per-row layout and "vertical <seconds>
<bytes>" for its transpose, both with the "%6.1f" number format and CR LF line ends.
"""
import os
import sys
import time

import numpy
import pandas


def timed_write(frame, path):
    start = time.perf_counter()
    frame.to_csv(path, header=False, index=False, float_format="%6.1f", lineterminator="\r\n")
    return time.perf_counter() - start, os.path.getsize(path)


def main():
    source, rows, cols, out_dir = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
    matrix = numpy.fromfile(source, dtype=numpy.float32).reshape(rows, cols)
    for name, frame in (("rows", pandas.DataFrame(matrix)),
                        ("vertical", pandas.DataFrame(matrix.T))):
        path = os.path.join(out_dir, f"pandas_{name}.csv")
        seconds, size = timed_write(frame, path)
        print(f"{name} {seconds:.6f} {size}", flush=True)
        os.remove(path)


if __name__ == "__main__":
    main()
