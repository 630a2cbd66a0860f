#!/usr/bin/python3
"""Checks the generated Windows resource script: compiled with windres when given, read as text
otherwise.

    check_version_rc.py VALUES_JSON [WINDRES]
"""

import json
import os
import re
import struct
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from identity_files import Checker  # noqa: E402

RT_ICON, RT_GROUP_ICON, RT_VERSION = 3, 14, 16
STRING_ORDER = ["CompanyName", "ProductName", "FileVersion", "ProductVersion", "InternalName",
                "OriginalFilename"]


def expected_strings(v):
    return [v["company_name"], v["product_name"], v["version_string"], v["version_string"],
            v["internal_name"], v["windows_filename"]]


def check_text(c, v):
    with open(v["version_rc"], encoding="utf-8") as f:
        text = f.read()
    version = ",".join(str(n) for n in v["version_numeric"])
    for statement in (f"FILEVERSION {version}", f"PRODUCTVERSION {version}"):
        c.check(re.search(rf"^{statement}\s*$", text, re.M), f"no {statement!r}")
    var_at, string_at = text.find('BLOCK "VarFileInfo"'), text.find('BLOCK "StringFileInfo"')
    c.check(0 <= var_at < string_at, "VarFileInfo must come before StringFileInfo")
    values = re.findall(r'VALUE\s+"(\w+)",\s*"([^"]*)"', text[string_at:])
    c.equal(values, list(zip(STRING_ORDER, expected_strings(v))), "StringFileInfo values")
    icon = re.search(r'^1\s+ICON\s+"([^"]+)"', text, re.M)
    c.check(icon and os.path.samefile(icon.group(1), v["icon_file"]), "icon 1 is not fernwick.ico")


def read_res(path):
    """The resources of a .res file as [(type, name, language, data)]."""
    with open(path, "rb") as f:
        data = f.read()
    pos, out = 0, []
    while pos + 8 <= len(data):
        size, header_size = struct.unpack("<II", data[pos : pos + 8])
        header = data[pos + 8 : pos + header_size]
        ids, at = [], 0
        for _ in range(2):  # type, then name; both numeric here
            marker, value = struct.unpack("<HH", header[at : at + 4])
            ids.append(value if marker == 0xFFFF else None)
            at += 4
        language = struct.unpack("<H", header[at + 6 : at + 8])[0]
        body = data[pos + header_size : pos + header_size + size]
        if size:
            out.append((ids[0], ids[1], language, body))
        pos += header_size + (size + 3) // 4 * 4
    return out


def read_version_node(data, pos=0):
    """One node of a VS_VERSIONINFO tree: (key, value bytes, text?, children)."""
    length, value_length, kind = struct.unpack("<HHH", data[pos : pos + 6])
    end, at = pos + length, pos + 6
    key_end = at
    while data[key_end : key_end + 2] != b"\0\0":
        key_end += 2
    key = data[at:key_end].decode("utf-16-le")
    at = (key_end + 2 + 3) // 4 * 4
    value_bytes = value_length * 2 if kind == 1 else value_length
    value = data[at : at + value_bytes]
    at = (at + value_bytes + 3) // 4 * 4
    children = []
    while at < end:
        child = read_version_node(data, at)
        children.append(child)
        at = (at + child[4] + 3) // 4 * 4
    return key, value, kind == 1, children, length


def text_of(value):
    return value.decode("utf-16-le").rstrip("\0")


def check_compiled(c, v, windres):
    with tempfile.TemporaryDirectory() as out:
        res = os.path.join(out, "version.res")
        result = subprocess.run([windres, "--preprocessor=cpp", "-i", v["version_rc"], "-O", "res",
                                 "-o", res], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                text=True)
        if not c.check(result.returncode == 0, f"windres failed: {result.stdout}"):
            return
        resources = read_res(res)

    with open(v["icon_file"], "rb") as f:
        ico = f.read()
    icons = {name: data for kind, name, _, data in resources if kind == RT_ICON}
    groups = [(name, data) for kind, name, _, data in resources if kind == RT_GROUP_ICON]
    c.equal([name for name, _ in groups], [1], "icon groups")
    for _, group in groups:
        count = struct.unpack("<H", group[4:6])[0]
        c.equal(count, 2, "images in icon group 1")
        for i in range(count):
            entry = group[6 + 14 * i : 20 + 14 * i]
            width, _, _, _, _, bits, length, icon_id = struct.unpack("<BBBBHHIH", entry)
            ico_entry = ico[6 + 16 * i : 22 + 16 * i]
            offset = struct.unpack("<I", ico_entry[12:16])[0]
            c.equal((width, bits, length), (ico_entry[0], 24, len(icons.get(icon_id, b""))),
                    f"icon group entry {i}")
            c.check(icons.get(icon_id) == ico[offset : offset + length],
                    f"icon group entry {i} is not image {i} of fernwick.ico")

    versions = [(name, lang, data) for kind, name, lang, data in resources if kind == RT_VERSION]
    c.equal([(name, lang) for name, lang, _ in versions], [(1, 1033)], "version resources")
    if not versions:
        return
    key, fixed, _, children, _ = read_version_node(versions[0][2])
    c.equal(key, "VS_VERSION_INFO", "version resource key")
    fields = struct.unpack("<13I", fixed)
    major, minor, patch, build = v["version_numeric"]
    ms, ls = (major << 16) | minor, (patch << 16) | build
    c.equal(fields[0], 0xFEEF04BD, "VS_FIXEDFILEINFO signature")
    c.equal(fields[2:6], (ms, ls, ms, ls), "file and product version")
    c.equal(fields[6:11], (0, 0, 4, 1, 0), "flags mask, flags, OS, type, subtype")
    if not c.equal([child[0] for child in children], ["VarFileInfo", "StringFileInfo"],
                   "version blocks"):
        return
    translation = children[0][3][0]
    c.equal((translation[0], struct.unpack("<HH", translation[1])), ("Translation", (0x0409, 0x04B0)),
            "translation")
    tables = children[1][3]
    c.equal([t[0] for t in tables], ["040904B0"], "string tables")
    if tables:
        strings = [(s[0], text_of(s[1])) for s in tables[0][3]]
        c.equal(strings, list(zip(STRING_ORDER, expected_strings(v))), "version strings")


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        v = json.load(f)
    c = Checker()
    check_text(c, v)
    if len(sys.argv) > 2:
        check_compiled(c, v, sys.argv[2])
    c.finish("version resource check")


if __name__ == "__main__":
    main()
