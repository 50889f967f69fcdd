#!/usr/bin/env python3
"""Writes a firmware file image in the pedal's layout for the end-to-end tests (the unit
tests' tests/support/PedalImage makes the same): a begin message, COUNT data messages of
LENGTH bytes each (F0, Quillon's id, 00 6D 52 00, payload, F7) and an end message.

    make_test_image.py OUT LENGTH COUNT [--model HEX]

--model gives another model byte in place of 6D in every message: another model's image,
which Firmhold must refuse.
"""
import sys

MANUFACTURER_ID = bytes([0x00, 0x4F, 0x51])  # keep in step with src/firmware/SysexFormat.h

args = sys.argv[1:]
model = 0x6D
if "--model" in args:
    at = args.index("--model")
    model = int(args[at + 1], 16)
    del args[at:at + 2]
out, length, count = args[0], int(args[1]), int(args[2])
if length < 10 or count < 1:
    sys.exit("a data message is at least 10 bytes long (one payload byte), and there is at least one")

head = bytes([0xF0]) + MANUFACTURER_ID + bytes([0x00, model])
image = bytearray(head + bytes([0x51, 0x01, 0xF7]))
for n in range(count):
    payload = bytes((n * 31 + i * 7 + (i >> 8)) & 0x7F for i in range(length - 9))
    image += head + bytes([0x52, 0x00]) + payload + bytes([0xF7])
image += head + bytes([0x52, 0x01, 0xF7])
with open(out, "wb") as f:
    f.write(image)
