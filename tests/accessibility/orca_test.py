#!/usr/bin/python3
"""What Orca says of the game, word for word, on the desktop or in a browser.

    orca_test.py X_SESSION desktop FERNWICK QT_VERSION
    orca_test.py X_SESSION chromium|firefox SITE

Orca runs on a private X server, session bus and HOME, its speech written to a file. The test
presses Space twice, as a player does, and checks what was said: the window or page, the heading
and the focused button at start; after a press the new heading, once, as words; never the hidden
state.
"""

import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

import testkit


def words(text):
    return " ".join(text.split())


TEXTS = testkit.Design().texts
WELCOME, WON = (words(TEXTS[name]) for name in ("WelcomeHeading", "WonHeading"))
CAPTION = TEXTS["WelcomeCaption"]
HIDDEN = re.compile(rf"\b({TEXTS['Won']}|{TEXTS['NotWon']})\b")

SPEECHD = """AddModule "file" "sd_generic" "file.conf"
DefaultModule file
DefaultLanguage "en"
AudioOutputMethod "alsa"
"""
MODULE = """GenericExecuteSynth "printf %s \\'$DATA\\' >> \\"$SPOKEN_FILE\\"; echo >> \\"$SPOKEN_FILE\\""
GenericLanguage "en" "en" "utf-8"
AddVoice "en" "MALE1" "en"
"""
BROWSERS = {"chromium": ["chromium", "--no-first-run", "--no-default-browser-check",
                         "--disable-gpu", "--force-renderer-accessibility", "--user-data-dir={}"]
                        + (["--no-sandbox"] if os.geteuid() == 0 else []),
            "firefox": ["firefox-esr", "--no-remote", "--profile", "{}"]}

HARNESS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "web", "lib", "harness.js")
FIRST_RUN = (("browser.aboutwelcome.enabled", "false"), ("browser.newtab.preload", "false"),
             ("browser.shell.checkDefaultBrowser", "false"), ("startup.homepage_welcome_url", '""'),
             ("browser.startup.homepage_override.mstone", '"ignore"'),
             ("datareporting.policy.dataSubmissionEnabled", "false"),
             ("datareporting.policy.firstRunURL", '""'),
             ("toolkit.telemetry.reportingpolicy.firstRun", "false"))


def outside(x_session, target, what, *rest):
    programs = ["orca", "dbus-run-session", "xdotool", "Xvfb", "openbox"]
    if target in BROWSERS:
        programs += [BROWSERS[target][0], "node"]
    testkit.require_programs(*programs)
    # Orca runs once per user: a second would take over the first's or quit.
    if subprocess.run(["pgrep", "-u", str(os.getuid()), "-x", "orca"],
                      stdout=subprocess.DEVNULL).returncode == 0:
        testkit.missing("orca", "stop it to run this test", why="already running for this user")
    if not os.path.exists("/usr/lib/speech-dispatcher-modules/sd_generic"):
        testkit.missing("speech-dispatcher")
    home = tempfile.mkdtemp(prefix="fernwick-orca-")
    try:
        os.makedirs(f"{home}/.config/speech-dispatcher/modules")
        for name, text in (("speechd.conf", SPEECHD), ("modules/file.conf", MODULE)):
            with open(f"{home}/.config/speech-dispatcher/{name}", "w") as f:
                f.write(text)
        # Orca's settings: on a page's load it says the line at the focus, not the whole page: the
        # browser's focus follows its reading, and Space pressed meanwhile would miss the button.
        os.makedirs(f"{home}/.local/share/orca")
        with open(f"{home}/.local/share/orca/user-settings.conf", "w") as f:
            json.dump({"general": {"sayAllOnLoad": False}, "pronunciations": {}, "keybindings": {},
                       "profiles": {"default": {"profile": ["Default", "default"],
                                                "sayAllOnLoad": False}}}, f)
        # No sound card: speech-dispatcher's output module starts only with a device to open.
        with open(f"{home}/.asoundrc", "w") as f:
            f.write("pcm.!default { type null }\n")
        os.mkdir(f"{home}/runtime", 0o700)
        env = {"PATH": os.environ["PATH"], "HOME": home, "LANG": "C.UTF-8",
               "XDG_RUNTIME_DIR": f"{home}/runtime", "SPOKEN_FILE": f"{home}/spoken",
               "PYTHONPATH": os.environ.get("PYTHONPATH", ""), "CI": os.environ.get("CI", "")}
        inner = [sys.executable, os.path.abspath(__file__), "--inside", target, what, *rest]
        sys.exit(subprocess.call([x_session, "--", "dbus-run-session", "--"] + inner, env=env))
    finally:
        shutil.rmtree(home, ignore_errors=True)


def inside(target, what, qt_version=None):
    home, spoken = os.environ["HOME"], os.environ["SPOKEN_FILE"]
    open(spoken, "w").close()
    started = []

    def start(command, **options):
        started.append(subprocess.Popen(command, stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL, **options))

    def said():
        with open(spoken, encoding="utf-8", errors="replace") as f:
            return [line.strip() for line in f if line.strip()]

    def wait_for(predicate, what, limit=90):
        deadline = time.monotonic() + limit
        while not predicate(said()):
            if time.monotonic() > deadline:
                testkit.fail(f"Orca did not say {what} within {limit} s; it said: {said()}")
            time.sleep(0.1)

    def key(name):
        subprocess.run(["xdotool", "key", name], check=True)

    try:
        start(["orca"])
        wait_for(lambda lines: lines, "anything")
        if target == "desktop":
            env = testkit.environment(QT_QPA_PLATFORM="xcb")
            start([what], env=env)
        else:
            # The browser tests' server, which prints the page's address.
            serve = (f"require({json.dumps(HARNESS)}).serve({json.dumps(what)})"
                     ".then((s) => console.log(s.url))")
            server = subprocess.Popen(["node", "-e", serve], stdout=subprocess.PIPE, text=True)
            started.append(server)
            url = server.stdout.readline().strip()
            command = [part.format(f"{home}/{target}") for part in BROWSERS[target]]
            os.makedirs(f"{home}/{target}")
            # No first-run pages: the game's page is the only one.
            with open(f"{home}/{target}/user.js", "w") as f:
                f.writelines(f'user_pref("{name}", {value});\n' for name, value in FIRST_RUN)
            start(command + [url])
        # At start: the window or page by name, the heading (a browser may read it a line at a time,
        # its lines in order between other things) and the focused button with its caption.
        wait_for(lambda lines: "FernWick" in " ".join(lines) and CAPTION in " ".join(lines) and (
                 WELCOME in words(" ".join(lines))
                 or WELCOME in words(" ".join(line for line in lines if line in WELCOME))),
                 "the heading and the button")
        # Only a press that changes the heading is heard where Qt's change events carry the text.
        heard_after_press = qt_version is None or tuple(map(int, qt_version.split("."))) >= (6, 8)
        marks = []
        for heading in (WON, WELCOME):
            marks.append(len(said()))
            key("space")
            if heard_after_press:
                wait_for(lambda lines: heading in words(" ".join(lines[marks[-1]:])), heading)
        marks.append(len(said()))
        key("Tab")  # the end of the run: the focus stays, and Orca echoes the key
        wait_for(lambda lines: "tab" in lines[marks[-1]:], "the last key")
        lines = said()
    finally:
        for process in reversed(started):
            process.terminate()
            try:
                process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()

    checks = testkit.Checker()
    print("Orca said:\n  " + "\n  ".join(lines))
    for n, heading in enumerate((WON, WELCOME) if heard_after_press else ()):
        after = words(" ".join(lines[marks[n]:marks[n + 1]]))
        # Each of its lines once: the wait above has already heard it whole, as words.
        for line in heading.split("! "):
            checks.equal(after.count(line.rstrip("!")), 1, f"how often press {n + 1} says {line!r}")
    if not heard_after_press:
        print(f"# not checked: what a press says; Qt {qt_version} sends a change without its text")
    checks.check(not HIDDEN.search(" ".join(lines)), "the hidden state is said")
    checks.check(not any("\r" in line for line in lines), "a raw line break is said")
    checks.finish(f"orca.{target}")


if __name__ == "__main__":
    if sys.argv[1] == "--inside":
        inside(*sys.argv[2:])
    else:
        outside(*sys.argv[1:])
