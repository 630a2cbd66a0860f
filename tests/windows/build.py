#!/usr/bin/python3
"""Builds the Windows programs and their tests into BUILD_DIR/win32, and win64 where only 64-bit
Wine runs here.

    build.py SOURCE_DIR BUILD_DIR
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
