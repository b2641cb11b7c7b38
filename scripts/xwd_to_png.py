#!/usr/bin/env python3
"""Turns an XWD screenshot of a TrueColor window of 24 or 32 bits a pixel (standard input) into a PNG file."""
import struct
import sys
import zlib


def main() -> None:
    data = sys.stdin.buffer.read()
    fields = struct.unpack(">25I", data[:100])
    header, width, height = fields[0], fields[4], fields[5]
    byte_order, bits, line = fields[7], fields[11], fields[12]
    masks, colours = fields[14:17], fields[19]
    if bits not in (24, 32):
        sys.exit("xwd_to_png: only 24 or 32 bits a pixel are read")
    size = bits // 8
    pixels = header + colours * 12
    rows = bytearray()
    for y in range(height):
        rows.append(0)  # no filter
        for x in range(width):
            offset = pixels + y * line + x * size
            value = int.from_bytes(data[offset:offset + size], "little" if byte_order == 0 else "big")
            for mask in masks:
                shift = (mask & -mask).bit_length() - 1
                rows.append(((value & mask) >> shift) * 255 // (mask >> shift))

    def chunk(kind: bytes, body: bytes) -> bytes:
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    sys.stdout.buffer.write(b"\x89PNG\r\n\x1a\n" +
                            chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
                            chunk(b"IDAT", zlib.compress(bytes(rows), 9)) + chunk(b"IEND", b""))


main()
