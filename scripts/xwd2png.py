#!/usr/bin/env python3
"""Converts an X window dump (xwd, ZPixmap, 24/32 bits per pixel) to PNG. Standard library only."""
import struct
import sys
import zlib


def main(src, dst):
    data = open(src, "rb").read()
    header = struct.unpack(">25I", data[:100])
    header_size, _version, pixmap_format, depth, width, height = header[:6]
    bits_per_pixel, bytes_per_line = header[11], header[12]
    byte_order = header[7]
    ncolors = header[19]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32):
        sys.exit("unsupported xwd format: %d bpp, format %d (depth %d)" % (bits_per_pixel, pixmap_format, depth))
    pixels = data[header_size + ncolors * 12:]
    step = bits_per_pixel // 8
    rows = []
    for y in range(height):
        line = pixels[y * bytes_per_line:y * bytes_per_line + width * step]
        out = bytearray(b"\x00")
        for x in range(0, width * step, step):
            px = line[x:x + step]
            if byte_order == 0:  # LSBFirst: B G R (A)
                out += bytes((px[2], px[1], px[0]))
            else:
                out += bytes((px[-3], px[-2], px[-1]))
        rows.append(bytes(out))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
    open(dst, "wb").write(png)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
