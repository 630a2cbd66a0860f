#!/usr/bin/python3
"""Checks the committed identity files against their sources, and the generated ones: icons
reproduced, values held in identity.cmake (and debian/) alone, validators silent.

    check_sources.py icons|values|desktop|metainfo VALUES_JSON
"""

import filecmp
import os
import subprocess
import sys
import tempfile

import testkit
from identity_files import metainfo_complaints, validator_complaints

VALIDATORS = "desktop-file-utils and appstream; scripts/install-deps test installs them"


def check_icons(c, v):
    identity = v["identity_dir"]
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([os.path.join(identity, "make-icons"), "--out", out], check=True)
        made = [os.path.join("hicolor", name) for name in sorted(os.listdir(os.path.join(out, "hicolor")))]
        committed = sorted(os.path.join("hicolor", name) for name in os.listdir(v["hicolor_dir"]))
        c.equal(made, committed, "rendered PNGs")
        for name in ["fernwick.ico"] + made:
            c.check(os.path.isfile(os.path.join(identity, name))
                    and filecmp.cmp(os.path.join(out, name), os.path.join(identity, name), shallow=False),
                    f"{name} is out of date: run assets/identity/make-icons and commit the result")


def source_files(root):
    for folder, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if not d.startswith(".") and not d.startswith("build") and d != "out"]
        for name in files:
            yield os.path.join(folder, name)


def check_values(c, v):
    home = os.path.realpath(os.path.join(v["identity_dir"], "identity.cmake"))
    # Values that cannot turn up by chance; shorter ones like "fernwick" or "1.00" are everywhere.
    wanted = [v["company_name"], v["app_id"], v["summary"], v["description"]]
    found = {value: [] for value in wanted}
    for path in source_files(v["source_dir"]):
        try:
            with open(path, encoding="utf-8") as f:
                text = f.read()
        except (UnicodeDecodeError, OSError):
            continue  # images and other binary files
        for value in wanted:
            if value in text:
                found[value].append(os.path.realpath(path))
    # The package test checks the built package's fields against the values.
    debian = os.path.realpath(os.path.join(v["source_dir"], "debian")) + os.sep
    for value, paths in found.items():
        c.check(home in paths and all(p == home or p.startswith(debian) for p in paths),
                f"files holding {value!r}: {paths}")


def check_desktop(c, v):
    testkit.require_programs("desktop-file-validate", hint=VALIDATORS)
    complaints = validator_complaints(["desktop-file-validate", v["desktop_file"]])
    c.check(complaints is None, f"desktop-file-validate: {complaints}")


def check_metainfo(c, v):
    testkit.require_programs("appstreamcli", hint=VALIDATORS)
    complaints = metainfo_complaints(v["metainfo_file"])
    c.check(complaints is None, f"appstreamcli validate --pedantic: {complaints}")


def main():
    mode = sys.argv[1]
    v = testkit.identity_values(sys.argv[2])
    c = testkit.Checker()
    {"icons": check_icons, "values": check_values, "desktop": check_desktop,
     "metainfo": check_metainfo}[mode](c, v)
    c.finish(f"{mode} check")


if __name__ == "__main__":
    main()
