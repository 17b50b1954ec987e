#!/usr/bin/env python3
"""Writes the seeds that are built rather than copied: archive values, photo-cache files and a
JPEG with EXIF. Run from anywhere; the files land in fuzz/corpus and fuzz/regressions."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def put(folder, name, data):
    path = os.path.join(HERE, folder, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


# --- Archive values (CArchive layout) ---------------------------------------------------------
def count(n):
    return struct.pack("<H", n) if n < 0xFFFF else struct.pack("<HI", 0xFFFF, n)


def string(text):
    b = text.encode()
    return (bytes([len(b)]) if len(b) < 0xFF else b"\xff" + struct.pack("<H", len(b))) + b


def new_class(name, schema=0):
    return struct.pack("<HHH", 0xFFFF, schema, len(name)) + name.encode()


def old_class(index):
    return struct.pack("<H", 0x8000 | index)


def ref(index):
    return struct.pack("<H", index)


strings = count(2) + string("ab") + string("")
put("corpus/fuzz_archive", "string_array", strings)
put("corpus/fuzz_archive", "rect", struct.pack("<4i", 1, -2, 300, 4))
put("corpus/fuzz_archive", "words", count(3) + struct.pack("<3H", 1, 0xFFFF, 7))
# Index space: 1 CObArray class, 2 the array, 3 CStringArray class, 4 its object.
put("corpus/fuzz_archive", "object_array",
    new_class("CObArray") + count(3) + new_class("CStringArray") + count(1) + string("x") + ref(4) +
    old_class(3) + count(0))
put("corpus/fuzz_archive", "object_list",
    new_class("CObList") + count(2) + new_class("CStringList") + count(1) + string("y") + ref(0))
put("corpus/fuzz_archive", "object_map",
    new_class("CMapStringToOb") + count(1) + string("key") + new_class("CDWordArray") + count(1) +
    struct.pack("<I", 9))
put("corpus/fuzz_archive", "string_map", count(1) + string("a") + string("b"))
# A collection that fails after loading an element: the element must not be left behind.
put("regressions/fuzz_archive", "array_fails_after_an_element",
    new_class("CObArray") + count(3) + new_class("CStringArray") + count(1) + string("x") + b"\xff")
put("regressions/fuzz_archive", "nested_array_fails_after_an_element",
    new_class("CObList") + count(2) + new_class("CObArray") + count(1) + new_class("CStringArray") +
    count(1) + string("z") + new_class("Unknown"))
# The same key twice: the first object would be dropped by the map.
put("regressions/fuzz_archive", "map_key_twice",
    new_class("CMapStringToOb") + count(2) + string("k") + new_class("CStringArray") + count(0) +
    string("k") + old_class(3) + count(0))

# --- Photo cache (520-byte header, 532-byte records; pc_info.bin) -------------------------------
def record(source, cached, facts=(1, 2, 3)):
    return source.ljust(260, b"\0") + struct.pack("<3I", *facts) + cached.ljust(260, b"\0")


header = b"\0" * 520
put("corpus/fuzz_photo_cache", "empty.idx", header)
put("corpus/fuzz_photo_cache", "two.idx",
    header + record(b"/photos/a.jpg", b"/cache/038/a.jpg") + b"\0" * 532 +
    record(b"/photos/b.jpg", b"/cache/038/b.jpg"))
put("corpus/fuzz_photo_cache", "unterminated.idx", header + b"x" * 260 + b"\0" * 272 + b"tail")
put("corpus/fuzz_photo_cache", "short.idx", b"\0" * 100)
put("corpus/fuzz_photo_cache", "pc_info.bin", b"PC_Info\0" + b"\0" * 8 + struct.pack("<i", 756) + b"\0" * 12)

# --- A JPEG with an EXIF orientation ------------------------------------------------------------
with open(os.path.join(HERE, "corpus/fuzz_photo/tiny.jpg"), "rb") as f:
    jpeg = f.read()
ifd = struct.pack("<H", 2) + struct.pack("<HHII", 0x0112, 3, 1, 6) + struct.pack("<HHII", 0x8769, 4, 1, 38) + \
    struct.pack("<I", 0)
exif_ifd = struct.pack("<H", 1) + struct.pack("<HHI", 0x9003, 2, 20) + struct.pack("<I", 56) + struct.pack("<I", 0)
tiff = b"II*\0" + struct.pack("<I", 8) + ifd + exif_ifd + b"2024:05:06 07:08:09\0"
app1 = b"Exif\0\0" + tiff
put("corpus/fuzz_photo", "exif.jpg", jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(app1) + 2) + app1 + jpeg[2:])
