#!/usr/bin/python3
"""Builds the Windows programs for the tests with scripts/build-windows: fernwick.exe and
fernwick_window_test.exe for 32-bit Windows always, and the x86-64 build when the Wine here can
only run that.

    build.py SOURCE_DIR BUILD_DIR      (writes BUILD_DIR/win32 and maybe BUILD_DIR/win64)
"""

import os
import shutil
import subprocess
import sys

import winetools


def main():
    source, build = sys.argv[1], sys.argv[2]
    winetools.require_programs("i686-w64-mingw32-g++", "i686-w64-mingw32-windres")
    builds = [("win32", ["--tests"])]
    if shutil.which("wine") or os.path.exists("/usr/lib/wine/wine64"):
        wine = winetools.choose_wine()
        if wine.build == "win64":
            winetools.require_programs("x86_64-w64-mingw32-g++", "x86_64-w64-mingw32-windres")
            builds.append(("win64", ["--x86_64", "--tests"]))
    for name, options in builds:
        result = subprocess.run([os.path.join(source, "scripts", "build-windows"), *options,
                                 os.path.join(build, name)])
        if result.returncode != 0:
            sys.exit(result.returncode)


if __name__ == "__main__":
    main()
