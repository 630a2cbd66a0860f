"""What the Windows tests share. Where 32-bit Wine cannot run (no IA-32 emulation), they run the
x86-64 build of the same sources under 64-bit Wine, and say so."""

import contextlib
import glob
import os
import shutil
import subprocess
import tempfile

import testkit

HINT = "scripts/install-windows-deps installs it"


def require_programs(*names):
    testkit.require_programs(*names, hint=HINT)


COMPILERS = {"win32": "i686-w64-mingw32-g++", "win64": "x86_64-w64-mingw32-g++"}


def require_build(build_dir, build, program):
    """`program` in the fixture's `build` ("win32", "win64"); skips without its cross compiler."""
    require_programs(COMPILERS[build])
    path = os.path.join(build_dir, build, program)
    if not os.path.isfile(path):
        testkit.fail(f"{path} was not built (see the test windows.build)")
    return path


def can_run_32bit(loader="/usr/lib/wine/wine"):
    if not os.access(loader, os.X_OK):
        return False
    try:
        subprocess.run([loader, "--version"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=60, check=True)
        return True
    except (OSError, subprocess.SubprocessError):
        return False


class Wine:
    """How to start a Windows program here, and which build ("win32" or "win64") runs."""

    def __init__(self, loader, server, winearch, build):
        self.loader, self.server, self.winearch, self.build = loader, server, winearch, build


def choose_wine():
    """The Wine that runs here, preferring 32-bit Wine and the shipped 32-bit program."""
    wine64 = "/usr/lib/wine/wine64"
    # FERNWICK_WINE=64 takes the 64-bit way even where 32-bit Wine runs, as on a machine without.
    if os.environ.get("FERNWICK_WINE") != "64" and can_run_32bit():
        return Wine(shutil.which("wine") or "/usr/bin/wine", shutil.which("wineserver") or
                    "/usr/bin/wineserver", "win32", "win32")
    if os.access(wine64, os.X_OK) and os.access("/usr/lib/wine/wineserver64", os.X_OK):
        why = ("FERNWICK_WINE=64 asks for 64-bit Wine" if os.environ.get("FERNWICK_WINE") == "64"
               else "32-bit Wine is not installed" if not os.path.exists("/usr/lib/wine/wine")
               else "this kernel cannot start 32-bit programs")
        print(f"NOTE: {why}; running the x86-64 build of the same sources under 64-bit Wine")
        return Wine(wine64, "/usr/lib/wine/wineserver64", "win64", "win64")
    testkit.missing("Wine (32-bit: wine32:i386, or 64-bit: wine64)", HINT)


SCRIPTS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts", "lib")
PATIENCE = 300  # seconds Wine may take to show or close a window; never a measured time


@contextlib.contextmanager
def wine_session(wine, screen="640x480x24"):
    """Yields the environment of a private X server with openbox and a fresh Wine prefix."""
    prefix = tempfile.mkdtemp(prefix="fernwick-wine-")
    # The session's command names the display, then lasts until its input closes.
    session = subprocess.Popen([os.path.join(SCRIPTS, "x-session"), "--screen", screen, "--",
                                "sh", "-c", 'echo "$DISPLAY"; exec cat'],
                               stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    env = None
    try:
        display = session.stdout.readline().strip()
        if not display:
            raise RuntimeError("the virtual X server did not start")
        env = testkit.environment(DISPLAY=display, WAYLAND_DISPLAY=None, WINEPREFIX=prefix,
                                  WINEARCH=wine.winearch, WINEDEBUG="-all",
                                  WINELOADER=wine.loader, WINESERVER=wine.server,
                                  WINEDLLOVERRIDES="mscoree,mshtml=")  # no Mono or Gecko offer
        subprocess.run([wine.loader, "wineboot", "--init"], env=env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=600)
        subprocess.run([wine.server, "-w"], env=env, timeout=600)
        # Wine's own fonts, Tahoma among them: Debian's 64-bit Wine does not find them itself.
        fonts = os.path.join(prefix, "drive_c", "windows", "Fonts")
        os.makedirs(fonts, exist_ok=True)
        for font in glob.glob("/usr/share/wine/fonts/*.ttf"):
            shutil.copy(font, fonts)
        yield env
    finally:
        if env is not None:
            subprocess.run([wine.server, "-k"], env=env, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL)
        session.stdin.close()
        session.wait(timeout=PATIENCE)
        shutil.rmtree(prefix, ignore_errors=True)
