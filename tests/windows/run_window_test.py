#!/usr/bin/python3
"""Runs fernwick_window_test.exe under Wine on a private X server: run_window_test.py BUILD_DIR"""

import os
import subprocess
import sys

import winetools


def main():
    winetools.require_programs("Xvfb", "openbox", "xprop")
    wine = winetools.choose_wine()
    exe = winetools.require_build(sys.argv[1], wine.build, "fernwick_window_test.exe")
    # With a window manager, as on a desktop: Wine then waits for no window to be mapped.
    with winetools.wine_session(wine) as env:
        result = subprocess.run([wine.loader, exe], env=env, timeout=600)
    sys.exit(result.returncode)


if __name__ == "__main__":
    main()
