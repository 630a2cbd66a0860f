"""What every script test shares. By hand: PYTHONPATH=tests/lib python3 tests/<dir>/<script>.py"""

import json
import os
import pathlib
import re
import shutil
import subprocess
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
# The status of a skipped test: CTest's SKIP_RETURN_CODE for every test (tests/CMakeLists.txt).
SKIP = 77


def under_ci():
    return os.environ.get("CI", "").lower() not in ("", "0", "false", "no")


def fail(message):
    print(f"FAIL: {message}", flush=True)
    sys.exit(1)


def missing(what, hint="scripts/install-deps test installs it", why="not installed"):
    """Ends the test for lack of `what`: skipped with one line, or failed under CI."""
    if under_ci():
        fail(f"{why}, and CI never skips: {what} ({hint})")
    print(f"SKIP: {why}: {what} ({hint})", flush=True)
    sys.exit(SKIP)


def require_programs(*names, hint="scripts/install-deps test installs it"):
    absent = [name for name in names if not shutil.which(name)]
    if absent:
        missing(", ".join(absent), hint)


def require_module(name, package, hint="scripts/install-deps test installs it"):
    try:
        return __import__(name)
    except ImportError:
        missing(package, hint)


def identity_values(path):
    return json.loads(pathlib.Path(path).read_text(encoding="utf-8"))


class Design:
    """The game's texts (texts["WonHeading"], ...), and its client size and rect[name], (left, top,
    right, bottom), in pixels at 96 DPI, read from its sources as harness.js reads them."""

    def __init__(self):
        def source(name):
            return pathlib.Path(ROOT, name).read_text(encoding="utf-8")
        self.texts = {name: json.loads(f'"{text}"') for name, text in re.findall(
            r'k(\w+) =\s*u"((?:[^"\\]|\\.)*)"', source("game/start_button_toggle.h"))}
        table = source("app/control_table.h")
        self.client = tuple(int(re.search(rf"\.client{side} = (\d+)", table)[1]) // 15
                            for side in ("Width", "Height"))
        self.rect = {name: tuple(int(v) // 15 for v in (left, top, int(left) + int(width),
                                                        int(top) + int(height)))
                     for name, left, top, width, height in re.findall(
                         r'\.name = u"(\w+)"(?:(?!\.name =).)*?\.left = (\d+),\s*\.top = (\d+),'
                         r'\s*\.width = (\d+),\s*\.height = (\d+)', table, re.S)}


def environment(**settings):
    """This process's environment with `settings` over it; a setting of None removes the name."""
    return {name: value for name, value in {**os.environ, **settings}.items() if value is not None}


def run(command, **options):
    """What a command wrote (stdout and stderr); fails the test with it if the command fails."""
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            **options)
    if result.returncode != 0:
        fail(f"{' '.join(command)} failed ({result.returncode}):\n{result.stdout}")
    return result.stdout


class Checker:
    """Checks that go on after a failure, so that one run reports every problem."""

    def __init__(self):
        self.failures = []

    def check(self, condition, message):
        if not condition:
            print(f"FAIL: {message}", flush=True)
            self.failures.append(message)
        return bool(condition)

    def equal(self, got, want, what):
        return self.check(got == want, f"{what}: got {got!r}, want {want!r}")

    def finish(self, name):
        if self.failures:
            print(f"{name}: {len(self.failures)} failure(s)")
            sys.exit(1)
        print(f"{name}: all checks passed")
