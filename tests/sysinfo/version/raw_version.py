#!/usr/bin/env python3
# Writes the raw_*.rc test resources: python3 raw_version.py <structure version> <fixed-part bytes> "<comment>" > raw_x.rc
import struct, sys

def wstr(s): return (s + "\0").encode("utf-16-le")
def pad4(b): return b + b"\0" * (-len(b) % 4)

def block(key, value=b"", value_len=0, wtype=1, children=b""):
    head = struct.pack("<HHH", 0, value_len, wtype) + wstr(key)
    body = pad4(head) + (pad4(value) if value else b"")
    total = body + children
    return struct.pack("<H", len(total)) + total[2:]

def version(struc, fixed_len, fv):
    fixed = struct.pack("<13I", 0xFEEF04BD, struc, 0x00070007, 0, 0x00070007, 0, 0x3F, 0, 4, 2, 0, 0, 0)[:fixed_len]
    s = block("FileVersion", wstr(fv), len(fv) + 1, 1)
    table = block("040904B0", children=pad4(s))
    sfi = block("StringFileInfo", children=pad4(table))
    var = block("Translation", struct.pack("<HH", 0x409, 0x4B0), 4, 0)
    vfi = block("VarFileInfo", children=pad4(var))
    return block("VS_VERSION_INFO", fixed, fixed_len, 0, pad4(sfi) + pad4(vfi))

struc, fixed_len, comment = int(sys.argv[1], 0), int(sys.argv[2]), sys.argv[3]
data = version(struc, fixed_len, "7.7")
words = struct.unpack("<%dH" % (len(data) // 2), data)
print("// " + comment)
print("// Written by raw_version.py: a version resource word by word, so that its fixed part can")
print("// carry what the VERSIONINFO statement cannot; 040904B0 \"FileVersion\" is \"7.7\".")
print("1 16")
print("BEGIN")
for i in range(0, len(words), 8):
    print("    " + ", ".join("0x%04X" % w for w in words[i:i+8]) + ("," if i + 8 < len(words) else ""))
print("END")
