#!/usr/bin/python3
"""Installs the program, or builds its Debian package, and checks what a user gets.

    check_installed.py install|package|autopkgtest VALUES_JSON
"""

import glob
import gzip
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

import testkit
from identity_files import read_desktop_entry, read_ico, read_png
from testkit import run

ICON_SIZES = (16, 32, 48, 64, 128, 256)
PACKAGED_PROGRAM_LIMIT = 300 * 1024  # bytes


def check_tree(c, prefix, v):
    binary = os.path.join(prefix, "games", v["product_name"])
    if c.check(os.access(binary, os.X_OK), f"no executable {binary}"):
        with open(binary, "rb") as f:
            c.equal(f.read(4), b"\x7fELF", f"{binary} header")

    share = os.path.join(prefix, "share")
    desktop_id = v["app_id"] + ".desktop"
    desktop = os.path.join(share, "applications", desktop_id)
    icon_name = None
    if c.check(os.path.isfile(desktop), f"no {desktop}"):
        entry = read_desktop_entry(desktop)
        c.equal(entry.get("Type"), "Application", "desktop Type")
        c.equal(entry.get("Name"), v["display_name"], "desktop Name")
        c.equal(entry.get("Comment"), v["summary"], "desktop Comment")
        c.check("Game" in entry.get("Categories", "").split(";"), "desktop Categories lacks Game")
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

    # The package's manual page is compressed (by dh), an installed tree's is not.
    manual = os.path.join(share, "man", "man6", v["product_name"] + ".6")
    manual = manual + ".gz" if os.path.isfile(manual + ".gz") else manual
    if c.check(os.path.isfile(manual), f"no {manual}"):
        with (gzip.open if manual.endswith(".gz") else open)(manual, "rt", encoding="utf-8") as f:
            c.check(f.read().startswith(".TH "), f"{manual} is no manual page")
    metainfo = os.path.join(share, "metainfo", v["app_id"] + ".metainfo.xml")
    if c.check(os.path.isfile(metainfo), f"no {metainfo}"):
        root = ET.parse(metainfo).getroot()
        c.equal(root.get("type"), "desktop-application", "metainfo component type")
        c.equal(root.findtext("id"), v["app_id"], "metainfo id")
        c.equal(root.findtext("name"), v["display_name"], "metainfo name")
        # AppStream 1.0's <developer>, or the <developer_name> of the releases before it.
        developer = root.findtext("developer/name") or root.findtext("developer_name")
        c.equal(developer, v["company_name"], "metainfo developer")
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
        run(["cmake", "--install", v["binary_dir"], "--prefix", prefix])
        check_tree(c, prefix, v)


def check_copyright(c, path, v):
    # The heading's face is compiled in: the copyright file carries its licence.
    def words(path):
        return " ".join(pathlib.Path(path).read_text(encoding="utf-8").split())
    licence = words(os.path.join(v["source_dir"], "assets", "fonts", "LICENSE.DejaVu"))
    c.check(licence.split(" License: ", 1)[1] in words(path), f"{path} lacks the face's licence")


def owning_packages(program):
    needed = re.findall(r"\(NEEDED\)\s+Shared library: \[(.+?)\]", run(["readelf", "-d", program]))
    packages = set()
    for line in run(["ldd", program]).splitlines():
        if "=> /" not in line or line.split()[0] not in needed:
            continue
        library = os.path.realpath(line.split("=>")[1].split()[0])
        for path in (library, "/usr" + library, library.removeprefix("/usr")):
            found = subprocess.run(["dpkg-query", "-S", path], stdout=subprocess.PIPE,
                                   stderr=subprocess.DEVNULL, text=True)
            if found.returncode == 0:
                packages.add(found.stdout.split(":")[0])
                break
        else:
            packages.add(f"(no package holds {library})")
    return packages


def hardening(program):
    report = subprocess.run(["hardening-check", program], stdout=subprocess.PIPE, text=True).stdout
    return {name.strip(): answer.split()[0].rstrip(",") for name, answer in
            (line.split(":", 1) for line in report.splitlines()[1:] if ":" in line)}, report


def check_hardening(c, program, debug_file):
    """Every protection hardening-check finds in the release's own openbox, it finds here; stack
    clash probes need large frames, so without them the debug symbols must name the option."""
    theirs, their_report = hardening("/usr/bin/openbox")
    ours, our_report = hardening(program)
    producers = run(["readelf", "--debug-dump=info", debug_file]) if debug_file else ""
    for feature, answer in theirs.items():
        if answer != "yes" or ours.get(feature) == "yes":
            continue
        if feature == "Stack clash protection" and ours.get(feature) == "unknown":
            c.check("-fstack-clash-protection" in producers,
                    "no stack-clash protection, and the debug symbols do not name the option")
        else:
            c.check(False, f"{feature} in openbox but not here:\n{our_report}\n{their_report}")


def check_package(c, v):
    arch = run(["dpkg", "--print-architecture"]).strip()
    with tempfile.TemporaryDirectory() as out:
        made = run([os.path.join(v["source_dir"], "scripts", "package")]).split()
        changes = [p for p in made if p.endswith(".changes")]
        debs = [p for p in made if os.path.basename(p).startswith(v["product_name"] + "_")
                and p.endswith(f"_{arch}.deb")]
        debug = [p for p in made if os.path.basename(p).startswith(v["product_name"] + "-dbgsym_")]
        if not c.check(len(changes) == 1 and len(debs) == 1, f"scripts/package made {made}"):
            return
        deb = debs[0]
        fields = {key: value.strip() for key, value in (
            line.split(":", 1) for line in run(["dpkg-deb", "-f", deb]).splitlines()
            if not line.startswith(" ") and ":" in line)}
        c.equal(fields.get("Package"), v["product_name"], "Package")
        # On Debian 12 the package is a backport, and its version says so.
        version = fields.get("Version", "")
        c.check(version == v["package_version"] or version.startswith(v["package_version"] + "~bpo"),
                f"Version {version!r}")
        c.equal(fields.get("Architecture"), arch, "Architecture")
        c.equal(fields.get("Section"), "games", "Section")
        c.equal(fields.get("Maintainer"), v["maintainer"], "Maintainer")
        c.equal(fields.get("Description"), v["summary"], "Description's first line")
        long_description = run(["dpkg-deb", "-f", deb, "Description"])
        c.check(v["description"] in " ".join(long_description.split()),
                f"long description is {long_description!r}")
        listing = run(["dpkg-deb", "-c", deb]).splitlines()
        c.check(all(" root/root " in line for line in listing), "files not owned by root")
        root = os.path.join(out, "root")
        run(["dpkg-deb", "-x", deb, root])
        c.equal(sorted(os.listdir(root)), ["usr"], "top-level folders in the package")
        check_tree(c, os.path.join(root, "usr"), v)
        check_copyright(c, os.path.join(root, "usr", "share", "doc", v["product_name"], "copyright"), v)
        program = os.path.join(root, "usr", "games", v["product_name"])
        # Each library the program loads comes with the package that holds it on this release.
        depends = {d.split()[0] for d in fields.get("Depends", "").split(",") if d.strip()}
        for package in sorted(owning_packages(program) | {"fonts-dejavu-extra"}):
            c.check(package in depends, f"Depends lacks {package}: {fields.get('Depends')!r}")
        # Not one lintian tag, informational and pedantic ones included.
        result = subprocess.run(["lintian", "-I", "--pedantic", "--fail-on",
                                 "error,warning,info,pedantic", changes[0]],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        tags = [line for line in result.stdout.splitlines() if re.match(r"[A-Z]: ", line)]
        c.check(result.returncode == 0 and not tags, f"lintian:\n{result.stdout}")
        # The program as the release would ship it: hardened as its own programs are, and small.
        debug_file = None
        if debug:
            run(["dpkg-deb", "-x", debug[0], os.path.join(out, "debug")])
            debug_file = next((os.path.join(folder, name)
                               for folder, _, names in os.walk(os.path.join(out, "debug"))
                               for name in names if name.endswith(".debug")), None)
        check_hardening(c, program, debug_file)
        size = os.path.getsize(program)
        c.check(size <= PACKAGED_PROGRAM_LIMIT, f"{program} is {size} bytes")


def check_autopkgtest(c, v):
    """The package's own tests on autopkgtest's null testbed, with the package installed here."""
    if os.geteuid() != 0:
        testkit.missing("root, which installs the package for its tests", "run as root")
    out = os.path.join(v["source_dir"], "out")
    sources = glob.glob(os.path.join(out, v["product_name"] + "_*.dsc"))
    debs = glob.glob(os.path.join(out, v["product_name"] + "_*.deb"))
    if not c.check(len(sources) == 1 and len(debs) == 1, f"no single package in {out}"):
        return
    before = subprocess.run(["dpkg-query", "-W", "-f=${Status}", v["product_name"]],
                            stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True).stdout
    run(["apt-get", "install", "-y", "-qq", "--no-install-recommends", debs[0]],
        env=testkit.environment(DEBIAN_FRONTEND="noninteractive"))
    try:
        result = subprocess.run(["autopkgtest", "--no-built-binaries", sources[0], "--", "null"],
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
        print(result.stdout)
        c.equal(result.returncode, 0, "autopkgtest's status")
    finally:
        if before != "install ok installed":
            run(["dpkg", "--purge", v["product_name"]])


def main():
    mode = sys.argv[1]
    v = testkit.identity_values(sys.argv[2])
    tools = ["desktop-file-validate", "appstreamcli"]
    tools += {"package": ["dpkg-buildpackage", "lintian", "hardening-check", "readelf"],
              "autopkgtest": ["autopkgtest"]}.get(mode, [])
    testkit.require_programs(*tools)
    c = testkit.Checker()
    {"install": check_install, "package": check_package, "autopkgtest": check_autopkgtest}[mode](c, v)
    c.finish(f"{mode} check")


if __name__ == "__main__":
    main()
