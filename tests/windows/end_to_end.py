#!/usr/bin/python3
"""The real Windows program under Wine with a window manager, real input and an MSAA reader in
another process; then started at 192 DPI. Keeps the screenshots for people to look at.

    end_to_end.py BUILD_DIR SCREENSHOT_DIR
"""

import contextlib
import os
import subprocess
import sys

import testkit
import winetools

DESIGN = testkit.Design()
_left, _top, _right, _bottom = DESIGN.rect["STARTBUTTON"]
BUTTON = ((_left + _right) // 2, (_top + _bottom) // 2)  # its centre, in client coordinates
# Where a click shows: the button's own look, and its focus frame, change with the keys.
ABOVE_BUTTON = f"{DESIGN.client[0]}x{_top - 2}+0+0"
DOG_FRAME = DESIGN.rect["Picture1"]


def tree(screen):
    """What msaa_reader.exe reads on `screen` ("Welcome" or "Won")."""
    def text(name):
        return DESIGN.texts[screen + name].replace("\r", "\\r").replace("\n", "\\n")
    return ["client | FernWick | -", "  graphic | Cartoon dog | -",
            f"  push button | {text('Caption')} | Press", f"  static text | {text('Heading')} | -"]


WELCOME_TREE, WON_TREE = tree("Welcome"), tree("Won")
PATIENCE = winetools.PATIENCE
X_WINDOW = os.path.join(winetools.SCRIPTS, "x-window")


class Shot:
    def __init__(self, path, env):
        def run(*command):
            return subprocess.run(command, env=env, capture_output=True, check=True).stdout
        self.width, self.height = map(int, run("identify", "-format", "%w %h", path).split())
        self.pixels, self.path = run("convert", path, "-depth", "8", "rgb:-"), path

    def __eq__(self, other):
        return (self.width, self.height, self.pixels) == (other.width, other.height, other.pixels)

    def at(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])

    def count_other(self, colour, box):
        left, top, right, bottom = box
        return sum(1 for y in range(top, bottom) for x in range(left, right)
                   if self.at(x, y) != tuple(colour))


class Game:
    def __init__(self, env, shots, pid, wine=None, reader=None):
        self.env, self.shots, self.pid, self.window = env, shots, pid, None
        self.wine, self.reader = wine, reader

    def run(self, *args):
        return subprocess.run(args, env=self.env, capture_output=True, text=True, check=True,
                              timeout=PATIENCE).stdout.strip()

    def wait_for_window(self):
        self.window = self.run(X_WINDOW, "find", str(self.pid), "FernWick")
        return self.run("xdotool", "getwindowname", self.window)

    def shot(self, name, unlike=None, frame=False):
        """The window once drawn, changed above the button from `unlike`, and settled."""
        path = os.path.join(self.shots, f"{name}.png")
        options = (["--frame"] if frame else []) + (
            ["--unlike", unlike.path, "--part", ABOVE_BUTTON] if unlike else [])
        self.run(X_WINDOW, "shot", *options, self.window, path)
        return Shot(path, self.env)

    def click_button(self):
        self.run("xdotool", "mousemove", "--window", self.window, *map(str, BUTTON), "click", "1")

    def read_tree(self, *options):
        """What msaa_reader.exe prints, through a file: Wine's services would hold a pipe open."""
        path = os.path.join(self.shots, "msaa-tree.txt")
        with open(path, "w") as out:
            subprocess.run([self.wine.loader, self.reader, *options], env=self.env, stdout=out,
                           timeout=PATIENCE)
        with open(path) as tree:
            return tree.read().splitlines()

    def key(self, name):
        # To the active window: keys sent to a window never reach the window manager (Alt+F4).
        self.run("xdotool", "windowactivate", "--sync", self.window, "key", name)


@contextlib.contextmanager
def running(wine, exe, env):
    process = subprocess.Popen([wine.loader, exe], env=env)
    try:
        yield process
    finally:
        if process.poll() is None:
            process.kill()
            process.wait()


def play(c, wine, exe, reader, shots):
    check = c.check
    # A screen with room for the window at 192 DPI.
    with winetools.wine_session(wine, screen="1024x768x24") as env:
        try:
            with running(wine, exe, env) as process:
                game = Game(env, shots, process.pid, wine, reader)
                title = game.wait_for_window()
                check(title == "FernWick", f"the window's title is FernWick ({title!r})")

                welcome = game.shot("welcome")
                game.shot("welcome-framed", frame=True)

                tree = game.read_tree()
                check(tree == WELCOME_TREE, f"a screen reader reads the welcome screen ({tree})")

                game.click_button()
                won = game.shot("won", unlike=welcome)
                game.shot("won-framed", frame=True)
                tree = game.read_tree()
                check(tree == WON_TREE, f"a screen reader reads the won screen ({tree})")

                # Had Enter or Escape clicked, Space would bring back the won screen, not this.
                game.key("Return")
                game.key("Escape")
                game.key("space")
                back = game.shot("back", unlike=won)
                check(back == welcome, "Enter and Escape do nothing; then Space on the focused "
                      "button restores the welcome screen")

                game.read_tree("--press")
                again = game.shot("won-again", unlike=back)
                check(again == won, "the button's Press action, as a screen reader does it, wins")

                game.key("alt+F4")
                status = process.wait(timeout=PATIENCE)
                check(status == 0, f"Alt+F4 ends the program with status 0 (status {status})")
            if c.failures:
                return

            # At 192 DPI, which Wine 10 reads from the registry once per server: let it end first.
            game.run(wine.loader, "reg", "add", r"HKCU\Control Panel\Desktop", "/v", "LogPixels",
                     "/t", "REG_DWORD", "/d", "192", "/f")
            subprocess.run([wine.server, "-w"], env=env, timeout=PATIENCE)
            with running(wine, exe, env) as process:
                game = Game(env, shots, process.pid)
                game.wait_for_window()
                doubled = game.shot("welcome-192dpi")
                game.shot("welcome-192dpi-framed", frame=True)
                size = tuple(2 * v for v in DESIGN.client)
                check((doubled.width, doubled.height) == size, f"at 192 DPI the window is "
                      f"{size[0]} x {size[1]} ({doubled.width} x {doubled.height})")
                # The double-size dog has four times the pixels of the 96-DPI one.
                face = welcome.at(0, 0)
                small = welcome.count_other(face, DOG_FRAME)
                large = doubled.count_other(face, tuple(2 * v for v in DOG_FRAME))
                check(3 * small < large < 5 * small,
                      f"at 192 DPI the double-size dog shows ({large} pixels of it, {small} at 96)")
                game.key("alt+F4")
                process.wait(timeout=PATIENCE)
        except subprocess.SubprocessError as error:
            check(False, f"the game could not be played: {error}")


def main():
    build, shots = sys.argv[1], sys.argv[2]
    winetools.require_programs("Xvfb", "openbox", "xdotool", "xprop", "import", "convert",
                               "identify")
    wine = winetools.choose_wine()
    exe = winetools.require_build(build, wine.build, "fernwick.exe")
    reader = winetools.require_build(build, wine.build, "msaa_reader.exe")
    os.makedirs(shots, exist_ok=True)
    c = testkit.Checker()
    play(c, wine, exe, reader, shots)
    print(f"screenshots: {shots}")
    c.finish("end to end")


if __name__ == "__main__":
    main()
