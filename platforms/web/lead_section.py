#!/usr/bin/env python3
"""Puts the window description at the head of the page's WebAssembly, in a custom section that
the page reads as it arrives, before the code: slide 1 can then be drawn once its own bytes are
in, long before the program is.

The section, named vorlan-kidney.description, holds: u32 the description's length, u32 the
number of slides, for each slide u32 offset and u32 length of its JPEG file in the description
(little-endian), then the description's bytes in the order the page wants them: each slide's
JPEG in slide order, then the rest of the description in its own order. The page puts them back
where they belong (stream.js), so the module carries the same bytes as the desktop's program.

Usage: lead_section.py MODULE_WASM DESCRIPTION SPANS   (MODULE_WASM is rewritten in place)
"""
import struct
import sys

NAME = b"vorlan-kidney.description"


def leb128(value):
    out = bytearray()
    while True:
        byte, value = value & 0x7F, value >> 7
        out.append(byte | (0x80 if value else 0))
        if not value:
            return bytes(out)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__.strip().splitlines()[-1])
    module_path, description_path, spans_path = sys.argv[1:]
    with open(module_path, "rb") as f:
        module = f.read()
    with open(description_path, "rb") as f:
        description = f.read()
    with open(spans_path, encoding="ascii") as f:
        spans = [tuple(int(v) for v in line.split()) for line in f if line.strip()]
    if module[:8] != b"\0asm\x01\0\0\0":
        sys.exit(f"lead_section.py: {module_path} is not a WebAssembly module")
    if module[8:9] == b"\0" and module[9:64].find(leb128(len(NAME)) + NAME) in range(1, 6):
        sys.exit(f"lead_section.py: {module_path} already carries the description")
    taken = sorted(spans)
    for (offset, length), (next_offset, _) in zip(taken, taken[1:] + [(len(description), 0)]):
        if offset + length > next_offset:
            sys.exit("lead_section.py: the slides' spans overlap or pass the description's end")
    order = [description[o : o + n] for o, n in spans]
    at = 0
    for offset, length in taken:  # the rest: what lies between the slides, in its order
        order.append(description[at:offset])
        at = offset + length
    order.append(description[at:])
    payload = struct.pack("<II", len(description), len(spans))
    payload += b"".join(struct.pack("<II", o, n) for o, n in spans) + b"".join(order)
    content = leb128(len(NAME)) + NAME + payload
    section = b"\0" + leb128(len(content)) + content
    with open(module_path, "wb") as f:
        f.write(module[:8] + section + module[8:])


if __name__ == "__main__":
    main()
