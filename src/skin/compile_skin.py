#!/usr/bin/env python3
"""Compiles a skin source (key = value lines, UTF-8) into the binary .she file.

Value syntax decides the record type: #RRGGBB is a colour, an optional minus
sign and digits an integer, anything else (or anything in double quotes) text.
The layout is described in skin_format.h; the program's parser checks every
field again, so this script only has to write it faithfully.
"""
import argparse
import re
import struct
import sys
import zlib

MAGIC = b".SHE\0"
VERSION = 1
HEADER_SIZE = 16
COLOUR, INTEGER, TEXT = 1, 2, 3

KEY_RE = re.compile(r"^[a-z][a-z0-9_.]*$")
COLOUR_RE = re.compile(r"^#([0-9A-Fa-f]{6})$")
INTEGER_RE = re.compile(r"^-?[0-9]+$")


def encode_value(value):
    if len(value) >= 2 and value[0] == value[-1] == '"':
        return TEXT, value[1:-1].encode("utf-8")
    m = COLOUR_RE.match(value)
    if m:
        return COLOUR, bytes.fromhex(m.group(1))
    if INTEGER_RE.match(value):
        return INTEGER, struct.pack("<i", int(value))
    return TEXT, value.encode("utf-8")


def parse_source(text, source_name):
    records = []
    seen = set()
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.strip()
        if not line or line.startswith("#"):
            continue
        key, sep, value = line.partition("=")
        key, value = key.strip(), value.strip()
        where = f"{source_name}:{number}"
        if not sep or not KEY_RE.match(key) or len(key) > 64:
            sys.exit(f"{where}: expected 'key = value'")
        if key in seen:
            sys.exit(f"{where}: '{key}' given twice")
        seen.add(key)
        kind, data = encode_value(value)
        if len(data) > 255:
            sys.exit(f"{where}: value too long")
        records.append(bytes([len(key)]) + key.encode("ascii") +
                       struct.pack("<BH", kind, len(data)) + data)
    return b"".join(records)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("source")
    parser.add_argument("output")
    args = parser.parse_args()
    with open(args.source, encoding="utf-8") as f:
        payload = parse_source(f.read(), args.source)
    header = MAGIC + struct.pack("<BHII", VERSION, HEADER_SIZE, len(payload),
                                 zlib.crc32(payload) & 0xFFFFFFFF)
    assert len(header) == HEADER_SIZE
    with open(args.output, "wb") as f:
        f.write(header + payload)


if __name__ == "__main__":
    main()
