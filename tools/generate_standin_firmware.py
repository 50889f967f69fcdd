#!/usr/bin/env python3
"""Writes (or checks) the stand-in Corvane Chorus release file.

The real release file is delivered with the pedal's firmware; until then the build embeds
this stand-in, which has exactly the release file's framing: one begin message, 406 data
messages of 590 payload bytes each and one end message, 243212 bytes in all.  The payload
is a fixed xorshift32 sequence cut to 7 bits, so anyone can regenerate it and compare.

    generate_standin_firmware.py OUT.syx           write the file
    generate_standin_firmware.py --check FILE.syx  exit 1 unless FILE equals the stand-in
"""
import sys

MANUFACTURER_ID = bytes([0x00, 0x4F, 0x51])  # keep in step with src/firmware/SysexFormat.h
NUM_DATA_MESSAGES = 406
PAYLOAD_BYTES = 590
SEED = 0x0C0FFEE5


def payload_bytes():
    state = SEED
    while True:
        state ^= (state << 13) & 0xFFFFFFFF
        state ^= state >> 17
        state ^= (state << 5) & 0xFFFFFFFF
        yield (state >> 24) & 0x7F


def build():
    gen = payload_bytes()
    out = bytearray()
    out += bytes([0xF0]) + MANUFACTURER_ID + bytes([0x00, 0x6D, 0x51, 0x01, 0xF7])
    for _ in range(NUM_DATA_MESSAGES):
        out += bytes([0xF0]) + MANUFACTURER_ID + bytes([0x00, 0x6D, 0x52, 0x00])
        out += bytes(next(gen) for _ in range(PAYLOAD_BYTES))
        out += bytes([0xF7])
    out += bytes([0xF0]) + MANUFACTURER_ID + bytes([0x00, 0x6D, 0x52, 0x01, 0xF7])
    assert len(out) == 243212
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
