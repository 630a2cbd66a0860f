"""Readers shared by the identity tests: PNG and ICO images, desktop entries, validators."""

import configparser
import pathlib
import struct
import subprocess
import zlib


class CheckFailed(Exception):
    pass


def read_png(path):
    """Returns (width, height, rows of (r, g, b, a)) for an 8-bit RGB or RGBA PNG."""
    data = pathlib.Path(path).read_bytes()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise CheckFailed(f"{path} is not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos : pos + 8])
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", data[pos + 8 : pos + 8 + length])
        elif kind == b"IDAT":
            idat += data[pos + 8 : pos + 8 + length]
        pos += 12 + length
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or colour_type not in (2, 6) or interlace:
        raise CheckFailed(f"{path}: unsupported PNG layout {header}")
    bpp = 4 if colour_type == 6 else 3
    raw, stride = zlib.decompress(idat), width * bpp
    rows, prev = [], bytearray(stride)
    for y in range(height):
        base = y * (stride + 1)
        kind, line = raw[base], bytearray(raw[base + 1 : base + 1 + stride])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        pixels = [tuple(line[x * bpp : x * bpp + bpp]) for x in range(width)]
        rows.append([p if bpp == 4 else p + (255,) for p in pixels])
        prev = line
    return width, height, rows


def read_ico(path):
    """Returns [(size, rows of (r, g, b, a))] for a 24-bit ICO; a is 0 where the mask is set."""
    data = pathlib.Path(path).read_bytes()
    _, _, count = struct.unpack("<HHH", data[:6])
    images = []
    for i in range(count):
        width, *_, length, offset = struct.unpack("<BBBBHHII", data[6 + 16 * i : 22 + 16 * i])
        size = width or 256
        image = data[offset : offset + length]
        colour_stride = (size * 3 + 3) // 4 * 4
        mask_stride = ((size + 7) // 8 + 3) // 4 * 4
        mask_start = 40 + colour_stride * size
        rows = []
        for y in range(size):
            src = size - 1 - y  # bottom row first
            line = image[40 + src * colour_stride :]
            bits = image[mask_start + src * mask_stride :]
            row = []
            for x in range(size):
                b, g, r = line[x * 3 : x * 3 + 3]
                transparent = bits[x // 8] & (0x80 >> (x % 8))
                row.append((r, g, b, 0 if transparent else 255))
            rows.append(row)
        images.append((size, rows))
    return images


def read_desktop_entry(path):
    """The [Desktop Entry] group as a dict, keys as written."""
    parser = configparser.ConfigParser(interpolation=None, strict=True)
    parser.optionxform = str
    with open(path, encoding="utf-8") as f:
        parser.read_file(f)
    return dict(parser["Desktop Entry"])


def validator_complaints(command):
    """Runs a validator; returns its output if it failed or said anything beyond success."""
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    lines = [line for line in result.stdout.splitlines() if "Validation was successful" not in line]
    return result.stdout if result.returncode != 0 or lines else None


def metainfo_complaints(path):
    """appstreamcli's complaints about a metainfo file, pedantic ones too, but the one that the
    game's lack of a homepage brings (a warning from AppStream 1.0 on)."""
    result = subprocess.run(["appstreamcli", "validate", "--no-net", "--pedantic", path],
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    lines = [line for line in result.stdout.splitlines()
             if line.strip() and ": url-homepage-missing" not in line
             and not line.startswith(("✔", "✘"))]
    return result.stdout if lines or "Validation" not in result.stdout else None
