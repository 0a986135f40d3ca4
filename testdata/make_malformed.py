#!/usr/bin/env python3
"""Writes the small corpus of malformed image files that the replay tests feed
to the readers: one directory per fuzz target under testdata/malformed/."""
import os
import struct
import zlib

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "malformed")


def put(target, name, data):
    os.makedirs(os.path.join(HERE, target), exist_ok=True)
    with open(os.path.join(HERE, target, name), "wb") as f:
        f.write(data)


def le32(*values):
    return b"".join(struct.pack("<i", v) for v in values)


# "16BG"
put("bg16", "wrong_magic", b"16BF" + le32(1, 1) + b"\0\0")
put("bg16", "header_cut", b"16BG\x02\x00")
put("bg16", "pixels_cut", b"16BG" + le32(4, 4) + b"\1\0\2\0")
put("bg16", "zero_width", b"16BG" + le32(0, 5))
put("bg16", "negative_height", b"16BG" + le32(3, -2) + b"\0" * 12)
put("bg16", "overflowing_size", b"16BG" + le32(65536, 65536) + b"\0" * 8)
put("bg16", "huge_size", b"16BG" + le32(46340, 46340) + b"\0" * 8)
put("bg16", "text", b"hello world\n")

# PGM P5
put("pgm", "wrong_magic", b"P2\n2 2\n255\n1 2 3 4\n")
put("pgm", "maxval_16bit", b"P5\n1 1\n65535\n\0\1")
put("pgm", "maxval_zero", b"P5\n1 1\n0\n\0")
put("pgm", "pixels_cut", b"P5\n8 8\n255\nabc")
put("pgm", "negative_width", b"P5\n-8 8\n255\n" + b"\0" * 64)
put("pgm", "number_too_long", b"P5\n99999999999999999999 1\n255\n")
put("pgm", "overflowing_size", b"P5\n65536 65536\n255\n\0")
put("pgm", "endless_comment", b"P5 # " + b"x" * 200)
put("pgm", "header_cut", b"P5\n12")
put("pgm", "no_blank_after_maxval", b"P5\n1 1\n255")


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def png(width, height, depth, colour, rows, extra=b"", interlace=0):
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


good = png(4, 2, 8, 2, b"".join(b"\0" + bytes(range(y, y + 12)) for y in range(2)))
put("png", "text", b"this is a text file, not a picture\n")
put("png", "signature_cut", good[:5])
put("png", "header_cut", good[:20])
put("png", "data_cut", good[:len(good) - 20])
put("png", "no_iend", good[:len(good) - 12])
put("png", "bad_crc", good[:29] + b"\0\0\0\0" + good[33:])
put("png", "zero_width", png(0, 2, 8, 0, b"\0\0\0"))
put("png", "huge_size", png(60000, 60000, 8, 6, b"\0" * 16))
put("png", "rows_missing", png(16, 16, 8, 0, b"\0" * 17))
put("png", "palette_without_plte", png(2, 2, 4, 3, b"\0\x12\0\x34"))
put("png", "palette_index_beyond_plte",
    png(2, 1, 8, 3, b"\0\0\x09", extra=chunk(b"PLTE", b"\1\2\3")))
put("png", "bad_depth", png(2, 2, 5, 0, b"\0\0\0\0"))
put("png", "interlaced_cut", png(9, 9, 16, 4, b"\0" * 40, interlace=1))

# Analyze: 348 header bytes followed by the voxel bytes.


def analyze(dims, datatype, voxels=b"", size=348, big=False):
    order = ">" if big else "<"
    h = bytearray(348)
    struct.pack_into(order + "i", h, 0, size)
    struct.pack_into(order + "8h", h, 40, *(list(dims) + [0] * (8 - len(dims))))
    struct.pack_into(order + "h", h, 70, datatype)
    return bytes(h) + voxels


put("analyze", "voxels_cut", analyze([3, 4, 4, 2], 4, b"\0" * 10))
put("analyze", "bad_datatype", analyze([3, 2, 2, 1], 16, b"\0" * 32))
put("analyze", "negative_dims", analyze([3, -2, 2, 1], 2, b"\0" * 4))
put("analyze", "zero_slices", analyze([3, 2, 2, 0], 2, b"\0" * 4))
put("analyze", "huge_dims", analyze([3, 32767, 32767, 32767], 2, b"\0" * 4))
put("analyze", "big_endian_cut", analyze([3, 4, 4, 4], 4, b"\0" * 7, big=True))
put("analyze", "garbage_size", analyze([3, 2, 2, 1], 2, b"\0" * 4, size=12345))
put("analyze", "header_only", analyze([3, 2, 2, 1], 4))
