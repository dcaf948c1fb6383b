#!/usr/bin/env python3
"""Prints the file version of a Windows program as "1.2.3.4", read from the fixed part of its
version resource. Every language's version record must give the same number, or this fails.

usage: file-version.py PROGRAM.exe
"""
import struct
import sys

RT_VERSION = 16
FIXED_FILE_INFO_SIGNATURE = 0xFEEF04BD


def sections(image):
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    count, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    resource_rva, _ = struct.unpack_from("<II", image, directories + 2 * 8)
    table = optional + optional_size
    found = []
    for i in range(count):
        _, vsize, rva, rawsize, rawptr = struct.unpack_from("<8sIIII", image, table + 40 * i)
        found.append((rva, max(vsize, rawsize), rawptr))
    return resource_rva, found


def file_offset(rva, found):
    for start, size, rawptr in found:
        if start <= rva < start + size:
            return rawptr + rva - start
    raise ValueError("address 0x%x lies in no section" % rva)


def entries(image, base, directory):
    named, ids = struct.unpack_from("<12xHH", image, base + directory)
    for i in range(named + ids):
        name, target = struct.unpack_from("<II", image, base + directory + 16 + 8 * i)
        yield name, target


def file_versions(path):
    image = open(path, "rb").read()
    resource_rva, found = sections(image)
    if resource_rva == 0:
        raise ValueError("no resources")
    base = file_offset(resource_rva, found)
    versions = set()
    for type_id, names in entries(image, base, 0):
        if type_id != RT_VERSION:
            continue
        for _, languages in entries(image, base, names & 0x7FFFFFFF):
            for _, leaf in entries(image, base, languages & 0x7FFFFFFF):
                data_rva, size = struct.unpack_from("<II", image, base + leaf)
                record = image[file_offset(data_rva, found):][:size]
                # VS_VERSIONINFO: three WORDs, the key L"VS_VERSION_INFO\0", padding to 4 bytes,
                # then VS_FIXEDFILEINFO.
                fixed = record.index(struct.pack("<I", FIXED_FILE_INFO_SIGNATURE))
                ms, ls = struct.unpack_from("<8xII", record, fixed)
                versions.add("%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF))
    return versions


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip())
    try:
        versions = file_versions(sys.argv[1])
    except (OSError, ValueError, struct.error) as error:
        sys.exit("%s: %s" % (sys.argv[1], error))
    if len(versions) != 1:
        sys.exit("%s: expected one file version, found %s" % (sys.argv[1], sorted(versions) or "none"))
    print(versions.pop())


if __name__ == "__main__":
    main()
