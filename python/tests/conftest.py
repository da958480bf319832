"""Fixtures of the chromiva module's tests: chromiva-cli and data files recorded with it."""
import os
import subprocess

import pytest


@pytest.fixture(scope="session")
def cli():
    """Runs chromiva-cli (from CHROMIVA_CLI, which ctest sets) and returns the finished process."""
    path = os.environ.get("CHROMIVA_CLI")
    if not path:
        pytest.skip("CHROMIVA_CLI is not set")

    def run(*args, env=None, check=True):
        done = subprocess.run([path, *map(str, args)], capture_output=True, text=True,
                              env={**os.environ, **(env or {})}, check=False)
        if check and done.returncode != 0:
            raise AssertionError(f"chromiva-cli {args}: {done.returncode}\n{done.stderr}")
        return done
    return run


@pytest.fixture(scope="session")
def recorded(cli, tmp_path_factory):
    """A data file of two simulated spectrometers with five records each."""
    folder = tmp_path_factory.mktemp("recorded")
    path = folder / "run.cvdata"
    cli("measure", "--count", 5, "--exposure", 20, "--average", 2, "-o", path, "--quiet", "--yes",
        env={"WRENLINK_SIMULATOR": "spectrometer,spectrometer:serial=AB123456",
             "WRENLINK_SIM_SPEED": "100", "XDG_DATA_HOME": str(folder / "data")})
    return path


@pytest.fixture
def simulator(monkeypatch, tmp_path):
    """Selects simulated instruments for this test; returns the path of the wire trace."""
    trace = tmp_path / "trace.txt"

    def use(instruments, timeout_ms=None):
        monkeypatch.setenv("WRENLINK_SIMULATOR", instruments)
        monkeypatch.setenv("WRENLINK_SIM_SPEED", "100")
        monkeypatch.setenv("WRENLINK_TRACE", str(trace))
        if timeout_ms:
            monkeypatch.setenv("WRENLINK_TIMEOUT_MS", str(timeout_ms))
        return trace
    return use
