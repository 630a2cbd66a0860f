#!/usr/bin/python3
"""Installs the program, or builds and unpacks its Debian package, and checks what a user gets.

    check_installed.py install VALUES_JSON     cmake --install into a temporary prefix
    check_installed.py package VALUES_JSON     scripts/package, then dpkg-deb -I and -x, lintian
                                               and hardening-check

VALUES_JSON is written by tests/CMakeLists.txt from the program's identity values.
"""

import gzip
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import testkit
from identity_files import read_desktop_entry, read_ico, read_png, validator_complaints
from testkit import run

ICON_SIZES = (16, 32, 48, 64, 128, 256)
PACKAGED_PROGRAM_LIMIT = 300 * 1024  # bytes


def check_tree(c, prefix, v):
    """Checks an installed tree: prefix holds games/ and share/."""
    binary = os.path.join(prefix, "games", v["product_name"])
    if c.check(os.path.isfile(binary), f"no {binary}"):
        c.check(os.access(binary, os.X_OK), f"{binary} is not executable")
        with open(binary, "rb") as f:
            c.equal(f.read(4), b"\x7fELF", f"{binary} header")

    share = os.path.join(prefix, "share")
    desktop_id = v["app_id"] + ".desktop"
    desktop = os.path.join(share, "applications", desktop_id)
    icon_name = None
    if c.check(os.path.isfile(desktop), f"no {desktop}"):
        complaints = validator_complaints(["desktop-file-validate", desktop])
        c.check(complaints is None, f"desktop-file-validate: {complaints}")
        entry = read_desktop_entry(desktop)
        c.equal(entry.get("Type"), "Application", "desktop Type")
        c.equal(entry.get("Name"), v["display_name"], "desktop Name")
        c.equal(entry.get("Comment"), v["summary"], "desktop Comment")
        c.check("Game" in entry.get("Categories", "").split(";"), "desktop Categories lacks Game")
        # Exec names the installed binary, found on PATH, which holds games/ for every user.
        command = entry.get("Exec", "").split()
        c.check(command and command[0] == v["product_name"], f"desktop Exec {entry.get('Exec')!r}")
        icon_name = entry.get("Icon")
        c.check(icon_name in (v["app_id"], v["product_name"]), f"desktop Icon {icon_name!r}")

    ico = dict(read_ico(v["icon_file"]))
    for size in ICON_SIZES:
        png = os.path.join(share, "icons", "hicolor", f"{size}x{size}", "apps", f"{icon_name}.png")
        if not c.check(os.path.isfile(png), f"no {png}"):
            continue
        width, height, rows = read_png(png)
        c.equal((width, height), (size, size), f"{png} dimensions")
        c.check(rows[0][0][3] == 0 and rows[size // 2][size // 2][3] == 255,
                f"{png}: corner not transparent or centre not opaque")
        if size in ico:
            c.check(rows == ico[size], f"{png} differs from the {size} x {size} window icon")
    svg = os.path.join(share, "icons", "hicolor", "scalable", "apps", f"{icon_name}.svg")
    if c.check(os.path.isfile(svg), f"no {svg}"):
        c.equal(ET.parse(svg).getroot().tag, "{http://www.w3.org/2000/svg}svg", f"{svg} root")

    manual = os.path.join(share, "man", "man6", v["product_name"] + ".6.gz")
    if c.check(os.path.isfile(manual), f"no {manual}"):
        with gzip.open(manual, "rt", encoding="utf-8") as f:
            c.check(f.read().startswith(".TH "), f"{manual} is no manual page")
    # The heading's face is compiled into the program: the copyright file carries its licence.
    copyright_file = os.path.join(share, "doc", v["product_name"], "copyright")
    if c.check(os.path.isfile(copyright_file), f"no {copyright_file}"):
        with open(os.path.join(v["source_dir"], "assets", "fonts", "LICENSE.DejaVu"),
                  encoding="utf-8") as f:
            licence = f.read().split("\nLicense:", 1)[1]
        with open(copyright_file, encoding="utf-8") as f:
            c.check(" ".join(licence.split()) in " ".join(f.read().split()),
                    f"{copyright_file} lacks the heading face's licence")

    metainfo = os.path.join(share, "metainfo", v["app_id"] + ".metainfo.xml")
    if c.check(os.path.isfile(metainfo), f"no {metainfo}"):
        complaints = validator_complaints(["appstreamcli", "validate", "--no-net", metainfo])
        c.check(complaints is None, f"appstreamcli validate: {complaints}")
        root = ET.parse(metainfo).getroot()
        c.equal(root.get("type"), "desktop-application", "metainfo component type")
        c.equal(root.findtext("id"), v["app_id"], "metainfo id")
        c.equal(root.findtext("name"), v["display_name"], "metainfo name")
        c.equal(root.findtext("developer_name"), v["company_name"], "metainfo developer")
        launchable = root.find("launchable")
        c.check(launchable is not None and launchable.get("type") == "desktop-id"
                and launchable.text == desktop_id, "metainfo launchable is not the desktop entry")
        c.check(root.find("content_rating") is not None, "metainfo has no content_rating")
        c.equal(root.findtext("provides/binary"), v["product_name"], "metainfo provided binary")
        releases = root.findall("releases/release")
        c.check(len(releases) == 1, f"metainfo has {len(releases)} releases")
        for release in releases:
            c.equal(release.get("version"), v["version_string"], "release version")
            c.check(re.fullmatch(r"\d{4}-\d{2}-\d{2}", release.get("date") or ""),
                    f"release date {release.get('date')!r}")


def check_install(c, v):
    with tempfile.TemporaryDirectory() as prefix:
        run(["cmake", "--install", v["build_dir"], "--prefix", prefix])
        check_tree(c, prefix, v)


def check_package(c, v):
    arch = run(["dpkg", "--print-architecture"]).strip()
    with tempfile.TemporaryDirectory() as out:
        # The package exactly as a person makes it.
        written = run([os.path.join(v["source_dir"], "scripts", "package")]).splitlines()[-1]
        deb = os.path.join(v["source_dir"], "out",
                           f"{v['product_name']}_{v['package_version']}_{arch}.deb")
        if not c.equal(written, deb, "the package scripts/package writes"):
            return
        fields = {}
        for line in run(["dpkg-deb", "-f", deb]).splitlines():
            if not line.startswith(" ") and ":" in line:
                key, value = line.split(":", 1)
                fields[key] = value.strip()
        c.equal(fields.get("Package"), v["product_name"], "Package")
        c.equal(fields.get("Version"), v["package_version"], "Version")
        c.equal(fields.get("Architecture"), arch, "Architecture")
        c.equal(fields.get("Section"), "games", "Section")
        c.equal(fields.get("Maintainer"), v["maintainer"], "Maintainer")
        c.equal(fields.get("Description"), v["summary"], "Description's first line")
        long_description = run(["dpkg-deb", "-f", deb, "Description"])
        c.check(v["description"] in " ".join(long_description.split()),
                f"long description is {long_description!r}")
        depends = [d.split()[0] for d in fields.get("Depends", "").split(",") if d.strip()]
        for library in ("libqt6widgets6", "libqt6gui6", "libqt6core6", "libc6", "libstdc++6",
                        "fonts-dejavu-extra"):
            c.check(library in depends, f"Depends lacks {library}: {fields.get('Depends')!r}")
        listing = run(["dpkg-deb", "-c", deb]).splitlines()
        c.check(all(" root/root " in line for line in listing), "files not owned by root")
        root = os.path.join(out, "root")
        run(["dpkg-deb", "-x", deb, root])
        c.equal(sorted(os.listdir(root)), ["usr"], "top-level folders in the package")
        check_tree(c, os.path.join(root, "usr"), v)
        # Debian's own checker, down to its informational and pedantic tags: not one tag.
        result = subprocess.run(["lintian", "-I", "--pedantic", "--fail-on",
                                 "error,warning,info,pedantic", deb],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        tags = [line for line in result.stdout.splitlines() if re.match(r"[A-Z]: ", line)]
        c.check(result.returncode == 0 and not tags, f"lintian:\n{result.stdout}")
        # The program as a distribution would ship it: hardened, and small.
        program = os.path.join(root, "usr", "games", v["product_name"])
        # Control-flow protection is compiled in, but the program cannot be marked as having it:
        # Debian 12's C start-up files, which every program links, are built without it.
        report = run(["hardening-check", "--nocfprotection", program])
        for feature in ("Position Independent Executable", "Stack protected",
                        "Fortify Source functions", "Read-only relocations", "Immediate binding"):
            c.check(re.search(rf"^ {feature}: yes\b", report, re.M), f"hardening-check:\n{report}")
        size = os.path.getsize(program)
        c.check(size <= PACKAGED_PROGRAM_LIMIT, f"{program} is {size} bytes")


def main():
    mode = sys.argv[1]
    v = testkit.identity_values(sys.argv[2])
    tools = ["desktop-file-validate", "appstreamcli"]
    tools += ["dpkg-deb", "dpkg-shlibdeps", "lintian", "hardening-check"] if mode == "package" else []
    testkit.require_programs(*tools)
    if not os.path.isfile(os.path.join(v["build_dir"], "CPackConfig.cmake")):
        testkit.fail("the build has no install rules or package settings: the top-level "
                     "CMakeLists.txt must end with include(cmake/install.cmake)")
    c = testkit.Checker()
    {"install": check_install, "package": check_package}[mode](c, v)
    c.finish(f"{mode} check")


if __name__ == "__main__":
    main()
