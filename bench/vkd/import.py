#!/usr/bin/env python3
# What `vkd import IN.json --name NAME -o OUT` does, in plain Python: json.load, the text to
# code page 932, line breaks in a meaning stored as CR LF, and the dictionary file written safely
# (flushed to the disk before it takes its name). The benchmark's baseline for the JSON import.
#
# usage: import.py IN.json NAME OUT
import json
import os
import struct
import sys


def archive_string(text):
    data = text.encode("cp932")
    n = len(data)
    if n < 0xFF:
        return bytes([n]) + data
    if n < 0xFFFE:
        return b"\xff" + struct.pack("<H", n) + data
    return b"\xff\xff\xff" + struct.pack("<I", n) + data


def main(source, name, target):
    with open(source, encoding="utf-8-sig") as f:
        entries = json.load(f)["entries"]
    parts = [archive_string(name), struct.pack("<I", len(entries))]
    for e in entries:
        meaning = e["meaning"].replace("\r\n", "\n").replace("\r", "\n").replace("\n", "\r\n")
        parts += [archive_string(e["word"]), archive_string(meaning)]
    temporary = target + ".tmp"
    with open(temporary, "wb") as out:
        out.write(b"".join(parts))
        out.flush()
        os.fsync(out.fileno())
    os.replace(temporary, target)


main(*sys.argv[1:4])
