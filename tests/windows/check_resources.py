#!/usr/bin/python3
"""Reads the built fernwick.exe with pefile, independent of the tools that wrote it: format,
imports, resources, manifest, release image and the download zip (win64's image too, if built).

    check_resources.py VALUES_JSON BUILD_DIR
"""

import os
import pathlib
import struct
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

import testkit
import winetools

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
LANG_NEUTRAL, LANG_EN_US = 0, 1033
FIRST_ICON_IMAGE = 30001
STRING_KEYS = ["CompanyName", "ProductName", "FileVersion", "ProductVersion", "InternalName",
               "OriginalFilename"]
# DLLs every Windows installation has in its system folder.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll", "comctl32.dll",
               "msimg32.dll", "advapi32.dll", "shell32.dll", "ole32.dll", "oleaut32.dll",
               "oleacc.dll", "windowscodecs.dll"}
MAX_SIZE = 512 * 1024
# IMAGE_DLLCHARACTERISTICS_*: ASLR, DEP, terminal-server aware; high-entropy ASLR on x86-64.
DYNAMIC_BASE, NX_COMPAT, TERMINAL_SERVER_AWARE, HIGH_ENTROPY_VA = 0x40, 0x100, 0x8000, 0x20
# Windows 7, 8, 8.1 and 10/11.
SUPPORTED_OS = {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
ASM_V1, ASM_V3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
COMPATIBILITY = "{urn:schemas-microsoft-com:compatibility.v1}"
SETTINGS_2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"


def resources(pe):
    """{(type, name, language): bytes}, in the order they are listed in."""
    found = {}
    for kind in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in kind.directory.entries:
            for language in name.directory.entries:
                key = (kind.id if kind.name is None else str(kind.name),
                       name.id if name.name is None else str(name.name), language.id)
                found[key] = pe.get_data(language.data.struct.OffsetToData,
                                         language.data.struct.Size)
    return found


def version_node(data, at=0, level=0, parent=""):
    """One VS_VERSIONINFO node, read by length and key only, so that a leaf's value-length field
    can be checked against the value. Levels: record, blocks, string tables, strings."""
    length, value_length, kind = struct.unpack_from("<HHH", data, at)
    end = at + length
    key_end = at + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at + 6:key_end].decode("utf-16-le")
    value_at = (key_end + 2 + 3) & ~3
    node = {"key": key, "length": length, "value_length": value_length, "type": kind,
            "value": b"", "children": []}
    leaf = level == 3 or (level == 2 and parent == "VarFileInfo")
    if level == 0:
        node["value"] = data[value_at:value_at + 52]
        child_at = (value_at + 52 + 3) & ~3
    elif leaf:
        node["value"] = data[value_at:end]
        child_at = end
    else:
        child_at = value_at
    while child_at < end:
        child = version_node(data, child_at, level + 1, key)
        node["children"].append(child)
        child_at = (child_at + child["length"] + 3) & ~3
    return node


def check_version(c, data, v, say):
    root = version_node(data)
    c.equal(root["key"], "VS_VERSION_INFO", "version record key")
    c.equal(root["length"], len(data), "version record length")
    c.equal(root["value_length"], 52, "VS_FIXEDFILEINFO length")
    fields = struct.unpack("<13I", root["value"])
    say("  VS_FIXEDFILEINFO " + " ".join(f"{value:08X}" for value in fields))
    major, minor, patch, build = v["version_numeric"]
    ms, ls = (major << 16) | minor, (patch << 16) | build
    c.equal(fields, (0xFEEF04BD, 0x00010000, ms, ls, ms, ls, 0, 0, 0x4, 0x1, 0, 0, 0),
            "VS_FIXEDFILEINFO")

    blocks = [child["key"] for child in root["children"]]
    say(f"  blocks in order: {blocks}")
    if not c.equal(blocks, ["VarFileInfo", "StringFileInfo"], "blocks, VarFileInfo first"):
        return
    var, strings = root["children"]
    c.equal([n["key"] for n in var["children"]], ["Translation"], "VarFileInfo entries")
    if var["children"]:
        t = var["children"][0]
        pair = struct.unpack("<HH", t["value"]) if len(t["value"]) == 4 else None
        say(f"  Translation: wValueLength={t['value_length']} type={t['type']} "
            f"value={'0x%04X, 0x%04X' % pair if pair else t['value'].hex()}")
        c.equal(pair, (0x0409, 0x04B0), "Translation")
        c.equal((t["value_length"], t["type"]), (4, 0), "Translation value length and type")
    tables = [n["key"] for n in strings["children"]]
    say(f"  string tables: {tables}")
    if not c.equal(tables, ["040904B0"], "string tables"):
        return
    want = [v["company_name"], v["product_name"], v["version_string"], v["version_string"],
            v["internal_name"], v["windows_filename"]]
    got = []
    for s in strings["children"][0]["children"]:
        value = s["value"]
        text = value.decode("utf-16-le")
        say(f"  {s['key']:<17} wValueLength={s['value_length']:<3} type={s['type']} "
            f"value={text!r}")
        got.append((s["key"], text.rstrip("\0")))
        # The value length counts bytes, the terminating NUL included.
        c.equal(s["value_length"], len(value), f"{s['key']} value length in bytes")
        c.check(text.endswith("\0") and "\0" not in text[:-1], f"{s['key']} ends with one NUL")
        c.equal(s["type"], 1, f"{s['key']} is text")
    c.equal(got, list(zip(STRING_KEYS, want)), "the six strings, in order, and no other")


def ico_images(ico):
    """[(the first 12 bytes of its directory entry, the image)] for each image of an .ico."""
    entries = [ico[6 + 16 * i:22 + 16 * i] for i in range(struct.unpack_from("<H", ico, 4)[0])]
    return [(e[:12], ico[at:at + size])
            for e in entries for size, at in [struct.unpack_from("<II", e, 8)]]


def check_icons(c, found, ico, say):
    images = ico_images(ico)
    count = len(images)

    group = found.get((RT_GROUP_ICON, 1, LANG_NEUTRAL))
    if not c.check(group is not None, "icon group 1, language neutral"):
        return
    reserved, kind, n = struct.unpack_from("<HHH", group)
    say(f"  GRPICONDIR reserved={reserved} type={kind} count={n} ({len(group)} bytes)")
    c.equal((reserved, kind, n, len(group)), (0, 1, count, 6 + 14 * count), "GRPICONDIR")
    ids = []
    for i in range(n):
        w, h, colours, res, planes, bits, size, ident = struct.unpack_from(
            "<BBBBHHIH", group, 6 + 14 * i)
        ids.append(ident)
        say(f"  entry {i}: {w or 256}x{h or 256} colours={colours} planes={planes} "
            f"bits={bits} bytes={size} id={ident}")
        if i >= len(images):
            continue
        c.equal(group[6 + 14 * i:18 + 14 * i], images[i][0], f"icon group entry {i} fields")
        c.equal(ident, FIRST_ICON_IMAGE + i, f"icon group entry {i} image id")
        image = found.get((RT_ICON, ident, LANG_NEUTRAL))
        if c.check(image is not None, f"icon image {ident}, language neutral"):
            c.equal(len(image), size, f"icon image {ident} size")
            c.check(image == images[i][1], f"icon image {ident} is image {i} of fernwick.ico")
    c.equal(ids, [30001, 30002], "icon images")
    c.equal([len(img) for _, img in images], [872, 3240], "fernwick.ico image sizes")


def check_manifest(c, data, architecture, say=print):

    try:
        root = ElementTree.fromstring(data)
    except ElementTree.ParseError as error:
        c.check(False, f"the manifest parses as XML ({error})")
        return
    level = root.find(f"{ASM_V3}trustInfo/{ASM_V3}security/{ASM_V3}requestedPrivileges/"
                      f"{ASM_V3}requestedExecutionLevel")
    level = None if level is None else (level.get("level"), level.get("uiAccess"))
    say(f"  requestedExecutionLevel: {level}")
    c.equal(level, ("asInvoker", "false"), "execution level")
    systems = {e.get("Id") for e in root.iterfind(f"{COMPATIBILITY}compatibility/"
                                                  f"{COMPATIBILITY}application/"
                                                  f"{COMPATIBILITY}supportedOS")}
    say(f"  supportedOS: {len(systems)} ids")
    c.equal(systems, SUPPORTED_OS, "supported systems: 7, 8, 8.1, 10/11")
    settings = f"{ASM_V3}application/{ASM_V3}windowsSettings/"
    dpi = (root.findtext(f"{settings}{SETTINGS_2005}dpiAware"),
           root.findtext(f"{settings}{SETTINGS_2016}dpiAwareness"))
    say(f"  dpiAware, dpiAwareness: {dpi}")
    c.equal(dpi, ("true/pm", "PerMonitorV2,PerMonitor"), "DPI awareness")
    dependencies = [dict(e.attrib) for e in root.iterfind(
        f"{ASM_V1}dependency/{ASM_V1}dependentAssembly/{ASM_V1}assemblyIdentity")]
    say(f"  dependencies: {dependencies}")
    c.equal(dependencies, [{"type": "win32", "name": "Microsoft.Windows.Common-Controls",
                            "version": "6.0.0.0", "processorArchitecture": "*",
                            "publicKeyToken": "6595b64144ccf1df", "language": "*"}],
            "Common Controls 6 dependency")
    identity = root.find(f"{ASM_V1}assemblyIdentity")
    c.equal(None if identity is None else identity.get("processorArchitecture"), architecture,
            "the program's own architecture")


def check_image(c, pe, path, build):
    flags = pe.OPTIONAL_HEADER.DllCharacteristics
    sections = [s.Name.rstrip(b"\0").decode(errors="replace") for s in pe.sections]
    size = os.path.getsize(path)
    print(f"{build}/fernwick.exe: {size} bytes ({size / 1024:.1f} KiB), "
          f"DllCharacteristics 0x{flags:04X}, sections {' '.join(sections)}")
    wanted = DYNAMIC_BASE | NX_COMPAT | TERMINAL_SERVER_AWARE
    if build == "win64":
        wanted |= HIGH_ENTROPY_VA
    c.equal(hex(flags & wanted), hex(wanted), f"{build}: ASLR, DEP, terminal-server aware flags")
    # Stripped: no debugging sections (long names such as /4 among them), no symbol table.
    c.equal([n for n in sections if n.startswith((".debug", "/"))], [], f"{build}: debug sections")
    c.equal(pe.FILE_HEADER.NumberOfSymbols, 0, f"{build}: symbols")
    # The stack protector's failure report is linked in only when some function is protected.
    c.check(b"stack smashing detected" in pathlib.Path(path).read_bytes(),
            f"{build}: built with the stack protector")
    if build == "win32":
        c.check(size <= MAX_SIZE, f"{build}: {size} bytes, at most {MAX_SIZE}")


def check_zip(c, path, exe, v):
    if not c.check(os.path.isfile(path), f"{path} was written"):
        return
    with zipfile.ZipFile(path) as z:
        names = z.namelist()
        print(f"{os.path.basename(path)}: {names}")
        if not c.equal(names, [v["windows_filename"], "README.txt"], "files in the zip"):
            return
        c.check(z.read(names[0]) == pathlib.Path(exe).read_bytes(), "the zip holds the program")
        readme = z.read("README.txt")
    c.equal(readme.count(b"\n"), readme.count(b"\r\n"), "the readme's lines end in CR LF")
    c.check(v["version_string"].encode() in readme, "the readme names the version")


def main():
    pefile = testkit.require_module("pefile", "python3-pefile", winetools.HINT)
    v = testkit.identity_values(sys.argv[1])
    exe = winetools.require_build(sys.argv[2], "win32", "fernwick.exe")
    pe = pefile.PE(exe)
    c = testkit.Checker()

    c.equal(hex(pe.OPTIONAL_HEADER.Magic), hex(0x10B), "PE32, not PE32+")
    c.equal(hex(pe.FILE_HEADER.Machine), hex(0x14C), "machine i386")
    c.equal(pe.OPTIONAL_HEADER.Subsystem, 2, "subsystem Windows GUI")
    dlls = sorted(entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
    print(f"imports: {', '.join(dlls)}")
    c.check(set(dlls) <= SYSTEM_DLLS, f"only system DLLs imported: {dlls}")
    # Version 6 of the common controls wants InitCommonControlsEx before the first window.
    c.check("comctl32.dll" in dlls, "the common controls are initialised")

    found = resources(pe)
    print("resources (type, name, language): " + ", ".join(str(k) for k in found))
    c.equal(sorted(found), sorted([(RT_ICON, 30001, 0), (RT_ICON, 30002, 0),
                                   (RT_GROUP_ICON, 1, 0), (RT_VERSION, 1, LANG_EN_US),
                                   (RT_MANIFEST, 1, LANG_EN_US)]),
            "resources")

    version = found.get((RT_VERSION, 1, LANG_EN_US))
    if c.check(version is not None, "version resource 1, language 1033"):
        print(f"version record ({len(version)} bytes):")
        check_version(c, version, v, print)
        # pefile's own reading of the same record must agree on the strings and their order.
        pe.parse_data_directories()
        tables = [st for info in getattr(pe, "FileInfo", [[]])[0] if info.Key == b"StringFileInfo"
                  for st in info.StringTable]
        if c.equal(len(tables), 1, "pefile: string tables"):
            pairs = [(k.decode(), val.decode()) for k, val in tables[0].entries.items()]
            print(f"  pefile reads: {pairs}")
            c.equal([k for k, _ in pairs], STRING_KEYS, "pefile: string order")

    ico = pathlib.Path(v["icon_file"]).read_bytes()
    print("icon group 1:")
    check_icons(c, found, ico, print)
    # The images live in the resources alone: nothing else in the file carries a second copy.
    whole = pathlib.Path(exe).read_bytes()
    for i, (_, image) in enumerate(ico_images(ico)):
        c.equal(whole.count(image), 1, f"copies of icon image {i + 1} in the file")

    manifest = found.get((RT_MANIFEST, 1, LANG_EN_US))
    if c.check(manifest is not None, "manifest 1, language 1033"):
        print("manifest:")
        check_manifest(c, manifest, "x86")

    check_image(c, pe, exe, "win32")
    win64 = os.path.join(sys.argv[2], "win64", "fernwick.exe")
    if os.path.isfile(win64):
        pe64 = pefile.PE(win64)
        check_image(c, pe64, win64, "win64")
        check_manifest(c, resources(pe64).get((RT_MANIFEST, 1, LANG_EN_US), b""), "amd64",
                       lambda _: None)
    check_zip(c, os.path.join(os.path.dirname(exe),
                              f"{v['product_name']}-{v['package_version']}-win32.zip"), exe, v)

    c.finish("resource check")


if __name__ == "__main__":
    main()
