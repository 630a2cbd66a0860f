"""What every script test shares: one way to skip for a missing tool (or, under CI, to fail),
failing with a message, the identity values the build writes, what the game's sources say of its
window, running a command, and checks that report every failure of a run, not only the first.

The tests run these scripts with tests/lib on PYTHONPATH (fernwick_python_test in
tests/CMakeLists.txt); by hand: PYTHONPATH=tests/lib python3 tests/<folder>/<script>.py ...
"""

import json
import os
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
    """Ends the test as failed, with one line saying why."""
    print(f"FAIL: {message}", flush=True)
    sys.exit(1)


def missing(what, hint="scripts/install-deps test installs it", why="not installed"):
    """Ends the test for lack of `what`: skipped with one line, or failed under CI, which never
    skips."""
    if under_ci():
        fail(f"{why}, and CI never skips: {what} ({hint})")
    print(f"SKIP: {why}: {what} ({hint})", flush=True)
    sys.exit(SKIP)


def require_programs(*names, hint="scripts/install-deps test installs it"):
    """Skips (or, under CI, fails) the test unless every program is on PATH."""
    absent = [name for name in names if not shutil.which(name)]
    if absent:
        missing(", ".join(absent), hint)


def require_module(name, package, hint="scripts/install-deps test installs it"):
    """The Python module `name`, imported; the test skips (fails under CI) without `package`."""
    try:
        return __import__(name)
    except ImportError:
        missing(package, hint)


def identity_values(path):
    """The identity values tests/CMakeLists.txt writes for the script tests."""
    with open(path, encoding="utf-8") as f:
        return json.load(f)


class Design:
    """What the game's sources say of its window, as tests/web/lib/harness.js reads it too:
    texts["WonHeading"] and the other texts its toggle sets; the client size and rect[name], a
    control's (left, top, right, bottom), in pixels at 96 DPI, from the table's twips (15 each)."""

    def __init__(self):
        def source(name):
            with open(os.path.join(ROOT, name), encoding="utf-8") as f:
                return f.read()
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
    env = dict(os.environ)
    for name, value in settings.items():
        if value is None:
            env.pop(name, None)
        else:
            env[name] = value
    return env


def run(command, **options):
    """Runs a command to its end and returns what it wrote (stdout and stderr); fails the test,
    with that output, when it does not succeed."""
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            **options)
    if result.returncode != 0:
        fail(f"{' '.join(command)} failed ({result.returncode}):\n{result.stdout}")
    return result.stdout


class Checker:
    """Checks that go on after a failure, so that one run reports every problem. Each failure is
    printed as it is found; finish() ends the test."""

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
