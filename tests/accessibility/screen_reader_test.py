#!/usr/bin/python3
"""The window as a screen reader finds it over AT-SPI, read and played with pyatspi.

    screen_reader_test.py FERNWICK X_SESSION

Runs the real program on a private X server (X_SESSION --wm none) in a private session bus
(dbus-run-session), where at-spi2-core's bus launcher starts the accessibility bus on demand.
Prints the tree before and after each press. Where python3-pyatspi, at-spi2-core, dbus or Xvfb is
missing it is skipped with one line, except in CI, where that is a failure.
"""

import os
import shutil
import subprocess
import sys
import time

import testkit

LAUNCHER = "/usr/libexec/at-spi-bus-launcher"

# What the hidden label holds: the game's state, which nobody sees and so nobody hears.
HIDDEN_TEXTS = ("clocked", "True", "False")
WELCOME = ("Welcome to FERNWICK!", "BEGIN FERNWICK!")
WON = ("Congratulations! You have clocked Fernwick! SCORE = 1", "Click to restart game!")


def missing_packages():
    missing = []
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        missing.append("python3-pyatspi")
    if not os.access(LAUNCHER, os.X_OK):
        missing.append("at-spi2-core")
    if not shutil.which("dbus-run-session"):
        missing.append("dbus")
    if not shutil.which("Xvfb"):
        missing.append("xvfb")
    return missing


def outside(fernwick, x_session):
    missing = missing_packages()
    if missing:
        testkit.missing(", ".join(missing), "scripts/install-deps test installs them")
    inner = [sys.executable, os.path.abspath(__file__), "--inside", fernwick]
    sys.exit(subprocess.call([x_session, "--wm", "none", "--", "dbus-run-session", "--"] + inner))


def inside(fernwick):
    import pyatspi
    from gi.repository import GLib

    checks = testkit.Checker()
    check = checks.check
    events = []  # (type, source role, source name, event data)
    # Roles by what they are, not by name: at-spi2-core 2.56 calls a push button "button".
    label, image, push_button = pyatspi.ROLE_HEADING, pyatspi.ROLE_IMAGE, pyatspi.ROLE_PUSH_BUTTON

    def record(event):
        source = event.source
        data = event.any_data if isinstance(event.any_data, str) else ""
        events.append((event.type, source.getRole(), source.name or "", data))

    pyatspi.Registry.registerEventListener(record, "object", "window")
    env = testkit.environment(QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb")
    program = subprocess.Popen([fernwick], env=env)
    context = GLib.MainContext.default()

    def wait_until(predicate, what, limit=60):
        deadline = time.monotonic() + limit
        while not predicate():
            if program.poll() is not None:
                testkit.fail(f"fernwick ended ({program.returncode}) while waiting for {what}")
            if time.monotonic() > deadline:
                testkit.fail(f"no {what} within {limit} s")
            GLib.timeout_add(50, lambda: False)  # wakes the loop to look again
            context.iteration(True)

    def window():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "fernwick" and app.childCount > 0:
                frame = app[0]
                if frame.getState().contains(pyatspi.STATE_SHOWING):
                    return app
        return None

    def nodes(node):
        yield node
        for child in node:
            yield from nodes(child)

    def show(app, title):
        print(title)
        for node in nodes(app):
            depth = 0
            parent = node
            while parent != app:
                parent, depth = parent.parent, depth + 1
            actions = ""
            if node.getRole() == pyatspi.ROLE_PUSH_BUTTON:
                action = node.queryAction()
                actions = " [" + ", ".join(action.getName(i) for i in range(action.nActions)) + "]"
            print(f"  {'  ' * depth}{node.getRoleName()} {node.name!r}{actions}")

    def read_as_words(name):
        check("\r" not in name, f"{name!r} holds a raw CR")
        return " ".join(name.split())

    def check_tree(app, heading, caption):
        for node in nodes(app):
            for text in (node.name or "", node.description or ""):
                check(text.strip() not in HIDDEN_TEXTS, f"a {node.getRoleName()} reads {text!r}")
        if not check(app.childCount == 1, f"the application holds {app.childCount} nodes"):
            return None
        frame = app[0]
        check(frame.getRole() == pyatspi.ROLE_FRAME and frame.name == "FernWick",
              f"the window is a {frame.getRoleName()} named {frame.name!r}")
        roles = sorted(child.getRole() for child in frame)
        check(roles == sorted([image, label, push_button]),
              f"the window holds {[child.getRoleName() for child in frame]}")
        button = None
        for child in frame:
            role = child.getRole()
            if role == label:
                check(read_as_words(child.name) == heading, f"the heading reads {child.name!r}")
            elif role == image:
                check(child.name == "Cartoon dog", f"the picture is named {child.name!r}")
                check(not child.getState().contains(pyatspi.STATE_FOCUSABLE),
                      "the picture takes focus")
            elif role == push_button:
                button = child
                check(child.name == caption, f"the button is named {child.name!r}")
        return button

    def press(button):
        action = button.queryAction()
        names = [action.getName(i) for i in range(action.nActions)]
        if check("Press" in names, f"the button's actions are {names}"):
            action.doAction(names.index("Press"))

    def announced(since, heading, caption):
        def seen():
            renamed = {(role, " ".join(name.split())) for kind, role, name, _ in events[since:]
                       if kind == "object:property-change:accessible-name"}
            return (label, heading) in renamed and (push_button, caption) in renamed
        return seen

    wait_until(lambda: window() is not None, "window shown to screen readers")
    app = window()
    show(app, "Before a press:")
    button = check_tree(app, *WELCOME)
    for title, (heading, caption) in (("After a press:", WON), ("After a second press:", WELCOME)):
        if button is None:
            break
        since = len(events)
        press(button)
        wait_until(announced(since, heading, caption),
                   f"name-change events for {heading!r} and {caption!r}")
        show(app, title)
        button = check_tree(app, heading, caption)

    program.terminate()
    program.wait()
    for kind, role, name, data in events:
        for text in (name, data):
            check(text.strip() not in HIDDEN_TEXTS and "\r" not in text,
                  f"{kind} from a {role} carries {text!r}")
    checks.finish("screen-reader test")


if __name__ == "__main__":
    if sys.argv[1] == "--inside":
        inside(sys.argv[2])
    else:
        outside(sys.argv[1], sys.argv[2])
