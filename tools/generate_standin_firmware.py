#!/usr/bin/env python3
"""Writes (or checks) the stand-in Corvane Chorus release file.

The real release file is delivered with the pedal's firmware; until then the build embeds
this stand-in, which has exactly the release file's framing: one begin message, 406 data
messages of 590 payload bytes each and one end message, 243212 bytes in all (the size and
message count are read from src/firmware/BuiltInFirmware.h).  The payload
is a fixed xorshift32 sequence cut to 7 bits, so anyone can regenerate it and compare.

    generate_standin_firmware.py OUT.syx           write the file
    generate_standin_firmware.py --check FILE.syx  exit 1 unless FILE equals the stand-in
"""
import os
import re
import sys

MANUFACTURER_ID = bytes([0x00, 0x4F, 0x51])  # keep in step with src/firmware/SysexFormat.h
PAYLOAD_BYTES = 590
SEED = 0x0C0FFEE5

IMAGE_RECORD = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "firmware",
                            "BuiltInFirmware.h")


def image_record_figures():
    """The built-in image's size and message count, as the image record states them (the
    build check and the code read the same two definitions)."""
    with open(IMAGE_RECORD) as f:
        text = f.read()
    size = int(re.search(r"builtInFirmwareSize = ([0-9]+);", text).group(1))
    count = int(re.search(r"builtInFirmwareMessageCount = ([0-9]+);", text).group(1))
    return size, count


def payload_bytes():
    state = SEED
    while True:
        state ^= (state << 13) & 0xFFFFFFFF
        state ^= state >> 17
        state ^= (state << 5) & 0xFFFFFFFF
        yield (state >> 24) & 0x7F


def build():
    size, count = image_record_figures()
    gen = payload_bytes()
    out = bytearray()
    out += bytes([0xF0]) + MANUFACTURER_ID + bytes([0x00, 0x6D, 0x51, 0x01, 0xF7])
    for _ in range(count - 2):
        out += bytes([0xF0]) + MANUFACTURER_ID + bytes([0x00, 0x6D, 0x52, 0x00])
        out += bytes(next(gen) for _ in range(PAYLOAD_BYTES))
        out += bytes([0xF7])
    out += bytes([0xF0]) + MANUFACTURER_ID + bytes([0x00, 0x6D, 0x52, 0x01, 0xF7])
    if len(out) != size or out.count(0xF0) != count:
        sys.exit("the image record's figures (%d bytes, %d messages) do not fit the release framing"
                 % (size, count))
    return bytes(out)


def main(argv):
    if len(argv) == 3 and argv[1] == "--check":
        with open(argv[2], "rb") as f:
            same = f.read() == build()
        print("stand-in firmware matches" if same else "stand-in firmware DIFFERS")
        return 0 if same else 1
    if len(argv) == 2:
        with open(argv[1], "wb") as f:
            f.write(build())
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
